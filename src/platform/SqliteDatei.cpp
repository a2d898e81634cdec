#include "platform/SqliteDatei.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QVariant>

#include <cerrno>
#include <optional>
#include <fcntl.h>
#include <unistd.h>

namespace {

// SQLite's primary result codes that the reasons tell apart.
enum Code {
    Busy = 5,
    Locked = 6,
    ReadOnly = 8,
    IoErr = 10,
    Corrupt = 11,
    Full = 13,
    CantOpen = 14,
    NotADb = 26,
    ReadOnlyDirectory = ReadOnly | (6 << 8),
};

int code(const QSqlError& fehler) { return fehler.nativeErrorCode().toInt(); }

bool verweigert(int fehler) { return fehler == EACCES || fehler == EPERM; }
bool voll(int fehler) { return fehler == ENOSPC || fehler == EDQUOT; }

int versuchen(const QByteArray& name, int art)
{
    const int fd = ::open(name.constData(), art | O_CLOEXEC);
    if (fd < 0)
        return errno;
    ::close(fd);
    return 0;
}

// Writes one block into a scratch file of the folder: only a real write tells a full disk.
int ordnerBeschreiben(const QString& ordner)
{
    const QByteArray name = QFile::encodeName(
        QDir(ordner).filePath(QStringLiteral(".probe-%1").arg(QCoreApplication::applicationPid())));
    const int fd = ::open(name.constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
    if (fd < 0)
        return errno;
    const char block[4096] = {};
    const ssize_t geschrieben = ::write(fd, block, sizeof block);
    int fehler = geschrieben < 0 ? errno : geschrieben < ssize_t(sizeof block) ? ENOSPC : 0;
    if (::close(fd) != 0 && fehler == 0)
        fehler = errno;
    ::unlink(name.constData());
    return fehler;
}

QString ordnerText(const QString& pfad) { return QDir::toNativeSeparators(QFileInfo(pfad).absolutePath()); }

} // namespace

Dateibefund Dateibefund::von(const QString& pfad)
{
    Dateibefund b;
    const QFileInfo datei(pfad);
    b.ordnerStattDatei = datei.isDir();
    b.ordnerDa = QFileInfo(datei.absolutePath()).isDir();
    b.dateiDa = datei.exists() && !b.ordnerStattDatei;
    if (b.dateiDa) {
        const QByteArray name = QFile::encodeName(pfad);
        b.lesen = versuchen(name, O_RDONLY);
        b.schreiben = versuchen(name, O_WRONLY);
    }
    if (b.ordnerDa)
        b.ordnerSchreiben = ordnerBeschreiben(datei.absolutePath());
    return b;
}

SqliteDatei::SqliteDatei(const QString& verbindung, const QString& pfad)
    : m_verbindung(verbindung)
    , m_pfad(pfad)
{
}

SqliteDatei::~SqliteDatei() { schliessen(); }

void SqliteDatei::schliessen()
{
    if (QSqlDatabase::contains(m_verbindung)) {
        QSqlDatabase::database(m_verbindung, false).close();
        QSqlDatabase::removeDatabase(m_verbindung);
    }
}

bool SqliteDatei::offen() const
{
    return QSqlDatabase::contains(m_verbindung) && QSqlDatabase::database(m_verbindung, false).isOpen();
}

QSqlDatabase SqliteDatei::db() const { return QSqlDatabase::database(m_verbindung, false); }

bool SqliteDatei::verbinden()
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_verbindung);
    db.setDatabaseName(m_pfad);
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=2000"));
    return db.open();
}

