#include "TestBilder.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QImageWriter>
#include <QRandomGenerator>

#include <algorithm>
#include <functional>
#include <cstdio>
#include <cstring>
#include <jpeglib.h>

#include <exiv2/exiv2.hpp>

namespace testbilder {

QImage verlauf(int breite, int hoehe)
{
    QImage bild(breite, hoehe, QImage::Format_RGB32);
    for (int y = 0; y < hoehe; ++y) {
        auto* zeile = reinterpret_cast<QRgb*>(bild.scanLine(y));
        for (int x = 0; x < breite; ++x)
            zeile[x] = qRgb(x * 255 / std::max(1, breite - 1), y * 255 / std::max(1, hoehe - 1), 128);
    }
    return bild;
}

QImage rauschen(int breite, int hoehe, int staerke, quint32 saat)
{
    QImage bild(breite, hoehe, QImage::Format_RGB32);
    QRandomGenerator zufall(saat);
    const auto kanal = [&] {
        return staerke > 255 ? 255 * int(zufall.bounded(2))
                             : std::clamp(120 + int(zufall.bounded(staerke + 1)) - staerke / 2, 0, 255);
    };
    for (int y = 0; y < hoehe; ++y) {
        auto* zeile = reinterpret_cast<QRgb*>(bild.scanLine(y));
        for (int x = 0; x < breite; ++x) {
            const int r = kanal(), g = kanal(), b = kanal();
            zeile[x] = qRgb(r, g, b);
        }
    }
    return bild;
}

QByteArray alsJpeg(const QImage& bild, int qualitaet)
{
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    QImageWriter schreiber(&puffer, "jpeg");
    schreiber.setQuality(qualitaet);
    schreiber.write(bild);
    return daten;
}

bool schreiben(const QString& pfad, const QByteArray& daten)
{
    QFile datei(pfad);
    return datei.open(QIODevice::WriteOnly | QIODevice::Truncate) && datei.write(daten) == daten.size();
}

QByteArray lesen(const QString& pfad)
{
    QFile datei(pfad);
    return datei.open(QIODevice::ReadOnly) ? datei.readAll() : QByteArray();
}

QByteArray segment(int marke, const QByteArray& inhalt)
{
    const int n = int(inhalt.size()) + 2;
    return QByteArray("\xFF", 1) + char(marke) + char(n >> 8) + char(n & 0xFF) + inhalt;
}

QByteArray mitOrientierung(const QByteArray& jpeg, quint16 orientierung)
{
    // APP1 "Exif", little-endian TIFF header, one IFD entry: Orientation (0x0112), SHORT, 1 value.
    QByteArray tiff("II*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0", 18);
    tiff += char(orientierung & 0xFF);
    tiff += char(orientierung >> 8);
    tiff += QByteArray(6, 0);
    return jpeg.left(2) + segment(0xE1, QByteArray("Exif\0\0", 6) + tiff) + jpeg.mid(2);
}

namespace {

// libjpeg's compressor into memory: einstellen sets what differs from the defaults,
// zeile gives the samples of row y.
QByteArray komprimieren(int breite, int hoehe, int komponenten, J_COLOR_SPACE farbraum,
                        const std::function<void(jpeg_compress_struct&)>& einstellen,
                        const std::function<const uchar*(int)>& zeile)
{
    jpeg_compress_struct info;
    jpeg_error_mgr fehler;
    info.err = jpeg_std_error(&fehler);
    jpeg_create_compress(&info);
    unsigned char* puffer = nullptr;
    unsigned long groesse = 0;
    jpeg_mem_dest(&info, &puffer, &groesse);
    info.image_width = JDIMENSION(breite);
    info.image_height = JDIMENSION(hoehe);
    info.input_components = komponenten;
    info.in_color_space = farbraum;
    jpeg_set_defaults(&info);
    einstellen(info);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW z = const_cast<JSAMPROW>(zeile(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &z, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray daten(reinterpret_cast<const char*>(puffer), qsizetype(groesse));
    free(puffer);
    return daten;
}

} // namespace

QByteArray libjpeg(const QImage& bild, Kodierung art)
{
    const QImage rgb = bild.convertToFormat(QImage::Format_RGB888);
    return komprimieren(
        rgb.width(), rgb.height(), 3, JCS_RGB,
        [&](jpeg_compress_struct& info) {
            jpeg_set_quality(&info, art.qualitaet, TRUE);
            info.arith_code = art.arithmetisch ? TRUE : FALSE;
            if (art.progressiv)
                jpeg_simple_progression(&info);
        },
        [&](int y) { return rgb.constScanLine(y); });
}

QByteArray cmykJpeg(int breite, int hoehe, const quint8 cmyk[4])
{
    std::vector<uchar> zeile(size_t(breite) * 4);
    for (int x = 0; x < breite; ++x)
        std::copy(cmyk, cmyk + 4, zeile.begin() + x * 4);
    return komprimieren(
        breite, hoehe, 4, JCS_CMYK,
        [](jpeg_compress_struct& info) {
            jpeg_set_colorspace(&info, JCS_CMYK);
            jpeg_set_quality(&info, 95, TRUE);
        },
        [&](int) { return zeile.data(); });
}

QByteArray adobeRgbJpeg(int breite, int hoehe, QRgb farbe)
{
    QImage bild(breite, hoehe, QImage::Format_RGB32);
    bild.fill(farbe);
    bild.setColorSpace(QColorSpace(QColorSpace::AdobeRgb));
    return alsJpeg(bild, 95);
}

QColor mitte(const QImage& bild)
{
    const int b = bild.width(), h = bild.height();
    long long r = 0, g = 0, bl = 0, n = 0;
    for (int y = h / 4; y < h - h / 4; ++y)
        for (int x = b / 4; x < b - b / 4; ++x) {
            const QRgb p = bild.pixel(x, y);
            r += qRed(p);
            g += qGreen(p);
            bl += qBlue(p);
            ++n;
        }
    return n ? QColor(int(r / n), int(g / n), int(bl / n)) : QColor();
}

QByteArray mitAngaben(const QByteArray& jpeg, const QStringList& angaben)
{
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    auto bild = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(jpeg.constData()), long(jpeg.size()));
    bild->readMetadata();
    for (const QString& angabe : angaben) {
        const qsizetype gleich = angabe.indexOf(u'=');
        const std::string schluessel = angabe.left(gleich).toStdString();
        const std::string wert = angabe.mid(gleich + 1).toStdString();
        if (angabe.startsWith(QStringLiteral("Exif.")))
            bild->exifData()[schluessel] = wert;
        else if (angabe.startsWith(QStringLiteral("Xmp.")))
            bild->xmpData()[schluessel] = wert;
        else if (angabe.startsWith(QStringLiteral("Iptc.")))
            bild->iptcData()[schluessel] = wert;
        else
            bild->setComment(wert);
    }
    bild->writeMetadata();
    Exiv2::BasicIo& io = bild->io();
    io.open();
    io.seek(0, Exiv2::BasicIo::beg);
    const Exiv2::DataBuf daten = io.read(long(io.size()));
    io.close();
    return QByteArray(reinterpret_cast<const char*>(daten.pData_), qsizetype(daten.size_));
}

QList<Segment> segmente(const QByteArray& jpeg, QByteArray* rest)
{
    QList<Segment> liste;
    const auto* d = reinterpret_cast<const uchar*>(jpeg.constData());
    const qsizetype n = jpeg.size();
    qsizetype pos = 0;
    while (pos + 1 < n) {
        if (d[pos] != 0xFF)
            break;
        const int marker = d[pos + 1];
        if (marker == 0xD8 || marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7) || marker == 0xD9) {
            liste.append(Segment{marker, QByteArray()});
            pos += 2;
            if (marker == 0xD9)
                break;
            continue;
        }
        if (pos + 3 >= n)
            break;
        const qsizetype laenge = (d[pos + 2] << 8) | d[pos + 3];
        liste.append(Segment{marker, jpeg.mid(pos + 4, laenge - 2)});
        pos += 2 + laenge;
        if (marker != 0xDA)
            continue;
        while (pos + 1 < n && !(d[pos] == 0xFF && d[pos + 1] != 0x00 && !(d[pos + 1] >= 0xD0 && d[pos + 1] <= 0xD7)))
            ++pos;
    }
    if (rest)
        *rest = jpeg.mid(pos);
    return liste;
}

} // namespace testbilder
