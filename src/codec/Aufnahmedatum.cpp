#include "codec/Aufnahmedatum.h"

#include "codec/Bildladen.h"
#include "codec/Segmente.h"

#include <QRegularExpression>
#include <QXmlStreamReader>

#include <algorithm>
#include <array>
#include <cstring>
#include <exception>

#include <exiv2/exiv2.hpp>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace aufnahmedatum {

namespace {

// The sources in the order in which they count.
enum Quelle { ExifAufnahme, ExifDigitalisiert, XmpAufnahme, XmpErstellt, IptcErstellt, XmpAngelegt, quellenAnzahl };

// The first day each source names, in whichever block it stands.
struct Fund {
    std::array<QDate, quellenAnzahl> daten;
    QByteArray photoshop; // the Photoshop blocks joined, as readers join them

    void nehmen(Quelle quelle, const QString& text)
    {
        if (!daten[quelle].isValid())
            daten[quelle] = lesen(text);
    }
    QDate erstes() const
    {
        const auto d = std::find_if(daten.begin(), daten.end(), [](QDate d) { return d.isValid(); });
        return d == daten.end() ? QDate() : *d;
    }
};

const Exiv2::byte* bytes(QByteArrayView daten) { return reinterpret_cast<const Exiv2::byte*>(daten.data()); }

bool beginntMit(QByteArrayView inhalt, QByteArrayView praefix, Qt::CaseSensitivity gross = Qt::CaseSensitive)
{
    return inhalt.size() >= praefix.size() && QLatin1StringView(inhalt.first(praefix.size())).compare(QLatin1StringView(praefix), gross) == 0;
}

void exif(QByteArrayView tiff, Fund& fund)
{
    static const struct {
        const char* schluessel;
        Quelle quelle;
    } tags[] = {
        {"Exif.Photo.DateTimeOriginal", ExifAufnahme},
        {"Exif.Image.DateTimeOriginal", ExifAufnahme}, // in IFD0, as TIFF/EP writes it
        {"Exif.Photo.DateTimeDigitized", ExifDigitalisiert},
    };
    Exiv2::ExifData daten;
    try {
        Exiv2::ExifParser::decode(daten, bytes(tiff), uint32_t(tiff.size()));
    } catch (const std::exception&) {
        // what was read before the damage still counts
    }
    try {
        for (const auto& t : tags)
            if (const auto d = daten.findKey(Exiv2::ExifKey(t.schluessel)); d != daten.end())
                fund.nehmen(t.quelle, QString::fromStdString(d->toString()));
    } catch (const std::exception&) {
    }
}

void iptc(QByteArrayView ps, Fund& fund)
{
    const Exiv2::byte* p = bytes(ps);
    long rest = long(ps.size());
    const Exiv2::byte* satz = nullptr;
    uint32_t kopf = 0, groesse = 0;
    while (rest > 0 && Exiv2::Photoshop::locateIptcIrb(p, rest, &satz, &kopf, &groesse) == 0) {
        try {
            Exiv2::IptcData daten;
            if (Exiv2::IptcParser::decode(daten, satz + kopf, groesse) == 0)
                if (const auto d = daten.findKey(Exiv2::IptcKey("Iptc.Application2.DateCreated")); d != daten.end())
                    fund.nehmen(IptcErstellt, QString::fromStdString(d->toString()));
        } catch (const std::exception&) {
        }
        const long weiter = long(satz - p) + long(kopf) + long(groesse) + long(groesse & 1);
        p += weiter;
        rest -= weiter;
    }
}

// XMP is XML: each property may stand as an attribute or as an element of its own.
void xmp(QByteArrayView paket, Fund& fund)
{
    static const struct {
        QLatin1StringView namensraum, name;
        Quelle quelle;
    } eigenschaften[] = {
        {QLatin1StringView("http://ns.adobe.com/exif/1.0/"), QLatin1StringView("DateTimeOriginal"), XmpAufnahme},
        {QLatin1StringView("http://ns.adobe.com/photoshop/1.0/"), QLatin1StringView("DateCreated"), XmpErstellt},
        {QLatin1StringView("http://ns.adobe.com/xap/1.0/"), QLatin1StringView("CreateDate"), XmpAngelegt},
    };
    const auto eigenschaft = [](QStringView namensraum, QStringView name) -> const Quelle* {
        for (const auto& e : eigenschaften)
            if (namensraum == e.namensraum && name == e.name)
                return &e.quelle;
        return nullptr;
    };
    QXmlStreamReader xml(paket.toByteArray());
    while (!xml.atEnd()) {
        if (xml.readNext() != QXmlStreamReader::StartElement)
            continue;
        for (const QXmlStreamAttribute& a : xml.attributes())
            if (const Quelle* q = eigenschaft(a.namespaceUri(), a.name()))
                fund.nehmen(*q, a.value().toString());
        if (const Quelle* q = eigenschaft(xml.namespaceUri(), xml.name()))
            fund.nehmen(*q, xml.readElementText(QXmlStreamReader::SkipChildElements));
    }
}

// The blocks before the first scan; whether the data holds all of them.
bool kopfLesen(QByteArrayView jpeg, Fund& fund)
{
    static const QByteArrayView xmpKennung("http://ns.adobe.com/xap/1.0/\0", 29);
    static const QByteArrayView photoshopKennung("Photoshop 3.0\0", 14);
    segmente::Leser leser(jpeg, true);
    bool ganz = false;
    while (!ganz && leser.weiter()) {
        const segmente::Segment& s = leser.segment();
        ganz = s.marke == 0xDA;
        if (!s.ganz)
            continue;
        // Readers take the EXIF block's name in any case, and any byte after its zero.
        if (s.marke == 0xE1 && beginntMit(s.inhalt, QByteArrayView("exif\0", 5), Qt::CaseInsensitive) && s.inhalt.size() > 6)
            exif(s.inhalt.sliced(6), fund);
        else if (s.marke == 0xE1 && beginntMit(s.inhalt, xmpKennung))
            xmp(s.inhalt.sliced(xmpKennung.size()), fund);
        else if (s.marke == 0xED && beginntMit(s.inhalt, photoshopKennung))
            fund.photoshop += s.inhalt.sliced(photoshopKennung.size());
    }
    if (!fund.photoshop.isEmpty())
        iptc(fund.photoshop, fund);
    return ganz || leser.ende() != segmente::Ende::Abgeschnitten;
}

QDate ausKopf(QByteArrayView jpeg, bool& ganz)
{
    static const bool stumm = [] {
        // The program has no log; a damaged tag is simply not there.
        Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
        return true;
    }();
    (void)stumm;
    Fund fund;
    ganz = kopfLesen(jpeg, fund);
    return fund.erstes();
}

} // namespace

