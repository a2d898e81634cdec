// Where a photo was taken, found in every block that tells it; and the copy without it,
// built from what the picture needs.
#include "codec/Bildladen.h"
#include "codec/Metadaten.h"

#include "TestBilder.h"

#include <QColorSpace>
#include <QStringDecoder>
#include <QTest>
#include <QtEndian>

#include <exiv2/exiv2.hpp>

using testbilder::mitAngaben;
using testbilder::segment;

namespace {

const QString breite = QStringLiteral("Exif.GPSInfo.GPSLatitude=51/1 9/1 2463/100");
const QString laenge = QStringLiteral("Exif.GPSInfo.GPSLongitude=14/1 59/1 1234/100");
const QString stadt = QStringLiteral("Iptc.Application2.City=Görlitz");

QByteArray foto() { return testbilder::alsJpeg(testbilder::verlauf(240, 160), 85); }

// The metadata blocks (APPn, COM) Exiv2 writes for these entries, as they stand in a file.
QByteArray bloecke(const QStringList& angaben)
{
    QByteArray alle;
    for (const testbilder::Segment& s : testbilder::segmente(mitAngaben(foto(), angaben)))
        if ((s.marker >= 0xE1 && s.marker <= 0xEF) || s.marker == 0xFE)
            alle += segment(s.marker, s.inhalt);
    return alle;
}

// The photo with these bytes right after its start marker, or before its n-th scan.
QByteArray mit(const QByteArray& einschub, const QByteArray& jpeg = foto(), int scan = 0)
{
    qsizetype pos = 2;
    for (int i = 0; i < scan; ++i)
        pos = jpeg.indexOf(QByteArray("\xFF\xDA", 2), pos + 1);
    return jpeg.left(pos) + einschub + jpeg.mid(pos);
}

QByteArray xmp(const QByteArray& paket) { return segment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29) + paket); }

QByteArray xmpPaket(const QByteArray& eigenschaften)
{
    return "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
           "<rdf:Description rdf:about=\"\" xmlns:photoshop=\"http://ns.adobe.com/photoshop/1.0/\" "
           "xmlns:dc=\"http://purl.org/dc/elements/1.1/\" " + eigenschaften + "/></rdf:RDF></x:xmpmeta>";
}

// Extended XMP: the packet in pieces, each with its GUID, the whole length and its offset.
QByteArray erweitertesXmp(const QByteArray& paket)
{
    QByteArray alle;
    const qsizetype haelfte = paket.size() / 2;
    for (const qsizetype ab : {qsizetype(0), haelfte}) {
        const QByteArray stueck = paket.mid(ab, ab == 0 ? haelfte : -1);
        QByteArray kopf = QByteArray("http://ns.adobe.com/xmp/extension/\0", 35) + QByteArray(32, 'A');
        for (const quint32 zahl : {quint32(paket.size()), quint32(ab)})
            for (const int stelle : {24, 16, 8, 0})
                kopf += char(zahl >> stelle);
        alle += segment(0xE1, kopf + stueck);
    }
    return alle;
}

// A little-endian TIFF: IFD0 with IFD1 after it where given, then the further IFDs; an
// entry of type 0 points to the IFD of that index. Values over four bytes follow each IFD.
struct Eintrag {
    quint16 tag, typ;
    QByteArray wert;
};
QByteArray tiff(const QList<QList<Eintrag>>& ifds, bool ifd1 = false)
{
    const auto le = [](qsizetype z, int n) { QByteArray b; for (int i = 0; i < n; ++i) b += char(z >> (8 * i)); return b; };
    const auto ueber4 = [](const Eintrag& e) { return e.wert.size() > 4 ? (e.wert.size() + 1) & ~1 : 0; };
    QList<qsizetype> stelle{8};
    for (const QList<Eintrag>& ifd : ifds) {
        qsizetype groesse = 6 + 12 * ifd.size();
        for (const Eintrag& e : ifd)
            groesse += ueber4(e);
        stelle << stelle.last() + groesse;
    }
    QByteArray t("II*\0\x08\0\0\0", 8);
    for (qsizetype i = 0; i < ifds.size(); ++i) {
        QByteArray daten;
        t += le(ifds[i].size(), 2);
        for (const Eintrag& e : ifds[i]) {
            const QByteArray wert = e.typ == 0 ? le(stelle[e.wert.toInt()], 4) : e.wert;
            const int breite = e.typ == 3 ? 2 : e.typ == 5 ? 8 : e.typ == 0 || e.typ == 4 ? 4 : 1;
            t += le(e.tag, 2) + le(e.typ ? e.typ : 4, 2) + le(wert.size() / breite, 4);
            t += wert.size() > 4 ? le(stelle[i] + 6 + 12 * ifds[i].size() + daten.size(), 4) : wert.leftJustified(4, '\0');
            if (wert.size() > 4)
                daten += wert.leftJustified(ueber4(e), '\0');
        }
        t += le(i == 0 && ifd1 ? stelle[1] : 0, 4) + daten;
    }
    return t;
}
const QByteArray breiteGrad("\x33\0\0\0\x01\0\0\0\x09\0\0\0\x01\0\0\0\x9F\x09\0\0\x64\0\0\0", 24); // 51/1 9/1 2463/100
QByteArray exifBlock(const QByteArray& tiff, const QByteArray& name = QByteArray("Exif\0\0", 6)) { return segment(0xE1, name + tiff); }
QByteArray utf16(const QString& text, bool klein)
{
    QByteArray b;
    for (const QChar c : text)
        b += char(klein ? c.unicode() : c.unicode() >> 8), b += char(klein ? c.unicode() >> 8 : c.unicode());
    return b;
}

