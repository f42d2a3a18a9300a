// Peak resident memory after many presses, next to the program right after start-up.
// usage: memory_probe [presses]   (10,000 by default)
#include <QApplication>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>

#include "app/main_window.h"
#include "app/press_queue.h"
#include "app/program_state.h"
#include "app/start.h"
#include "bench_env.h"
#include "codegen/generate.h"
#include "codegen/snippet.h"
#include "platform/platform.h"
#include "support/resident_memory.h"
#include "support/services_process.h"

namespace {

long peak_kib()
{
    rusage usage{};
    ::getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

} // namespace

int main(int argc, char** argv)
{
    const int presses = argc > 1 ? std::atoi(argv[1]) : 10000;
    prepare_bench_environment();
    platform::prepare_process(); // as start_program does
    ServicesProcess services(VQGEN_SERVICES_EXE, bench_port + 1);
    if (!services.running())
        return 1;
    QApplication app(argc, argv);
    if (!load_main_window(program_events()))
        return 1;
    const long after_start = resident_kib();
    for (int i = 0; i < presses; ++i) {
        on_generate_click();
        while (press_in_flight()) // the reply comes back as a queued call
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    const long peak = peak_kib();
    const double page_kib = program.page_html.size() / 1024.0;
    const double growth = static_cast<double>(peak - after_start);
    std::printf("memory: presses=%d page_kib=%.0f rss_after_start_kib=%ld peak_kib=%ld growth_kib=%.0f "
                "growth_per_page_byte=%.2f\n",
                presses, page_kib, after_start, peak, growth, page_kib > 0 ? growth / page_kib : 0.0);
    return program.generated_count == presses ? 0 : 1;
}
