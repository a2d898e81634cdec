#include "settings/SettingsStore.h"

#include "TestDienste.h"

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// Opens set.db in a folder directly, bypassing the store, to set up or inspect a file.
class Direkt {
public:
    explicit Direkt(const QString& ordner)
        : m_name(QStringLiteral("direkt-%1").arg(++zaehler))
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(QDir(ordner).filePath(QStringLiteral("set.db")));
        db.open();
    }
    ~Direkt() { QSqlDatabase::removeDatabase(m_name); }
    QSqlQuery abfrage() const { return QSqlQuery(QSqlDatabase::database(m_name)); }
    void exec(const QString& sql) const
    {
        QSqlQuery q = abfrage();
        QVERIFY2(q.exec(sql), qPrintable(q.lastError().text() + QStringLiteral(" in ") + sql));
    }
    QVariant wert(const QString& feld) const
    {
        QSqlQuery q = abfrage();
        q.exec(QStringLiteral("SELECT \"%1\" FROM Einstellungen ORDER BY rowid LIMIT 1").arg(feld));
        return q.next() ? q.value(0) : QVariant();
    }
    int zeilen() const
    {
        QSqlQuery q = abfrage();
        q.exec(QStringLiteral("SELECT count(*) FROM Einstellungen"));
        return q.next() ? q.value(0).toInt() : -1;
    }

private:
    static inline int zaehler = 0;
    QString m_name;
};

// Every field in a line, so that a failed comparison shows which one differs.
QString beschreibung(const SettingsRecord& d)
{
    return QStringLiteral("laden=%1 speichern=%2 rahmen=%3 farbe=%4 Format=%5 breite=%6 höhe=%7 kompression=%8 "
                          "fundortmeldung=%9 startmeldung=%10 dateiname=%11 vorschlag=%12")
        .arg(d.laden, d.speichern)
        .arg(d.rahmen)
        .arg(d.farbe)
        .arg(d.Format)
        .arg(d.breite)
        .arg(d.hoehe)
        .arg(d.kompression)
        .arg(d.fundortmeldung)
        .arg(d.startmeldung)
        .arg(d.dateiname)
        .arg(d.vorschlag);
}

SettingsRecord datensatz(const QString& laden, const QString& speichern, int rahmen, int farbe, int format, double breite,
                         double hoehe, double kompression, bool fundort, bool start, const QString& dateiname, int vorschlag)
{
    SettingsRecord d;
    d.laden = laden;
    d.speichern = speichern;
    d.rahmen = rahmen;
    d.farbe = farbe;
    d.Format = format;
    d.breite = breite;
    d.hoehe = hoehe;
    d.kompression = kompression;
    d.fundortmeldung = fundort;
    d.startmeldung = start;
    d.dateiname = dateiname;
    d.vorschlag = vorschlag;
    return d;
}

const char* const tabelleAlle =
    "CREATE TABLE Einstellungen (laden TEXT, speichern TEXT, rahmen INTEGER, farbe INTEGER, Format INTEGER, "
    "breite REAL, \"höhe\" REAL, kompression REAL, fundortmeldung INTEGER, startmeldung INTEGER, dateiname TEXT, "
    "vorschlag INTEGER)";

} // namespace

Q_DECLARE_METATYPE(SettingsRecord)