// An ICC profile of Adobe RGB's colour tags as Qt writes them and these further tags (signature, data).
QByteArray profil(const QList<std::pair<QByteArray, QByteArray>>& weitere)
{
    const QByteArray basis = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
    QList<std::pair<QByteArray, QByteArray>> tags;
    for (quint32 i = 0; i < qFromBigEndian<quint32>(basis.constData() + 128); ++i) {
        const char* e = basis.constData() + 132 + 12 * i;
        if (QByteArray(e, 4) != "desc" && QByteArray(e, 4) != "cprt")
            tags.append({QByteArray(e, 4), basis.mid(qFromBigEndian<quint32>(e + 4), qFromBigEndian<quint32>(e + 8))});
    }
    tags += weitere;
    QByteArray tabelle = QByteArray(4, 0), daten;
    qToBigEndian<quint32>(quint32(tags.size()), tabelle.data());
    for (const auto& [signatur, inhalt] : tags) {
        QByteArray eintrag = signatur + QByteArray(8, 0);
        qToBigEndian<quint32>(quint32(132 + 12 * tags.size() + daten.size()), eintrag.data() + 4);
        qToBigEndian<quint32>(quint32(inhalt.size()), eintrag.data() + 8);
        tabelle += eintrag;
        daten += inhalt + QByteArray((4 - inhalt.size() % 4) % 4, 0);
    }
    QByteArray p = basis.left(128) + tabelle + daten;
    qToBigEndian<quint32>(quint32(p.size()), p.data());
    return p;
}
QByteArray textTag(const QByteArray& text) { return QByteArray("text\0\0\0\0", 8) + text + '\0'; }
QByteArray descTag(const QByteArray& ascii, const QString& unicode = {})
{
    QByteArray t("desc\0\0\0\0", 8), n(4, 0), u(4, 0);
    qToBigEndian<quint32>(quint32(ascii.size() + 1), n.data());
    qToBigEndian<quint32>(quint32(unicode.size()), u.data());
    return t + n + ascii + '\0' + QByteArray(4, 0) + u + utf16(unicode, false) + QByteArray(70, 0);
}
QByteArray mlucTag(const QString& text)
{
    QByteArray t("mluc\0\0\0\0\0\0\0\x01\0\0\0\x0C" "deDE\0\0\0\0\0\0\0\x1C", 28);
    qToBigEndian<quint32>(quint32(2 * text.size()), t.data() + 20);
    return t + utf16(text, false);
}
QByteArray iccSegment(const QByteArray& teil, int nummer = 1, int teile = 1)
{
    return segment(0xE2, QByteArray("ICC_PROFILE\0", 12) + char(nummer) + char(teile) + teil);
}

// A profile's tags in order, a text tag with its type and text: "rXYZ ... desc:desc=Farbprofil".
QString tags(const QByteArray& p)
{
    QStringList liste;
    for (quint32 i = 0; p.size() >= 132 && i < qFromBigEndian<quint32>(p.constData() + 128); ++i) {
        const char* e = p.constData() + 132 + 12 * i;
        const QByteArray tag = p.mid(qFromBigEndian<quint32>(e + 4), qFromBigEndian<quint32>(e + 8));
        const QByteArray typ = tag.left(4);
        const QString text = typ == "text" ? QString::fromLatin1(tag.mid(8)).chopped(1)
                           : typ == "desc" ? QString::fromLatin1(tag.mid(12, qFromBigEndian<quint32>(tag.constData() + 8) - 1))
                           : typ == "mluc" ? QString(QStringDecoder(QStringDecoder::Utf16BE)(tag.mid(28)))
                                           : QString();
        liste << QString::fromLatin1(QByteArray(e, 4)) + (text.isNull() ? QString() : u':' + QString::fromLatin1(typ) + u'=' + text);
    }
    return liste.join(u' ');
}

