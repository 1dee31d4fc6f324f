// Draws the program's icon, the same picture as data/desktop/org.brenvik.Quillon.svg (a map
// sheet of 4 x 4 blocks with a quill on it), as a PNG of the size asked for.
// Usage: quillon-icon OUT.png SIZE
#include <QColor>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cstdio>
#include <cstdlib>

namespace {

// The sheet's blocks, in the 256-unit square of the SVG: x, y, width, height, colour.
struct Block {
    int x, y, w, h;
    QRgb colour;
};
constexpr Block kBlocks[] = {
    {28, 36, 184, 184, 0x6fbf4a},  {28, 36, 46, 92, 0x4a90d9},    {74, 36, 46, 46, 0x4a90d9},
    {74, 128, 138, 46, 0xd9b77a},  {120, 82, 46, 138, 0xd9b77a},  {166, 36, 46, 46, 0xc8553d},
    {166, 82, 46, 46, 0xe8e0cf},   {28, 174, 46, 46, 0x2f7d32},
};

void drawSheet(QPainter& p) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3b2f26));
    p.drawRoundedRect(QRectF(20, 28, 200, 200), 14, 14);
    for (const Block& b : kBlocks) {
        p.fillRect(QRectF(b.x, b.y, b.w, b.h), QColor(b.colour));
    }
    QColor line(0x1f1a16);
    line.setAlphaF(0.45f);
    p.setPen(QPen(line, 2));
    for (int i = 1; i < 4; ++i) {
        p.drawLine(QLineF(28 + 46 * i, 36, 28 + 46 * i, 220));
        p.drawLine(QLineF(28, 36 + 46 * i, 212, 36 + 46 * i));
    }
}

void drawQuill(QPainter& p) {
    p.translate(170, 110);
    p.rotate(40);
    p.translate(-170, -110);
    QPainterPath feather(QPointF(170, 14));
    feather.cubicTo(200, 40, 204, 110, 176, 176);
    feather.lineTo(164, 176);
    feather.cubicTo(140, 110, 144, 40, 170, 14);
    p.setPen(QPen(QColor(0x5a4a3a), 4));
    p.setBrush(QColor(0xfbfaf5));
    p.drawPath(feather);
    p.setPen(QPen(QColor(0x5a4a3a), 3));
    p.drawLine(QLineF(170, 30, 170, 176));
    QPainterPath nib(QPointF(164, 176));
    nib.lineTo(170, 204);
    nib.lineTo(176, 176);
    nib.closeSubpath();
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2a2420));
    p.drawPath(nib);
}

}  // namespace

int main(int argc, char** argv) {
    const int size = argc == 3 ? std::atoi(argv[2]) : 0;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "usage: quillon-icon OUT.png SIZE (16 to 1024)\n");
        return 2;
    }
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 256.0, size / 256.0);
    drawSheet(p);
    drawQuill(p);
    p.end();
    return image.save(QString::fromLocal8Bit(argv[1]), "PNG") ? 0 : 1;
}
