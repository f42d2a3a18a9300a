#include <QPainter>

#include "app/qt/window.h"

namespace {

// A QR-like mark: three finder squares and a scatter of modules on white.
void draw_finder(QPainter& painter, int x, int y, int module)
{
    painter.fillRect(x, y, 7 * module, 7 * module, Qt::black);
    painter.fillRect(x + module, y + module, 5 * module, 5 * module, Qt::white);
    painter.fillRect(x + 2 * module, y + 2 * module, 3 * module, 3 * module, Qt::black);
}

} // namespace

QImage program_icon_image()
{
    constexpr int size = 128;
    constexpr int module = 6;
    constexpr int origin = (size - 21 * module) / 2;
    QImage image(size, size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(Qt::white);
    painter.setPen(QPen(QColor(0xE5, 0x33, 0x33), 3));
    painter.drawRoundedRect(QRectF(1.5, 1.5, size - 3, size - 3), 14, 14);
    painter.setRenderHint(QPainter::Antialiasing, false);
    draw_finder(painter, origin, origin, module);
    draw_finder(painter, origin + 14 * module, origin, module);
    draw_finder(painter, origin, origin + 14 * module, module);
    for (int row = 0; row < 21; ++row)
        for (int column = 0; column < 21; ++column) {
            const bool in_finder = (row < 8 && column < 8) || (row < 8 && column > 12) || (row > 12 && column < 8);
            if (!in_finder && ((row * 7 + column * 3 + row * column) % 5 < 2))
                painter.fillRect(origin + column * module, origin + row * module, module, module, Qt::black);
        }
    return image;
}
