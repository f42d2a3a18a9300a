// The upper button on the real window, against a real loopback raffle peer.
#include <QPushButton>
#include <QtTest>

#include <optional>
#include <string>

#include "app/main_window.h"
#include "app/program_state.h"
#include "app/qt/window.h"
#include "app/start.h"
#include "codegen/generate.h"
#include "codegen/snippet.h"
#include "support/loopback.h"
#include "support/script_server.h"

namespace {

const std::string reply = "{\"time\":\"2016-07-31\",\"activity\":\"A1B2C3\"}";

// The snippet spelled out piece by piece, as the page must carry it.
std::string expected_snippet(const std::string& code_in_address, const std::string& date,
                             const std::string& code_shown)
{
    return "<img src=\"http://" + std::string(loopback_endpoint) + "/api.php?text=" + code_in_address +
           "\" alt=\"\" width=\"150\" height=\"150\" title=\"\" align=\"\" /><p>\r\n\t"
           "\xD3\xD0\xD0\xA7\xC6\xDA\xB5\xBD" + date + "</p>\xB1\xBE\xB4\xCE\xD3\xC5\xBB\xDD\xC2\xEB\xCE\xAA" +
           code_shown + "</p>";
}

std::string status_for(int count)
{
    return "\xB7\xB5\xBB\xD8\xD0\xC5\xCF\xA2\xA3\xBA\xB3\xC9\xB9\xA6\xC9\xFA\xB3\xC9" + std::to_string(count) +
           "\xB8\xF6VostrelQuilbe\xB6\xFE\xCE\xAC\xC2\xEB";
}

std::string view(const Text& text) { return std::string(text.view()); }

} // namespace

class GenerateTest : public QObject {
    Q_OBJECT

    QPointer<QWidget> window;
    std::optional<ScriptServer> raffle;

    void press() { QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("按钮1")), Qt::LeftButton); }
    void serve(const std::string& body)
    {
        raffle.reset();
        raffle.emplace(std::vector{ScriptServer::reply(http_reply("200 OK", body))}, loopback_port);
        QVERIFY(raffle->listening());
    }

private slots:
    void init()
    {
        program = ProgramState{};
        QVERIFY(load_main_window(program_events()));
        window = main_window_widget();
    }
    void cleanup()
    {
        raffle.reset();
        window->close();
        QTRY_VERIFY(window.isNull());
    }

    void three_presses_give_three_snippets()
    {
        serve(reply);
        for (int i = 0; i < 3; ++i)
            press();
        const std::string one = expected_snippet("A1B2C3", "2016-07-31", "A1B2C3");
        QCOMPARE(view(program.page_html), one + one + one);
        QCOMPARE(view(read_control_text(Control::编辑框1)), view(program.page_html));
        QCOMPARE(view(read_control_text(Control::透明标签1)), status_for(3));
        QCOMPARE(view(program.status_text), status_for(3));
        QCOMPARE(program.generated_count, 3);
        QCOMPARE(view(program.response_text), reply);
        QCOMPARE(view(program.valid_until), std::string("2016-07-31"));
        QCOMPARE(view(program.coupon_code), std::string("A1B2C3"));
        QCOMPARE(raffle->requests().size(), size_t(3));
        QVERIFY(raffle->requests()[0].starts_with("GET /api/cola/raffle?activityid=NA0371140216 HTTP/1.0\r\n"));
    }

    void unreachable_service_still_appends_and_counts()
    {
        serve(reply);
        press();
        raffle.reset(); // nothing listens any more
        press();
        QCOMPARE(view(program.page_html),
                 expected_snippet("A1B2C3", "2016-07-31", "A1B2C3") + expected_snippet("", "", ""));
        QCOMPARE(view(read_control_text(Control::透明标签1)), status_for(2));
        QVERIFY(program.response_text.empty());
    }

    void reply_with_only_the_code()
    {
        serve("{\"activity\":\"ZZ9\"}");
        press();
        QCOMPARE(view(program.page_html), expected_snippet("ZZ9", "", "ZZ9"));
        QCOMPARE(view(read_control_text(Control::透明标签1)), status_for(1));
    }

    void hostile_fields_are_inserted_safely()
    {
        serve("{\"time\":\"<script>x</script>\",\"activity\":\"a b+&\\\"<'\"}");
        press();
        const std::string page = view(program.page_html);
        QCOMPARE(page, expected_snippet("a%20b%2B%26%5C%22%3C%27", "&lt;script&gt;x&lt;/script&gt;",
                                        "a b+&amp;\\&quot;&lt;&#39;"));
        QCOMPARE(view(program.coupon_code), std::string("a b+&\\\"<'")); // the raw bytes are kept
    }

    void escaping_data()
    {
        QTest::addColumn<QByteArray>("code");
        QTest::addColumn<QByteArray>("in_address");
        QTest::addColumn<QByteArray>("shown");
        QTest::newRow("ordinary") << QByteArray("A1B2C3xyz-._~") << QByteArray("A1B2C3xyz-._~") << QByteArray("A1B2C3xyz-._~");
        QTest::newRow("space") << QByteArray("a b") << QByteArray("a%20b") << QByteArray("a b");
        QTest::newRow("plus") << QByteArray("a+b") << QByteArray("a%2Bb") << QByteArray("a+b");
        QTest::newRow("ampersand") << QByteArray("a&b") << QByteArray("a%26b") << QByteArray("a&amp;b");
        QTest::newRow("quote") << QByteArray("a\"b") << QByteArray("a%22b") << QByteArray("a&quot;b");
        QTest::newRow("less than") << QByteArray("<b>") << QByteArray("%3Cb%3E") << QByteArray("&lt;b&gt;");
        QTest::newRow("apostrophe") << QByteArray("it's") << QByteArray("it%27s") << QByteArray("it&#39;s");
        QTest::newRow("GBK") << QByteArray("\xD2\xFD\xBA\xC5") << QByteArray("%D2%FD%BA%C5") << QByteArray("\xD2\xFD\xBA\xC5");
    }

    void escaping()
    {
        QFETCH(QByteArray, code);
        QFETCH(QByteArray, in_address);
        QFETCH(QByteArray, shown);
        const std::string_view raw(code.constData(), size_t(code.size()));
        QCOMPARE(view(percent_encode(raw)), in_address.toStdString());
        QCOMPARE(view(escape_html(raw)), shown.toStdString());
        QCOMPARE(view(coupon_snippet(raw, raw)),
                 expected_snippet(in_address.toStdString(), shown.toStdString(), shown.toStdString()));
    }
};

QTEST_MAIN(GenerateTest)
#include "generate_test.moc"
