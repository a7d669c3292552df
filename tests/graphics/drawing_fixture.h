#pragma once
// An effect object with its drawing runtime, linked to a fake host wrapper.

#include "graphics/effect_graphics.h"
#include "runtime/xalto.h"
#include "tests/support/fake_graphics_host.h"

#include <string>

namespace vrn::testing
{

/// The log lines the drawing runtime wrote, instead of the real log file.
inline std::string& CapturedLog()
{
    static std::string text;
    return text;
}

inline void CaptureLogLine(const std::string& message)
{
    CapturedLog() += message + "\n";
}

struct DrawingFixture
{
    FakeGraphicsHost host;
    TXalto effect;
    EffectGraphics gfx{effect};

    DrawingFixture()
    {
        effect.vest = &host;
        gfx.writeLogLine = &CaptureLogLine;
    }
};

} // namespace vrn::testing
