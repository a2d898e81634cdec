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

// Grey noise around the middle of the given strength (0 to 255), the same for the
// same seed; a strength above 255 gives black and white pixels only. Noise makes
// large JPEG files: at 900 x 600 and full strength far beyond 100 KB.
QImage rauschen(int breite, int hoehe, int staerke = 255, quint32 saat = 5);

// Saves as baseline JPEG through Qt (quality 90); returns the file's bytes.
QByteArray alsJpeg(const QImage& bild, int qualitaet = 90);
bool schreiben(const QString& pfad, const QByteArray& daten);
// A file's bytes; empty when it cannot be read.
QByteArray lesen(const QString& pfad);

// The JPEG with an EXIF block whose orientation tag is set (6: taken upright, stored sideways).
QByteArray mitOrientierung(const QByteArray& jpeg, quint16 orientierung);

// The picture coded by libjpeg itself, which also writes arithmetic coding and lets the
// scans be counted (progressive: libjpeg's own script of ten scans for colour).
struct Kodierung {
    int qualitaet = 90;
    bool progressiv = false;
    bool arithmetisch = false;
};
QByteArray libjpeg(const QImage& bild, Kodierung art);

// One marker segment: 0xFF, the marker, the length, the content.
QByteArray segment(int marke, const QByteArray& inhalt);

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
