#pragma once

#include "findreport/Fundbericht.h"

#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QVector>

#include <memory>

class SqliteDatei;

// One connection to the location store data.db in the per-user data folder.
// The dialog keeps two: the record connection ("Data1") holds the ordered
// rows and the current one; the lookup connection ("Data2") answers the
// distinct-value lists.
//
// Order, distinctness and filters follow German order without regard to case
// (umlauts among their base letters) and Unicode case folding; the database
// itself compares bytes, so that work happens here on the fetched rows. Every
// value reaches the database as a bound parameter.
class FundortDatenbank : public QObject {
    Q_OBJECT
public:
    // ordner: where data.db lives; empty means the per-user data folder.
    explicit FundortDatenbank(const QString& name, QObject* eltern = nullptr, const QString& ordner = {});
    ~FundortDatenbank() override;

    // Opens data.db, creating the file or the table empty when missing. A file
    // that is not a readable database is put aside (data.db.defekt, ...) and
    // replaced by an empty one; beiseitegelegt() then names it. Returns false
    // when the store cannot be used; letzterFehler() then says why, and every
    // further operation fails with that reason.
    bool oeffnen();
    bool offen() const { return m_offen; }
    QString beiseitegelegt() const { return m_beiseite; }
    QString dateipfad() const;
    QString letzterFehler() const { return m_fehler; }

    // --- the record connection ---

    // Loads every row ordered by country, state, town and site. False on a
    // failed read; the previous result then stays.
    bool allesLaden();
    int anzahl() const { return int(m_zeilen.size()); }
    const FindRecord& zeile(int position) const { return m_zeilen[position].werte; }
    // Makes the row at that position of the last load the current one.
    bool positionieren(int position);
    int aktuellePosition() const { return m_aktuell; }
    const FindRecord& aktuell() const { return m_zeilen[m_aktuell].werte; }
    // Stores a new row in one transaction; the caller loads again.
    bool hinzufuegen(const FindRecord& neu);
    // Deletes the current row; the caller loads again.
    bool aktuellLoeschen();

    // --- the lookup connection: each value once, in German order ---

    // An empty optional on a failed read.
    std::optional<QStringList> laender();
    std::optional<QStringList> bundeslaender(const QString& land);
    std::optional<QStringList> staedte(const QString& bundesland);
    std::optional<QStringList> fundorte(const QString& stadt);
    std::optional<QStringList> autoren();

    static QString standardOrdner();

private:
    struct Zeile {
        qint64 schluessel; // rowid: positions are counted in the ordered load
        FindRecord werte;
    };

    std::optional<QStringList> verschieden(int feld, int filterFeld = -1, const QString& filterWert = {});
    bool einrichten();
    // Runs one writing statement with bound values.
    bool schreiben(const QString& befehl, const QVariantList& werte);
    bool fehlschlag(const QString& text);
    bool fehlschlag(const class QSqlError& fehler);
    bool nichtOffen();

    QString m_ordner;
    std::unique_ptr<SqliteDatei> m_datei;
    bool m_offen = false;
    QString m_beiseite;
    QString m_fehler;
    QStringList m_spalten; // the table's fields that exist; missing ones read empty
    QVector<Zeile> m_zeilen;
    int m_aktuell = -1;
};
