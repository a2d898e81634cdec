#include "codec/Metadaten.h"

#include "codec/Farbprofil.h"
#include "codec/Koordinaten.h"
#include "codec/Segmente.h"

#include <QString>

#include <algorithm>
#include <cstring>
#include <exception>
#include <map>
#include <set>
#include <string>
#include <vector>

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

// Every property that tells where a photo was taken, by a part of its key, in EXIF, XMP
// and IPTC alike: the position with its height (drones write "GpsLatitude"), and every
// named place, also as the container of a structure whose parts name it. One table, so
// that every block is judged the same way.
struct Ortsangabe {
    const char* name;
    Angabe angabe;
};
const Ortsangabe ortsangaben[] = {
    {"GPSLatitude", Angabe::Position}, {"GPSLongitude", Angabe::Position}, {"GPSAltitude", Angabe::Position},
    {"GPSDestLatitude", Angabe::Position}, {"GPSDestLongitude", Angabe::Position},
    {"GPSAreaInformation", Angabe::Ort}, {"City", Angabe::Ort}, {"Sublocation", Angabe::Ort}, {"Location", Angabe::Ort},
    {"LocationName", Angabe::Ort}, {"LocationCode", Angabe::Ort}, {"LocationId", Angabe::Ort}, {"State", Angabe::Ort},
    {"ProvinceState", Angabe::Ort}, {"Country", Angabe::Ort}, {"CountryName", Angabe::Ort}, {"CountryCode", Angabe::Ort},
    {"WorldRegion", Angabe::Ort}, {"LocationCreated", Angabe::Ort}, {"LocationShown", Angabe::Ort},
    {"shotLocation", Angabe::Ort}, {"coverage", Angabe::Ort},
};

// What a key names by its parts, the last one that is a place deciding:
// "Xmp.iptcExt.LocationShown[1]/Iptc4xmpExt:City" -> place, ".../exif:GPSLatitude" -> position.
Angabe schluesselAngabe(const std::string& schluessel)
{
    Angabe angabe = Angabe::Keine;
    const QLatin1StringView s(schluessel.data(), qsizetype(schluessel.size()));
    for (qsizetype anfang = 0; anfang < s.size();) {
        qsizetype ende = anfang;
        while (ende < s.size() && s[ende] != u'.' && s[ende] != u':' && s[ende] != u'/' && s[ende] != u'[')
            ++ende;
        const QLatin1StringView teil = s.sliced(anfang, ende - anfang);
        for (const Ortsangabe& o : ortsangaben)
            if (teil.compare(QLatin1StringView(o.name), Qt::CaseInsensitive) == 0)
                angabe = o.angabe;
        while (ende < s.size() && s[ende] == u'[') // an index: [1]
            ende = s.indexOf(u']', ende) < 0 ? s.size() : s.indexOf(u']', ende) + 1;
        anfang = ende + 1;
    }
    return angabe;
}

// A place tag that says something; the charset prefix of an EXIF text is no place.
Angabe ortsangabe(const Exiv2::Metadatum& d)
{
    const Angabe angabe = schluesselAngabe(d.key());
    if (angabe == Angabe::Keine || d.count() == 0)
        return Angabe::Keine;
    const auto* kommentar = dynamic_cast<const Exiv2::CommentValue*>(&d.value());
    const std::string text = kommentar ? kommentar->comment() : d.toString();
    return QString::fromStdString(text).trimmed().isEmpty() ? Angabe::Keine : angabe;
}

template <typename Daten>
Angabe ortIn(const Daten& daten)
{
    for (const auto& d : daten)
        if (const Angabe a = ortsangabe(d); a != Angabe::Keine)
            return a;
    return Angabe::Keine;
}

// An XMP packet Exiv2 cannot parse may still be read by others: any place tag in it counts.
Angabe ortImText(QByteArrayView xmp)
{
    const QString text = QString::fromUtf8(xmp);
    for (const Ortsangabe& o : ortsangaben)
        if (text.contains(QLatin1Char(':') + QLatin1String(o.name), Qt::CaseInsensitive))
            return o.angabe;
    return Angabe::Keine;
}

bool beginntMit(QByteArrayView inhalt, const char* praefix, qsizetype praefixLaenge)
{
    return inhalt.size() >= praefixLaenge && std::memcmp(inhalt.data(), praefix, size_t(praefixLaenge)) == 0;
}

QByteArray segmentBauen(uchar marke, QByteArrayView inhalt)
{
    const qsizetype laenge = inhalt.size() + 2;
    return QByteArray("\xFF", 1) + char(marke) + char(laenge >> 8) + char(laenge & 0xFF) + inhalt.toByteArray();
}

