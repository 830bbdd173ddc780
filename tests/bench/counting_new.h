#pragma once
// The memory benchmarks' count of what the program's logic allocates: every operator new of
// the process goes through counting_new.cpp, so a peak taken around a run is that run's own,
// whatever the system underneath keeps.
#include <cstddef>

namespace bench {

// Bytes handed out by operator new and not yet deleted.
size_t InUse();
// The most that was in use at once since the last StartPeak.
size_t Peak();
// Starts a new peak from what is in use now.
void StartPeak();

}  // namespace bench
