#pragma once
// The OLE face of the frame's drop target: the system's IDropTarget calls forwarded to the
// portable CDropTarget.

#include <windows.h>

#include <ole2.h>

namespace vrn
{

class CDropTarget;

// COM objects are only ever deleted by their own Release, never through an interface pointer:
// the interfaces' missing virtual destructors do not matter.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

/// IDropTarget over a CDropTarget, which it retains while it exists. Starts with one reference;
/// the last Release deletes it. The system's pointer position is not used: the frame reads the
/// cursor itself.
class OleDropTarget final : public IDropTarget
{
public:
    explicit OleDropTarget(CDropTarget* target);
    OleDropTarget(const OleDropTarget&) = delete;
    OleDropTarget& operator=(const OleDropTarget&) = delete;

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override;
    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;

    // IDropTarget
    HRESULT STDMETHODCALLTYPE DragEnter(IDataObject* data, DWORD keyState, POINTL point,
                                        DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragOver(DWORD keyState, POINTL point, DWORD* effect) override;
    HRESULT STDMETHODCALLTYPE DragLeave() override;
    HRESULT STDMETHODCALLTYPE Drop(IDataObject* data, DWORD keyState, POINTL point,
                                   DWORD* effect) override;

private:
    virtual ~OleDropTarget();

    CDropTarget* target;
    LONG references = 1;
};

#pragma GCC diagnostic pop

} // namespace vrn
