// Windows builds carry the editor window back end.
#include "host/vest_editor.h"

namespace vrn
{
bool EditorWindowAvailable()
{
    return true;
}
} // namespace vrn
