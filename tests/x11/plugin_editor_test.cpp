// The real VarneGate.so's editor in a host's window: open and close a thousand times without
// leaving a window, a file descriptor or memory behind; two instances with editors at once; no
// editor without a display.
// GoogleTest before the X headers, whose macros (None, Status) would clash with its names.
#include <gtest/gtest.h>

#include "tests/x11/x11_fixture.h"
#include "tools/hosting/host_session.h"

#include <malloc.h>

#include <cstdlib>
#include <memory>
#include <string>

namespace vrn
{
namespace
{

using testing::HostDisplay;
using testing::OpenFileDescriptors;

std::unique_ptr<HostSession> OpenGate()
{
    auto session = std::make_unique<HostSession>(HostSettings{});
    std::string error;
    if (session->Open(VRN_PLUGIN_PATH, error) != OpenResult::Ok)
        ADD_FAILURE() << error;
    return session;
}

std::size_t HeapInUse()
{
    return mallinfo2().uordblks;
}

TEST(PluginEditor, AThousandOpensAndClosesLeaveNothingBehind)
{
    HostDisplay host;
    ASSERT_TRUE(host.isOpen()) << "this test needs an X display (run it under xvfb-run)";
    auto gate = OpenGate();
    auto cycle = [&]
    {
        ASSERT_EQ(gate->Dispatch(effEditOpen, 0, 0, host.handle()), 1);
        gate->Dispatch(effEditIdle); // paints the first frame
        gate->Dispatch(effEditClose);
    };
    // The first cycles fill what lives as long as the process (fonts, the drawing library's
    // caches, the images kept in the effect).
    for (int i = 0; i < 20; ++i)
        cycle();
    const int files = OpenFileDescriptors();
    const std::size_t heap = HeapInUse();
    for (int i = 0; i < 1000; ++i)
    {
        cycle();
        if (::testing::Test::HasFatalFailure())
            return;
    }
    EXPECT_EQ(host.childCount(), 0);
    EXPECT_EQ(OpenFileDescriptors(), files);
    // A leak of a single small block per cycle would show as at least 16 kB.
    EXPECT_LT(HeapInUse(), heap + 16 * 1024) << "heap grew from " << heap;
}

TEST(PluginEditor, TwoInstancesHaveTheirEditorsOpenAtOnce)
{
    HostDisplay first;
    HostDisplay second;
    ASSERT_TRUE(first.isOpen()) << "this test needs an X display (run it under xvfb-run)";
    auto a = OpenGate();
    auto b = OpenGate();
    ASSERT_EQ(a->Dispatch(effEditOpen, 0, 0, first.handle()), 1);
    ASSERT_EQ(b->Dispatch(effEditOpen, 0, 0, second.handle()), 1);
    for (int i = 0; i < 5; ++i)
    {
        a->Dispatch(effEditIdle);
        b->Dispatch(effEditIdle);
    }
    EXPECT_EQ(first.childCount(), 1);
    EXPECT_EQ(second.childCount(), 1);
    // Closing one leaves the other working.
    a->Dispatch(effEditClose);
    EXPECT_EQ(first.childCount(), 0);
    b->Dispatch(effEditIdle);
    EXPECT_EQ(second.childCount(), 1);
    b->Dispatch(effEditClose);
    EXPECT_EQ(second.childCount(), 0);
}

TEST(PluginEditor, WithoutADisplayTheEditorDoesNotOpenAndTheGateStillWorks)
{
    HostDisplay host; // the host's own window, made while there is a display
    ASSERT_TRUE(host.isOpen()) << "this test needs an X display (run it under xvfb-run)";
    const std::string display = std::getenv("DISPLAY");
    unsetenv("DISPLAY");
    auto gate = OpenGate();
    EXPECT_EQ(gate->Dispatch(effEditOpen, 0, 0, host.handle()), 0);
    EXPECT_EQ(gate->Dispatch(effEditOpen, 0, 0, nullptr), 0);
    gate->Dispatch(effEditIdle);
    gate->Dispatch(effEditClose);
    std::vector<std::vector<double>> outputs;
    std::string error;
    std::vector<double> silence(256, 0.0);
    EXPECT_TRUE(gate->Render({silence.data(), silence.data()}, silence.size(), outputs, error))
        << error;
    setenv("DISPLAY", display.c_str(), 1);
    EXPECT_EQ(host.childCount(), 0);
}

} // namespace
} // namespace vrn
