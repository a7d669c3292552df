// Drop target registration and the OLE drop target, plus OLE's start and end per caller.
#include "editor/win32/ole_drop_target.h"

#include "editor/drag_data.h"
#include "editor/drop_target.h"
#include "editor/platform.h"
#include "editor/win32/ole_drag_data.h"

#include <memory>

namespace vrn
{

OleDropTarget::OleDropTarget(CDropTarget* dropTarget) : target(dropTarget)
{
    target->retain();
}

OleDropTarget::~OleDropTarget()
{
    target->release();
}

HRESULT STDMETHODCALLTYPE OleDropTarget::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropTarget))
    {
        AddRef();
        *object = static_cast<IDropTarget*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE OleDropTarget::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&references));
}

ULONG STDMETHODCALLTYPE OleDropTarget::Release()
{
    const LONG left = InterlockedDecrement(&references);
    if (left <= 0)
        delete this;
    return left > 0 ? static_cast<ULONG>(left) : 0;
}

HRESULT STDMETHODCALLTYPE OleDropTarget::DragEnter(IDataObject* data, DWORD, POINTL, DWORD* effect)
{
    if (!effect)
        return E_INVALIDARG;
    std::unique_ptr<DragDataObject> items;
    if (data)
        items = std::make_unique<OleDragData>(data);
    *effect = static_cast<DWORD>(target->dragEnter(std::move(items), static_cast<int>(*effect)));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleDropTarget::DragOver(DWORD, POINTL, DWORD* effect)
{
    if (!effect)
        return E_INVALIDARG;
    *effect = static_cast<DWORD>(target->dragOver(static_cast<int>(*effect)));
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleDropTarget::DragLeave()
{
    target->dragLeave();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE OleDropTarget::Drop(IDataObject*, DWORD, POINTL, DWORD*)
{
    target->drop();
    return S_OK;
}

namespace editor_platform
{

namespace
{
// Our own reference to a window's registered target lives in a property of that window, so it
// goes with the window: a later window that gets the same handle value starts without one.
constexpr wchar_t kTargetProperty[] = L"VarneGateDropTarget";

OleDropTarget* TakeRegisteredTarget(HWND window)
{
    return static_cast<OleDropTarget*>(RemovePropW(window, kTargetProperty));
}
} // namespace

bool InitializeOle()
{
    // S_FALSE (already initialised on this thread) needs its balancing call too.
    return SUCCEEDED(OleInitialize(nullptr));
}

void UninitializeOle()
{
    OleUninitialize();
}

bool RegisterDropTarget(void* windowHandle, CDropTarget* target)
{
    auto window = static_cast<HWND>(windowHandle);
    if (!window || !target)
        return false;
    RevokeDropTarget(window);
    auto* oleTarget = new OleDropTarget(target);
    if (FAILED(RegisterDragDrop(window, oleTarget)) ||
        !SetPropW(window, kTargetProperty, oleTarget))
    {
        RevokeDragDrop(window);
        oleTarget->Release();
        return false;
    }
    return true;
}

void RevokeDropTarget(void* windowHandle)
{
    auto window = static_cast<HWND>(windowHandle);
    if (!window)
        return;
    OleDropTarget* oleTarget = TakeRegisteredTarget(window);
    if (!oleTarget)
        return;
    RevokeDragDrop(window);
    oleTarget->Release();
}

} // namespace editor_platform
} // namespace vrn
