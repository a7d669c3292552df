#pragma once
// Version-2 extensions of the plug-in base: events, names, capabilities and time information.

#include "host/audio_effect.h"

namespace vrn
{

/// AudioEffect plus the VST 2.x opcodes and host services.
class AudioEffectX : public AudioEffect
{
public:
    AudioEffectX(audioMasterCallback audioMaster, int32 numPrograms, int32 numParams);

    /// Handles the 2.x opcodes, then falls back to the version-1 dispatcher.
    intptr dispatcher(int32 opcode, int32 index, intptr value, void* ptr, float opt) override;

    /// Requests MIDI from the host when the plug-in is a synth or can receive MIDI events.
    void resume() override;

    /// Takes a list of events from the host; answers 1 when they were used.
    virtual int32 processEvents(VstEvents*) { return 0; }
    /// Whether parameter `index` can be automated: always.
    virtual bool canParameterBeAutomated(int32) { return true; }
    /// Name of program `index` in `category`; false when not given.
    virtual bool getProgramNameIndexed(int32, int32, char*) { return false; }
    /// Plug-in category: unknown, or synth when the synth flag is set.
    virtual int32 getPlugCategory();
    virtual bool getEffectName(char*) { return false; }
    virtual bool getVendorString(char*) { return false; }
    virtual bool getProductString(char*) { return false; }
    virtual int32 getVendorVersion() { return 0; }
    /// 1 can do, -1 cannot, 0 unknown.
    virtual intptr canDo(const char*) { return 0; }
    /// A vendor's own request (effVendorSpecific) other than the content scale; 0 = unknown.
    virtual intptr vendorSpecific(int32, intptr, void*, float) { return 0; }
    /// Interface version this plug-in implements.
    virtual int32 getVstVersion() { return kVstVersion; }
    /// Tail after the input stops, samples; 0 = default.
    virtual int32 getGetTailSize() { return 0; }

    // --- services for the plug-in
    /// Time information with the fields of `filter` valid, or null when the host gives none.
    VstTimeInfo* getTimeInfo(int32 filter);
    /// Asks the host to refresh its display of the parameters.
    bool updateDisplay();
    /// Tells the host a parameter edit begins / ends.
    bool beginEdit(int32 index);
    bool endEdit(int32 index);
    /// Asks the host to make the editor's window `width` × `height` pixels; true when it did.
    bool sizeWindow(int32 width, int32 height);
    /// Deprecated MIDI request (audioMasterWantMidi with `filter`).
    void wantEvents(int32 filter = 1);
};

constexpr int32 kPlugCategSynth = 2;

} // namespace vrn
