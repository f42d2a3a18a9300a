#include "bench_env.h"

#include <curl/curl.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace {

size_t append(char* data, size_t size, size_t count, void* body)
{
    static_cast<std::string*>(body)->append(data, size * count);
    return size * count;
}

} // namespace

void prepare_bench_environment()
{
    static const std::filesystem::path bin = std::filesystem::temp_directory_path() / "vqgen-bench-bin";
    std::filesystem::create_directories(bin);
    std::ofstream(bin / "xdg-open") << "#!/bin/sh\nexit 0\n";
    std::filesystem::permissions(bin / "xdg-open", std::filesystem::perms::owner_all);
    ::setenv("PATH", (bin.string() + ":" + std::getenv("PATH")).c_str(), 1);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
}

std::string bare_curl_get(const char* url)
{
    std::string body;
    CURL* easy = curl_easy_init();
    curl_easy_setopt(easy, CURLOPT_URL, url);
    curl_easy_setopt(easy, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_0));
    curl_easy_setopt(easy, CURLOPT_FRESH_CONNECT, 1L);
    curl_easy_setopt(easy, CURLOPT_FORBID_REUSE, 1L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, append);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, &body);
    curl_easy_perform(easy);
    curl_easy_cleanup(easy);
    return body;
}
