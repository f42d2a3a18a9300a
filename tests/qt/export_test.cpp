// The lower button on the real window, writing real files. The test runs from a
// copy of itself in a fresh program directory whose name has Chinese characters
// and a space, with a stand-in desktop opener on PATH that records its requests.
#include <QPushButton>
#include <QtTest>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>

#include "app/main_window.h"
#include "app/program_state.h"
#include "app/qt/window.h"
#include "app/start.h"
#include "support/loopback.h"
#include "support/script_server.h"
#include "text/program_texts.h"

namespace fs = std::filesystem;

namespace {

const char* const home_variable = "VQGEN_EXPORT_TEST_HOME";
const std::string program_folder = "\xE4\xB8\xAD \xE6\x96\x87"; // "中 文": a GBK walk would eat the '/'

fs::path home() { return fs::path(std::getenv(home_variable)); }
fs::path program_dir() { return home() / program_folder; }
fs::path page_file() { return program_dir() / "1.html"; }

std::string slurp(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void put(const fs::path& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary) << bytes;
}

// Everything in the program directory but the program itself.
std::set<std::string> leftovers()
{
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(program_dir()))
        if (entry.path().filename() != "export_test")
            names.insert(entry.path().filename().string());
    return names;
}

std::string view(const Text& text) { return std::string(text.view()); }

// Copies the test into a fresh program directory and runs it from there.
int run_relocated(char** argv)
{
    char pattern[] = "/tmp/vqgen-export-XXXXXX";
    if (::mkdtemp(pattern) == nullptr)
        return 1;
    const fs::path root(pattern);
    fs::create_directories(root / program_folder);
    fs::create_directories(root / "bin");
    fs::copy_file("/proc/self/exe", root / program_folder / "export_test");
    fs::permissions(root / program_folder / "export_test", fs::perms::owner_all);
    put(root / "bin" / "xdg-open", "#!/bin/sh\nprintf '%s\\n' \"$1\" >> \"" + (root / "opened.log").string() + "\"\n");
    fs::permissions(root / "bin" / "xdg-open", fs::perms::owner_all);
    ::setenv(home_variable, root.c_str(), 1);
    ::setenv("PATH", ((root / "bin").string() + ":" + std::getenv("PATH")).c_str(), 1);
    const pid_t child = ::fork();
    if (child == 0) {
        ::execv((root / program_folder / "export_test").c_str(), argv);
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    fs::remove_all(root);
    return WIFEXITED(status) ? WEXITSTATUS(status) : 1;
}

} // namespace

class ExportTest : public QObject {
    Q_OBJECT

    QPointer<QWidget> window;
    std::optional<ScriptServer> raffle;

    void click(const char* name) { QTest::mouseClick(window->findChild<QPushButton*>(QString::fromUtf8(name)), Qt::LeftButton); }
    void generate(int presses)
    {
        for (int i = 0; i < presses; ++i)
            click("按钮1");
    }
    std::string opened() { return slurp(home() / "opened.log"); }

private slots:
    void initTestCase()
    {
        raffle.emplace(std::vector{ScriptServer::reply(
                           http_reply("200 OK", "{\"time\":\"2016-07-31\",\"activity\":\"A1B2C3\"}"))},
                       loopback_port);
        QVERIFY(raffle->listening());
    }
    void init()
    {
        fs::create_directories(program_dir());
        for (const std::string& name : leftovers())
            fs::remove_all(program_dir() / name);
        fs::remove(home() / "opened.log");
        program = ProgramState{};
        QVERIFY(load_main_window(program_events()));
        window = main_window_widget();
    }
    void cleanup()
    {
        window->close();
        QTRY_VERIFY(window.isNull());
    }

