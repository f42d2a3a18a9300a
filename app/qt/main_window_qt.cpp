// The main window on Qt Widgets. The window keeps the exact GBK bytes last
// written to each control and shows them decoded as code page 936.
#include <QApplication>
#include <QCloseEvent>
#include <QDebug>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTimer>

#include <memory>
#include <string>

#include "app/main_window.h"
#include "app/window_mailbox.h"
#include "app/qt/window.h"
#include "text/program_texts.h"

namespace {

constexpr int outer_width = 305;
constexpr int outer_height = 419;
constexpr QSize fallback_client_size(299, 392);
constexpr const char* gbk_codec = "GBK";

// GBK bytes as shown on screen: decoded as code page 936, a CR LF pair as one
// line break. The decoder keeps a character cut at the end for the next call.
QString shown_text(QStringDecoder& decoder, std::string_view bytes)
{
    QString shown = decoder(QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())));
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return shown;
}

QString decode_gbk(std::string_view bytes)
{
    QStringDecoder decoder(gbk_codec);
    return shown_text(decoder, bytes);
}

class MainWindow : public QWidget {
public:
    explicit MainWindow(const WindowEvents& events);
    ~MainWindow() override { mailbox->close(); }

    WindowEvents events;
    // Replies from the fetch's thread come in through here, as queued calls.
    std::shared_ptr<WindowMailbox> mailbox =
        std::make_shared<WindowMailbox>([this] { QMetaObject::invokeMethod(this, [this] { mailbox->deliver(); }, Qt::QueuedConnection); });

    std::string label_bytes{gbk::label_initial};
    std::string edit_bytes;
    QStringDecoder edit_decoder{gbk_codec};
    QLabel* label;
    QPushButton* export_button;
    QPlainTextEdit* edit;
    QPushButton* generate_button;

    void show_edit(std::string_view bytes);
    void fit_outer_frame();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    bool handle_key(QKeyEvent* key);
    void move_focus(int step);
};

QPointer<MainWindow> window;
std::unique_ptr<QApplication> owned_application;

QPushButton* make_button(QWidget* parent, const char* name, std::string_view caption, QRect place)
{
    auto* button = new QPushButton(decode_gbk(caption), parent);
    button->setObjectName(QString::fromUtf8(name));
    button->setGeometry(place);
    button->setAutoDefault(false); // Enter is the window's, never the focused button's
    return button;
}

QPlainTextEdit* make_page_view(QWidget* parent)
{
    auto* edit = new QPlainTextEdit(parent);
    edit->setObjectName(QStringLiteral("编辑框1"));
    edit->setGeometry(5, 128, 280, 256);
    edit->setReadOnly(true);
    edit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    edit->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    edit->setFrameStyle(QFrame::StyledPanel | QFrame::Sunken);
    edit->setTabChangesFocus(true);
    edit->setUndoRedoEnabled(false); // appended tails would otherwise pile up as undo steps
    QPalette palette = edit->palette();
    palette.setColor(QPalette::Base, Qt::white);
    palette.setColor(QPalette::Text, Qt::black);
    // The selection is hidden while the box does not have the focus.
    palette.setColor(QPalette::Inactive, QPalette::Highlight, Qt::white);
    palette.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
    edit->setPalette(palette);
    return edit;
}

QLabel* make_status_line(QWidget* parent)
{
    auto* label = new QLabel(decode_gbk(gbk::label_initial), parent);
    label->setObjectName(QStringLiteral("透明标签1"));
    label->setGeometry(0, 0, 304, 32);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignCenter);
    label->setWordWrap(false);
    label->setAutoFillBackground(false);
    label->setFocusPolicy(Qt::NoFocus);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(palette);
    return label;
}

