// HostSession driving the fake plug-in in process: opening, callback answers, processing.
#include "tools/hosting/host_session.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

namespace vrn
{
namespace
{

// The fake plug-in's own report (effVendorSpecific): 0 status, 1 time info, 2 host strings.
std::string Report(HostSession& session, int32 which)
{
    std::string text;
    EXPECT_EQ(session.DispatchWithScratch(effVendorSpecific, which, 0, 0.0f, text), 1);
    return text;
}

bool Contains(const std::string& text, const std::string& part)
{
    return text.find(part) != std::string::npos;
}

class OpenSession : public ::testing::Test
{
protected:
    void Open(HostSettings settings = {})
    {
        session = std::make_unique<HostSession>(settings);
        std::string error;
        ASSERT_EQ(session->Open(VRN_FAKE_PLUGIN, error), OpenResult::Ok) << error;
    }

    std::unique_ptr<HostSession> session;
};

TEST_F(OpenSession, CallbackAnswersFromSettings)
{
    HostSettings settings;
    settings.sampleRate = 44100.0;
    settings.maxBlockSize = 100;
    settings.hostVersion = 2300;
    Open(settings);
    EXPECT_EQ(Report(*session, 2),
              "vendor=Quorrin Sound product=vsthost version=2300 rate=44100 block=100");
    EXPECT_EQ(HostSession::HostCallback(nullptr, audioMasterCanDo, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(HostSession::HostCallback(nullptr, audioMasterIOChanged, 0, 0, nullptr, 0.0f), 1);
    EXPECT_EQ(HostSession::HostCallback(nullptr, audioMasterGetVendorString, 0, 0, nullptr, 0.0f),
              1);
}

TEST(HostSession, CallbackWithoutSessionAnswersZero)
{
    EXPECT_EQ(HostSession::HostCallback(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f), 0);
    EXPECT_EQ(HostSession::HostCallback(nullptr, audioMasterGetTime, 0, 0, nullptr, 0.0f), 0);
}

TEST(HostSession, OpenReportsEachFailure)
{
    std::string error;
    HostSettings tooOld;
    tooOld.hostVersion = 0;
    EXPECT_EQ(HostSession(tooOld).Open(VRN_FAKE_PLUGIN, error), OpenResult::NoEffect);
    HostSettings wrongMagic;
    wrongMagic.hostVersion = 1;
    EXPECT_EQ(HostSession(wrongMagic).Open(VRN_FAKE_PLUGIN, error), OpenResult::BadMagic);
    EXPECT_EQ(HostSession({}).Open(VRN_FAKE_PLUGIN_NO_ENTRY, error), OpenResult::NoEntry);
    error.clear();
    EXPECT_EQ(HostSession({}).Open(std::string(VRN_TEST_WORK_DIR) + "/missing.so", error),
              OpenResult::LoadFailed);
    EXPECT_FALSE(error.empty());
    // A failed open leaves no session behind that would capture the callback.
    HostSession fallback({});
    EXPECT_EQ(fallback.Open(VRN_FAKE_PLUGIN_MAIN_ONLY, error), OpenResult::Ok) << error;
}

TEST(HostSession, SessionsOpenAtOnceAnswerEachFromItsOwnSettings)
{
    HostSettings small;
    small.maxBlockSize = 100;
    HostSettings large;
    large.maxBlockSize = 200;
    large.product = "second";
    std::string error;
    HostSession first(small);
    ASSERT_EQ(first.Open(VRN_FAKE_PLUGIN, error), OpenResult::Ok) << error;
    HostSession second(large);
    ASSERT_EQ(second.Open(VRN_FAKE_PLUGIN, error), OpenResult::Ok) << error;
    EXPECT_TRUE(Contains(Report(first, 2), "product=vsthost version=2400 rate=48000 block=100"));
    EXPECT_TRUE(Contains(Report(second, 2), "product=second version=2400 rate=48000 block=200"));
    // Each instance's transport is its own.
    ASSERT_TRUE(first.ProcessSilence(300, error)) << error;
    EXPECT_TRUE(Contains(Report(first, 1), "time: pos=300 "));
    EXPECT_TRUE(Contains(Report(second, 1), "time: pos=0 "));
    // A call that names no record is ambiguous while two are open, and answered by the only
    // session left once the other closes.
    EXPECT_EQ(HostSession::HostCallback(nullptr, audioMasterGetBlockSize, 0, 0, nullptr, 0.0f), 0);
    first.Close();
    EXPECT_EQ(HostSession::HostCallback(nullptr, audioMasterGetBlockSize, 0, 0, nullptr, 0.0f),
              200);
}

TEST_F(OpenSession, FindsParametersByIndexOrExactName)
{
    Open();
    EXPECT_EQ(session->FindParameter("Gain"), 0);
    EXPECT_EQ(session->FindParameter("Latency"), 1);
    EXPECT_EQ(session->FindParameter("1"), 1);
    EXPECT_EQ(session->FindParameter("2"), -1);
    EXPECT_EQ(session->FindParameter("gain"), -1);
    EXPECT_EQ(session->FindParameter(""), -1);
    EXPECT_EQ(session->FindParameter("-1"), -1);
}

TEST_F(OpenSession, RenderSplitsBlocksAndAdvancesTransport)
{
    HostSettings settings;
    settings.maxBlockSize = 256;
    Open(settings);
    session->SetParameter(0, 0.25f);
    std::vector<double> left(1000);
    std::vector<double> right(1000);
    for (std::size_t i = 0; i < 1000; ++i)
    {
        left[i] = static_cast<double>(i) / 1000.0;
        right[i] = -0.5;
    }
    std::vector<std::vector<double>> out;
    std::string error;
    ASSERT_TRUE(session->Render({left.data(), right.data()}, 1000, out, error)) << error;
    ASSERT_EQ(out.size(), 2u);
    ASSERT_EQ(out[0].size(), 1000u);
    for (std::size_t i = 0; i < 1000; ++i)
    {
        EXPECT_FLOAT_EQ(static_cast<float>(out[0][i]), static_cast<float>(left[i] * 0.5));
        EXPECT_EQ(out[1][i], -0.25);
    }
    EXPECT_EQ(session->SamplePosition(), 1000.0);
    EXPECT_TRUE(Contains(Report(*session, 0),
                         "blocks=4 last=232 max=256 suspended=0 aliased=0 lastpos=768"));
}

TEST_F(OpenSession, NullInputsAreSilenceAndDoublePrecisionIsExact)
{
    HostSettings settings;
    settings.precision = ProcessPrecision::Double;
    Open(settings);
    const std::vector<double> left = {0.1, 0.2, 1.0 / 3.0};
    std::vector<std::vector<double>> out;
    std::string error;
    ASSERT_TRUE(session->Render({left.data(), nullptr}, 3, out, error)) << error;
    EXPECT_EQ(out[0], left);
    EXPECT_EQ(out[1], std::vector<double>(3, 0.0));
    EXPECT_TRUE(Contains(Report(*session, 0), "precision=double"));
    EXPECT_FALSE(session->Render({left.data()}, 3, out, error));
}

TEST_F(OpenSession, OutputsStartZeroedOnEveryBlock)
{
    HostSettings settings;
    settings.maxBlockSize = 4;
    Open(settings);
    const std::vector<double> ones(8, 1.0);
    std::vector<std::vector<double>> out;
    std::string error;
    ASSERT_TRUE(session->Render({ones.data(), ones.data()}, 8, out, error)) << error;
    EXPECT_EQ(out[0], ones);
    // At gain 0 the fake plug-in writes nothing: stale samples would show through here.
    session->SetParameter(0, 0.0f);
    ASSERT_TRUE(session->Render({ones.data(), ones.data()}, 8, out, error)) << error;
    EXPECT_EQ(out[0], std::vector<double>(8, 0.0));
    EXPECT_EQ(out[1], std::vector<double>(8, 0.0));
}

TEST_F(OpenSession, RawCloseEndsTheInstance)
{
    Open();
    std::string text;
    session->DispatchWithScratch(effMainsChanged, 0, 0, 0.0f, text);
    EXPECT_FALSE(session->IsResumed());
    session->DispatchWithScratch(effClose, 0, 0, 0.0f, text);
    EXPECT_FALSE(session->IsOpen());
    std::string error;
    EXPECT_FALSE(session->ProcessSilence(10, error));
    EXPECT_EQ(session->Dispatch(effGetVstVersion), 0);
    session->Close();
}

TEST(MapInputChannels, MonoFeedsBothInputsOfAStereoPlugin)
{
    const std::vector<std::vector<double>> mono = {{1.0}};
    const std::vector<const double*> stereo = MapInputChannels(mono, 2);
    ASSERT_EQ(stereo.size(), 2u);
    EXPECT_EQ(stereo[0], mono[0].data());
    EXPECT_EQ(stereo[1], mono[0].data());
    // Other mismatches: missing inputs get silence, extra file channels are dropped.
    const std::vector<const double*> three = MapInputChannels(mono, 3);
    EXPECT_EQ(three, (std::vector<const double*>{mono[0].data(), nullptr, nullptr}));
    const std::vector<std::vector<double>> quad(4, std::vector<double>(1));
    const std::vector<const double*> two = MapInputChannels(quad, 2);
    EXPECT_EQ(two, (std::vector<const double*>{quad[0].data(), quad[1].data()}));
    EXPECT_TRUE(MapInputChannels(quad, 0).empty());
}

} // namespace
} // namespace vrn
