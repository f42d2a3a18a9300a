// Presses of the upper button against servers that misbehave on purpose. Each press
// completes in bounded time, the box and 1.html hold exactly the page's bytes, the
// window still works afterwards and memory stays bounded. This build of the core
// fetches with short limits: 2 s to connect, 2 s without a byte, 4 s in all.
#include <QPushButton>
#include <QtTest>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <optional>

#include "app/main_window.h"
#include "app/program_state.h"
#include "app/qt/window.h"
#include "app/start.h"
#include "qt/relocated_main.h"
#include "support/relocate.h"
#include "support/resident_memory.h"
#include "support/script_server.h"
#include "text/program_texts.h"

using namespace std::chrono_literals;

namespace {

constexpr std::uint16_t hostile_port = 18372;

std::string view(const Text& text) { return std::string(text.view()); }

enum Hostility { endless, trickle, unfinished_headers, reset_mid_body, long_content_length, redirect_loop,
                 redirect_elsewhere, gzip_body, binary_fields, huge_code };

std::vector<ScriptStep> script_for(Hostility hostility)
{
    const std::string head = "HTTP/1.0 200 OK\r\n\r\n";
    switch (hostility) {
    case endless:
        return {ScriptServer::reply(head + "{\"time\":\"x\",\"activity\":\"E"),
                ScriptServer::repeat_forever(std::string(65536, 'E'))};
    case trickle: {
        std::vector<ScriptStep> steps{ScriptServer::reply(head)};
        for (char c : std::string("{\"time\":\"slow\",\"activity\":\"TRICKLE\"}")) {
            steps.push_back(ScriptServer::reply(std::string(1, c)));
            steps.push_back(ScriptServer::pause_for(1s));
        }
        return steps;
    }
    case unfinished_headers:
        return {ScriptServer::reply("HTTP/1.0 200 OK\r\nContent-"), ScriptServer::pause_for(30s)};
    case reset_mid_body:
        return {ScriptServer::reply("HTTP/1.0 200 OK\r\nContent-Length: 500\r\n\r\n{\"time\":\"2016-07-31\",\"activity\":\"RESET\"}"),
                ScriptServer::pause_for(100ms), ScriptServer::reset_connection()};
    case long_content_length:
        return {ScriptServer::reply("HTTP/1.0 200 OK\r\nContent-Length: 9223372036854775808\r\n\r\n"
                                    "{\"time\":\"2016-07-31\",\"activity\":\"LONG\"}")};
    case redirect_loop:
        return {ScriptServer::reply(http_reply("302 Found", "", true, "Location: /loop\r\n"))};
    case redirect_elsewhere:
        return {ScriptServer::reply(http_reply("302 Found", "", true, "Location: file:///etc/passwd\r\n"))};
    case gzip_body:
        return {ScriptServer::reply(http_reply("200 OK", std::string("\x1f\x8b\x08\x00\x00\x00\x00\x00\x00\x03\xcb\x48\xcd", 13),
                                               true, "Content-Encoding: gzip\r\n"))};
    case huge_code: // one line of almost a megabyte in the box
        return {ScriptServer::reply(http_reply("200 OK", "{\"time\":\"x\",\"activity\":\"" + std::string(900000, 'M') + "\"}"))};
    case binary_fields:
        return {ScriptServer::reply(http_reply("200 OK", "{\"time\":\"\xFF\x80\x81\x22\x7F<b>\",\"activity\":\"\xFE\x01\x02\x81\"}"))};
    }
    return {};
}

} // namespace

class HostilePressTest : public QObject {
    Q_OBJECT

    QPointer<QWidget> window;

    void press() { QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("按钮1")), Qt::LeftButton); }

private slots:
    void initTestCase()
    {
        QVERIFY(load_main_window(program_events()));
        window = main_window_widget();
    }

    void press_completes_data()
    {
        QTest::addColumn<int>("hostility");
        QTest::newRow("endless body") << int(endless);
        QTest::newRow("one byte a second") << int(trickle);
        QTest::newRow("headers never finished") << int(unfinished_headers);
        QTest::newRow("reset in mid-body") << int(reset_mid_body);
        QTest::newRow("2^63 Content-Length, tiny body") << int(long_content_length);
        QTest::newRow("redirect loop") << int(redirect_loop);
        QTest::newRow("redirect to file:") << int(redirect_elsewhere);
        QTest::newRow("gzip body") << int(gzip_body);
        QTest::newRow("binary and invalid GBK fields") << int(binary_fields);
        QTest::newRow("code of 900,000 bytes") << int(huge_code);
    }

    void press_completes()
    {
        QFETCH(int, hostility);
        program = ProgramState{};
        write_control_text(Control::编辑框1, "");
        const long memory_before = resident_kib();
        {
            ScriptServer hostile(script_for(Hostility(hostility)), hostile_port);
            QVERIFY(hostile.listening());
            const auto started = std::chrono::steady_clock::now();
            press();
            QVERIFY(std::chrono::steady_clock::now() - started < 6s);
        }
        QCOMPARE(view(read_control_text(Control::编辑框1)), view(program.page_html));
        QVERIFY(program.page_html.view().starts_with("<img src=\"http://"));
        QVERIFY(program.page_html.view().ends_with("</p>"));
        QVERIFY(program.response_text.size() <= (1 << 20));
        // The reply is capped at 1 MiB, so one press adds at most a few MiB of page;
        // the box's layout of it is the largest part (about 30 bytes a byte here).
        const long growth_kib = resident_kib() - memory_before;
        if (memory_is_measured) // AddressSanitizer's quarantine and shadow would swamp the figure
            QVERIFY2(growth_kib < 16 * 1024 + 40 * program.page_html.size() / 1024,
                     qPrintable(QStringLiteral("grew by %1 KiB").arg(growth_kib)));

        // The window goes on working: a good reply adds the next snippet behind it.
        const std::string page_before = view(program.page_html);
        ScriptServer good({ScriptServer::reply(http_reply("200 OK", "{\"time\":\"2016-07-31\",\"activity\":\"GOOD\"}"))},
                          hostile_port);
        press();
        QCOMPARE(view(program.coupon_code), std::string("GOOD"));
        QVERIFY(view(program.page_html).starts_with(page_before));
        QCOMPARE(view(read_control_text(Control::编辑框1)), view(program.page_html));
        QCOMPARE(program.generated_count, 2);

        // The export writes exactly the box's bytes, whatever they are.
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("按钮2")), Qt::LeftButton);
        std::ifstream in(relocated::program_dir() / "1.html", std::ios::binary);
        const std::string saved(std::istreambuf_iterator<char>(in), {});
        QCOMPARE(saved, view(program.combined_page) + std::string(gbk::export_notice));
        QTRY_VERIFY(!relocated::opened_log().empty());
    }

    void cleanupTestCase()
    {
        window->close();
        QTRY_VERIFY(window.isNull());
    }
};

int main(int argc, char** argv)
{
    return run_relocated_qt_test<HostilePressTest>(argc, argv);
}

#include "hostile_press_test.moc"
