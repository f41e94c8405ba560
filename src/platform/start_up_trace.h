#pragma once

namespace zorvia::platform {

// Start-up phases for the start-up benchmark. When the environment variable
// ZORVIA_START_UP_TRACE holds a time of the monotonic clock in nanoseconds
// (the moment the benchmark started the process), each call prints
// "start-up <phase> <milliseconds since then>" on the error output, followed
// by "start-up-cpu <phase> <the process's CPU time in milliseconds>";
// without it a call does nothing.
void startUpPhase(const char* phase);

} // namespace zorvia::platform
