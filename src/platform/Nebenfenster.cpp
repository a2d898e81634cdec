#include "platform/Nebenfenster.h"

#include "platform/Fensterlage.h"
#include "platform/Programmsymbol.h"

#include <QCloseEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QScreen>
#include <QShortcut>
#include <QWindow>

namespace {

const QScreen* bildschirmVon(const QWidget* fenster)
{
    const QScreen* bildschirm = fenster ? fenster->screen() : nullptr;
    return bildschirm ? bildschirm : QGuiApplication::primaryScreen();
}

// The frame of the window system is taken to be as thick as the reference's,
// so that the frames, not only the insides, line up.
void zentrieren(QWidget* fenster, const QRect& bezug, const QWidget* bezugFenster)
{
    const QScreen* bildschirm = bildschirmVon(bezugFenster);
    if (!bildschirm)
        return;
    const QMargins rahmen = bezugFenster ? fensterrahmen(bezugFenster) : QMargins();
    fenster->setGeometry(zentriertUeber(fenster->size(), bezug, bildschirm->availableGeometry(), rahmen));
}

} // namespace

void aufBildschirmZentrieren(QWidget* fenster, const QWidget* bezug)
{
    const QWidget* bezugFenster = bezug ? bezug->window() : nullptr;
    if (const QScreen* bildschirm = bildschirmVon(bezugFenster))
        zentrieren(fenster, bildschirm->availableGeometry(), bezugFenster);
}

void nebenfensterZeigen(QWidget* fenster, QWidget* oeffner)
{
    if (oeffner && !fenster->isVisible() && !fenster->testAttribute(Qt::WA_Moved))
        zentrieren(fenster, oeffner->window()->geometry(), oeffner->window());
    if (oeffner && oeffner->window()->windowHandle()) {
        fenster->winId(); // creates the native window, so that it can be given its stacking parent
        fenster->windowHandle()->setTransientParent(oeffner->window()->windowHandle());
    }
    fenster->show();
    fenster->raise();
    fenster->activateWindow();
}

EigenesFenster::EigenesFenster(QWidget* oeffner)
    : QWidget(nullptr, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
    , m_oeffner(oeffner)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowIcon(programmSymbol());
    // Strg+Q ends the program from here too: closing the main window takes every window with it.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Q), this), &QShortcut::activated, this, [this] {
        if (m_oeffner)
            m_oeffner->window()->close();
    });
}

void EigenesFenster::zeigen() { nebenfensterZeigen(this, m_oeffner); }

void EigenesFenster::freigeben()
{
    if (m_oeffner)
        m_oeffner->setEnabled(true);
}

void EigenesFenster::closeEvent(QCloseEvent* e)
{
    freigeben();
    e->accept();
}

void EigenesFenster::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape)
        close();
    else
        QWidget::keyPressEvent(e);
}
