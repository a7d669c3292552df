// The whole editor path with the real gate: the frame routes mouse events to the effect view,
// the view hands them and the paint to the gate's table entries, and the host reads the result.
#include "editor/draw_context.h"
#include "editor/frame.h"
#include "host/vest.h"
#include "host/vest_editor.h"
#include "tests/host/fake_host.h"
#include "tests/support/fake_windows.h"
#include "tests/support/recording_surface.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <sstream>

namespace vrn::test
{
namespace
{

void* const kHostWindow = reinterpret_cast<void*>(0x1000);

/// The gate with an open editor on a fake window, at the content scale the host asked for;
/// paints go to a recording context (whose text measures grow with the scale, as a font's do).
/// Editors open side by side share one set of fake windows, which the test switches on.
struct OpenEditor
{
    std::unique_ptr<testing::FakeWindows> windows;
    Plugin plugin;
    CVeSTEditor* editor = nullptr;
    std::vector<std::string> log;
    double scale;

    explicit OpenEditor(double contentScale = 1.0, bool ownWindows = true)
        : windows(ownWindows ? std::make_unique<testing::FakeWindows>() : nullptr),
          scale(contentScale)
    {
        auto* wrapper = static_cast<CVeST*>(plugin.effect->object);
        editor = static_cast<CVeSTEditor*>(wrapper->getEditor()); // the gate's own
        if (scale != 1.0)
            plugin.Dispatch(effVendorSpecific, kContentScaleIndex, kContentScaleValue, nullptr,
                            static_cast<float>(scale));
        open = plugin.Dispatch(effEditOpen, 0, 0, kHostWindow) == 1;
    }
    ~OpenEditor() { plugin.Dispatch(effEditClose); }

    CFrame& Frame() { return *editor->getFrame(); }
    void Paint()
    {
        auto* context =
            new CDrawContext(&Frame(), Frame().bounds(),
                             std::make_unique<testing::RecordingSurface>(log, 7.0 * scale));
        log.clear();
        Frame().draw(context);
        context->release();
    }
    bool Drew(const std::string& call) const
    {
        return std::find(log.begin(), log.end(), call) != log.end();
    }

