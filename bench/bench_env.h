// What the program benchmarks share: the stand-in services on the port that the
// benchmark build of the core has compiled in, and a desktop opener that does nothing.
#pragma once

#include <cstdint>
#include <string>

inline constexpr std::uint16_t bench_port = 18390;
inline constexpr const char* bench_raffle_url = "http://127.0.0.1:18390/api/cola/raffle?activityid=NA0371140216";

// Puts a do-nothing xdg-open first on PATH and makes Qt draw offscreen.
void prepare_bench_environment();

// One GET with libcurl alone, a fresh connection each time: the floor of a fetch.
std::string bare_curl_get(const char* url);
