// The host wrapper: construction, forwarding to the callback table, MIDI queue, host services.
#include "host/vest.h"

#include "host/vest_editor.h"

#include <cstring>
#include <new>

namespace vrn
{

CVeST* CVeST::Create(void* effectObject, const VeSTCallbacks& table, audioMasterCallback master,
                     int32 programs, int32 params)
{
    // A host that does not answer the version query gets no plug-in.
    if (!master || master(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0)
        return nullptr;
    return new (std::nothrow) CVeST(effectObject, table, master, programs, params);
}

CVeST::CVeST(void* effectObject, const VeSTCallbacks& table, audioMasterCallback master,
             int32 programs, int32 params)
    : AudioEffectX(master, programs, params), effect(effectObject), callbacks(table)
{
    midiQueue.resize(kMidiQueueSize);
    canProcessReplacing(true);
    canDoubleReplacing(true);
    if (callbacks.construct)
        callbacks.construct(this);
}

CVeST::~CVeST()
{
    if (callbacks.destroy)
        callbacks.destroy(this);
    effect = nullptr;
}

void CVeST::open()
{
    if (callbacks.open)
        callbacks.open(this);
}

void CVeST::close()
{
    if (callbacks.close)
        callbacks.close(this);
}

void CVeST::suspend()
{
    if (callbacks.suspend)
        callbacks.suspend(this);
}

void CVeST::resume()
{
    AudioEffectX::resume();
    if (callbacks.resume)
        callbacks.resume(this);
}

void CVeST::processReplacing(float** inputs, float** outputs, int32 frames)
{
    if (callbacks.processReplacing)
        callbacks.processReplacing(this, inputs, outputs, frames);
}

void CVeST::processDoubleReplacing(double** inputs, double** outputs, int32 frames)
{
    if (callbacks.processDoubleReplacing)
        callbacks.processDoubleReplacing(this, inputs, outputs, frames);
}

void CVeST::setParameter(int32 index, float value)
{
    if (callbacks.setParameter)
        callbacks.setParameter(this, index, static_cast<double>(value));
}

float CVeST::getParameter(int32 index)
{
    return callbacks.getParameter ? static_cast<float>(callbacks.getParameter(this, index)) : 0.0f;
}

void CVeST::setProgramName(const char* name)
{
    if (callbacks.setProgramName)
        callbacks.setProgramName(this, name);
}

void CVeST::getProgramName(char* name)
{
    *name = 0;
    if (callbacks.getProgramName)
        callbacks.getProgramName(this, name);
}

void CVeST::getParameterLabel(int32 index, char* label)
{
    *label = 0;
    if (callbacks.getParameterLabel)
        callbacks.getParameterLabel(this, index, label);
}

void CVeST::getParameterDisplay(int32 index, char* text)
{
    *text = 0;
    if (callbacks.getParameterDisplay)
        callbacks.getParameterDisplay(this, index, text);
}

void CVeST::getParameterName(int32 index, char* text)
{
    *text = 0;
    if (callbacks.getParameterName)
        callbacks.getParameterName(this, index, text);
}

int32 CVeST::getChunk(void** data, bool isPreset)
{
    return callbacks.getChunk ? callbacks.getChunk(this, data, isPreset) : 0;
}

int32 CVeST::setChunk(void* data, int32 byteSize, bool isPreset)
{
    return callbacks.setChunk ? callbacks.setChunk(this, data, byteSize, isPreset) : 0;
}

bool CVeST::getProgramNameIndexed(int32 category, int32 index, char* text)
{
    return callbacks.getProgramNameIndexed &&
           callbacks.getProgramNameIndexed(this, category, index, text);
}

bool CVeST::getEffectName(char* name)
{
    return callbacks.getEffectName && callbacks.getEffectName(this, name);
}

bool CVeST::getVendorString(char* text)
{
    return callbacks.getVendorString && callbacks.getVendorString(this, text);
}

bool CVeST::getProductString(char* text)
{
    return callbacks.getProductString && callbacks.getProductString(this, text);
}

int32 CVeST::getVendorVersion()
{
    return callbacks.getVendorVersion ? callbacks.getVendorVersion(this) : 0;
}

int32 CVeST::processEvents(VstEvents* events)
{
    if (!events || events->numEvents <= 0)
        return 1;
    // The list really holds numEvents pointers, although the record declares two.
    VstEvent* const* list = events->events;
    for (int32 i = 0; i < events->numEvents; ++i)
    {
        const VstEvent* event = list[i];
        if (!event || event->type != kVstMidiType)
            continue;
        // Copied as received; a writer that laps the reader overwrites unread events.
        std::memcpy(&midiQueue[static_cast<std::size_t>(midiWriteIndex)], event,
                    sizeof(VstMidiEvent));
        midiWriteIndex = (midiWriteIndex + 1) % kMidiQueueSize;
    }
    return 1;
}

intptr CVeST::canDo(const char* text)
{
    if (std::strcmp(text, "receiveVstMidiEvent") == 0)
        return cEffect.flags | effFlagsIsSynth;
    return -1;
}

// --- IHostServices

std::int32_t CVeST::ChannelCount() const
{
    return getAeffect()->numInputs;
}

double CVeST::SampleRate() const
{
    return static_cast<double>(getSampleRate());
}

double CVeST::BlockSize() const
{
    return static_cast<double>(getBlockSize());
}

double CVeST::Tempo()
{
    const VstTimeInfo* info = getTimeInfo(kVstTempoValid);
    return info ? info->tempo : 0.0;
}

bool CVeST::TimeForBlock(BlockTime& out)
{
    // One request for everything a block needs: the audio thread asks the host once per block.
    const VstTimeInfo* info = getTimeInfo(kVstTempoValid | kVstTimeSigValid | kVstTransportPlaying |
                                          kVstTransportRecording | kVstPpqPosValid);
    if (!info)
        return false;
    out.tempo = info->tempo;
    out.timeSigNumerator = static_cast<double>(info->timeSigNumerator);
    out.timeSigDenominator = static_cast<double>(info->timeSigDenominator);
    out.playing = (info->flags & kVstTransportPlaying) != 0 ? 1.0 : 0.0;
    out.recording = (info->flags & kVstTransportRecording) != 0 ? 1.0 : 0.0;
    out.beatPosition = info->ppqPos;
    return true;
}

void CVeST::ReportLatency(std::int32_t samples)
{
    // The audio thread writes the field while a host thread may read it: one atomic store.
    __atomic_store_n(&cEffect.initialDelay, samples, __ATOMIC_RELAXED);
}

bool CVeST::EditorSize(std::int32_t& width, std::int32_t& height) const
{
    // The editor's own size, which the effect draws in at every content scale.
    if (const auto* gui = dynamic_cast<const AEffGUIEditor*>(editor))
    {
        width = gui->getEditorWidth();
        height = gui->getEditorHeight();
        return true;
    }
    ERect* rect = nullptr;
    if (!editor || !editor->getRect(&rect) || !rect)
        return false;
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
    return true;
}

bool CVeST::RequestRedraw()
{
    auto* gui = dynamic_cast<CVeSTEditor*>(editor);
    return gui && gui->redrawEffectView();
}

bool CVeST::NextMidiEvent(MidiMessage& out)
{
    if (midiReadIndex == midiWriteIndex)
    {
        out = MidiMessage{};
        return false;
    }
    const VstMidiEvent& event = midiQueue[static_cast<std::size_t>(midiReadIndex)];
    out.deltaFrames = event.deltaFrames;
    out.status = static_cast<unsigned char>(event.midiData[0]);
    out.data1 = static_cast<unsigned char>(event.midiData[1]);
    out.data2 = static_cast<unsigned char>(event.midiData[2]);
    midiReadIndex = (midiReadIndex + 1) % kMidiQueueSize;
    return true;
}

// --- IEffectViewHost

void CVeST::PaintEffect(CDrawContext* context, std::int32_t width, std::int32_t height)
{
    if (!callbacks.editorPaint)
        return;
    paintContext = context;
    callbacks.editorPaint(this, width, height);
    paintContext = nullptr;
}

void CVeST::EffectMouseDown(std::int32_t x, std::int32_t y, ButtonState buttons)
{
    if (callbacks.mouseDown)
        callbacks.mouseDown(this, x, y, buttons);
}

void CVeST::EffectMouseUp(std::int32_t x, std::int32_t y, ButtonState buttons)
{
    if (callbacks.mouseUp)
        callbacks.mouseUp(this, x, y, buttons);
}

void CVeST::EffectMouseMoved(std::int32_t x, std::int32_t y, ButtonState buttons)
{
    if (callbacks.mouseMoved)
        callbacks.mouseMoved(this, x, y, buttons);
}

void CVeST::EffectKeyDown(const KeyCode& key)
{
    if (callbacks.keyDown)
        callbacks.keyDown(this, key.character, key.modifier, key.virt);
}

void CVeST::EffectKeyUp(const KeyCode& key)
{
    if (callbacks.keyUp)
        callbacks.keyUp(this, key.character, key.modifier, key.virt);
}

} // namespace vrn
