// The plug-in's editor inside a window of the host tool's own: the platform-independent part.
#include "tools/vsthost/editor_window.h"

#include "tools/command_line.h"
#include "tools/vsthost/allocation_counter.h"

#include <algorithm>
#include <chrono>
#include <thread>

namespace vrn
{
namespace
{
constexpr int kIdleMilliseconds = 10;
constexpr int kMaxWindowSide = 32767; ///< pixels; what an ERect can hold
} // namespace

EditorWindow::~EditorWindow()
{
    Close();
}

bool EditorWindow::Open(std::string& error)
{
    ERect* rect = nullptr;
    session.Dispatch(effEditGetRect, 0, 0, &rect);
    if (rect == nullptr || rect->right <= rect->left || rect->bottom <= rect->top)
    {
        error = "the plug-in reports no editor size";
        return false;
    }
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
    window = HostWindow::Create(width, height, error);
    if (!window)
        return false;
    // The plug-in may ask for another size while it opens (a scale it learnt from the system).
    session.SetWindowSizeHandler([this](int32 w, int32 h) { return Resize(w, h); });
    const intptr answer = session.Dispatch(effEditOpen, 0, 0, window->ParentHandle());
    // Some plug-ins answer 0 although their editor opened; a window of their own counts.
    if (answer == 0 && !window->HasEditorWindow())
    {
        error = "the plug-in did not open its editor (effEditOpen answered 0)";
        Close();
        return false;
    }
    editorOpen = true;
    PumpAndIdle();
    return true;
}

void EditorWindow::Close() noexcept
{
    if (editorOpen && session.IsOpen())
        session.Dispatch(effEditClose);
    editorOpen = false;
    session.SetWindowSizeHandler(nullptr);
    window.reset();
}

bool EditorWindow::Resize(int32 newWidth, int32 newHeight)
{
    if (!window || newWidth <= 0 || newHeight <= 0 || newWidth > kMaxWindowSide ||
        newHeight > kMaxWindowSide)
        return false;
    window->Resize(newWidth, newHeight);
    width = newWidth;
    height = newHeight;
    PrintLine("size window: " + std::to_string(width) + "x" + std::to_string(height));
    return true;
}

void EditorWindow::PumpAndIdle()
{
    if (window)
        window->Pump();
    if (editorOpen && session.IsOpen())
        session.Dispatch(effEditIdle);
}

bool EditorWindow::Idle(int milliseconds, const IdleSignal* signal, int& idles, std::string& error)
{
    using Clock = std::chrono::steady_clock;
    const Clock::time_point start = Clock::now();
    const double rate = session.Settings().sampleRate;
    std::uint64_t framesDone = 0;
    std::vector<std::vector<double>> outputs;
    idles = 0;
    for (;;)
    {
        PumpAndIdle();
        ++idles;
        const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
        // The audio the clock says is due, looping the signal.
        const auto due =
            static_cast<std::uint64_t>(std::min(elapsed, milliseconds / 1000.0) * rate);
        while (signal != nullptr && framesDone < due)
        {
            const std::size_t count = static_cast<std::size_t>(
                std::min<std::uint64_t>(due - framesDone, signal->frames - signalPosition));
            std::vector<const double*> inputs =
                MapInputChannels(signal->channels, session.NumInputs());
            for (const double*& input : inputs)
                input = input != nullptr ? input + signalPosition : nullptr;
            if (!session.Render(inputs, count, outputs, error))
                return false;
            signalPosition = (signalPosition + count) % signal->frames;
            framesDone += count;
        }
        if (elapsed * 1000.0 >= milliseconds)
            return true;
        const auto next = start + std::chrono::milliseconds(idles * kIdleMilliseconds);
        const auto wait =
            std::max(next - Clock::now(), Clock::duration(std::chrono::milliseconds(1)));
        std::this_thread::sleep_for(wait);
    }
}

bool EditorWindow::Mouse(const MouseInput& input, std::string& error)
{
    if (!window || !window->SendMouse(input, error))
        return false;
    PumpAndIdle();
    window->EndMouse();
    return true;
}

bool EditorWindow::TimePaints(int frames, std::vector<double>& milliseconds, long& allocations,
                              std::string& error)
{
    using Clock = std::chrono::steady_clock;
    milliseconds.assign(static_cast<std::size_t>(frames), 0.0);
    // The plug-in's own heap allocations while the frames are drawn (the tool's are not counted).
    const AllocationCounter counter(reinterpret_cast<const void*>(session.Effect()->dispatcher));
    for (double& taken : milliseconds)
    {
        const Clock::time_point start = Clock::now();
        if (!window || !window->PaintNow(session, error))
            return false;
        taken = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
        window->Pump();
    }
    allocations = counter.counting() ? counter.count() : -1;
    return true;
}

bool EditorWindow::SavePng(const std::string& path, std::string& error)
{
    PumpAndIdle();
    Image image(width, height, 0);
    return window && window->Capture(image, error) && WriteCompressedPng(path, image, error);
}

} // namespace vrn
