// libFuzzer target: the location check and the copy without metadata. Whatever the
// input, the check must not fail; where the copy is made, neither Exiv2 nor a walk over
// its segments (as libjpeg reads them, past bytes that are no marker) finds EXIF, XMP,
// IPTC or a comment in it, only the one-tag orientation block; its colour profile comes
// in parts numbered in order, is as long as its header says, and each of its text tags
// says "Farbprofil" and nothing else; it tells no place, and the loader makes of it what
// it makes of the original.
#include "codec/Bildladen.h"
#include "codec/Metadaten.h"

#include <QString>
#include <QStringDecoder>
#include <QtGlobal>

#include <cstddef>
#include <cstdint>
#include <algorithm>
#include <cstring>
#include <exception>
#include <vector>

#include <exiv2/exiv2.hpp>

namespace {

bool beginntMit(QByteArrayView daten, const char* praefix, qsizetype laenge)
{
    return daten.size() >= laenge && std::memcmp(daten.data(), praefix, size_t(laenge)) == 0;
}

// The copy's segments, walked on their own: the picture's own, JFIF, the colour profile,
// the Adobe marker, and an EXIF block of one orientation tag (26 bytes of TIFF); nothing
// between them, nothing after the end.
bool nurErlaubteSegmente(QByteArrayView kopie, std::vector<QByteArrayView>& profilTeile)
{
    const auto* d = reinterpret_cast<const uchar*>(kopie.data());
    const qsizetype n = kopie.size();
    qsizetype pos = 2;
    while (pos + 1 < n && d[pos] == 0xFF) {
        const uchar m = d[pos + 1];
        if (m == 0xD9)
            return pos + 2 == n;
        if (m >= 0xD0 && m <= 0xD7) {
            pos += 2;
            continue;
        }
        if (pos + 4 > n)
            return false;
        const qsizetype laenge = d[pos + 2] << 8 | d[pos + 3];
        const QByteArrayView inhalt = kopie.sliced(pos + 4, std::min(laenge - 2, n - pos - 4));
        const bool bild = (m >= 0xC0 && m <= 0xCF && m != 0xC8) || m == 0xDA || m == 0xDB || m == 0xDD;
        const bool erlaubt = bild || (m == 0xE0 && beginntMit(inhalt, "JFIF\0", 5))
                          || (m == 0xE2 && beginntMit(inhalt, "ICC_PROFILE\0", 12))
                          || (m == 0xEE && beginntMit(inhalt, "Adobe", 5))
                          || (m == 0xE1 && inhalt.size() == 6 + 26 && beginntMit(inhalt, "Exif\0\0MM\0*", 10));
        if (!erlaubt || laenge < 2)
            return false;
        if (m == 0xE2)
            profilTeile.push_back(inhalt);
        pos += 2 + laenge;
        if (m == 0xDA) // coded data up to the next marker that is no restart marker
            while (pos + 1 < n && !(d[pos] == 0xFF && d[pos + 1] != 0x00 && d[pos + 1] != 0xFF && !(d[pos + 1] >= 0xD0 && d[pos + 1] <= 0xD7)))
                ++pos;
    }
    return false;
}

quint32 be32(QByteArrayView d, qsizetype i)
{
    if (i < 0 || i + 4 > d.size())
        return 0;
    const auto* p = reinterpret_cast<const uchar*>(d.data() + i);
    return quint32(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

// The profile from the copy's parts: numbered 1 to n of n in order, as long as its header
// says, each text tag saying "Farbprofil" and nothing else.
bool profilNeutral(const std::vector<QByteArrayView>& teile)
{
    QByteArray profil;
    for (size_t i = 0; i < teile.size(); ++i) {
        if (teile[i].size() < 14 || size_t(uchar(teile[i][12])) != i + 1 || size_t(uchar(teile[i][13])) != teile.size())
            return false;
        profil += teile[i].sliced(14);
    }
    if (teile.empty())
        return true;
    if (profil.size() < 132 || be32(profil, 0) != quint32(profil.size()))
        return false;
    for (quint32 i = 0; i < be32(profil, 128); ++i) {
        const quint32 ab = be32(profil, 136 + 12 * i), laenge = be32(profil, 140 + 12 * i);
        if (ab < 132 || ab > quint32(profil.size()) || laenge > quint32(profil.size()) - ab)
            return false;
        const QByteArray tag = profil.mid(ab, laenge), typ = tag.left(4);
        const QString text = typ == "text" || typ == "utf8" ? QString::fromLatin1(tag.mid(8)).chopped(1)
                           : typ == "desc" ? QString::fromLatin1(tag.mid(12, qsizetype(be32(tag, 8)) - 1))
                           : typ == "mluc" ? QString(QStringDecoder(QStringDecoder::Utf16BE)(tag.mid(28)))
                           : typ == "ut16" ? QString(QStringDecoder(QStringDecoder::Utf16BE)(tag.mid(8)))
                                           : QStringLiteral("Farbprofil");
        if (text != QStringLiteral("Farbprofil"))
            return false;
    }
    return true;
}

bool exiv2FindetNichts(QByteArrayView kopie)
{
    try {
        const auto bild = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(kopie.data()), long(kopie.size()));
        bild->readMetadata();
        for (const Exiv2::Exifdatum& d : bild->exifData())
            if (d.key() != "Exif.Image.Orientation")
                return false;
        return bild->xmpData().empty() && bild->iptcData().empty() && bild->comment().empty();
    } catch (const std::exception&) {
        return true; // what Exiv2 does not read, it does not show
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t laenge)
{
    const QByteArrayView original(daten, qsizetype(laenge));
    (void)metadaten::standortEnthalten(original);
    const QByteArray kopie = metadaten::ohneMetadaten(original);
    if (kopie.isEmpty())
        return 0;
    std::vector<QByteArrayView> profilTeile;
    if (!nurErlaubteSegmente(kopie, profilTeile) || !profilNeutral(profilTeile) || !exiv2FindetNichts(kopie)
        || metadaten::standortEnthalten(kopie))
        __builtin_trap();
    // The same picture: the same refusal, or the same pixels, upright as before.
    constexpr qint64 pixelGrenze = 1'000'000;
    const Ladeergebnis vorher = jpegDekodieren(original, pixelGrenze), nachher = jpegDekodieren(kopie, pixelGrenze);
    if (vorher.fehler != nachher.fehler || vorher.bild != nachher.bild)
        __builtin_trap();
    return 0;
}
