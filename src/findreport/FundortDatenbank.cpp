#include "findreport/FundortDatenbank.h"

#include "platform/SqliteDatei.h"

#include <QCollator>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStandardPaths>
#include <QVariant>

#include <algorithm>
#include <array>

namespace {

// The nine fields in the order a row lists them.
constexpr std::array<const char*, 9> felder = {"land",  "bundesland", "stadt",   "fundort", "fundortbeschreibung",
                                               "höhe", "datum",      "bildart", "autor"};
enum Feld { Land, Bundesland, Stadt, Fundort, Beschreibung, Hoehe, Datum, Bildart, Autor };

QString& feld(FindRecord& r, int i)
{
    QString* const alle[] = {&r.land,  &r.bundesland, &r.stadt,   &r.fundort, &r.fundortbeschreibung,
                             &r.hoehe, &r.datum,      &r.bildart, &r.autor};
    return *alle[i];
}

QString bezeichner(const QString& name) { return QLatin1Char('"') + QString(name).replace(QLatin1Char('"'), QLatin1String("\"\"")) + QLatin1Char('"'); }

const QCollator& deutscheOrdnung()
{
    static const QCollator ordnung = [] {
        QCollator c{QLocale(QLocale::German, QLocale::Germany)};
        c.setCaseSensitivity(Qt::CaseInsensitive);
        return c;
    }();
    return ordnung;
}

// Values sorted in German order, each value that differs only in case once
// (the first stored spelling wins: the input comes in storage order).
QStringList verschiedenSortiert(const QStringList& werte)
{
    QStringList einmal;
    QSet<QString> gesehen;
    for (const QString& w : werte)
        if (!gesehen.contains(w.toCaseFolded())) {
            gesehen.insert(w.toCaseFolded());
            einmal << w;
        }
    const QCollator& ordnung = deutscheOrdnung();
    std::stable_sort(einmal.begin(), einmal.end(),
                     [&ordnung](const QString& a, const QString& b) { return ordnung.compare(a, b) < 0; });
    return einmal;
}

} // namespace

FundortDatenbank::FundortDatenbank(const QString& name, QObject* eltern, const QString& ordner)
    : QObject(eltern)
    , m_ordner(ordner.isEmpty() ? standardOrdner() : ordner)
{
    setObjectName(name);
    m_datei = std::make_unique<SqliteDatei>(QStringLiteral("fundorte-%1-%2").arg(name).arg(quintptr(this), 0, 16), dateipfad());
}

FundortDatenbank::~FundortDatenbank() = default;

QString FundortDatenbank::standardOrdner() { return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation); }

QString FundortDatenbank::dateipfad() const { return QDir(m_ordner).filePath(QStringLiteral("data.db")); }

bool FundortDatenbank::fehlschlag(const QString& text)
{
    m_fehler = text;
    return false;
}

bool FundortDatenbank::fehlschlag(const QSqlError& fehler) { return fehlschlag(m_datei->grund(fehler)); }

// Every operation on a store that could not be opened fails with the reason it had.
bool FundortDatenbank::nichtOffen()
{
    if (m_offen)
        return false;
    if (m_fehler.isEmpty())
        m_fehler = QStringLiteral("Die Datei ist nicht geöffnet.");
    return true;
}

bool FundortDatenbank::oeffnen()
{
    m_offen = false;
    m_fehler.clear();
    m_beiseite.clear();
    m_zeilen.clear();
    m_aktuell = -1;
    const SqliteDatei::Oeffnung o = m_datei->oeffnen();
    m_beiseite = o.beiseite;
    if (o.stand == SqliteDatei::Stand::Fehlgeschlagen)
        return fehlschlag(o.grund);
    if (!einrichten()) {
        m_datei->schliessen();
        return false;
    }
    m_offen = true;
    return true;
}

bool FundortDatenbank::einrichten()
{
    QSqlDatabase db = m_datei->db();
    QSqlQuery abfrage(db);
    QStringList spalten;
    for (const char* f : felder)
        spalten << bezeichner(QString::fromUtf8(f)) + QStringLiteral(" TEXT");
    if (!abfrage.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS data (%1)").arg(spalten.join(u", ")))
        && !db.tables().contains(QStringLiteral("data"), Qt::CaseInsensitive))
        return fehlschlag(abfrage.lastError());

    // Field names count without regard to case; a table from elsewhere may lack fields.
    m_spalten.clear();
    const QSqlRecord vorhanden = db.record(QStringLiteral("data"));
    for (const char* f : felder) {
        const QString name = QString::fromUtf8(f);
        QString gefunden;
        for (int i = 0; i < vorhanden.count() && gefunden.isEmpty(); ++i)
            if (vorhanden.fieldName(i).compare(name, Qt::CaseInsensitive) == 0)
                gefunden = vorhanden.fieldName(i);
        if (gefunden.isEmpty()
            && abfrage.exec(QStringLiteral("ALTER TABLE data ADD COLUMN %1 TEXT").arg(bezeichner(name))))
            gefunden = name;
        m_spalten << gefunden;
    }
    return true;
}

