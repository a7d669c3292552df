#pragma once
// The table of plain functions through which every effect-specific host operation passes.

#include "host/vst2_abi.h"

namespace vrn
{

class CVeST;

/// 29 entries; a null entry makes the wrapper answer the default (0, false, empty text).
/// Text entries get a buffer of at least the capacity the wrapper states for that opcode.
struct VeSTCallbacks
{
    void (*construct)(CVeST*) = nullptr;                                                       // 0
    void (*destroy)(CVeST*) = nullptr;                                                         // 1
    void (*open)(CVeST*) = nullptr;                                                            // 2
    void (*suspend)(CVeST*) = nullptr;                                                         // 3
    void (*resume)(CVeST*) = nullptr;                                                          // 4
    void (*editorIdle)(CVeST*) = nullptr;                                                      // 5
    void (*close)(CVeST*) = nullptr;                                                           // 6
    void (*editorPaint)(CVeST*, int32 width, int32 height) = nullptr;                          // 7
    void (*mouseDown)(CVeST*, int32 x, int32 y, int32 buttons) = nullptr;                      // 8
    void (*mouseUp)(CVeST*, int32 x, int32 y, int32 buttons) = nullptr;                        // 9
    void (*mouseMoved)(CVeST*, int32 x, int32 y, int32 buttons) = nullptr;                     // 10
    int32 (*keyDown)(CVeST*, int32 character, int32 modifier, int32 virtualKey) = nullptr;     // 11
    int32 (*keyUp)(CVeST*, int32 character, int32 modifier, int32 virtualKey) = nullptr;       // 12
    int32 (*getVendorVersion)(CVeST*) = nullptr;                                               // 13
    bool (*getVendorString)(CVeST*, char* text) = nullptr;                                     // 14
    bool (*getProductString)(CVeST*, char* text) = nullptr;                                    // 15
    bool (*getEffectName)(CVeST*, char* text) = nullptr;                                       // 16
    void (*getProgramName)(CVeST*, char* text) = nullptr;                                      // 17
    void (*setProgramName)(CVeST*, const char* text) = nullptr;                                // 18
    bool (*getProgramNameIndexed)(CVeST*, int32 category, int32 index, char* text) = nullptr;  // 19
    double (*getParameter)(CVeST*, int32 index) = nullptr;                                     // 20
    void (*setParameter)(CVeST*, int32 index, double value) = nullptr;                         // 21
    void (*getParameterName)(CVeST*, int32 index, char* text) = nullptr;                       // 22
    void (*getParameterLabel)(CVeST*, int32 index, char* text) = nullptr;                      // 23
    void (*getParameterDisplay)(CVeST*, int32 index, char* text) = nullptr;                    // 24
    void (*processReplacing)(CVeST*, float** inputs, float** outputs, int32 frames) = nullptr; // 25
    void (*processDoubleReplacing)(CVeST*, double** inputs, double** outputs,
                                   int32 frames) = nullptr;                         // 26
    int32 (*getChunk)(CVeST*, void** data, bool isPreset) = nullptr;                // 27
    int32 (*setChunk)(CVeST*, void* data, int32 byteSize, bool isPreset) = nullptr; // 28
};

constexpr int kVeSTCallbackCount = 29;
static_assert(sizeof(VeSTCallbacks) == kVeSTCallbackCount * sizeof(void (*)()),
              "VeSTCallbacks holds exactly 29 function pointers");

// Buffer sizes, terminator included, that the wrapper guarantees to the text entries.
constexpr int kProgramNameCapacity = 24;
constexpr int kEffectNameCapacity = 32;
constexpr int kVendorTextCapacity = 64;
constexpr int kParameterTextCapacity = 64;

} // namespace vrn
