#pragma once
// The host wrapper: maps the VST 2.4 interface onto an effect through the callback table.

#include "graphics/font_cache.h"
#include "graphics/graphics_host.h"
#include "graphics/vest_view.h"
#include "host/audio_effect_x.h"
#include "host/vest_callbacks.h"
#include "runtime/host_services.h"

#include <vector>

namespace vrn
{

/// One plug-in instance as the host sees it. Knows the effect only as an opaque pointer and
/// reaches it through the VeSTCallbacks table; serves the effect's host requests.
class CVeST : public AudioEffectX,
              public IHostServices,
              public IGraphicsHost,
              public IEffectViewHost
{
public:
    static constexpr int kMidiQueueSize = 1000; ///< events the queue holds before it wraps

    /// Builds a wrapper, or answers null when the host's version query answers 0.
    static CVeST* Create(void* effectObject, const VeSTCallbacks& table, audioMasterCallback master,
                         int32 programs, int32 params);
    /// Runs the destroy entry (deleting the effect); the base then deletes the editor.
    ~CVeST() override;

    void* effect; ///< the effect object, owned (deleted by the destroy entry)
    CDrawContext* paintContext = nullptr; ///< draw context of the paint in progress, else null
    int32 midiWriteIndex = 0;             ///< next queue slot to write, 0 … 999
    int32 midiReadIndex = 0;              ///< next queue slot to read, 0 … 999
    std::vector<VstMidiEvent> midiQueue;
    VeSTCallbacks callbacks;

    // --- AudioEffect / AudioEffectX operations forwarded to the table
    void open() override;
    void close() override;
    void suspend() override;
    void resume() override;
    void processReplacing(float** inputs, float** outputs, int32 frames) override;
    void processDoubleReplacing(double** inputs, double** outputs, int32 frames) override;
    void setParameter(int32 index, float value) override;
    float getParameter(int32 index) override;
    void setProgramName(const char* name) override;
    void getProgramName(char* name) override;
    void getParameterLabel(int32 index, char* label) override;
    void getParameterDisplay(int32 index, char* text) override;
    void getParameterName(int32 index, char* text) override;
    int32 getChunk(void** data, bool isPreset) override;
    int32 setChunk(void* data, int32 byteSize, bool isPreset) override;
    bool getProgramNameIndexed(int32 category, int32 index, char* text) override;
    int32 processEvents(VstEvents* events) override;
    bool getEffectName(char* name) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    int32 getVendorVersion() override;
    intptr canDo(const char* text) override;

    // --- IHostServices: what the effect asks of the host
    std::int32_t ChannelCount() const override;
    double SampleRate() const override;
    double BlockSize() const override;
    double Tempo() override;
    bool TimeForBlock(BlockTime& out) override;
    void ReportLatency(std::int32_t samples) override;
    bool EditorSize(std::int32_t& width, std::int32_t& height) const override;
    bool RequestRedraw() override;
    bool NextMidiEvent(MidiMessage& out) override;
    IGraphicsHost* Graphics() override { return this; }

    // --- IGraphicsHost: what the effect's drawing asks of the host (UI thread)
    CDrawContext* PaintContext() override { return paintContext; }
    FontCache& Fonts() override { return fonts; }

    // --- IEffectViewHost: the effect view's events, to table entries 7 to 12 (UI thread)
    void PaintEffect(CDrawContext* context, std::int32_t width, std::int32_t height) override;
    void EffectMouseDown(std::int32_t x, std::int32_t y, ButtonState buttons) override;
    void EffectMouseUp(std::int32_t x, std::int32_t y, ButtonState buttons) override;
    void EffectMouseMoved(std::int32_t x, std::int32_t y, ButtonState buttons) override;
    void EffectKeyDown(const KeyCode& key) override;
    void EffectKeyUp(const KeyCode& key) override;

private:
    FontCache fonts; ///< one description per face name the editor used

    CVeST(void* effectObject, const VeSTCallbacks& table, audioMasterCallback master,
          int32 programs, int32 params);
};

} // namespace vrn
