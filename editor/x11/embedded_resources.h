#pragma once
// Resources built into the library (the editor's pictures), found by number as the Windows
// plug-in finds its "DATA" resources. A source generated at build time holds the bytes and adds
// its table when the library loads; a library without that source has none.

#include <cstddef>

namespace vrn::editor_platform
{

/// One embedded file.
struct EmbeddedResource
{
    int id;                    ///< the resource number (0 the handle, 1 the background)
    const unsigned char* data; ///< the file's bytes
    std::size_t size;          ///< bytes
};

/// Adds `count` resources to the library's resources for as long as it exists. Made as a static
/// object of the generated source, so the resources are there before any code runs.
class EmbeddedResourceTable
{
public:
    EmbeddedResourceTable(const EmbeddedResource* resources, std::size_t count);
    ~EmbeddedResourceTable();
    EmbeddedResourceTable(const EmbeddedResourceTable&) = delete;
    EmbeddedResourceTable& operator=(const EmbeddedResourceTable&) = delete;

    /// The resource numbered `id` in any table, or null.
    static const EmbeddedResource* Find(int id);

private:
    const EmbeddedResource* first;
    std::size_t count;
    EmbeddedResourceTable* next;
};

} // namespace vrn::editor_platform
