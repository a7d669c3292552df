#pragma once
// Switches the native stub's fake windows on for one test and collects their log.

#include "tests/support/test_window.h"

#include <string>
#include <vector>

namespace vrn::testing
{

/// Fake windows on from construction to destruction; every window call lands in `log`.
struct FakeWindows
{
    std::vector<std::string> log;

    FakeWindows() { editor_platform::StartFakeWindows(&log); }
    FakeWindows(const FakeWindows&) = delete;
    FakeWindows& operator=(const FakeWindows&) = delete;
    ~FakeWindows() { editor_platform::StopFakeWindows(); }

    /// The log so far, emptied.
    std::vector<std::string> take()
    {
        std::vector<std::string> taken;
        taken.swap(log);
        return taken;
    }
};

} // namespace vrn::testing
