#include "findreport/Fundbericht.h"

#include <QTest>

using namespace fundbericht;

namespace {

FindRecord bayern(const QString& beschreibung = {}, const QString& hoehe = QStringLiteral("520"))
{
    return {QStringLiteral("Deutschland"), QStringLiteral("Bayern"), QStringLiteral("München"), QStringLiteral("Isarauen"),
            beschreibung, hoehe, QStringLiteral("15. Juni 2010"), QStringLiteral("Freilandfoto"), QStringLiteral("N. N.")};
}

} // namespace

Q_DECLARE_METATYPE(FindRecord)

class TestFundbericht : public QObject {
    Q_OBJECT
private slots:
    void zeilen_data()
    {
        QTest::addColumn<FindRecord>("felder");
        QTest::addColumn<QString>("vorschau");
        QTest::addColumn<bool>("vollstaendig");
        QTest::addColumn<QString>("gespeichert");

        const QString beispiel = QStringLiteral("Deutschland, Bayern, München, Isarauen, 520 msm, 15. Juni 2010 (Freilandfoto: N. N.)");
        QTest::newRow("ohne Beschreibung") << bayern() << beispiel << true << beispiel;
        const QString mit =
            QStringLiteral("Deutschland, Bayern, München, Isarauen, am Altwasser, 520 msm, 15. Juni 2010 (Freilandfoto: N. N.)");
        QTest::newRow("mit Beschreibung") << bayern(QStringLiteral("am Altwasser")) << mit << true << mit;
        const QString zeilen =
            QStringLiteral("Deutschland, Bayern, München, Isarauen, Kiesbank\r\nlinkes Ufer, 520 msm, 15. Juni 2010 (Freilandfoto: N. N.)");
        QTest::newRow("mehrzeilige Beschreibung") << bayern(QStringLiteral("Kiesbank\r\nlinkes Ufer")) << zeilen << true << zeilen;
        QTest::newRow("Höhe leer")
            << bayern({}, {}) << QStringLiteral("Deutschland, Bayern, München, Isarauen,  msm, 15. Juni 2010 (Freilandfoto: N. N.)")
            << false << QStringLiteral("Deutschland, Bayern, München, Isarauen, 15. Juni 2010 (Freilandfoto: N. N.)");
        QTest::newRow("Höhe ein Blank") << bayern({}, QStringLiteral(" "))
                                        << QStringLiteral("Deutschland, Bayern, München, Isarauen,   msm, 15. Juni 2010 (Freilandfoto: N. N.)")
                                        << true
                                        << QStringLiteral("Deutschland, Bayern, München, Isarauen,   msm, 15. Juni 2010 (Freilandfoto: N. N.)");
        FindRecord ohneLand = bayern();
        ohneLand.land.clear();
        QTest::newRow("Land leer") << ohneLand
                                   << QStringLiteral(", Bayern, München, Isarauen, 520 msm, 15. Juni 2010 (Freilandfoto: N. N.)")
                                   << false << QStringLiteral("Bayern, München, Isarauen, 520 msm, 15. Juni 2010 (Freilandfoto: N. N.)");
        FindRecord leer;
        leer.datum = QStringLiteral("1. März 2024");
        QTest::newRow("alles leer") << leer << QStringLiteral(", , , ,  msm, 1. März 2024 (: )") << false
                                    << QStringLiteral("1. März 2024 (: )");
        FindRecord ohneAutor = bayern();
        ohneAutor.autor.clear();
        QTest::newRow("Autor leer") << ohneAutor
                                    << QStringLiteral("Deutschland, Bayern, München, Isarauen, 520 msm, 15. Juni 2010 (Freilandfoto: )")
                                    << false << QStringLiteral("Deutschland, Bayern, München, Isarauen, 520 msm, 15. Juni 2010 (Freilandfoto: )");
        FindRecord apostroph{QStringLiteral("Italien"), QStringLiteral("Valle d'Aosta"), QStringLiteral("L'Aquila"),
                             QStringLiteral("Monte d'Accoddi"), {}, QStringLiteral("600"), QStringLiteral("29. Februar 2012"),
                             QStringLiteral("Studiofoto"), QStringLiteral("Jean d'Arc")};
        const QString italien =
            QStringLiteral("Italien, Valle d'Aosta, L'Aquila, Monte d'Accoddi, 600 msm, 29. Februar 2012 (Studiofoto: Jean d'Arc)");
        QTest::newRow("Apostrophe") << apostroph << italien << true << italien;
    }
    void zeilen()
    {
        QFETCH(FindRecord, felder);
        QFETCH(QString, vorschau);
        QFETCH(bool, vollstaendig);
        QFETCH(QString, gespeichert);
        QCOMPARE(vorschauZeile(felder), vorschau);
        QCOMPARE(istVollstaendig(felder), vollstaendig);
        QCOMPARE(gespeicherteZeile(felder), gespeichert);
        // The stored line of a complete preview is that preview: the dialog finds a saved row by it.
        if (vollstaendig)
            QCOMPARE(gespeicherteZeile(felder), vorschauZeile(felder));
    }

