#pragma once

#include <QByteArray>
#include <QColor>
#include <QImage>
#include <QList>
#include <QString>
#include <QStringList>

// Pictures the tests make themselves.
namespace testbilder {

// A picture with a horizontal and vertical colour ramp, so that position errors show.
QImage verlauf(int breite, int hoehe);

// Saves as baseline JPEG through Qt (quality 90); returns the file's bytes.
QByteArray alsJpeg(const QImage& bild, int qualitaet = 90);
bool schreiben(const QString& pfad, const QByteArray& daten);

// The JPEG with an EXIF block whose orientation tag is set (6: taken upright, stored sideways).
QByteArray mitOrientierung(const QByteArray& jpeg, quint16 orientierung);

// A CMYK JPEG in the inverted Adobe convention, filled with one colour given as inverted C, M, Y, K.
QByteArray cmykJpeg(int breite, int hoehe, const quint8 cmyk[4]);

// A JPEG of one colour given in Adobe RGB (1998), with that profile embedded.
QByteArray adobeRgbJpeg(int breite, int hoehe, QRgb farbe);

// The mean colour of a picture's centre region.
QColor mitte(const QImage& bild);

// The JPEG with metadata written by Exiv2, as a camera or a photo program leaves them.
// Each entry is "Key=value" with an Exiv2 key ("Exif.GPSInfo.GPSLatitude=51/1 9/1 0/1",
// "Xmp.photoshop.City=Görlitz", "Iptc.Application2.City=Görlitz") or "Kommentar=text".
QByteArray mitAngaben(const QByteArray& jpeg, const QStringList& angaben);

// A JPEG file's markers in order, up to its end marker; the entropy-coded data is
// skipped. rest: what follows the end marker.
struct Segment {
    int marker;
    QByteArray inhalt; // without marker and length
};
QList<Segment> segmente(const QByteArray& jpeg, QByteArray* rest = nullptr);

} // namespace testbilder
