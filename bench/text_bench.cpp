// search_text and extract_between over large replies, next to glibc memmem on the
// same bytes. The marker stands only at the very end, so every byte is walked.
#include <benchmark/benchmark.h>

#include <cstring>
#include <random>
#include <string>

#include "text/extract.h"
#include "text/program_texts.h"
#include "text/search.h"

namespace {

// Printable ASCII, or the same with every fourth character a GBK pair.
std::string make_reply(std::size_t size, bool with_gbk)
{
    std::mt19937 random(7);
    std::string text;
    text.reserve(size + 64);
    while (text.size() < size) {
        if (with_gbk && random() % 4 == 0) {
            text.push_back(static_cast<char>(0xB0 + random() % 0x40));
            text.push_back(static_cast<char>(0xA1 + random() % 0x5E));
        } else {
            text.push_back(static_cast<char>(' ' + random() % 95));
        }
    }
    text.resize(size);
    return text + "{\"time\":\"2016-07-31\",\"activity\":\"A1B2C3\"}";
}

const std::string& reply(std::size_t mib, bool with_gbk)
{
    static std::string cache[2][65];
    std::string& text = cache[with_gbk][mib];
    if (text.empty())
        text = make_reply(mib << 20, with_gbk);
    return text;
}

void search_text_bench(benchmark::State& state, bool with_gbk)
{
    const std::string& text = reply(static_cast<std::size_t>(state.range(0)), with_gbk);
    for (auto _ : state)
        benchmark::DoNotOptimize(search_text(text, gbk::code_start_marker, 1, false));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void memmem_bench(benchmark::State& state, bool with_gbk)
{
    const std::string& text = reply(static_cast<std::size_t>(state.range(0)), with_gbk);
    const std::string_view marker = gbk::code_start_marker;
    for (auto _ : state)
        benchmark::DoNotOptimize(::memmem(text.data(), text.size(), marker.data(), marker.size()));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

void extract_between_bench(benchmark::State& state, bool with_gbk)
{
    const std::string& text = reply(static_cast<std::size_t>(state.range(0)), with_gbk);
    for (auto _ : state)
        benchmark::DoNotOptimize(extract_between(text, gbk::code_start_marker, gbk::code_end_marker, 0, false));
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * text.size()));
}

} // namespace

BENCHMARK_CAPTURE(search_text_bench, ascii, false)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(memmem_bench, ascii, false)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(search_text_bench, gbk, true)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(memmem_bench, gbk, true)->Arg(1)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(extract_between_bench, ascii, false)->Arg(64)->Unit(benchmark::kMillisecond);
BENCHMARK_CAPTURE(extract_between_bench, gbk, true)->Arg(64)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