// What a copy may hold: the picture's own segments, the JFIF header, the colour profile,
// the Adobe marker, and the one-tag orientation block.
bool erlaubt(const testbilder::Segment& s, int orientierung)
{
    const int m = s.marker;
    if ((m >= 0xC0 && m <= 0xCF && m != 0xC8) || (m >= 0xD0 && m <= 0xDB) || m == 0xDD)
        return true;
    if (m == 0xE0) // without a thumbnail
        return s.inhalt.startsWith(QByteArray("JFIF\0", 5)) && s.inhalt.size() == 14 && s.inhalt.endsWith(QByteArray(2, 0));
    if (m == 0xE2)
        return s.inhalt.startsWith(QByteArray("ICC_PROFILE\0", 12));
    if (m == 0xEE)
        return s.inhalt.startsWith("Adobe") && s.inhalt.size() == 12;
    return m == 0xE1 && orientierung != 1 && s.inhalt.size() == 6 + 26
        && metadaten::exifOrientierung(QByteArrayView(s.inhalt).sliced(6)) == orientierung;
}

// Exiv2 reads nothing but the orientation from the copy.
bool exiv2SiehtNichts(const QByteArray& kopie)
{
    Exiv2::LogMsg::setLevel(Exiv2::LogMsg::mute);
    auto bild = Exiv2::ImageFactory::open(reinterpret_cast<const Exiv2::byte*>(kopie.constData()), long(kopie.size()));
    bild->readMetadata();
    for (const Exiv2::Exifdatum& d : bild->exifData())
        if (d.key() != "Exif.Image.Orientation")
            return false;
    return bild->xmpData().empty() && bild->iptcData().empty() && bild->comment().empty();
}

// What the location check finds, as the tables write it: "EXIF Position", "XMP Ort", "".
QString gefunden(metadaten::Fund f)
{
    using metadaten::Block;
    static const QMap<Block, QString> bloecke{{Block::Exif, QStringLiteral("EXIF")}, {Block::Xmp, QStringLiteral("XMP")},
                                              {Block::Iptc, QStringLiteral("IPTC")}, {Block::Kommentar, QStringLiteral("Kommentar")},
                                              {Block::Farbprofil, QStringLiteral("Farbprofil")}, {Block::Anderer, QStringLiteral("anderer Block")}};
    if (f.angabe == metadaten::Angabe::Keine)
        return bloecke.value(f.block);
    return bloecke.value(f.block) + (f.angabe == metadaten::Angabe::Position ? QStringLiteral(" Position") : QStringLiteral(" Ort"));
}

} // namespace

