// The shipped VST 2.4 library's processing calls never allocate, free, lock or call the host
// (beyond one time-information request per block). Allocation and locking are counted by
// replacing malloc, free and pthread_mutex_lock in this executable: the library's calls reach
// these replacements through the dynamic linker.
#include "host/vst2_abi.h"
#include "tests/realtime/counting.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <pthread.h>

#include <atomic>
#include <cmath>
#include <cstdlib>
#include <vector>

extern "C" void* __libc_malloc(std::size_t size);
extern "C" void* __libc_calloc(std::size_t count, std::size_t size);
extern "C" void* __libc_realloc(void* pointer, std::size_t size);
extern "C" void __libc_free(void* pointer);

namespace vrn::realtime
{
thread_local bool counting = false;
std::atomic<int> allocations{0};
std::atomic<int> locks{0};
} // namespace vrn::realtime

namespace
{
using vrn::realtime::allocations;
using vrn::realtime::locks;
thread_local bool& inProcess = vrn::realtime::counting;
std::atomic<int> hostCalls{0};
std::atomic<int> timeRequests{0};

void CountAllocation()
{
    if (inProcess)
        ++allocations;
}
} // namespace

extern "C" void* malloc(std::size_t size)
{
    CountAllocation();
    return __libc_malloc(size);
}
extern "C" void* calloc(std::size_t count, std::size_t size)
{
    CountAllocation();
    return __libc_calloc(count, size);
}
extern "C" void* realloc(void* pointer, std::size_t size)
{
    CountAllocation();
    return __libc_realloc(pointer, size);
}
extern "C" void free(void* pointer)
{
    if (pointer)
        CountAllocation();
    __libc_free(pointer);
}
extern "C" int pthread_mutex_lock(pthread_mutex_t* mutex)
{
    using Lock = int (*)(pthread_mutex_t*);
    static const auto real = reinterpret_cast<Lock>(dlsym(RTLD_NEXT, "pthread_mutex_lock"));
    if (inProcess)
        ++locks;
    return real(mutex);
}

namespace vrn
{
namespace
{

VstTimeInfo timeInfo{};

intptr VRN_VST_CALL Host(AEffect*, int32 opcode, int32, intptr, void*, float)
{
    if (inProcess)
    {
        ++hostCalls;
        if (opcode == audioMasterGetTime)
            ++timeRequests;
    }
    if (opcode == audioMasterVersion)
        return 2400;
    if (opcode == audioMasterGetTime)
        return reinterpret_cast<intptr>(&timeInfo);
    return 0;
}

class RealtimeSafety : public ::testing::Test
{
protected:
    void SetUp() override
    {
        library = dlopen(VRN_PLUGIN_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        using Entry = AEffect* (*)(audioMasterCallback);
        auto entry = reinterpret_cast<Entry>(dlsym(library, "VSTPluginMain"));
        ASSERT_NE(entry, nullptr);
        timeInfo.tempo = 120.0;
        timeInfo.flags = kVstTempoValid | kVstTransportPlaying;
        effect = entry(&Host);
        ASSERT_NE(effect, nullptr);
        Dispatch(effOpen);
        Dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f);
        Dispatch(effSetBlockSize, 0, 512);
        Dispatch(effMainsChanged, 0, 1);
    }
    void TearDown() override
    {
        if (effect)
            Dispatch(effClose);
        if (library)
            dlclose(library);
    }
    intptr Dispatch(int32 opcode, int32 index = 0, intptr value = 0, void* ptr = nullptr,
                    float opt = 0.0f)
    {
        return effect->dispatcher(effect, opcode, index, value, ptr, opt);
    }

    /// One block of `frames` frames of `signal`, counted.
    template <class Sample>
    void Block(int frames, double level)
    {
        std::vector<Sample> left(static_cast<std::size_t>(frames)), right(left.size());
        std::vector<Sample> outL(left.size()), outR(left.size());
        for (std::size_t j = 0; j < left.size(); ++j)
        {
            left[j] = static_cast<Sample>(level * std::sin(0.05 * static_cast<double>(j)));
            right[j] = static_cast<Sample>(level * std::cos(0.3 * static_cast<double>(j)));
        }
        Sample* in[2] = {left.data(), right.data()};
        Sample* out[2] = {outL.data(), outR.data()};
        inProcess = true;
        if constexpr (sizeof(Sample) == sizeof(float))
            effect->processReplacing(effect, in, out, frames);
        else
            effect->processDoubleReplacing(effect, in, out, frames);
        inProcess = false;
        ++blocks;
    }

    void ExpectClean()
    {
        EXPECT_EQ(allocations.load(), 0);
        EXPECT_EQ(locks.load(), 0);
        EXPECT_EQ(hostCalls.load(), timeRequests.load()) << "only time requests";
        EXPECT_LE(timeRequests.load(), blocks) << "at most one time request per block";
    }

    void* library = nullptr;
    AEffect* effect = nullptr;
    int blocks = 0;
};

TEST_F(RealtimeSafety, ProcessingNeitherAllocatesNorLocks)
{
    Block<float>(512, 0.5); // warm-up
    allocations = locks = hostCalls = timeRequests = 0;
    blocks = 0;

    for (int i = 0; i < 20; ++i)
        Block<float>(512, i % 2 ? 0.5 : 0.0001);
    Block<double>(512, 0.3);
    Block<float>(1, 0.3);
    Block<float>(0, 0.3);

    // Parameter changes and chunks between blocks, then processing with the new values:
    // Pre-Gate with a 10 ms attack, Band Link, every monitor mode, a new crossover.
    for (int32 index : {0, 8, 9, 5, 7})
    {
        effect->setParameter(effect, index, 1.0f);
        Block<float>(512, 0.5);
        Block<double>(512, 0.5);
    }
    void* data = nullptr;
    const auto size = Dispatch(effGetChunk, 0, 0, &data);
    std::vector<unsigned char> chunk(static_cast<unsigned char*>(data),
                                     static_cast<unsigned char*>(data) + size);
    Dispatch(effSetChunk, 0, size, chunk.data());
    Block<float>(512, 0.5);
    Block<float>(512, NAN); // a non-finite block is recovered from without allocating
    Block<float>(512, 0.5);
    ExpectClean();
}

} // namespace
} // namespace vrn
