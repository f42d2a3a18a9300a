#include "relocate.h"

#include <cstdlib>

#include "test_files.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#endif

namespace relocated {

namespace {
const char* const home_variable = "VQGEN_TEST_PROGRAM_HOME";
}

bool active()
{
    return std::getenv(home_variable) != nullptr;
}

std::string home()
{
    return std::getenv(home_variable);
}

std::string program_dir()
{
    return test_files::join(home(), program_folder);
}

std::string page_file()
{
    return test_files::join(program_dir(), "1.html");
}

std::string opened_log()
{
    return test_files::read(test_files::join(home(), "opened.log"));
}

#if defined(_WIN32)

const std::string program_folder = "\xD6\xD0 \xCE\xC4";

int run_copy(int, char**)
{
    char temporary[MAX_PATH] = {};
    GetTempPathA(sizeof temporary, temporary);
    const std::string root = std::string(temporary) + "vqgen-test-" + std::to_string(GetCurrentProcessId());
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string name = self;
    name = name.substr(name.find_last_of('\\') + 1);
    const std::string folder = test_files::join(root, program_folder);
    const std::string copy = test_files::join(folder, name);
    test_files::make_directory(root);
    test_files::make_directory(folder);
    if (!CopyFileA(self, copy.c_str(), FALSE))
        return 1;
    SetEnvironmentVariableA(home_variable, root.c_str());
    // The copy gets this process's own command line, whatever it asked for.
    std::string command = GetCommandLineA();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(copy.c_str(), command.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                        &process))
        return 1;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 1;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    test_files::remove_tree(root);
    return static_cast<int>(code);
}

#else

const std::string program_folder = "\xE4\xB8\xAD \xE6\x96\x87";

int run_copy(int, char** argv)
{
    namespace fs = std::filesystem;
    char pattern[] = "/tmp/vqgen-test-XXXXXX";
    if (::mkdtemp(pattern) == nullptr)
        return 1;
    const fs::path root(pattern);
    const fs::path copy = root / program_folder / fs::path(argv[0]).filename();
    fs::create_directories(root / program_folder);
    fs::create_directories(root / "bin");
    fs::copy_file("/proc/self/exe", copy);
    fs::permissions(copy, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                              fs::perms::others_read | fs::perms::others_exec);
    test_files::write((root / "bin" / "xdg-open").string(),
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

#endif

} // namespace relocated
