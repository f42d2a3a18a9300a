// Process start to window shown (and closed at once), for the program and for a
// minimal Qt program, both offscreen.
#include <benchmark/benchmark.h>

#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>

extern char** environ;

namespace {

void run_to_end(benchmark::State& state, const char* executable)
{
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    for (auto _ : state) {
        const char* argv[] = {executable, nullptr};
        pid_t pid = 0;
        int status = -1;
        if (::posix_spawn(&pid, executable, nullptr, nullptr, const_cast<char**>(argv), environ) != 0 ||
            ::waitpid(pid, &status, 0) != pid || status != 0) {
            state.SkipWithError("probe failed");
            break;
        }
    }
}

} // namespace

BENCHMARK_CAPTURE(run_to_end, minimal_qt, VQGEN_MINIMAL_QT_PROBE)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(run_to_end, program, VQGEN_STARTUP_PROBE)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
