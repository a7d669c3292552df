#pragma once
// VST 2.4 binary interface: the records, callbacks, opcodes and flags a plug-in and a host share.

#include <cstddef>
#include <cstdint>

namespace vrn
{

using int32 = std::int32_t;
using int16 = std::int16_t;
using intptr = std::intptr_t;

#if defined(_WIN32) && !defined(_WIN64)
#define VRN_VST_CALL __cdecl
#else
#define VRN_VST_CALL
#endif

struct AEffect;

using audioMasterCallback = intptr(VRN_VST_CALL*)(AEffect*, int32 opcode, int32 index, intptr value,
                                                  void* ptr, float opt);
using AEffectDispatcherProc = intptr(VRN_VST_CALL*)(AEffect*, int32 opcode, int32 index,
                                                    intptr value, void* ptr, float opt);
using AEffectProcessProc = void(VRN_VST_CALL*)(AEffect*, float** inputs, float** outputs,
                                               int32 sampleFrames);
using AEffectProcessDoubleProc = void(VRN_VST_CALL*)(AEffect*, double** inputs, double** outputs,
                                                     int32 sampleFrames);
using AEffectSetParameterProc = void(VRN_VST_CALL*)(AEffect*, int32 index, float parameter);
using AEffectGetParameterProc = float(VRN_VST_CALL*)(AEffect*, int32 index);

/// The record a host receives from the entry point; natural alignment, no packing.
struct AEffect
{
    int32 magic;
    AEffectDispatcherProc dispatcher;
    AEffectProcessProc process;
    AEffectSetParameterProc setParameter;
    AEffectGetParameterProc getParameter;
    int32 numPrograms;
    int32 numParams;
    int32 numInputs;
    int32 numOutputs;
    int32 flags;
    intptr resvd1;
    intptr resvd2;
    int32 initialDelay;
    int32 realQualities;
    int32 offQualities;
    float ioRatio;
    void* object;
    void* user;
    int32 uniqueID;
    int32 version;
    AEffectProcessProc processReplacing;
    AEffectProcessDoubleProc processDoubleReplacing;
    char future[56];
};

constexpr int32 kEffectMagic = 0x56737450; // 'VstP'

#if INTPTR_MAX == INT32_MAX
static_assert(sizeof(AEffect) == 144, "AEffect layout (32-bit)");
static_assert(offsetof(AEffect, flags) == 36, "AEffect layout (32-bit)");
static_assert(offsetof(AEffect, initialDelay) == 48, "AEffect layout (32-bit)");
static_assert(offsetof(AEffect, object) == 64, "AEffect layout (32-bit)");
static_assert(offsetof(AEffect, uniqueID) == 72, "AEffect layout (32-bit)");
static_assert(offsetof(AEffect, processReplacing) == 80, "AEffect layout (32-bit)");
static_assert(offsetof(AEffect, processDoubleReplacing) == 84, "AEffect layout (32-bit)");
#else
static_assert(sizeof(AEffect) == 192, "AEffect layout (64-bit)");
static_assert(offsetof(AEffect, flags) == 56, "AEffect layout (64-bit)");
static_assert(offsetof(AEffect, initialDelay) == 80, "AEffect layout (64-bit)");
static_assert(offsetof(AEffect, object) == 96, "AEffect layout (64-bit)");
static_assert(offsetof(AEffect, uniqueID) == 112, "AEffect layout (64-bit)");
static_assert(offsetof(AEffect, processReplacing) == 120, "AEffect layout (64-bit)");
static_assert(offsetof(AEffect, processDoubleReplacing) == 128, "AEffect layout (64-bit)");
#endif

// AEffect::flags
constexpr int32 effFlagsHasEditor = 1 << 0;
constexpr int32 effFlagsCanReplacing = 1 << 4;
constexpr int32 effFlagsProgramChunks = 1 << 5;
constexpr int32 effFlagsIsSynth = 1 << 8;
constexpr int32 effFlagsNoSoundInStop = 1 << 9;
constexpr int32 effFlagsCanDoubleReplacing = 1 << 12;

/// Host → plug-in dispatcher opcodes.
enum AEffectOpcodes : int32
{
    effOpen = 0,
    effClose = 1,
    effSetProgram = 2,
    effGetProgram = 3,
    effSetProgramName = 4,
    effGetProgramName = 5,
    effGetParamLabel = 6,
    effGetParamDisplay = 7,
    effGetParamName = 8,
    effGetVu = 9,
    effSetSampleRate = 10,
    effSetBlockSize = 11,
    effMainsChanged = 12,
    effEditGetRect = 13,
    effEditOpen = 14,
    effEditClose = 15,
    effEditIdle = 19,
    effIdentify = 22,
    effGetChunk = 23,
    effSetChunk = 24,
    effProcessEvents = 25,
    effCanBeAutomated = 26,
    effString2Parameter = 27,
    effGetProgramNameIndexed = 29,
    effGetInputProperties = 33,
    effGetOutputProperties = 34,
    effGetPlugCategory = 35,
    effOfflineNotify = 38,
    effOfflinePrepare = 39,
    effOfflineRun = 40,
    effProcessVarIo = 41,
    effSetSpeakerArrangement = 42,
    effSetBypass = 44,
    effGetEffectName = 45,
    effGetVendorString = 47,
    effGetProductString = 48,
    effGetVendorVersion = 49,
    effVendorSpecific = 50,
    effCanDo = 51,
    effGetTailSize = 52,
    effGetParameterProperties = 56,
    effGetVstVersion = 58,
    effEditKeyDown = 59,
    effEditKeyUp = 60,
    effSetEditKnobMode = 61,
    effGetMidiProgramName = 62,
    effGetCurrentMidiProgram = 63,
    effGetMidiProgramCategory = 64,
    effHasMidiProgramsChanged = 65,
    effGetMidiKeyName = 66,
    effBeginSetProgram = 67,
    effEndSetProgram = 68,
    effGetSpeakerArrangement = 69,
    effShellGetNextPlugin = 70,
    effStartProcess = 71,
    effStopProcess = 72,
    effSetTotalSampleToProcess = 73,
    effSetPanLaw = 74,
    effBeginLoadBank = 75,
    effBeginLoadProgram = 76,
    effSetProcessPrecision = 77,
    effGetNumMidiInputChannels = 78,
    effGetNumMidiOutputChannels = 79,
};

/// Plug-in → host (audioMaster) opcodes.
enum AudioMasterOpcodes : int32
{
    audioMasterAutomate = 0,
    audioMasterVersion = 1,
    audioMasterCurrentId = 2,
    audioMasterIdle = 3,
    audioMasterWantMidi = 6,
    audioMasterGetTime = 7,
    audioMasterProcessEvents = 8,
    audioMasterIOChanged = 13,
    audioMasterSizeWindow = 15,
    audioMasterGetSampleRate = 16,
    audioMasterGetBlockSize = 17,
    audioMasterGetCurrentProcessLevel = 23,
    audioMasterGetVendorString = 32,
    audioMasterGetProductString = 33,
    audioMasterGetVendorVersion = 34,
    audioMasterCanDo = 37,
    audioMasterUpdateDisplay = 42,
    audioMasterBeginEdit = 43,
    audioMasterEndEdit = 44,
};

constexpr int32 kPlugCategUnknown = 0;
constexpr int32 kVstVersion = 2400;
constexpr int32 kEffectIdentify = 0x4E764566; // 'NvEf'

/// effVendorSpecific with these as index and value asks the editor to draw at the content scale
/// given as `opt` (window pixels per editor pixel), the host's wish on a high-density screen.
constexpr int32 kContentScaleIndex = 0x50726553;  // 'PreS'
constexpr intptr kContentScaleValue = 0x41654373; // 'AeCs'

/// Host time information; every field valid only when its flag is set.
struct VstTimeInfo
{
    double samplePos;
    double sampleRate;
    double nanoSeconds;
    double ppqPos;
    double tempo;
    double barStartPos;
    double cycleStartPos;
    double cycleEndPos;
    int32 timeSigNumerator;
    int32 timeSigDenominator;
    int32 smpteOffset;
    int32 smpteFrameRate;
    int32 samplesToNextClock;
    int32 flags;
};
static_assert(sizeof(VstTimeInfo) == 88, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, timeSigNumerator) == 64, "VstTimeInfo layout");
static_assert(offsetof(VstTimeInfo, flags) == 84, "VstTimeInfo layout");

