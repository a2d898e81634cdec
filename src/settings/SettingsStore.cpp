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

// An index into a list of anzahl entries, or the field's default.
int index(const QVariant& wert, int anzahl, int vorgabe)
{
    const double d = zahl(wert, -1);
    if (d < -32768.5 || d > 32767.5)
        return vorgabe;
    const long long i = zahlen::RundeGerade(d);
    return i >= 0 && i < anzahl ? int(i) : vorgabe;
}

bool istBeschaedigt(const QSqlError& fehler)
{
    // SQLITE_CORRUPT (11) and SQLITE_NOTADB (26); a locked or unreadable file is not damaged.
    const QString code = fehler.nativeErrorCode();
    return code == u"11" || code == u"26";
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

void SettingsStore::oeffnen(QWidget* besitzer)
{
    schliessen();
    m_datensatz = SettingsRecord{};
    m_fehler.clear();
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
        return; // run with the defaults, leave the file alone
    case Zustand::Beschaedigt: {
        schliessen();
        const QString beiseite = beiseiteLegen();
        if (beiseite.isEmpty()) {
            m_fehler = QStringLiteral("Die beschädigte Datei ließ sich nicht umbenennen.");
            return;
        }
        meldung(besitzer, QStringLiteral("Die Einstellungsdatei „%1“ ließ sich nicht lesen. Sie wurde unverändert als „%2“ "
                                         "aufbewahrt; Fotoschliff startet mit den Standardeinstellungen.")
                              .arg(QDir::toNativeSeparators(dateipfad()), QFileInfo(beiseite).fileName()),
                programmTitel(), Dienste::Symbol::Info);
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_verbindung);
        db.setDatabaseName(dateipfad());
        db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
        if (!db.open())
            return;
        break;
    }
    }

    if (einrichten())
        lesen();
}

SettingsStore::Zustand SettingsStore::pruefen()
{
    QSqlDatabase db = QSqlDatabase::database(m_verbindung, false);
    if (!db.open()) {
        m_fehler = db.lastError().text();
        return istBeschaedigt(db.lastError()) ? Zustand::Beschaedigt : Zustand::Unerreichbar;
    }
    QSqlQuery abfrage(db);
    if (!abfrage.exec(QStringLiteral("PRAGMA quick_check"))) {
        m_fehler = abfrage.lastError().text();
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
        // A read-only file may still hold a readable record.
        return db.tables().contains(QLatin1String(tabelle));
    }

    // A table from an older or foreign file may lack fields: add them empty.
    const QSqlRecord vorhanden = db.record(QLatin1String(tabelle));
    for (const Feld& f : felder) {
        const QString name = QString::fromUtf8(f.name);
        if (vorhanden.indexOf(name) < 0)
            abfrage.exec(QStringLiteral("ALTER TABLE \"%1\" ADD COLUMN \"%2\" %3").arg(QLatin1String(tabelle), name, QString::fromLatin1(f.typ)));
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
    QSqlQuery abfrage(db);
    if (!abfrage.exec(QStringLiteral("SELECT %1 FROM \"%2\" ORDER BY rowid LIMIT 1").arg(spaltenListe(), QLatin1String(tabelle)))
        || !abfrage.next()) {
        m_fehler = abfrage.lastError().text();
        return false;
    }
    const SettingsRecord vorgabe;
    SettingsRecord d;
    d.laden = text(abfrage.value(0));
    d.speichern = text(abfrage.value(1));
    d.rahmen = index(abfrage.value(2), 6, vorgabe.rahmen);
    d.farbe = index(abfrage.value(3), 8, vorgabe.farbe);
    d.Format = index(abfrage.value(4), 7, vorgabe.Format);
    d.breite = zahl(abfrage.value(5), vorgabe.breite);
    d.höhe = zahl(abfrage.value(6), vorgabe.höhe);
    d.kompression = zahl(abfrage.value(7), vorgabe.kompression);
    d.fundortmeldung = jaNein(abfrage.value(8));
    d.startmeldung = jaNein(abfrage.value(9));
    d.dateiname = text(abfrage.value(10));
    d.vorschlag = index(abfrage.value(11), 3, vorgabe.vorschlag);
    m_datensatz = d;
    return true;
}

bool SettingsStore::schreiben(const SettingsRecord& neu)
{
    m_fehler.clear();
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
