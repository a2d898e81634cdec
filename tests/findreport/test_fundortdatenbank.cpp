#include "findreport/FundortDatenbank.h"

#include "Datenbankhilfe.h"
#include "Fundortdaten.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

namespace {

QStringList laender(FundortDatenbank& db)
{
    QStringList l;
    for (int i = 0; i < db.anzahl(); ++i)
        l << db.zeile(i).land + u'/' + db.zeile(i).bundesland + u'/' + db.zeile(i).stadt + u'/' + db.zeile(i).fundort;
    return l;
}

} // namespace

using namespace fundortdaten;

class TestFundortdatenbank : public QObject {
    Q_OBJECT

    QTemporaryDir m_ordner;

    QString pfad() const { return QDir(m_ordner.path()).filePath(QStringLiteral("data.db")); }

private slots:
    void init()
    {
        QDir(m_ordner.path()).removeRecursively();
        QDir().mkpath(m_ordner.path());
    }

    void leereTabelleUndEineZeile()
    {
        FundortDatenbank db(QStringLiteral("Data1"), nullptr, m_ordner.path());
        QVERIFY(db.oeffnen());
        QVERIFY(QFile::exists(pfad()));
        QVERIFY(db.allesLaden());
        QCOMPARE(db.anzahl(), 0);
        QVERIFY(!db.positionieren(0));
        QVERIFY(!db.aktuellLoeschen());
        QCOMPARE(db.laender(), QStringList());
        QCOMPARE(db.autoren(), QStringList());

        FindRecord neu = fund(QStringLiteral("Deutschland"), QStringLiteral("Bayern"), QStringLiteral("München"), QStringLiteral("Isarauen"));
        neu.fundortbeschreibung = QString();
        neu.datum = QStringLiteral("15. Juni 2010");
        QVERIFY(db.hinzufuegen(neu));
        QVERIFY(db.allesLaden());
        QCOMPARE(db.anzahl(), 1);
        QVERIFY(db.positionieren(0));
        QCOMPARE(db.aktuell(), neu);
        // An empty description is stored as an empty text, not as a missing value.
        {
            QSqlDatabase roh = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("typ"));
            roh.setDatabaseName(pfad());
            QVERIFY(roh.open());
            QSqlQuery q(roh);
            QVERIFY(q.exec(QStringLiteral("SELECT typeof(fundortbeschreibung), typeof(\"höhe\") FROM data")) && q.next());
            QCOMPARE(q.value(0).toString(), QStringLiteral("text"));
            QCOMPARE(q.value(1).toString(), QStringLiteral("text"));
        }
        QSqlDatabase::removeDatabase(QStringLiteral("typ"));
    }

    void deutscheOrdnungUndVerschiedeneWerte()
    {
        FundortDatenbank db(QStringLiteral("Data1"), nullptr, m_ordner.path());
        QVERIFY(db.oeffnen());
        const QList<FindRecord> zeilen = {
            fund("Schweiz", "Bern", "Thun", "Seeufer"),
            fund("österreich", "Tirol", "Rosenheim", "Moor", "100", "15. Juni 2010", "anna"),
            fund("Deutschland", "bayern", "Rosenheim", "Innufer", "100", "15. Juni 2010", "Anna"),
            fund("Österreich", "Tirol", "Innsbruck", "Alpenzoo", "100", "15. Juni 2010", "Zoë"),
            fund("deutschland", "Bayern", "Rosenheim", "Auwald", "100", "15. Juni 2010", "Émile"),
            fund("Osterreich", "X", "Y", "Z", "100", "15. Juni 2010", "ANNA"),
            fund("Deutschland", "Baden-Württemberg", "Freiburg", "Schauinsland", "100", "15. Juni 2010", "Bernd"),
            fund("Deutschland", "Bayern", "Rosenheim", "Innufer", "100", "15. Juni 2010", "Bernd"),
        };
        for (const FindRecord& z : zeilen)
            QVERIFY(db.hinzufuegen(z));
        QVERIFY(db.allesLaden());
        // Case does not count, umlauts sort among their base letters; equal keys keep the order stored.
        QCOMPARE(laender(db), (QStringList{
                                  "Deutschland/Baden-Württemberg/Freiburg/Schauinsland",
                                  "deutschland/Bayern/Rosenheim/Auwald",
                                  "Deutschland/bayern/Rosenheim/Innufer",
                                  "Deutschland/Bayern/Rosenheim/Innufer",
                                  "Osterreich/X/Y/Z",
                                  "Österreich/Tirol/Innsbruck/Alpenzoo",
                                  "österreich/Tirol/Rosenheim/Moor",
                                  "Schweiz/Bern/Thun/Seeufer",
                              }));
        // Each value once, the first stored spelling, in German order.
        QCOMPARE(*db.laender(), (QStringList{"Deutschland", "Osterreich", "österreich", "Schweiz"}));
        QCOMPARE(*db.autoren(), (QStringList{"anna", "Bernd", "Émile", "N. N.", "Zoë"}));
        // Filters compare without regard to case, also for umlauts, and look one level up only.
        QCOMPARE(*db.bundeslaender(QStringLiteral("ÖSTERREICH")), QStringList{"Tirol"});
        QCOMPARE(*db.bundeslaender(QStringLiteral("deutschland")), (QStringList{"Baden-Württemberg", "bayern"}));
        QCOMPARE(*db.bundeslaender(QStringLiteral("Deutsch")), QStringList());
        QCOMPARE(*db.staedte(QStringLiteral("BAYERN")), QStringList{"Rosenheim"});
        QCOMPARE(*db.staedte(QStringLiteral("Tirol")), (QStringList{"Innsbruck", "Rosenheim"}));
        // The same town in two states shares its sites.
        QCOMPARE(*db.fundorte(QStringLiteral("rosenheim")), (QStringList{"Auwald", "Innufer", "Moor"}));
    }

    // Rows with equal keys (country, state, town, site, whatever their case) keep the order they were stored in.
    void gleicheSchluesselBleibenInDerReihenfolge()
    {
        FundortDatenbank db(QStringLiteral("Data1"), nullptr, m_ordner.path());
        QVERIFY(db.oeffnen());
        const QStringList laender = {"Deutschland", "Österreich", "deutschland", "DEUTSCHLAND"};
        for (int i = 0; i < 120; ++i)
            QVERIFY(db.hinzufuegen(fund(laender[i % 4], i % 3 ? "Bayern" : "bayern", "München", "Isarauen", QString::number(i))));
        QVERIFY(db.allesLaden());
        QList<int> nummern;
        for (int i = 0; i < db.anzahl(); ++i)
            nummern << db.zeile(i).hoehe.toInt();
        QList<int> erwartet;
        for (int rest : {0, 2, 3}) // the German rows first, in the order stored, then the Austrian ones
            for (int i = rest; i < 120; i += 4)
                erwartet << i;
        std::sort(erwartet.begin(), erwartet.end());
        for (int i = 1; i < 120; i += 4)
            erwartet << i;
        QCOMPARE(nummern, erwartet);
    }

    void apostropheUndMusterzeichen_data()
    {
        QTest::addColumn<QString>("wert");
        QTest::addColumn<QString>("aehnlich"); // stored beside it; must not match
        QTest::newRow("Val d'Aosta") << "Val d'Aosta" << "Val dxAosta";
        QTest::newRow("L'Aquila") << "L'Aquila" << "L''Aquila";
        QTest::newRow("Côte-d'Or") << "Côte-d'Or" << "Cote-d'Or";
        QTest::newRow("Monte d'Accoddi") << "Monte d'Accoddi" << "Monte d Accoddi";
        QTest::newRow("Prozent") << "50%" << "500";
        QTest::newRow("Unterstrich") << "Ort_1" << "Ort21";
        QTest::newRow("Stern") << "Nord*" << "Nordhang";
        QTest::newRow("Fragezeichen") << "Hang?" << "Hangx";
        QTest::newRow("Nummer") << "Feld #" << "Feld 7";
        QTest::newRow("Klammer") << "[Ufer]" << "U";
        QTest::newRow("Backslash") << "a\\b" << "ab";
    }
    void apostropheUndMusterzeichen()
    {
        QFETCH(QString, wert);
        QFETCH(QString, aehnlich);
        FundortDatenbank db(QStringLiteral("Data1"), nullptr, m_ordner.path());
        QVERIFY(db.oeffnen());
        QVERIFY(db.hinzufuegen(fund(wert, wert, wert, wert + QStringLiteral(" Fundort"), "100", "15. Juni 2010", wert)));
        QVERIFY(db.hinzufuegen(fund(aehnlich, aehnlich, aehnlich, aehnlich + QStringLiteral(" Fundort"), "100", "15. Juni 2010", aehnlich)));
        QVERIFY(db.allesLaden());
        QCOMPARE(db.anzahl(), 2);
        QStringList gelesen;
        for (int i = 0; i < 2; ++i)
            gelesen << db.zeile(i).land << db.zeile(i).autor;
        QVERIFY(gelesen.contains(wert));
        QCOMPARE(*db.bundeslaender(wert), QStringList{wert});
        QCOMPARE(*db.staedte(wert), QStringList{wert});
        QCOMPARE(*db.fundorte(wert), QStringList{wert + QStringLiteral(" Fundort")});
        QVERIFY(db.laender()->contains(wert));
    }

    void loeschtDieAktuelleZeile()
    {
        FundortDatenbank db(QStringLiteral("Data1"), nullptr, m_ordner.path());
        QVERIFY(db.oeffnen());
        const FindRecord a = fund("A", "B", "C", "D");
        QVERIFY(db.hinzufuegen(a));
        QVERIFY(db.hinzufuegen(a));
        QVERIFY(db.hinzufuegen(fund("B", "B", "C", "D")));
        QVERIFY(db.allesLaden());
        QVERIFY(db.positionieren(1));
        QVERIFY(db.aktuellLoeschen());
        QVERIFY(db.allesLaden());
        QCOMPARE(laender(db), (QStringList{"A/B/C/D", "B/B/C/D"}));
        QVERIFY(db.positionieren(1));
        QVERIFY(db.aktuellLoeschen());
        QVERIFY(db.allesLaden());
        QCOMPARE(laender(db), QStringList{"A/B/C/D"});
    }

    void fremdeTabellen()
    {
        // Names in other case, a missing field, missing values and numbers: read as text, never as failure.
        QVERIFY(datenbankhilfe::roh(pfad(), {QStringLiteral("CREATE TABLE data (Land TEXT, Bundesland TEXT, STADT TEXT, fundort TEXT, "
                                            "fundortbeschreibung TEXT, \"höhe\" NUMERIC, datum TEXT, bildart TEXT)"),
                             QStringLiteral("INSERT INTO data VALUES ('Schweiz', NULL, 'Bern', 'Aare', NULL, 512, "
                                            "'1. März 2024', 'Foto')")}));
        FundortDatenbank db(QStringLiteral("Data1"), nullptr, m_ordner.path());
        QVERIFY(db.oeffnen());
        QVERIFY(db.allesLaden());
        QCOMPARE(db.anzahl(), 1);
        const FindRecord r = db.zeile(0);
        QCOMPARE(r.land, QStringLiteral("Schweiz"));
        QCOMPARE(r.bundesland, QString());
        QCOMPARE(r.stadt, QStringLiteral("Bern"));
        QCOMPARE(r.hoehe, QStringLiteral("512"));
        QCOMPARE(r.autor, QString());
        // The missing field was added, so a new row keeps its author.
        QVERIFY(db.hinzufuegen(fund("Schweiz", "Bern", "Bern", "Aare", "100", "15. Juni 2010", "Urs")));
        QVERIFY(db.allesLaden());
        QCOMPARE(*db.autoren(), (QStringList{"", "Urs"}));
    }

    void beschaedigteDateiWirdAufbewahrt()
    {
        const QByteArray muell = QByteArray("Dies ist keine Datenbank, sondern eine Notiz.\n").repeated(200);
        for (const QString& beiseite : {QStringLiteral("data.db.defekt"), QStringLiteral("data.db.defekt2")}) {
            QFile f(pfad());
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(muell);
            f.close();
            FundortDatenbank db(QStringLiteral("Data2"), nullptr, m_ordner.path());
            QVERIFY(db.oeffnen());
            QCOMPARE(QFileInfo(db.beiseitegelegt()).fileName(), beiseite);
            QVERIFY(db.allesLaden());
            QCOMPARE(db.anzahl(), 0);
            QVERIFY(db.hinzufuegen(fund("A", "B", "C", "D")));
            QFile alt(QDir(m_ordner.path()).filePath(beiseite));
            QVERIFY(alt.open(QIODevice::ReadOnly));
            QCOMPARE(alt.readAll(), muell);
        }
    }

    void gesperrteDateiVerliertNichts()
    {
        FundortDatenbank db(QStringLiteral("Data1"), nullptr, m_ordner.path());
        QVERIFY(db.oeffnen());
        QVERIFY(db.hinzufuegen(fund("A", "B", "C", "D")));
        {
            QSqlDatabase sperre = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("sperre"));
            sperre.setDatabaseName(pfad());
            QVERIFY(sperre.open());
            QVERIFY(QSqlQuery(sperre).exec(QStringLiteral("BEGIN EXCLUSIVE")));
            QVERIFY(!db.hinzufuegen(fund("E", "F", "G", "H")));
            QCOMPARE(db.letzterFehler(), QStringLiteral("Die Datei wird gerade von einem anderen Programm benutzt."));
            QVERIFY(!db.allesLaden());
            QVERIFY(QSqlQuery(sperre).exec(QStringLiteral("ROLLBACK")));
            sperre.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("sperre"));
        QVERIFY(db.allesLaden());
        QCOMPARE(laender(db), QStringList{"A/B/C/D"});
    }

    // A store that cannot be opened refuses every operation with the reason it had, and crashes nowhere.
    void nichtGeoeffnet_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<QString>("grund");
        QTest::newRow("Ordner statt Datei") << "ordner" << "An ihrer Stelle liegt ein Ordner.";
        QTest::newRow("gesperrt") << "gesperrt" << "Die Datei wird gerade von einem anderen Programm benutzt.";
    }
    void nichtGeoeffnet()
    {
        QFETCH(QString, fall);
        QFETCH(QString, grund);
        if (fall == u"ordner")
            QVERIFY(QDir().mkpath(pfad()));
        else
            QVERIFY(datenbankhilfe::roh(pfad(), {QStringLiteral("CREATE TABLE data (land TEXT)")}));
        datenbankhilfe::Sperre sperre(fall == u"gesperrt" ? pfad() : QString());
        FundortDatenbank db(QStringLiteral("Data1"), nullptr, m_ordner.path());
        QVERIFY(!db.oeffnen());
        QVERIFY(!db.offen());
        sperre.freigeben();
        QCOMPARE(db.letzterFehler(), grund);
        QVERIFY(!db.allesLaden());
        QCOMPARE(db.anzahl(), 0);
        QVERIFY(!db.positionieren(0));
        for (const auto& liste : {db.laender(), db.bundeslaender(QStringLiteral("A")), db.staedte(QStringLiteral("A")),
                                  db.fundorte(QStringLiteral("A")), db.autoren()})
            QVERIFY(!liste);
        QVERIFY(!db.hinzufuegen(fund("A", "B", "C", "D")));
        QVERIFY(!db.aktuellLoeschen());
        QCOMPARE(db.letzterFehler(), grund);
        QCOMPARE(QFileInfo(pfad()).isDir(), fall == u"ordner");
    }
};

QTEST_MAIN(TestFundortdatenbank)
#include "test_fundortdatenbank.moc"
