#include "settings/SettingsStore.h"

#include "platform/Dienste.h"
#include "platform/Zahlen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QVariant>

#include <cmath>
#include <iterator>

namespace {

const char* const tabelle = "Einstellungen";

struct Feld {
    const char* name;
    const char* typ;
};
// The twelve fields, in the order the record lists them.
const Feld felder[] = {
    {"laden", "TEXT"},         {"speichern", "TEXT"},      {"rahmen", "INTEGER"},      {"farbe", "INTEGER"},
    {"Format", "INTEGER"},     {"breite", "REAL"},         {"höhe", "REAL"},           {"kompression", "REAL"},
    {"fundortmeldung", "INTEGER"}, {"startmeldung", "INTEGER"}, {"dateiname", "TEXT"}, {"vorschlag", "INTEGER"},
};

QString spaltenListe()
{
    QStringList namen;
    for (const Feld& f : felder)
        namen << QStringLiteral("\"%1\"").arg(QString::fromUtf8(f.name));
    return namen.join(u", ");
}

QString text(const QVariant& wert) { return wert.isNull() ? QString() : wert.toString(); }

bool jaNein(const QVariant& wert)
{
    if (wert.isNull())
        return false;
    if (wert.typeId() == QMetaType::QString) {
        const QString t = wert.toString().trimmed().toLower();
        if (t == u"true" || t == u"wahr")
            return true;
        bool zahl = false;
        const double d = t.toDouble(&zahl);
        return zahl && d != 0;
    }
    return wert.toDouble() != 0;
}

// A number, or the field's default when the value is missing or no number.
double zahl(const QVariant& wert, double vorgabe)
{
    if (wert.isNull())
        return vorgabe;
    bool ok = false;
    const double d = wert.toDouble(&ok);
    return ok && std::isfinite(d) ? d : vorgabe;
}

// A number within [von, bis], or the field's default.
double zahlImBereich(const QVariant& wert, double von, double bis, double vorgabe)
{
    const double d = zahl(wert, vorgabe);
    return d >= von && d <= bis ? d : vorgabe;
}

// An index into a list of anzahl entries, or the field's default.
int index(const QVariant& wert, int anzahl, int vorgabe)
{
    const double d = zahl(wert, -1);
    if (d < -32768.5 || d > 32767.5)
        return vorgabe;
    const long long i = zahlen::RundeGerade(d);
    return i >= 0 && i < anzahl ? int(i) : vorgabe;
}

// SQLite's primary result code (the low byte of an extended one).
int primaerCode(const QString& code) { return code.toInt() & 0xFF; }

bool istBeschaedigt(const QSqlError& fehler)
{
    // SQLITE_CORRUPT (11) and SQLITE_NOTADB (26); a locked or unreadable file is not damaged.
    const int code = primaerCode(fehler.nativeErrorCode());
    return code == 11 || code == 26;
}

} // namespace

SettingsStore::SettingsStore(QObject* eltern, const QString& ordner)
    : QObject(eltern)
    , m_ordner(ordner.isEmpty() ? standardOrdner() : ordner)
    , m_verbindung(QStringLiteral("einstellungen-%1").arg(quintptr(this), 0, 16))
{
    setObjectName(QStringLiteral("Data1"));
}

SettingsStore::~SettingsStore() { schliessen(); }

QString SettingsStore::standardOrdner()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString SettingsStore::dateipfad() const { return QDir(m_ordner).filePath(QStringLiteral("set.db")); }

void SettingsStore::schliessen()
{
    if (QSqlDatabase::contains(m_verbindung)) {
        QSqlDatabase::database(m_verbindung, false).close();
        QSqlDatabase::removeDatabase(m_verbindung);
    }
}

void SettingsStore::oeffnen(QWidget* besitzer) { oeffnen(besitzer, true); }

bool SettingsStore::wiederLesen(QWidget* besitzer)
{
    oeffnen(besitzer, false);
    return !m_aufVorgaben;
}

