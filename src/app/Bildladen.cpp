#include "app/Bildladen.h"

#include <QBuffer>
#include <QColorSpace>
#include <QFile>
#include <QFileInfo>
#include <QImageReader>

namespace {

quint16 laenge(QByteArrayView d, qsizetype pos) { return quint16((quint8(d[pos]) << 8) | quint8(d[pos + 1])); }

} // namespace

bool jpegVollstaendig(QByteArrayView d)
{
    const qsizetype n = d.size();
    if (n < 4 || quint8(d[0]) != 0xFF || quint8(d[1]) != 0xD8)
        return false;
    qsizetype pos = 2;
    while (pos + 1 < n) {
        if (quint8(d[pos]) != 0xFF)
            return false; // no marker where one must be
        while (pos + 1 < n && quint8(d[pos + 1]) == 0xFF)
            ++pos; // fill bytes
        if (pos + 1 >= n)
            return false;
        const quint8 marke = quint8(d[pos + 1]);
        if (marke == 0xD9)
            return true;
        if (marke == 0x01 || (marke >= 0xD0 && marke <= 0xD7)) {
            pos += 2;
            continue;
        }
        if (pos + 3 >= n)
            return false;
        pos += 2 + laenge(d, pos + 2);
        if (marke != 0xDA)
            continue;
        // Entropy-coded data: runs to the next marker that is neither a stuffed
        // 0xFF00 nor a restart marker.
        while (pos + 1 < n) {
            if (quint8(d[pos]) == 0xFF) {
                const quint8 folge = quint8(d[pos + 1]);
                if (folge != 0x00 && folge != 0xFF && !(folge >= 0xD0 && folge <= 0xD7))
                    break;
            }
            ++pos;
        }
    }
    return false;
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
    QByteArray inhalt = abbild ? QByteArray::fromRawData(reinterpret_cast<const char*>(abbild), groesse) : datei.readAll();
    if (inhalt.isEmpty()) {
        ergebnis.grund = QStringLiteral("Sie ist leer oder lässt sich nicht lesen.");
        return ergebnis;
    }

    QBuffer puffer(&inhalt);
    puffer.open(QIODevice::ReadOnly);
    QImageReader leser(&puffer, "jpeg");
    leser.setDecideFormatFromContent(false);
    leser.setAutoTransform(true);
    if (!leser.canRead()) {
        ergebnis.grund = QStringLiteral("Sie enthält kein JPEG-Bild.");
        return ergebnis;
    }
    const QSize masse = leser.size();
    if (masse.isValid() && qint64(masse.width()) * masse.height() > hoechstePixelzahl) {
        ergebnis.grund = QStringLiteral("Das Bild ist mit %1 Megapixeln zu groß; Fotoschliff verarbeitet Bilder bis %2 Megapixel.")
                             .arg(qint64(masse.width()) * masse.height() / 1'000'000)
                             .arg(hoechstePixelzahl / 1'000'000);
        return ergebnis;
    }
    if (!jpegVollstaendig(inhalt)) {
        ergebnis.grund = QStringLiteral("Die Bilddaten sind unvollständig oder beschädigt.");
        return ergebnis;
    }

    // Qt refuses images beyond its allocation limit; ours is the pixel limit above.
    if (QImageReader::allocationLimit() < int(hoechstePixelzahl * 4 / (1024 * 1024)) + 1)
        QImageReader::setAllocationLimit(int(hoechstePixelzahl * 4 / (1024 * 1024)) + 1);

    QImage bild;
    if (!leser.read(&bild) || bild.isNull()) {
        ergebnis.grund = leser.error() == QImageReader::InvalidDataError
                             ? QStringLiteral("Die Bilddaten sind unvollständig oder beschädigt.")
                             : QStringLiteral("Sie lässt sich nicht dekodieren (zu wenig Speicher?).");
        return ergebnis;
    }

    // The published file carries no profile: what the photographer saw must be in sRGB values.
    const QColorSpace farbraum = bild.colorSpace();
    if (farbraum.isValid() && farbraum != QColorSpace(QColorSpace::SRgb)
        && (bild.format() == QImage::Format_RGB32 || bild.format() == QImage::Format_ARGB32))
        bild.convertToColorSpace(QColorSpace(QColorSpace::SRgb));
    bild.setColorSpace(QColorSpace());

    if (bild.format() != QImage::Format_RGB32)
        bild = bild.convertToFormat(QImage::Format_RGB32);
    ergebnis.bild = std::move(bild);
    return ergebnis;
}
