// Where a photo was taken, found in every block that tells it; and the copy without it,
// built from what the picture needs.
#include "codec/Bildladen.h"
#include "codec/Metadaten.h"

#include "TestBilder.h"

#include <QTest>

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

// What a copy may hold: the picture's own segments, the JFIF header, the colour profile,
// the Adobe marker, and the one-tag orientation block.
bool erlaubt(const testbilder::Segment& s, int orientierung)
{
    const int m = s.marker;
    if ((m >= 0xC0 && m <= 0xCF && m != 0xC8) || (m >= 0xD0 && m <= 0xDB) || m == 0xDD)
        return true;
    if (m == 0xE0)
        return s.inhalt.startsWith(QByteArray("JFIF\0", 5));
    if (m == 0xE2)
        return s.inhalt.startsWith(QByteArray("ICC_PROFILE\0", 12));
    if (m == 0xEE)
        return s.inhalt.startsWith("Adobe");
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

} // namespace

class TestMetadaten : public QObject {
    Q_OBJECT

private slots:
    // The one rule: which tags tell where a photo was taken.
    void ortsangaben_data()
    {
        QTest::addColumn<QStringList>("angaben");
        QTest::addColumn<bool>("standort");
        const auto ja = [](const char* angabe) { QTest::newRow(angabe) << QStringList{QString::fromUtf8(angabe)} << true; };
        const auto nein = [](const char* angabe) { QTest::newRow(angabe) << QStringList{QString::fromUtf8(angabe)} << false; };
        ja("Exif.GPSInfo.GPSLatitude=51/1 9/1 2463/100");
        ja("Exif.GPSInfo.GPSLongitude=14/1 59/1 1234/100");
        ja("Exif.GPSInfo.GPSAltitude=420/1");
        ja("Exif.GPSInfo.GPSAreaInformation=charset=Ascii Landeskrone");
        ja("Exif.GPSInfo.GPSDestLatitude=51/1 9/1 0/1");
        ja("Xmp.exif.GPSLatitude=51,9.41N");
        ja("Xmp.exif.GPSLongitude=14,59.21E");
        ja("Xmp.exif.GPSAltitude=420/1");
        ja("Xmp.exif.GPSAreaInformation=Landeskrone");
        ja("Xmp.photoshop.City=Görlitz");
        ja("Xmp.photoshop.State=Sachsen");
        ja("Xmp.photoshop.Country=Deutschland");
        ja("Xmp.iptc.Location=Landeskrone, Südhang");
        ja("Xmp.iptc.CountryCode=DE");
        ja("Iptc.Application2.City=Görlitz");
        ja("Iptc.Application2.SubLocation=Landeskrone");
        ja("Iptc.Application2.ProvinceState=Sachsen");
        ja("Iptc.Application2.CountryName=Deutschland");
        ja("Iptc.Application2.CountryCode=DEU");
        ja("Iptc.Application2.LocationName=Landeskrone");
        nein("Exif.GPSInfo.GPSLatitudeRef=N");
        nein("Exif.GPSInfo.GPSAltitudeRef=0");
        nein("Exif.GPSInfo.GPSVersionID=2 2 0 0");
        nein("Exif.GPSInfo.GPSAreaInformation=charset=Ascii ");
        nein("Exif.Image.Make=Flattrium");
        nein("Exif.Photo.DateTimeOriginal=2024:05:01 10:00:00");
        nein("Xmp.photoshop.City= ");
        nein("Xmp.dc.subject=Orchidee");
        nein("Iptc.Application2.Keywords=Orchidee");
        nein("Kommentar=Orchidee am Waldrand");
        QTest::newRow("nichts") << QStringList{} << false;
    }
    void ortsangaben()
    {
        QFETCH(QStringList, angaben);
        QFETCH(bool, standort);
        QCOMPARE(metadaten::standortEnthalten(mitAngaben(foto(), angaben)), standort);
    }

