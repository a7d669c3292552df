// The fake plug-in's test editor on systems without a window back end: it never opens.
#include "tests/tools/fake_editor.h"

namespace vrn
{

FakeEditor* OpenFakeEditor(void* /*parent*/, float* /*gain*/)
{
    return nullptr;
}

void IdleFakeEditor(FakeEditor* /*editor*/) {}

void CloseFakeEditor(FakeEditor* /*editor*/) {}

std::string FakeEditorReport(const FakeEditor* /*editor*/)
{
    return "no editor";
}

} // namespace vrn
