#pragma once
// A stand-in for the host wrapper in drawing tests: host services with an editor size, a font
// cache, and, during Paint, a draw context over a RecordingSurface as the editor view sets it.

#include "editor/draw_context.h"
#include "graphics/font_cache.h"
#include "graphics/graphics_host.h"
#include "runtime/host_services.h"
#include "tests/support/recording_surface.h"

#include <memory>
#include <string>
#include <vector>

namespace vrn::testing
{

class FakeGraphicsHost : public IHostServices, public IGraphicsHost
{
public:
    std::vector<std::string> log; ///< drawing calls of the last paint
    bool hasEditor = true;        ///< EditorSize answers 450 × 500 when true
    double sampleRate = 48000.0;

    /// Runs `draw` with a fresh draw context set, as the editor view does for one paint; the
    /// log then holds what was drawn (the context's own start-up calls left out).
    template <class Draw>
    void Paint(Draw&& draw)
    {
        context = new CDrawContext(nullptr, {}, std::make_unique<RecordingSurface>(log));
        log.clear();
        draw();
        context->release();
        context = nullptr;
    }

    /// Lines of the last paint that start with `prefix`.
    std::vector<std::string> Calls(const std::string& prefix) const
    {
        std::vector<std::string> found;
        for (const std::string& line : log)
            if (line.compare(0, prefix.size(), prefix) == 0)
                found.push_back(line);
        return found;
    }

    // --- IGraphicsHost
    CDrawContext* PaintContext() override { return context; }
    FontCache& Fonts() override { return fonts; }

    // --- IHostServices
    std::int32_t ChannelCount() const override { return 2; }
    double SampleRate() const override { return sampleRate; }
    double BlockSize() const override { return 512.0; }
    double Tempo() override { return 120.0; }
    bool TimeForBlock(BlockTime&) override { return false; }
    void ReportLatency(std::int32_t) override {}
    bool EditorSize(std::int32_t& width, std::int32_t& height) const override
    {
        if (!hasEditor)
            return false;
        width = 450;
        height = 500;
        return true;
    }
    bool RequestRedraw() override { return false; }
    bool NextMidiEvent(MidiMessage& out) override
    {
        out = MidiMessage{};
        return false;
    }
    IGraphicsHost* Graphics() override { return this; }

    FontCache fonts;

private:
    CDrawContext* context = nullptr;
};

} // namespace vrn::testing