class TestSettingsStore : public QObject {
    Q_OBJECT
private slots:
    void ersterStartLegtDateiMitVorgabenAn()
    {
        QTemporaryDir ordner;
        TestDienste dienste;
        SettingsStore store(nullptr, ordner.path());
        store.oeffnen();
        QVERIFY(QFile::exists(ordner.filePath(QStringLiteral("set.db"))));
        QVERIFY(dienste.meldungen.isEmpty());

        const SettingsRecord& d = store.datensatz();
        QCOMPARE(d.rahmen, 0);
        QCOMPARE(d.Format, 4);
        QCOMPARE(d.farbe, 0);
        QCOMPARE(d.kompression, 92.0);
        QCOMPARE(d.fundortmeldung, true);
        QCOMPARE(d.startmeldung, true);
        QCOMPARE(d.laden, QString());
        QCOMPARE(d.speichern, QString());
        QCOMPARE(d.dateiname, QStringLiteral("_web"));
        QCOMPARE(d.vorschlag, 2);
        QCOMPARE(d.breite, 600.0);
        QCOMPARE(d.hoehe, 400.0);

        // The file itself holds the twelve fields, in one row.
        Direkt db(ordner.path());
        QCOMPARE(db.zeilen(), 1);
        QCOMPARE(db.wert(QStringLiteral("kompression")).toDouble(), 92.0);
        QCOMPARE(db.wert(QStringLiteral("höhe")).toDouble(), 400.0);
        QCOMPARE(db.wert(QStringLiteral("dateiname")).toString(), QStringLiteral("_web"));
        QCOMPARE(db.wert(QStringLiteral("startmeldung")).toInt(), 1);
        QCOMPARE(QSqlDatabase::database(QStringLiteral("direkt-1")).record(QStringLiteral("Einstellungen")).count(), 12);
    }

    void fehlendeZeileUndFelderWerdenErgaenzt()
    {
        QTemporaryDir ordner;
        {
            Direkt db(ordner.path());
            db.exec(QStringLiteral("CREATE TABLE Einstellungen (laden TEXT, rahmen INTEGER)"));
        }
        TestDienste dienste;
        SettingsStore store(nullptr, ordner.path());
        store.oeffnen();
        QCOMPARE(store.datensatz(), SettingsRecord{});
        Direkt db(ordner.path());
        QCOMPARE(db.zeilen(), 1);
        QCOMPARE(db.wert(QStringLiteral("vorschlag")).toInt(), 2);
        QVERIFY(dienste.meldungen.isEmpty());
    }

    void nullUndUngueltigesFallenFeldweiseZurueck()
    {
        QTemporaryDir ordner;
        {
            Direkt db(ordner.path());
            db.exec(QString::fromUtf8(tabelleAlle));
            db.exec(QStringLiteral("INSERT INTO Einstellungen VALUES (NULL, 'D:\\Bilder', 9, -1, NULL, NULL, 900, NULL, "
                                   "NULL, NULL, NULL, 7)"));
        }
        SettingsStore store(nullptr, ordner.path());
        store.oeffnen();
        const SettingsRecord& d = store.datensatz();
        QCOMPARE(d.laden, QString());
        QCOMPARE(d.speichern, QStringLiteral("D:\\Bilder"));
        QCOMPARE(d.rahmen, 0);  // index 9 has no entry
        QCOMPARE(d.farbe, 0);   // -1 neither
        QCOMPARE(d.Format, 4);  // Null
        QCOMPARE(d.breite, 600.0);
        QCOMPARE(d.hoehe, 900.0); // a stored value stays
        QCOMPARE(d.kompression, 92.0);
        QCOMPARE(d.fundortmeldung, false); // Null is not True
        QCOMPARE(d.startmeldung, false);
        QCOMPARE(d.dateiname, QString());
        QCOMPARE(d.vorschlag, 2);
    }

    void gespeicherteWerteWerdenGelesen()
    {
        QTemporaryDir ordner;
        {
            Direkt db(ordner.path());
            db.exec(QString::fromUtf8(tabelleAlle));
            db.exec(QStringLiteral("INSERT INTO Einstellungen VALUES ('/home/a', '/home/b', 5, 7, 0, 750, 500, 92.5, 0, 1, "
                                   "'_lf', 1)"));
            db.exec(QStringLiteral("INSERT INTO Einstellungen VALUES ('zweite', 'Zeile', 1, 1, 1, 1, 1, 1, 1, 1, '', 0)"));
        }
        SettingsStore store(nullptr, ordner.path());
        store.oeffnen();
        const SettingsRecord& d = store.datensatz();
        QCOMPARE(d.laden, QStringLiteral("/home/a"));
        QCOMPARE(d.rahmen, 5);
        QCOMPARE(d.farbe, 7);
        QCOMPARE(d.Format, 0);
        QCOMPARE(d.breite, 750.0);
        QCOMPARE(d.kompression, 92.5);
        QCOMPARE(d.fundortmeldung, false);
        QCOMPARE(d.startmeldung, true);
        QCOMPARE(d.dateiname, QStringLiteral("_lf"));
        QCOMPARE(d.vorschlag, 1);
    }