    void three_codes_then_export()
    {
        generate(3);
        const std::string page = view(program.page_html);
        QCOMPARE(int(page.size()) > 0, true);
        click("按钮2");
        QCOMPARE(slurp(page_file()), page + std::string(gbk::export_notice));
        QCOMPARE(fs::file_size(page_file()), page.size() + 381);
        QTRY_COMPARE(opened(), page_file().string() + "\n");
        QCOMPARE(view(read_control_text(Control::编辑框1)), std::string());
        QCOMPARE(view(read_control_text(Control::透明标签1)), std::string(gbk::export_done));
        QCOMPARE(program.generated_count, 0);
        QVERIFY(program.page_html.empty());
        QCOMPARE(leftovers(), std::set<std::string>{"1.html"});
        generate(1); // a new batch counts from 1
        QCOMPARE(view(read_control_text(Control::透明标签1)).substr(gbk::status_prefix.size(), 1), std::string("1"));
    }

    void empty_box_gives_the_notice_over_a_longer_old_file()
    {
        put(page_file(), std::string(5000, 'o'));
        click("按钮2");
        QCOMPARE(slurp(page_file()), std::string(gbk::export_notice));
        QVERIFY(slurp(page_file()).ends_with("</div>"));
        QTRY_COMPARE(opened(), page_file().string() + "\n");
    }

    void failed_write_keeps_everything_data()
    {
        QTest::addColumn<int>("cause");
        QTest::newRow("1.html is a directory") << 0;
        QTest::newRow("write fails midway") << 1;
        QTest::newRow("program directory is gone") << 2; // last: it removes this test's own copy
    }

    void failed_write_keeps_everything()
    {
        QFETCH(int, cause);
        const std::string previous = "previous export";
        generate(2);
        const std::string page = view(program.page_html);
        if (cause == 0) {
            fs::create_directory(page_file());
        } else if (cause == 1) {
            put(page_file(), previous);
            std::signal(SIGXFSZ, SIG_IGN);
            const rlimit small{100, RLIM_INFINITY};
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &small), 0);
        } else {
            fs::remove_all(program_dir());
        }
        click("按钮2");
        if (cause == 1) {
            const rlimit unlimited{RLIM_INFINITY, RLIM_INFINITY};
            QCOMPARE(::setrlimit(RLIMIT_FSIZE, &unlimited), 0);
        }
        QCOMPARE(view(read_control_text(Control::透明标签1)), std::string(gbk::export_failed));
        QCOMPARE(view(read_control_text(Control::编辑框1)), page); // the box is put back
        QCOMPARE(view(program.page_html), page);
        QCOMPARE(program.generated_count, 0);
        QVERIFY(!fs::exists(home() / "opened.log"));
        if (cause == 0)
            QVERIFY(fs::is_directory(page_file()));
        if (cause == 1)
            QCOMPARE(slurp(page_file()), previous);
        if (cause != 2)
            QCOMPARE(leftovers(), std::set<std::string>{"1.html"}); // no stray temporary file
        else
            QVERIFY(!fs::exists(program_dir()));

        // Once the cause is gone, a retry saves the page with exactly one notice.
        if (cause == 0)
            fs::remove(page_file());
        if (cause == 2)
            fs::create_directories(program_dir());
        click("按钮2");
        QCOMPARE(view(read_control_text(Control::透明标签1)), std::string(gbk::export_done));
        QCOMPARE(slurp(page_file()), page + std::string(gbk::export_notice));
        QTRY_COMPARE(opened(), page_file().string() + "\n");
    }

    void a_press_after_a_failed_export_drops_the_notice()
    {
        generate(1);
        const std::string page = view(program.page_html);
        fs::create_directory(page_file());
        click("按钮2");
        generate(1);
        QCOMPARE(view(read_control_text(Control::编辑框1)), page + page);
        QCOMPARE(view(read_control_text(Control::透明标签1)).substr(gbk::status_prefix.size()),
                 "1" + std::string(gbk::status_suffix));
    }
};

int main(int argc, char** argv)
{
    if (std::getenv(home_variable) == nullptr)
        return run_relocated(argv);
    QApplication app(argc, argv);
    ExportTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "export_test.moc"
