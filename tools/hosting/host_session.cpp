// One VST2 plug-in instance driven by a tool: host callback, opening, parameters, chunks.
// Processing is in session_processing.cpp.
#include "tools/hosting/host_session.h"

#include "tools/hosting/host_answers.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <cstdlib>

namespace vrn
{
namespace
{

// A chunk larger than this is taken as a broken size answer rather than copied.
constexpr intptr kMaxChunkBytes = intptr{1} << 30;

// The sessions the callback serves. Tools drive their plug-ins from one thread only.
std::vector<HostSession*>& OpenSessions()
{
    static std::vector<HostSession*> sessions;
    return sessions;
}

// The session whose entry point is running: its record does not exist yet, so calls made from
// inside the entry point cannot be told apart by the record.
HostSession* opening = nullptr;

HostSession* SessionFor(const AEffect* effect)
{
    const std::vector<HostSession*>& sessions = OpenSessions();
    for (HostSession* session : sessions)
    {
        if (effect != nullptr && session->Effect() == effect)
            return session;
    }
    if (opening != nullptr)
        return opening;
    return sessions.size() == 1 ? sessions.front() : nullptr;
}

std::string FormatFloat(const char* format, double value)
{
    char text[64] = {};
    std::snprintf(text, sizeof text, format, value);
    return text;
}

bool SameIgnoringCase(const std::string& a, const std::string& b)
{
    return a.size() == b.size() &&
           std::equal(a.begin(), a.end(), b.begin(),
                      [](char x, char y)
                      {
                          return std::tolower(static_cast<unsigned char>(x)) ==
                                 std::tolower(static_cast<unsigned char>(y));
                      });
}

} // namespace

HostSession::HostSession(const HostSettings& initial) : settings(initial)
{
    settings.maxBlockSize = std::clamp(settings.maxBlockSize, int32{1}, kHostMaxBlockSize);
}

HostSession::~HostSession()
{
    Close();
}

void HostSession::SetTraceSink(std::function<void(const std::string&)> sink)
{
    traceSink = std::move(sink);
}

void HostSession::SetWindowSizeHandler(std::function<bool(int32 width, int32 height)> handler)
{
    windowSizeHandler = std::move(handler);
}

OpenResult HostSession::Open(const std::string& path, std::string& error)
{
    Close();
    if (!library.Load(path, error))
        return OpenResult::LoadFailed;
    const char* entryName = nullptr;
    const PluginEntryProc entry = library.FindEntry(entryName);
    if (entry == nullptr)
    {
        error = path + " exports none of VSTPluginMain, main, MAIN";
        library.Unload();
        return OpenResult::NoEntry;
    }

    samplePosition = 0.0;
    resumed = false;
    opening = this;
    AEffect* created = entry(&HostCallback);
    opening = nullptr;
    if (created == nullptr)
    {
        error = std::string("the entry point ") + entryName + " returned no effect";
        library.Unload();
        return OpenResult::NoEffect;
    }
    if (created->magic != kEffectMagic)
    {
        char text[80] = {};
        std::snprintf(text, sizeof text, "wrong magic 0x%08x (expected 0x%08x)",
                      static_cast<unsigned>(created->magic), static_cast<unsigned>(kEffectMagic));
        error = text;
        // Nothing may be called through a record of unknown layout, not even effClose.
        library.Unload();
        return OpenResult::BadMagic;
    }
    effect = created;
    OpenSessions().push_back(this);
    Dispatch(effOpen);
    Dispatch(effSetSampleRate, 0, 0, nullptr, static_cast<float>(settings.sampleRate));
    Dispatch(effSetBlockSize, 0, settings.maxBlockSize);
    Resume();
    return OpenResult::Ok;
}

void HostSession::Close() noexcept
{
    if (effect != nullptr)
    {
        if (resumed)
            Dispatch(effMainsChanged, 0, 0);
        resumed = false;
        Dispatch(effClose);
        effect = nullptr;
    }
    std::vector<HostSession*>& sessions = OpenSessions();
    sessions.erase(std::remove(sessions.begin(), sessions.end(), this), sessions.end());
    library.Unload();
}

intptr HostSession::Dispatch(int32 opcode, int32 index, intptr value, void* ptr, float opt)
{
    if (effect == nullptr || effect->dispatcher == nullptr)
        return 0;
    return effect->dispatcher(effect, opcode, index, value, ptr, opt);
}

intptr HostSession::DispatchWithScratch(int32 opcode, int32 index, intptr value, float opt,
                                        std::string& text)
{
    text.clear();
    if (effect == nullptr)
        return 0;
    char scratch[kHostTextBufferSize] = {};
    const intptr answer = Dispatch(opcode, index, value, scratch, opt);
    scratch[kHostTextBufferSize - 1] = '\0';
    text = scratch;
    if (opcode == effMainsChanged)
        resumed = value != 0;
    if (opcode == effClose)
    {
        // The plug-in has freed its record; only the library is left to unload.
        effect = nullptr;
        resumed = false;
    }
    return answer;
}

std::string HostSession::QueryText(int32 opcode, int32 index)
{
    char text[kHostTextBufferSize] = {};
    Dispatch(opcode, index, 0, text);
    text[kHostTextBufferSize - 1] = '\0';
    return text;
}

std::string HostSession::EffectName()
{
    std::string name = QueryText(effGetEffectName);
    if (name.empty())
        name = QueryText(effGetProductString);
    return name;
}

intptr HostSession::CanDo(const std::string& feature)
{
    // The plug-in gets its own writable copy: some compare in place and touch the buffer.
    std::vector<char> text(std::max(feature.size() + 1, kHostTextBufferSize), '\0');
    std::copy(feature.begin(), feature.end(), text.begin());
    return Dispatch(effCanDo, 0, 0, text.data());
}

int32 HostSession::NumParameters() const
{
    return effect != nullptr ? std::max(effect->numParams, int32{0}) : 0;
}

int32 HostSession::FindParameter(const std::string& key, NameMatch match)
{
    const int32 count = NumParameters();
    const bool decimal =
        !key.empty() && key.size() <= 9 &&
        std::all_of(key.begin(), key.end(), [](char c) { return c >= '0' && c <= '9'; });
    if (decimal)
    {
        const long index = std::strtol(key.c_str(), nullptr, 10);
        if (index < count)
            return static_cast<int32>(index);
    }
    for (int32 index = 0; index < count; ++index)
    {
        if (ParameterName(index) == key)
            return index;
    }
    // Plug-ins spell their names as they like: a second look may ignore case.
    for (int32 index = 0; match == NameMatch::IgnoringCase && index < count; ++index)
    {
        if (SameIgnoringCase(ParameterName(index), key))
            return index;
    }
    return -1;
}

float HostSession::GetParameter(int32 index)
{
    if (effect == nullptr || effect->getParameter == nullptr)
        return 0.0f;
    return effect->getParameter(effect, index);
}

void HostSession::SetParameter(int32 index, float value)
{
    if (effect != nullptr && effect->setParameter != nullptr)
        effect->setParameter(effect, index, value);
}

bool HostSession::GetChunk(std::vector<unsigned char>& bytes, std::string& error)
{
    bytes.clear();
    void* data = nullptr;
    const intptr size = Dispatch(effGetChunk, 0, 0, &data);
    if (size < 0 || size > kMaxChunkBytes)
    {
        error = "the plug-in answered a chunk size of " + std::to_string(size) + " bytes";
        return false;
    }
    if (size > 0 && data == nullptr)
    {
        error = "the plug-in answered a chunk size of " + std::to_string(size) + " without data";
        return false;
    }
    const auto* first = static_cast<const unsigned char*>(data);
    bytes.assign(first, first + size);
    return true;
}

intptr HostSession::SetChunk(const std::vector<unsigned char>& bytes)
{
    // A writable copy, never a null pointer even for an empty chunk.
    std::vector<unsigned char> copy(bytes);
    copy.push_back(0);
    return Dispatch(effSetChunk, 0, static_cast<intptr>(bytes.size()), copy.data());
}

void HostSession::Suspend()
{
    Dispatch(effMainsChanged, 0, 0);
    resumed = false;
}

void HostSession::Resume()
{
    Dispatch(effMainsChanged, 0, 1);
    resumed = effect != nullptr;
}

int32 HostSession::Latency() const
{
    return effect != nullptr ? effect->initialDelay : 0;
}

intptr VRN_VST_CALL HostSession::HostCallback(AEffect* effect, int32 opcode, int32 index,
                                              intptr value, void* ptr, float opt) noexcept
{
    try
    {
        HostSession* session = SessionFor(effect);
        if (session == nullptr)
            return 0;
        return session->HandleCallback(opcode, index, value, ptr, opt);
    }
    catch (...)
    {
        return 0;
    }
}

intptr HostSession::HandleCallback(int32 opcode, int32 index, intptr value, void* ptr, float opt)
{
    if (traceSink)
    {
        traceSink("host: opcode=" + std::to_string(opcode) + " index=" + std::to_string(index) +
                  " value=" + std::to_string(value) +
                  " opt=" + FormatFloat("%g", static_cast<double>(opt)));
    }
    if (opcode == audioMasterVersion)
        return settings.hostVersion;
    if (opcode == audioMasterSizeWindow)
    {
        const bool sized = windowSizeHandler && value >= INT32_MIN && value <= INT32_MAX &&
                           windowSizeHandler(index, static_cast<int32>(value));
        return sized ? 1 : 0;
    }
    if (opcode == audioMasterGetTime)
    {
        if (!settings.timeInfo)
            return 0;
        timeInfo = TransportAt(samplePosition, settings.sampleRate, settings.tempo);
        return reinterpret_cast<intptr>(&timeInfo);
    }
    return AnswerHostQuery(opcode, ptr, settings.sampleRate, settings.maxBlockSize,
                           settings.product.c_str());
}

} // namespace vrn
