#pragma once

#include <QString>
#include <QStringList>
#include <QUrl>

class QWidget;
class QFileDialog;

// The one file dialog object shared by opening and saving. It keeps what the
// last use left behind, as the workflow relies on: the chosen path and its
// file title (the name without folder) propose the next save name.
struct DateiDialog {
    QString DialogTitle;
    QString Filter;        // "description|pattern;pattern" entries, joined by "|"
    QString InitDir;
    QString FileName;      // proposed name before, full chosen path after a use
    QString FileTitle;     // name without folder of the file last chosen
    bool Ueberschreibfrage = false; // ask before replacing an existing file
    QString letzterOrdner; // where the last use ended; the start folder when InitDir is empty
    QStringList zuletzt;   // recently used folders, offered in the dialog's history and side bar
};

// What choosing pfad in the dialog leaves behind: the full path, its file title and its folder.
void dateiDialogGewaehlt(DateiDialog& dialog, const QString& pfad);

// Everything that would need a person: dialogs, message boxes, the clipboard,
// the browser. Tests install their own implementation to answer them.
class Dienste {
public:
    enum class Symbol { Keins, Info, Fehler };

    virtual ~Dienste() = default;

    virtual void meldung(QWidget* besitzer, const QString& text, const QString& titel, Symbol symbol) = 0;
    // The same with a detail text behind a "Details" button, so that the message itself
    // stays as short as it is; without its own way, the detail is left out.
    virtual void meldungMitDetails(QWidget* besitzer, const QString& text, const QString& details, const QString& titel,
                                   Symbol symbol)
    {
        (void)details;
        meldung(besitzer, text, titel, symbol);
    }
    // A question answered with one of the given buttons; returns the index of the
    // answer. Closing the box chooses the last answer, which must be the harmless one;
    // standard is the index of the answer that Return gives.
    virtual int frage(QWidget* besitzer, const QString& text, const QString& titel, const QStringList& antworten,
                      int standard = 0) = 0;
    // The same with the answer of index gesperrt shown but not to be chosen (-1: none), so
    // that a question keeps its answers whether that one applies or not. Without a way of
    // its own, the answer is offered all the same, and choosing it counts as the last one.
    virtual int frageMitSperre(QWidget* besitzer, const QString& text, const QString& titel, const QStringList& antworten,
                               int standard, int gesperrt)
    {
        const int antwort = frage(besitzer, text, titel, antworten, standard);
        return antwort == gesperrt ? int(antworten.size()) - 1 : antwort;
    }
    // Shows the dialog; on OK sets FileName (full path) and FileTitle and returns true.
    virtual bool dateiOeffnen(QWidget* besitzer, DateiDialog& dialog) = 0;
    virtual bool dateiSpeichern(QWidget* besitzer, DateiDialog& dialog) = 0;
    // An existing folder chosen by the user, or "" on cancel.
    virtual QString ordnerWaehlen(QWidget* besitzer, const QString& titel, const QString& start) = 0;
    virtual void zwischenablageSetzen(const QString& text) = 0;
    // False when no program could be started to open the address.
    virtual bool urlOeffnen(QWidget* besitzer, const QUrl& url) = 0;
};

// The services in use; Qt's own until a test installs others.
Dienste& dienste();
// Installs a replacement (not owned); nullptr goes back to Qt's own.
void diensteSetzen(Dienste* ersatz);

inline const QString& programmTitel()
{
    static const QString titel = QStringLiteral("Fotoschliff");
    return titel;
}

// A message box with an OK button, titled with the program's name unless another title is given.
void meldung(QWidget* besitzer, const QString& text, const QString& titel = programmTitel(),
             Dienste::Symbol symbol = Dienste::Symbol::Keins);

// The same with a detail text (QMessageBox::setDetailedText); an empty one shows none.
void meldungMitDetails(QWidget* besitzer, const QString& text, const QString& details, const QString& titel = programmTitel(),
                       Dienste::Symbol symbol = Dienste::Symbol::Keins);

// The Qt file dialog as the services would show it (not yet shown); a test can inspect it.
QFileDialog* dateiDialogErzeugen(QWidget* besitzer, const DateiDialog& dialog, bool speichern);

// Turns "desc|pat;pat|desc2|pat2" into Qt's "desc (pat pat)" entries.
QStringList qtFilter(const QString& filter);