// An APP1 Exif block with nothing but the orientation tag.
QByteArray orientierungsBlock(int orientierung)
{
    // Big-endian TIFF header, IFD0 with one entry: 0x0112, SHORT, count 1, value; no next IFD.
    const char tiff[] = {'M', 'M', 0, 42, 0, 0, 0, 8, 0, 1, 0x01, 0x12, 0, 3, 0, 0, 0, 1, 0, char(orientierung), 0, 0, 0, 0, 0, 0};
    return segmentBauen(0xE1, QByteArray("Exif\0\0", 6) + QByteArray(tiff, sizeof tiff));
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
const char iccKennung[] = "ICC_PROFILE"; // 12

// Where the TIFF structure of an APP1 EXIF block starts, -1 in none: after "Exif\0" and
// one more byte, in any case, with up to four bytes before it, as ExifTool reads it.
qsizetype tiffAnfang(QByteArrayView inhalt)
{
    for (qsizetype vor = 0; vor <= 4 && vor + 6 + 8 <= inhalt.size(); ++vor)
        if (inhalt.sliced(vor, 4).compare(QByteArrayView("exif"), Qt::CaseInsensitive) == 0 && inhalt[vor + 4] == '\0')
            return vor + 6;
    return -1;
}

QString ausUtf16(QByteArrayView b, bool klein)
{
    QString text;
    for (qsizetype i = 0; i + 1 < b.size(); i += 2)
        text += QChar(char16_t(klein ? uchar(b[i]) | uchar(b[i + 1]) << 8 : uchar(b[i]) << 8 | uchar(b[i + 1])));
    return text;
}

// The TIFF structure of an EXIF block walked the way ExifTool walks it, which Exiv2 does
// not: a GPS IFD counts wherever it is linked from, and UCS-2 texts are read as such.
Angabe tiffAngabe(QByteArrayView d)
{
    if (d.size() < 8 || !(d.startsWith("II*\0") || d.startsWith("MM\0*")))
        return Angabe::Keine;
    const bool klein = d[0] == 'I';
    const auto zahl = [&](qint64 i, int breite) -> quint32 {
        if (i < 0 || i + breite > d.size())
            return 0;
        quint32 z = 0;
        for (int k = 0; k < breite; ++k)
            z |= quint32(uchar(d[i + k])) << (8 * (klein ? k : breite - 1 - k));
        return z;
    };
    std::vector<std::pair<quint32, bool>> offen{{zahl(4, 4), false}}; // IFD, whether a GPS IFD
    std::set<quint32> gesehen;
    while (!offen.empty() && gesehen.size() < 256) {
        const auto [ifd, gps] = offen.back();
        offen.pop_back();
        if (ifd < 8 || ifd + 2 > d.size() || !gesehen.insert(ifd).second)
            continue;
        const qint64 anzahl = std::min<qint64>(zahl(ifd, 2), (d.size() - ifd - 2) / 12);
        for (qint64 k = 0; k < anzahl; ++k) {
            const qint64 e = ifd + 2 + 12 * k;
            const quint32 tag = zahl(e, 2), typ = zahl(e + 2, 2), n = zahl(e + 4, 4);
            static const int groessen[] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8, 4};
            const qint64 bytes = qint64(typ < 14 ? groessen[typ] : 0) * n;
            const qint64 wert = bytes <= 4 ? e + 8 : zahl(e + 8, 4);
            if (bytes == 0 || wert + bytes > d.size())
                continue;
            const QByteArrayView inhalt = d.sliced(wert, bytes);
            if (gps && n > 0 && (tag == 0x02 || tag == 0x04 || tag == 0x06 || tag == 0x14 || tag == 0x16))
                return Angabe::Position;
            if (gps && tag == 0x1C && bytes > 8 && !inhalt.sliced(8).toByteArray().replace('\0', ' ').trimmed().isEmpty())
                return Angabe::Ort;
            if ((typ == 4 || typ == 13) && (tag == 0x8825 || tag == 0x8769 || tag == 0xA005 || tag == 0x014A))
                for (quint32 i = 0; i < std::min(n, 32u); ++i)
                    offen.push_back({zahl(wert + 4 * i, 4), tag == 0x8825});
            const bool xp = tag >= 0x9C9B && tag <= 0x9C9F;
            const bool unicode = tag == 0x9286 && inhalt.startsWith(QByteArrayView("UNICODE\0", 8));
            if ((xp && koordinaten::inText(ausUtf16(inhalt, true)))
                || (unicode && (koordinaten::inText(ausUtf16(inhalt.sliced(8), klein)) || koordinaten::inText(ausUtf16(inhalt.sliced(8), !klein)))))
                return Angabe::Position;
        }
        if (!gps) // IFD1 after IFD0, and so on
            offen.push_back({zahl(ifd + 2 + 12 * anzahl, 4), false});
    }
    return Angabe::Keine;
}

