// The resource stream's COM face; the read and seek rules live in ResourceStreamCursor.
#include "editor/win32/resource_stream.h"

#include <cstring>

namespace vrn
{

ResourceStream::ResourceStream(const void* data, ULONG size) : cursor(data, size) {}

HRESULT STDMETHODCALLTYPE ResourceStream::QueryInterface(REFIID iid, void** object)
{
    if (!object)
        return E_POINTER;
    if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IStream) ||
        IsEqualIID(iid, IID_ISequentialStream))
    {
        AddRef();
        *object = static_cast<IStream*>(this);
        return S_OK;
    }
    *object = nullptr;
    return E_NOINTERFACE;
}

ULONG STDMETHODCALLTYPE ResourceStream::AddRef()
{
    return static_cast<ULONG>(InterlockedIncrement(&references));
}

ULONG STDMETHODCALLTYPE ResourceStream::Release()
{
    const LONG left = InterlockedDecrement(&references);
    if (left == 0)
        delete this;
    return static_cast<ULONG>(left);
}

HRESULT STDMETHODCALLTYPE ResourceStream::Read(void* buffer, ULONG count, ULONG* readCount)
{
    if (!buffer && count > 0)
        return STG_E_INVALIDPOINTER;
    std::uint32_t done = 0;
    const HRESULT result = cursor.read(buffer, count, &done);
    if (readCount)
        *readCount = done;
    return result;
}

HRESULT STDMETHODCALLTYPE ResourceStream::Write(const void*, ULONG, ULONG*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ResourceStream::Seek(LARGE_INTEGER offset, DWORD origin,
                                               ULARGE_INTEGER* newPosition)
{
    std::uint64_t position = 0;
    const HRESULT result = cursor.seek(offset.QuadPart, origin, &position);
    if (result == S_OK && newPosition)
        newPosition->QuadPart = position;
    return result;
}

HRESULT STDMETHODCALLTYPE ResourceStream::SetSize(ULARGE_INTEGER)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ResourceStream::CopyTo(IStream*, ULARGE_INTEGER, ULARGE_INTEGER*,
                                                 ULARGE_INTEGER*)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ResourceStream::Commit(DWORD)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ResourceStream::Revert()
{
    return cursor.revert();
}

HRESULT STDMETHODCALLTYPE ResourceStream::LockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ResourceStream::UnlockRegion(ULARGE_INTEGER, ULARGE_INTEGER, DWORD)
{
    return E_NOTIMPL;
}

HRESULT STDMETHODCALLTYPE ResourceStream::Stat(STATSTG* stat, DWORD)
{
    if (!stat)
        return STG_E_INVALIDPOINTER;
    std::memset(stat, 0, sizeof *stat);
    stat->cbSize.QuadPart = cursor.getSize();
    return S_OK;
}

HRESULT STDMETHODCALLTYPE ResourceStream::Clone(IStream**)
{
    return E_NOTIMPL;
}

} // namespace vrn
