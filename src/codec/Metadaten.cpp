#include "codec/Metadaten.h"

#include "codec/Segmente.h"

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

bool beginntMit(QByteArrayView inhalt, const char* praefix, qsizetype praefixLaenge)
{
    return inhalt.size() >= praefixLaenge && std::memcmp(inhalt.data(), praefix, size_t(praefixLaenge)) == 0;
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

void orientierungBeachten(const segmente::Segment& segment, int& orientierung)
{
    if (orientierung == 1 && segment.marke == 0xE1 && beginntMit(segment.inhalt, "Exif\0\0", 6))
        orientierung = exifOrientierung(segment.inhalt.sliced(6));
}

QByteArray ohneMetadaten(QByteArrayView jpeg)
{
    segmente::Leser leser(jpeg);
    QByteArray kopie;
    kopie.reserve(jpeg.size());
    kopie.append("\xFF\xD8", 2);
    int orientierung = 1;
    qsizetype einfuegen = -1; // where the orientation goes: right after the JFIF header
    while (leser.weiter()) {
        const segmente::Segment& s = leser.segment();
        if (!s.ganz)
            return {};
        orientierungBeachten(s, orientierung);
        bool behalten = true;
        if (s.marke == 0xE2)
            behalten = beginntMit(s.inhalt, "ICC_PROFILE\0", 12);
        else if (s.marke == 0xEE)
            behalten = beginntMit(s.inhalt, "Adobe", 5);
        else if ((s.marke >= 0xE1 && s.marke <= 0xEF) || s.marke == 0xFE)
            behalten = false;
        if (behalten && s.marke != 0xE0 && einfuegen < 0)
            einfuegen = kopie.size();
        if (behalten)
            kopie.append(jpeg.sliced(s.anfang, s.ende - s.anfang));
    }
    if (leser.ende() != segmente::Ende::Endmarke)
        return {}; // not a complete picture
    kopie.append("\xFF\xD9", 2);
    if (orientierung != 1 && einfuegen > 0)
        kopie.insert(einfuegen, orientierungsBlock(orientierung));
    return kopie; // anything after the end marker stays behind
}

} // namespace metadaten