void SettingsStore::oeffnen(QWidget* besitzer, bool fehlerMelden)
{
    schliessen();
    m_datensatz = SettingsRecord{};
    m_fehler.clear();
    m_fehlercode.clear();
    m_aufVorgaben = false;
    m_lesefehler.clear();
    QDir().mkpath(m_ordner);

    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_verbindung);
        db.setDatabaseName(dateipfad());
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    }

    switch (pruefen()) {
    case Zustand::Gut:
        break;
    case Zustand::Unerreichbar:
        aufVorgabenUmschalten(besitzer, fehlerMelden, unerreichbarGrund());
        return; // leave the file alone
    case Zustand::Beschaedigt: {
        schliessen();
        const QString beiseite = beiseiteLegen();
        if (beiseite.isEmpty()) {
            m_fehler = QStringLiteral("Die beschädigte Datei ließ sich nicht umbenennen.");
            aufVorgabenUmschalten(besitzer, fehlerMelden,
                                  QStringLiteral("Die Datei ist beschädigt und lässt sich nicht beiseitelegen."));
            return;
        }
        meldung(besitzer, QStringLiteral("Die Einstellungsdatei „%1“ ließ sich nicht lesen. Sie wurde unverändert als „%2“ "
                                         "aufbewahrt; Fotoschliff startet mit den Standardeinstellungen.")
                              .arg(QDir::toNativeSeparators(dateipfad()), QFileInfo(beiseite).fileName()),
                programmTitel(), Dienste::Symbol::Info);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_verbindung);
        db.setDatabaseName(dateipfad());
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        if (!db.open()) {
            m_fehler = db.lastError().text();
            m_fehlercode = db.lastError().nativeErrorCode();
            aufVorgabenUmschalten(besitzer, fehlerMelden, unerreichbarGrund());
            return;
        }
        break;
    }
    }

    if (!einrichten() || !lesen())
        aufVorgabenUmschalten(besitzer, fehlerMelden, unerreichbarGrund());
}

void SettingsStore::aufVorgabenUmschalten(QWidget* besitzer, bool melden, const QString& grund)
{
    m_datensatz = SettingsRecord{};
    m_aufVorgaben = true;
    m_lesefehler = grund;
    if (melden)
        meldung(besitzer,
                QStringLiteral("Die Einstellungen konnten nicht aus „%1“ gelesen werden. %2\r\n\r\n"
                               "Fotoschliff arbeitet jetzt mit den Standardeinstellungen. Ihre gespeicherten Einstellungen "
                               "bleiben unverändert; sie werden nicht überschrieben.")
                    .arg(QDir::toNativeSeparators(dateipfad()), grund),
                programmTitel(), Dienste::Symbol::Fehler);
}

QString SettingsStore::unerreichbarGrund() const
{
    const QFileInfo datei(dateipfad());
    if (datei.isDir())
        return QStringLiteral("An ihrer Stelle liegt ein Ordner.");
    const int code = primaerCode(m_fehlercode);
    if (code == 5 || code == 6) // SQLITE_BUSY, SQLITE_LOCKED
        return QStringLiteral("Die Datei wird gerade von einem anderen Programm benutzt.");
    const QFileInfo ordner(m_ordner);
    if (!ordner.isDir())
        return QStringLiteral("Der Ordner „%1“ lässt sich nicht anlegen.").arg(QDir::toNativeSeparators(m_ordner));
    if (!datei.exists() && !ordner.isWritable())
        return QStringLiteral("Der Ordner „%1“ ist nicht beschreibbar.").arg(QDir::toNativeSeparators(m_ordner));
    if (datei.exists() && !datei.isReadable())
        return QStringLiteral("Die Datei ist nicht lesbar.");
    return m_fehler.isEmpty() ? QStringLiteral("Die Datei lässt sich nicht öffnen.")
                              : QStringLiteral("Die Datei lässt sich nicht öffnen (%1).").arg(m_fehler);
}

SettingsStore::Zustand SettingsStore::pruefen()
{
    QSqlDatabase db = QSqlDatabase::database(m_verbindung, false);
    if (!db.open()) {
        m_fehler = db.lastError().text();
        m_fehlercode = db.lastError().nativeErrorCode();
        return istBeschaedigt(db.lastError()) ? Zustand::Beschaedigt : Zustand::Unerreichbar;
    }
    QSqlQuery abfrage(db);
    if (!abfrage.exec(QStringLiteral("PRAGMA quick_check"))) {
        m_fehler = abfrage.lastError().text();
        m_fehlercode = abfrage.lastError().nativeErrorCode();
        return istBeschaedigt(abfrage.lastError()) ? Zustand::Beschaedigt : Zustand::Unerreichbar;
    }
    if (abfrage.next() && abfrage.value(0).toString() != u"ok")
        return Zustand::Beschaedigt;
    return Zustand::Gut;
}

