// Drag and drop onto a frame window through the system's own drag loop (DoDragDrop under Xvfb),
// with a data object and a drop source of the test's own.
#include "window_support.h"

#include "editor/frame.h"
#include "editor/win32/wide_text.h"

#include <ole2.h>
#include <shlobj.h>

#include <cstring>
#include <string>
#include <vector>

namespace vrn::test
{
namespace
{

#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wnon-virtual-dtor"

// Delivers either one Unicode text or a file drop list, as global memory.
class TestDataObject final : public IDataObject
{
public:
    static TestDataObject* withText(const std::wstring& text)
    {
        auto* data = new TestDataObject;
        data->text = text;
        data->hasText = true;
        return data;
    }
    static TestDataObject* withFiles(const std::vector<std::wstring>& files)
    {
        auto* data = new TestDataObject;
        data->files = files;
        return data;
    }

    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDataObject))
        {
            AddRef();
            *object = static_cast<IDataObject*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++references; }
    ULONG STDMETHODCALLTYPE Release() override
    {
        const ULONG left = --references;
        if (left == 0)
            delete this;
        return left;
    }

    HRESULT STDMETHODCALLTYPE GetData(FORMATETC* format, STGMEDIUM* medium) override
    {
        if (QueryGetData(format) != S_OK)
            return DV_E_FORMATETC;
        ++fetches;
        medium->tymed = TYMED_HGLOBAL;
        medium->pUnkForRelease = nullptr;
        medium->hGlobal = format->cfFormat == CF_UNICODETEXT ? TextMemory() : DropListMemory();
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetDataHere(FORMATETC*, STGMEDIUM*) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE QueryGetData(FORMATETC* format) override
    {
        if (!format || !(format->tymed & TYMED_HGLOBAL))
            return DV_E_FORMATETC;
        if (format->cfFormat == CF_UNICODETEXT && hasText)
            return S_OK;
        if (format->cfFormat == CF_HDROP && !hasText)
            return S_OK;
        return DV_E_FORMATETC;
    }
    HRESULT STDMETHODCALLTYPE GetCanonicalFormatEtc(FORMATETC*, FORMATETC* out) override
    {
        if (out)
            out->ptd = nullptr;
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE SetData(FORMATETC*, STGMEDIUM*, BOOL) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE EnumFormatEtc(DWORD, IEnumFORMATETC**) override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE DAdvise(FORMATETC*, DWORD, IAdviseSink*, DWORD*) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }
    HRESULT STDMETHODCALLTYPE DUnadvise(DWORD) override { return OLE_E_ADVISENOTSUPPORTED; }
    HRESULT STDMETHODCALLTYPE EnumDAdvise(IEnumSTATDATA**) override
    {
        return OLE_E_ADVISENOTSUPPORTED;
    }

    int fetches = 0;

private:
    TestDataObject() = default;
    virtual ~TestDataObject() = default;

    HGLOBAL TextMemory() const
    {
        const SIZE_T bytes = (text.size() + 1) * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
        std::memcpy(GlobalLock(memory), text.c_str(), bytes);
        GlobalUnlock(memory);
        return memory;
    }
    HGLOBAL DropListMemory() const
    {
        // The header, then each path with its terminator, then one more terminator.
        std::wstring list;
        for (const std::wstring& file : files)
            list += file + L'\0';
        list += L'\0';
        const SIZE_T bytes = sizeof(DROPFILES) + list.size() * sizeof(wchar_t);
        HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, bytes);
        auto* header = static_cast<DROPFILES*>(GlobalLock(memory));
        header->pFiles = sizeof(DROPFILES);
        header->fWide = TRUE;
        std::memcpy(header + 1, list.data(), list.size() * sizeof(wchar_t));
        GlobalUnlock(memory);
        return memory;
    }

    ULONG references = 1;
    bool hasText = false;
    std::wstring text;
    std::vector<std::wstring> files;
};

// Lets the drag run a few steps over the window under the pointer, then drops; keeps the
// effects the target answered.
class TestDropSource final : public IDropSource
{
public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** object) override
    {
        if (IsEqualIID(iid, IID_IUnknown) || IsEqualIID(iid, IID_IDropSource))
        {
            *object = static_cast<IDropSource*>(this);
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return 2; } // lives on the test's stack
    ULONG STDMETHODCALLTYPE Release() override { return 1; }
    HRESULT STDMETHODCALLTYPE QueryContinueDrag(BOOL, DWORD) override
    {
        return ++steps < 4 ? S_OK : DRAGDROP_S_DROP;
    }
    HRESULT STDMETHODCALLTYPE GiveFeedback(DWORD effect) override
    {
        effects.push_back(effect);
        return DRAGDROP_S_USEDEFAULTCURSORS;
    }

    int steps = 0;
    std::vector<DWORD> effects;
};

#pragma GCC diagnostic pop

