#pragma once

#include "findreport/Fundbericht.h"
#include "findreport/FundortDatenbank.h"

#include <QTest>

// Stored locations as the find-location tests prepare and read them.
namespace fundortdaten {

// A row with typical values where the test does not care.
inline FindRecord fund(const QString& land, const QString& bundesland, const QString& stadt, const QString& fundort,
                       const QString& hoehe = QStringLiteral("520"), const QString& datum = QStringLiteral("15. Juni 2010"),
                       const QString& autor = QStringLiteral("N. N."), const QString& beschreibung = QString(""))
{
    return {land, bundesland, stadt, fundort, beschreibung, hoehe, datum, QStringLiteral("Freilandfoto"), autor};
}

// Writes the rows into data.db of the folder (empty: the per-user data folder) before a dialog opens it.
inline void speichern(const QList<FindRecord>& zeilen, const QString& ordner = {})
{
    FundortDatenbank db(QStringLiteral("vorbereitung"), nullptr, ordner);
    QVERIFY(db.oeffnen());
    for (const FindRecord& z : zeilen)
        QVERIFY(db.hinzufuegen(z));
}

// What the store holds now, each row as the stored list shows it.
inline QStringList gespeichert(const QString& ordner = {})
{
    FundortDatenbank db(QStringLiteral("pruefung"), nullptr, ordner);
    QStringList zeilen;
    if (db.oeffnen() && db.allesLaden())
        for (int i = 0; i < db.anzahl(); ++i)
            zeilen << fundbericht::gespeicherteZeile(db.zeile(i));
    return zeilen;
}

} // namespace fundortdaten

Q_DECLARE_METATYPE(FindRecord)
