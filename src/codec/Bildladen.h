#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

// Decoding a photo for the workflow: upright as the camera's orientation tag
// says, converted to sRGB when it carries another colour profile, as 32-bit RGB.
struct Ladeergebnis {
    QImage bild;   // null when the file could not be read
    QString grund; // why not, in plain German words
};

// Pictures up to this many pixels are accepted (well above 100 megapixels).
constexpr qint64 hoechstePixelzahl = 150'000'000;
// Files up to this size are read; a JPEG of the largest picture is far smaller.
constexpr qint64 hoechsteDateigroesse = qint64(1) << 30;

// Reads the file (a regular file only, never more than the size it had when it was
// checked) and decodes it.
Ladeergebnis jpegLaden(const QString& pfad);

// Decodes a JPEG held in memory; pictures above pixelGrenze are refused. A decode that
// meets damaged or missing data is refused, never shown half grey.
Ladeergebnis jpegDekodieren(QByteArrayView daten, qint64 pixelGrenze = hoechstePixelzahl);

// What the markers of a JPEG file say, read without decoding it.
struct JpegKopf {
    bool vollstaendig = false; // the data runs up to its end marker
    int breite = 0, hoehe = 0, komponenten = 0;
    int rahmenArt = 0;         // the frame marker's second byte: 0xC0 baseline, 0xC2 progressive, ...
    int bits = 0;              // sample precision
    qint64 datenBytes = 0;     // bytes of entropy-coded data in all scans
    int orientierung = 1;      // the EXIF orientation tag, 1 to 8
    QByteArray icc;            // the embedded colour profile, if any
};
JpegKopf jpegKopfLesen(QByteArrayView daten);

// Whether the JPEG data runs up to its end marker; a cut-off file decodes
// without complaint but shows grey where the rest is missing.
inline bool jpegVollstaendig(QByteArrayView daten) { return jpegKopfLesen(daten).vollstaendig; }

// "150,01": a number of megapixels above the limit, with as many decimals as it takes
// to differ from the limit.
QString megapixelText(qint64 pixel, qint64 grenze);
