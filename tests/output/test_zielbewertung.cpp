#include "output/Ausgabetexte.h"
#include "output/Bewertung.h"
#include "output/Zielformat.h"
#include "platform/Zahlen.h"
#include "settings/Listeneintraege.h"

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

    // The source: long side 450 to 900 pixels, both inclusive, landscape or portrait; the file below 100 KB as its size text reads.
    void quelle_data()
    {
        QTest::addColumn<double>("breite");
        QTest::addColumn<double>("hoehe");
        QTest::addColumn<qint64>("bytes");
        QTest::addColumn<QString>("masse");
        QTest::addColumn<QString>("urteil");
        QTest::newRow("900 x 600, 99,9 KB") << 900.0 << 600.0 << qint64(102348) << "OK" << "OK";
        QTest::newRow("901 x 600") << 901.0 << 600.0 << qint64(50000) << "zu groß" << "OK";
        QTest::newRow("hoch 600 x 900") << 600.0 << 900.0 << qint64(50000) << "OK" << "OK";
        QTest::newRow("hoch 600 x 901") << 600.0 << 901.0 << qint64(50000) << "zu groß" << "OK";
        QTest::newRow("449 x 300") << 449.0 << 300.0 << qint64(50000) << "zu klein" << "OK";
        QTest::newRow("450 x 300") << 450.0 << 300.0 << qint64(50000) << "OK" << "OK";
        QTest::newRow("hoch 300 x 449") << 300.0 << 449.0 << qint64(50000) << "zu klein" << "OK";
        QTest::newRow("nur die lange Seite: 900 x 100") << 900.0 << 100.0 << qint64(50000) << "OK" << "OK";
        QTest::newRow("450 x 450") << 450.0 << 450.0 << qint64(50000) << "OK" << "OK";
        QTest::newRow("100,0 KB") << 900.0 << 600.0 << qint64(102349) << "OK" << "zu groß";
        QTest::newRow("genau 100 KB") << 900.0 << 600.0 << qint64(102400) << "OK" << "zu groß";
        QTest::newRow("1,0 MB") << 900.0 << 600.0 << qint64(1048576) << "OK" << "zu groß";
        QTest::newRow("leere Datei") << 900.0 << 600.0 << qint64(0) << "OK" << "OK";
        QTest::newRow("3000 x 2000, 1,8 MB") << 3000.0 << 2000.0 << qint64(1887437) << "zu groß" << "zu groß";
    }
    void quelle()
    {
        QFETCH(double, breite);
        QFETCH(double, hoehe);
        QFETCH(qint64, bytes);
        QFETCH(QString, masse);
        QFETCH(QString, urteil);
        const bewertung::Quelle q = bewertung::quelle(breite, hoehe, bytes);
        QCOMPARE(q.masse, masse);
        QCOMPARE(q.groesse, urteil);
        QCOMPARE(q.geeignet(), masse == u"OK" && urteil == u"OK");
    }

    // The target's dimensions: the same limits, each with its instruction.
    void zielMasse_data()
    {
        QTest::addColumn<double>("breite");
        QTest::addColumn<double>("hoehe");
        QTest::addColumn<QString>("masse");
        QTest::addColumn<QString>("massnahme");
        const QString verringern = QStringLiteral("Maßnahme: 3. Zielformat verringern");
        const QString vergroessern = QStringLiteral("Maßnahme: 3. Zielformat vergrößern");
        QTest::newRow("1200 x 800") << 1200.0 << 800.0 << "zu groß" << verringern;
        QTest::newRow("901 x 600") << 901.0 << 600.0 << "zu groß" << verringern;
        QTest::newRow("900 x 600") << 900.0 << 600.0 << "OK" << "";
        QTest::newRow("hoch 600 x 901") << 600.0 << 901.0 << "zu groß" << verringern;
        QTest::newRow("hoch 400 x 600") << 400.0 << 600.0 << "OK" << "";
        QTest::newRow("450 x 300") << 450.0 << 300.0 << "OK" << "";
        QTest::newRow("449 x 299") << 449.0 << 299.0 << "zu klein" << vergroessern;
        QTest::newRow("120 x 80") << 120.0 << 80.0 << "zu klein" << vergroessern;
        QTest::newRow("keine Zahlen") << 0.0 << 0.0 << "zu klein" << vergroessern;
    }
    void zielMasse()
    {
        QFETCH(double, breite);
        QFETCH(double, hoehe);
        QFETCH(QString, masse);
        QFETCH(QString, massnahme);
        const auto z = bewertung::ziel(breite, hoehe, 2000, 8000);
        QCOMPARE(z.masse, masse);
        QCOMPARE(z.masseMassnahme, massnahme);
        QCOMPARE(z.masseOk, masse == u"OK");
        QCOMPARE(z.geeignet(), masse == u"OK");
    }

    // The selection as its read-out shows it, against the target width; none (after cropping) fails silently.
    void zielAuswahl_data()
    {
        QTest::addColumn<int>("auswahl"); // -1: none
        QTest::addColumn<QString>("urteil");
        QTest::addColumn<bool>("ok");
        QTest::newRow("599 zu 600") << 599 << "Auswahl zu klein" << false;
        QTest::newRow("600 zu 600") << 600 << "OK" << true;
        QTest::newRow("601 zu 600") << 601 << "OK" << true;
        QTest::newRow("keine") << -1 << "" << false;
        QTest::newRow("0 x 0") << 0 << "" << false;
    }
    void zielAuswahl()
    {
        QFETCH(int, auswahl);
        QFETCH(QString, urteil);
        QFETCH(bool, ok);
        const auto z = bewertung::ziel(600, 400, auswahl < 0 ? std::nullopt : std::optional<long long>(auswahl), 8000);
        QCOMPARE(z.auswahl, urteil);
        QCOMPARE(z.auswahlMassnahme, urteil == u"Auswahl zu klein"
                                         ? QStringLiteral("Maßnahme: 4. Auswahlrahmen größer ziehen oder 3. Zielformat verringern")
                                         : QString());
        QCOMPARE(z.auswahlOk, ok);
        QCOMPARE(z.geeignet(), ok);
    }

    void zielGroesse_data()
    {
        QTest::addColumn<qint64>("bytes"); // -1: nothing measured
        QTest::addColumn<bool>("ok");
        QTest::newRow("99,9 KB") << qint64(102348) << true;
        QTest::newRow("100,0 KB") << qint64(102349) << false;
        QTest::newRow("1,0 MB") << qint64(1048576) << false;
        QTest::newRow("nichts") << qint64(0) << true;
        QTest::newRow("nicht gemessen") << qint64(-1) << false;
    }
    void zielGroesse()
    {
        QFETCH(qint64, bytes);
        QFETCH(bool, ok);
        const auto z = bewertung::ziel(600, 400, 900, bytes < 0 ? std::nullopt : std::optional<qint64>(bytes));
        QCOMPARE(z.groesseOk, ok);
        QCOMPARE(z.groesse, ok ? QStringLiteral("OK") : QStringLiteral("zu groß"));
        QCOMPARE(z.groesseMassnahme, ok ? QString() : QStringLiteral("Maßnahme: 5. Kompressionsrate senken bis Dateigröße < 100 KB"));
        QCOMPARE(z.geeignet(), ok);
    }

    // The verdict on bytes is the verdict on their size text, read by its leading number,
    // in every locale: with a decimal comma "99,9 KB" reads 99, with a point 99.9.
    void groesseWieIhrText()
    {
        for (const QLocale& ort : {deutsch, englisch, QLocale::c(), QLocale(QLocale::French), QLocale(QLocale::Arabic)}) {
            for (qint64 bytes = 101000; bytes < 110000; ++bytes) {
                const QString text = GroessenText(bytes, ort);
                const bool wieGelesen = text.contains(QStringLiteral("KB")) && zahlen::Val(text) < 100;
                if (bewertung::groesseOk(bytes) != wieGelesen)
                    QFAIL(qPrintable(QStringLiteral("%1 bytes, %2").arg(bytes).arg(text)));
            }
            for (qint64 bytes : {0LL, 512LL, 102348LL, 1LL << 20, 5LL << 20, 1000LL << 20})
                QCOMPARE(bewertung::groesseOk(bytes), GroessenText(bytes, ort).contains(QStringLiteral("KB"))
                                                          && zahlen::Val(GroessenText(bytes, ort)) < 100);
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
