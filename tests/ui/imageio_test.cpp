#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>

#include "core/gfx/bitmap.h"
#include "core/text/message_catalogue.h"
#include "imageio/bitmap_io.h"
#include "imageio/qt_text_painter.h"
#include "tests/ui/ui_test_main.h"

using quillon::Bitmap;

namespace {

// A picture whose every pixel differs: a writer that swaps channels or rows shows up.
Bitmap gradient(int width, int height) {
    Bitmap bitmap(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            bitmap.setPixel(x, y, 0xFF000000u | (x * 20u) << 16 | (y * 30u) << 8 | 0x5Au);
        }
    }
    return bitmap;
}

QRect changedPixels(const Bitmap& bitmap, std::uint32_t background) {
    QRect box;
    for (int y = 0; y < bitmap.height(); ++y) {
        for (int x = 0; x < bitmap.width(); ++x) {
            if (bitmap.pixel(x, y) != background) {
                box |= QRect(x, y, 1, 1);
            }
        }
    }
    return box;
}

}  // namespace

class ImageIoTest : public QObject {
    Q_OBJECT

private slots:
    void savesPngOnlyForPngNamesAndBmpOtherwise_data();
    void savesPngOnlyForPngNamesAndBmpOtherwise();
    void refusesEmptyPicturesAndUnwritablePaths();
    void wrapsWithoutCopying();
    void drawsLabelsInsideTheTileOnly();

private:
    QTemporaryDir m_dir;
};

void ImageIoTest::savesPngOnlyForPngNamesAndBmpOtherwise_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("signature");
    QTest::newRow("bmp") << "map.bmp" << QByteArray("BM");
    QTest::newRow("DIB upper case") << "map.DIB" << QByteArray("BM");
    QTest::newRow("png") << "map.png" << QByteArray("\x89PNG");
    QTest::newRow("PNG upper case") << "map.PNG" << QByteArray("\x89PNG");
    QTest::newRow("no extension") << "map" << QByteArray("BM");
    QTest::newRow("other extension") << "karte.bild" << QByteArray("BM");
    QTest::newRow("jpg is still a bitmap") << "x.jpg" << QByteArray("BM");
    QTest::newRow("png only in the middle") << "map.png.dib" << QByteArray("BM");
}

void ImageIoTest::savesPngOnlyForPngNamesAndBmpOtherwise() {
    QFETCH(QString, name);
    QFETCH(QByteArray, signature);
    const QString path = m_dir.filePath(name);
    const Bitmap picture = gradient(5, 3);  // odd width: BMP rows get padding
    quillon::Message error;
    QVERIFY2(quillon::imageio::saveBitmap(picture, path, &error),
             quillon::germanText(error).c_str());
    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith(signature));
    if (signature == "BM") {
        QCOMPARE(static_cast<int>(static_cast<unsigned char>(bytes[28])), 24);  // bits per pixel
    }
    QImage back(path, signature == "BM" ? "BMP" : "PNG");
    QCOMPARE(back.size(), QSize(5, 3));
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            QCOMPARE(back.pixel(x, y), picture.pixel(x, y));
        }
    }
}

void ImageIoTest::refusesEmptyPicturesAndUnwritablePaths() {
    quillon::Message error;
    QVERIFY(!quillon::imageio::saveBitmap(Bitmap(), m_dir.filePath("empty.bmp"), &error));
    QCOMPARE(error.id, std::string("picture.empty"));
    QVERIFY(!QFile::exists(m_dir.filePath("empty.bmp")));
    const QString missing = m_dir.filePath("no/such/folder/map.bmp");
    QVERIFY(!quillon::imageio::saveBitmap(gradient(2, 2), missing, &error));
    QCOMPARE(error.id, std::string("file.not_written"));
    QCOMPARE(error.args.at(0).text, missing.toStdString());
    QVERIFY(!quillon::imageio::saveBitmap(gradient(2, 2), missing, nullptr));
}

void ImageIoTest::wrapsWithoutCopying() {
    const Bitmap picture = gradient(4, 4);
    const QImage view = quillon::imageio::wrapBitmap(picture);
    QCOMPARE(view.constBits(), reinterpret_cast<const uchar*>(picture.data()));
    QCOMPARE(view.pixel(3, 2), picture.pixel(3, 2));
    QVERIFY(quillon::imageio::wrapBitmap(Bitmap()).isNull());
}

void ImageIoTest::drawsLabelsInsideTheTileOnly() {
    constexpr std::uint32_t kBackground = 0xFFAB2951u;
    quillon::imageio::QtTextPainter painter;
    Bitmap tile(16, 16, kBackground);
    painter.drawText(tile, 1, 0, "1A");
    const QRect ink = changedPixels(tile, kBackground);
    QVERIFY(!ink.isEmpty());
    QVERIFY(ink.left() >= 1);
    QVERIFY(ink.top() >= 0);
    // The ink is dark: the label is black on the tile's colour.
    QVERIFY(qGray(tile.pixel(ink.center().x(), ink.center().y())) <= qGray(kBackground));

    // Text that starts near the edge is clipped to the picture; nothing else is touched.
    Bitmap small(4, 4, kBackground);
    painter.drawText(small, 3, 3, "3F");
    painter.drawText(small, -20, -20, "3F");
    painter.drawText(small, 0, 0, "");
    Bitmap empty;
    painter.drawText(empty, 0, 0, "1");
    QCOMPARE(empty.width(), 0);
}

QUILLON_UI_TEST(ImageIoTest)
#include "imageio_test.moc"
