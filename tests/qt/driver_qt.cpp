// The behaviour driver on the Qt front-end: Qt Test's input functions on the real
// widgets of the offscreen window.
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringEncoder>
#include <QTimer>
#include <QtTest>

#include <memory>

#include "app/qt/window.h"
#include "behaviour/driver.h"

namespace {

std::unique_ptr<QApplication> application;

QString object_name(Control control)
{
    switch (control) {
    case Control::透明标签1: return QStringLiteral("透明标签1");
    case Control::按钮2: return QStringLiteral("按钮2");
    case Control::编辑框1: return QStringLiteral("编辑框1");
    case Control::按钮1: return QStringLiteral("按钮1");
    }
    return {};
}

QWidget* widget(Control control)
{
    QWidget* window = main_window_widget();
    return window ? window->findChild<QWidget*>(object_name(control)) : nullptr;
}

QMessageBox* open_question()
{
    return qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
}

std::pair<Qt::Key, Qt::KeyboardModifiers> qt_key(Key key)
{
    switch (key) {
    case Key::enter: return {Qt::Key_Return, Qt::NoModifier};
    case Key::keypad_enter: return {Qt::Key_Enter, Qt::KeypadModifier};
    case Key::tab: return {Qt::Key_Tab, Qt::NoModifier};
    case Key::shift_tab: return {Qt::Key_Backtab, Qt::ShiftModifier};
    case Key::space: return {Qt::Key_Space, Qt::NoModifier};
    case Key::escape: return {Qt::Key_Escape, Qt::NoModifier};
    case Key::f1: return {Qt::Key_F1, Qt::NoModifier};
    case Key::letter_y: return {Qt::Key_Y, Qt::NoModifier};
    case Key::letter_n: return {Qt::Key_N, Qt::NoModifier};
    }
    return {Qt::Key_unknown, Qt::NoModifier};
}

} // namespace

namespace driver {

void start_toolkit()
{
    static int argc = 1;
    static char name[] = "behaviour_tests";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr)
        application = std::make_unique<QApplication>(argc, argv);
}

bool load(const WindowEvents& events)
{
    if (!load_main_window(events))
        return false;
    return QTest::qWaitForWindowActive(main_window_widget());
}

bool window_open()
{
    return main_window_widget() != nullptr;
}

void click(Control control)
{
    if (auto* button = qobject_cast<QAbstractButton*>(widget(control)))
        QTest::mouseClick(button, Qt::LeftButton);
}

void key(Key key)
{
    const auto [code, modifiers] = qt_key(key);
    // The focused widget is the question box's button while the box is open.
    QWidget* target = QApplication::focusWidget();
    if (target == nullptr)
        target = open_question() ? static_cast<QWidget*>(open_question()) : main_window_widget();
    if (target != nullptr)
        QTest::keyClick(target, code, modifiers);
}

void focus(Control control)
{
    if (QWidget* target = widget(control)) {
        target->setFocus();
        QTRY_COMPARE_WITH_TIMEOUT(QApplication::focusWidget(), target, 2000);
    }
}

std::optional<Control> focused()
{
    for (Control control : {Control::透明标签1, Control::按钮2, Control::编辑框1, Control::按钮1})
        if (widget(control) != nullptr && widget(control) == QApplication::focusWidget())
            return control;
    return std::nullopt;
}

void close_button()
{
    if (QWidget* window = main_window_widget())
        window->close();
}

void pump()
{
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

bool pump_until(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto until = std::chrono::steady_clock::now() + limit;
    while (!done()) {
        if (std::chrono::steady_clock::now() > until)
            return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QTest::qSleep(1);
    }
    return true;
}

std::string question_text()
{
    QMessageBox* box = open_question();
    if (box == nullptr)
        return {};
    QStringEncoder to_gbk("GBK");
    const QByteArray bytes = to_gbk(box->text());
    return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

bool question_defaults_to_no()
{
    QMessageBox* box = open_question();
    return box != nullptr && box->defaultButton() != nullptr && box->buttonRole(box->defaultButton()) == QMessageBox::NoRole;
}

void click_question(bool yes)
{
    QMessageBox* box = open_question();
    if (box == nullptr)
        return;
    for (QAbstractButton* button : box->buttons())
        if (box->buttonRole(button) == (yes ? QMessageBox::YesRole : QMessageBox::NoRole))
            QTest::mouseClick(button, Qt::LeftButton);
}

bool busy_cursor_shown()
{
    QWidget* window = main_window_widget();
    return window != nullptr && window->testAttribute(Qt::WA_SetCursor) && window->cursor().shape() == Qt::BusyCursor;
}

void call_later(std::chrono::milliseconds delay, std::function<void()> callback)
{
    QTimer::singleShot(delay, std::move(callback));
}

void dismiss_fatal_box_later() {}

} // namespace driver
