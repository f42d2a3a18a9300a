// Writes the program's icon as a PNG for the desktop's icon theme.
#include <QGuiApplication>

#include "app/qt/window.h"

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    return program_icon_image().save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
