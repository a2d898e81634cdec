#pragma once

#include <QPointer>
#include <QWidget>

// A secondary window (preferences, about box, help) is a top-level window
// without a Qt parent: Qt disables the children of a disabled window, and the
// window that opens one is disabled while it is open. The opener keeps it in
// a Nebenfenster, which deletes it together with the opener if it is still
// open then; closed windows delete themselves (Qt::WA_DeleteOnClose).
class Nebenfenster {
public:
    Nebenfenster() = default;
    ~Nebenfenster() { delete m_fenster.data(); }
    Nebenfenster(const Nebenfenster&) = delete;
    Nebenfenster& operator=(const Nebenfenster&) = delete;

    void setzen(QWidget* fenster)
    {
        if (m_fenster != fenster)
            delete m_fenster.data();
        m_fenster = fenster;
    }
    QWidget* fenster() const { return m_fenster.data(); }

private:
    QPointer<QWidget> m_fenster;
};

// Shows fenster non-modally in front of oeffner, stacked above it where the
// window system knows such a relation. A window shown for the first time is
// centred over oeffner's window, unless it was placed already (moved, or
// centred on the screen below).
void nebenfensterZeigen(QWidget* fenster, QWidget* oeffner);

// Places fenster (at its present size) in the middle of the screen that shows
// bezug, or of the primary screen without one.
void aufBildschirmZentrieren(QWidget* fenster, const QWidget* bezug = nullptr);

// The common ground of the secondary windows: a window of its own with the
// program's icon that deletes itself when closed; however it closes (button,
// close box, Escape), the window that opened it takes input again. Strg+Q
// closes the window that opened it, the main window, which ends the program.
class EigenesFenster : public QWidget {
    Q_OBJECT
public:
    explicit EigenesFenster(QWidget* oeffner);

    // Shows the window non-modally in front of the one that opened it.
    void zeigen();

protected:
    QWidget* oeffner() const { return m_oeffner.data(); }
    // Gives input back; runs whenever the window closes.
    virtual void freigeben();
    void closeEvent(QCloseEvent*) override;
    void keyPressEvent(QKeyEvent*) override;

private:
    QPointer<QWidget> m_oeffner;
};