class TestMetadaten : public QObject {
    Q_OBJECT

private slots:
    // The one rule: which tags and texts tell where a photo was taken, and where they stand.
    void ortsangaben_data()
    {
        QTest::addColumn<QStringList>("angaben");
        QTest::addColumn<QString>("fund");
        const auto zeile = [](const char* angabe, const char* fund) {
            QTest::newRow(angabe) << QStringList{QString::fromUtf8(angabe)} << QString::fromUtf8(fund);
        };
        zeile("Exif.GPSInfo.GPSLatitude=51/1 9/1 2463/100", "EXIF Position");
        zeile("Exif.GPSInfo.GPSLongitude=14/1 59/1 1234/100", "EXIF Position");
        zeile("Exif.GPSInfo.GPSAltitude=420/1", "EXIF Position");
        zeile("Exif.GPSInfo.GPSAreaInformation=charset=Ascii Landeskrone", "EXIF Ort");
        zeile("Exif.GPSInfo.GPSDestLatitude=51/1 9/1 0/1", "EXIF Position");
        zeile("Xmp.exif.GPSLatitude=51,9.41N", "XMP Position");
        zeile("Xmp.exif.GPSLongitude=14,59.21E", "XMP Position");
        zeile("Xmp.exif.GPSAltitude=420/1", "XMP Position");
        zeile("Xmp.exif.GPSAreaInformation=Landeskrone", "XMP Ort");
        zeile("Xmp.photoshop.City=Görlitz", "XMP Ort");
        zeile("Xmp.photoshop.State=Sachsen", "XMP Ort");
        zeile("Xmp.photoshop.Country=Deutschland", "XMP Ort");
        zeile("Xmp.iptc.Location=Landeskrone, Südhang", "XMP Ort");
        zeile("Xmp.iptc.CountryCode=DE", "XMP Ort");
        zeile("Xmp.xmpDM.shotLocation=Landeskrone", "XMP Ort");
        zeile("Xmp.dc.coverage=Landeskrone bei Görlitz", "XMP Ort");
        zeile("Iptc.Application2.City=Görlitz", "IPTC Ort");
        zeile("Iptc.Application2.SubLocation=Landeskrone", "IPTC Ort");
        zeile("Iptc.Application2.ProvinceState=Sachsen", "IPTC Ort");
        zeile("Iptc.Application2.CountryName=Deutschland", "IPTC Ort");
        zeile("Iptc.Application2.CountryCode=DEU", "IPTC Ort");
        zeile("Iptc.Application2.LocationName=Landeskrone", "IPTC Ort");
        zeile("Iptc.Application2.LocationCode=DEU", "IPTC Ort");
        // Coordinates in free text.
        zeile("Exif.Image.ImageDescription=Orchideen bei 51.1543, 14.9877", "EXIF Position");
        zeile("Exif.Image.Artist=Hans, N 51° 09.258 E 014° 59.262", "EXIF Position");
        zeile("Exif.Photo.UserComment=charset=Ascii 51°9'15.5\"N 14°59'15.7\"E", "EXIF Position");
        zeile("Exif.Photo.UserComment=charset=Unicode 51°9′15.5″N 14°59′15.7″E", "EXIF Position");
        zeile("Xmp.dc.description=Orchideenwiese, 51.1543 N 14.9877 O", "XMP Position");
        zeile("Xmp.dc.title=Knabenkraut -33.8688, 151.2093", "XMP Position");
        zeile("Iptc.Application2.Caption=Fundort 51,15432; 14,98771", "IPTC Position");
        zeile("Kommentar=Fundort 51.1543, 14.9877", "Kommentar Position");
        zeile("Exif.GPSInfo.GPSLatitudeRef=N", "");
        zeile("Exif.GPSInfo.GPSAltitudeRef=0", "");
        zeile("Exif.GPSInfo.GPSVersionID=2 2 0 0", "");
        zeile("Exif.GPSInfo.GPSAreaInformation=charset=Ascii ", "");
        zeile("Exif.Image.Make=Flattrium", "");
        zeile("Exif.Photo.DateTimeOriginal=2024:05:01 10:00:00", "");
        zeile("Exif.Image.ImageDescription=Orchis militaris, f/5.6 1/250 s ISO 200, 01.05.2024 10.30 Uhr", "");
        zeile("Exif.Photo.UserComment=charset=Unicode RF 100mm F2.8 L Macro, Blende 8.0, +0.3 EV", "");
        zeile("Xmp.photoshop.City= ", "");
        zeile("Xmp.dc.subject=Orchidee", "");
        zeile("Xmp.dc.description=Größe 12.5 mm, Wassertemperatur 21.5°, 23.0°", "");
        zeile("Iptc.Application2.Keywords=Orchidee", "");
        zeile("Kommentar=Orchidee am Waldrand", "");
        zeile("Kommentar=Version 1.2.3, Firmware 1.02, 1/250 s", "");
        QTest::newRow("nichts") << QStringList{} << QString();
    }
    void ortsangaben()
    {
        QFETCH(QStringList, angaben);
        QFETCH(QString, fund);
        QCOMPARE(gefunden(metadaten::standortSuchen(mitAngaben(foto(), angaben))), fund);
    }