// Looks at every metadata block of a file the way the readers of a published photo do:
// each EXIF, XMP and Photoshop/IPTC block, also a second or third one, also after the
// first scan, and those of further pictures embedded in the file.
struct Ortssuche {
    Fund fund;
    QByteArray photoshop; // the Photoshop blocks one after the other, as Exiv2 joins them
    std::map<QByteArray, QByteArray> erweitert; // extended XMP by its GUID
    qint64 erweitertBytes = 0;
    std::map<int, QByteArray> icc; // the profile's parts by their number, as the loader takes them

    bool gefunden() const { return fund.angabe != Angabe::Keine; }
    void finden(Block block, Angabe angabe)
    {
        if (!gefunden() && angabe != Angabe::Keine)
            fund = {block, angabe};
    }
    void text(Block block, QByteArrayView inhalt)
    {
        if (!gefunden() && koordinaten::inText(inhalt))
            finden(block, Angabe::Position);
    }

    void exif(QByteArrayView tiff)
    {
        Exiv2::ExifData daten;
        try {
            Exiv2::ExifParser::decode(daten, bytes(tiff), uint32_t(tiff.size()));
        } catch (const std::exception&) {
            // what was read before the damage still counts
        }
        finden(Block::Exif, ortIn(daten));
        if (!gefunden())
            finden(Block::Exif, tiffAngabe(tiff));
    }

    void xmp(QByteArrayView paket)
    {
        Exiv2::XmpData daten;
        bool gelesen = false;
        try {
            gelesen = Exiv2::XmpParser::decode(daten, std::string(paket.data(), size_t(paket.size()))) == 0;
        } catch (const std::exception&) {
        }
        finden(Block::Xmp, gelesen ? ortIn(daten) : ortImText(paket));
        text(Block::Xmp, paket);
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
                    finden(Block::Iptc, ortIn(daten));
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
        const uchar m = s.marke;
        const QByteArrayView inhalt = s.inhalt;
        if (m == 0xE1) {
            if (const qsizetype tiff = tiffAnfang(inhalt); tiff >= 0) {
                exif(inhalt.sliced(tiff));
                text(Block::Exif, inhalt);
            } else if (beginntMit(inhalt, xmpKennung, sizeof xmpKennung)) {
                xmp(inhalt.sliced(sizeof xmpKennung));
            } else if (beginntMit(inhalt, xmpAlteKennung, sizeof xmpAlteKennung)) {
                xmp(inhalt.sliced(sizeof xmpAlteKennung));
            } else if (beginntMit(inhalt, xmpErweitert, sizeof xmpErweitert)) {
                erweitertSammeln(inhalt.sliced(sizeof xmpErweitert));
                text(Block::Xmp, inhalt);
            } else {
                text(Block::Anderer, inhalt);
            }
        } else if (m == 0xED && beginntMit(inhalt, photoshopKennung, sizeof photoshopKennung)) {
            iptc(inhalt.sliced(sizeof photoshopKennung));
            photoshop += inhalt.sliced(sizeof photoshopKennung);
            text(Block::Iptc, inhalt);
        } else if (m == 0xE2 && inhalt.size() > 14 && beginntMit(inhalt, iccKennung, sizeof iccKennung)) {
            icc[uchar(inhalt[12])] = inhalt.sliced(14).toByteArray();
        } else if (m == 0xFE) {
            text(Block::Kommentar, inhalt);
        } else if ((m == 0xE0 && beginntMit(inhalt, "JFIF\0", 5)) || (m == 0xEE && beginntMit(inhalt, "Adobe", 5))) {
            // fields and a thumbnail's pixels, no text
        } else if ((m >= 0xE0 && m <= 0xEF) || (m >= 0xF0 && m <= 0xFD)) {
            text(Block::Anderer, inhalt);
        }
    }

    // One picture's blocks, from its start marker; where the walk ended.
    qsizetype bild(QByteArrayView jpeg, qsizetype anfang)
    {
        segmente::Leser leser(jpeg.sliced(anfang), true);
        icc.clear();
        while (leser.weiter() && !gefunden())
            segment(leser.segment());
        QByteArray profil;
        for (const auto& [nummer, teil] : icc)
            profil += teil;
        if (!gefunden() && !profil.isEmpty() && farbprofil::positionInTexten(profil))
            finden(Block::Farbprofil, Angabe::Position);
        return anfang + leser.position();
    }

    void abschliessen()
    {
        if (!photoshop.isEmpty())
            iptc(photoshop);
        for (const auto& [guid, paket] : erweitert)
            if (!gefunden())
                xmp(paket);
    }
};

