#include "codec/Bildladen.h"
#include "codec/Metadaten.h"

#include "TestBilder.h"

#include <QTemporaryDir>
#include <QTest>

#include <turbojpeg.h>

using testbilder::mitAngaben;

namespace {

const QString breite = QStringLiteral("Exif.GPSInfo.GPSLatitude=51/1 9/1 2463/100");
const QString laenge = QStringLiteral("Exif.GPSInfo.GPSLongitude=14/1 59/1 1234/100");

QByteArray foto() { return testbilder::alsJpeg(testbilder::verlauf(240, 160), 85); }

// The picture as stored, without turning it upright.
QImage roh(const QByteArray& jpeg)
{
    tjhandle d = tjInitDecompress();
    int b = 0, h = 0, sub = 0, farbraum = 0;
    const auto* daten = reinterpret_cast<const unsigned char*>(jpeg.constData());
    QImage bild;
    if (tjDecompressHeader3(d, daten, (unsigned long)jpeg.size(), &b, &h, &sub, &farbraum) == 0) {
        bild = QImage(b, h, QImage::Format_RGB32);
        if (tjDecompress2(d, daten, (unsigned long)jpeg.size(), bild.bits(), b, int(bild.bytesPerLine()), h, TJPF_BGRX, 0) != 0)
            bild = QImage();
    }
    tjDestroy(d);
    return bild;
}

QList<int> marker(const QByteArray& jpeg, QByteArray* rest = nullptr)
{
    QList<int> liste;
    for (const testbilder::Segment& s : testbilder::segmente(jpeg, rest))
        liste << s.marker;
    return liste;
}

QByteArray app2(const QByteArray& inhalt)
{
    const int n = int(inhalt.size()) + 2;
    return QByteArray("\xFF\xE2", 2) + char(n >> 8) + char(n & 0xFF) + inhalt;
}

} // namespace

class TestMetadaten : public QObject {
    Q_OBJECT

private slots:
    // What counts as telling the place where a photo was taken.
    void standort_data()
    {
        QTest::addColumn<QStringList>("angaben");
        QTest::addColumn<bool>("standort");
        QTest::newRow("nichts") << QStringList{} << false;
        QTest::newRow("Kamera und Datum") << QStringList{QStringLiteral("Exif.Image.Make=Flattrium"),
                                                         QStringLiteral("Exif.Photo.DateTimeOriginal=2024:05:01 10:00:00")} << false;
        QTest::newRow("EXIF-GPS") << QStringList{QStringLiteral("Exif.GPSInfo.GPSLatitudeRef=N"), breite,
                                                 QStringLiteral("Exif.GPSInfo.GPSLongitudeRef=E"), laenge} << true;
        QTest::newRow("nur Breite") << QStringList{breite} << true;
        QTest::newRow("GPS-Block ohne Position") << QStringList{QStringLiteral("Exif.GPSInfo.GPSVersionID=2 2 0 0")} << false;
        QTest::newRow("XMP-GPS") << QStringList{QStringLiteral("Xmp.exif.GPSLatitude=51,9.41N"),
                                                QStringLiteral("Xmp.exif.GPSLongitude=14,59.21E")} << true;
        QTest::newRow("XMP-Ort") << QStringList{QStringLiteral("Xmp.photoshop.City=Görlitz")} << true;
        QTest::newRow("XMP-Fundstelle") << QStringList{QStringLiteral("Xmp.iptc.Location=Landeskrone, Südhang")} << true;
        QTest::newRow("XMP nur Land") << QStringList{QStringLiteral("Xmp.photoshop.Country=Deutschland"),
                                                     QStringLiteral("Xmp.photoshop.State=Sachsen")} << false;
        QTest::newRow("XMP leerer Ort") << QStringList{QStringLiteral("Xmp.photoshop.City= ")} << false;
        QTest::newRow("IPTC-Ort") << QStringList{QStringLiteral("Iptc.Application2.City=Görlitz")} << true;
        QTest::newRow("Kommentar") << QStringList{QStringLiteral("Kommentar=Orchidee am Waldrand")} << false;
    }
    void standort()
    {
        QFETCH(QStringList, angaben);
        QFETCH(bool, standort);
        const QByteArray datei = angaben.isEmpty() ? foto() : mitAngaben(foto(), angaben);
        QCOMPARE(metadaten::standortEnthalten(datei), standort);
        // The copy without metadata never tells it.
        QVERIFY(!metadaten::standortEnthalten(metadaten::ohneMetadaten(datei)));
    }

