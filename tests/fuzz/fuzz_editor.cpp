// Fuzz target: the editor as a host and a user drive it, through the real wrapper, editor
// bridge, frame and gate editor on the fake window system. Byte-decoded sequences of editor
// open, close and idle, paints, mouse moves, presses and releases with any button and modifier
// bits, wheel turns, content scale requests, loss of the pointer capture, the window destroyed with
// its parent, keys, and between them what a host's other threads do (parameter sets and gets,
// processing, chunk loads, suspend and resume) in a decoded order on this one thread (real
// concurrency is the stress tests' job). Nothing may crash or leak, every parameter stays within 0
// … 1, and a closed editor leaves no window, class registration or OLE initialisation behind.
#include "editor/frame.h"
#include "effect/gate_effect.h"
#include "host/vest.h"
#include "host/vest_editor.h"
#include "tests/fuzz/fuzz_host_calls.h"
#include "tests/support/fake_windows.h"
#include "tests/support/recording_surface.h"

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace
{

using namespace vrn;
using fuzz::Reader;
using fuzz::Require;

void* const kHostWindow = reinterpret_cast<void*>(0x1000);

/// The redraw clock, moved on by the idle calls (ms).
std::uint32_t now = 0;
std::uint32_t FakeClock()
{
    return now;
}

/// The fake window system for the whole run; window calls and paints are logged and dropped.
struct FakeDesktop
{
    testing::FakeWindows windows;
    std::vector<std::string> painted;
    testing::RecordingSurface paintBuffer{painted}; // the window's kept buffer

    FakeDesktop()
    {
        editor_platform::SetFakeWindowSurfaces(
            [this] { return std::make_unique<testing::RecordingSurface>(painted); });
    }
    void Forget()
    {
        windows.log.clear();
        painted.clear();
    }
};

/// One input's events on one instance with an editor.
class EditorSequence : public fuzz::HostCalls
{
public:
    EditorSequence(fuzz::Instance& instance, Reader& reader) : HostCalls(instance, reader)
    {
        auto* wrapper = static_cast<CVeST*>(plugin.effect->object);
        // Without a window system of its own the plug-in declares no editor; give it one as
        // the plug-in does where it has one (the wrapper owns it from now on).
        if (!wrapper->getEditor())
            new CVeSTEditor(wrapper);
        editor = static_cast<CVeSTEditor*>(wrapper->getEditor());
        static_cast<TXaltoEffect*>(wrapper->effect)->redrawClock = &FakeClock;
    }

    void Step()
    {
        const unsigned kind = in.Choose(15 + fuzz::HostCalls::kKinds);
        switch (kind)
        {
        case 0:
        {
            const bool parent = in.Choose(8) != 0;
            fuzz::Trace("editor open%s", parent ? "" : " without a parent");
            plugin.Dispatch(effEditOpen, 0, 0, parent ? kHostWindow : nullptr);
            break;
        }
        case 1:
            fuzz::Trace("editor close");
            plugin.Dispatch(effEditClose);
            Require(editor_platform::FakeWindowCount() == 0, "a closed editor leaves no window");
            break;
        case 2:
            now += in.Choose(64);
            fuzz::Trace("idle at %u ms", now);
            plugin.Dispatch(effEditIdle);
            break;
        case 3:
            Paint();
            break;
        case 4:
        case 5:
        case 6:
        case 7:
            Mouse();
            break;
        case 8:
        {
            const ViewPoint at = Point();
            const auto delta = in.Take<std::int16_t>();
            const ButtonState modifiers = Buttons() & (kShift | kControl | kAlt);
            const auto axis = in.Choose(2) == 0 ? kMouseWheelVertical : kMouseWheelHorizontal;
            fuzz::Trace("wheel %d on axis %d at %g %g", delta, axis, at.h, at.v);
            if (FrameWindowClient* window = Window())
                window->onWindowWheel(at, delta, modifiers, axis);
            break;
        }
        case 9:
            fuzz::Trace("capture lost");
            if (FrameWindowClient* window = Window())
                window->onWindowCaptureLost();
            break;
        case 10:
            fuzz::Trace("mouse leave");
            if (FrameWindowClient* window = Window())
                window->onWindowMouseLeave();
            break;
        case 11:
            fuzz::Trace("the system destroys the window");
            if (CFrame* frame = editor->getFrame())
                editor_platform::DestroyFakeWindowBySystem(frame->getWindow());
            break;
        case 12:
        {
            const int32 opcode = in.Choose(2) == 0 ? effEditKeyDown : effEditKeyUp;
            const int32 character = in.Int();
            const int32 virtualKey = in.Int();
            const float modifiers = in.Float();
            fuzz::Trace("key %s %d %d", opcode == effEditKeyDown ? "down" : "up", character,
                        virtualKey);
            plugin.Dispatch(opcode, character, virtualKey, nullptr, modifiers);
            break;
        }
        case 13:
        {
            ERect* rect = nullptr;
            const double scale = editor->getContentScale();
            Require(plugin.Dispatch(effEditGetRect, 0, 0, &rect) == 1 && rect &&
                        rect->right == std::lround(450 * scale) &&
                        rect->bottom == std::lround(500 * scale),
                    "the editor rectangle at its scale");
            plugin.Dispatch(effSetEditKnobMode, 0, in.Int());
            break;
        }
        case 14:
        {
            // Mostly the factors of real screens, sometimes any float.
            static const float kFactors[] = {1.0f, 1.25f, 1.5f, 2.0f, 3.0f};
            const unsigned pick = in.Choose(8);
            const float factor = pick < 5 ? kFactors[pick] : in.Float();
            fuzz::Trace("content scale %g", static_cast<double>(factor));
            plugin.Dispatch(effVendorSpecific, kContentScaleIndex, kContentScaleValue, nullptr,
                            factor);
            const double scale = editor->getContentScale();
            Require(scale >= 1.0 && scale <= 3.0, "a content scale within 1 … 3");
            break;
        }
        default: // what the host's other threads do meanwhile
            Call(kind - 15);
            break;
        }
        desktop().Forget();
        Require(fuzz::ParametersInRange(plugin.effect), "parameters within 0..1");
    }

    /// Closes the editor as a host does at the end; nothing of it may stay behind.
    void Finish()
    {
        plugin.Dispatch(effEditClose);
        desktop().Forget();
        Require(editor_platform::FakeWindowCount() == 0, "a closed editor leaves no window");
        Require(!editor_platform::FakeWindowClassRegistered(),
                "the last window gives back the class");
        Require(editor_platform::OpenOleInitializations() == 0 &&
                    !editor_platform::OleEverUnbalanced(),
                "OLE initialised and uninitialised in pairs");
    }

    static FakeDesktop& desktop()
    {
        static FakeDesktop instance;
        return instance;
    }

private:
    FrameWindowClient* Window() const
    {
        CFrame* frame = editor->getFrame();
        return frame ? editor_platform::FakeWindowClient(frame->getWindow()) : nullptr;
    }

    /// Mostly a point over the editor (a little beyond its edges too), sometimes anywhere.
    ViewPoint Point()
    {
        if (in.Choose(16) == 0)
            return {static_cast<double>(in.Take<std::int16_t>()),
                    static_cast<double>(in.Take<std::int16_t>())};
        return {static_cast<double>(in.Take<std::uint16_t>() % 480) - 15.0,
                static_cast<double>(in.Take<std::uint16_t>() % 530) - 15.0};
    }

    /// Mostly the left button with or without shift or control, sometimes any bits.
    ButtonState Buttons()
    {
        static const ButtonState kCommon[] = {
            0,        kLButton, kLButton | kShift,       kLButton | kControl,
            kRButton, kMButton, kLButton | kDoubleClick, kLButton | kShift | kControl};
        const unsigned pick = in.Choose(10);
        if (pick < 8)
            return kCommon[pick];
        return in.Take<std::int32_t>();
    }

    void Mouse()
    {
        const unsigned kind = in.Choose(3);
        const ViewPoint at = Point();
        const ButtonState buttons = Buttons();
        static const char* const kKinds[] = {"move", "down", "up"};
        fuzz::Trace("mouse %s %g %g buttons %#x", kKinds[kind], at.h, at.v,
                    static_cast<unsigned>(buttons));
        FrameWindowClient* window = Window();
        if (!window)
            return;
        if (kind == 0)
            window->onWindowMouseMoved(at, buttons);
        else if (kind == 1)
            window->onWindowMouseDown(at, buttons);
        else
            window->onWindowMouseUp(at, buttons);
    }

    void Paint()
    {
        ViewRect area{0, 0, CVeSTEditor::kWidth, CVeSTEditor::kHeight};
        if (in.Choose(4) == 0)
            area = {static_cast<double>(in.Take<std::int16_t>()),
                    static_cast<double>(in.Take<std::int16_t>()),
                    static_cast<double>(in.Take<std::int16_t>()),
                    static_cast<double>(in.Take<std::int16_t>())};
        fuzz::Trace("paint %g %g %g %g", area.left, area.top, area.right, area.bottom);
        if (FrameWindowClient* window = Window())
            window->onWindowPaint(desktop().paintBuffer, area);
    }

    CVeSTEditor* editor = nullptr;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    EditorSequence::desktop();
    fuzz::Instance& plugin = fuzz::NextInstance();
    Reader in(data, size);
    EditorSequence user(plugin, in);
    while (in.More())
        user.Step();
    user.Finish();
    return 0;
}
