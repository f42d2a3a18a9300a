// The whole task against the real vqgen-services process: three presses, one
// export, and every QR image that 1.html points at decodes to its snippet's code.
// Under Wine the Windows program talks to the Linux stand-in like to any peer,
// and the images are decoded on the Linux side with zbarimg.
#include <regex>

#include "app/program_state.h"
#include "behaviour/behaviour.h"
#include "codegen/fetch.h"
#include "support/relocate.h"
#include "support/test_files.h"
#include "text/program_texts.h"

#if defined(_WIN32)
#include <windows.h>

#include <thread>
#else
#include "qr_decode.h"
#include "support/services_process.h"
#endif

namespace {

#if defined(_WIN32)
// Linux commands started from under Wine; their paths are Linux paths, reached
// from here through drive Z:.
const std::string shared_dir = "/tmp/vqgen-e2e-" + std::to_string(GetCurrentProcessId());
std::string from_windows(const std::string& linux_path)
{
    std::string path = "Z:" + linux_path;
    for (char& c : path)
        if (c == '/')
            c = '\\';
    return path;
}

bool run_linux(const std::string& shell_command)
{
    std::string command = "/bin/sh -c \"" + shell_command + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    if (!CreateProcessA(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process))
        return false;
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

// The stand-in runs until the test leaves a stop file beside its log.
struct Services {
    bool started = false;
    Services()
    {
        const char* executable = std::getenv("VQGEN_SERVICES_EXE");
        if (executable == nullptr)
            return;
        // A stop file left by an earlier run with the same process number would stop it at once.
        test_files::remove_tree(from_windows(shared_dir));
        test_files::make_directory(from_windows(shared_dir));
        std::string command = "'";
        command.append(executable).append("' --port ").append(std::to_string(behaviour_port));
        command.append(" >").append(shared_dir).append("/log 2>&1 & pid=$!; while [ ! -e ");
        command.append(shared_dir).append("/stop ]; do sleep 0.2; done; kill $pid");
        run_linux(command);
        started = driver::pump_until([] { return !http_get_bytes(std::string("http://") + behaviour_endpoint + "/").empty(); },
                                     std::chrono::seconds(20));
    }
    // Gone once its port answers no more, so that the next test can take the port.
    ~Services()
    {
        test_files::write(from_windows(shared_dir + "/stop"), "");
        driver::pump_until([] { return http_get_bytes(std::string("http://") + behaviour_endpoint + "/").empty(); },
                           std::chrono::seconds(20));
        test_files::remove_tree(from_windows(shared_dir));
    }
    bool running() const { return started; }
};

std::vector<std::string> qr_codes_in(const std::string& png)
{
    static int count = 0;
    const std::string image = shared_dir + "/code" + std::to_string(++count) + ".png";
    test_files::write(from_windows(image), png);
    test_files::remove_tree(from_windows(image + ".txt"));
    run_linux("zbarimg --raw -q " + image + " > " + image + ".part; mv " + image + ".part " + image + ".txt");
    driver::pump_until([&] { return test_files::exists(from_windows(image + ".txt")); }, std::chrono::seconds(20));
    std::string text = test_files::read(from_windows(image + ".txt"));
    std::vector<std::string> codes;
    for (std::size_t end = text.find('\n'); end != std::string::npos; end = text.find('\n')) {
        codes.push_back(text.substr(0, end));
        text.erase(0, end + 1);
    }
    return codes;
}
#else
struct Services : ServicesProcess {
    Services() : ServicesProcess(VQGEN_SERVICES_EXE, behaviour_port) {}
};

std::vector<std::string> qr_codes_in(const std::string& png)
{
    return scan_qr_codes(decode_png_grey(png));
}
#endif

} // namespace

TEST_F(Behaviour, ThreeCodesFromTheStandInExportedAndScannable)
{
    Services services;
    ASSERT_TRUE(services.running());
    for (int i = 0; i < 3; ++i)
        press();
    ASSERT_EQ(program.generated_count, 3);
    export_page();
    const std::string page = test_files::read(relocated::page_file());
    EXPECT_TRUE(page.ends_with(gbk::export_notice));

    // Each snippet: the image address, then the code as visible text.
    const std::regex snippet("<img src=\"(http://[^\"]+/api\\.php\\?text=([A-Z0-9]{12}))\"[^]*?"
                             "</p>\xB1\xBE\xB4\xCE\xD3\xC5\xBB\xDD\xC2\xEB\xCE\xAA([A-Z0-9]{12})</p>");
    int found = 0;
    for (std::sregex_iterator it(page.begin(), page.end(), snippet), end; it != end; ++it, ++found) {
        EXPECT_EQ(std::string((*it)[2]), std::string((*it)[3]));
        const Bytes png = http_get_bytes(std::string((*it)[1]));
        EXPECT_EQ(qr_codes_in(std::string(png.view())), std::vector<std::string>{std::string((*it)[3])});
    }
    EXPECT_EQ(found, 3);
    EXPECT_TRUE(driver::pump_until([] { return !relocated::opened_log().empty(); }));
    EXPECT_EQ(relocated::opened_log(), relocated::page_file() + "\n");
}
