#include "platform/Zahlen.h"

#include <QTest>

using namespace zahlen;

class TestZahlen : public QObject {
    Q_OBJECT
private slots:
    void val_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<double>("wert");
        QTest::newRow("ganze Zahl") << "600" << 600.0;
        QTest::newRow("Größenzeile") << "1200 x 800" << 1200.0;
        QTest::newRow("Komma beendet") << "99,9 KB" << 99.0;
        QTest::newRow("Punkt trennt") << "99.9 KB" << 99.9;
        QTest::newRow("führende Blanks") << "   92.5" << 92.5;
        QTest::newRow("Tabulator") << "\t42" << 42.0;
        QTest::newRow("Blank nach Design") << "100 " << 100.0;
        QTest::newRow("leer") << "" << 0.0;
        QTest::newRow("nur Blanks") << "   " << 0.0;
        QTest::newRow("keine Zahl") << "benutzerdefiniert" << 0.0;
        QTest::newRow("Buchstabe zuerst") << "x600" << 0.0;
        QTest::newRow("negativ") << "-12.5px" << -12.5;
        QTest::newRow("plus") << "+7" << 7.0;
        QTest::newRow("nur Vorzeichen") << "-" << 0.0;
        QTest::newRow("Punkt vorn") << ".5" << 0.5;
        QTest::newRow("Punkt hinten") << "5." << 5.0;
        QTest::newRow("zweiter Punkt endet") << "1.2.3" << 1.2;
        QTest::newRow("Blank im Innern endet") << "1 2" << 1.0;
        QTest::newRow("kein Exponent") << "1e3" << 1.0;
        QTest::newRow("Null vorn") << "007" << 7.0;
    }
    void val()
    {
        QFETCH(QString, text);
        QFETCH(double, wert);
        QCOMPARE(Val(text), wert);
    }

    void valUnabhaengigVomGebietsschema()
    {
        const QLocale vorher;
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        QCOMPARE(Val(u"92.5"), 92.5);
        QLocale::setDefault(vorher);
    }

    void kurz_data()
    {
        QTest::addColumn<double>("wert");
        QTest::addColumn<QString>("text");
        QTest::newRow("ganz") << 600.0 << "600";
        QTest::newRow("halb") << 92.5 << "92.5";
        QTest::newRow("null") << 0.0 << "0";
        QTest::newRow("minus null") << -0.0 << "0";
        QTest::newRow("negativ") << -3.25 << "-3.25";
        QTest::newRow("klein") << 0.5 << "0.5";
        QTest::newRow("Zehntel") << 0.1 << "0.1";
        QTest::newRow("groß") << 6400.0 << "6400";
        QTest::newRow("Summe ohne Rauschen") << (0.1 + 0.2) << "0.3";
        QTest::newRow("viele Stellen") << (1000.0 / 1.5) << "666.666666666667";
    }
    void kurz()
    {
        QFETCH(double, wert);
        QFETCH(QString, text);
        QCOMPARE(Kurz(wert), text);
    }

    void kurzEinfacheGenauigkeit()
    {
        // A single-precision value is written with the seven digits it carries.
        QCOMPARE(Kurz(122.0f / 3.0f), QStringLiteral("40.66667"));
        QCOMPARE(Kurz(16.0f * 400.0f), QStringLiteral("6400"));
        QCOMPARE(Kurz(555.3333f), QStringLiteral("555.3333"));
    }

    void rundeGerade_data()
    {
        QTest::addColumn<double>("wert");
        QTest::addColumn<qlonglong>("ergebnis");
        QTest::newRow("92.5") << 92.5 << 92LL;
        QTest::newRow("93.5") << 93.5 << 94LL;
        QTest::newRow("0.5") << 0.5 << 0LL;
        QTest::newRow("1.5") << 1.5 << 2LL;
        QTest::newRow("2.5") << 2.5 << 2LL;
        QTest::newRow("-2.5") << -2.5 << -2LL;
        QTest::newRow("92.4") << 92.4 << 92LL;
        QTest::newRow("92.6") << 92.6 << 93LL;
    }
    void rundeGerade()
    {
        QFETCH(double, wert);
        QFETCH(qlonglong, ergebnis);
        QCOMPARE(RundeGerade(wert), ergebnis);
    }

    void ganz()
    {
        QCOMPARE(Ganz(2.7), 2.0);
        QCOMPARE(Ganz(-2.5), -3.0);
        QCOMPARE(Ganz(1000.0 / 16.0), 62.0);
        QCOMPARE(Ganz(5.0), 5.0);
    }

    void anzeigeRundetHalbeAuf()
    {
        QCOMPARE(RundeAnzeige(599.5f), 600LL);
        QCOMPARE(RundeAnzeige(599.49f), 599LL);
        QCOMPARE(RundeAnzeige(2.5f), 3LL);
        QCOMPARE(RundeAnzeige(3.5f), 4LL);
        QCOMPARE(RundeAnzeige(0.0f), 0LL);
        QCOMPARE(RundeAnzeige(899.5f), 900LL);
        QCOMPARE(RundeAnzeige(899.49f), 899LL);
    }
};

QTEST_GUILESS_MAIN(TestZahlen)
#include "test_zahlen.moc"
