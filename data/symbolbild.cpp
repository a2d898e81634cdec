// Build tool: draws the program's SVG icon as PNG files for the icon theme, with
// the same renderer the program uses, so that every size shows the same picture.
//   fotoschliff-symbolbild SVG KANTE AUSGABE.png
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>

#include <cstdio>

int main(int argc, char* argv[])
{
    if (argc != 4) {
        std::fprintf(stderr, "usage: %s SVG SIZE OUT.png\n", argv[0]);
        return 2;
    }
    const int kante = QByteArray(argv[2]).toInt();
    QSvgRenderer zeichner(QString::fromLocal8Bit(argv[1]));
    if (!zeichner.isValid() || kante < 1) {
        std::fprintf(stderr, "%s: cannot draw %s at %s pixels\n", argv[0], argv[1], argv[2]);
        return 1;
    }
    QImage bild(kante, kante, QImage::Format_ARGB32_Premultiplied);
    bild.fill(Qt::transparent);
    {
        QPainter maler(&bild);
        maler.setRenderHint(QPainter::Antialiasing);
        maler.setRenderHint(QPainter::SmoothPixmapTransform);
        zeichner.render(&maler, QRectF(0, 0, kante, kante));
    }
    if (!bild.convertToFormat(QImage::Format_ARGB32).save(QString::fromLocal8Bit(argv[3]), "PNG")) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[3]);
        return 1;
    }
    return 0;
}
