#pragma once
// Base of a VST 2.4 plug-in: the AEffect record, the dispatcher and the default operations.

#include "host/vst2_abi.h"

namespace vrn
{

class AEffEditor;

/// Owns the AEffect a host sees and turns its calls into virtual operations.
class AudioEffect
{
public:
    AudioEffect(audioMasterCallback audioMaster, int32 numPrograms, int32 numParams);
    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;
    /// Deletes the attached editor.
    virtual ~AudioEffect();

    /// Handles one host opcode; unknown opcodes answer 0.
    virtual intptr dispatcher(int32 opcode, int32 index, intptr value, void* ptr, float opt);

    // --- lifecycle (dispatcher thread)
    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}
    /// Stores the host's sample rate, Hz.
    virtual void setSampleRate(float rate) { sampleRate = rate; }
    /// Stores the host's maximum block size, frames.
    virtual void setBlockSize(int32 size) { blockSize = size; }

    // --- audio thread
    virtual void processReplacing(float**, float**, int32) {}
    virtual void processDoubleReplacing(double**, double**, int32) {}

    // --- parameters and programs
    /// Sets parameter `index` to a normalised value 0..1.
    virtual void setParameter(int32, float) {}
    /// Normalised value 0..1 of parameter `index`.
    virtual float getParameter(int32) { return 0.0f; }
    /// Selects a program; ignored unless 0 ≤ program < numPrograms.
    virtual void setProgram(int32 program);
    /// Current program index.
    virtual int32 getProgram() { return curProgram; }
    virtual void setProgramName(const char*) {}
    virtual void getProgramName(char* name) { *name = 0; }
    virtual void getParameterLabel(int32, char* label) { *label = 0; }
    virtual void getParameterDisplay(int32, char* text) { *text = 0; }
    virtual void getParameterName(int32, char* text) { *text = 0; }
    /// Sets `*data` to the state bytes; answers their count (0 = no chunk).
    virtual int32 getChunk(void**, bool) { return 0; }
    /// Takes `byteSize` state bytes; answers how many were taken.
    virtual int32 setChunk(void*, int32, bool) { return 0; }

    // --- services for the plug-in
    AEffect* getAeffect() { return &cEffect; }
    const AEffect* getAeffect() const { return &cEffect; }
    float getSampleRate() const { return sampleRate; }
    int32 getBlockSize() const { return blockSize; }
    void setNumInputs(int32 inputs) { cEffect.numInputs = inputs; }
    void setNumOutputs(int32 outputs) { cEffect.numOutputs = outputs; }
    void setUniqueID(int32 id) { cEffect.uniqueID = id; }
    /// Latency the host reads from the AEffect, samples; the host is not notified.
    void setInitialDelay(int32 delay) { cEffect.initialDelay = delay; }
    void programsAreChunks(bool state = true) { SetFlag(effFlagsProgramChunks, state); }
    void canProcessReplacing(bool state = true) { SetFlag(effFlagsCanReplacing, state); }
    void canDoubleReplacing(bool state = true) { SetFlag(effFlagsCanDoubleReplacing, state); }
    void isSynth(bool state = true) { SetFlag(effFlagsIsSynth, state); }
    /// Attaches an editor (owned from now on) and sets the has-editor flag accordingly.
    void setEditor(AEffEditor* newEditor);
    AEffEditor* getEditor() const { return editor; }
    /// Host version as reported by audioMasterVersion; 0 without a host callback.
    intptr masterVersion();
    /// Lets the host idle (audioMasterIdle).
    void masterIdle();

protected:
    /// Calls the host; answers 0 when there is no host callback.
    intptr CallHost(int32 opcode, int32 index = 0, intptr value = 0, void* ptr = nullptr,
                    float opt = 0.0f);
    void SetFlag(int32 flag, bool state);

    audioMasterCallback audioMaster;
    AEffEditor* editor = nullptr;
    float sampleRate = 44100.0f;
    int32 blockSize = 1024;
    int32 numPrograms;
    int32 numParams;
    int32 curProgram = 0;
    AEffect cEffect{};

private:
    static intptr VRN_VST_CALL DispatchTrampoline(AEffect* e, int32 opcode, int32 index,
                                                  intptr value, void* ptr, float opt);
    static void VRN_VST_CALL ProcessTrampoline(AEffect* e, float** inputs, float** outputs,
                                               int32 frames);
    static void VRN_VST_CALL ProcessReplacingTrampoline(AEffect* e, float** inputs, float** outputs,
                                                        int32 frames);
    static void VRN_VST_CALL ProcessDoubleTrampoline(AEffect* e, double** inputs, double** outputs,
                                                     int32 frames);
    static void VRN_VST_CALL SetParameterTrampoline(AEffect* e, int32 index, float value);
    static float VRN_VST_CALL GetParameterTrampoline(AEffect* e, int32 index);
};

} // namespace vrn