bool FundortDatenbank::allesLaden()
{
    if (nichtOffen())
        return false;
    QStringList auswahl{QStringLiteral("rowid")};
    for (const QString& s : std::as_const(m_spalten))
        auswahl << (s.isEmpty() ? QStringLiteral("NULL") : bezeichner(s));
    QSqlQuery abfrage(m_datei->db());
    abfrage.setForwardOnly(true);
    if (!abfrage.exec(QStringLiteral("SELECT %1 FROM data ORDER BY rowid").arg(auswahl.join(u", "))))
        return fehlschlag(abfrage.lastError());

    QVector<Zeile> zeilen;
    while (abfrage.next()) {
        Zeile z{abfrage.value(0).toLongLong(), {}};
        for (int i = 0; i < int(felder.size()); ++i)
            feld(z.werte, i) = abfrage.value(i + 1).toString();
        zeilen << z;
    }
    if (abfrage.lastError().isValid())
        return fehlschlag(abfrage.lastError());

    // Each distinct text of the four ordering fields gets its rank in German
    // order once, so that the rows sort on whole numbers.
    QHash<QString, int> rang;
    for (const Zeile& z : std::as_const(zeilen))
        for (const QString* t : {&z.werte.land, &z.werte.bundesland, &z.werte.stadt, &z.werte.fundort})
            rang.insert(*t, 0);
    const QCollator& ordnung = deutscheOrdnung();
    std::vector<std::pair<QCollatorSortKey, QString>> schluessel;
    schluessel.reserve(size_t(rang.size()));
    for (auto it = rang.cbegin(); it != rang.cend(); ++it)
        schluessel.emplace_back(ordnung.sortKey(it.key()), it.key());
    std::sort(schluessel.begin(), schluessel.end(),
              [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    for (size_t i = 0, r = 0; i < schluessel.size(); ++i) {
        if (i > 0 && schluessel[i - 1].first.compare(schluessel[i].first) != 0)
            ++r;
        rang[schluessel[i].second] = int(r);
    }
    std::stable_sort(zeilen.begin(), zeilen.end(), [&rang](const Zeile& a, const Zeile& b) {
        const auto rangfolge = [&rang](const FindRecord& w) {
            return std::array{rang.value(w.land), rang.value(w.bundesland), rang.value(w.stadt), rang.value(w.fundort)};
        };
        return rangfolge(a.werte) < rangfolge(b.werte);
    });

    m_zeilen = std::move(zeilen);
    m_aktuell = -1;
    return true;
}

bool FundortDatenbank::positionieren(int position)
{
    if (position < 0 || position >= anzahl())
        return false;
    m_aktuell = position;
    return true;
}

bool FundortDatenbank::schreiben(const QString& befehl, const QVariantList& werte)
{
    if (nichtOffen())
        return false;
    // One statement is one transaction of its own: it is stored whole or not at all.
    QSqlQuery abfrage(m_datei->db());
    if (!abfrage.prepare(befehl))
        return fehlschlag(abfrage.lastError());
    for (const QVariant& w : werte)
        abfrage.addBindValue(w);
    return abfrage.exec() || fehlschlag(abfrage.lastError());
}

bool FundortDatenbank::hinzufuegen(const FindRecord& neu)
{
    QStringList namen, platzhalter;
    QVariantList werte;
    FindRecord kopie = neu;
    for (int i = 0; i < int(felder.size()); ++i) {
        namen << bezeichner(m_spalten.value(i).isEmpty() ? QString::fromUtf8(felder[size_t(i)]) : m_spalten[i]);
        platzhalter << QStringLiteral("?");
        // An empty field is stored as an empty text, not as a missing value.
        const QString& w = feld(kopie, i);
        werte << (w.isNull() ? QString("") : w);
    }
    return schreiben(QStringLiteral("INSERT INTO data (%1) VALUES (%2)").arg(namen.join(u", "), platzhalter.join(u", ")), werte);
}

bool FundortDatenbank::aktuellLoeschen()
{
    if (nichtOffen())
        return false;
    if (m_aktuell < 0 || m_aktuell >= anzahl())
        return fehlschlag(QStringLiteral("Es ist kein Fundort ausgewählt."));
    return schreiben(QStringLiteral("DELETE FROM data WHERE rowid = ?"), {m_zeilen[m_aktuell].schluessel});
}

std::optional<QStringList> FundortDatenbank::verschieden(int feldNr, int filterNr, const QString& filterWert)
{
    if (nichtOffen())
        return std::nullopt;
    const auto spalte = [this](int nr) { return m_spalten[nr].isEmpty() ? QStringLiteral("NULL") : bezeichner(m_spalten[nr]); };
    QSqlQuery abfrage(m_datei->db());
    abfrage.setForwardOnly(true);
    const QString auswahl = filterNr < 0 ? spalte(feldNr) : spalte(feldNr) + QLatin1String(", ") + spalte(filterNr);
    if (!abfrage.exec(QStringLiteral("SELECT %1 FROM data ORDER BY rowid").arg(auswahl))) {
        fehlschlag(abfrage.lastError());
        return std::nullopt;
    }
    // The filter is equality without regard to case; no character of the value is a pattern.
    const QString gesucht = filterWert.toCaseFolded();
    QStringList werte;
    while (abfrage.next())
        if (filterNr < 0 || abfrage.value(1).toString().toCaseFolded() == gesucht)
            werte << abfrage.value(0).toString();
    if (abfrage.lastError().isValid()) {
        fehlschlag(abfrage.lastError());
        return std::nullopt;
    }
    return verschiedenSortiert(werte);
}

std::optional<QStringList> FundortDatenbank::laender() { return verschieden(Land); }
std::optional<QStringList> FundortDatenbank::bundeslaender(const QString& land) { return verschieden(Bundesland, Land, land); }
std::optional<QStringList> FundortDatenbank::staedte(const QString& bundesland) { return verschieden(Stadt, Bundesland, bundesland); }
std::optional<QStringList> FundortDatenbank::fundorte(const QString& stadt) { return verschieden(Fundort, Stadt, stadt); }
std::optional<QStringList> FundortDatenbank::autoren() { return verschieden(Autor); }
