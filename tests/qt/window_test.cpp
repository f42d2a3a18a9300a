// The Qt main window's own checks, offscreen: real widgets, real key presses. The
// key table and the created event are in the behaviour suite (tests/behaviour/).
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalSpy>
#include <QtTest>

#include "app/main_window.h"
#include "app/qt/window.h"
#include "text/program_texts.h"

namespace {

// These checks are about the window alone: its events do nothing.
void nothing() {}
const WindowEvents no_events{nothing, nothing, nothing, nullptr};

QString utf8(const char* s) { return QString::fromUtf8(s); }

} // namespace

class WindowTest : public QObject {
    Q_OBJECT

    QPointer<QWidget> window;
    QWidget* control(const char* name) { return window->findChild<QWidget*>(utf8(name)); }
    QPlainTextEdit* edit() { return window->findChild<QPlainTextEdit*>(utf8("编辑框1")); }
    QLabel* label() { return window->findChild<QLabel*>(utf8("透明标签1")); }

private slots:
    void init()
    {
        QVERIFY(load_main_window(no_events));
        window = main_window_widget();
        QVERIFY(window);
        QVERIFY(QTest::qWaitForWindowActive(window));
    }

    void cleanup()
    {
        if (window)
            window->close();
        QTRY_VERIFY(window.isNull()); // the window deletes itself on close
    }

    void edit_box_refuses_paste_cut_and_delete()
    {
        write_control_text(Control::编辑框1, "abc");
        edit()->setFocus();
        edit()->selectAll();
        QTest::keyClick(edit(), Qt::Key_X, Qt::ControlModifier);
        QTest::keyClick(edit(), Qt::Key_V, Qt::ControlModifier);
        QTest::keyClick(edit(), Qt::Key_Delete);
        QTest::keyClick(edit(), Qt::Key_Backspace);
        QCOMPARE(edit()->toPlainText(), QStringLiteral("abc"));
        QCOMPARE(read_control_text(Control::编辑框1).view(), std::string_view("abc"));
    }