QString SettingsStore::beiseiteLegen()
{
    const QString pfad = dateipfad();
    QString ziel = pfad + QStringLiteral(".defekt");
    for (int n = 2; QFileInfo::exists(ziel); ++n)
        ziel = pfad + QStringLiteral(".defekt%1").arg(n);
    return QFile::rename(pfad, ziel) ? ziel : QString();
}

bool SettingsStore::einrichten()
{
    QSqlDatabase db = QSqlDatabase::database(m_verbindung, false);
    QSqlQuery abfrage(db);

    QStringList spalten;
    for (const Feld& f : felder)
        spalten << QStringLiteral("\"%1\" %2").arg(QString::fromUtf8(f.name), QString::fromLatin1(f.typ));
    if (!abfrage.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS \"%1\" (%2)").arg(QLatin1String(tabelle), spalten.join(u", ")))) {
        m_fehler = abfrage.lastError().text();
        m_fehlercode = abfrage.lastError().nativeErrorCode();
        // A read-only file may still hold a readable record.
        return db.tables().contains(QLatin1String(tabelle));
    }

    // A table from an older or foreign file may lack fields: add them empty, all in one
    // go. A file that cannot be written keeps its table as it is; lesen() reads what is there.
    const QSqlRecord vorhanden = db.record(QLatin1String(tabelle));
    QStringList fehlende;
    for (const Feld& f : felder)
        if (vorhanden.indexOf(QString::fromUtf8(f.name)) < 0)
            fehlende << QStringLiteral("ALTER TABLE \"%1\" ADD COLUMN \"%2\" %3")
                            .arg(QLatin1String(tabelle), QString::fromUtf8(f.name), QString::fromLatin1(f.typ));
    if (!fehlende.isEmpty() && db.transaction()) {
        bool ok = true;
        for (const QString& befehl : fehlende)
            ok = ok && abfrage.exec(befehl);
        if (!ok || !db.commit())
            db.rollback();
    }

    if (abfrage.exec(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(QLatin1String(tabelle))) && abfrage.next()
        && abfrage.value(0).toLongLong() == 0) {
        const SettingsRecord vorgabe;
        abfrage.prepare(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                            .arg(QLatin1String(tabelle), spaltenListe()));
        abfrage.addBindValue(vorgabe.laden);
        abfrage.addBindValue(vorgabe.speichern);
        abfrage.addBindValue(vorgabe.rahmen);
        abfrage.addBindValue(vorgabe.farbe);
        abfrage.addBindValue(vorgabe.Format);
        abfrage.addBindValue(vorgabe.breite);
        abfrage.addBindValue(vorgabe.höhe);
        abfrage.addBindValue(vorgabe.kompression);
        abfrage.addBindValue(vorgabe.fundortmeldung ? 1 : 0);
        abfrage.addBindValue(vorgabe.startmeldung ? 1 : 0);
        abfrage.addBindValue(vorgabe.dateiname);
        abfrage.addBindValue(vorgabe.vorschlag);
        if (!abfrage.exec())
            m_fehler = abfrage.lastError().text();
    }
    return true;
}

