#pragma once

#include <QDir>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QStringList>

#include <unistd.h>

// What the store tests do to a SQLite file from outside, as another program would.
namespace datenbankhilfe {

// Runs SQL straight on the file, bypassing the program's stores.
inline bool roh(const QString& pfad, const QStringList& befehle)
{
    bool ok = true;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("roh"));
        db.setDatabaseName(pfad);
        ok = db.open();
        QSqlQuery q(db);
        for (const QString& b : befehle)
            ok = ok && q.exec(b);
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("roh"));
    return ok;
}

// Holds an exclusive lock on a file from a second connection, so that nothing
// gets through until it is released.
class Sperre {
public:
    explicit Sperre(const QString& pfad)
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("sperre"));
        db.setDatabaseName(pfad);
        m_ok = db.open() && QSqlQuery(db).exec(QStringLiteral("BEGIN EXCLUSIVE"));
    }
    ~Sperre() { freigeben(); }
    Sperre(const Sperre&) = delete;
    Sperre& operator=(const Sperre&) = delete;
    bool gesperrt() const { return m_ok; }
    void freigeben()
    {
        if (!QSqlDatabase::contains(QStringLiteral("sperre")))
            return;
        {
            QSqlDatabase db = QSqlDatabase::database(QStringLiteral("sperre"), false);
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("sperre"));
    }

private:
    bool m_ok = false;
};

// File permissions do not hold for root: a test that needs them runs as an
// ordinary user for a while. The folders it touches must be open to that user.
class AlsGast {
public:
    AlsGast()
        : m_war(geteuid())
    {
        if (m_war == 0)
            m_ok = seteuid(65534) == 0;
    }
    ~AlsGast()
    {
        if (m_war == 0 && m_ok)
            (void)seteuid(0);
    }
    AlsGast(const AlsGast&) = delete;
    AlsGast& operator=(const AlsGast&) = delete;
    // False when permissions would not hold (root that could not change user).
    bool wirksam() const { return m_war != 0 || m_ok; }

private:
    uid_t m_war;
    bool m_ok = false;
};

// A folder that the ordinary user may enter, for AlsGast.
inline void offenFuerAlle(const QString& ordner)
{
    QFile::setPermissions(ordner, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::WriteGroup
                                      | QFile::ExeGroup | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther);
}

} // namespace datenbankhilfe