    // Every block counts, wherever it stands, as every common reader shows it.
    void jederBlock_data()
    {
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<QString>("fund");
        const QByteArray gps = bloecke({breite, laenge}), ort = bloecke({stadt});
        const QByteArray kamera = bloecke({QStringLiteral("Exif.Image.Make=Flattrium")});
        const auto zeile = [](const QString& name, const QByteArray& datei, const char* fund) {
            QTest::newRow(qPrintable(name)) << datei << QString::fromUtf8(fund);
        };
        zeile("GPS erst im zweiten EXIF-Block", mit(kamera + gps), "EXIF Position");
        zeile("Ort erst im zweiten IPTC-Block", mit(bloecke({QStringLiteral("Iptc.Application2.Keywords=Orchidee")}) + ort), "IPTC Ort");
        zeile("Ort erst im zweiten XMP-Block", mit(xmp(xmpPaket("dc:format=\"image/jpeg\"")) + xmp(xmpPaket("photoshop:City=\"Görlitz\""))), "XMP Ort");
        for (const int marke : {0x00, 0x07, 0x09, 0x1C, 0x7A})
            zeile(QStringLiteral("in einem Segment mit der Marke %1").arg(marke, 2, 16, QChar(u'0')), mit(segment(marke, gps + ort)), "EXIF Position");
        const QByteArray progressiv = testbilder::libjpeg(testbilder::verlauf(64, 48), {90, true, false});
        zeile("zwischen zwei Scans", mit(gps, progressiv, 2), "EXIF Position");
        zeile("im angehängten Bild", foto() + mitAngaben(foto(), {breite}), "EXIF Position");
        zeile("erweitertes XMP", mit(xmp(xmpPaket("dc:format=\"image/jpeg\"")) + erweitertesXmp(xmpPaket("photoshop:State=\"Sachsen\""))), "XMP Ort");
        zeile("XMP, das Exiv2 nicht liest", mit(xmp("<x:xmpmeta><rdf:RDF><photoshop:City>Görlitz</photoshop:City>")), "XMP Ort");
        const QByteArray mitGps = mitAngaben(foto(), {breite});
        zeile("abgeschnitten hinter dem GPS", mitGps.left(mitGps.indexOf(QByteArray("\xFF\xDB", 2))), "EXIF Position");

        // EXIF under the names readers take, and the GPS IFD wherever it is linked from.
        const QByteArray gpsIfd0 = tiff({{{0x8825, 0, "1"}}, {{0x0002, 5, breiteGrad}}});
        for (const QByteArray& name : {QByteArray("Exif\0\xFF", 6), QByteArray("exif\0\0", 6), QByteArray("EXIF\0\0", 6), QByteArray("MMExif\0\0", 8)})
            zeile(QStringLiteral("EXIF-Block namens %1").arg(QString::fromLatin1(name.toPercentEncoding())), mit(exifBlock(gpsIfd0, name)), "EXIF Position");
        zeile("GPS an IFD1", mit(exifBlock(tiff({{{0x0112, 3, "\x01"}}, {{0x8825, 0, "2"}}, {{0x0004, 5, breiteGrad}}}, true))), "EXIF Position");
        zeile("GPS am Exif-IFD", mit(exifBlock(tiff({{{0x8769, 0, "1"}}, {{0x8825, 0, "2"}}, {{0x0006, 5, breiteGrad.left(8)}}}))), "EXIF Position");
        zeile("GPS an einem SubIFD", mit(exifBlock(tiff({{{0x014A, 0, "1"}}, {{0x8825, 0, "2"}}, {{0x0014, 5, breiteGrad}}}))), "EXIF Position");
        zeile("GPS-Gebiet an IFD1", mit(exifBlock(tiff({{{0x0112, 3, "\x01"}}, {{0x8825, 0, "2"}}, {{0x001C, 7, QByteArray("ASCII\0\0\0Landeskrone", 19)}}}, true))), "EXIF Ort");
        zeile("XPComment mit Strichen", mit(exifBlock(tiff({{{0x9C9C, 1, utf16(QStringLiteral("51°9′15.5″N 14°59′15.7″E"), true)}}}))), "EXIF Position");
        zeile("UserComment UCS-2 großes Ende", mit(exifBlock(tiff({{{0x8769, 0, "1"}}, {{0x9286, 7, QByteArray("UNICODE\0", 8) + utf16(QStringLiteral("N 51° 9′ E 14° 59′"), false)}}}))), "EXIF Position");
        zeile("Text der Herstellerdaten", mit(exifBlock(tiff({{{0x8769, 0, "1"}}, {{0x927C, 7, QByteArray("Nikon\0\x02\x10\0\0", 10) + " GPS 51.15432 14.98771"}}}))), "EXIF Position");
        zeile("EXIF-Block ohne Ort", mit(exifBlock(tiff({{{0x010E, 2, QByteArray("f/5.6 1/250 ISO 200\0", 20)}}, {}}, true), QByteArray("EXIF\0\0", 6))), "");

        // XMP location properties with their parts.
        const auto bag = [](const char* eigenschaft, const char* teil) {
            return xmp(xmpPaket(QByteArray("xmlns:Iptc4xmpExt=\"http://iptc.org/std/Iptc4xmpExt/2008-02-29/\" xmlns:exif=\"http://ns.adobe.com/exif/1.0/\">")
                                + "<Iptc4xmpExt:" + eigenschaft + "><rdf:Bag><rdf:li rdf:parseType=\"Resource\">" + teil
                                + "</rdf:li></rdf:Bag></Iptc4xmpExt:" + eigenschaft + "></rdf:Description><rdf:Description rdf:about=\"\""));
        };
        zeile("LocationCreated mit Stadt", mit(bag("LocationCreated", "<Iptc4xmpExt:City>Görlitz</Iptc4xmpExt:City>")), "XMP Ort");
        zeile("LocationShown mit Weltregion", mit(bag("LocationShown", "<Iptc4xmpExt:WorldRegion>Europa</Iptc4xmpExt:WorldRegion>")), "XMP Ort");
        zeile("LocationShown mit Kennung", mit(bag("LocationShown", "<Iptc4xmpExt:LocationId>https://sws.geonames.org/2921044/</Iptc4xmpExt:LocationId>")), "XMP Ort");
        zeile("LocationShown mit GPS", mit(bag("LocationShown", "<exif:GPSLatitude>51,9.41N</exif:GPSLatitude>")), "XMP Position");
        zeile("shotLocation mit Stadt", mit(xmp(xmpPaket("xmlns:xmpDM=\"http://ns.adobe.com/xmp/1.0/DynamicMedia/\"><xmpDM:shotLocation rdf:parseType=\"Resource\">"
                                                         "<xmpDM:city>Görlitz</xmpDM:city></xmpDM:shotLocation></rdf:Description><rdf:Description rdf:about=\"\""))), "XMP Ort");

        // The colour profile's texts, and other blocks' text.
        const QString pos = QStringLiteral("51°9′15″N 14°59′16″E");
        zeile("Beschreibung des Farbprofils", mit(iccSegment(profil({{"desc", descTag("Kamera 51.1543, 14.9877")}}))), "Farbprofil Position");
        zeile("Unicode-Beschreibung des Farbprofils", mit(iccSegment(profil({{"desc", descTag("Kamera", pos)}}))), "Farbprofil Position");
        zeile("Copyright des Farbprofils", mit(iccSegment(profil({{"cprt", textTag("Hans, 51.1543 N 14.9877 E")}}))), "Farbprofil Position");
        zeile("mehrsprachige Beschreibung", mit(iccSegment(profil({{"desc", mlucTag(pos)}}))), "Farbprofil Position");
        zeile("Gerätebeschreibung des Farbprofils", mit(iccSegment(profil({{"dmdd", mlucTag(pos)}}))), "Farbprofil Position");
        const QByteArray langesProfil = profil({{"zzzz", QByteArray(70000, 0)}, {"desc", mlucTag(pos)}});
        zeile("Farbprofil in zwei Teilen", mit(iccSegment(langesProfil.left(65000), 1, 2) + iccSegment(langesProfil.mid(65000), 2, 2)), "Farbprofil Position");
        zeile("Farbprofil, das keines ist", mit(iccSegment("Fundort 51.1543, 14.9877")), "Farbprofil Position");
        zeile("Kommentar in Grad und Minuten", mit(segment(0xFE, "Fundort N 51° 09.258 E 014° 59.262")), "Kommentar Position");
        zeile("Text in einem fremden Anwendungsblock", mit(segment(0xEA, "Fundort 51.1543, 14.9877")), "anderer Block Position");
        zeile("Farbprofil ohne Ort", mit(iccSegment(profil({{"desc", descTag("Adobe RGB (1998)")}, {"cprt", textTag("Copyright 1999 Adobe Systems Incorporated")}}))), "");
        zeile("Kommentar ohne Ort", mit(segment(0xFE, "Canon EOS R7, RF 100mm F2.8, 1/250 s, f/8.0, 01.05.2024 10.30 Uhr")), "");
        zeile("nur Kamera und unlesbares XMP", mit(kamera + xmp("<x:xmpmeta><dc:format>")), "");
        zeile("leer", QByteArray(), "");
        zeile("nur SOI", QByteArray("\xFF\xD8", 2), "");
        zeile("GIF", QByteArray("GIF89a........"), "");
    }
    void jederBlock()
    {
        QFETCH(QByteArray, datei);
        QFETCH(QString, fund);
        QCOMPARE(gefunden(metadaten::standortSuchen(datei)), fund);
    }