    bool open = false;
};

TEST(GateEditorWindow, TheViewDrawsTheGateAndItsDragsReachTheHost)
{
    OpenEditor e;
    ASSERT_TRUE(e.open);
    e.Paint();
    EXPECT_TRUE(e.Drew("bitmap 450x500 to 0 0 450 500 from 0 0 alpha 255"));
    EXPECT_TRUE(e.Drew("bitmap 32x32 to 229 133 32 32 from 0 0 alpha 255")); // Threshold Lo

    // Rest over Threshold Lo (the first move over the view only enters it), press, drag past
    // its right end, release.
    e.Frame().mouseMoved({190, 149}, 0);
    e.Frame().mouseMoved({200, 149}, 0);
    e.Paint();
    e.Frame().mouseDown({200, 149}, kLButton);
    e.Paint();
    EXPECT_FLOAT_EQ(e.plugin.Get(3), 27.0f / 90.0f); // -63 dB
    EXPECT_TRUE(e.Drew("bitmap 32x32 to 185 133 32 32 from 0 0 alpha 255"));
    e.Frame().mouseMoved({400, 149}, kLButton);
    e.Paint();
    e.Frame().mouseUp({400, 149}, kLButton);
    e.Paint();
    EXPECT_EQ(e.plugin.Get(3), 1.0f);
    EXPECT_TRUE(e.Drew("bitmap 32x32 to 337 133 32 32 from 0 0 alpha 255"));

    // A wheel turn over a row changes nothing.
    editor_platform::SetFakePointer({200, 49}, 0);
    EXPECT_FALSE(e.editor->onWheel(1.0f));
    e.Paint();
    EXPECT_EQ(e.plugin.Get(0), 0.0f);
}

TEST(GateEditorWindow, ADragEndsWhenAnotherWindowTakesThePointer)
{
    OpenEditor e;
    ASSERT_TRUE(e.open);
    e.Paint();
    FrameWindowClient* window = editor_platform::FakeWindowClient(e.Frame().getWindow());
    ASSERT_NE(window, nullptr);
    // Press on Threshold Lo and drag, as real window messages.
    window->onWindowMouseMoved({200, 149}, 0);
    e.Paint();
    window->onWindowMouseDown({200, 149}, kLButton);
    e.Paint();
    window->onWindowMouseMoved({250, 149}, kLButton);
    e.Paint();
    const float dragged = e.plugin.Get(3);
    EXPECT_GT(dragged, 27.0f / 90.0f);

    // A host dialog takes the pointer; the button is released over it. Later moves over the
    // editor, with no button held, must not drag the row on.
    window->onWindowCaptureLost();
    window->onWindowMouseMoved({150, 149}, 0);
    e.Paint();
    window->onWindowMouseMoved({330, 149}, 0);
    e.Paint();
    EXPECT_EQ(e.plugin.Get(3), dragged);
}

/// A recorded call split into its words, its numbers ("32x32" is two) and its text in quotes.
struct Call
{
    std::vector<std::string> words;
    std::vector<double> numbers;
    std::string text;
};

Call Parse(std::string line)
{
    Call call;
    const std::size_t quote = line.find('"');
    if (quote != std::string::npos)
    {
        const std::size_t end = line.find('"', quote + 1);
        call.text = line.substr(quote, end - quote + 1);
        line.erase(quote, end - quote + 1);
    }
    std::istringstream in(line);
    for (std::string token; in >> token;)
    {
        // Numbers and a picture's "WxH"; colours ("255,0,0,255") count as words.
        const bool numeric = token.find_first_not_of("0123456789.-x") == std::string::npos &&
                             token.find_first_of("0123456789") <= 1;
        if (!numeric)
        {
            call.words.push_back(token);
            continue;
        }
        std::replace(token.begin(), token.end(), 'x', ' ');
        std::istringstream numbers(token);
        for (double value = 0.0; numbers >> value;)
            call.numbers.push_back(value);
    }
    return call;
}

/// True when `twice`, a call of a frame drawn at scale 2, is `single`, the same call at scale
/// 1, in window pixels: every coordinate, size and font size doubled (colours, styles and
/// opacities as they were), a picture drawn from its double-size variant. An ellipse keeps its
/// one-pixel inset (its box's size less one) in window pixels; a picture whose place lies
/// between two editor pixels goes to the window pixel between their doubles.
bool IsDoubled(const std::string& twice, const std::string& single)
{
    const Call a = Parse(twice);
    const Call b = Parse(single);
    if (a.words != b.words || a.text != b.text || a.numbers.size() != b.numbers.size())
        return false;
    const std::string& kind = b.words.front();
    for (std::size_t i = 0; i < b.numbers.size(); ++i)
    {
        const double v = b.numbers[i];
        const double w = a.numbers[i];
        bool same = w == 2 * v;
        if (kind == "string" && i == 1) // style bits
            same = w == v;
        else if (kind == "fillEllipse" && i >= 2)
            same = w == 2 * (v + 1) - 1;
        else if (kind == "bitmap" && i + 1 == b.numbers.size()) // opacity
            same = w == v;
        else if (kind == "bitmap" && (i == 2 || i == 3))
            same = w == 2 * v || w == 2 * v + 1;
        if (!same)
            return false;
    }
    return true;
}

TEST(GateEditorWindow, AtScale2EveryCallIsTwiceAsLargeAndThePicturesAreTheirDoubleSizeVariants)
{
    testing::FakeWindows windows;
    OpenEditor single(1.0, false);
    ASSERT_TRUE(single.open);
    OpenEditor twice(2.0, false);
    ASSERT_TRUE(twice.open);
    EXPECT_EQ(twice.Frame().bounds(), (ViewRect{0, 0, 450, 500}));
    // Two frames each, so that the meters' lights have faded alike.
    single.Paint();
    single.Paint();
    twice.Paint();
    twice.Paint();
    ASSERT_GT(single.log.size(), 60u);
    ASSERT_EQ(twice.log.size(), single.log.size());
    for (std::size_t i = 0; i < single.log.size(); ++i)
        EXPECT_TRUE(IsDoubled(twice.log[i], single.log[i]))
            << "at scale 2: " << twice.log[i] << "\nat scale 1: " << single.log[i];
    EXPECT_TRUE(twice.Drew("bitmap 900x1000 to 0 0 900 1000 from 0 0 alpha 255"));
    EXPECT_TRUE(twice.Drew("bitmap 64x64 to 458 266 64 64 from 0 0 alpha 255")); // Threshold Lo
}

/// A user's hand on the mouse, in window pixels at `scale`: each step is one window event
/// followed by a frame.
struct Hand
{
    OpenEditor& editor;
    FrameWindowClient* window;

