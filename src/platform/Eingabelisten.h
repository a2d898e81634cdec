#pragma once

#include "platform/Steuerelemente.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>

// Input controls that can be locked (read-only: shown, focusable, but neither
// typed into nor picked from) and whose change handling runs for every text
// the program sets, also one equal to the text shown, as it does for typing.

// A pick-only list (see Liste) that can be locked.
class SperrListe : public Liste {
    Q_OBJECT
    Q_PROPERTY(bool Locked READ Locked WRITE setzeGesperrt)
public:
    explicit SperrListe(QWidget* eltern = nullptr);
    // Many entries at once, selecting nothing.
    void alleHinzufuegen(const QStringList& eintraege);
    bool Locked() const { return m_gesperrt; }
    void setzeGesperrt(bool gesperrt) { m_gesperrt = gesperrt; }
    void showPopup() override;

protected:
    void keyPressEvent(QKeyEvent*) override;
    void wheelEvent(QWheelEvent*) override;

private:
    bool m_gesperrt = false;
};

// A pick-only list of one-line texts that may hold line breaks: they are shown
// as "↵" so that each entry stays on one line, in the box and in its list; the
// entries themselves are kept. The open list is as wide as its widest entry,
// within the screen.
class ZeilenListe : public SperrListe {
    Q_OBJECT
public:
    explicit ZeilenListe(QWidget* eltern = nullptr);
    void showPopup() override;

protected:
    void paintEvent(QPaintEvent*) override;

private:
    int m_breite = -1; // the widest entry as shown; -1 until measured
};

// A text field with a drop-down list of suggestions. Every change of the text
// (typing, pasting, a text set by the program, also one equal to the text
// shown) raises geaendert(), except the text that a selection brings with it;
// an entry picked by the user (even the one already selected) or a different
// entry selected by the program raises klick(). A pick is a choice from the
// open list (mouse or keys), an arrow key or the wheel on the closed box;
// leaving the box (Tab, a click elsewhere) and Return select nothing. Filling
// and clearing select nothing. Qt's own completion and insertion of typed
// texts are off: they would fight the program's.
class EingabeListe : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(bool Locked READ Locked WRITE setzeGesperrt)
    Q_PROPERTY(int ListIndex READ ListIndex WRITE setzeListIndex)
    Q_PROPERTY(int ListCount READ ListCount)
    Q_PROPERTY(QString Text READ Text WRITE setzeText)
public:
    explicit EingabeListe(QWidget* eltern = nullptr);

    QString Text() const;
    void setzeText(const QString& text);
    // Removes every entry; the text box is emptied too, without change handling.
    void leeren();
    void hinzufuegen(const QStringList& eintraege);
    int ListIndex() const { return currentIndex(); }
    int ListCount() const { return count(); }
    void setzeListIndex(int index);

    bool Locked() const { return m_gesperrt; }
    void setzeGesperrt(bool gesperrt);
    void showPopup() override;
    void hidePopup() override;

signals:
    void geaendert();
    void klick();

protected:
    void keyPressEvent(QKeyEvent*) override;
    void wheelEvent(QWheelEvent*) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    bool m_gesperrt = false;
    bool m_auswahlText = false; // the text changes because an entry is being selected
    bool m_geklickt = false;    // this pick has raised klick() already
    bool m_programmText = false; // the program sets the text
    int m_index = -1;            // the selected entry as last reported
};

// A multi-line text box with the same change handling. Text() gives back
// exactly what the program set until the user edits; typed line breaks are
// carriage return plus line feed.
class EingabeText : public QPlainTextEdit {
    Q_OBJECT
    Q_PROPERTY(QString Text READ Text WRITE setzeText)
public:
    explicit EingabeText(QWidget* eltern = nullptr);
    QString Text() const { return m_text; }
    void setzeText(const QString& text);

signals:
    void geaendert();

private:
    QString m_text;
};

// A check box whose caption wraps onto further lines instead of being cut off.
class UmbruchKasten : public QCheckBox {
    Q_OBJECT
public:
    explicit UmbruchKasten(const QString& text, QWidget* eltern = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
    bool hitButton(const QPoint& pos) const override;
};
