#include "app/Bildladen.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>
#include <QTransform>

#include <cstring>
#include <map>
#include <turbojpeg.h>

namespace {

quint16 be16(const uchar* p) { return quint16((p[0] << 8) | p[1]); }

// The orientation tag of an EXIF block ("Exif\0\0" already skipped), or 1.
int exifOrientierung(const uchar* tiff, qsizetype n)
{
    if (n < 8)
        return 1;
    const bool klein = tiff[0] == 'I' && tiff[1] == 'I';
    if (!klein && !(tiff[0] == 'M' && tiff[1] == 'M'))
        return 1;
    const auto u16 = [&](qsizetype pos) -> quint32 {
        return klein ? quint32(tiff[pos] | (tiff[pos + 1] << 8)) : quint32((tiff[pos] << 8) | tiff[pos + 1]);
    };
    const auto u32 = [&](qsizetype pos) -> quint32 {
        return klein ? quint32(tiff[pos]) | (quint32(tiff[pos + 1]) << 8) | (quint32(tiff[pos + 2]) << 16) | (quint32(tiff[pos + 3]) << 24)
                     : (quint32(tiff[pos]) << 24) | (quint32(tiff[pos + 1]) << 16) | (quint32(tiff[pos + 2]) << 8) | quint32(tiff[pos + 3]);
    };
    if (u16(2) != 42)
        return 1;
    const quint32 ifd = u32(4);
    if (ifd > quint32(n) - 2 || ifd < 8)
        return 1;
    const quint32 eintraege = u16(ifd);
    for (quint32 i = 0; i < eintraege; ++i) {
        const qsizetype pos = qsizetype(ifd) + 2 + qsizetype(i) * 12;
        if (pos + 12 > n)
            break;
        if (u16(pos) == 0x0112 && u16(pos + 2) == 3) {
            const quint32 wert = u16(pos + 8);
            return wert >= 1 && wert <= 8 ? int(wert) : 1;
        }
    }
    return 1;
}

// Turns a picture stored as the camera held it into the upright one.
QImage aufrichten(QImage bild, int orientierung)
{
    // Mirror (2, 7), flip (4, 5), then a quarter turn clockwise (5, 6, 7); 3 half, 8 three quarters.
    switch (orientierung) {
    case 2: return bild.mirrored(true, false);
    case 3: return bild.mirrored(true, true);
    case 4: return bild.mirrored(false, true);
    case 5: return bild.mirrored(false, true).transformed(QTransform().rotate(90));
    case 6: return bild.transformed(QTransform().rotate(90));
    case 7: return bild.mirrored(true, false).transformed(QTransform().rotate(90));
    case 8: return bild.transformed(QTransform().rotate(270));
    default: return bild;
    }
}

QString unvollstaendig() { return QStringLiteral("Die Bilddaten sind unvollständig oder beschädigt."); }

// CMYK and YCCK pictures (rare from cameras, common from print work) take Qt's decoder.
Ladeergebnis mitQtLesen(const QByteArray& inhalt)
{
    Ladeergebnis ergebnis;
    QByteArray kopie = QByteArray::fromRawData(inhalt.constData(), inhalt.size());
    QBuffer puffer(&kopie);
    puffer.open(QIODevice::ReadOnly);
    QImageReader leser(&puffer, "jpeg");
    leser.setDecideFormatFromContent(false);
    leser.setAutoTransform(true);
    if (QImageReader::allocationLimit() < int(hoechstePixelzahl * 4 / (1024 * 1024)) + 1)
        QImageReader::setAllocationLimit(int(hoechstePixelzahl * 4 / (1024 * 1024)) + 1);
    if (!leser.read(&ergebnis.bild) || ergebnis.bild.isNull())
        ergebnis.grund = unvollstaendig();
    return ergebnis;
}

} // namespace

JpegKopf jpegKopfLesen(QByteArrayView daten)
{
    JpegKopf kopf;
    const auto* d = reinterpret_cast<const uchar*>(daten.data());
    const qsizetype n = daten.size();
    if (n < 4 || d[0] != 0xFF || d[1] != 0xD8)
        return kopf;
    std::map<int, QByteArray> iccTeile;
    qsizetype pos = 2;
    while (pos + 1 < n) {
        if (d[pos] != 0xFF)
            return kopf; // no marker where one must be
        while (pos + 1 < n && d[pos + 1] == 0xFF)
            ++pos; // fill bytes
        if (pos + 1 >= n)
            return kopf;
        const uchar marke = d[pos + 1];
        if (marke == 0xD9) {
            kopf.vollstaendig = true;
            break;
        }
        if (marke == 0x01 || (marke >= 0xD0 && marke <= 0xD7)) {
            pos += 2;
            continue;
        }
        if (pos + 3 >= n)
            return kopf;
        const qsizetype laenge = be16(d + pos + 2);
        const uchar* inhalt = d + pos + 4;
        const qsizetype inhaltLaenge = std::min<qsizetype>(laenge - 2, n - pos - 4);
        const bool sof = (marke >= 0xC0 && marke <= 0xCF) && marke != 0xC4 && marke != 0xC8 && marke != 0xCC;
        if (sof && kopf.komponenten == 0 && inhaltLaenge >= 6) {
            kopf.hoehe = be16(inhalt + 1);
            kopf.breite = be16(inhalt + 3);
            kopf.komponenten = inhalt[5];
        } else if (marke == 0xE1 && inhaltLaenge > 6 && std::memcmp(inhalt, "Exif\0\0", 6) == 0 && kopf.orientierung == 1) {
            kopf.orientierung = exifOrientierung(inhalt + 6, inhaltLaenge - 6);
        } else if (marke == 0xE2 && inhaltLaenge > 14 && std::memcmp(inhalt, "ICC_PROFILE\0", 12) == 0) {
            iccTeile[inhalt[12]] = QByteArray(reinterpret_cast<const char*>(inhalt + 14), inhaltLaenge - 14);
        }
        pos += 2 + laenge;
        if (marke != 0xDA)
            continue;
        // Entropy-coded data runs to the next marker that is neither a stuffed
        // 0xFF00 nor a restart marker; memchr keeps this quick on large files.
        while (pos + 1 < n) {
            const void* ff = std::memchr(d + pos, 0xFF, size_t(n - pos - 1));
            if (!ff) {
                pos = n;
                break;
            }
            pos = static_cast<const uchar*>(ff) - d;
            const uchar folge = d[pos + 1];
            if (folge != 0x00 && folge != 0xFF && !(folge >= 0xD0 && folge <= 0xD7))
                break;
            pos += folge == 0xFF ? 1 : 2;
        }
    }
    for (const auto& [nummer, teil] : iccTeile)
        kopf.icc += teil;
    return kopf;
}

