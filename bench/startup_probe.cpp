// The program's start-up up to its window shown; the first turn of the loop closes it.
#include <QApplication>
#include <QTimer>

#include "app/qt/window.h"
#include "app/start.h"

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QTimer::singleShot(0, [] { main_window_widget()->close(); });
    return start_program();
}
