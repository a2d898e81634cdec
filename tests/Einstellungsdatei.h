#pragma once

#include "settings/SettingsStore.h"

#include "Datenbankhilfe.h"

#include <QDir>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTest>

// set.db in the per-user data folder, as the tests prepare and inspect it.
namespace einstellungsdatei {

inline QString ordner() { return SettingsStore::standardOrdner(); }
inline QString pfad() { return QDir(ordner()).filePath(QStringLiteral("set.db")); }

// Writes the one record (the twelve values in field order, as SQL) before a window opens.
inline void schreiben(const QString& werte)
{
    QDir().mkpath(ordner());
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("vorbereitung"));
        db.setDatabaseName(pfad());
        QVERIFY(db.open());
        QSqlQuery q(db);
        QVERIFY(q.exec(QStringLiteral(
            "CREATE TABLE Einstellungen (laden TEXT, speichern TEXT, rahmen INTEGER, farbe INTEGER, Format INTEGER, "
            "breite REAL, \"höhe\" REAL, kompression REAL, fundortmeldung INTEGER, startmeldung INTEGER, "
            "dateiname TEXT, vorschlag INTEGER)")));
        QVERIFY(q.exec(QStringLiteral("INSERT INTO Einstellungen VALUES (%1)").arg(werte)));
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("vorbereitung"));
}

// The record as a fresh start would read it.
inline SettingsRecord lesen()
{
    SettingsStore store(nullptr, ordner());
    store.oeffnen();
    return store.datensatz();
}

// Holds an exclusive lock on set.db from a second connection, as another
// program would, so that no write gets through until it is released.
class Sperre : public datenbankhilfe::Sperre {
public:
    Sperre()
        : datenbankhilfe::Sperre(pfad())
    {
    }
};

} // namespace einstellungsdatei