Ladeergebnis jpegLaden(const QString& pfad)
{
    Ladeergebnis ergebnis;
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly)) {
        ergebnis.grund = QFileInfo::exists(pfad) ? QStringLiteral("Sie lässt sich nicht öffnen (fehlt die Leseberechtigung?).")
                                                 : QStringLiteral("Sie ist nicht (mehr) vorhanden.");
        return ergebnis;
    }
    const qint64 groesse = datei.size();
    uchar* abbild = groesse > 0 ? datei.map(0, groesse) : nullptr;
    const QByteArray inhalt = abbild ? QByteArray::fromRawData(reinterpret_cast<const char*>(abbild), groesse) : datei.readAll();
    if (inhalt.isEmpty()) {
        ergebnis.grund = QStringLiteral("Sie ist leer oder lässt sich nicht lesen.");
        return ergebnis;
    }

    const JpegKopf kopf = jpegKopfLesen(inhalt);
    if (kopf.komponenten == 0 || kopf.breite == 0 || kopf.hoehe == 0) {
        ergebnis.grund = QStringLiteral("Sie enthält kein JPEG-Bild.");
        return ergebnis;
    }
    if (qint64(kopf.breite) * kopf.hoehe > hoechstePixelzahl) {
        ergebnis.grund = QStringLiteral("Das Bild ist mit %1 Megapixeln zu groß; Fotoschliff verarbeitet Bilder bis %2 Megapixel.")
                             .arg(qint64(kopf.breite) * kopf.hoehe / 1'000'000)
                             .arg(hoechstePixelzahl / 1'000'000);
        return ergebnis;
    }
    if (!kopf.vollstaendig) {
        ergebnis.grund = unvollstaendig();
        return ergebnis;
    }

    // libjpeg-turbo straight into the picture's memory: the quickest way to
    // show a camera photo. What it cannot turn into RGB goes to Qt's decoder.
    tjhandle dekodierer = tjInitDecompress();
    int breite = 0, hoehe = 0, unterabtastung = 0, farbraum = 0;
    const auto* quelle = reinterpret_cast<const unsigned char*>(inhalt.constData());
    const bool kopfOk = dekodierer && tjDecompressHeader3(dekodierer, quelle, (unsigned long)inhalt.size(), &breite, &hoehe,
                                                           &unterabtastung, &farbraum) == 0;
    if (!kopfOk || farbraum == TJCS_CMYK || farbraum == TJCS_YCCK) {
        if (dekodierer)
            tjDestroy(dekodierer);
        ergebnis = mitQtLesen(inhalt);
    } else {
        QImage bild(breite, hoehe, QImage::Format_RGB32);
        if (bild.isNull()) {
            tjDestroy(dekodierer);
            ergebnis.grund = QStringLiteral("Für ein Bild dieser Größe reicht der Speicher nicht.");
            return ergebnis;
        }
        const int format = Q_BYTE_ORDER == Q_LITTLE_ENDIAN ? TJPF_BGRX : TJPF_XRGB;
        const int status = tjDecompress2(dekodierer, quelle, (unsigned long)inhalt.size(), bild.bits(), breite,
                                         int(bild.bytesPerLine()), hoehe, format, TJFLAG_ACCURATEDCT);
        // Warnings (some damaged data in the middle) still leave a usable picture.
        const bool fehler = status != 0 && tjGetErrorCode(dekodierer) == TJERR_FATAL;
        tjDestroy(dekodierer);
        if (fehler) {
            ergebnis.grund = unvollstaendig();
            return ergebnis;
        }
        ergebnis.bild = aufrichten(std::move(bild), kopf.orientierung);
    }
    if (ergebnis.bild.isNull())
        return ergebnis;

    // The published file carries no profile: what the photographer saw must be in sRGB values.
    QImage& bild = ergebnis.bild;
    if (bild.format() != QImage::Format_RGB32)
        bild = bild.convertToFormat(QImage::Format_RGB32);
    const QColorSpace profil = kopf.icc.isEmpty() ? QColorSpace() : QColorSpace::fromIccProfile(kopf.icc);
    if (profil.isValid() && profil != QColorSpace(QColorSpace::SRgb)) {
        bild.setColorSpace(profil);
        bild.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    }
    bild.setColorSpace(QColorSpace());
    return ergebnis;
}
