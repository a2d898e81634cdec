#include "output/Bewertung.h"
#include "output/Speichern.h"
#include "output/Zielformat.h"
#include "settings/Listen.h"

#include <QTest>

class TestZielbewertung : public QObject {
    Q_OBJECT
    const QLocale deutsch{QLocale::German, QLocale::Germany};
    const QLocale englisch{QLocale::English, QLocale::UnitedStates};

private slots:
    void groessenText_data()
    {
        QTest::addColumn<qlonglong>("bytes");
        QTest::addColumn<QString>("de");
        QTest::addColumn<QString>("en");
        QTest::newRow("100 KB") << 102400LL << "100,0 KB" << "100.0 KB";
        QTest::newRow("knapp unter 1024 KB") << 1048575LL << "1024,0 KB" << "1024.0 KB";
        QTest::newRow("1 MB") << 1048576LL << "1,0 MB" << "1.0 MB";
        QTest::newRow("1,2 MB") << 1258291LL << "1,2 MB" << "1.2 MB";
        QTest::newRow("ohne führende Null") << 512LL << ",5 KB" << ".5 KB";
        QTest::newRow("null") << 0LL << ",0 KB" << ".0 KB";
        QTest::newRow("45,7") << 46797LL << "45,7 KB" << "45.7 KB";
        QTest::newRow("halb wird aufgerundet") << 256LL << ",3 KB" << ".3 KB";
        QTest::newRow("99,9") << 102297LL << "99,9 KB" << "99.9 KB";
        QTest::newRow("rundet auf 100") << 102350LL << "100,0 KB" << "100.0 KB";
        QTest::newRow("groß") << 25LL * 1048576 << "25,0 MB" << "25.0 MB";
    }
    void groessenText()
    {
        QFETCH(qlonglong, bytes);
        QFETCH(QString, de);
        QFETCH(QString, en);
        QCOMPARE(GroessenText(bytes, deutsch), de);
        QCOMPARE(GroessenText(bytes, englisch), en);
    }

    void zielHoeheAusBreite()
    {
        QCOMPARE(listen::hoeheZurBreite(601, 3, 2), 400.0);
        QCOMPARE(listen::hoeheZurBreite(599, 3, 2), 398.0);
        QCOMPARE(listen::hoeheZurBreite(600, 3, 2), 400.0);
        QCOMPARE(listen::hoeheZurBreite(1000, 16, 9), 558.0);
        QCOMPARE(listen::hoeheZurBreite(750, 3, 2), 500.0);
        QCOMPARE(listen::hoeheZurBreite(600, 2, 3), 900.0);
        QCOMPARE(listen::hoeheZurBreite(-30, 3, 2), -20.0);
    }

    void quelle_data()
    {
        QTest::addColumn<QString>("abmessungen");
        QTest::addColumn<QString>("groesse");
        QTest::addColumn<QString>("masse");
        QTest::addColumn<QString>("urteil");
        QTest::newRow("900 x 600, 99,9 KB") << "900 x 600" << "99,9 KB" << "OK" << "OK";
        QTest::newRow("901 x 600") << "901 x 600" << "50,0 KB" << "zu groß" << "OK";
        QTest::newRow("hoch 600 x 901") << "600 x 901" << "50,0 KB" << "zu groß" << "OK";
        QTest::newRow("449 x 300") << "449 x 300" << "50,0 KB" << "zu klein" << "OK";
        QTest::newRow("450 x 300") << "450 x 300" << "50,0 KB" << "OK" << "OK";
        QTest::newRow("nur die lange Seite: 900 x 100") << "900 x 100" << "50,0 KB" << "OK" << "OK";
        QTest::newRow("450 x 450") << "450 x 450" << "50,0 KB" << "OK" << "OK";
        QTest::newRow("1,2 MB") << "900 x 600" << "1,2 MB" << "OK" << "zu groß";
        QTest::newRow("100,0 KB") << "900 x 600" << "100,0 KB" << "OK" << "zu groß";
        QTest::newRow("Punkt: 99.9 KB besteht") << "900 x 600" << "99.9 KB" << "OK" << "OK";
        QTest::newRow("Punkt: 100.0 KB nicht") << "900 x 600" << "100.0 KB" << "OK" << "zu groß";
        QTest::newRow("leer") << "" << "" << "zu klein" << "zu groß";
        QTest::newRow("3000 x 2000, 1,8 MB") << "3000 x 2000" << "1,8 MB" << "zu groß" << "zu groß";
    }
    void quelle()
    {
        QFETCH(QString, abmessungen);
        QFETCH(QString, groesse);
        QFETCH(QString, masse);
        QFETCH(QString, urteil);
        const bewertung::Quelle q = bewertung::quelle(abmessungen, groesse);
        QCOMPARE(q.masse, masse);
        QCOMPARE(q.groesse, urteil);
        QCOMPARE(q.geeignet(), masse == u"OK" && urteil == u"OK");
    }

