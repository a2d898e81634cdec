// The one walk over a JPEG file's segments: what it delivers and where it stops.
#include "codec/Segmente.h"

#include "TestBilder.h"

#include <QTest>

namespace {

const auto seg = testbilder::segment;

const QByteArray soi("\xFF\xD8", 2), eoi("\xFF\xD9", 2);
// A scan header and coded data with a stuffed byte, a restart marker and a fill byte.
const QByteArray scan = seg(0xDA, "S") + QByteArray("\x12\xFF\x00\x34\xFF\xD0\x56\xFF", 8);

// "E1 DA D9 =Endmarke": the markers delivered, then how the walk ended.
QString lauf(const QByteArray& daten, bool wiederaufsetzen)
{
    segmente::Leser leser(daten, wiederaufsetzen);
    QStringList teile;
    while (leser.weiter())
        teile << QString::number(leser.segment().marke, 16).toUpper() + (leser.segment().ganz ? "" : "~");
    static const char* const enden[] = {"Endmarke", "Abgeschnitten", "Fehlerhaft", "KeinJpeg"};
    teile << QStringLiteral("=") + QLatin1String(enden[int(leser.ende())]);
    return teile.join(u' ');
}

} // namespace

class TestSegmente : public QObject {
    Q_OBJECT

private slots:
    void walk_data()
    {
        QTest::addColumn<QByteArray>("daten");
        QTest::addColumn<QString>("streng");
        QTest::addColumn<QString>("wiederaufsetzend");
        const QByteArray app1 = seg(0xE1, "Exif");
        QTest::newRow("ganz") << soi + seg(0xDB, "Q") + scan + eoi << "DB DA =Endmarke" << "DB DA =Endmarke";
        QTest::newRow("Füllbytes vor Marken") << soi + "\xFF\xFF" + seg(0xE0, "J") + scan + "\xFF\xFF" + eoi << "E0 DA =Endmarke"
                                              << "E0 DA =Endmarke";
        QTest::newRow("alleinstehende Marken") << soi + "\xFF\x01\xFF\xD3" + eoi << "1 D3 =Endmarke" << "1 D3 =Endmarke";
        // Bytes that are no marker hide what follows from a strict reader, not from libjpeg.
        QTest::newRow("FF 00 als Segment") << soi + seg(0x00, app1) + eoi << "=Fehlerhaft" << "E1 =Endmarke";
        QTest::newRow("reservierte Marke 07") << soi + seg(0x07, app1) + eoi << "=Fehlerhaft" << "E1 =Endmarke";
        QTest::newRow("Müll zwischen Segmenten") << soi + "abc" + app1 + eoi << "=Fehlerhaft" << "E1 =Endmarke";
        QTest::newRow("Länge 1") << soi + QByteArray("\xFF\xE1\x00\x01", 4) + eoi << "=Fehlerhaft" << "=Endmarke";
        QTest::newRow("zweiter Anfang") << soi + soi + eoi << "=Fehlerhaft" << "D8 =Endmarke";
        QTest::newRow("Segment über das Ende") << soi + seg(0xE1, "Exif").chopped(2) << "E1~ =Abgeschnitten" << "E1~ =Abgeschnitten";
        QTest::newRow("im Scan abgeschnitten") << soi + scan.left(8) << "DA =Abgeschnitten" << "DA =Abgeschnitten";
        QTest::newRow("ohne Endmarke") << soi + seg(0xDB, "Q") << "DB =Abgeschnitten" << "DB =Abgeschnitten";
        QTest::newRow("kein Anfang") << seg(0xDB, "Q") + eoi << "=KeinJpeg" << "=KeinJpeg";
    }
    void walk()
    {
        QFETCH(QByteArray, daten);
        QFETCH(QString, streng);
        QFETCH(QString, wiederaufsetzend);
        QCOMPARE(lauf(daten, false), streng);
        QCOMPARE(lauf(daten, true), wiederaufsetzend);
    }

    // A scan's coded data reaches up to the next marker that is no restart marker.
    void scanUndPositionen()
    {
        const QByteArray datei = soi + seg(0xE0, "JFIF") + scan + eoi + "Anhang";
        segmente::Leser leser(datei);
        QVERIFY(leser.weiter());
        QCOMPARE(leser.segment().anfang, 2);
        QCOMPARE(leser.segment().inhalt, QByteArrayView("JFIF"));
        QVERIFY(leser.weiter());
        const segmente::Segment s = leser.segment();
        QCOMPARE(s.marke, uchar(0xDA));
        QCOMPARE(s.datenAnfang, 2 + 8 + 5);
        QCOMPARE(s.ende, datei.indexOf(eoi)); // the fill byte before the marker is part of the data
        QVERIFY(!leser.weiter());
        QCOMPARE(leser.position(), datei.size() - 6);
    }
};

QTEST_GUILESS_MAIN(TestSegmente)
#include "test_segmente.moc"
