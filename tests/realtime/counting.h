#pragma once
// The counters realtime_test.cpp keeps by replacing malloc, free and pthread_mutex_lock in this
// program: every test of it measures with them.

#include <atomic>

namespace vrn::realtime
{
/// Set while a measured call runs on this thread.
extern thread_local bool counting;
/// Allocations and frees made while counting.
extern std::atomic<int> allocations;
/// Mutex locks taken while counting.
extern std::atomic<int> locks;
} // namespace vrn::realtime
