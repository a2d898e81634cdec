#include "platform/Uebergabe.h"

#include <QDir>
#include <QDropEvent>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <sys/stat.h>

namespace {

// The path of a file: URL; file://localhost/… names a file of this computer as well.
QString lokalerPfad(QUrl url)
{
    if (url.host().compare(QStringLiteral("localhost"), Qt::CaseInsensitive) == 0)
        url.setHost(QString());
    return url.toLocalFile();
}

} // namespace

QString dateiAusArgument(const QString& argument)
{
    if (argument.isEmpty())
        return {};
    if (argument.startsWith(QStringLiteral("file:"), Qt::CaseInsensitive))
        return QDir::toNativeSeparators(lokalerPfad(QUrl(argument)));
    return QDir::toNativeSeparators(QDir::cleanPath(QFileInfo(argument).absoluteFilePath()));
}

QString startDatei(const QStringList& argumente)
{
    return argumente.size() > 1 ? dateiAusArgument(argumente.at(1)) : QString();
}

QString abgelegteDatei(const QMimeData* daten)
{
    // A list may be announced and still be empty.
    const QList<QUrl> urls = daten && daten->hasUrls() ? daten->urls() : QList<QUrl>();
    if (urls.isEmpty())
        return {};
    const QUrl erste = urls.constFirst();
    if (!erste.isLocalFile())
        return {};
    const QString pfad = lokalerPfad(erste);
    if (pfad.isEmpty() || QFileInfo(pfad).isDir())
        return {};
    return QDir::toNativeSeparators(pfad);
}

bool alsTextWeitergebbar(const QString& pfad)
{
    // A replacement character may also be a name's own (stored as UTF-8): then it is there.
    struct stat st {};
    return !pfad.contains(QChar::ReplacementCharacter) || ::lstat(QFile::encodeName(pfad).constData(), &st) == 0;
}

DateiAblage::DateiAblage(QWidget* fenster, std::function<void(const QString&)> laden)
    : QObject(fenster)
    , m_fenster(fenster)
    , m_laden(std::move(laden))
{
    fenster->setAcceptDrops(true);
    fenster->installEventFilter(this);
    const auto textfelder = fenster->findChildren<QLineEdit*>();
    for (QLineEdit* feld : textfelder)
        feld->installEventFilter(this);
}

bool DateiAblage::eventFilter(QObject* objekt, QEvent* ereignis)
{
    switch (ereignis->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove:
    case QEvent::Drop: {
        auto* e = static_cast<QDropEvent*>(ereignis);
        const QString datei = m_fenster->isEnabled() ? abgelegteDatei(e->mimeData()) : QString();
        if (datei.isEmpty()) {
            // A text box may still take a dragged text; the window takes nothing else.
            if (objekt != m_fenster && m_fenster->isEnabled())
                return false;
            e->ignore();
            return true;
        }
        e->setDropAction(Qt::CopyAction);
        e->accept();
        if (ereignis->type() == QEvent::Drop)
            m_laden(datei);
        return true;
    }
    default:
        return false;
    }
}
