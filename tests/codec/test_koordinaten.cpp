// Which texts write a position: coordinate pairs as people and programs write them,
// and the numbers of ordinary captions, settings and dates that are none.
#include "codec/Koordinaten.h"

#include <QTest>

class TestKoordinaten : public QObject {
    Q_OBJECT

private slots:
    void koordinaten_data()
    {
        QTest::addColumn<QByteArray>("text");
        QTest::addColumn<bool>("position");
        const auto ja = [](const char* text) { QTest::newRow(text) << QByteArray(text) << true; };
        const auto nein = [](const char* text) { QTest::newRow(text) << QByteArray(text) << false; };
        ja("48.1374, 11.5755");
        ja("-33.8688, 151.2093");
        ja("48.1374 N 11.5755 E");
        ja("11.5755 E, 48.1374 N");
        ja("48.1374N11.5755E");
        ja("N48.1374 E11.5755");
        ja("N 48\xC2\xB0 8' 14.6\" E 11\xC2\xB0 34' 31.8\"");
        ja("48\xC2\xB0" "8'14.6\"N 11\xC2\xB0" "34'31.8\"E");
        ja("48\xC2\xB0" "08\xE2\x80\xB2" "14.6\xE2\x80\xB3N 11\xC2\xB0" "34\xE2\x80\xB2" "31.8\xE2\x80\xB3" "E");
        ja("48\xB0 8' 14.6\" N, 11\xB0 34' 31.8\" O"); // Latin-1
        ja("N 48\xC2\xB0 08.243 E 011\xC2\xB0 34.530");
        ja("48 deg 8' 14.60\" N, 11 deg 34' 31.80\" E");
        ja("51\xC2\xB0 9' N, 14\xC2\xB0 59' E");
        ja("48.1374\xC2\xB0 N, 11.5755\xC2\xB0 O");
        ja("48.13\xC2\xB0, 11.57\xC2\xB0");
        ja("48,13743; 11,57549");
        ja("Orchideenwiese (48.13743, 11.57549), Fundort geheim");
        ja("lat=48.1374 lon=11.5755");
        ja("Breite 48.1374, L\xC3\xA4nge 11.5755");
        ja("{\"lat\": 48.13743, \"lng\": 11.57549}");
        ja("48.1374, 11.5755, 519.8");
        nein("f/5.6 1/250");
        nein("1/250 s, f/8.0, ISO 200, 24.0-70.0 mm, +0.3 EV");
        nein("2024:05:01 10:00:00");
        nein("Aufgenommen am 01.05.2024 um 10.30 Uhr");
        nein("12.05, 14.30");
        nein("Version 1.2.3 4.5.6");
        nein("Canon EOS 5D Mark IV, Firmware 1.0.2");
        nein("Temperatur 21.5\xC2\xB0, 23.0\xC2\xB0");
        nein("21.5\xC2\xB0" "C 23.5\xC2\xB0" "C");
        nein("1,500 2,000");
        nein("Blende 5.600 Kontrast 2.000");
        nein("48 N 11 E");
        nein("48.1374N, 11.5755N");
        nein("48.1374m 11.5755m");
        nein("91.1234, 181.1234");
        nein("0.000000, 0.000000");
        nein("0.481250, 0.312500, 0.100000, 0.200000"); // a region
        nein("24.830000, 38.490000, 67.620000, 1.000000"); // a colour
        nein("d 0.489583 0.304688");
        nein("Copyright 2024 Hans M\xC3\xBCller, alle Rechte vorbehalten");
        nein("");
    }
    void koordinaten()
    {
        QFETCH(QByteArray, text);
        QFETCH(bool, position);
        QCOMPARE(koordinaten::inText(text), position);
        if (QString::fromUtf8(text).toUtf8() == text) // UTF-8, not Latin-1
            QCOMPARE(koordinaten::inText(QString::fromUtf8(text)), position);
    }
};

QTEST_GUILESS_MAIN(TestKoordinaten)
#include "test_koordinaten.moc"
