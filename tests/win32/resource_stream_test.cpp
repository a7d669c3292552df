// The resource stream as COM callers see it: interfaces, reference counts, reads and seeks.
#include "editor/win32/resource_stream.h"

#include "drawing_support.h"

#include "editor/win32/gdiplus_api.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vrn::test
{
namespace
{

const char kBytes[] = "0123456789"; // ten bytes and the terminator

// A new stream over the ten bytes, seen through its IStream face.
IStream* MakeStream()
{
    return new ResourceStream(kBytes, 10);
}

TEST(ResourceStream, AnswersItsThreeInterfacesAndCountsReferences)
{
    IStream* stream = MakeStream();
    const IID* known[] = {&IID_IUnknown, &IID_IStream, &IID_ISequentialStream};
    for (const IID* iid : known)
    {
        void* answer = nullptr;
        EXPECT_EQ(stream->QueryInterface(*iid, &answer), S_OK);
        EXPECT_EQ(answer, static_cast<void*>(stream));
        EXPECT_EQ(stream->Release(), 1u);
    }
    void* other = &other;
    EXPECT_EQ(stream->QueryInterface(IID_IPersistFile, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(stream->AddRef(), 2u);
    EXPECT_EQ(stream->Release(), 1u);
    EXPECT_EQ(stream->Release(), 0u);
}

TEST(ResourceStream, ReadsWholeRequestsOrNothing)
{
    IStream* stream = MakeStream();
    char buffer[16];
    std::memset(buffer, '#', sizeof buffer);
    ULONG got = 99;
    EXPECT_EQ(stream->Read(buffer, 4, &got), S_OK);
    EXPECT_EQ(got, 4u);
    EXPECT_EQ(std::memcmp(buffer, "0123", 4), 0);

    // Seven more would pass the end: nothing is copied, the position stays.
    std::memset(buffer, '#', sizeof buffer);
    EXPECT_EQ(stream->Read(buffer, 7, &got), S_FALSE);
    EXPECT_EQ(got, 0u);
    EXPECT_EQ(buffer[0], '#');
    EXPECT_EQ(stream->Read(buffer, 6, &got), S_OK);
    EXPECT_EQ(std::memcmp(buffer, "456789", 6), 0);
    EXPECT_EQ(stream->Read(buffer, 0, nullptr), S_OK);

    EXPECT_EQ(stream->Revert(), S_OK);
    EXPECT_EQ(stream->Read(buffer, 1, &got), S_OK);
    EXPECT_EQ(buffer[0], '0');
    stream->Release();
}

LARGE_INTEGER Offset(LONGLONG value)
{
    LARGE_INTEGER offset;
    offset.QuadPart = value;
    return offset;
}

TEST(ResourceStream, SeeksOnlyToPositionsBeforeTheEnd)
{
    IStream* stream = MakeStream();
    ULARGE_INTEGER position;
    position.QuadPart = 12345;
    EXPECT_EQ(stream->Seek(Offset(9), STREAM_SEEK_SET, &position), S_OK);
    EXPECT_EQ(position.QuadPart, 9u);
    EXPECT_EQ(stream->Seek(Offset(-4), STREAM_SEEK_CUR, &position), S_OK);
    EXPECT_EQ(position.QuadPart, 5u);

    position.QuadPart = 12345;
    EXPECT_EQ(stream->Seek(Offset(10), STREAM_SEEK_SET, &position), S_FALSE); // exactly the size
    EXPECT_EQ(stream->Seek(Offset(5), STREAM_SEEK_CUR, &position), S_FALSE);
    EXPECT_EQ(stream->Seek(Offset(-6), STREAM_SEEK_CUR, &position), S_FALSE);
    EXPECT_EQ(stream->Seek(Offset(-1), STREAM_SEEK_END, &position), S_FALSE);
    EXPECT_EQ(stream->Seek(Offset(0), 3, &position), STG_E_INVALIDFUNCTION);
    EXPECT_EQ(position.QuadPart, 12345u); // refused seeks report nothing

    char byte = 0;
    EXPECT_EQ(stream->Read(&byte, 1, nullptr), S_OK);
    EXPECT_EQ(byte, '5');
    stream->Release();
}

TEST(ResourceStream, StatsItsSizeAndRefusesChanges)
{
    IStream* stream = MakeStream();
    STATSTG stat;
    std::memset(&stat, 0xAB, sizeof stat);
    EXPECT_EQ(stream->Stat(&stat, STATFLAG_NONAME), S_OK);
    EXPECT_EQ(stat.cbSize.QuadPart, 10u);
    EXPECT_EQ(stat.pwcsName, nullptr);
    EXPECT_EQ(stat.type, 0u);

    ULARGE_INTEGER any;
    any.QuadPart = 1;
    IStream* copy = nullptr;
    EXPECT_EQ(stream->Write("x", 1, nullptr), E_NOTIMPL);
    EXPECT_EQ(stream->SetSize(any), E_NOTIMPL);
    EXPECT_EQ(stream->CopyTo(stream, any, nullptr, nullptr), E_NOTIMPL);
    EXPECT_EQ(stream->Commit(0), E_NOTIMPL);
    EXPECT_EQ(stream->LockRegion(any, any, 0), E_NOTIMPL);
    EXPECT_EQ(stream->UnlockRegion(any, any, 0), E_NOTIMPL);
    EXPECT_EQ(stream->Clone(&copy), E_NOTIMPL);
    stream->Release();
}

using ResourceStreamDecoding = DrawingTest;

TEST_F(ResourceStreamDecoding, DecoderLetsGoOfTheStreamWithItsImage)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(1), "DATA");
    ASSERT_NE(found, nullptr);
    IStream* stream = new ResourceStream(LockResource(LoadResource(nullptr, found)),
                                         SizeofResource(nullptr, found));
    gdip::GpBitmap* bitmap = nullptr;
    ASSERT_EQ(gdip::GdipCreateBitmapFromStreamICM(stream, &bitmap), gdip::Ok);
    UINT width = 0;
    gdip::GdipGetImageWidth(bitmap, &width);
    EXPECT_EQ(width, 6u);
    gdip::GdipDisposeImage(bitmap);
    EXPECT_EQ(stream->Release(), 0u);
}

} // namespace
} // namespace vrn::test