    // Every block counts, wherever it stands, as every common reader shows it.
    void jederBlock_data()
    {
        QTest::addColumn<QByteArray>("datei");
        QTest::addColumn<bool>("standort");
        const QByteArray gps = bloecke({breite, laenge}), ort = bloecke({stadt});
        const QByteArray kamera = bloecke({QStringLiteral("Exif.Image.Make=Flattrium")});
        QTest::newRow("GPS erst im zweiten EXIF-Block") << mit(kamera + gps) << true;
        QTest::newRow("Ort erst im zweiten IPTC-Block")
            << mit(bloecke({QStringLiteral("Iptc.Application2.Keywords=Orchidee")}) + ort) << true;
        QTest::newRow("Ort erst im zweiten XMP-Block")
            << mit(xmp(xmpPaket("dc:format=\"image/jpeg\"")) + xmp(xmpPaket("photoshop:City=\"Görlitz\""))) << true;
        for (const int marke : {0x00, 0x07, 0x09, 0x1C, 0x7A})
            QTest::newRow(qPrintable(QStringLiteral("in einem Segment mit der Marke %1").arg(marke, 2, 16, QChar(u'0'))))
                << mit(segment(marke, gps + ort)) << true;
        const QByteArray progressiv = testbilder::libjpeg(testbilder::verlauf(64, 48), {90, true, false});
        QTest::newRow("zwischen zwei Scans") << mit(gps, progressiv, 2) << true;
        QTest::newRow("im angehängten Bild") << foto() + mitAngaben(foto(), {breite}) << true;
        QTest::newRow("erweitertes XMP") << mit(xmp(xmpPaket("dc:format=\"image/jpeg\"")) + erweitertesXmp(xmpPaket("photoshop:State=\"Sachsen\"")))
                                         << true;
        QTest::newRow("XMP, das Exiv2 nicht liest") << mit(xmp("<x:xmpmeta><rdf:RDF><photoshop:City>Görlitz</photoshop:City>")) << true;
        const QByteArray mitGps = mitAngaben(foto(), {breite});
        QTest::newRow("abgeschnitten hinter dem GPS") << mitGps.left(mitGps.indexOf(QByteArray("\xFF\xDB", 2))) << true;
        QTest::newRow("nur Kamera und unlesbares XMP") << mit(kamera + xmp("<x:xmpmeta><dc:format>")) << false;
        QTest::newRow("leer") << QByteArray() << false;
        QTest::newRow("nur SOI") << QByteArray("\xFF\xD8", 2) << false;
        QTest::newRow("GIF") << QByteArray("GIF89a........") << false;
    }
    void jederBlock()
    {
        QFETCH(QByteArray, datei);
        QFETCH(bool, standort);
        QCOMPARE(metadaten::standortEnthalten(datei), standort);
    }

    // The copy holds what the picture needs and nothing else; bytes that are no JPEG
    // structure refuse it. Accepted, it tells nothing to Exiv2 nor to a walk over its
    // segments, and decodes to the same pixels.
    void kopie_data()
    {
        QTest::addColumn<QByteArray>("original");
        QTest::addColumn<bool>("kopiert");
        QTest::addColumn<int>("orientierung");
        const QByteArray gps = bloecke({breite, laenge}), ort = bloecke({stadt});
        for (const int marke : {0x00, 0x07, 0x09, 0x1C, 0x7A})
            QTest::newRow(qPrintable(QStringLiteral("Segment mit der Marke %1").arg(marke, 2, 16, QChar(u'0'))))
                << mit(segment(marke, gps + ort)) << false << 1;
        QTest::newRow("Bytes zwischen den Segmenten") << mit("Exif" + gps) << false << 1;
        // A kept block may itself carry a photo with its place.
        QTest::newRow("Foto mit GPS im Farbprofil")
            << mit(segment(0xE2, QByteArray("ICC_PROFILE\0\x01\x01", 14) + mitAngaben(foto(), {breite}))) << false << 1;
        const QByteArray ganz = mitAngaben(foto(), {breite});
        QTest::newRow("ohne Endmarke") << ganz.chopped(2) << false << 1;
        QTest::newRow("mitten im Scan abgeschnitten") << ganz.left(ganz.size() / 2) << false << 1;
        QTest::newRow("leer") << QByteArray() << false << 1;
        QTest::newRow("Scan vor dem Rahmen")
            << QByteArray("\xFF\xD8", 2) + segment(0xDA, QByteArray("\x01\x01\x00\x00\x3F\x00", 6)) + QByteArray("\x12\x34\xFF\xD9", 4)
            << false << 1;
        QTest::newRow("fremde Anwendungsblöcke und Kommentar")
            << mit(segment(0xE5, "Ricoh") + segment(0xE0, QByteArray("JFXX\0\x10", 6)) + segment(0xFE, "Fundort geheim") + gps + ort)
            << true << 1;
        QTest::newRow("zweiter JFIF-Kopf") << mit(segment(0xE0, QByteArray("JFIF\0\x01\x02\0\0\x01\0\x01\0\0", 14))) << true << 1;
        const QByteArray progressiv = testbilder::libjpeg(testbilder::verlauf(64, 48), {90, true, false});
        QTest::newRow("EXIF zwischen zwei Scans") << mit(gps, progressiv, 3) << true << 1;
        QTest::newRow("Orientierung im zweiten EXIF-Block")
            << mit(gps + segment(0xE1, testbilder::segmente(testbilder::mitOrientierung(foto(), 6)).at(1).inhalt)) << true << 6;
        QTest::newRow("arithmetisch") << mit(gps, testbilder::libjpeg(testbilder::verlauf(64, 48), {90, true, true})) << true << 1;
    }
    void kopie()
    {
        QFETCH(QByteArray, original);
        QFETCH(bool, kopiert);
        QFETCH(int, orientierung);
        const QByteArray kopie = metadaten::ohneMetadaten(original);
        QCOMPARE(!kopie.isEmpty(), kopiert);
        if (!kopiert)
            return;
        QByteArray rest;
        for (const testbilder::Segment& s : testbilder::segmente(kopie, &rest))
            QVERIFY2(erlaubt(s, orientierung), qPrintable(QString::number(s.marker, 16)));
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
