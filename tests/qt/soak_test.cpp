// A long run on the real window against the real vqgen-services: many presses, one
// export. 1.html holds every snippet in order and one notice, and memory stays
// within a bound proportional to the page. VQGEN_SOAK_PRESSES sets the number of
// presses (500 by default; make soak runs 10,000).
#include <QPushButton>
#include <QtTest>

#include <fstream>
#include <optional>
#include <vector>

#include "app/main_window.h"
#include "app/press_queue.h"
#include "app/program_state.h"
#include "app/qt/window.h"
#include "app/start.h"
#include "qt/relocated_main.h"
#include "support/loopback.h"
#include "support/relocate.h"
#include "support/resident_memory.h"
#include "support/services_process.h"
#include "text/program_texts.h"

namespace {

// The codes shown in the page, in page order.
std::vector<std::string> shown_codes(std::string_view page)
{
    const std::string_view label = gbk::snippet_after_date; // "</p>本次优惠码为"
    std::vector<std::string> codes;
    for (std::size_t at = page.find(label); at != std::string_view::npos; at = page.find(label, at + 1)) {
        const std::size_t begin = at + label.size();
        codes.emplace_back(page.substr(begin, page.find("</p>", begin) - begin));
    }
    return codes;
}

} // namespace

class SoakTest : public QObject {
    Q_OBJECT

private slots:
    void many_presses_then_one_export()
    {
        const char* configured = std::getenv("VQGEN_SOAK_PRESSES");
        const int presses = configured ? std::atoi(configured) : 500;
        ServicesProcess services(VQGEN_SERVICES_EXE, loopback_port);
        QVERIFY(services.running());
        QVERIFY(load_main_window(program_events()));
        QPointer<QWidget> window = main_window_widget();
        auto* generate = window->findChild<QPushButton*>(QStringLiteral("按钮1"));

        // The first press loads what stays for the run (libcurl and its libraries, the
        // fonts of the status line); growth is measured from there.
        std::vector<std::string> codes;
        long memory_before = 0;
        for (int i = 0; i < presses; ++i) {
            QTest::mouseClick(generate, Qt::LeftButton);
            QTRY_VERIFY_WITH_TIMEOUT(!press_in_flight(), 30000);
            codes.emplace_back(program.coupon_code.view());
            QCOMPARE(codes.back().size(), size_t(12));
            if (i == 0)
                memory_before = resident_kib();
        }
        QCOMPARE(program.generated_count, presses);
        const long growth_kib = resident_kib() - memory_before;
        const long page_kib = program.page_html.size() / 1024;
        qInfo("%d presses: page %ld KiB, memory growth %ld KiB", presses, page_kib, growth_kib);
        // It grows with the page, mostly by the box's own layout of it (about 18 bytes
        // a page byte at 10,000 presses), plus the heap's slack.
        if (memory_is_measured) // AddressSanitizer's quarantine and shadow would swamp the figure
            QVERIFY2(growth_kib < 4 * 1024 + 24 * page_kib, qPrintable(QString::number(growth_kib)));

        const std::string page(program.page_html.view());
        QTest::mouseClick(window->findChild<QPushButton*>(QStringLiteral("按钮2")), Qt::LeftButton);
        std::ifstream in(relocated::page_file(), std::ios::binary);
        const std::string saved(std::istreambuf_iterator<char>(in), {});
        QCOMPARE(saved.size(), page.size() + 381);
        QCOMPARE(saved, page + std::string(gbk::export_notice));
        QVERIFY(shown_codes(saved) == codes);
        QCOMPARE(saved.find("<div>"), page.size()); // one notice, at the end
        window->close();
        QTRY_VERIFY(window.isNull());
    }
};

int main(int argc, char** argv)
{
    return run_relocated_qt_test<SoakTest>(argc, argv);
}

#include "soak_test.moc"
