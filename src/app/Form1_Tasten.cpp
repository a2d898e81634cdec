// Framing by keyboard: arrows move the placed frame by one view pixel (with Shift
// by ten), + and - make it one pixel wider or narrower around its centre. Each step
// ends like a release of the mouse; only while a held key repeats does the target
// chain wait until the key is let go or pauses, so that the frame moves smoothly.

#include "app/Form1.h"

#include "platform/Flaechen.h"
#include "platform/Fokusrahmen.h"

#include <QKeyEvent>
#include <QTimer>

bool Form1::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == picZiel) {
        switch (ereignis->type()) {
        case QEvent::KeyPress:
            if (picZiel_Taste(static_cast<QKeyEvent*>(ereignis)))
                return true;
            break;
        case QEvent::KeyRelease:
            picZiel_TasteLos(static_cast<QKeyEvent*>(ereignis));
            break;
        case QEvent::FocusIn: {
            // The focus frame is for keyboard users: it shows when Tab brought the
            // focus or a key was used here, not after a click to draw a frame.
            const Qt::FocusReason grund = static_cast<QFocusEvent*>(ereignis)->reason();
            if (grund == Qt::TabFocusReason || grund == Qt::BacktabFocusReason)
                m_fokusSichtbar = true;
            else if (grund == Qt::MouseFocusReason)
                m_fokusSichtbar = false;
            fokusrahmenZeigen();
            break;
        }
        case QEvent::FocusOut:
            fokusrahmenZeigen();
            break;
        case QEvent::MouseButtonPress:
            m_fokusSichtbar = false;
            fokusrahmenZeigen();
            break;
        default:
            break;
        }
    }
    return QWidget::eventFilter(objekt, ereignis);
}

void Form1::fokusrahmenZeigen()
{
    fokusrahmen->setVisible(picZiel->hasFocus() && m_fokusSichtbar);
    if (fokusrahmen->isVisible())
        fokusrahmen->raise();
}

bool Form1::picZiel_Taste(QKeyEvent* taste)
{
    // Shortcuts with Ctrl, Alt or Meta belong to others; so does the space bar.
    if (taste->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier))
        return false;
    const float schritt = (taste->modifiers() & Qt::ShiftModifier) ? 10 : 1;
    float dx = 0, dy = 0, dw = 0;
    switch (taste->key()) {
    case Qt::Key_Left: dx = -schritt; break;
    case Qt::Key_Right: dx = schritt; break;
    case Qt::Key_Up: dy = -schritt; break;
    case Qt::Key_Down: dy = schritt; break;
    case Qt::Key_Plus: dw = 1; break;
    case Qt::Key_Minus: dw = -1; break;
    default: return false;
    }
    // Without a frame the keys do nothing here.
    if (!m_rahmen.platziert())
        return false;
    m_fokusSichtbar = true;
    fokusrahmenZeigen();
    const bool geaendert = dw != 0 ? m_rahmen.tastenGroesse(dw) : m_rahmen.tastenSchieben(dx, dy);
    if (!geaendert)
        return true;
    rahmenZeigen();
    if (taste->isAutoRepeat()) {
        m_tastenKetteOffen = true;
        tastenTimer->start();
    } else {
        zielkette();
    }
    return true;
}

void Form1::picZiel_TasteLos(QKeyEvent* taste)
{
    // A held key repeats press and release; only letting it go ends the run.
    if (!taste->isAutoRepeat() && m_tastenKetteOffen)
        tastenketteAusfuehren();
}

void Form1::tastenketteAusfuehren()
{
    tastenTimer->stop();
    if (!m_tastenKetteOffen)
        return;
    m_tastenKetteOffen = false;
    // A frame discarded or taken by the mouse in the meantime has its own chain.
    if (m_rahmen.platziert())
        zielkette();
}