// A frame with a probe view (20, 30, 220, 230) in a host window at (100, 100); the pointer
// rests over the probe while the system's drag loop runs.
class Drop : public ::testing::Test
{
protected:
    void SetUp() override
    {
        frame = new CFrame({0, 0, 450, 500}, host.handle(), nullptr);
        ASSERT_NE(frame->getWindow(), nullptr);
        probe = new ProbeView({20, 30, 220, 230});
        frame->addChild(probe);
        SetCursorPos(200, 200);
        PumpMessages();
        probe->take();
    }
    void TearDown() override
    {
        frame->release();
        PumpMessages();
    }

    // Runs the system's drag loop with `data` allowing `allowed`; answers its result.
    HRESULT Drag(TestDataObject* data, DWORD allowed)
    {
        DWORD effect = 0;
        const HRESULT result = DoDragDrop(data, &source, allowed, &effect);
        data->Release();
        return result;
    }

    HostWindow host;
    CFrame* frame = nullptr;
    ProbeView* probe = nullptr;
    TestDropSource source;
};

TEST_F(Drop, TextReachesTheViewAsOneUtf8Item)
{
    const HRESULT result = Drag(TestDataObject::withText(L"Gr\u00fc\u00dfe \U0001F600"),
                                DROPEFFECT_COPY | DROPEFFECT_MOVE);
    EXPECT_EQ(result, DRAGDROP_S_DROP);
    EXPECT_EQ(probe->lines("drag entered").size(), 1u);
    EXPECT_FALSE(probe->lines("drag moved").empty());
    EXPECT_EQ(probe->lines("drop"), std::vector<std::string>{"drop 1 items: text:Gr\xC3\xBC\xC3\x9F"
                                                             "e \xF0\x9F\x98\x80"});
    EXPECT_EQ(probe->take().back(), "drag left");
    // Copy and move allowed: the target asks for a copy.
    ASSERT_FALSE(source.effects.empty());
    for (DWORD effect : source.effects)
        EXPECT_EQ(effect, static_cast<DWORD>(DROPEFFECT_COPY));
}

// Makes `name` in the temporary folder (a file, or a shortcut to `target`); answers its path.
std::wstring TempPath(const std::wstring& name)
{
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    return std::wstring(folder) + name;
}

std::wstring MakeShortcut(const std::wstring& target)
{
    const std::wstring link = TempPath(L"vrn drop shortcut.lnk");
    IShellLinkW* shell = nullptr;
    EXPECT_EQ(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                               reinterpret_cast<void**>(&shell)),
              S_OK);
    shell->SetPath(target.c_str());
    IPersistFile* file = nullptr;
    shell->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file));
    EXPECT_EQ(file->Save(link.c_str(), TRUE), S_OK);
    file->Release();
    shell->Release();
    return link;
}

TEST_F(Drop, FilesReachTheViewInOrderWithShortcutsResolved)
{
    const std::wstring target = TempPath(L"vrn drop target file.txt");
    HANDLE made = CreateFileW(target.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    CloseHandle(made);
    const std::wstring link = MakeShortcut(target);
    wchar_t shortTarget[MAX_PATH] = {};
    GetShortPathNameW(target.c_str(), shortTarget, MAX_PATH);

    const std::vector<std::wstring> files = {L"C:\\music\\kick \u00e4.wav", link,
                                             L"C:\\missing\\gone.lnk",
                                             L"C:\\folder.lnk\\notes.txt"};
    EXPECT_EQ(Drag(TestDataObject::withFiles(files), DROPEFFECT_COPY | DROPEFFECT_MOVE),
              DRAGDROP_S_DROP);
    auto line = [](const std::wstring& resolved)
    {
        return "drop 4 items: file:C:\\music\\kick \xC3\xA4.wav file:" + Narrow(resolved) +
               " file:C:\\missing\\gone.lnk file:C:\\folder.lnk\\notes.txt";
    };
    // The shortcut becomes its target's short path (Wine's shell link answers the long one).
    const std::vector<std::string> drops = probe->lines("drop");
    ASSERT_EQ(drops.size(), 1u);
    EXPECT_TRUE(drops[0] == line(shortTarget) || drops[0] == line(target)) << drops[0];
    DeleteFileW(link.c_str());
    DeleteFileW(target.c_str());
}

TEST_F(Drop, LinkOnlyDragsAskForALink)
{
    Drag(TestDataObject::withText(L"x"), DROPEFFECT_LINK);
    ASSERT_FALSE(source.effects.empty());
    EXPECT_EQ(source.effects.front(), static_cast<DWORD>(DROPEFFECT_LINK));
    EXPECT_EQ(probe->lines("drop").size(), 1u);
}

TEST_F(Drop, NothingReachesTheViewOnceDropsAreOff)
{
    ASSERT_TRUE(frame->setDropActive(false));
    EXPECT_EQ(Drag(TestDataObject::withText(L"x"), DROPEFFECT_COPY), DRAGDROP_S_DROP);
    EXPECT_TRUE(probe->take().empty());
    ASSERT_TRUE(frame->setDropActive(true));
}

} // namespace
} // namespace vrn::test