// Where the next embedded picture starts (FF D8 FF); memchr keeps this quick on large files.
qsizetype bildAnfang(QByteArrayView jpeg, qsizetype ab)
{
    const auto* d = reinterpret_cast<const uchar*>(jpeg.data());
    while (ab + 2 < jpeg.size()) {
        const void* ff = std::memchr(d + ab, 0xFF, size_t(jpeg.size() - ab - 2));
        if (!ff)
            return -1;
        ab = static_cast<const uchar*>(ff) - d;
        if (d[ab + 1] == 0xD8 && d[ab + 2] == 0xFF)
            return ab;
        ++ab;
    }
    return -1;
}

// The place where Exiv2 reads the file as a whole.
Fund ortLautExiv2(QByteArrayView jpeg)
{
    try {
        const auto bild = Exiv2::ImageFactory::open(bytes(jpeg), long(jpeg.size()));
        if (!bild.get() || bild->imageType() != Exiv2::ImageType::jpeg)
            return {};
        bild->readMetadata();
        for (const auto& [block, angabe] : {std::pair{Block::Exif, ortIn(bild->exifData())},
                                            std::pair{Block::Xmp, ortIn(bild->xmpData())},
                                            std::pair{Block::Iptc, ortIn(bild->iptcData())}})
            if (angabe != Angabe::Keine)
                return {block, angabe};
    } catch (const std::exception&) {
        // unreadable metadata tells no place
    }
    return {};
}

} // namespace

Fund standortSuchen(QByteArrayView jpeg)
{
    if (jpeg.size() < 4)
        return {};
    exiv2Vorbereiten();
    if (const Fund fund = ortLautExiv2(jpeg); fund.angabe != Angabe::Keine)
        return fund;
    Ortssuche suche;
    suche.bild(jpeg, 0);
    // Further pictures: a preview inside an EXIF block, or one after the end marker.
    qsizetype pos = 1;
    for (int weitere = 0; weitere < 16 && !suche.gefunden(); ++weitere) {
        const qsizetype soi = bildAnfang(jpeg, pos);
        if (soi < 0)
            break;
        pos = std::max(suche.bild(jpeg, soi), soi + 2);
    }
    if (!suche.gefunden())
        suche.abschliessen();
    return suche.fund;
}

bool standortEnthalten(QByteArrayView jpeg) { return standortSuchen(jpeg).angabe != Angabe::Keine; }

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
    qsizetype profilStelle = -1;
    std::map<int, QByteArrayView> profilTeile; // as the loader puts them together
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
        const bool adobe = m == 0xEE && beginntMit(s.inhalt, "Adobe", 5);
        if (m == 0xE2 && beginntMit(s.inhalt, iccKennung, sizeof iccKennung)) {
            if (profilStelle < 0)
                profilStelle = kopie.size();
            if (s.inhalt.size() > 14)
                profilTeile[uchar(s.inhalt[12])] = s.inhalt.sliced(14);
            continue;
        }
        if (!bild && m != 0xDA && !jfif && !adobe)
            continue;
        rahmen = rahmen || (m >= 0xC0 && m <= 0xCF && m != 0xC4 && m != 0xCC);
        if (m == 0xDA && !rahmen)
            return {}; // a scan before its frame is no picture
        scan = scan || m == 0xDA;
        if (!jfif && einfuegen < 0)
            einfuegen = kopie.size();
        // JFIF: version, units, densities, and a thumbnail of 0 x 0; Adobe: version, flags, transform.
        const qsizetype felder = jfif ? 14 : adobe ? 12 : s.inhalt.size();
        if (felder < s.inhalt.size()) {
            QByteArray kurz = segmentBauen(m, s.inhalt.first(felder));
            if (jfif)
                kurz[4 + 12] = kurz[4 + 13] = 0;
            kopie += kurz;
        } else {
            kopie.append(jpeg.sliced(s.anfang, s.ende - s.anfang));
        }
    }
    if (leser.ende() != segmente::Ende::Endmarke || !scan)
        return {}; // not a complete picture, or bytes that are no JPEG structure
    kopie.append("\xFF\xD9", 2);
    if (!profilTeile.empty()) {
        QByteArray profil;
        for (const auto& [nummer, teil] : profilTeile)
            profil += teil;
        // A profile no reader takes changes no colour: it goes.
        const QByteArray segmente = farbprofil::alsSegmente(farbprofil::ohneTexte(profil));
        kopie.insert(profilStelle, segmente);
        if (einfuegen > profilStelle)
            einfuegen += segmente.size();
    }
    if (orientierung != 1)
        kopie.insert(einfuegen, orientierungsBlock(orientierung));
    // A kept block (a colour tag of the profile) can hide a whole photo with its place.
    if (standortEnthalten(kopie))
        return {};
    return kopie; // anything after the end marker stays behind
}

} // namespace metadaten