MainWindow::MainWindow(const WindowEvents& events)
    : QWidget(nullptr, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                           Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      events(events)
{
    setObjectName(QStringLiteral("窗口"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(decode_gbk(gbk::caption_prefix) + decode_gbk(gbk::caption_attribution));
    setWindowIcon(QIcon(QPixmap::fromImage(program_icon_image())));
    setFixedSize(fallback_client_size);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.x() + (screen.width() - outer_width) / 2, screen.y() + (screen.height() - outer_height) / 2);

    // Created in listing order: the label, 按钮2, the page view, 按钮1.
    label = make_status_line(this);
    export_button = make_button(this, "按钮2", gbk::export_button_caption, QRect(8, 80, 280, 40));
    edit = make_page_view(this);
    generate_button = make_button(this, "按钮1", gbk::generate_button_caption, QRect(8, 32, 280, 40));
    generate_button->setDefault(true);
    setTabOrder(generate_button, edit);
    setTabOrder(edit, export_button);

    connect(generate_button, &QPushButton::clicked, this, [events] { events.generate_click(); });
    connect(export_button, &QPushButton::clicked, this, [events] { events.export_click(); });
    for (QWidget* control : {static_cast<QWidget*>(generate_button), static_cast<QWidget*>(edit),
                             static_cast<QWidget*>(export_button), static_cast<QWidget*>(this)})
        control->installEventFilter(this);
}

// Qt lays out a line with no break opportunity in time that grows with the square
// of its length (minutes for the megabyte a raffle reply may hold). Text with such
// a run is wrapped anywhere, which costs the same for every line length.
bool has_long_unbroken_run(const QString& text)
{
    constexpr qsizetype longest_word = 1000;
    qsizetype run = 0;
    for (QChar c : text) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > longest_word)
            return true;
    }
    return false;
}

// Shows the box's new bytes. When they only extend what the box shows, the new
// tail is decoded and appended instead of laying out the whole page again.
void MainWindow::show_edit(std::string_view bytes)
{
    const bool extends = !edit_bytes.empty() && edit_bytes.back() != '\r' &&
                         bytes.size() > edit_bytes.size() && bytes.starts_with(edit_bytes);
    if (extends) {
        const std::string_view tail = bytes.substr(edit_bytes.size());
        const QString shown = shown_text(edit_decoder, tail);
        if (has_long_unbroken_run(shown))
            edit->setWordWrapMode(QTextOption::WrapAnywhere);
        QTextCursor end(edit->document());
        end.movePosition(QTextCursor::End);
        end.insertText(shown);
        edit_bytes.append(tail);
    } else {
        edit_decoder.resetState();
        const QString shown = shown_text(edit_decoder, bytes);
        edit->setWordWrapMode(has_long_unbroken_run(shown) ? QTextOption::WrapAnywhere
                                                           : QTextOption::WrapAtWordBoundaryOrAnywhere);
        edit->setPlainText(shown);
        edit_bytes.assign(bytes);
    }
    edit->moveCursor(QTextCursor::Start);
    edit->verticalScrollBar()->setValue(0);
}

