#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QImage>
#include <QString>

#include "codec/Bildspeicher.h"

#include <QSize>

#include <atomic>
#include <vector>

// Decoding a photo for the workflow: upright as the camera's orientation tag
// says, converted to sRGB when it carries another colour profile, as 32-bit RGB.

// Why a file was not loaded. The window that asked puts it into words.
enum class Ladefehler {
    Keiner,
    NichtVorhanden,
    KeineLeseberechtigung,
    NichtZuOeffnen,
    Ordner,
    KeineGewoehnlicheDatei, // a device, a pipe or a socket
    DateiZuGross,           // wert: the file's bytes, grenze: the largest file read
    GroesserAlsNoetig,      // wert: the file's bytes, grenze: the most its picture can need
    SpeicherFuerDatei,
    Leer,                   // or unreadable
    KeinJpeg,
    NichtUnterstuetzt,      // art names the kind where it is known
    ZuVielePixel,           // wert: the picture's pixels, grenze: the limit
    SpeicherFuerBild,
    Unvollstaendig,         // damaged or incomplete data
    Abgebrochen,            // the decode was called off (another photo is wanted)
};

// A kind of JPEG the decoder does not handle.
enum class JpegArt { Unbenannt, Verlustfrei, Hierarchisch, Bittiefe /* wert: bits per channel */, HoeheAmEnde };

struct Ladeergebnis {
    QImage bild; // null when the file could not be read
    Ladefehler fehler = Ladefehler::Keiner;
    JpegArt art = JpegArt::Unbenannt;
    qint64 wert = 0, grenze = 0;
};

// Pictures up to this many pixels are accepted (well above 100 megapixels).
constexpr qint64 hoechstePixelzahl = 150'000'000;
// Files up to this size are read; a JPEG of the largest picture is far smaller.
constexpr qint64 hoechsteDateigroesse = qint64(1) << 30;

// The bytes the system knows a path by. A name that is no UTF-8 arrives with replacement
// characters (from a dialog, the command line or a drop); it is found again among the
// entries of its folder.
QByteArray dateinameImSystem(const QString& pfad);

// Up to anzahl bytes from an open file, fewer only where it ends (or fails).
qsizetype ganzLesen(int fd, void* ziel, qsizetype anzahl);

// Reads the file (a regular file only, never more than the size it had when it was
// checked) and decodes it.
Ladeergebnis jpegLaden(const QString& pfad);

// Decodes a JPEG held in memory; pictures above pixelGrenze are refused. A decode that
// meets damaged or missing data is refused, never shown half grey.
Ladeergebnis jpegDekodieren(QByteArrayView daten, qint64 pixelGrenze = hoechstePixelzahl);

// What the markers of a JPEG file say, read without decoding it.
struct JpegKopf {
    bool vollstaendig = false; // the data runs up to its end marker
    qsizetype laenge = 0;      // the bytes up to and with the end marker, when it is there
    int breite = 0, hoehe = 0, komponenten = 0;
    int rahmenArt = 0;         // the frame marker's second byte: 0xC0 baseline, 0xC2 progressive, ...
    int bits = 0;              // sample precision
    qint64 datenBytes = 0;     // bytes of entropy-coded data in all scans
    int orientierung = 1;      // the EXIF orientation tag, 1 to 8
    QByteArray icc;            // the embedded colour profile, if any
    std::vector<qsizetype> scanEnden; // where each scan's coded data ends
};
JpegKopf jpegKopfLesen(QByteArrayView daten);

// The most bytes a JPEG file that begins with anfang can take for its picture: what
// stands before its frame header, bytesJeAbtastwert for each sample of its components
// (in whole MCUs), and nachDemBild for what may follow the picture (more pictures, the
// video of a moving photo). Without a usable frame header before the first scan (or
// within nachDemBild bytes) the picture counts as none. 0 while anfang is too short to
// tell. A file larger than this is refused (GroesserAlsNoetig) before it is read on.
// 8 bytes per sample is more than a baseline scan can take at all (a block of 27 + 63 x 26
// bits, doubled by stuffed bytes: 6.75) and six times what an encoder writes for noise at
// quality 100, 4:4:4 (1.4); progressive and arithmetic coding write less than that.
constexpr qint64 bytesJeAbtastwert = 8;
constexpr qint64 nachDemBild = qint64(64) << 20;
qint64 jpegHoechstgroesse(QByteArrayView anfang);

// Whether the JPEG data runs up to its end marker; a cut-off file decodes
// without complaint but shows grey where the rest is missing.
inline bool jpegVollstaendig(QByteArrayView daten) { return jpegKopfLesen(daten).vollstaendig; }

// A photo on its way in: the file read and what its markers say, nothing decoded yet.
// Decoding it (whole or reduced, on any thread) reads these bytes only.
struct Jpegdatei {
    bildspeicher::Block inhalt;
    qsizetype laenge = 0;
    JpegKopf kopf;
    QByteArrayView daten() const { return {inhalt.daten(), laenge}; }
    // The upright picture's size, as the orientation tag turns it.
    QSize aufrecht() const;
};

// Reads the file and makes every check that needs only its bytes and markers (kind,
// size, pixels, data that ends early); Keiner: datei holds it, ready to decode. When
// abbrechen is set meanwhile, reading stops within a megabyte: Abgebrochen.
Ladeergebnis jpegOeffnen(const QString& pfad, Jpegdatei& datei, qint64 pixelGrenze = hoechstePixelzahl,
                         const std::atomic<bool>* abbrechen = nullptr);
// Decodes an opened file at 1/nenner of its size (1, 2, 4 or 8), upright. When abbrechen
// is set meanwhile, it stops within a few rows: Abgebrochen.
Ladeergebnis jpegDekodieren(const Jpegdatei& datei, int nenner = 1, const std::atomic<bool>* abbrechen = nullptr);
// The largest reduction whose upright picture still covers mindestens in both directions.
int verkleinerung(const Jpegdatei& datei, QSize mindestens);
