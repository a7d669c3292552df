// The AEffect record, its C trampolines and the version-1 opcodes of the dispatcher.
#include "host/audio_effect.h"

#include "host/aeff_editor.h"

namespace vrn
{

namespace
{
AudioEffect* FromAEffect(AEffect* e)
{
    return (e && e->magic == kEffectMagic) ? static_cast<AudioEffect*>(e->object) : nullptr;
}
} // namespace

AudioEffect::AudioEffect(audioMasterCallback master, int32 programs, int32 params)
    : audioMaster(master), numPrograms(programs), numParams(params)
{
    cEffect.magic = kEffectMagic;
    cEffect.dispatcher = &DispatchTrampoline;
    cEffect.process = &ProcessTrampoline;
    cEffect.setParameter = &SetParameterTrampoline;
    cEffect.getParameter = &GetParameterTrampoline;
    cEffect.numPrograms = programs;
    cEffect.numParams = params;
    cEffect.numInputs = 1;
    cEffect.numOutputs = 2;
    cEffect.ioRatio = 1.0f;
    cEffect.object = this;
    cEffect.version = 1;
    cEffect.processReplacing = &ProcessReplacingTrampoline;
    cEffect.processDoubleReplacing = &ProcessDoubleTrampoline;
}

AudioEffect::~AudioEffect()
{
    delete editor;
    editor = nullptr;
}

void AudioEffect::setProgram(int32 program)
{
    if (program >= 0 && program < numPrograms)
        curProgram = program;
}

void AudioEffect::setEditor(AEffEditor* newEditor)
{
    editor = newEditor;
    SetFlag(effFlagsHasEditor, editor != nullptr);
}

void AudioEffect::SetFlag(int32 flag, bool state)
{
    if (state)
        cEffect.flags |= flag;
    else
        cEffect.flags &= ~flag;
}

intptr AudioEffect::CallHost(int32 opcode, int32 index, intptr value, void* ptr, float opt)
{
    return audioMaster ? audioMaster(&cEffect, opcode, index, value, ptr, opt) : 0;
}

intptr AudioEffect::masterVersion()
{
    const intptr version = CallHost(audioMasterVersion);
    return version != 0 ? version : 1;
}

void AudioEffect::masterIdle()
{
    CallHost(audioMasterIdle);
}

intptr AudioEffect::dispatcher(int32 opcode, int32 index, intptr value, void* ptr, float opt)
{
    char* text = static_cast<char*>(ptr);
    switch (opcode)
    {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 0;
    case effSetProgram:
        if (value >= 0 && value < numPrograms)
            setProgram(static_cast<int32>(value));
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        if (text)
            setProgramName(text);
        return 0;
    case effGetProgramName:
        if (text)
            getProgramName(text);
        return 0;
    case effGetParamLabel:
        if (text)
            getParameterLabel(index, text);
        return 0;
    case effGetParamDisplay:
        if (text)
            getParameterDisplay(index, text);
        return 0;
    case effGetParamName:
        if (text)
            getParameterName(index, text);
        return 0;
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<int32>(value));
        return 0;
    case effMainsChanged:
        if (value == 0)
            suspend();
        else
            resume();
        return 0;
    case effEditGetRect:
        if (editor && ptr)
            return editor->getRect(static_cast<ERect**>(ptr)) ? 1 : 0;
        return 0;
    case effEditOpen:
        return editor && editor->open(ptr) ? 1 : 0;
    case effEditClose:
        if (editor)
            editor->close();
        return 0;
    case effEditIdle:
        if (editor)
            editor->idle();
        return 0;
    case effIdentify:
        return kEffectIdentify;
    case effGetChunk:
        if (!ptr)
            return 0;
        *static_cast<void**>(ptr) = nullptr;
        return getChunk(static_cast<void**>(ptr), index != 0);
    case effSetChunk:
        if (value < 0 || value > INT32_MAX || (!ptr && value != 0))
            return 0;
        return setChunk(ptr, static_cast<int32>(value), index != 0);
    default:
        return 0;
    }
}

// The trampolines recover the object from the record and keep exceptions away from the host.

intptr VRN_VST_CALL AudioEffect::DispatchTrampoline(AEffect* e, int32 opcode, int32 index,
                                                    intptr value, void* ptr, float opt)
{
    AudioEffect* effect = FromAEffect(e);
    if (!effect)
        return 0;
    try
    {
        if (opcode == effClose)
        {
            effect->dispatcher(opcode, index, value, ptr, opt);
            delete effect;
            return 1;
        }
        return effect->dispatcher(opcode, index, value, ptr, opt);
    }
    catch (...)
    {
        return 0;
    }
}

void VRN_VST_CALL AudioEffect::ProcessTrampoline(AEffect*, float**, float**, int32)
{
    // The deprecated accumulating process is not supported: outputs stay as they are.
}

void VRN_VST_CALL AudioEffect::ProcessReplacingTrampoline(AEffect* e, float** inputs,
                                                          float** outputs, int32 frames)
{
    if (AudioEffect* effect = FromAEffect(e))
        effect->processReplacing(inputs, outputs, frames);
}

void VRN_VST_CALL AudioEffect::ProcessDoubleTrampoline(AEffect* e, double** inputs,
                                                       double** outputs, int32 frames)
{
    if (AudioEffect* effect = FromAEffect(e))
        effect->processDoubleReplacing(inputs, outputs, frames);
}

void VRN_VST_CALL AudioEffect::SetParameterTrampoline(AEffect* e, int32 index, float value)
{
    AudioEffect* effect = FromAEffect(e);
    if (!effect)
        return;
    try
    {
        effect->setParameter(index, value);
    }
    catch (...)
    {
    }
}

float VRN_VST_CALL AudioEffect::GetParameterTrampoline(AEffect* e, int32 index)
{
    AudioEffect* effect = FromAEffect(e);
    return effect ? effect->getParameter(index) : 0.0f;
}

} // namespace vrn