// VstTimeInfo::flags and the filter bits of audioMasterGetTime
constexpr int32 kVstTransportChanged = 1;
constexpr int32 kVstTransportPlaying = 1 << 1;
constexpr int32 kVstTransportCycleActive = 1 << 2;
constexpr int32 kVstTransportRecording = 1 << 3;
constexpr int32 kVstAutomationWriting = 1 << 6;
constexpr int32 kVstAutomationReading = 1 << 7;
constexpr int32 kVstNanosValid = 1 << 8;
constexpr int32 kVstPpqPosValid = 1 << 9;
constexpr int32 kVstTempoValid = 1 << 10;
constexpr int32 kVstBarsValid = 1 << 11;
constexpr int32 kVstCyclePosValid = 1 << 12;
constexpr int32 kVstTimeSigValid = 1 << 13;
constexpr int32 kVstSmpteValid = 1 << 14;
constexpr int32 kVstClockValid = 1 << 15;

/// One event of a VstEvents list (32 bytes).
struct VstEvent
{
    int32 type;
    int32 byteSize;
    int32 deltaFrames;
    int32 flags;
    char data[16];
};
static_assert(sizeof(VstEvent) == 32, "VstEvent layout");

/// A MIDI event (32 bytes; type kVstMidiType).
struct VstMidiEvent
{
    int32 type;
    int32 byteSize;
    int32 deltaFrames;
    int32 flags;
    int32 noteLength;
    int32 noteOffset;
    char midiData[4];
    char detune;
    char noteOffVelocity;
    char reserved1;
    char reserved2;
};
static_assert(sizeof(VstMidiEvent) == 32, "VstMidiEvent layout");

constexpr int32 kVstMidiType = 1;
constexpr int32 kVstSysExType = 6;

/// A list of events; `events` really holds numEvents pointers.
struct VstEvents
{
    int32 numEvents;
    intptr reserved;
    VstEvent* events[2];
};

/// Editor rectangle in pixels.
struct ERect
{
    int16 top;
    int16 left;
    int16 bottom;
    int16 right;
};

/// Key code of effEditKeyDown / effEditKeyUp.
struct VstKeyCode
{
    int32 character;
    unsigned char virt;
    unsigned char modifier;
};

constexpr int kVstMaxProgNameLen = 24;
constexpr int kVstMaxParamStrLen = 8;
constexpr int kVstMaxVendorStrLen = 64;
constexpr int kVstMaxProductStrLen = 64;
constexpr int kVstMaxEffectNameLen = 32;

} // namespace vrn