QDate lesen(QStringView text)
{
    static const QRegularExpression form(QStringLiteral("^\\s*([0-9]{4})[:-]?([0-9]{2})[:-]?([0-9]{2})(?![0-9])"));
    const QRegularExpressionMatch teile = form.match(text);
    if (!teile.hasMatch())
        return {};
    const QDate tag(teile.captured(1).toInt(), teile.captured(2).toInt(), teile.captured(3).toInt());
    // Nothing was photographed before 1826: an earlier day is a clock never set.
    return tag.isValid() && tag.year() >= 1826 ? tag : QDate();
}

QDate ausJpeg(QByteArrayView jpeg)
{
    bool ganz = false;
    return ausKopf(jpeg, ganz);
}

QDate ausDatei(const QString& pfad)
{
    // Metadata stands in the first blocks of a photo; a header larger than this is no photo's.
    constexpr qsizetype grenze = 4 << 20;
    const QByteArray name = dateinameImSystem(pfad);
    struct stat info {};
    if (name.isEmpty() || ::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode))
        return {};
    // Non-blocking, should a pipe have taken the file's place since the look at it.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0)
        return {};
    QDate datum;
    struct stat offen {};
    if (::fstat(fd, &offen) == 0 && S_ISREG(offen.st_mode)) {
        QByteArray kopf;
        // In growing steps up to the first scan: the picture's data is not read.
        for (qsizetype bis = 64 * 1024;; bis = std::min(bis * 4, grenze)) {
            const qsizetype schon = kopf.size();
            kopf.resize(bis);
            kopf.resize(schon + ganzLesen(fd, kopf.data() + schon, bis - schon));
            bool ganz = false;
            datum = ausKopf(kopf, ganz);
            if (ganz || kopf.size() < bis || bis == grenze)
                break;
        }
    }
    ::close(fd);
    return datum;
}

} // namespace aufnahmedatum
