// Dragged text and files from an OLE data object, and shortcut files resolved by the shell.
#include "editor/win32/ole_drag_data.h"

#include "editor/platform.h"

#include <shellapi.h>
#include <shlobj.h>

namespace vrn
{

namespace
{
constexpr UINT kMaxPath = 2048; ///< UTF-16 units of a dropped or resolved path, terminator included
/// No dialog (SLR_NO_UI 0x1), any match (SLR_ANY_MATCH 0x2), 500 ms in the high word.
constexpr DWORD kResolveFlags = 0x01F40003;

/// One fetched storage medium, released when it goes.
class Medium
{
public:
    Medium(IDataObject* data, CLIPFORMAT format)
    {
        FORMATETC request{format, nullptr, DVASPECT_CONTENT, -1, TYMED_HGLOBAL};
        fetched = SUCCEEDED(data->GetData(&request, &medium)) && medium.tymed == TYMED_HGLOBAL;
        if (!fetched && medium.tymed != TYMED_NULL)
            ReleaseStgMedium(&medium);
    }
    Medium(const Medium&) = delete;
    Medium& operator=(const Medium&) = delete;
    ~Medium()
    {
        if (fetched)
            ReleaseStgMedium(&medium);
    }

    /// The global memory handle, or null when the format was not delivered.
    HGLOBAL memory() const { return fetched ? medium.hGlobal : nullptr; }

private:
    STGMEDIUM medium{};
    bool fetched = false;
};
} // namespace

OleDragData::OleDragData(IDataObject* dataObject) : data(dataObject)
{
    data->AddRef();
}

OleDragData::~OleDragData()
{
    data->Release();
}

bool OleDragData::hasText()
{
    return Medium(data, CF_UNICODETEXT).memory() != nullptr;
}

bool OleDragData::readText(std::u16string& text)
{
    const Medium medium(data, CF_UNICODETEXT);
    if (!medium.memory())
        return false;
    const SIZE_T bytes = GlobalSize(medium.memory());
    const auto* units = static_cast<const char16_t*>(GlobalLock(medium.memory()));
    if (!units)
        return false;
    // Up to the terminator, but never past the block: the sender may have left it out.
    const SIZE_T capacity = bytes / sizeof(char16_t);
    SIZE_T length = 0;
    while (length < capacity && units[length] != 0)
        ++length;
    text.assign(units, length);
    GlobalUnlock(medium.memory());
    return bytes > 0;
}

bool OleDragData::hasFiles()
{
    return Medium(data, CF_HDROP).memory() != nullptr;
}

int OleDragData::fileCount()
{
    const Medium medium(data, CF_HDROP);
    if (!medium.memory())
        return 0;
    return static_cast<int>(
        DragQueryFileW(static_cast<HDROP>(medium.memory()), 0xFFFFFFFF, nullptr, 0));
}

bool OleDragData::filePath(int index, std::u16string& path)
{
    const Medium medium(data, CF_HDROP);
    if (!medium.memory() || index < 0)
        return false;
    wchar_t buffer[kMaxPath] = {};
    const UINT length = DragQueryFileW(static_cast<HDROP>(medium.memory()),
                                       static_cast<UINT>(index), buffer, kMaxPath);
    if (length == 0)
        return false;
    path.assign(reinterpret_cast<const char16_t*>(buffer),
                length < kMaxPath ? length : kMaxPath - 1);
    return true;
}

namespace editor_platform
{

bool ResolveShortcut(const std::u16string& path, std::u16string& target)
{
    IShellLinkW* link = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                reinterpret_cast<void**>(&link))))
        return false;
    bool resolved = false;
    IPersistFile* file = nullptr;
    if (SUCCEEDED(link->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))))
    {
        const std::wstring widePath(path.begin(), path.end());
        wchar_t buffer[kMaxPath] = {};
        if (SUCCEEDED(file->Load(widePath.c_str(), STGM_READ)) &&
            SUCCEEDED(link->Resolve(nullptr, kResolveFlags)) &&
            SUCCEEDED(link->GetPath(buffer, kMaxPath, nullptr, SLGP_SHORTPATH)) && buffer[0])
        {
            target.assign(reinterpret_cast<const char16_t*>(buffer));
            resolved = true;
        }
        file->Release();
    }
    link->Release();
    return resolved;
}

} // namespace editor_platform
} // namespace vrn
