#include "codec/Metadaten.h"

#include "codec/Segmente.h"

#include <QString>

#include <algorithm>
#include <cstring>
#include <exception>
#include <map>
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

// Every tag that tells where a photo was taken, by the last part of its key, in EXIF,
// XMP and IPTC alike: the position with its height and area (drones write "GpsLatitude"),
// and every named place. One table, so that every block is judged the same way.
const char* const ortsangaben[] = {
    "GPSLatitude", "GPSLongitude", "GPSAltitude", "GPSDestLatitude", "GPSDestLongitude", "GPSAreaInformation",
    "City", "Sublocation", "Location", "LocationName", "State", "ProvinceState", "Country", "CountryName", "CountryCode",
};

// The last part of a key: "Exif.GPSInfo.GPSLatitude" -> GPSLatitude,
// "Xmp.iptcExt.LocationShown[1]/Iptc4xmpExt:City" -> City.
QString tagName(const std::string& schluessel)
{
    const size_t ende = schluessel.find_last_of(".:/");
    return QString::fromStdString(ende == std::string::npos ? schluessel : schluessel.substr(ende + 1));
}

bool ortsname(QStringView name)
{
    for (const char* n : ortsangaben)
        if (name.compare(QLatin1String(n), Qt::CaseInsensitive) == 0)
            return true;
    return false;
}

// A place tag that says something; the charset prefix of an EXIF text is no place.
bool ortsangabe(const Exiv2::Metadatum& d)
{
    if (!ortsname(tagName(d.key())) || d.count() == 0)
        return false;
    const auto* kommentar = dynamic_cast<const Exiv2::CommentValue*>(&d.value());
    const std::string text = kommentar ? kommentar->comment() : d.toString();
    return !QString::fromStdString(text).trimmed().isEmpty();
}

template <typename Daten>
bool ortIn(const Daten& daten)
{
    for (const auto& d : daten)
        if (ortsangabe(d))
            return true;
    return false;
}