    void beschaedigteDateiWirdBeiseiteGelegt()
    {
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("set.db"));
        const QByteArray muell = QByteArray("Das ist keine Datenbank, sondern ein Einkaufszettel.\n").repeated(200);
        {
            QFile f(pfad);
            QVERIFY(f.open(QIODevice::WriteOnly));
            f.write(muell);
        }
        TestDienste dienste;
        {
            SettingsStore store(nullptr, ordner.path());
            store.oeffnen();
            QCOMPARE(dienste.meldungen.size(), 1);
            QVERIFY(dienste.meldungen[0].text.contains(QStringLiteral("set.db.defekt")));
            QCOMPARE(dienste.meldungen[0].titel, QStringLiteral("Fotoschliff"));
            QCOMPARE(store.datensatz(), SettingsRecord{});
        }
        QFile aufbewahrt(pfad + QStringLiteral(".defekt"));
        QVERIFY(aufbewahrt.open(QIODevice::ReadOnly));
        QCOMPARE(aufbewahrt.readAll(), muell);
        QCOMPARE(Direkt(ordner.path()).zeilen(), 1); // a fresh file with the defaults

        // A second damaged file does not replace the first one kept aside.
        {
            QFile f(pfad);
            QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
            f.write(QByteArray(4096, 'x'));
        }
        SettingsStore zweiter(nullptr, ordner.path());
        zweiter.oeffnen();
        QCOMPARE(dienste.meldungen.size(), 2);
        QCOMPARE(QFileInfo(pfad + QStringLiteral(".defekt2")).size(), qint64(4096));
        QCOMPARE(QFileInfo(pfad + QStringLiteral(".defekt")).size(), qint64(muell.size()));
    }

    void schreibenUndWiederLesen()
    {
        QTemporaryDir ordner;
        SettingsStore store(nullptr, ordner.path());
        store.oeffnen();
        SettingsRecord neu;
        neu.laden = QStringLiteral("/srv/fotos");
        neu.speichern = QStringLiteral("/srv/web");
        neu.rahmen = 1;
        neu.farbe = 3;
        neu.Format = 0;
        neu.breite = 750;
        neu.hoehe = 500;
        neu.kompression = 85;
        neu.fundortmeldung = false;
        neu.startmeldung = false;
        neu.dateiname = QStringLiteral("_lf");
        neu.vorschlag = 0;
        QVERIFY(store.schreiben(neu));
        QCOMPARE(store.datensatz(), neu);

        SettingsStore zweiter(nullptr, ordner.path());
        zweiter.oeffnen();
        QCOMPARE(zweiter.datensatz(), neu);
        QCOMPARE(Direkt(ordner.path()).zeilen(), 1);
    }

    void gesperrteDateiSchreibtNichtsUndMeldetFehlschlag()
    {
        QTemporaryDir ordner;
        SettingsStore store(nullptr, ordner.path());
        store.oeffnen();
        const SettingsRecord vorher = store.datensatz();

        Direkt sperre(ordner.path());
        sperre.exec(QStringLiteral("BEGIN EXCLUSIVE"));
        SettingsRecord neu = vorher;
        neu.kompression = 70;
        neu.rahmen = 3;
        QVERIFY(!store.schreiben(neu));
        QVERIFY(!store.letzterFehler().isEmpty());
        QCOMPARE(store.datensatz(), vorher);
        sperre.exec(QStringLiteral("ROLLBACK"));

        SettingsStore leser(nullptr, ordner.path());
        leser.oeffnen();
        QCOMPARE(leser.datensatz(), vorher);
        // Once the lock is gone, writing works again.
        QVERIFY(store.schreiben(neu));
    }

    // Every way a settings file can be damaged or out of reach. A record that cannot be
    // read leaves the store on the defaults, says so once, and is never written over;
    // one that can be read is taken field by field, each field that is missing, Null or
    // out of its range falling back to its default.
    void beschaedigteDateien_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<QString>("tabelle"); // CREATE TABLE, or "" for all twelve fields
        QTest::addColumn<QString>("werte");   // the row as SQL
        QTest::addColumn<SettingsRecord>("erwartet");
        QTest::addColumn<bool>("aufVorgaben");
        QTest::addColumn<QString>("meldung"); // a part of the one message, or "" for none

        const QString nutzer = QStringLiteral("'/fotos', '/web', 3, 2, 0, 750, 1000, 80, 0, 0, '_lf', 1");
        const SettingsRecord vorgabe;
        const QString alt = QStringLiteral("CREATE TABLE Einstellungen (laden TEXT, rahmen INTEGER, kompression REAL)");
        const SettingsRecord teilweise = datensatz(QStringLiteral("/fotos"), {}, 3, 0, 4, 600, 400, 85, false, false, {}, 2);
        QTest::newRow("von einem anderen Programm gesperrt") << "gesperrt" << "" << nutzer << vorgabe << true
                                                             << "Die Datei wird gerade von einem anderen Programm benutzt.";
        QTest::newRow("ein Ordner statt der Datei") << "ordner" << "" << "" << vorgabe << true << "An ihrer Stelle liegt ein Ordner.";
        QTest::newRow("Ordner nicht anlegbar") << "unanlegbar" << "" << "" << vorgabe << true << "lässt sich nicht anlegen.";
        QTest::newRow("keine Datenbank") << "muell" << "" << "" << vorgabe << false << "aufbewahrt";
        QTest::newRow("Felder fehlen, Datei schreibgeschützt") << "schreibgeschuetzt" << alt << "'/fotos', 3, 85" << teilweise
                                                               << false << "";
        QTest::newRow("Felder fehlen, Datei gerade gelesen") << "lesesperre" << alt << "'/fotos', 3, 85" << teilweise << false << "";
        QTest::newRow("Zahlen riesig oder negativ")
            << "" << "" << "'/a', '/b', 1, 1, 0, 1e308, -5, 1e308, 1, 1, 'x', 0"
            << datensatz("/a", "/b", 1, 1, 0, 600, 400, 92, true, true, "x", 0) << false << "";
        QTest::newRow("Qualität negativ, Breite 0, Höhe zu groß")
            << "" << "" << "NULL, NULL, 0, 0, 0, 0, 10001, -7, 1, 1, '', 2"
            << datensatz({}, {}, 0, 0, 0, 0, 400, 92, true, true, {}, 2) << false << "";
        QTest::newRow("Grenzwerte gelten")
            << "" << "" << "NULL, NULL, 0, 0, 0, 10000, 1, 0, 1, 1, '', 2"
            << datensatz({}, {}, 0, 0, 0, 10000, 1, 0, true, true, {}, 2) << false << "";
        QTest::newRow("Qualität 100,5 und als Text")
            << "" << "" << "NULL, NULL, 0, 0, 0, 'breit', 'hoch', 100.5, 1, 1, '', 2"
            << datensatz({}, {}, 0, 0, 0, 600, 400, 92, true, true, {}, 2) << false << "";
    }
    void beschaedigteDateien()
    {
        QFETCH(QString, fall);
        QFETCH(QString, tabelle);
        QFETCH(QString, werte);
        QFETCH(SettingsRecord, erwartet);
        QFETCH(bool, aufVorgaben);
        QFETCH(QString, meldung);

        QTemporaryDir tmp;
        QString ordner = tmp.path();
        const QString pfad = tmp.filePath(QStringLiteral("set.db"));
        if (!werte.isEmpty()) {
            Direkt db(ordner);
            db.exec(tabelle.isEmpty() ? QString::fromUtf8(tabelleAlle) : tabelle);
            db.exec(QStringLiteral("INSERT INTO Einstellungen VALUES (%1)").arg(werte));
        }
        if (fall == u"ordner") {
            QVERIFY(QDir().mkdir(pfad));
        } else if (fall == u"unanlegbar") {
            QFile datei(tmp.filePath(QStringLiteral("datei")));
            QVERIFY(datei.open(QIODevice::WriteOnly));
            ordner = tmp.filePath(QStringLiteral("datei/unter"));
        } else if (fall == u"muell") {
            QFile datei(pfad);
            QVERIFY(datei.open(QIODevice::WriteOnly));
            datei.write(QByteArray(3000, 'x'));
        } else if (fall == u"schreibgeschuetzt") {
            QVERIFY(QFile::setPermissions(pfad, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        }
        const QByteArray inhaltVorher = [&] {
            QFile f(pfad);
            return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
        }();

        // Another program holds the file: locked for everything, or reading it right now.
        std::unique_ptr<Direkt> anderes;
        if (fall == u"gesperrt" || fall == u"lesesperre") {
            anderes = std::make_unique<Direkt>(ordner);
            anderes->exec(QStringLiteral("BEGIN EXCLUSIVE"));
            if (fall == u"lesesperre") {
                anderes->exec(QStringLiteral("ROLLBACK"));
                anderes->exec(QStringLiteral("BEGIN"));
                anderes->exec(QStringLiteral("SELECT count(*) FROM Einstellungen"));
            }
        }

        TestDienste dienste;
        SettingsStore store(nullptr, ordner);
        store.oeffnen();
        QCOMPARE(beschreibung(store.datensatz()), beschreibung(erwartet));
        QCOMPARE(store.aufVorgaben(), aufVorgaben);
        if (meldung.isEmpty()) {
            QCOMPARE(dienste.meldungen.size(), 0);
        } else {
            QCOMPARE(dienste.meldungen.size(), 1);
            QVERIFY2(dienste.meldungen[0].text.contains(meldung), qPrintable(dienste.meldungen[0].text));
        }
        if (!aufVorgaben)
            return;
        QVERIFY(dienste.meldungen[0].text.startsWith(
            QStringLiteral("Die Einstellungen konnten nicht aus „%1“ gelesen werden.").arg(QDir(ordner).filePath(QStringLiteral("set.db")))));
        QVERIFY(dienste.meldungen[0].text.endsWith(
            QStringLiteral("Fotoschliff arbeitet jetzt mit den Standardeinstellungen. Ihre gespeicherten Einstellungen bleiben "
                           "unverändert; sie werden nicht überschrieben.")));
        QCOMPARE(dienste.meldungen[0].symbol, Dienste::Symbol::Fehler);

        // Once the other program lets go, the defaults still do not go over the stored record.
        anderes.reset();
        SettingsRecord neu;
        neu.kompression = 70;
        QVERIFY(!store.schreiben(neu));
        QFile f(pfad);
        QCOMPARE(f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray(), inhaltVorher);
        if (fall == u"gesperrt") {
            QVERIFY(store.wiederLesen());
            QCOMPARE(beschreibung(store.datensatz()), beschreibung(datensatz("/fotos", "/web", 3, 2, 0, 750, 1000, 80, false, false, "_lf", 1)));
            QVERIFY(store.schreiben(neu)); // read now, so it may be written
        }
        QCOMPARE(dienste.meldungen.size(), 1);
    }
};

QTEST_MAIN(TestSettingsStore)
#include "test_settingsstore.moc"
