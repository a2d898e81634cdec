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
#include <sys/stat.h>
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
    // Not blocking even if a pipe took the file's place since it was looked at.
    const int fd = ::open(name.constData(), art | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
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

// What stands at the path instead of a file, or where the link there leads instead.
QString fremdeArt(const Dateibefund& b)
{
    using Art = Dateibefund::Art;
    if (b.art == Art::InsLeere)
        return QStringLiteral("Die Datei ist eine Verknüpfung auf „%1“; dort liegt nichts.").arg(b.verweis);
    if (b.verweis.isEmpty()) {
        switch (b.art) {
        case Art::Ordner: return QStringLiteral("An ihrer Stelle liegt ein Ordner.");
        case Art::Pipe: return QStringLiteral("An ihrer Stelle liegt eine benannte Pipe (FIFO).");
        case Art::Socket: return QStringLiteral("An ihrer Stelle liegt ein Socket.");
        case Art::Geraet: return QStringLiteral("An ihrer Stelle liegt ein Gerät.");
        default: return QStringLiteral("An ihrer Stelle liegt keine gewöhnliche Datei.");
        }
    }
    switch (b.art) {
    case Art::Ordner: return QStringLiteral("Die Datei ist eine Verknüpfung auf den Ordner „%1“.").arg(b.verweis);
    case Art::Pipe: return QStringLiteral("Die Datei ist eine Verknüpfung auf die benannte Pipe (FIFO) „%1“.").arg(b.verweis);
    case Art::Socket: return QStringLiteral("Die Datei ist eine Verknüpfung auf den Socket „%1“.").arg(b.verweis);
    case Art::Geraet: return QStringLiteral("Die Datei ist eine Verknüpfung auf das Gerät „%1“.").arg(b.verweis);
    default: return QStringLiteral("Die Datei ist eine Verknüpfung auf „%1“, und das ist keine gewöhnliche Datei.").arg(b.verweis);
    }
}

} // namespace

Dateibefund Dateibefund::ansehen(const QString& pfad)
{
    Dateibefund b;
    b.ordnerDa = QFileInfo(QFileInfo(pfad).absolutePath()).isDir();
    const QByteArray name = QFile::encodeName(pfad);
    struct stat st {};
    if (::lstat(name.constData(), &st) != 0)
        return b;
    if (S_ISLNK(st.st_mode)) {
        b.verweis = QDir::toNativeSeparators(QFileInfo(pfad).symLinkTarget());
        if (::stat(name.constData(), &st) != 0) {
            b.art = Art::InsLeere;
            return b;
        }
        // The end of a chain of links, as it is reached.
        b.verweis = QDir::toNativeSeparators(QFileInfo(pfad).canonicalFilePath());
    }
    b.art = S_ISREG(st.st_mode)                           ? Art::Gewoehnlich
            : S_ISDIR(st.st_mode)                         ? Art::Ordner
            : S_ISFIFO(st.st_mode)                        ? Art::Pipe
            : S_ISSOCK(st.st_mode)                        ? Art::Socket
            : S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) ? Art::Geraet
                                                          : Art::Sonstiges;
    b.dateiDa = b.art == Art::Gewoehnlich;
    return b;
}

Dateibefund Dateibefund::von(const QString& pfad)
{
    Dateibefund b = ansehen(pfad);
    if (b.art != Art::Gewoehnlich)
        return b; // what stands there is the reason; nothing is opened
    if (b.dateiDa) {
        const QByteArray name = QFile::encodeName(pfad);
        b.lesen = versuchen(name, O_RDONLY);
        b.schreiben = versuchen(name, O_WRONLY);
    }
    if (b.ordnerDa)
        b.ordnerSchreiben = ordnerBeschreiben(QFileInfo(pfad).absolutePath());
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
    // SQLite gets a regular file or none: a pipe would block the program, and a device
    // would be read or written as if it were the store.
    if (const Dateibefund vorher = Dateibefund::ansehen(m_pfad); vorher.art != Dateibefund::Art::Gewoehnlich) {
        o.grund = grund(0, {}, vorher, ordnerText(m_pfad));
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
    // Renaming a link would cut the way to its file, kept elsewhere on purpose: both stay.
    if (const QString verweis = Dateibefund::ansehen(m_pfad).verweis; !verweis.isEmpty()) {
        o.grund = QStringLiteral("Die Datei ist beschädigt. Sie ist eine Verknüpfung auf „%1“ und bleibt, wie sie ist.").arg(verweis);
        return o;
    }
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
    if (b.art != Dateibefund::Art::Gewoehnlich)
        return fremdeArt(b);
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
    struct stat st {};
    if (::lstat(QFile::encodeName(pfad).constData(), &st) != 0 || !S_ISREG(st.st_mode))
        return {};
    QString ziel = pfad + QStringLiteral(".defekt");
    for (int n = 2; QFileInfo::exists(ziel) || QFileInfo(ziel).isSymLink(); ++n)
        ziel = pfad + QStringLiteral(".defekt%1").arg(n);
    return QFile::rename(pfad, ziel) ? ziel : QString();
}