    void zielMasse()
    {
        auto z = bewertung::ziel(QStringLiteral("1200"), QStringLiteral("800"), QStringLiteral("1500 x 1000"), QStringLiteral("80,0 KB"));
        QCOMPARE(z.masse, QStringLiteral("zu groß"));
        QCOMPARE(z.masseMassnahme, QStringLiteral("Maßnahme: 3. Zielformat verringern"));
        QVERIFY(!z.geeignet());
        z = bewertung::ziel(QStringLiteral("120"), QStringLiteral("80"), QStringLiteral("1500 x 1000"), QStringLiteral("8,0 KB"));
        QCOMPARE(z.masse, QStringLiteral("zu klein"));
        QCOMPARE(z.masseMassnahme, QStringLiteral("Maßnahme: 3. Zielformat vergrößern"));
        z = bewertung::ziel(QStringLiteral("400"), QStringLiteral("600"), QStringLiteral("400 x 600"), QStringLiteral("8,0 KB"));
        QCOMPARE(z.masse, QStringLiteral("OK"));
        QCOMPARE(z.masseMassnahme, QString());
        QVERIFY(z.geeignet());
    }

    void zielAuswahl()
    {
        auto z = bewertung::ziel(QStringLiteral("600"), QStringLiteral("400"), QStringLiteral("599 x 400"), QStringLiteral("80,0 KB"));
        QCOMPARE(z.auswahl, QStringLiteral("Auswahl zu klein"));
        QCOMPARE(z.auswahlMassnahme, QStringLiteral("Maßnahme: 4. Auswahlrahmen größer ziehen oder 3. Zielformat verringern"));
        QVERIFY(!z.auswahlOk);
        z = bewertung::ziel(QStringLiteral("600"), QStringLiteral("400"), QStringLiteral("600 x 400"), QStringLiteral("80,0 KB"));
        QCOMPARE(z.auswahl, QStringLiteral("OK"));
        QCOMPARE(z.auswahlMassnahme, QString());
        QVERIFY(z.geeignet());
        // No selection (after cropping): no verdict, but the check fails.
        for (const char* leer : {"", "0 x 0"}) {
            z = bewertung::ziel(QStringLiteral("600"), QStringLiteral("400"), QString::fromUtf8(leer), QStringLiteral("80,0 KB"));
            QCOMPARE(z.auswahl, QString());
            QCOMPARE(z.auswahlMassnahme, QString());
            QVERIFY(!z.auswahlOk);
            QVERIFY(!z.geeignet());
        }
    }

    void zielGroesse()
    {
        const auto mit = [](const char* groesse) {
            return bewertung::ziel(QStringLiteral("600"), QStringLiteral("400"), QStringLiteral("900 x 600"), QString::fromUtf8(groesse));
        };
        QVERIFY(mit("99,9 KB").groesseOk);
        QCOMPARE(mit("99,9 KB").groesseMassnahme, QString());
        for (const char* zuViel : {"100,0 KB", "1,2 MB", "", "100.0 KB"}) {
            const auto z = mit(zuViel);
            QVERIFY2(!z.groesseOk, zuViel);
            QCOMPARE(z.groesse, QStringLiteral("zu groß"));
            QCOMPARE(z.groesseMassnahme, QStringLiteral("Maßnahme: 5. Kompressionsrate senken bis Dateigröße < 100 KB"));
        }
    }

    // Whatever the locale, a file of 100 KB or more never passes, and one clearly below does.
    void keinJpegAb100KBIstOK()
    {
        for (const QLocale& ort : {deutsch, englisch, QLocale::c()}) {
            for (qint64 bytes = 102000; bytes < 110000; ++bytes) {
                const bool ok = bewertung::ziel(QStringLiteral("600"), QStringLiteral("400"), QStringLiteral("900 x 600"),
                                                GroessenText(bytes, ort))
                                    .groesseOk;
                if (bytes >= 102400)
                    QVERIFY2(!ok, qPrintable(QString::number(bytes)));
            }
            for (qint64 bytes : {1LL << 20, 5LL << 20, 1000LL << 20})
                QVERIFY(!bewertung::ziel({}, {}, {}, GroessenText(bytes, ort)).groesseOk);
            QVERIFY(bewertung::ziel({}, {}, {}, GroessenText(101000, ort)).groesseOk);
        }
    }

    void dateinamenVorschlag()
    {
        QCOMPARE(dateinameVorschlag(2, QStringLiteral("IMG_1234.JPG"), QStringLiteral("_lf")), QStringLiteral("IMG_1234_lf.jpg"));
        QCOMPARE(dateinameVorschlag(2, QStringLiteral("falter.jpg"), QStringLiteral("_web")), QStringLiteral("falter_web.jpg"));
        // Only the last four characters go, whatever they are.
        QCOMPARE(dateinameVorschlag(2, QStringLiteral("falter.jpeg"), QStringLiteral("_web")), QStringLiteral("falter._web.jpg"));
        QCOMPARE(dateinameVorschlag(1, QStringLiteral("falter.jpg"), QStringLiteral("_web")), QStringLiteral("falter.jpg"));
        QCOMPARE(dateinameVorschlag(0, QStringLiteral("falter.jpg"), QStringLiteral("_web")), QStringLiteral("*.jpg"));
        QVERIFY(dateinameVorschlag(3, QStringLiteral("falter.jpg"), QStringLiteral("_web")).isNull());
        QCOMPARE(dateinameVorschlag(2, QStringLiteral("a.j"), QStringLiteral("_x")), QStringLiteral("_x.jpg"));
    }

    void erinnerung()
    {
        QCOMPARE(fundortErinnerung(), QStringLiteral("Bitte denken Sie daran, nach dem Einfügen des Dateipfades in die Eingabemaske "
                                                     "des Flattriums \r\nauch den Fundort im vorgeschriebenen Format anzugeben!"));
    }
};

QTEST_GUILESS_MAIN(TestZielbewertung)
#include "test_zielbewertung.moc"
