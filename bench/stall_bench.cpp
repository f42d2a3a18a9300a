// The longest time the window's thread is busy during one press against a raffle
// peer that answers after 200 ms, at an empty page and at 10,000 snippets. A
// zero-interval timer runs whenever the loop is idle; the longest gap between its
// runs is the longest stall, against the goal of one frame (16 ms).
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>

#include <chrono>
#include <cstdio>

#include "app/main_window.h"
#include "app/press_queue.h"
#include "app/program_state.h"
#include "app/start.h"
#include "bench_env.h"
#include "bench_page.h"
#include "codegen/generate.h"
#include "codegen/snippet.h"
#include "support/script_server.h"

namespace {

constexpr std::uint16_t slow_port = 18392;

void press_stall(benchmark::State& state)
{
    QTimer idle;
    idle.setInterval(0);
    QElapsedTimer since_idle;
    qint64 longest_ns = 0;
    bool measuring = false;
    QObject::connect(&idle, &QTimer::timeout, [&] {
        if (measuring)
            longest_ns = std::max(longest_ns, since_idle.nsecsElapsed());
        since_idle.restart();
    });
    idle.start();
    for (auto _ : state) {
        set_page(state.range(0));
        QCoreApplication::processEvents();
        longest_ns = 0;
        measuring = true;
        since_idle.restart();
        on_generate_click();
        while (press_in_flight())
            QCoreApplication::processEvents(QEventLoop::AllEvents);
        QCoreApplication::processEvents(); // the idle timer's run after the reply
        measuring = false;
        state.SetIterationTime(static_cast<double>(longest_ns) / 1e9);
    }
    idle.stop();
}

} // namespace

BENCHMARK(press_stall)->Arg(0)->Arg(10000)->UseManualTime()->Iterations(20)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    prepare_bench_environment();
    ScriptServer slow({ScriptServer::pause_for(std::chrono::milliseconds(200)),
                       ScriptServer::reply(http_reply("200 OK", "{\"time\":\"2016-07-31\",\"activity\":\"A1B2C3D4E5F6\"}"))},
                      slow_port);
    if (!slow.listening()) {
        std::fprintf(stderr, "nothing listens on port %d\n", slow_port);
        return 1;
    }
    return run_benchmarks_with_window(argc, argv);
}
