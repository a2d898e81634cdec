#include "codec/Metadaten.h"

#include <QString>

#include <cstring>
#include <exception>
#include <string>

#include <exiv2/exiv2.hpp>

namespace metadaten {

namespace {

void exiv2Vorbereiten()
{
    static const bool bereit = [] {
        // The program has no log; a damaged tag is simply not there.
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        Exiv2::XmpParser::initialize();
        return true;
    }();
    (void)bereit;
}

const Exiv2::byte* bytes(QByteArrayView daten) { return reinterpret_cast<const Exiv2::byte*>(daten.data()); }

// The last part of a key: "Exif.GPSInfo.GPSLatitude" -> GPSLatitude,
// "Xmp.iptcExt.LocationShown[1]/Iptc4xmpExt:City" -> City.
QString tagName(const std::string& schluessel)
{
    const size_t ende = schluessel.find_last_of(".:/");
    return QString::fromStdString(ende == std::string::npos ? schluessel : schluessel.substr(ende + 1));
}

// Coordinates, or a place named below the country: the forum's find-location
// report asks for country and state anyway, a site or a position is what gives a
// rare plant away.
bool ortsangabe(const std::string& schluessel, const Exiv2::Metadatum& wert)
{
    static const char* const namen[] = {"GPSLatitude", "GPSLongitude", "GPSDestLatitude", "GPSDestLongitude",
                                        "City", "Sublocation", "Location", "LocationName"};
    const QString name = tagName(schluessel);
    for (const char* n : namen)
        if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return wert.count() > 0 && !QString::fromStdString(wert.toString()).trimmed().isEmpty();
    return false;
}

quint16 be16(const uchar* p) { return quint16((p[0] << 8) | p[1]); }

bool beginntMit(const uchar* inhalt, qsizetype laenge, const char* praefix, qsizetype praefixLaenge)
{
    return laenge >= praefixLaenge && std::memcmp(inhalt, praefix, size_t(praefixLaenge)) == 0;
}

// An APP1 Exif block with nothing but the orientation tag.
QByteArray orientierungsBlock(int orientierung)
{
    // Big-endian TIFF header, IFD0 with one entry: 0x0112, SHORT, count 1, value; no next IFD.
    const char tiff[] = {'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1, 0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, char(orientierung), 0, 0, 0, 0, 0, 0};
    QByteArray inhalt = QByteArray("Exif\0\0", 6) + QByteArray(tiff, sizeof tiff);
    const int laenge = int(inhalt.size()) + 2;
    QByteArray block("\xFF\xE1", 2);
    block += char(laenge >> 8);
    block += char(laenge & 0xFF);
    return block + inhalt;
}

} // namespace

int exifOrientierung(QByteArrayView tiff)
{
    if (tiff.size() < 8)
        return 1;
    exiv2Vorbereiten();
    try {
        Exiv2::ExifData exif;
        Exiv2::ExifParser::decode(exif, bytes(tiff), uint32_t(std::min<qsizetype>(tiff.size(), 0xFFFF)));
        const auto eintrag = exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation"));
        if (eintrag == exif.end() || eintrag->count() < 1)
            return 1;
        const long wert = eintrag->toLong();
        return wert >= 1 && wert <= 8 ? int(wert) : 1;
    } catch (const std::exception&) {
        return 1;
    }
}

bool standortEnthalten(QByteArrayView jpeg)
{
    if (jpeg.size() < 4)
        return false;
    exiv2Vorbereiten();
    try {
        const auto bild = Exiv2::ImageFactory::open(bytes(jpeg), long(jpeg.size()));
        if (!bild.get() || bild->imageType() != Exiv2::ImageType::jpeg)
            return false;
        bild->readMetadata();
        for (const Exiv2::Exifdatum& d : bild->exifData())
            if (ortsangabe(d.key(), d))
                return true;
        for (const Exiv2::Xmpdatum& d : bild->xmpData())
            if (ortsangabe(d.key(), d))
                return true;
        for (const Exiv2::Iptcdatum& d : bild->iptcData())
            if (ortsangabe(d.key(), d))
                return true;
    } catch (const std::exception&) {
        // Unreadable metadata tells no place.
    }
    return false;
}

QByteArray ohneMetadaten(QByteArrayView jpeg)
{
    const auto* d = reinterpret_cast<const uchar*>(jpeg.data());
    const qsizetype n = jpeg.size();
    if (n < 4 || d[0] != 0xFF || d[1] != 0xD8)
        return {};

    QByteArray kopie;
    kopie.reserve(n);
    kopie.append("\xFF\xD8", 2);
    int orientierung = 1;
    bool orientierungGelesen = false;
    qsizetype einfuegen = -1; // where the orientation goes: right after the JFIF header
    qsizetype pos = 2;
    while (pos + 1 < n) {
        if (d[pos] != 0xFF)
            return {};
        while (pos + 1 < n && d[pos + 1] == 0xFF)
            ++pos; // fill bytes
        if (pos + 1 >= n)
            return {};
        const uchar marke = d[pos + 1];
        if (marke == 0xD9) {
            kopie.append("\xFF\xD9", 2);
            if (orientierung != 1 && einfuegen > 0)
                kopie.insert(einfuegen, orientierungsBlock(orientierung));
            return kopie; // anything after the end marker stays behind
        }
        if (marke == 0x01 || (marke >= 0xD0 && marke <= 0xD7)) {
            kopie.append(reinterpret_cast<const char*>(d + pos), 2);
            pos += 2;
            continue;
        }
        if (pos + 3 >= n)
            return {};
        const qsizetype laenge = be16(d + pos + 2);
        if (laenge < 2 || pos + 2 + laenge > n)
            return {};
        const uchar* inhalt = d + pos + 4;
        const qsizetype inhaltLaenge = laenge - 2;

        bool behalten = true;
        if (marke == 0xE1 && !orientierungGelesen && beginntMit(inhalt, inhaltLaenge, "Exif\0\0", 6)) {
            orientierungGelesen = true;
            orientierung = exifOrientierung(QByteArrayView(inhalt + 6, inhaltLaenge - 6));
        }
        if (marke == 0xE2)
            behalten = beginntMit(inhalt, inhaltLaenge, "ICC_PROFILE\0", 12);
        else if (marke == 0xEE)
            behalten = beginntMit(inhalt, inhaltLaenge, "Adobe", 5);
        else if ((marke >= 0xE1 && marke <= 0xEF) || marke == 0xFE)
            behalten = false;
        if (behalten && marke != 0xE0 && einfuegen < 0)
            einfuegen = kopie.size();
        if (behalten)
            kopie.append(reinterpret_cast<const char*>(d + pos), 2 + laenge);
        pos += 2 + laenge;
        if (marke != 0xDA)
            continue;
        const qsizetype anfang = pos;
        pos = scanEnde(d, n, pos);
        kopie.append(reinterpret_cast<const char*>(d + anfang), pos - anfang);
    }
    return {}; // no end marker: not a complete picture
}

qsizetype scanEnde(const uchar* d, qsizetype n, qsizetype pos)
{
    // memchr keeps this quick on large files.
    while (pos + 1 < n) {
        const void* ff = std::memchr(d + pos, 0xFF, size_t(n - pos - 1));
        if (!ff)
            return n;
        pos = static_cast<const uchar*>(ff) - d;
        const uchar folge = d[pos + 1];
        if (folge != 0x00 && folge != 0xFF && !(folge >= 0xD0 && folge <= 0xD7))
            return pos;
        pos += folge == 0xFF ? 1 : 2;
    }
    return pos;
}

} // namespace metadaten
