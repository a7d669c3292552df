// The drop target: drag notifications to the frame, with the drag container of the drag.
#include "editor/drop_target.h"

#include "editor/drag_data.h"
#include "editor/frame.h"
#include "editor/win_drag_container.h"

namespace vrn
{

CDropTarget::CDropTarget(CFrame* targetFrame) : frame(targetFrame) {}

CDropTarget::~CDropTarget()
{
    endDrag();
}

std::int32_t CDropTarget::dragEnter(std::unique_ptr<DragDataObject> data,
                                    std::int32_t allowedEffects)
{
    if (!data || !frame)
        return kDropEffectNone;
    // An enter without the leave of an earlier drag ends that drag first.
    endDrag();
    drag = new WinDragContainer(std::move(data));
    frame->dragEntered(drag, frame->currentMouseLocation());
    return reduceEffect(allowedEffects);
}

std::int32_t CDropTarget::dragOver(std::int32_t allowedEffects)
{
    if (!drag || !frame)
        return allowedEffects;
    frame->dragMoved(drag, frame->currentMouseLocation());
    return reduceEffect(allowedEffects);
}

void CDropTarget::dragLeave()
{
    if (drag && frame)
        frame->dragLeft(drag, frame->currentMouseLocation());
    endDrag();
}

void CDropTarget::drop()
{
    if (drag && frame)
        frame->dropItems(drag, frame->currentMouseLocation());
    endDrag();
}

std::int32_t CDropTarget::reduceEffect(std::int32_t allowedEffects)
{
    if (allowedEffects & kDropEffectCopy)
        return kDropEffectCopy;
    if (allowedEffects & kDropEffectMove)
        return kDropEffectMove;
    if (allowedEffects & kDropEffectLink)
        return kDropEffectLink;
    return allowedEffects;
}

void CDropTarget::endDrag()
{
    if (drag)
        drag->release();
    drag = nullptr;
}

} // namespace vrn
