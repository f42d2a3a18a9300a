// The whole task against the real vqgen-services process: three presses, one
// export, and every QR image that 1.html points at decodes to its snippet's code.
#include <QPushButton>
#include <QtTest>

#include <filesystem>
#include <fstream>
#include <optional>
#include <regex>

#include "app/main_window.h"
#include "app/program_state.h"
#include "app/qt/window.h"
#include "app/start.h"
#include "codegen/fetch.h"
#include "qr_decode.h"
#include "qt/relocated_main.h"
#include "support/loopback.h"
#include "support/relocate.h"
#include "support/services_process.h"
#include "text/program_texts.h"

class EndToEndTest : public QObject {
    Q_OBJECT

    std::optional<ServicesProcess> services;
    QPointer<QWidget> window;

    void click(const char* name)
    {
        QTest::mouseClick(window->findChild<QPushButton*>(QString::fromUtf8(name)), Qt::LeftButton);
    }

private slots:
    void initTestCase()
    {
        services.emplace(VQGEN_SERVICES_EXE, loopback_port);
        QVERIFY(services->running());
        QVERIFY(load_main_window(program_events()));
        window = main_window_widget();
    }

    void three_codes_exported_and_scannable()
    {
        for (int i = 0; i < 3; ++i)
            click("按钮1");
        QVERIFY(!program.coupon_code.empty());
        click("按钮2");
        const std::filesystem::path page_file = relocated::program_dir() / "1.html";
        std::ifstream in(page_file, std::ios::binary);
        const std::string page(std::istreambuf_iterator<char>(in), {});
        QVERIFY(page.ends_with(gbk::export_notice));

        // Each snippet: the image address, then the code as visible text.
        const std::regex snippet("<img src=\"(http://[^\"]+/api\\.php\\?text=([A-Z0-9]{12}))\"[^]*?"
                                 "</p>\xB1\xBE\xB4\xCE\xD3\xC5\xBB\xDD\xC2\xEB\xCE\xAA([A-Z0-9]{12})</p>");
        int found = 0;
        for (std::sregex_iterator it(page.begin(), page.end(), snippet), end; it != end; ++it, ++found) {
            const std::string address = (*it)[1];
            QCOMPARE(std::string((*it)[2]), std::string((*it)[3]));
            const Bytes png = http_get_bytes(address);
            const std::vector<std::string> codes = scan_qr_codes(decode_png_grey(png.view()));
            QCOMPARE(codes.size(), size_t(1));
            QCOMPARE(codes[0], std::string((*it)[3]));
        }
        QCOMPARE(found, 3);
        QTRY_COMPARE(relocated::opened_log(), page_file.string() + "\n");
    }

    void cleanupTestCase()
    {
        window->close();
        QTRY_VERIFY(window.isNull());
        services.reset();
    }
};

int main(int argc, char** argv)
{
    return run_relocated_qt_test<EndToEndTest>(argc, argv);
}

#include "end_to_end_test.moc"
