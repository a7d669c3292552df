#pragma once
// A view that writes every event it receives into a shared log, with chosen answers.

#include "editor/draw_context.h"
#include "editor/view_container.h"

#include <string>
#include <vector>

namespace vrn::testing
{

/// Logs lines like "A down 10 20 2" (name, event, point, buttons) and answers as configured.
class EventLogView : public CView
{
public:
    EventLogView(const char* viewName, const ViewRect& rect, std::vector<std::string>& eventLog)
        : CView(rect), name(viewName), log(eventLog)
    {
    }

    MouseResult downAnswer = kMouseEventHandled;
    MouseResult movedAnswer = kMouseEventHandled;
    std::int32_t keyAnswer = -1;
    bool wheelAnswer = true;
    bool dropAnswer = false;

    MouseResult mouseDown(ViewPoint p, ButtonState b) override
    {
        add("down", p, b);
        return downAnswer;
    }
    MouseResult mouseUp(ViewPoint p, ButtonState b) override
    {
        add("up", p, b);
        return kMouseEventHandled;
    }
    MouseResult mouseMoved(ViewPoint p, ButtonState b) override
    {
        add("moved", p, b);
        return movedAnswer;
    }
    MouseResult mouseEntered(ViewPoint p, ButtonState b) override
    {
        add("entered", p, b);
        return kMouseEventHandled;
    }
    MouseResult mouseExited(ViewPoint p, ButtonState b) override
    {
        add("exited", p, b);
        return kMouseEventHandled;
    }
    bool wheel(ViewPoint p, float distance, ButtonState b) override
    {
        log.push_back(name + " wheel " + Num(p.h) + " " + Num(p.v) + " " + Num(distance) + " " +
                      std::to_string(b));
        return wheelAnswer;
    }
    std::int32_t keyDown(const KeyCode& key) override
    {
        log.push_back(name + " key " + std::to_string(key.character));
        return keyAnswer;
    }
    void focusLost() override { log.push_back(name + " focus lost"); }
    void focusGained() override { log.push_back(name + " focus gained"); }
    void dragEntered(CDragContainer*, ViewPoint p) override { add("drag entered", p, 0); }
    void dragMoved(CDragContainer*, ViewPoint p) override { add("drag moved", p, 0); }
    void dragLeft(CDragContainer*, ViewPoint p) override { add("drag left", p, 0); }
    bool dropItems(CDragContainer*, ViewPoint p) override
    {
        add("drop", p, 0);
        return dropAnswer;
    }
    /// Logs "A draw" and fills its rectangle (seen by a recording surface).
    void draw(CDrawContext* context) override
    {
        log.push_back(name + " draw");
        context->fillRect(size);
        setNeedsRedraw(false);
    }

    static std::string Num(double value)
    {
        const auto whole = static_cast<long long>(value);
        return static_cast<double>(whole) == value ? std::to_string(whole) : std::to_string(value);
    }

private:
    void add(const char* event, ViewPoint p, ButtonState b)
    {
        log.push_back(name + " " + event + " " + Num(p.h) + " " + Num(p.v) + " " +
                      std::to_string(b));
    }

    std::string name;
    std::vector<std::string>& log;
};

/// A container that logs the messages it receives ("box message kMsgNewFocusView from A").
class MessageLogContainer : public CViewContainer
{
public:
    MessageLogContainer(const ViewRect& rect, std::vector<std::string>& eventLog)
        : CViewContainer(rect, nullptr), log(eventLog)
    {
    }
    std::int32_t handleMessage(CBaseObject* sender, CMessageId message) override
    {
        if (message == kMsgNewFocusView || message == kMsgOldFocusView)
            log.push_back(std::string("box ") + message);
        (void)sender;
        return CViewContainer::handleMessage(sender, message);
    }

private:
    std::vector<std::string>& log;
};

} // namespace vrn::testing
