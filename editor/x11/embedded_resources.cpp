// The library's embedded resources: a chain of tables, linked in while the library loads.
#include "editor/x11/embedded_resources.h"

namespace vrn::editor_platform
{

namespace
{
// Constant-initialised (no constructor runs), so tables can join before or after this file's
// own static objects.
EmbeddedResourceTable* tables = nullptr;
} // namespace

EmbeddedResourceTable::EmbeddedResourceTable(const EmbeddedResource* resources,
                                             std::size_t resourceCount)
    : first(resources), count(resourceCount), next(tables)
{
    tables = this;
}

EmbeddedResourceTable::~EmbeddedResourceTable()
{
    for (EmbeddedResourceTable** link = &tables; *link; link = &(*link)->next)
        if (*link == this)
        {
            *link = next;
            break;
        }
}

const EmbeddedResource* EmbeddedResourceTable::Find(int id)
{
    for (const EmbeddedResourceTable* table = tables; table; table = table->next)
        for (std::size_t i = 0; i < table->count; ++i)
            if (table->first[i].id == id)
                return &table->first[i];
    return nullptr;
}

} // namespace vrn::editor_platform
