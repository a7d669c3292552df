#pragma once
// Helpers of the Windows window tests: a host's top-level window, a view that logs what reaches
// it, and reading pixels back from the screen.

#include "editor/view.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vrn::test
{

/// A visible top-level window without frame, as a host's editor window: `width` × `height`
/// pixels at (`left`, `top`) on the screen, painted white. Counts the wheel messages it gets.
class HostWindow
{
public:
    HostWindow(int left = 100, int top = 100, int width = 450, int height = 500);
    ~HostWindow();
    HostWindow(const HostWindow&) = delete;
    HostWindow& operator=(const HostWindow&) = delete;

    HWND handle() const { return window; }
    /// Destroys the window now (as a host closing its window under the editor).
    void destroy();
    /// Wheel messages the window received.
    static int wheelMessages;

private:
    HWND window = nullptr;
};

/// Dispatches every message waiting for this thread.
void PumpMessages();

/// The colour at (x, y) of `window`'s client area.
COLORREF WindowPixel(HWND window, int x, int y);

/// The only child window of `parent`, or null when it has none or several.
HWND OnlyChild(HWND parent);

/// A view that logs every mouse, wheel and drag event ("down 30 40 0x12", "wheel 2", "drop 2
/// items: text:Grüße"), fills itself in `fill`, and answers mouse presses with `pressAnswer`.
class ProbeView : public CView
{
public:
    explicit ProbeView(const ViewRect& size, ViewColor fill = {255, 0, 0, 255});

    void draw(CDrawContext* context) override;
    MouseResult mouseDown(ViewPoint where, ButtonState buttons) override;
    MouseResult mouseUp(ViewPoint where, ButtonState buttons) override;
    MouseResult mouseMoved(ViewPoint where, ButtonState buttons) override;
    MouseResult mouseEntered(ViewPoint where, ButtonState buttons) override;
    MouseResult mouseExited(ViewPoint where, ButtonState buttons) override;
    bool wheel(ViewPoint where, float distance, ButtonState buttons) override;
    bool dropItems(CDragContainer* drag, ViewPoint where) override;
    void dragEntered(CDragContainer* drag, ViewPoint where) override;
    void dragLeft(CDragContainer* drag, ViewPoint where) override;
    void dragMoved(CDragContainer* drag, ViewPoint where) override;

    /// Lines logged so far, and forgets them.
    std::vector<std::string> take();
    /// Lines logged so far that start with `prefix`.
    std::vector<std::string> lines(const std::string& prefix) const;

    MouseResult pressAnswer = kMouseEventHandled;
    int draws = 0;

private:
    void log(const std::string& what, ViewPoint where, ButtonState buttons);

    ViewColor fill;
    std::vector<std::string> events;
};

} // namespace vrn::test
