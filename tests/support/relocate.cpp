#include "relocate.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>

namespace fs = std::filesystem;

namespace relocated {

namespace {

const char* const home_variable = "VQGEN_TEST_PROGRAM_HOME";

void put(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

} // namespace

bool active()
{
    return std::getenv(home_variable) != nullptr;
}

fs::path home()
{
    return fs::path(std::getenv(home_variable));
}

fs::path program_dir()
{
    return home() / program_folder;
}

std::string opened_log()
{
    std::ifstream in(home() / "opened.log", std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

int run_copy(char** argv)
{
    char pattern[] = "/tmp/vqgen-test-XXXXXX";
    if (::mkdtemp(pattern) == nullptr)
        return 1;
    const fs::path root(pattern);
    const fs::path copy = root / program_folder / fs::path(argv[0]).filename();
    fs::create_directories(root / program_folder);
    fs::create_directories(root / "bin");
    fs::copy_file("/proc/self/exe", copy);
    fs::permissions(copy, fs::perms::owner_all);
    put(root / "bin" / "xdg-open",
        "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"" + (root / "opened.log").string() + "\"\n");
    fs::permissions(root / "bin" / "xdg-open", fs::perms::owner_all);
    ::setenv(home_variable, root.c_str(), 1);
    ::setenv("PATH", ((root / "bin").string() + ":" + std::getenv("PATH")).c_str(), 1);
    const pid_t child = ::fork();
    if (child == 0) {
        ::execv(copy.c_str(), argv);
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    fs::remove_all(root);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

} // namespace relocated
