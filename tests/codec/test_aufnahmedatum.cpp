// The day a photo was taken, from whichever block says it, and only from its header.
#include "codec/Aufnahmedatum.h"

#include "TestBilder.h"

#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class TestAufnahmedatum : public QObject {
    Q_OBJECT

private slots:
    // Each source alone, which one counts where several say a day, a value that names no day;
    // and a file, of which only the header is read, and a pipe, which is not opened.
    void quellen_data()
    {
        QTest::addColumn<QStringList>("angaben"); // as Exiv2 writes them; "XMP-Element", "Kopf 80 KB": made by hand
        QTest::addColumn<QString>("ablage");      // "" in memory, "Datei", "Pipe"
        QTest::addColumn<QDate>("datum");
        const QDate tag(2026, 6, 14), anderer(2025, 5, 1);
        const QString dto = QStringLiteral("Exif.Photo.DateTimeOriginal="), dtd = QStringLiteral("Exif.Photo.DateTimeDigitized=2025:05:01 08:00:00");
        const auto zeile = [](const char* name, QStringList angaben, QDate datum, const char* ablage = "") {
            QTest::newRow(name) << angaben << QString::fromUtf8(ablage) << datum;
        };
        zeile("keine Angabe", {}, {});
        zeile("DateTimeOriginal", {dto + "2026:06:14 10:03:00"}, tag);
        zeile("CreateDate", {dtd}, anderer);
        zeile("XMP exif:DateTimeOriginal", {"Xmp.exif.DateTimeOriginal=2026-06-14T10:03:00+02:00"}, tag);
        zeile("XMP photoshop:DateCreated", {"Xmp.photoshop.DateCreated=2026-06-14"}, tag);
        zeile("XMP xmp:CreateDate", {"Xmp.xmp.CreateDate=2026-06-14T10:03"}, tag);
        zeile("XMP als Element", {"XMP-Element"}, tag);
        zeile("IPTC Date Created", {"Iptc.Application2.DateCreated=2026-06-14"}, tag);
        zeile("Original vor CreateDate", {dtd, dto + "2026:06:14 10:03:00"}, tag);
        zeile("CreateDate vor XMP", {dtd, "Xmp.exif.DateTimeOriginal=2026-06-14"}, anderer);
        zeile("IPTC vor xmp:CreateDate", {"Iptc.Application2.DateCreated=2026-06-14", "Xmp.xmp.CreateDate=2025-05-01"}, tag);
        zeile("unlesbar: Nullen", {dto + "0000:00:00 00:00:00"}, {});
        zeile("unlesbar: 30. Februar", {dto + "2026:02:30 10:00:00"}, {});
        zeile("unlesbar: nur das Jahr", {"Xmp.xmp.CreateDate=2026"}, {});
        zeile("unlesbar, dann CreateDate", {dto + "Sonntag", dtd}, anderer);
        zeile("Datei", {dto + "2026:06:14 10:03:00"}, tag, "Datei");
        zeile("Datei, Kopf über 64 KB", {"Kopf 80 KB", "Xmp.exif.DateTimeOriginal=2026-06-14"}, tag, "Datei");
        zeile("Pipe", {}, {}, "Pipe");
    }
    void quellen()
    {
        QFETCH(QStringList, angaben);
        QFETCH(QString, ablage);
        QFETCH(QDate, datum);
        const bool element = angaben.removeAll(QStringLiteral("XMP-Element")), kopf = angaben.removeAll(QStringLiteral("Kopf 80 KB"));
        const QByteArray foto = testbilder::alsJpeg(testbilder::verlauf(64, 48), 85);
        QByteArray jpeg = angaben.isEmpty() ? foto : testbilder::mitAngaben(foto, angaben);
        if (element)
            jpeg.insert(2, testbilder::segment(0xE1, QByteArray("http://ns.adobe.com/xap/1.0/\0", 29)
                                                         + "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/"
                                                           "22-rdf-syntax-ns#\"><rdf:Description xmlns:xmp=\"http://ns.adobe.com/xap/1.0/\">"
                                                           "<xmp:CreateDate>2026-06-14</xmp:CreateDate></rdf:Description></rdf:RDF></x:xmpmeta>"));
        if (kopf)
            jpeg.insert(2, testbilder::segment(0xE5, QByteArray(40000, 'a')) + testbilder::segment(0xE6, QByteArray(40000, 'b')));
        if (ablage.isEmpty()) {
            QCOMPARE(aufnahmedatum::ausJpeg(jpeg), datum);
            return;
        }
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("falter.jpg"));
        if (ablage == u"Pipe") // opened as a file, it would wait for a writer for good
            QCOMPARE(::mkfifo(QFile::encodeName(pfad).constData(), 0600), 0);
        else
            QVERIFY(testbilder::schreiben(pfad, jpeg));
        QCOMPARE(aufnahmedatum::ausDatei(pfad), datum);
    }
};

QTEST_GUILESS_MAIN(TestAufnahmedatum)
#include "test_aufnahmedatum.moc"
