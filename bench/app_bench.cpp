// A fetch, a whole press at growing page sizes, and an export, each next to its
// floor: a bare libcurl GET, and writing and flushing the same bytes to a fresh file.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QWidget>

#include <fcntl.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include "app/main_window.h"
#include "app/press_queue.h"
#include "app/program_state.h"
#include "app/start.h"
#include "bench_env.h"
#include "bench_page.h"
#include "codegen/fetch.h"
#include "codegen/generate.h"
#include "codegen/snippet.h"
#include "export/export.h"
#include "export/run_directory.h"
#include "platform/platform.h"
#include "support/services_process.h"

namespace {

void bare_get(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(bare_curl_get(bench_raffle_url));
}

void fetch(benchmark::State& state)
{
    for (auto _ : state)
        benchmark::DoNotOptimize(fetch_raffle_reply());
}

// Presses at a page of about n snippets: the page is set back every 100 presses.
void press(benchmark::State& state)
{
    set_page(state.range(0));
    int since_reset = 0;
    for (auto _ : state) {
        on_generate_click();
        // The reply comes back to the window's thread as a queued call.
        while (press_in_flight())
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
        if (++since_reset == 100) {
            state.PauseTiming();
            set_page(state.range(0));
            since_reset = 0;
            state.ResumeTiming();
        }
    }
    state.counters["page_bytes"] = static_cast<double>(program.page_html.size());
}

// The same with the window hidden: the press's own work without the repaint that
// follows it, as a press was measured when the fetch ran on the window's thread.
void press_unpainted(benchmark::State& state)
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget* shown : windows)
        shown->hide();
    press(state);
    for (QWidget* shown : windows)
        shown->show();
}

// A 10 MB page of real snippets (one line break in each, as the program makes them).
std::string ten_megabytes()
{
    const Text one = coupon_snippet("A1B2C3D4E5F6", "2016-07-31");
    std::string page;
    while (page.size() + one.view().size() <= (10u << 20))
        page.append(one.view());
    return page;
}

void export_page(benchmark::State& state)
{
    const std::string page = ten_megabytes();
    for (auto _ : state) {
        state.PauseTiming();
        write_control_text(Control::编辑框1, page);
        state.ResumeTiming();
        on_export_click();
    }
    std::filesystem::remove(std::string(export_path().view()));
}

void write_fresh_file(benchmark::State& state)
{
    const std::string page = ten_megabytes();
    const std::string path = std::string(export_path().view()) + ".floor";
    for (auto _ : state) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        benchmark::DoNotOptimize(::write(fd, page.data(), page.size()));
        ::fsync(fd);
        ::close(fd);
        state.PauseTiming();
        ::unlink(path.c_str());
        state.ResumeTiming();
    }
}

} // namespace

BENCHMARK(bare_get)->Unit(benchmark::kMicrosecond);
BENCHMARK(fetch)->Unit(benchmark::kMicrosecond);
BENCHMARK(press)->Arg(0)->Arg(1000)->Arg(10000)->Unit(benchmark::kMicrosecond);
BENCHMARK(press_unpainted)->Arg(0)->Unit(benchmark::kMicrosecond);
BENCHMARK(write_fresh_file)->Unit(benchmark::kMillisecond);
BENCHMARK(export_page)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    prepare_bench_environment();
    platform::prepare_process(); // as start_program does
    ServicesProcess services(VQGEN_SERVICES_EXE, bench_port);
    if (!services.running()) {
        std::fprintf(stderr, "vqgen-services did not start on port %d\n", bench_port);
        return 1;
    }
    return run_benchmarks_with_window(argc, argv);
}
