// The lower button on the real window, writing real files in a program directory
// of the test's own (see support/relocate.h).
#include <QPushButton>
#include <QtTest>

#include <sys/resource.h>

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
#include "qt/relocated_main.h"
#include "support/loopback.h"
#include "support/relocate.h"
#include "support/script_server.h"
#include "text/program_texts.h"

namespace fs = std::filesystem;

namespace {

fs::path home() { return relocated::home(); }
fs::path program_dir() { return relocated::program_dir(); }
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
    std::string opened() { return relocated::opened_log(); }

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
    return run_relocated_qt_test<ExportTest>(argc, argv);
}

#include "export_test.moc"
