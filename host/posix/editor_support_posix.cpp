// Linux builds have no editor window back end yet.
#include "host/vest_editor.h"

namespace vrn
{
bool EditorWindowAvailable()
{
    return false;
}
} // namespace vrn
