// Framing by keyboard on the picture area, which takes the keys after Tab or a
// click; the state knows the keys and moves the frame. The window shows the
// focus frame and keeps the pause after which a held key's chain runs. Keys that
// no control uses reach the window: paging through the folder's photos.

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

void Form1::keyPressEvent(QKeyEvent* taste)
{
    // Reaches the window only when the control with the focus has no use for the key:
    // a list keeps Bild↓ / Bild↑ for its own entries.
    const Qt::KeyboardModifiers mod = taste->modifiers() & ~Qt::KeypadModifier;
    if (mod == Qt::NoModifier && (taste->key() == Qt::Key_PageDown || taste->key() == Qt::Key_PageUp)) {
        naechstesBild(taste->key() == Qt::Key_PageDown ? +1 : -1);
        return;
    }
    QWidget::keyPressEvent(taste);
}

void Form1::fokusrahmenZeigen()
{
    fokusrahmen->setVisible(picZiel->hasFocus() && m_fokusSichtbar);
    if (fokusrahmen->isVisible())
        fokusrahmen->raise();
}

bool Form1::picZiel_Taste(QKeyEvent* taste)
{
    // Without a frame the keys do nothing here, and other keys belong to others.
    const auto schritt = Arbeitsstand::rahmenschritt(taste->key(), taste->modifiers());
    if (!schritt || !m_stand.rahmen().platziert())
        return false;
    m_fokusSichtbar = true;
    fokusrahmenZeigen();
    // While a key repeats, the chain waits for a pause after its last step.
    if (m_stand.rahmenTaste(*schritt, taste->isAutoRepeat()) && m_stand.tastenketteOffen())
        tastenTimer->start();
    anzeigen();
    return true;
}

void Form1::picZiel_TasteLos(QKeyEvent* taste)
{
    // A held key repeats press and release; only letting it go ends the run.
    if (!taste->isAutoRepeat() && m_stand.tastenketteOffen())
        tastenketteAusfuehren();
}

void Form1::tastenketteAusfuehren()
{
    tastenTimer->stop();
    m_stand.tastenketteAusfuehren();
    anzeigen();
}
