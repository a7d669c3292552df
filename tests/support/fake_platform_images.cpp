// The fake back end's drawing side: surfaces draw nothing, images are sized but hold no pixels
// (files: read from the PNG header; resources: the ones a test declared), so the portable logic
// above them runs and is tested natively. The window side (with the drawing library's
// start-up) is in fake_window_system.cpp.
#include "editor/bitmap.h"
#include "editor/draw_surface.h"
#include "editor/platform.h"
#include "tests/support/test_images.h"

#include <cstdio>
#include <map>

namespace vrn
{

struct PlatformBitmap
{
    int width = 0;
    int height = 0;
};

struct PlatformFont
{
};

namespace editor_platform
{

namespace
{
std::map<int, PlatformBitmap>& TestResources()
{
    static std::map<int, PlatformBitmap> images;
    return images;
}
int resourceLoads = 0;
int fileLoads = 0;

// Width and height from a PNG file's header chunk; false for anything else.
bool ReadPngSize(const std::string& path, int& width, int& height)
{
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file)
        return false;
    unsigned char header[24] = {};
    const bool complete = std::fread(header, 1, sizeof header, file) == sizeof header;
    std::fclose(file);
    static const unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (!complete)
        return false;
    for (int i = 0; i < 8; ++i)
        if (header[i] != kSignature[i])
            return false;
    if (header[12] != 'I' || header[13] != 'H' || header[14] != 'D' || header[15] != 'R')
        return false;
    auto big = [&](int at)
    {
        return static_cast<int>(static_cast<unsigned>(header[at]) << 24 |
                                static_cast<unsigned>(header[at + 1]) << 16 |
                                static_cast<unsigned>(header[at + 2]) << 8 | header[at + 3]);
    };
    width = big(16);
    height = big(20);
    return width > 0 && height > 0;
}
} // namespace

void AddTestResourceImage(int id, int width, int height)
{
    TestResources()[id] = PlatformBitmap{width, height};
}

void ClearTestResourceImages()
{
    TestResources().clear();
    resourceLoads = 0;
    fileLoads = 0;
}

int ResourceLoadCount()
{
    return resourceLoads;
}

int FileLoadCount()
{
    return fileLoads;
}

std::unique_ptr<DrawSurface> CreateBitmapSurface(PlatformBitmap*)
{
    return nullptr;
}

PlatformBitmap* LoadResourceBitmap(const CResourceDescription& resource)
{
    ++resourceLoads;
    if (resource.kind != CResourceDescription::kIntegerType)
        return nullptr;
    const auto found = TestResources().find(resource.id);
    return found == TestResources().end() ? nullptr : new PlatformBitmap(found->second);
}

PlatformBitmap* LoadFileBitmap(const std::string& path)
{
    ++fileLoads;
    PlatformBitmap image;
    return ReadPngSize(path, image.width, image.height) ? new PlatformBitmap(image) : nullptr;
}

PlatformBitmap* CreateEmptyBitmap(int width, int height)
{
    return width > 0 && height > 0 ? new PlatformBitmap{width, height} : nullptr;
}

PlatformBitmap* CopyBitmap(PlatformBitmap& source)
{
    return new PlatformBitmap(source);
}

void BitmapSize(PlatformBitmap& bitmap, double& width, double& height)
{
    width = bitmap.width;
    height = bitmap.height;
}

void DestroyBitmap(PlatformBitmap* bitmap)
{
    delete bitmap;
}

void DestroyFont(PlatformFont* font)
{
    delete font;
}

} // namespace editor_platform
} // namespace vrn
