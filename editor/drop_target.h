#pragma once
// The frame window's drop target: turns the system's drag notifications into view-tree drags.

#include "editor/base_object.h"

#include <cstdint>
#include <memory>

namespace vrn
{

class CFrame;
class DragDataObject;
class WinDragContainer;

/// Drop effects as the system counts them (bit set).
enum DropEffect : std::int32_t
{
    kDropEffectNone = 0,
    kDropEffectCopy = 1,
    kDropEffectMove = 2,
    kDropEffectLink = 4,
};

/// Registered on the frame window while drops are active (the platform object that the
/// system calls retains it and forwards here). The pointer location always comes from the
/// frame (cursor position in frame pixels), never from the notification. UI thread only.
class CDropTarget : public CBaseObject
{
public:
    explicit CDropTarget(CFrame* frame);
    ~CDropTarget() override;

    /// A drag entered the window: starts a drag over `data` and tells the frame. Answers the
    /// effect to report: none without data or frame, else the reduction of `allowedEffects`.
    std::int32_t dragEnter(std::unique_ptr<DragDataObject> data, std::int32_t allowedEffects);
    /// The drag moved: tells the frame and answers the reduced effect; answers
    /// `allowedEffects` unchanged without a drag in progress.
    std::int32_t dragOver(std::int32_t allowedEffects);
    /// The drag left the window: tells the frame and ends the drag.
    void dragLeave();
    /// The data was dropped: tells the frame and ends the drag (the effect is not changed).
    void drop();

    /// The frame the drags go to; null once the frame revoked the target.
    void setFrame(CFrame* newFrame) { frame = newFrame; }
    CFrame* getFrame() const { return frame; }
    /// True between a successful enter and the leave or drop.
    bool isDragging() const { return drag != nullptr; }

    /// Copy when allowed, else move, else link, else `allowedEffects` unchanged.
    static std::int32_t reduceEffect(std::int32_t allowedEffects);

private:
    void endDrag();

    CFrame* frame;
    WinDragContainer* drag = nullptr;
};

} // namespace vrn