// Once the window manager has framed the window, size the client area so that
// the outer frame is 305 x 419, and centre that frame.
void MainWindow::fit_outer_frame()
{
    const QRect frame = frameGeometry();
    const int extra_width = frame.width() - width();
    const int extra_height = frame.height() - height();
    if (extra_width <= 0 && extra_height <= 0)
        return;
    setFixedSize(outer_width - extra_width, outer_height - extra_height);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    move(screen.x() + (screen.width() - outer_width) / 2, screen.y() + (screen.height() - outer_height) / 2);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && handle_key(static_cast<QKeyEvent*>(event)))
        return true;
    if (event->type() == QEvent::ShortcutOverride) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape) {
            event->accept();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

// Every close a person asks for (Esc, the close button, the window menu, Alt+F4) comes here.
void MainWindow::closeEvent(QCloseEvent* event)
{
    if (events.close_requested == nullptr || events.close_requested())
        event->accept();
    else
        event->ignore();
}

bool MainWindow::handle_key(QKeyEvent* key)
{
    switch (key->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        generate_button->click();
        return true;
    case Qt::Key_Escape:
        close();
        return true;
    case Qt::Key_F1:
        return true;
    case Qt::Key_Tab:
        move_focus(key->modifiers() & Qt::ShiftModifier ? -1 : 1);
        return true;
    case Qt::Key_Backtab:
        move_focus(-1);
        return true;
    default:
        return false;
    }
}

// Tab order: 按钮1, 编辑框1, 按钮2, and round again.
void MainWindow::move_focus(int step)
{
    QWidget* const order[] = {generate_button, edit, export_button};
    int current = 0;
    for (int i = 0; i < 3; ++i)
        if (order[i]->hasFocus())
            current = i;
    order[(current + step + 3) % 3]->setFocus(step > 0 ? Qt::TabFocusReason : Qt::BacktabFocusReason);
}

QApplication* application()
{
    if (auto* existing = qobject_cast<QApplication*>(QCoreApplication::instance()))
        return existing;
    static int argc = 1;
    static char name[] = "vqgen";
    static char* argv[] = {name, nullptr};
    owned_application = std::make_unique<QApplication>(argc, argv);
    return owned_application.get();
}

} // namespace

QWidget* main_window_widget()
{
    return window.data();
}

bool load_main_window(const WindowEvents& events)
{
    if (application() == nullptr || QGuiApplication::primaryScreen() == nullptr)
        return false;
    window = new MainWindow(events);
    events.created();
    window->show();
    window->activateWindow();
    window->generate_button->setFocus(Qt::ActiveWindowFocusReason);
    window->fit_outer_frame();
    return true;
}

void run_message_loop()
{
    if (window)
        QApplication::exec();
    owned_application.reset();
}

Text read_control_text(Control control)
{
    if (!window)
        return Text();
    switch (control) {
    case Control::透明标签1: return Text(window->label_bytes);
    case Control::编辑框1: return Text(window->edit_bytes);
    case Control::按钮1: return Text(std::string_view(gbk::generate_button_caption));
    case Control::按钮2: return Text(std::string_view(gbk::export_button_caption));
    }
    return Text();
}

void write_control_text(Control control, std::string_view text)
{
    if (!window)
        return;
    if (control == Control::编辑框1) {
        window->show_edit(text);
    } else if (control == Control::透明标签1) {
        window->label_bytes.assign(text);
        window->label->setText(decode_gbk(text));
    }
}

void show_fatal_box(std::string_view message)
{
    qCritical("%.*s", static_cast<int>(message.size()), message.data());
    if (QCoreApplication::instance() != nullptr && QGuiApplication::platformName() != QLatin1String("offscreen"))
        QMessageBox::critical(nullptr, QStringLiteral("vqgen"), decode_gbk(message));
}

void run_off_window_thread(std::function<Text()> job, std::function<void(Text)> done)
{
    if (window)
        run_on_spare_thread(window->mailbox, std::move(job), std::move(done));
}

void call_after(std::chrono::milliseconds delay, std::function<void()> callback)
{
    if (window)
        QTimer::singleShot(delay, window.data(), std::move(callback));
}

void show_busy_cursor(bool busy)
{
    if (!window)
        return;
    if (busy)
        window->setCursor(Qt::BusyCursor);
    else
        window->unsetCursor();
}

bool ask_yes_no(std::string_view question)
{
    if (!window)
        return false;
    QMessageBox box(QMessageBox::Question, window->windowTitle(), decode_gbk(question), QMessageBox::NoButton,
                    window.data());
    QPushButton* yes = box.addButton(decode_gbk(gbk::yes_button), QMessageBox::YesRole);
    QPushButton* no = box.addButton(decode_gbk(gbk::no_button), QMessageBox::NoRole);
    box.setDefaultButton(no);
    box.setEscapeButton(no);
    box.exec();
    return box.clickedButton() == yes;
}
