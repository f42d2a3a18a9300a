// What the benchmarks on the program's window share: the window itself, and a page
// of n real snippets in the program's state and in the box.
#pragma once

#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdint>
#include <string>

#include "app/main_window.h"
#include "app/program_state.h"
#include "app/start.h"
#include "codegen/snippet.h"

// Runs the registered benchmarks with the program's window loaded; the exit status.
inline int run_benchmarks_with_window(int argc, char** argv)
{
    QApplication app(argc, argv);
    if (!load_main_window(program_events()))
        return 1;
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

inline void set_page(std::int64_t snippets)
{
    const Text one = coupon_snippet("A1B2C3D4E5F6", "2016-07-31");
    std::string page;
    page.reserve(static_cast<std::size_t>(snippets) * one.view().size());
    for (std::int64_t i = 0; i < snippets; ++i)
        page.append(one.view());
    program.page_html = Text(std::move(page));
    write_control_text(Control::编辑框1, program.page_html);
}
