// The Qt front-end's window, for the front-end itself and its tests.
#pragma once

#include <QImage>
#include <QWidget>

// The program's 128 x 128 ARGB icon, drawn in code.
QImage program_icon_image();

// The main window while it exists, else nullptr.
QWidget* main_window_widget();