    void schaltjahr_data()
    {
        QTest::addColumn<int>("jahr");
        QTest::addColumn<bool>("schalt");
        QTest::newRow("2012") << 2012 << true;
        QTest::newRow("2013") << 2013 << false;
        QTest::newRow("2000") << 2000 << true;
        QTest::newRow("1900") << 1900 << false;
        QTest::newRow("2100") << 2100 << false;
        QTest::newRow("12 als 2012") << 12 << true;
        QTest::newRow("13 als 2013") << 13 << false;
        QTest::newRow("0 als 2000") << 0 << true;
        QTest::newRow("99 als 2099") << 99 << false;
        QTest::newRow("100 wörtlich") << 100 << false;
        QTest::newRow("2400") << 2400 << true;
    }
    void schaltjahr()
    {
        QFETCH(int, jahr);
        QFETCH(bool, schalt);
        QCOMPARE(IsSchaltjahr(qint16(jahr)), schalt);
    }

    void tageImMonat_data()
    {
        QTest::addColumn<int>("jahr");
        QTest::addColumn<QList<int>>("tage");
        QTest::newRow("2012") << 2012 << QList<int>{31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
        QTest::newRow("2013") << 2013 << QList<int>{31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    }
    void tageImMonat()
    {
        QFETCH(int, jahr);
        QFETCH(QList<int>, tage);
        for (int k = 0; k < 12; ++k)
            QCOMPARE(fundbericht::tageImMonat(jahr, k), tage[k]);
    }

    void listen()
    {
        QCOMPARE(monatsnamen(), (QStringList{"Januar", "Februar", "März", "April", "Mai", "Juni", "Juli", "August",
                                             "September", "Oktober", "November", "Dezember"}));
        QCOMPARE(jahresliste(2026).size(), 27);
        QCOMPARE(jahresliste(2026).first(), QStringLiteral("2000"));
        QCOMPARE(jahresliste(2026).last(), QStringLiteral("2026"));
        // Never shorter than 2000 to 2020, whatever the clock says.
        for (const int heute : {1999, 2013, 2020, 2021}) {
            const QStringList jahre = jahresliste(heute);
            QCOMPARE(jahre.size(), std::max(heute, 2020) - 1999);
            QCOMPARE(jahre.first(), QStringLiteral("2000"));
            QCOMPARE(jahre.last(), QString::number(std::max(heute, 2020)));
        }
        QCOMPARE(tagEintrag(15), QStringLiteral("15."));
        QCOMPARE(datumText(QStringLiteral("15."), QStringLiteral("Juni"), QStringLiteral("2010")), QStringLiteral("15. Juni 2010"));
    }

    void datumLesen_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("tag"); // 0: not read
        QTest::addColumn<int>("monat");
        QTest::addColumn<int>("jahr");
        QTest::newRow("Juni") << "15. Juni 2010" << 15 << 5 << 2010;
        QTest::newRow("März") << "1. März 2024" << 1 << 2 << 2024;
        QTest::newRow("29. Februar Schaltjahr") << "29. Februar 2012" << 29 << 1 << 2012;
        QTest::newRow("führende Null") << "05. Mai 2021" << 5 << 4 << 2021;
        QTest::newRow("außerhalb der Liste") << "31. Dezember 1999" << 31 << 11 << 1999;
        QTest::newRow("29. Februar sonst") << "29. Februar 2013" << 0 << 0 << 0;
        QTest::newRow("31. April") << "31. April 2020" << 0 << 0 << 0;
        QTest::newRow("Tag 0") << "0. Mai 2020" << 0 << 0 << 0;
        QTest::newRow("Zahlenform") << "15.06.2010" << 0 << 0 << 0;
        QTest::newRow("englisch") << "15. June 2010" << 0 << 0 << 0;
        QTest::newRow("klein") << "15. juni 2010" << 0 << 0 << 0;
        QTest::newRow("Blank am Ende") << "15. Juni 2010 " << 0 << 0 << 0;
        QTest::newRow("zweistelliges Jahr") << "15. Juni 10" << 0 << 0 << 0;
        QTest::newRow("leer") << "" << 0 << 0 << 0;
    }
    void datumLesen()
    {
        QFETCH(QString, text);
        QFETCH(int, tag);
        QFETCH(int, monat);
        QFETCH(int, jahr);
        const auto d = fundbericht::datumLesen(text);
        QCOMPARE(d.has_value(), tag != 0);
        if (d) {
            QCOMPARE(d->tag, tag);
            QCOMPARE(d->monatIndex, monat);
            QCOMPARE(d->jahr, jahr);
        }
    }
};

QTEST_APPLESS_MAIN(TestFundbericht)
#include "test_fundbericht.moc"