SqliteDatei::Oeffnung SqliteDatei::oeffnen()
{
    schliessen();
    Oeffnung o;
    QDir().mkpath(QFileInfo(m_pfad).absolutePath());
    if (QFileInfo(m_pfad).isDir()) {
        o.grund = grund(0, {}, Dateibefund::von(m_pfad), ordnerText(m_pfad));
        return o;
    }
    // Opening is lazy in SQLite: only the check reads the file.
    const auto pruefen = [this]() -> std::optional<QSqlError> {
        if (!verbinden())
            return db().lastError();
        QSqlQuery abfrage(db());
        if (!abfrage.exec(QStringLiteral("PRAGMA quick_check")))
            return abfrage.lastError();
        if (abfrage.next() && abfrage.value(0).toString() != u"ok")
            return QSqlError(QStringLiteral("quick_check"), abfrage.value(0).toString(), QSqlError::StatementError,
                             QString::number(Corrupt));
        return std::nullopt;
    };
    auto fehler = pruefen();
    if (!fehler) {
        o.stand = Stand::Offen;
        return o;
    }
    if (!istBeschaedigt(code(*fehler))) {
        o.grund = grund(*fehler);
        schliessen();
        return o;
    }
    schliessen();
    o.beiseite = beiseiteLegen(m_pfad);
    if (o.beiseite.isEmpty()) {
        o.grund = QStringLiteral("Die Datei ist beschädigt und lässt sich nicht beiseitelegen.");
        return o;
    }
    if ((fehler = pruefen())) {
        o.grund = grund(*fehler);
        schliessen();
        return o;
    }
    o.stand = Stand::Beiseitegelegt;
    return o;
}

QString SqliteDatei::grund(const QSqlError& fehler) const
{
    return grund(code(fehler), fehler.databaseText(), Dateibefund::von(m_pfad), ordnerText(m_pfad));
}

bool SqliteDatei::istBeschaedigt(int code) { return (code & 0xff) == Corrupt || (code & 0xff) == NotADb; }

QString SqliteDatei::grund(int code, const QString& text, const Dateibefund& b, const QString& ordner)
{
    const int primaer = code & 0xff;
    if (b.ordnerStattDatei)
        return QStringLiteral("An ihrer Stelle liegt ein Ordner.");
    if (primaer == Busy || primaer == Locked)
        return QStringLiteral("Die Datei wird gerade von einem anderen Programm benutzt.");
    if (!b.ordnerDa)
        return QStringLiteral("Der Ordner „%1“ lässt sich nicht anlegen.").arg(ordner);
    if (b.dateiDa && verweigert(b.lesen))
        return QStringLiteral("Es fehlt die Berechtigung, die Datei zu lesen.");
    // Writing failed, or the file could not be made: the file system knows why.
    if (primaer == 0 || primaer == ReadOnly || primaer == IoErr || primaer == Full || primaer == CantOpen) {
        if (b.schreiben == EROFS || b.ordnerSchreiben == EROFS)
            return QStringLiteral("Der Datenträger ist schreibgeschützt.");
        if (primaer == Full || voll(b.ordnerSchreiben))
            return QStringLiteral("Der Datenträger ist voll.");
        if (code == ReadOnlyDirectory || (verweigert(b.ordnerSchreiben) && !(b.dateiDa && verweigert(b.schreiben))))
            return QStringLiteral("Der Ordner „%1“ ist nicht beschreibbar.").arg(ordner);
        if (b.dateiDa && verweigert(b.schreiben))
            return QStringLiteral("Die Datei ist schreibgeschützt.");
    }
    switch (primaer) {
    case Corrupt:
    case NotADb: return QStringLiteral("Die Datei ist beschädigt.");
    case ReadOnly: return QStringLiteral("Die Datei ist schreibgeschützt.");
    case IoErr: return QStringLiteral("Beim Lesen oder Schreiben der Datei ist ein Fehler aufgetreten.");
    case CantOpen: return QStringLiteral("Die Datei lässt sich nicht öffnen.");
    default:
        return text.trimmed().isEmpty() ? QStringLiteral("Die Datenbank meldet einen unbekannten Fehler.")
                                        : QStringLiteral("Die Datenbank meldet: %1").arg(text.trimmed());
    }
}

QString SqliteDatei::beiseiteLegen(const QString& pfad)
{
    QString ziel = pfad + QStringLiteral(".defekt");
    for (int n = 2; QFileInfo::exists(ziel) || QFileInfo(ziel).isSymLink(); ++n)
        ziel = pfad + QStringLiteral(".defekt%1").arg(n);
    return QFile::rename(pfad, ziel) ? ziel : QString();
}
