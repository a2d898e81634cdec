#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

class QMimeData;
class QWidget;

// Files the desktop hands to the program: named on the command line (also by
// "Öffnen mit" of a file manager, sometimes as a file:// URL) or dropped onto
// a window.

// The path an argument names: a file: URL as its local path, anything else as
// a path, made absolute against the current folder. "" stays "".
QString dateiAusArgument(const QString& argument);
// The file to open at start-up: the first of the arguments that follow the
// program's own name, or "" when there is none.
QString startDatei(const QStringList& argumente);
// The file of a drag: its first URL when that is a local file (not a folder),
// else "".
QString abgelegteDatei(const QMimeData* daten);

// Whether the text of pfad leads back to its file, so that it may be handed on as text (to
// the clipboard, for the forum): a name that is no UTF-8 arrives with replacement
// characters, and such a text names no file, or another one.
bool alsTextWeitergebbar(const QString& pfad);

// Lets a window take a file dropped anywhere on it, its text boxes included
// (which would otherwise take the file's path as text). Anything that is not a
// local file is refused, and so is everything while the window is disabled.
class DateiAblage : public QObject {
    Q_OBJECT
public:
    DateiAblage(QWidget* fenster, std::function<void(const QString&)> laden);

protected:
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    QWidget* m_fenster;
    std::function<void(const QString&)> m_laden;
};
