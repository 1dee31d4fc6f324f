#include "imageio/qt_text_painter.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include "core/gfx/bitmap.h"

namespace quillon::imageio {

namespace {

// 96 dpi in dots per metre: 9 pt is then 12 pixels, as on the desktop the labels were made for.
constexpr int kDotsPerMetre96Dpi = 3780;

}  // namespace

QtTextPainter::QtTextPainter() {
    m_font.setFamilies({QStringLiteral("Comic Sans MS"), QStringLiteral("Comic Neue"),
                        QStringLiteral("DejaVu Sans"), QStringLiteral("Liberation Sans")});
    m_font.setStyleHint(QFont::SansSerif);
    m_font.setPointSize(9);
}

void QtTextPainter::drawText(Bitmap& target, int x, int y, std::string_view text) {
    const bool haveGui = qobject_cast<QGuiApplication*>(QCoreApplication::instance()) != nullptr;
    if (target.empty() || text.empty() || !haveGui) {
        return;
    }
    QImage image(reinterpret_cast<uchar*>(target.data()), target.width(), target.height(),
                 target.bytesPerLine(), QImage::Format_RGB32);
    image.setDotsPerMeterX(kDotsPerMetre96Dpi);
    image.setDotsPerMeterY(kDotsPerMetre96Dpi);
    QPainter painter(&image);
    painter.setFont(m_font);
    painter.setPen(Qt::black);
    const QString label = QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
    // The box starts at (x, y) and reaches past the picture: the painter clips to the image.
    const QRect box(x, y, target.width() + 64, target.height() + 64);
    painter.drawText(box, Qt::AlignLeft | Qt::AlignTop | Qt::TextSingleLine, label);
}

}  // namespace quillon::imageio