    void keinJpegKeinStandort()
    {
        for (const QByteArray& daten : {QByteArray(), QByteArray("\xFF\xD8"), QByteArray("GIF89a........"),
                                        mitAngaben(foto(), {breite}).left(300)})
            QVERIFY(!metadaten::standortEnthalten(daten));
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
                            QStringLiteral("Xmp.photoshop.City=Görlitz"), QStringLiteral("Iptc.Application2.City=Görlitz"),
                            QStringLiteral("Kommentar=Fundort geheim")};
        if (orientierung != 1)
            angaben << QStringLiteral("Exif.Image.Orientation=%1").arg(orientierung);
        QByteArray original = mitAngaben(icc, angaben);
        const qsizetype nachSoi = 2;
        original.insert(nachSoi, app2(QByteArray("MPF\0MM\0*", 8)));
        const QByteArray anhang = mitAngaben(foto(), {breite});
        original += anhang;
        QVERIFY(metadaten::standortEnthalten(original));
        QList<int> vorher = marker(original);
        QVERIFY(vorher.contains(0xE1) && vorher.contains(0xED) && vorher.contains(0xFE));

        const QByteArray kopie = metadaten::ohneMetadaten(original);
        QByteArray rest;
        const QList<testbilder::Segment> segmente = testbilder::segmente(kopie, &rest);
        QVERIFY(rest.isEmpty());
        QByteArray icckopie, app1;
        int app1Anzahl = 0;
        for (const testbilder::Segment& s : segmente) {
            QVERIFY2(!(s.marker >= 0xE3 && s.marker <= 0xED) && s.marker != 0xEF && s.marker != 0xFE,
                     qPrintable(QString::number(s.marker, 16)));
            if (s.marker == 0xE2) {
                QVERIFY(s.inhalt.startsWith(QByteArray("ICC_PROFILE\0", 12)));
                icckopie += s.inhalt;
            }
            if (s.marker == 0xE1) {
                ++app1Anzahl;
                app1 = s.inhalt;
            }
        }
        QCOMPARE(segmente.constFirst().marker, 0xD8);
        QCOMPARE(segmente.at(1).marker, 0xE0); // JFIF first, as readers expect
        QCOMPARE(segmente.constLast().marker, 0xD9);
        QVERIFY(!icckopie.isEmpty());
        // Only the orientation survives, in a block of that one tag.
        QCOMPARE(app1Anzahl, orientierung == 1 ? 0 : 1);
        if (orientierung != 1) {
            QCOMPARE(segmente.at(2).marker, 0xE1);
            QCOMPARE(app1.size(), 6 + 8 + 2 + 12 + 4);
            QCOMPARE(metadaten::exifOrientierung(QByteArrayView(app1).sliced(6)), orientierung);
        }
        // The picture data itself is the original's, byte for byte.
        const qsizetype sosOriginal = original.indexOf("\xFF\xDA"), sosKopie = kopie.indexOf("\xFF\xDA");
        QCOMPARE(kopie.mid(sosKopie), original.mid(sosOriginal, original.size() - anhang.size() - sosOriginal));
        QVERIFY(!roh(kopie).isNull());
        QCOMPARE(roh(kopie), roh(original));
        // Loaded by the program it looks the same: upright, in the same colours.
        QTemporaryDir ordner;
        QVERIFY(testbilder::schreiben(ordner.filePath(QStringLiteral("o.jpg")), original));
        QVERIFY(testbilder::schreiben(ordner.filePath(QStringLiteral("k.jpg")), kopie));
        const QImage geladenOriginal = jpegLaden(ordner.filePath(QStringLiteral("o.jpg"))).bild;
        const QImage geladenKopie = jpegLaden(ordner.filePath(QStringLiteral("k.jpg"))).bild;
        QVERIFY(!geladenKopie.isNull());
        QCOMPARE(geladenKopie, geladenOriginal);
        QCOMPARE(geladenKopie.size(), orientierung >= 5 ? QSize(160, 240) : QSize(240, 160));
    }

    void unvollstaendigGibtNichts()
    {
        const QByteArray datei = mitAngaben(foto(), {breite});
        for (const QByteArray& daten : {QByteArray(), datei.left(datei.size() - 2), datei.left(400), QByteArray("\xFF\xD8\xFF\xE1\xFF\xFF", 6),
                                        QByteArray("kein JPEG")})
            QVERIFY(metadaten::ohneMetadaten(daten).isEmpty());
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
