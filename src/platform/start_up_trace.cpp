#include "platform/start_up_trace.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace zorvia::platform {

namespace {

// The origin of the trace in nanoseconds of the monotonic clock, or a
// negative value when there is no trace.
long long traceOrigin() {
    const char* value = std::getenv("ZORVIA_START_UP_TRACE");
    if (value == nullptr || *value == '\0')
        return -1;
    return std::strtoll(value, nullptr, 10);
}

} // namespace

void startUpPhase(const char* phase) {
    static const long long origin = traceOrigin();
    if (origin < 0)
        return;
    const long long now = std::chrono::duration_cast<std::chrono::nanoseconds>(
                              std::chrono::steady_clock::now().time_since_epoch())
                              .count();
    timespec cpu{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &cpu);
    std::fprintf(stderr, "start-up %s %.1f\nstart-up-cpu %s %.1f\n", phase,
                 double(now - origin) / 1e6, phase,
                 double(cpu.tv_sec) * 1e3 + double(cpu.tv_nsec) / 1e6);
    std::fflush(stderr);
}

} // namespace zorvia::platform
