// The drawing memo: pixels before and after each remembered call, in one block made once.
#include "editor/draw_memo.h"

#include <algorithm>
#include <cstring>

namespace vrn
{

namespace
{
// Room for the pixels of about five whole surfaces: enough for the editor's calls many times
// over at any size (a value text's box before and after is about 20 KB at 450 x 500, four times
// that at twice the size); when it fills up, everything is forgotten and remembered afresh.
constexpr std::size_t kStorageSurfaces = 5;
constexpr std::size_t kMaxEntries = 1024;
constexpr std::size_t kBuckets = 2048;
} // namespace

DrawMemo::DrawMemo(std::uint8_t* pixelRows, int width, int height, int pixelBytes, int rowStride)
    : pixels(pixelRows), bounds{0, 0, width, height}, bytesPerPixel(pixelBytes), stride(rowStride),
      storage(kStorageSurfaces * static_cast<std::size_t>(std::max(width, 0)) *
              static_cast<std::size_t>(std::max(height, 0)) *
              static_cast<std::size_t>(std::max(pixelBytes, 0))),
      buckets(kBuckets, -1)
{
    entries.reserve(kMaxEntries);
}

std::size_t DrawMemo::hashOf(const DrawCallKey& key)
{
    // FNV-1a over the key's bytes.
    const auto* bytes = reinterpret_cast<const unsigned char*>(&key);
    std::size_t hash = 14695981039346656037ull & ~std::size_t{0};
    for (std::size_t i = 0; i < sizeof key; ++i)
        hash = (hash ^ bytes[i]) * (1099511628211ull & ~std::size_t{0});
    return hash;
}

std::size_t DrawMemo::boxBytes(const PixelBox& box) const
{
    return box.empty()
               ? 0
               : static_cast<std::size_t>(box.width()) * static_cast<std::size_t>(box.height()) *
                     static_cast<std::size_t>(bytesPerPixel);
}

bool DrawMemo::matches(const PixelBox& box, std::size_t offset) const
{
    const auto rowBytes =
        static_cast<std::size_t>(box.width()) * static_cast<std::size_t>(bytesPerPixel);
    const std::uint8_t* kept = storage.data() + offset;
    for (int y = box.top; y < box.bottom; ++y, kept += rowBytes)
        if (std::memcmp(pixels + static_cast<std::ptrdiff_t>(y) * stride +
                            static_cast<std::ptrdiff_t>(box.left) * bytesPerPixel,
                        kept, rowBytes) != 0)
            return false;
    return true;
}

void DrawMemo::save(const PixelBox& box, std::size_t offset)
{
    const auto rowBytes =
        static_cast<std::size_t>(box.width()) * static_cast<std::size_t>(bytesPerPixel);
    std::uint8_t* kept = storage.data() + offset;
    for (int y = box.top; y < box.bottom; ++y, kept += rowBytes)
        std::memcpy(kept,
                    pixels + static_cast<std::ptrdiff_t>(y) * stride +
                        static_cast<std::ptrdiff_t>(box.left) * bytesPerPixel,
                    rowBytes);
}

void DrawMemo::restore(const PixelBox& box, std::size_t offset)
{
    const auto rowBytes =
        static_cast<std::size_t>(box.width()) * static_cast<std::size_t>(bytesPerPixel);
    const std::uint8_t* kept = storage.data() + offset;
    for (int y = box.top; y < box.bottom; ++y, kept += rowBytes)
        std::memcpy(pixels + static_cast<std::ptrdiff_t>(y) * stride +
                        static_cast<std::ptrdiff_t>(box.left) * bytesPerPixel,
                    kept, rowBytes);
}

void DrawMemo::ring(const PixelBox& box, PixelBox (&sides)[4]) const
{
    const PixelBox outer = box.grown(1).within(bounds);
    sides[0] = PixelBox{outer.left, outer.top, outer.right, box.top}.within(bounds);       // above
    sides[1] = PixelBox{outer.left, box.bottom, outer.right, outer.bottom}.within(bounds); // below
    sides[2] = PixelBox{outer.left, box.top, box.left, box.bottom}.within(bounds);         // left
    sides[3] = PixelBox{box.right, box.top, outer.right, box.bottom}.within(bounds);       // right
}

bool DrawMemo::reserve(std::size_t bytes, std::size_t& offset)
{
    if (bytes > storage.size() - used)
        return false;
    offset = used;
    used += bytes;
    return true;
}

void DrawMemo::forgetAll()
{
    entries.clear();
    std::fill(buckets.begin(), buckets.end(), -1);
    used = 0;
}

bool DrawMemo::replay(const DrawCallKey& key, const PixelBox& box)
{
    if (box.empty())
    {
        ++replayCount; // the call can change nothing here
        return true;
    }
    for (int i = buckets[hashOf(key) % kBuckets]; i >= 0;
         i = entries[static_cast<std::size_t>(i)].next)
    {
        const Entry& entry = entries[static_cast<std::size_t>(i)];
        if (!entry.replayable || std::memcmp(&entry.key, &key, sizeof key) != 0 ||
            entry.box.left != box.left || entry.box.top != box.top ||
            entry.box.right != box.right || entry.box.bottom != box.bottom ||
            !matches(box, entry.before))
            continue;
        restore(box, entry.after);
        ++replayCount;
        return true;
    }
    return false;
}

void DrawMemo::beginDrawing(const DrawCallKey& key, const PixelBox& box)
{
    pending = -1;
    const std::size_t bucket = hashOf(key) % kBuckets;
    // A call whose drawing once reached beyond its box is drawn every time.
    for (int i = buckets[bucket]; i >= 0; i = entries[static_cast<std::size_t>(i)].next)
    {
        const Entry& entry = entries[static_cast<std::size_t>(i)];
        if (!entry.replayable && std::memcmp(&entry.key, &key, sizeof key) == 0)
            return;
    }
    PixelBox sides[4];
    ring(box, sides);
    std::size_t ringBytes = 0;
    for (const PixelBox& side : sides)
        ringBytes += boxBytes(side);
    const std::size_t bytes = 2 * boxBytes(box) + ringBytes;
    std::size_t offset = 0;
    if (entries.size() == kMaxEntries || !reserve(bytes, offset))
    {
        forgetAll();
        if (!reserve(bytes, offset))
            return; // larger than all the storage: drawn every time, never remembered
    }
    Entry entry;
    entry.key = key;
    entry.box = box;
    entry.before = offset;
    entry.after = offset + boxBytes(box);
    entry.next = buckets[bucket];
    pendingRing = entry.after + boxBytes(box);
    save(box, entry.before);
    std::size_t at = pendingRing;
    for (const PixelBox& side : sides)
    {
        save(side, at);
        at += boxBytes(side);
    }
    pending = static_cast<int>(entries.size());
    buckets[bucket] = pending;
    entries.push_back(entry);
}

void DrawMemo::endDrawing()
{
    ++drawCount;
    if (pending < 0)
        return;
    Entry& entry = entries[static_cast<std::size_t>(pending)];
    pending = -1;
    save(entry.box, entry.after);
    PixelBox sides[4];
    ring(entry.box, sides);
    std::size_t at = pendingRing;
    bool ringUntouched = true;
    for (const PixelBox& side : sides)
    {
        ringUntouched = ringUntouched && matches(side, at);
        at += boxBytes(side);
    }
    entry.replayable = ringUntouched;
}

} // namespace vrn