    void round_trip_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("shown");
        QTest::newRow("CR LF") << QByteArray("one\r\ntwo\r\n") << QStringLiteral("one\ntwo\n");
        QTest::newRow("Chinese") << QByteArray("\xB7\xB5\xBB\xD8\xD0\xC5\xCF\xA2") << utf8("返回信息");
        QTest::newRow("invalid GBK kept") << QByteArray("a\x81\x20\xFF") << QString();
        QTest::newRow("empty") << QByteArray() << QString();
        QByteArray long_page;
        for (int i = 0; i < 400; ++i)
            long_page += "line " + QByteArray::number(i) + " of a page long enough to wrap in the box\r\n";
        QTest::newRow("long page") << long_page << QString();
    }

    void round_trip()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, shown);
        const std::string_view view(bytes.constData(), static_cast<size_t>(bytes.size()));
        write_control_text(Control::编辑框1, view);
        QCOMPARE(read_control_text(Control::编辑框1).view(), view);
        if (!shown.isNull())
            QCOMPARE(edit()->toPlainText(), shown);
        QCOMPARE(edit()->textCursor().position(), 0);
        QCOMPARE(edit()->verticalScrollBar()->value(), 0);
        QVERIFY(!edit()->textCursor().hasSelection());
    }

    // Writes that extend the box's text are appended on screen; what shows must be
    // what a single write of the whole text shows.
    void extending_writes_show_like_one_write_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<QByteArray>("rest");
        QTest::newRow("ASCII") << QByteArray("<p>one</p>") << QByteArray("<p>two</p>");
        QTest::newRow("cut inside a GBK character") << QByteArray("ab\xB7") << QByteArray("\xB5\xBB\xD8");
        QTest::newRow("cut inside CR LF") << QByteArray("one\r") << QByteArray("\ntwo");
        QTest::newRow("CR LF in the tail") << QByteArray("one") << QByteArray("\r\n\ttwo\r\n");
        QTest::newRow("from empty") << QByteArray() << QByteArray("x\r\ny");
    }

    void extending_writes_show_like_one_write()
    {
        QFETCH(QByteArray, first);
        QFETCH(QByteArray, rest);
        const QByteArray whole = first + rest;
        const std::string_view whole_view(whole.constData(), size_t(whole.size()));
        write_control_text(Control::编辑框1, whole_view);
        const QString shown_at_once = edit()->toPlainText();
        write_control_text(Control::编辑框1, "");
        write_control_text(Control::编辑框1, std::string_view(first.constData(), size_t(first.size())));
        write_control_text(Control::编辑框1, whole_view);
        QCOMPARE(edit()->toPlainText(), shown_at_once);
        QCOMPARE(read_control_text(Control::编辑框1).view(), whole_view);
        QCOMPARE(edit()->textCursor().position(), 0);
        QCOMPARE(edit()->verticalScrollBar()->value(), 0);
    }

    // A line with no break opportunity is wrapped anywhere: word wrapping would
    // take minutes on a megabyte of it.
    void unbroken_runs_wrap_anywhere()
    {
        write_control_text(Control::编辑框1, "a b c");
        QCOMPARE(edit()->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        const std::string run(5000, 'M');
        write_control_text(Control::编辑框1, "a b c" + run);
        QCOMPARE(edit()->wordWrapMode(), QTextOption::WrapAnywhere);
        write_control_text(Control::编辑框1, "short words again");
        QCOMPARE(edit()->wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);
        write_control_text(Control::编辑框1, run);
        QCOMPARE(edit()->wordWrapMode(), QTextOption::WrapAnywhere);
        QCOMPARE(read_control_text(Control::编辑框1).view(), std::string_view(run));
    }

    void status_line_leaves_no_remains()
    {
        write_control_text(Control::透明标签1, "a much longer status text than the next & last");
        write_control_text(Control::透明标签1, "A&B");
        QCOMPARE(label()->text(), QStringLiteral("A&B"));
        QCOMPARE(read_control_text(Control::透明标签1).view(), std::string_view("A&B"));
        QCOMPARE(label()->textFormat(), Qt::PlainText);
        QCOMPARE(label()->focusPolicy(), Qt::NoFocus);
    }

    void layout_and_frame()
    {
        QVERIFY(window->windowTitle().startsWith(utf8("VostrelQuilbe生成器By ")));
        const Qt::WindowFlags flags = window->windowFlags();
        QVERIFY(!(flags & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(flags & Qt::WindowMaximizeButtonHint));
        QVERIFY(flags & Qt::WindowCloseButtonHint);
        QVERIFY(flags & Qt::WindowSystemMenuHint);
        QCOMPARE(window->minimumSize(), window->maximumSize());
        // With the frame margins known the outer frame is 305 x 419, else the client 299 x 392.
        if (window->frameGeometry().size() != window->size())
            QCOMPARE(window->frameGeometry().size(), QSize(305, 419));
        else
            QCOMPARE(window->size(), QSize(299, 392));
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        QCOMPARE(window->frameGeometry().topLeft(),
                 QPoint((screen.width() - 305) / 2, (screen.height() - 419) / 2));
        QCOMPARE(window->windowIcon().availableSizes().value(0), QSize(128, 128));
        struct Place {
            const char* name;
            QRect rect;
            const char* text;
        };
        for (const Place& p : {Place{"透明标签1", QRect(0, 0, 304, 32), "返回信息"},
                               Place{"按钮2", QRect(8, 80, 280, 40), "OK了，出来吧"},
                               Place{"编辑框1", QRect(5, 128, 280, 256), ""},
                               Place{"按钮1", QRect(8, 32, 280, 40), "点一次加1个，OK的时候再点击下面的按钮"}}) {
            QWidget* w = control(p.name);
            QVERIFY2(w, p.name);
            QCOMPARE(w->geometry(), p.rect);
            if (auto* button = qobject_cast<QPushButton*>(w))
                QCOMPARE(button->text(), utf8(p.text));
        }
        QVERIFY(qobject_cast<QPushButton*>(control("按钮1"))->isDefault());
        QVERIFY(!qobject_cast<QPushButton*>(control("按钮2"))->isDefault());
        QCOMPARE(edit()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
        QCOMPARE(edit()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOff);
        QVERIFY(edit()->isReadOnly());
        QCOMPARE(label()->text(), utf8("返回信息"));
    }

    void icon_is_128_square_argb()
    {
        const QImage icon = program_icon_image();
        QCOMPARE(icon.size(), QSize(128, 128));
        QVERIFY(icon.hasAlphaChannel());
        QCOMPARE(icon.depth(), 32);
    }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