    // The copy holds what the picture needs and nothing else; bytes that are no JPEG
    // structure refuse it. Accepted, it tells nothing to Exiv2 nor to a walk over its
    // segments, and decodes to the same pixels.
    void kopie_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<bool>("kopiert");
        QTest::addColumn<int>("orientierung");
        QTest::addColumn<QString>("farbprofil"); // the copy's profile: its tags, a text tag with its type and text
        const auto zeile = [](const QString& name, const QByteArray& original, bool kopiert, int orientierung = 1, const char* farbprofil = "") {
            QTest::newRow(qPrintable(name)) << original << kopiert << orientierung << QString::fromUtf8(farbprofil);
        };
        const QByteArray gps = bloecke({breite, laenge}), ort = bloecke({stadt});
        for (const int marke : {0x00, 0x07, 0x09, 0x1C, 0x7A})
            zeile(QStringLiteral("Segment mit der Marke %1").arg(marke, 2, 16, QChar(u'0')), mit(segment(marke, gps + ort)), false);
        zeile("Bytes zwischen den Segmenten", mit("Exif" + gps), false);
        const QByteArray ganz = mitAngaben(foto(), {breite});
        zeile("ohne Endmarke", ganz.chopped(2), false);
        zeile("mitten im Scan abgeschnitten", ganz.left(ganz.size() / 2), false);
        zeile("leer", QByteArray(), false);
        zeile("Scan vor dem Rahmen", QByteArray("\xFF\xD8", 2) + segment(0xDA, QByteArray("\x01\x01\x00\x00\x3F\x00", 6)) + QByteArray("\x12\x34\xFF\xD9", 4), false);
        zeile("fremde Anwendungsblöcke und Kommentar",
              mit(segment(0xE5, "Ricoh") + segment(0xE0, QByteArray("JFXX\0\x10", 6)) + segment(0xFE, "Fundort geheim") + gps + ort), true);
        zeile("zweiter JFIF-Kopf", mit(segment(0xE0, QByteArray("JFIF\0\x01\x02\0\0\x01\0\x01\0\0", 14))), true);
        zeile("JFIF mit Vorschaubild", mit(segment(0xE0, QByteArray("JFIF\0\x01\x02\0\0\x01\0\x01\x01\x01GPS", 17))), true);
        zeile("Adobe-Marke mit Anhang", mit(segment(0xEE, QByteArray("Adobe\0\x64\0\0\0\0\x01", 12) + "Fundort Görlitz")), true);
        const QByteArray progressiv = testbilder::libjpeg(testbilder::verlauf(64, 48), {90, true, false});
        zeile("EXIF zwischen zwei Scans", mit(gps, progressiv, 3), true);
        zeile("Orientierung im zweiten EXIF-Block", mit(gps + segment(0xE1, testbilder::segmente(testbilder::mitOrientierung(foto(), 6)).at(1).inhalt)), true, 6);
        zeile("arithmetisch", mit(gps, testbilder::libjpeg(testbilder::verlauf(64, 48), {90, true, true})), true);
        // The colour profile keeps its colours and says nothing else.
        const QString pos = QStringLiteral("51°9′15″N 14°59′16″E");
        zeile("Farbprofil mit Ort in jedem Text",
              mit(iccSegment(profil({{"desc", descTag("Kamera 51.1543, 14.9877", pos)}, {"cprt", textTag("Hans, Görlitz")}, {"dmnd", mlucTag(pos)},
                                     {"vued", textTag("Landeskrone")}, {"priv", QByteArray("priv\0\0\0\0Landeskrone", 19)}, {"lumi", textTag("51.1543, 14.9877")}}))),
              true, 1, "rXYZ gXYZ bXYZ wtpt rTRC gTRC bTRC desc:desc=Farbprofil cprt:text=Farbprofil dmnd:mluc=Farbprofil vued:text=Farbprofil lumi:text=Farbprofil");
        const QByteArray langesProfil = profil({{"A2B0", "mft2" + QByteArray(70000, 0)}, {"desc", mlucTag(pos)}});
        zeile("Farbprofil in zwei Teilen", mit(iccSegment(langesProfil.left(65000), 1, 2) + iccSegment(langesProfil.mid(65000), 2, 2)), true, 1,
              "rXYZ gXYZ bXYZ wtpt rTRC gTRC bTRC A2B0 desc:mluc=Farbprofil");
        // A profile that is none changes no colour and goes; a kept colour tag may carry a photo with its place.
        zeile("Foto mit GPS im Farbprofil", mit(iccSegment(mitAngaben(foto(), {breite}))), true);
        zeile("Foto mit GPS in einem Farbtag", mit(iccSegment(profil({{"A2B0", QByteArray("mft2\0\0\0\0", 8) + mitAngaben(foto(), {breite})}}))), false);
    }
    void kopie()
    {
        QFETCH(QByteArray, original);
        QFETCH(bool, kopiert);
        QFETCH(int, orientierung);
        QFETCH(QString, farbprofil);
        const QByteArray kopie = metadaten::ohneMetadaten(original);
        QCOMPARE(!kopie.isEmpty(), kopiert);
        if (!kopiert)
            return;
        QByteArray rest, profilKopie;
        const QList<testbilder::Segment> segmente = testbilder::segmente(kopie, &rest);
        const qsizetype teile = std::count_if(segmente.begin(), segmente.end(), [](const auto& s) { return s.marker == 0xE2; });
        for (const testbilder::Segment& s : segmente) {
            QVERIFY2(erlaubt(s, orientierung), qPrintable(QString::number(s.marker, 16)));
            if (s.marker == 0xE2) { // numbered from 1, in order
                QCOMPARE(int(s.inhalt[12]), int(profilKopie.size() / 65519) + 1);
                QCOMPARE(int(s.inhalt[13]), int(teile));
                profilKopie += s.inhalt.mid(14);
            }
        }
        QCOMPARE(tags(profilKopie), farbprofil);
        if (!profilKopie.isEmpty()) {
            QCOMPARE(qFromBigEndian<quint32>(profilKopie.constData()), quint32(profilKopie.size()));
            QCOMPARE(QColorSpace::fromIccProfile(profilKopie), QColorSpace(QColorSpace::AdobeRgb));
        }
        QVERIFY(rest.isEmpty());
        QVERIFY(exiv2SiehtNichts(kopie));
        QVERIFY(!metadaten::standortEnthalten(kopie));
        const Ladeergebnis vorher = jpegDekodieren(original), nachher = jpegDekodieren(kopie);
        QCOMPARE(nachher.fehler, Ladefehler::Keiner);
        QCOMPARE(nachher.bild, vorher.bild);
    }

    // Everything but the picture goes; what the picture needs stays byte for byte.
    void ohneMetadaten_data()
    {
        QTest::addColumn<int>("orientierung");
        QTest::newRow("aufrecht") << 1;
        QTest::newRow("hochkant gespeichert") << 6;
        QTest::newRow("gespiegelt") << 2;
    }
    void ohneMetadaten()
    {
        QFETCH(int, orientierung);
        // A photo with a colour profile, EXIF with position and maker, XMP, IPTC, a
        // comment, an MPF block and a second picture with its own EXIF behind the first.
        const QByteArray icc = testbilder::adobeRgbJpeg(240, 160, qRgb(40, 160, 90));
        QStringList angaben{breite, laenge, QStringLiteral("Exif.Image.Make=Flattrium"),
                            QStringLiteral("Xmp.photoshop.City=Görlitz"), stadt, QStringLiteral("Kommentar=Fundort geheim")};
        if (orientierung != 1)
            angaben << QStringLiteral("Exif.Image.Orientation=%1").arg(orientierung);
        QByteArray original = mitAngaben(icc, angaben);
        original.insert(2, segment(0xE2, QByteArray("MPF\0MM\0*", 8)));
        const QByteArray anhang = mitAngaben(foto(), {breite});
        original += anhang;
        QVERIFY(metadaten::standortEnthalten(original));

        const QByteArray kopie = metadaten::ohneMetadaten(original);
        const QList<testbilder::Segment> segmente = testbilder::segmente(kopie);
        QByteArray icckopie;
        for (const testbilder::Segment& s : segmente)
            if (s.marker == 0xE2)
                icckopie += s.inhalt;
        QCOMPARE(segmente.constFirst().marker, 0xD8);
        QCOMPARE(segmente.at(1).marker, 0xE0); // JFIF first, as readers expect
        QVERIFY(!icckopie.isEmpty());
        // Only the orientation survives, in a block of that one tag, right after JFIF.
        QCOMPARE(segmente.at(2).marker == 0xE1, orientierung != 1);
        // The picture data itself is the original's, byte for byte.
        const qsizetype sosOriginal = original.indexOf("\xFF\xDA"), sosKopie = kopie.indexOf("\xFF\xDA");
        QCOMPARE(kopie.mid(sosKopie), original.mid(sosOriginal, original.size() - anhang.size() - sosOriginal));
        // Loaded by the program it looks the same: upright, in the same colours.
        const QImage geladenOriginal = jpegDekodieren(original).bild, geladenKopie = jpegDekodieren(kopie).bild;
        QVERIFY(!geladenKopie.isNull());
        QCOMPARE(geladenKopie, geladenOriginal);
        QCOMPARE(geladenKopie.size(), orientierung >= 5 ? QSize(160, 240) : QSize(240, 160));
    }

    // Big-endian tags read too (the loader's tests turn all eight little-endian ones); anything odd reads as 1.
    void orientierung_data()
    {
        QTest::addColumn<QByteArray>("tiff");
        QTest::addColumn<int>("erwartet");
        const auto ifd = [](bool klein, quint16 typ, quint16 wert) {
            QByteArray t = klein ? QByteArray("II*\0\x08\0\0\0\x01\0\x12\x01", 12) : QByteArray("MM\0*\0\0\0\x08\0\x01\x01\x12", 12);
            const auto u16 = [klein](quint16 v) {
                const char b[2] = {char(klein ? v & 0xFF : v >> 8), char(klein ? v >> 8 : v & 0xFF)};
                return QByteArray(b, 2);
            };
            t += u16(typ) + (klein ? QByteArray("\x01\0\0\0", 4) : QByteArray("\0\0\0\x01", 4)) + u16(wert) + QByteArray(2, 0) + QByteArray(4, 0);
            return t;
        };
        QTest::newRow("MM 8") << ifd(false, 3, 8) << 8;
        QTest::newRow("9 gibt es nicht") << ifd(true, 3, 9) << 1;
        QTest::newRow("abgeschnitten") << ifd(true, 3, 6).left(12) << 1;
        QTest::newRow("kein TIFF") << QByteArray("XX*\0\x08\0\0\0\x01\0\x12\x01\x03\0\x01\0\0\0\x06\0\0\0\0\0\0\0", 26) << 1;
    }
    void orientierung()
    {
        QFETCH(QByteArray, tiff);
        QFETCH(int, erwartet);
        QCOMPARE(metadaten::exifOrientierung(tiff), erwartet);
    }
};

QTEST_GUILESS_MAIN(TestMetadaten)
#include "test_metadaten.moc"
