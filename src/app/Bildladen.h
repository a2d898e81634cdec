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

Ladeergebnis jpegLaden(const QString& pfad);

// What the markers of a JPEG file say, read without decoding it.
struct JpegKopf {
    bool vollstaendig = false; // the data runs up to its end marker
    int breite = 0, hoehe = 0, komponenten = 0;
    int orientierung = 1;      // the EXIF orientation tag, 1 to 8
    QByteArray icc;            // the embedded colour profile, if any
};
JpegKopf jpegKopfLesen(QByteArrayView daten);

// Whether the JPEG data runs up to its end marker; a cut-off file decodes
// without complaint but shows grey where the rest is missing.
inline bool jpegVollstaendig(QByteArrayView daten) { return jpegKopfLesen(daten).vollstaendig; }