// An XMP packet Exiv2 cannot parse may still be read by others: any place tag in it counts.
bool ortImText(QByteArrayView xmp)
{
    const QString text = QString::fromUtf8(xmp);
    for (const char* n : ortsangaben)
        if (text.contains(QLatin1Char(':') + QLatin1String(n), Qt::CaseInsensitive))
            return true;
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

namespace {

const char xmpKennung[] = "http://ns.adobe.com/xap/1.0/"; // with its zero byte: 29
const char xmpAlteKennung[] = "XMP\0://ns.adobe.com/xap/1.0/"; // 33
const char xmpErweitert[] = "http://ns.adobe.com/xmp/extension/"; // 35, then GUID, length, offset
const char photoshopKennung[] = "Photoshop 3.0"; // 14

// Looks at every metadata block of a file the way the readers of a published photo do:
// each EXIF, XMP and Photoshop/IPTC block, also a second or third one, also after the
// first scan, and those of further pictures embedded in the file.
struct Ortssuche {
    bool gefunden = false;
    QByteArray photoshop; // the Photoshop blocks one after the other, as Exiv2 joins them
    std::map<QByteArray, QByteArray> erweitert; // extended XMP by its GUID
    qint64 erweitertBytes = 0;

    void exif(QByteArrayView tiff)
    {
        Exiv2::ExifData daten;
        try {
            Exiv2::ExifParser::decode(daten, bytes(tiff), uint32_t(tiff.size()));
        } catch (const std::exception&) {
            // what was read before the damage still counts
        }
        gefunden = gefunden || ortIn(daten);
    }

    void xmp(QByteArrayView paket)
    {
        Exiv2::XmpData daten;
        bool gelesen = false;
        try {
            gelesen = Exiv2::XmpParser::decode(daten, std::string(paket.data(), size_t(paket.size()))) == 0;
        } catch (const std::exception&) {
        }
        gefunden = gefunden || (gelesen ? ortIn(daten) : ortImText(paket));
    }

    void iptc(QByteArrayView ps)
    {
        const Exiv2::byte* p = bytes(ps);
        long rest = long(ps.size());
        const Exiv2::byte* satz = nullptr;
        uint32_t kopf = 0, groesse = 0;
        while (rest > 0 && Exiv2::Photoshop::locateIptcIrb(p, rest, &satz, &kopf, &groesse) == 0) {
            Exiv2::IptcData daten;
            try {
                if (Exiv2::IptcParser::decode(daten, satz + kopf, groesse) == 0)
                    gefunden = gefunden || ortIn(daten);
            } catch (const std::exception&) {
            }
            const long weiter = long(satz - p) + long(kopf) + long(groesse) + long(groesse & 1);
            p += weiter;
            rest -= weiter;
        }
    }

    void erweitertSammeln(QByteArrayView teil)
    {
        if (teil.size() < 40)
            return;
        const auto* d = reinterpret_cast<const uchar*>(teil.data());
        const quint32 gesamt = quint32(d[32]) << 24 | d[33] << 16 | d[34] << 8 | d[35];
        const quint32 ab = quint32(d[36]) << 24 | d[37] << 16 | d[38] << 8 | d[39];
        const QByteArrayView stueck = teil.sliced(40);
        if (ab > gesamt || stueck.size() > qsizetype(gesamt - ab))
            return;
        QByteArray& ganz = erweitert[teil.first(32).toByteArray()];
        if (ganz.size() != qsizetype(gesamt)) {
            // However many packets a file claims, together they get no more than 16 MB.
            if (erweitertBytes - ganz.size() + qint64(gesamt) > (16 << 20))
                return;
            erweitertBytes += qint64(gesamt) - ganz.size();
            ganz = QByteArray(qsizetype(gesamt), ' ');
        }
        std::memcpy(ganz.data() + ab, stueck.data(), size_t(stueck.size()));
    }

    void segment(const segmente::Segment& s)
    {
        const QByteArrayView inhalt = s.inhalt;
        if (s.marke == 0xE1 && beginntMit(inhalt, "Exif\0\0", 6))
            exif(inhalt.sliced(6));
        else if (s.marke == 0xE1 && beginntMit(inhalt, xmpKennung, sizeof xmpKennung))
            xmp(inhalt.sliced(sizeof xmpKennung));
        else if (s.marke == 0xE1 && beginntMit(inhalt, xmpAlteKennung, sizeof xmpAlteKennung))
            xmp(inhalt.sliced(sizeof xmpAlteKennung));
        else if (s.marke == 0xE1 && beginntMit(inhalt, xmpErweitert, sizeof xmpErweitert))
            erweitertSammeln(inhalt.sliced(sizeof xmpErweitert));
        else if (s.marke == 0xED && beginntMit(inhalt, photoshopKennung, sizeof photoshopKennung)) {
            iptc(inhalt.sliced(sizeof photoshopKennung));
            photoshop += inhalt.sliced(sizeof photoshopKennung);
        }
    }

    // One picture's blocks, from its start marker; where the walk ended.
    qsizetype bild(QByteArrayView jpeg, qsizetype anfang)
    {
        segmente::Leser leser(jpeg.sliced(anfang), true);
        while (leser.weiter())
            segment(leser.segment());
        return anfang + leser.position();
    }

    void abschliessen()
    {
        if (!photoshop.isEmpty())
            iptc(photoshop);
        for (const auto& [guid, paket] : erweitert)
            xmp(paket);
    }
};

// The place where Exiv2 reads the file as a whole.
bool ortLautExiv2(QByteArrayView jpeg)
{
    try {
        const auto bild = Exiv2::ImageFactory::open(bytes(jpeg), long(jpeg.size()));
        if (!bild.get() || bild->imageType() != Exiv2::ImageType::jpeg)
            return false;
        bild->readMetadata();
        return ortIn(bild->exifData()) || ortIn(bild->xmpData()) || ortIn(bild->iptcData());
    } catch (const std::exception&) {
        return false; // unreadable metadata tells no place
    }
}

} // namespace

bool standortEnthalten(QByteArrayView jpeg)
{
    if (jpeg.size() < 4)
        return false;
    exiv2Vorbereiten();
    if (ortLautExiv2(jpeg))
        return true;
    Ortssuche suche;
    suche.bild(jpeg, 0);
    // Further pictures: a preview inside an EXIF block, or one after the end marker.
    qsizetype pos = 1;
    for (int weitere = 0; weitere < 16 && !suche.gefunden; ++weitere) {
        const qsizetype soi = jpeg.indexOf(QByteArrayView("\xFF\xD8\xFF", 3), pos);
        if (soi < 0)
            break;
        pos = std::max(suche.bild(jpeg, soi), soi + 2);
    }
    suche.abschliessen();
    return suche.gefunden;
}

void orientierungBeachten(const segmente::Segment& segment, int& orientierung)
{
    if (orientierung == 1 && segment.marke == 0xE1 && beginntMit(segment.inhalt, "Exif\0\0", 6))
        orientierung = exifOrientierung(segment.inhalt.sliced(6));
}

QByteArray ohneMetadaten(QByteArrayView jpeg)
{
    // Built from what a picture needs, never by leaving out what is known to tell
    // something: whatever else a reader might find in a segment goes with it.
    segmente::Leser leser(jpeg);
    QByteArray kopie;
    kopie.reserve(jpeg.size());
    kopie.append("\xFF\xD8", 2);
    int orientierung = 1;
    bool rahmen = false, scan = false;
    qsizetype einfuegen = -1; // where the orientation goes: right after the JFIF header
    while (leser.weiter()) {
        const segmente::Segment& s = leser.segment();
        const uchar m = s.marke;
        if (!s.ganz)
            return {};
        // Markers libjpeg refuses: left out, the copy would load where the original does not.
        if (m == 0xC8 || m == 0xDE || m == 0xDF || (m >= 0xF0 && m <= 0xFD))
            return {};
        orientierungBeachten(s, orientierung);
        const bool bild = (m >= 0xC0 && m <= 0xCF && m != 0xC8) // frames, DHT, DAC
                          || m == 0xDB || m == 0xDD             // DQT, DRI
                          || (m >= 0xD0 && m <= 0xD7);          // RSTn
        const bool jfif = m == 0xE0 && beginntMit(s.inhalt, "JFIF\0", 5);
        const bool behalten = bild || m == 0xDA || jfif || (m == 0xE2 && beginntMit(s.inhalt, "ICC_PROFILE\0", 12))
                              || (m == 0xEE && beginntMit(s.inhalt, "Adobe", 5));
        if (!behalten)
            continue;
        rahmen = rahmen || (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xCC);
        if (m == 0xDA && !rahmen)
            return {}; // a scan before its frame is no picture
        scan = scan || m == 0xDA;
        if (!jfif && einfuegen < 0)
            einfuegen = kopie.size();
        kopie.append(jpeg.sliced(s.anfang, s.ende - s.anfang));
    }
    if (leser.ende() != segmente::Ende::Endmarke || !scan)
        return {}; // not a complete picture, or bytes that are no JPEG structure
    kopie.append("\xFF\xD9", 2);
    if (orientierung != 1)
        kopie.insert(einfuegen, orientierungsBlock(orientierung));
    // A kept block (a colour profile) can hide a whole photo with its place.
    if (standortEnthalten(kopie))
        return {};
    return kopie; // anything after the end marker stays behind
}

} // namespace metadaten
