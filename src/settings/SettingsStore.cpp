#include "settings/SettingsStore.h"

#include "platform/Dienste.h"
#include "platform/SqliteDatei.h"
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

} // namespace

SettingsStore::SettingsStore(QObject* eltern, const QString& ordner)
    : QObject(eltern)
    , m_ordner(ordner.isEmpty() ? standardOrdner() : ordner)
{
    setObjectName(QStringLiteral("Data1"));
    m_datei = std::make_unique<SqliteDatei>(QStringLiteral("einstellungen-%1").arg(quintptr(this), 0, 16), dateipfad());
}

SettingsStore::~SettingsStore() = default;

QString SettingsStore::standardOrdner()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

QString SettingsStore::dateipfad() const { return QDir(m_ordner).filePath(QStringLiteral("set.db")); }

void SettingsStore::oeffnen(QWidget* besitzer) { oeffnen(besitzer, true); }

bool SettingsStore::wiederLesen(QWidget* besitzer)
{
    oeffnen(besitzer, false);
    return !m_aufVorgaben;
}

void SettingsStore::oeffnen(QWidget* besitzer, bool fehlerMelden)
{
    m_datensatz = SettingsRecord{};
    m_fehler.clear();
    m_aufVorgaben = false;
    m_lesefehler.clear();

    // A file that cannot be reached is left alone; a damaged one is kept aside.
    const SqliteDatei::Oeffnung o = m_datei->oeffnen();
    if (!o.beiseite.isEmpty())
        meldung(besitzer, QStringLiteral("Die Einstellungsdatei „%1“ ließ sich nicht lesen. Sie wurde unverändert als „%2“ "
                                         "aufbewahrt; Fotoschliff startet mit den Standardeinstellungen.")
                              .arg(QDir::toNativeSeparators(dateipfad()), QFileInfo(o.beiseite).fileName()),
                programmTitel(), Dienste::Symbol::Info);
    if (o.stand == SqliteDatei::Stand::Fehlgeschlagen) {
        m_fehler = o.grund;
        aufVorgabenUmschalten(besitzer, fehlerMelden, o.grund);
        return;
    }
    if (!einrichten() || !lesen())
        aufVorgabenUmschalten(besitzer, fehlerMelden, m_fehler);
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

void SettingsStore::fehler(const QSqlError& fehler) { m_fehler = m_datei->grund(fehler); }

bool SettingsStore::einrichten()
{
    QSqlDatabase db = m_datei->db();
    QSqlQuery abfrage(db);

    QStringList spalten;
    for (const Feld& f : felder)
        spalten << QStringLiteral("\"%1\" %2").arg(QString::fromUtf8(f.name), QString::fromLatin1(f.typ));
    if (!abfrage.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS \"%1\" (%2)").arg(QLatin1String(tabelle), spalten.join(u", ")))) {
        fehler(abfrage.lastError());
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
        abfrage.addBindValue(vorgabe.hoehe);
        abfrage.addBindValue(vorgabe.kompression);
        abfrage.addBindValue(vorgabe.fundortmeldung ? 1 : 0);
        abfrage.addBindValue(vorgabe.startmeldung ? 1 : 0);
        abfrage.addBindValue(vorgabe.dateiname);
        abfrage.addBindValue(vorgabe.vorschlag);
        if (!abfrage.exec())
            fehler(abfrage.lastError());
    }
    return true;
}

bool SettingsStore::lesen()
{
    QSqlDatabase db = m_datei->db();
    // Only the fields the table has: SQLite would read a quoted name that is no
    // column as a text, so that "speichern" would be the save folder.
    const QSqlRecord vorhanden = db.record(QLatin1String(tabelle));
    if (vorhanden.isEmpty()) {
        fehler(db.lastError());
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
        fehler(abfrage.lastError());
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
    // 0 is what the dialog writes for a box left empty, and comes back as such.
    d.breite = zahlImBereich(wert(5), 0, 10000, vorgabe.breite);
    d.hoehe = zahlImBereich(wert(6), 0, 10000, vorgabe.hoehe);
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
    if (!m_datei->offen()) {
        m_fehler = QStringLiteral("Die Einstellungsdatei ist nicht geöffnet.");
        return false;
    }
    QSqlDatabase db = m_datei->db();
    if (!db.transaction()) {
        fehler(db.lastError());
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
        abfrage.addBindValue(neu.hoehe);
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
        fehler(abfrage.lastError());
        db.rollback();
        return false;
    }
    if (!db.commit()) {
        fehler(db.lastError());
        db.rollback();
        return false;
    }
    m_datensatz = neu;
    return true;
}
