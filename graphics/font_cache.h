#pragma once
// The host wrapper's font descriptions, one per distinct face name, kept until it goes.

#include <cstdint>
#include <string>
#include <vector>

namespace vrn
{

class CFontDesc;

/// Entries are only added; each holds one reference, dropped when the cache goes (UI thread).
class FontCache
{
public:
    FontCache() = default;
    FontCache(const FontCache&) = delete;
    FontCache& operator=(const FontCache&) = delete;
    ~FontCache();

    /// The description whose face equals `face` ignoring letter case (the newest such entry),
    /// created with size 0 and no style when there is none.
    CFontDesc* Find(const std::string& face);
    /// Number of entries.
    std::size_t Count() const { return fonts.size(); }

    /// A description with `face`'s name at `size` pixels (face's size when ≤ 0) and `style`
    /// (face's when −1), made once and kept: a context given it keeps its platform font from
    /// one frame to the next instead of deriving a new description at every selection.
    CFontDesc* Variant(CFontDesc* face, double size, std::int32_t style);

private:
    std::vector<CFontDesc*> fonts;
    std::vector<CFontDesc*> variants;
};

} // namespace vrn
