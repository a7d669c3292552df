// The plug-in's editor object.
#include "host/vest_editor.h"

#include "host/vest.h"

namespace vrn
{

CVeSTEditor::CVeSTEditor(CVeST* wrapper) : AEffEditor(wrapper)
{
    rect.top = 0;
    rect.left = 0;
    rect.bottom = kHeight;
    rect.right = kWidth;
}

bool CVeSTEditor::getRect(ERect** out)
{
    if (!out)
        return false;
    *out = &rect;
    return true;
}

bool CVeSTEditor::open(void* parentWindow)
{
    systemWindow = parentWindow;
    return true;
}

void CVeSTEditor::close()
{
    systemWindow = nullptr;
}

} // namespace vrn
