// Helpers of the Windows window tests.
#include "window_support.h"

#include "editor/drag_container.h"
#include "editor/draw_context.h"

#include <cstdio>

namespace vrn::test
{

namespace
{
constexpr wchar_t kHostClass[] = L"VrnTestHostWindow";

LRESULT CALLBACK HostProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_MOUSEWHEEL)
    {
        ++HostWindow::wheelMessages;
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

std::string Hex(ButtonState buttons)
{
    char text[16];
    std::snprintf(text, sizeof text, "0x%x", static_cast<unsigned>(buttons));
    return text;
}
} // namespace

int HostWindow::wheelMessages = 0;

HostWindow::HostWindow(int left, int top, int width, int height)
{
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = HostProc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
    windowClass.lpszClassName = kHostClass;
    RegisterClassW(&windowClass); // fails harmlessly when an earlier test registered it
    window =
        CreateWindowExW(0, kHostClass, L"host", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, left, top,
                        width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    EXPECT_NE(window, nullptr) << "no window (is there a display?)";
    wheelMessages = 0;
    PumpMessages();
}

HostWindow::~HostWindow()
{
    destroy();
}

void HostWindow::destroy()
{
    if (window)
        DestroyWindow(window);
    window = nullptr;
    PumpMessages();
}

void PumpMessages()
{
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE))
        DispatchMessageW(&message);
}

COLORREF WindowPixel(HWND window, int x, int y)
{
    HDC dc = GetDC(window);
    const COLORREF value = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return value;
}

HWND OnlyChild(HWND parent)
{
    HWND first = GetWindow(parent, GW_CHILD);
    if (!first || GetWindow(first, GW_HWNDNEXT))
        return nullptr;
    return first;
}

ProbeView::ProbeView(const ViewRect& rect, ViewColor color) : CView(rect), fill(color) {}

void ProbeView::draw(CDrawContext* context)
{
    ++draws;
    context->setFillColor(fill);
    context->drawRect(bounds(), kDrawFilled);
    setNeedsRedraw(false);
}

void ProbeView::log(const std::string& what, ViewPoint where, ButtonState buttons)
{
    events.push_back(what + " " + std::to_string(static_cast<int>(where.h)) + " " +
                     std::to_string(static_cast<int>(where.v)) + " " + Hex(buttons));
}

MouseResult ProbeView::mouseDown(ViewPoint where, ButtonState buttons)
{
    log("down", where, buttons);
    return pressAnswer;
}

MouseResult ProbeView::mouseUp(ViewPoint where, ButtonState buttons)
{
    log("up", where, buttons);
    return kMouseEventHandled;
}

MouseResult ProbeView::mouseMoved(ViewPoint where, ButtonState buttons)
{
    log("moved", where, buttons);
    return kMouseEventHandled;
}

MouseResult ProbeView::mouseEntered(ViewPoint where, ButtonState buttons)
{
    log("entered", where, buttons);
    return kMouseEventHandled;
}

MouseResult ProbeView::mouseExited(ViewPoint where, ButtonState buttons)
{
    log("exited", where, buttons);
    return kMouseEventHandled;
}

bool ProbeView::wheel(ViewPoint where, float distance, ButtonState buttons)
{
    log("wheel " + std::to_string(static_cast<int>(distance)), where, buttons);
    return true;
}

bool ProbeView::dropItems(CDragContainer* drag, ViewPoint)
{
    std::string line = "drop " + std::to_string(drag->getCount()) + " items:";
    std::int32_t itemSize = 0;
    std::int32_t type = 0;
    for (const char* item = drag->first(itemSize, type); item; item = drag->next(itemSize, type))
        line += std::string(" ") + (type == kDragItemFile ? "file:" : "text:") +
                std::string(item, static_cast<std::size_t>(itemSize));
    events.push_back(line);
    return true;
}

void ProbeView::dragEntered(CDragContainer*, ViewPoint)
{
    events.push_back("drag entered");
}

void ProbeView::dragLeft(CDragContainer*, ViewPoint)
{
    events.push_back("drag left");
}

void ProbeView::dragMoved(CDragContainer*, ViewPoint)
{
    events.push_back("drag moved");
}

std::vector<std::string> ProbeView::take()
{
    std::vector<std::string> taken;
    taken.swap(events);
    return taken;
}

std::vector<std::string> ProbeView::lines(const std::string& prefix) const
{
    std::vector<std::string> found;
    for (const std::string& line : events)
        if (line.compare(0, prefix.size(), prefix) == 0)
            found.push_back(line);
    return found;
}

} // namespace vrn::test
