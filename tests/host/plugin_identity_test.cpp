// The AEffect a host receives and the dispatcher's default answers.
#include "tests/host/fake_host.h"

#include <gtest/gtest.h>

#include <cstring>

namespace vrn::test
{

TEST(PluginEntry, AEffectCarriesTheIdentity)
{
    Plugin plugin;
    ASSERT_NE(plugin.effect, nullptr);
    const AEffect& e = *plugin.effect;
    EXPECT_EQ(e.magic, kEffectMagic);
    EXPECT_EQ(e.numPrograms, 1);
    EXPECT_EQ(e.numParams, 10);
    EXPECT_EQ(e.numInputs, 2);
    EXPECT_EQ(e.numOutputs, 2);
    EXPECT_EQ(e.flags, 0x1031); // chunks, replacing, double replacing, editor
    EXPECT_EQ(e.uniqueID, ('V' << 24) | ('R' << 16) | ('N' << 8) | '2');
    EXPECT_EQ(e.version, 1);
    EXPECT_EQ(e.initialDelay, 0);
    EXPECT_EQ(e.ioRatio, 1.0f);
    EXPECT_EQ(e.realQualities, 0);
    EXPECT_EQ(e.offQualities, 0);
    EXPECT_EQ(e.user, nullptr);
    for (char c : e.future)
        EXPECT_EQ(c, 0);
}

TEST(PluginEntry, HostWithoutVersionGetsNoEffect)
{
    FakeHost host;
    host.version = 0;
    FakeHost::current = &host;
    EXPECT_EQ(CreateGatePlugin(&FakeHost::Callback), nullptr);
    EXPECT_EQ(CreateGatePlugin(nullptr), nullptr);
    FakeHost::current = nullptr;
}

TEST(PluginEntry, NamesAndVersions)
{
    Plugin plugin;
    EXPECT_EQ(plugin.Text(effGetEffectName), "VARNE Gate");
    EXPECT_EQ(plugin.Text(effGetVendorString), "Quorrin Sound");
    EXPECT_EQ(plugin.Text(effGetProductString), "VARNE Gate");
    EXPECT_EQ(plugin.Text(effGetProgramName), "VARNE Gate");
    EXPECT_EQ(plugin.Dispatch(effGetVendorVersion), 1000);
    EXPECT_EQ(plugin.Dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(plugin.Dispatch(effGetPlugCategory), 0);
    EXPECT_EQ(plugin.Dispatch(effIdentify), 0x4E764566);
    EXPECT_EQ(plugin.Dispatch(effCanBeAutomated, 3), 1);
    EXPECT_EQ(plugin.Dispatch(effCanBeAutomated, 99), 1);
    EXPECT_EQ(plugin.Dispatch(12345), 0);
}

TEST(PluginEntry, ProgramsAndProgramName)
{
    Plugin plugin;
    plugin.Dispatch(effSetProgram, 0, 1);
    EXPECT_EQ(plugin.Dispatch(effGetProgram), 0);
    plugin.Dispatch(effSetProgram, 0, -1);
    EXPECT_EQ(plugin.Dispatch(effGetProgram), 0);

    char name[] = "My Drums";
    plugin.Dispatch(effSetProgramName, 0, 0, name);
    EXPECT_EQ(plugin.Text(effGetProgramName), "My Drums");

    // A long name is kept whole but handed out within the 24-byte program-name buffer.
    std::string longName(100, 'x');
    plugin.Dispatch(effSetProgramName, 0, 0, longName.data());
    EXPECT_EQ(plugin.Text(effGetProgramName), std::string(23, 'x'));

    char untouched[8] = "keep";
    EXPECT_EQ(plugin.Dispatch(effGetProgramNameIndexed, 0, 0, untouched), 0);
    EXPECT_STREQ(untouched, "keep");
}

TEST(PluginEntry, CanDoAnswers)
{
    Plugin plugin;
    char midi[] = "receiveVstMidiEvent";
    char events[] = "receiveVstEvents";
    EXPECT_EQ(plugin.Dispatch(effCanDo, 0, 0, midi), plugin.effect->flags | 0x100);
    EXPECT_EQ(plugin.Dispatch(effCanDo, 0, 0, events), -1);
    EXPECT_EQ(plugin.Dispatch(effCanDo, 0, 0, nullptr), 0);
}

TEST(PluginEntry, ResumeSendsNoMidiRequest)
{
    Plugin plugin;
    plugin.Dispatch(effMainsChanged, 0, 0);
    plugin.Dispatch(effMainsChanged, 0, 1);
    EXPECT_EQ(plugin.host.Count(audioMasterWantMidi), 0);
}

TEST(PluginEntry, NullPointersAndBadIndexesAreHarmless)
{
    Plugin plugin;
    for (int32 opcode :
         {effGetParamName, effGetParamDisplay, effGetParamLabel, effGetProgramName,
          effSetProgramName, effGetEffectName, effGetVendorString, effGetProductString, effGetChunk,
          effEditGetRect, effProcessEvents, effGetProgramNameIndexed})
        EXPECT_EQ(plugin.Dispatch(opcode, 0, 0, nullptr), 0) << opcode;

    EXPECT_EQ(plugin.Dispatch(effSetChunk, 0, 100, nullptr), 0);
    EXPECT_EQ(plugin.Dispatch(effSetChunk, 0, -4, nullptr), 0);
    for (int32 index : {-1, 10, 64, 1 << 30})
    {
        EXPECT_EQ(plugin.Text(effGetParamName, index), "");
        EXPECT_EQ(plugin.Text(effGetParamDisplay, index), "");
        EXPECT_EQ(plugin.Get(index), 0.0f);
        plugin.Set(index, 0.5f);
    }
    EXPECT_EQ(plugin.effect->getParameter(nullptr, 0), 0.0f);
    plugin.effect->setParameter(nullptr, 0, 1.0f);
    EXPECT_EQ(plugin.effect->dispatcher(nullptr, effGetVendorVersion, 0, 0, nullptr, 0.0f), 0);

    // Null buffers or negative frame counts process nothing.
    plugin.effect->processReplacing(plugin.effect, nullptr, nullptr, 64);
    plugin.effect->processDoubleReplacing(plugin.effect, nullptr, nullptr, 64);
    float* none[2] = {nullptr, nullptr};
    plugin.effect->processReplacing(plugin.effect, none, none, 64);
    std::vector<float> l(8, 0.5f), r(8, 0.5f);
    float* io[2] = {l.data(), r.data()};
    plugin.effect->processReplacing(plugin.effect, io, io, -8);
    EXPECT_EQ(l[0], 0.5f);
}

TEST(PluginEntry, DeprecatedProcessLeavesOutputsAlone)
{
    Plugin plugin;
    std::vector<float> l(16, 0.25f), r(16, 0.25f);
    float* io[2] = {l.data(), r.data()};
    plugin.effect->process(plugin.effect, io, io, 16);
    EXPECT_EQ(l[7], 0.25f);
    EXPECT_EQ(r[15], 0.25f);
}

TEST(PluginEntry, EditorReportsItsSize)
{
    Plugin plugin;
    ERect* rect = nullptr;
    ASSERT_EQ(plugin.Dispatch(effEditGetRect, 0, 0, &rect), 1);
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 500);
    EXPECT_EQ(rect->right, 450);
}

TEST(PluginEntry, CallsBeforeOpenAreSafe)
{
    FakeHost host;
    FakeHost::current = &host;
    AEffect* effect = CreateGatePlugin(&FakeHost::Callback);
    ASSERT_NE(effect, nullptr);
    std::vector<double> l(64, 0.1), r(64, 0.1);
    double* io[2] = {l.data(), r.data()};
    effect->processDoubleReplacing(effect, io, io, 64);
    effect->setParameter(effect, 5, 0.5f);
    void* data = nullptr;
    EXPECT_EQ(effect->dispatcher(effect, effGetChunk, 0, 0, &data, 0.0f), 260);
    EXPECT_EQ(effect->dispatcher(effect, effClose, 0, 0, nullptr, 0.0f), 1);
    FakeHost::current = nullptr;
}

} // namespace vrn::test
