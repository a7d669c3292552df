#pragma once
// Replays drawing calls on a pixel buffer from what the same calls did before.

#include "editor/pixel_box.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <vector>

namespace vrn
{

/// What decides a drawing call's result: the call, its arguments and the state it draws with,
/// as plain bytes (construct zeroed, so that unused bytes compare equal).
struct DrawCallKey
{
    std::uint32_t call = 0;   ///< which drawing call
    std::uint32_t colour = 0; ///< the colour it draws with (ARGB)
    std::uint32_t flags = 0;  ///< anti-aliasing and the like
    std::int32_t numbers[8] = {};
    std::uint32_t reals[6] = {}; ///< real arguments by their bits (setReal): -0 is not 0
    std::uint32_t unused = 0;    ///< keeps the key free of padding, so its bytes are its value
    std::uint64_t object = 0;    ///< identity of the font or picture drawn, 0 for none
    std::uint32_t textLength = 0;
    char text[60] = {}; ///< the text drawn (calls with longer texts are not remembered)

    static constexpr std::size_t kMaxText = sizeof text;

    void setReal(int index, float value) { std::memcpy(&reals[index], &value, sizeof value); }
};
static_assert(std::has_unique_object_representations_v<DrawCallKey>,
              "keys are hashed and compared by their bytes");

/// A deterministic drawing call (a drawing library's) applied to the same pixels with the
/// same arguments and state gives the same pixels again. The memo keeps, for each call it saw,
/// the pixels of a box around the call before and after it; when a call comes again and the
/// pixels under its box are those it found before, the memo copies the result instead of
/// drawing. The box must hold every pixel the call may change: the memo checks a one-pixel ring
/// around it at every drawing it remembers, and never replays a call whose drawing reached the
/// ring. Storage is made once; when it fills up, the memo forgets everything and starts over.
/// UI thread only.
class DrawMemo
{
public:
    /// Remembers calls on `height` rows of `width` pixels of `bytesPerPixel` bytes, `stride`
    /// bytes apart, starting at `pixels`.
    DrawMemo(std::uint8_t* pixels, int width, int height, int bytesPerPixel, int stride);
    DrawMemo(const DrawMemo&) = delete;
    DrawMemo& operator=(const DrawMemo&) = delete;

    /// Copies the remembered result of `key` into `box` (already clipped to what the call may
    /// change) when the pixels there are the ones it was drawn over; true when it did.
    bool replay(const DrawCallKey& key, const PixelBox& box);
    /// Before the call is drawn: keeps the pixels of `box` (and its ring).
    void beginDrawing(const DrawCallKey& key, const PixelBox& box);
    /// After the call was drawn: keeps the result, unless the drawing reached the ring.
    void endDrawing();

    /// Calls replayed and calls drawn since the memo was made (tests, benchmarks).
    long replays() const { return replayCount; }
    long drawings() const { return drawCount; }

private:
    struct Entry
    {
        DrawCallKey key;
        PixelBox box;
        std::size_t before = 0; ///< offsets of the box's pixels in `storage`
        std::size_t after = 0;
        bool replayable = false;
        int next = -1; ///< the next entry with the same key hash
    };

    std::size_t boxBytes(const PixelBox& box) const;
    bool matches(const PixelBox& box, std::size_t offset) const;
    void save(const PixelBox& box, std::size_t offset);
    void restore(const PixelBox& box, std::size_t offset);
    /// The ring of one pixel around `box`, inside the buffer, as four boxes.
    void ring(const PixelBox& box, PixelBox (&sides)[4]) const;
    bool reserve(std::size_t bytes, std::size_t& offset);
    void forgetAll();
    static std::size_t hashOf(const DrawCallKey& key);

    std::uint8_t* pixels;
    PixelBox bounds;
    int bytesPerPixel;
    int stride;

    std::vector<std::uint8_t> storage; ///< boxes' pixels, filled from the start
    std::size_t used = 0;
    std::vector<Entry> entries; ///< capacity fixed at construction
    std::vector<int> buckets;   ///< first entry of each key hash, −1 for none

    // The drawing in progress (between beginDrawing and endDrawing).
    int pending = -1;
    std::size_t pendingRing = 0; ///< where the ring's pixels before the drawing are kept

    long replayCount = 0;
    long drawCount = 0;
};

} // namespace vrn
