#pragma once
// The gate's editor: ten rows with handles and value texts, two band meters with lights and a
// build label, drawn over the background picture about 30 times per second; mouse drags on a
// row change its slider.

#include <array>

namespace vrn
{

class TXaltoEffect;

/// Where a row's track lies and where its handle and value text go. Pixels.
struct RowGeometry
{
    double x = 0.0; ///< the track's mouse area
    double y = 0.0;
    double width = 0.0;
    double height = 0.0;
    double handleWidth = 0.0; ///< from the handle image
    double handleHeight = 0.0;
    double halfHandleWidth = 0.0;
    double rightEdge = 0.0; ///< x + width: where the value text starts
    double centreY = 0.0;   ///< floor(y + height / 2)
    double handleTop = 0.0; ///< ceil(y − handleHeight / 2 + height / 2)
};

/// Layout of one slider row, filled once by initSliderRow.
struct SliderRow : RowGeometry
{
    double minimum = 0.0; ///< value range and grid, in the slider's unit
    double maximum = 0.0;
    double step = 0.0;
    double defaultValue = 0.0; ///< value a control-click sets
    double handleSlot = 0.0;   ///< image slot of the handle
    double unitSlot = 0.0;     ///< string slot appended to the value text
    double nameSlot = 0.0;     ///< string slot of the row's name
    double range = 0.0;        ///< |minimum − maximum|
    double formatSlot = 0.0;   ///< string slot of the value format ("%.0f", "%.1f", "%.2f")
};

/// Layout of one selector row (whole choices 0 … highest, each with a label); its handle is
/// image slot 0.
struct SelectorRow : RowGeometry
{
    double highest = 0.0; ///< highest choice number
    double defaultValue = 0.0;
    double labelBase = 0.0; ///< memory cell holding choice 0's label string slot
    double unitSlot = 0.0;
    double nameSlot = 0.0;
    double range = 0.0; ///< equal to highest
};

/// Drag state of one row (flags are 0 or 1).
struct ControlState
{
    double hover = 0.0;      ///< the pointer rested over the track with no button down
    double armed = 0.0;      ///< a button went down over the track
    double dragging = 0.0;   ///< the control follows the pointer
    double fineAnchor = 0.0; ///< pointer x where a shift drag began; 0 = none
    double dragPos = 0.0;    ///< handle position along the track, pixels
};

/// The gate's GfxSection with its rows, drag states and lights. Works on the effect's drawing
/// runtime, sliders, control values and meters.
/// --- UI thread (the editor's paint)
class GateEditor
{
public:
    explicit GateEditor(TXaltoEffect& owner) : effect(owner) {}
    GateEditor(const GateEditor&) = delete;
    GateEditor& operator=(const GateEditor&) = delete;

    /// Editor variables to their reset state: rows laid out again at the next frame, no drag,
    /// lights dark; the control values start from the slider cells.
    void Reset();
    /// Draws one frame and applies the mouse to the rows.
    void GfxSection();

    /// A slider row from its track area, value range and string slots; the handle size comes
    /// from the handle image.
    SliderRow initSliderRow(double x, double y, double width, double height, double minimum,
                            double maximum, double step, double defaultValue, double handleSlot,
                            double unitSlot, double nameSlot);
    /// A selector row, the same way, with the memory cell of its first label.
    SelectorRow initSelectorRow(double x, double y, double width, double height, double highest,
                                double defaultValue, double labelBase, double unitSlot,
                                double nameSlot);

    SliderRow attackRow, releaseLoRow, releaseHiRow, threshLoRow, threshHiRow, crossoverRow,
        bandLinkRow, ratioRow;
    SelectorRow monitorRow, preGateRow;
    std::array<ControlState, 10> controls{}; ///< by slider number − 1

    double controlsChanged = 0.0; ///< a control changed a value this frame
    double layoutDone = 0.0;      ///< rows laid out
    double closedLightLo = 0.0;   ///< indicator brightness 0..1: band closed
    double openLightLo = 0.0;     ///< band fully open
    double closedLightHi = 0.0;
    double openLightHi = 0.0;

private:
    void LayOutRows();
    /// The geometry of a row with this track area and handle image.
    RowGeometry Geometry(double x, double y, double width, double height, double handleSlot);
    /// Press tracking shared by both kinds of row; true when this frame moves the control.
    bool Tracks(double x, double y, double width, double height, ControlState& state) const;
    /// Handle position along the track for the pointer. With shift, from the pointer x where
    /// the shift drag began (the anchor), the handle moves fine / anchor pixels per pixel of
    /// pointer travel (10 / 200 = 1/20 for a slider anchored at x = 200).
    double DragPosition(double x, double halfHandleWidth, double fine, ControlState& state) const;
    double SliderControl(const SliderRow& row, ControlState& state, double value);
    double SelectorControl(const SelectorRow& row, ControlState& state, double value);
    void ValueText(double rightEdge, double centreY, double textSlot);
    void Meter(double gain, double y, double& closedLight, double& openLight);
    /// Runs control `slider` and stores a changed value in its control value and slider cell.
    template <class Row, class Control>
    void RunControl(int slider, const Row& row, Control control);

    TXaltoEffect& effect;
};

} // namespace vrn
