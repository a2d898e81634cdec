#include "platform/Nebenfenster.h"

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
