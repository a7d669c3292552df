// Version-2 opcodes and host services.
#include "host/audio_effect_x.h"

#include "host/aeff_editor.h"

#include <cmath>
#include <cstring>

namespace vrn
{

AudioEffectX::AudioEffectX(audioMasterCallback master, int32 programs, int32 params)
    : AudioEffect(master, programs, params)
{
    canProcessReplacing(true);
}

void AudioEffectX::resume()
{
    if ((cEffect.flags & effFlagsIsSynth) != 0 || canDo("receiveVstMidiEvent") == 1)
        wantEvents(1);
}

int32 AudioEffectX::getPlugCategory()
{
    return (cEffect.flags & effFlagsIsSynth) != 0 ? kPlugCategSynth : kPlugCategUnknown;
}

VstTimeInfo* AudioEffectX::getTimeInfo(int32 filter)
{
    // The host answers the record's address as an integer.
    return reinterpret_cast<VstTimeInfo*>( // NOLINT(performance-no-int-to-ptr)
        CallHost(audioMasterGetTime, 0, filter));
}

bool AudioEffectX::updateDisplay()
{
    return CallHost(audioMasterUpdateDisplay) != 0;
}

bool AudioEffectX::beginEdit(int32 index)
{
    return CallHost(audioMasterBeginEdit, index) != 0;
}

bool AudioEffectX::endEdit(int32 index)
{
    return CallHost(audioMasterEndEdit, index) != 0;
}

bool AudioEffectX::sizeWindow(int32 width, int32 height)
{
    return CallHost(audioMasterSizeWindow, width, height) != 0;
}

void AudioEffectX::wantEvents(int32 filter)
{
    CallHost(audioMasterWantMidi, 0, filter);
}

namespace
{
/// The key modifiers a host sends as a float, as a byte; a NaN, infinite or huge value (whose
/// conversion to an integer would be undefined) is no modifier.
unsigned char ModifierByte(float opt)
{
    if (!(std::fabs(opt) < 2147483648.0f))
        return 0;
    return static_cast<unsigned char>(static_cast<int32>(opt));
}
} // namespace

intptr AudioEffectX::dispatcher(int32 opcode, int32 index, intptr value, void* ptr, float opt)
{
    char* text = static_cast<char*>(ptr);
    switch (opcode)
    {
    case effProcessEvents:
        return ptr ? processEvents(static_cast<VstEvents*>(ptr)) : 0;
    case effCanBeAutomated:
        return canParameterBeAutomated(index) ? 1 : 0;
    case effGetProgramNameIndexed:
        return text && getProgramNameIndexed(static_cast<int32>(value), index, text) ? 1 : 0;
    case effGetPlugCategory:
        return getPlugCategory();
    case effGetEffectName:
        return text && getEffectName(text) ? 1 : 0;
    case effGetVendorString:
        return text && getVendorString(text) ? 1 : 0;
    case effGetProductString:
        return text && getProductString(text) ? 1 : 0;
    case effGetVendorVersion:
        return getVendorVersion();
    case effCanDo:
        return text ? canDo(text) : 0;
    case effGetTailSize:
        return getGetTailSize();
    case effGetVstVersion:
        return getVstVersion();
    case effEditKeyDown:
    case effEditKeyUp:
        if (editor)
        {
            VstKeyCode key{};
            key.character = index;
            key.virt = static_cast<unsigned char>(value);
            key.modifier = ModifierByte(opt);
            const bool used =
                opcode == effEditKeyDown ? editor->onKeyDown(key) : editor->onKeyUp(key);
            return used ? 1 : 0;
        }
        return 0;
    case effSetEditKnobMode:
        return editor && editor->setKnobMode(static_cast<int32>(value)) ? 1 : 0;
    case effVendorSpecific:
        if (index == kContentScaleIndex && value == kContentScaleValue)
            return editor && editor->setContentScale(static_cast<double>(opt)) ? 1 : 0;
        return vendorSpecific(index, value, ptr, opt);
    default:
        return AudioEffect::dispatcher(opcode, index, value, ptr, opt);
    }
}

} // namespace vrn
