#pragma once

#include "platform/Nebenfenster.h"

class QLabel;
class QPushButton;

// The help window: a title line, a word-wrapped text and "Schließen".
// It is a window of its own, not a child of the window that opened it, so
// that it stays usable while that window is disabled.
class Form3 : public EigenesFenster {
    Q_OBJECT
public:
    explicit Form3(QWidget* hauptfenster);

    void setzeText(const QString& titel, const QString& text);

    // The find-location dialog, when one is open; it is enabled again with the main window.
    void setzeFundDialog(QWidget* dialog) { m_fundDialog = dialog; }

protected:
    // The main window, and the find-location dialog when it is open.
    void freigeben() override;

private:
    void schliessenKlick();

    QLabel* m_Label1; // the title
    QLabel* m_Label2; // the text
    QPushButton* m_Command1;
    QPointer<QWidget> m_fundDialog;
};
