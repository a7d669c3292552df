#pragma once
// The plug-in's editor object: reports the 450 × 500 editor size to the host.

#include "host/aeff_editor.h"

namespace vrn
{

class CVeST;

/// Editor of a CVeST. Until the window back end is attached it only answers its size.
class CVeSTEditor : public AEffEditor
{
public:
    static constexpr int kWidth = 450;  ///< pixels
    static constexpr int kHeight = 500; ///< pixels

    explicit CVeSTEditor(CVeST* wrapper);

    bool getRect(ERect** rect) override;
    bool open(void* parentWindow) override;
    void close() override;

private:
    ERect rect{};
};

/// True when this build has an editor window back end (the plug-in then declares an editor).
bool EditorWindowAvailable();

} // namespace vrn
