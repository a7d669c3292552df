// The gate's editor: row layout, slider and selector controls, meters, build label.
#include "effect/gate_editor.h"

#include "effect/gate_effect.h"

#include <cmath>

namespace vrn
{

using namespace gate;

namespace
{
// The effect's mouse bits as the frame saw them.
constexpr std::int32_t kControlKey = 4;
constexpr std::int32_t kShiftKey = 8;

constexpr double kValueText = 190000; ///< scratch slot of the value texts

constexpr double kHandleImage = 0;
constexpr double kBackgroundImage = 1;
constexpr double kBold = 'b'; ///< style letter

/// v kept within minimum … maximum (a NaN becomes the maximum, never a slider value).
double Clamp(double v, double minimum, double maximum)
{
    if (!(v <= maximum))
        v = maximum;
    if (v < minimum)
        v = minimum;
    return v;
}
} // namespace

void TXaltoEffect::GfxSection()
{
    editor.GfxSection();
}

void GateEditor::Reset()
{
    attackRow = releaseLoRow = releaseHiRow = threshLoRow = threshHiRow = crossoverRow =
        bandLinkRow = ratioRow = SliderRow{};
    monitorRow = preGateRow = SelectorRow{};
    controls = {};
    controlsChanged = 0.0;
    layoutDone = 0.0;
    closedLightLo = openLightLo = closedLightHi = openLightHi = 0.0;
    // The rows show the sliders as they are: a paint before the first resume must not write
    // cleared control values back into the host's parameters.
    for (int i = 0; i < kGateSliderCount; ++i)
        effect.controlValues[static_cast<std::size_t>(i)] = effect.Slider(i + 1).Load();
}

RowGeometry GateEditor::Geometry(double x, double y, double width, double height, double handleSlot)
{
    RowGeometry g;
    g.x = x;
    g.y = y;
    g.width = width;
    g.height = height;
    const ImageSlot& handle = effect.graphics.imageInfo(handleSlot);
    g.handleWidth = handle.width;
    g.handleHeight = handle.height;
    g.halfHandleWidth = g.handleWidth / 2.0;
    g.rightEdge = x + width;
    g.centreY = std::floor(y + height / 2.0);
    g.handleTop = std::ceil(y - g.handleHeight / 2.0 + height / 2.0);
    return g;
}

SliderRow GateEditor::initSliderRow(double x, double y, double width, double height, double minimum,
                                    double maximum, double step, double defaultValue,
                                    double handleSlot, double unitSlot, double nameSlot)
{
    SliderRow r;
    static_cast<RowGeometry&>(r) = Geometry(x, y, width, height, handleSlot);
    r.minimum = minimum;
    r.maximum = maximum;
    r.step = step;
    r.defaultValue = defaultValue;
    r.handleSlot = handleSlot;
    r.unitSlot = unitSlot;
    r.nameSlot = nameSlot;
    r.range = std::fabs(minimum - maximum);
    r.formatSlot = step >= 1.0 ? kFormatWhole : (step >= 0.1 ? kFormatTenths : kFormatHundredths);
    return r;
}

SelectorRow GateEditor::initSelectorRow(double x, double y, double width, double height,
                                        double highest, double defaultValue, double labelBase,
                                        double unitSlot, double nameSlot)
{
    SelectorRow r;
    static_cast<RowGeometry&>(r) = Geometry(x, y, width, height, kHandleImage);
    r.highest = highest;
    r.defaultValue = defaultValue;
    r.labelBase = labelBase;
    r.unitSlot = unitSlot;
    r.nameSlot = nameSlot;
    r.range = highest;
    return r;
}

void GateEditor::LayOutRows()
{
    // Until the init section has run, releaseMaxMs is 0; the release rows then take the
    // host parameter's maximum (the same 1000 ms), so a paint before the first resume cannot
    // clamp the release sliders to 5 ms.
    double releaseMax = effect.releaseMaxMs;
    if (!(releaseMax > 5.0))
    {
        const SliderInfo* release = effect.FindSlider(kReleaseLo - 1);
        releaseMax = release ? release->maximum : 1000.0;
    }

    attackRow =
        initSliderRow(120, 39, 250, 20, 0, 10, 0.1, 0, kHandleImage, kAttackUnit, kAttackName);
    releaseLoRow = initSliderRow(120, 69, 250, 20, 5, releaseMax, 10, 20, kHandleImage,
                                 kReleaseLoUnit, kReleaseLoName);
    releaseHiRow = initSliderRow(120, 99, 250, 20, 5, releaseMax, 10, 20, kHandleImage,
                                 kReleaseHiUnit, kReleaseHiName);
    threshLoRow = initSliderRow(120, 139, 250, 20, -90, 0, 1, -45, kHandleImage, kThresholdLoUnit,
                                kThresholdLoName);
    threshHiRow = initSliderRow(120, 169, 250, 20, -90, 0, 1, -45, kHandleImage, kThresholdHiUnit,
                                kThresholdHiName);
    crossoverRow = initSliderRow(120, 209, 250, 20, 100, 8000, 10, 500, kHandleImage,
                                 kCrossoverUnit, kCrossoverName);
    bandLinkRow =
        initSliderRow(120, 239, 250, 20, 0, 100, 1, 0, kHandleImage, kBandLinkUnit, kBandLinkName);
    ratioRow =
        initSliderRow(120, 269, 250, 20, 0.5, 10, 0.1, 2, kHandleImage, kRatioUnit, kRatioName);
    monitorRow =
        initSelectorRow(120, 309, 250, 20, 3, 0, kMonitorLabelTable, kMonitorUnit, kMonitorName);
    preGateRow =
        initSelectorRow(120, 339, 250, 20, 1, 0, kPreGateLabelTable, kPreGateUnit, kPreGateName);
}

void GateEditor::GfxSection()
{
    EffectGraphics& g = effect.graphics;
    g.framePrologue();
    g.setFont(0, kCodeFace, 13, 0);
    effect.penX = 0.0;
    effect.penY = 0.0;
    g.drawImage(kBackgroundImage);
    g.setFont(1, kLabelFace, 14, kBold);
    if (!IsTrue(layoutDone))
    {
        LayOutRows();
        layoutDone = 1.0;
    }

    const auto slider = [this](const SliderRow& r, ControlState& s, double v)
    { return SliderControl(r, s, v); };
    const auto selector = [this](const SelectorRow& r, ControlState& s, double v)
    { return SelectorControl(r, s, v); };
    RunControl(kAttack, attackRow, slider);
    RunControl(kReleaseLo, releaseLoRow, slider);
    RunControl(kReleaseHi, releaseHiRow, slider);
    RunControl(kThresholdLo, threshLoRow, slider);
    RunControl(kThresholdHi, threshHiRow, slider);
    RunControl(kCrossover, crossoverRow, slider);
    RunControl(kRatio, ratioRow, slider);
    RunControl(kMonitor, monitorRow, selector);
    RunControl(kPreGate, preGateRow, selector);
    RunControl(kBandLink, bandLinkRow, slider);
    if (IsTrue(controlsChanged))
    {
        effect.UpdateCoefficients();
        controlsChanged = 0.0;
    }

    g.setFont(1, kMeterFace, 14, kBold);
    // Taking a meter leaves it at 0: each frame shows the most open gain since the last one.
    const double lo = effect.meterLo.Take();
    const double hi = effect.meterHi.Take();
    Meter(lo, 398, closedLightLo, openLightLo);
    Meter(hi, 410, closedLightHi, openLightHi);

    effect.penX = 380.0;
    effect.penY = 10.0;
    effect.colorRed = effect.colorGreen = effect.colorBlue = 1.0;
    effect.colorAlpha = 0.2;
    g.setFont(1, kBuildFace, 12, 0);
    g.drawText(effect.buildLabel);
}

template <class Row, class Control>
void GateEditor::RunControl(int slider, const Row& row, Control control)
{
    // The control starts from the slider cell, not from its control value: a host thread may
    // set the parameter between this frame's two stores below, and the row must then show the
    // parameter in force from the next frame on, not a value the host has replaced.
    SharedDouble& cell = effect.Slider(slider);
    const double before = cell.Load();
    const double after = control(row, controls[static_cast<std::size_t>(slider - 1)], before);
    // Only a value the editor changed is written back: an unchanged one would overwrite a
    // parameter the host set on another thread since this frame read it.
    if (after == before)
        return;
    effect.controlValues[static_cast<std::size_t>(slider - 1)].Store(after);
    cell.Store(after);
    controlsChanged = 1.0;
}

bool GateEditor::Tracks(double x, double y, double width, double height, ControlState& s) const
{
    const double mx = effect.frameMouseX;
    const double my = effect.frameMouseY;
    const bool pressed = RoundIndex(effect.frameButtons) != 0;
    const bool inside = x <= mx && mx <= x + width && y <= my && my <= y + height;
    if (inside && !pressed)
    {
        s.hover = 1.0;
        if (IsTrue(s.armed))
        {
            // Released over the track.
            s.dragging = 0.0;
            s.fineAnchor = 0.0;
            return false;
        }
    }
    else if (inside)
    {
        s.armed = 1.0;
        // A drag starts only from a pointer that rested here without a button first.
        if (IsTrue(s.hover))
        {
            s.dragging = 1.0;
            return true;
        }
    }
    else
    {
        s.hover = 0.0;
        s.armed = 0.0;
    }
    if (!pressed)
    {
        s.dragging = 0.0;
        s.fineAnchor = 0.0;
    }
    // Once started, a drag follows the pointer anywhere until the button goes up.
    return IsTrue(s.dragging);
}

double GateEditor::DragPosition(double x, double halfHandleWidth, double fine,
                                ControlState& s) const
{
    const double mx = effect.frameMouseX;
    if (!(RoundIndex(effect.frameButtons) & kShiftKey))
    {
        s.fineAnchor = 0.0;
        return mx - x - halfHandleWidth;
    }
    if (!IsTrue(s.fineAnchor))
        s.fineAnchor = mx;
    // The handle moves `fine` / anchor pixels per pixel of mouse travel from the anchor.
    return (s.fineAnchor - x - halfHandleWidth) + fine * (mx / s.fineAnchor - 1.0);
}

double GateEditor::SliderControl(const SliderRow& r, ControlState& s, double v)
{
    const double travel = r.width - r.handleWidth - 2.0;
    if (Tracks(r.x, r.y, r.width, r.height, s))
    {
        s.dragPos = DragPosition(r.x, r.halfHandleWidth, 10.0, s);
        const double fraction = s.dragPos / travel;
        double offset = fraction * r.range;
        // Rounded up to the grid: a position just past a step boundary shows the next step.
        offset = std::ceil(offset * (1.0 / r.step)) / (1.0 / r.step);
        v = offset + r.minimum;
        if (RoundIndex(effect.frameButtons) & kControlKey)
            v = r.defaultValue;
        controlsChanged = 1.0;
    }
    v = Clamp(v, r.minimum, r.maximum);

    effect.penX = r.x + 1.0 + travel * (v - r.minimum) / r.range;
    effect.penY = r.handleTop;
    effect.graphics.drawImage(r.handleSlot);

    effect.strings.Sprintf(kValueText, r.formatSlot, &v, 1);
    effect.strings.Strcat(kValueText, r.unitSlot);
    ValueText(r.rightEdge, r.centreY, kValueText);
    return v;
}

double GateEditor::SelectorControl(const SelectorRow& r, ControlState& s, double v)
{
    const double travel = r.width - r.handleWidth - 2.0;
    if (Tracks(r.x, r.y, r.width, r.height, s))
    {
        s.dragPos = DragPosition(r.x, r.halfHandleWidth, 100.0, s);
        v = std::ceil(s.dragPos / travel * r.range);
        if (RoundIndex(effect.frameButtons) & kControlKey)
            v = r.defaultValue;
        controlsChanged = 1.0;
    }
    v = Clamp(v, 0.0, r.highest);

    effect.penX = r.x + 1.0 + travel * v / r.highest;
    effect.penY = r.handleTop;
    effect.graphics.drawImage(kHandleImage);

    ValueText(r.rightEdge, r.centreY, effect.LoadCell(RoundIndex(r.labelBase + v)));
    return v;
}

void GateEditor::ValueText(double rightEdge, double centreY, double textSlot)
{
    effect.colorRed = effect.colorGreen = effect.colorBlue = 0.8;
    effect.penX = rightEdge;
    effect.penY = std::floor(centreY - effect.textHeight / 2.0);
    effect.graphics.drawText(textSlot);
}

void GateEditor::Meter(double gain, double y, double& closedLight, double& openLight)
{
    EffectGraphics& g = effect.graphics;
    constexpr double x0 = 125.0;
    effect.colorRed = effect.colorGreen = effect.colorBlue = 1.0;
    effect.colorAlpha = 0.75;
    // The lit part runs from the gain's mark to the right end: the more the band is closed,
    // the longer the bar (square-root scale, 200 pixels).
    const double length = 200.0 * std::sqrt(std::fabs(gain));
    const double n = length > 1.0 ? std::floor(length) : 1.0;
    effect.penX = x0 + 199.0;
    effect.penY = y + 1.0;
    g.fillRectTo(x0 + n, y + 9.0);

    if (n == 1.0)
        closedLight = 1.0;
    if (n >= 200.0)
        openLight = 1.0;
    effect.colorAlpha = 1.0;
    effect.colorRed = closedLight;
    effect.colorGreen = 0.3 * closedLight;
    effect.colorBlue = 0.0;
    g.fillCircle(x0 - 16.0, y + 4.0, 2.0);
    effect.colorRed = 0.0;
    effect.colorGreen = openLight;
    g.fillCircle(x0 + 216.0, y + 4.0, 2.0);

    // Lights fade to a resting glow: from full to 0.22 in 16 frames.
    closedLight = closedLight - 0.05 > 0.22 ? closedLight - 0.05 : 0.22;
    openLight = openLight - 0.05 > 0.22 ? openLight - 0.05 : 0.22;
}

} // namespace vrn
