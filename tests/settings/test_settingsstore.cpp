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

const char* const tabelleAlle =
    "CREATE TABLE Einstellungen (laden TEXT, speichern TEXT, rahmen INTEGER, farbe INTEGER, Format INTEGER, "
    "breite REAL, \"höhe\" REAL, kompression REAL, fundortmeldung INTEGER, startmeldung INTEGER, dateiname TEXT, "
    "vorschlag INTEGER)";

} // namespace

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
        QCOMPARE(d.höhe, 400.0);

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
        QCOMPARE(d.höhe, 900.0); // a stored value stays
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
        neu.höhe = 500;
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
};

QTEST_MAIN(TestSettingsStore)
#include "test_settingsstore.moc"