    explicit Hand(OpenEditor& e)
        : editor(e), window(editor_platform::FakeWindowClient(e.Frame().getWindow()))
    {
    }
    ViewPoint At(double x, double y) const { return {x * editor.scale, y * editor.scale}; }
    void Move(double x, double y, ButtonState b = 0)
    {
        window->onWindowMouseMoved(At(x, y), b);
        editor.Paint();
    }
    void Press(double x, double y, ButtonState b = kLButton)
    {
        window->onWindowMouseDown(At(x, y), b);
        editor.Paint();
    }
    void Release(double x, double y)
    {
        window->onWindowMouseUp(At(x, y), 0);
        editor.Paint();
    }
    /// Rest over (x0, y0), press with `b`, drag to (x1, y1), release there.
    void Drag(double x0, double y0, double x1, double y1, ButtonState b = kLButton)
    {
        Move(x0, y0);
        Move(x0, y0);
        Press(x0, y0, b);
        Move(x1, y1, b);
        Release(x1, y1);
    }
};

TEST(GateEditorWindow, TheSamePointInEditorPixelsGivesTheSameValueAtEveryScale)
{
    // The drags of the gate's editor tests, each row with its buttons (in editor pixels).
    const struct
    {
        double x0, y0, x1, y1;
        ButtonState buttons;
    } drags[] = {
        {199, 49, 250, 120, kLButton},             // Attack under the pointer, then off the track
        {200, 49, 210, 49, kLButton | kShift},     // fine drag
        {200, 49, 300, 49, kLButton | kShift},     // fine drag, further
        {300, 149, 300, 149, kLButton | kControl}, // reset Threshold Lo
        {150, 219, 150, 219, kLButton | kControl}, // reset Crossover
        {300, 219, 0, 219, kLButton},              // Crossover to its minimum
        {250, 319, 1000, 319, kLButton},           // Monitor to its last choice
        {200, 149, 400, 149, kLButton},            // Threshold Lo past its end
        {245, 149, 200, 149, kLButton},            // Threshold Lo back
        {370, 79, 370, 79, kLButton},              // Release Lo at its far right
        {100, 49, 250, 49, kLButton},              // a press beside a track moves nothing
    };
    for (const double scale : {2.0, 1.5, 3.0})
    {
        testing::FakeWindows windows;
        OpenEditor reference(1.0, false);
        OpenEditor scaled(scale, false);
        ASSERT_TRUE(reference.open && scaled.open);
        Hand one(reference);
        Hand other(scaled);
        for (const auto& d : drags)
        {
            one.Drag(d.x0, d.y0, d.x1, d.y1, d.buttons);
            other.Drag(d.x0, d.y0, d.x1, d.y1, d.buttons);
            for (int32 p = 0; p < 10; ++p)
                ASSERT_EQ(scaled.plugin.Get(p), reference.plugin.Get(p))
                    << "scale " << scale << ", drag from " << d.x0 << "," << d.y0 << " to " << d.x1
                    << "," << d.y1 << ", parameter " << p;
        }
        // The drags did change the parameters.
        EXPECT_FLOAT_EQ(reference.plugin.Get(3), 27.0f / 90.0f); // Threshold Lo: -63 dB
        EXPECT_EQ(reference.plugin.Get(7), 1.0f);                // Monitor: Hi-band
        EXPECT_EQ(reference.plugin.Get(5), 0.0f);                // Crossover: 100 Hz
        EXPECT_NE(reference.plugin.Get(0), 0.0f);                // Attack
    }
}

} // namespace
} // namespace vrn::test
