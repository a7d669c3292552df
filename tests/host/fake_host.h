#pragma once
// A scripted host for driving the plug-in through its AEffect like a real host does.

#include "host/plugin_entry.h"

#include <mutex>
#include <string>
#include <vector>

namespace vrn::test
{

/// Host callback state: what the host answers and what the plug-in asked.
struct FakeHost
{
    intptr version = 2400;    ///< answer to audioMasterVersion
    bool giveTimeInfo = true; ///< answer audioMasterGetTime with `time`
    VstTimeInfo time{};
    std::vector<int32> opcodes;           ///< every host call the plug-in made, in order
    std::vector<std::string> windowSizes; ///< "WxH" of every audioMasterSizeWindow, answered 1
    std::mutex mutex;                     ///< the plug-in may call from several threads

    FakeHost();
    static FakeHost* current;
    static intptr VRN_VST_CALL Callback(AEffect*, int32 opcode, int32 index, intptr value,
                                        void* ptr, float opt);
    int Count(int32 opcode);
};

/// One plug-in instance opened, set to `sampleRate` and resumed; closed at destruction.
class Plugin
{
public:
    explicit Plugin(double sampleRate = 48000.0, int32 blockSize = 512, bool resume = true);
    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    intptr Dispatch(int32 opcode, int32 index = 0, intptr value = 0, void* ptr = nullptr,
                    float opt = 0.0f);
    std::string Text(int32 opcode, int32 index = 0);
    void Set(int32 index, float normalised) { effect->setParameter(effect, index, normalised); }
    float Get(int32 index) { return effect->getParameter(effect, index); }
    /// Processes stereo `left`/`right` in place in blocks of `block` frames.
    void Process(std::vector<double>& left, std::vector<double>& right, int block = 512);
    void ProcessFloat(std::vector<float>& left, std::vector<float>& right, int block = 512);
    std::vector<unsigned char> Chunk();

    FakeHost host;
    AEffect* effect = nullptr;
};

} // namespace vrn::test
