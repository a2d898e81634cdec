#include "platform/Nebenfenster.h"

#include "platform/Programmsymbol.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QWindow>

void nebenfensterZeigen(QWidget* fenster, QWidget* oeffner)
{
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