bool SettingsStore::lesen()
{
    QSqlDatabase db = QSqlDatabase::database(m_verbindung, false);
    // Only the fields the table has: SQLite would read a quoted name that is no
    // column as a text, so that "speichern" would be the save folder.
    const QSqlRecord vorhanden = db.record(QLatin1String(tabelle));
    if (vorhanden.isEmpty()) {
        m_fehler = db.lastError().text();
        m_fehlercode = db.lastError().nativeErrorCode();
        return false;
    }
    QStringList spalten{QStringLiteral("rowid")};
    int stelle[std::size(felder)];
    for (size_t i = 0; i < std::size(felder); ++i) {
        const QString name = QString::fromUtf8(felder[i].name);
        stelle[i] = vorhanden.indexOf(name) < 0 ? -1 : int(spalten.size());
        if (stelle[i] >= 0)
            spalten << QStringLiteral("\"%1\"").arg(name);
    }
    QSqlQuery abfrage(db);
    if (!abfrage.exec(QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY rowid LIMIT 1").arg(spalten.join(u", "), QLatin1String(tabelle)))) {
        m_fehler = abfrage.lastError().text();
        m_fehlercode = abfrage.lastError().nativeErrorCode();
        return false;
    }
    if (!abfrage.next())
        return true; // no row: nothing stored, the defaults hold
    // A missing field reads as Null.
    const auto wert = [&](int feld) { return stelle[feld] < 0 ? QVariant() : abfrage.value(stelle[feld]); };
    const SettingsRecord vorgabe;
    SettingsRecord d;
    d.laden = text(wert(0));
    d.speichern = text(wert(1));
    d.rahmen = index(wert(2), 6, vorgabe.rahmen);
    d.farbe = index(wert(3), 8, vorgabe.farbe);
    d.Format = index(wert(4), 7, vorgabe.Format);
    d.breite = zahlImBereich(wert(5), 1, 10000, vorgabe.breite);
    d.höhe = zahlImBereich(wert(6), 1, 10000, vorgabe.höhe);
    d.kompression = zahlImBereich(wert(7), 0, 100, vorgabe.kompression);
    d.fundortmeldung = jaNein(wert(8));
    d.startmeldung = jaNein(wert(9));
    d.dateiname = text(wert(10));
    d.vorschlag = index(wert(11), 3, vorgabe.vorschlag);
    m_datensatz = d;
    return true;
}

bool SettingsStore::schreiben(const SettingsRecord& neu)
{
    m_fehler.clear();
    if (m_aufVorgaben) {
        m_fehler = QStringLiteral("Die gespeicherten Einstellungen wurden nicht gelesen.");
        return false;
    }
    if (!QSqlDatabase::contains(m_verbindung)) {
        m_fehler = QStringLiteral("Die Einstellungsdatei ist nicht geöffnet.");
        return false;
    }
    QSqlDatabase db = QSqlDatabase::database(m_verbindung);
    if (!db.isOpen() || !db.transaction()) {
        m_fehler = db.lastError().text();
        return false;
    }

    QSqlQuery abfrage(db);
    QStringList zuweisungen;
    for (const Feld& f : felder)
        zuweisungen << QStringLiteral("\"%1\" = ?").arg(QString::fromUtf8(f.name));
    const auto binden = [&] {
        abfrage.addBindValue(neu.laden);
        abfrage.addBindValue(neu.speichern);
        abfrage.addBindValue(neu.rahmen);
        abfrage.addBindValue(neu.farbe);
        abfrage.addBindValue(neu.Format);
        abfrage.addBindValue(neu.breite);
        abfrage.addBindValue(neu.höhe);
        abfrage.addBindValue(neu.kompression);
        abfrage.addBindValue(neu.fundortmeldung ? 1 : 0);
        abfrage.addBindValue(neu.startmeldung ? 1 : 0);
        abfrage.addBindValue(neu.dateiname);
        abfrage.addBindValue(neu.vorschlag);
    };

    bool ok = abfrage.prepare(QStringLiteral("UPDATE \"%1\" SET %2 WHERE rowid = (SELECT min(rowid) FROM \"%1\")")
                                  .arg(QLatin1String(tabelle), zuweisungen.join(u", ")));
    if (ok) {
        binden();
        ok = abfrage.exec();
    }
    if (ok && abfrage.numRowsAffected() == 0) {
        ok = abfrage.prepare(QStringLiteral("INSERT INTO \"%1\" (%2) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
                                 .arg(QLatin1String(tabelle), spaltenListe()));
        if (ok) {
            binden();
            ok = abfrage.exec();
        }
    }
    if (!ok) {
        m_fehler = abfrage.lastError().text();
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        m_fehler = db.lastError().text();
        db.rollback();
        return false;
    }
    m_datensatz = neu;
    return true;
}
