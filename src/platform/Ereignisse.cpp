#include "platform/Ereignisse.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>

#include <memory>
#include <vector>

namespace {

bool istEingabe(QEvent::Type typ)
{
    switch (typ) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::Wheel:
    case QEvent::TouchBegin:
    case QEvent::TouchUpdate:
    case QEvent::TouchEnd:
        return true;
    default:
        return false;
    }
}

// Input from the window system already waits in its own queue during the pass;
// this also holds back input that was posted to the event queue.
class Eingabesperre : public QObject {
public:
    Eingabesperre() { QCoreApplication::instance()->installEventFilter(this); }
    ~Eingabesperre() override
    {
        QCoreApplication::instance()->removeEventFilter(this);
        for (auto& [empfaenger, ereignis] : m_aufgeschoben)
            if (empfaenger)
                QCoreApplication::postEvent(empfaenger, ereignis.release());
    }

protected:
    bool eventFilter(QObject* empfaenger, QEvent* ereignis) override
    {
        if (!istEingabe(ereignis->type()))
            return false;
        m_aufgeschoben.emplace_back(empfaenger, std::unique_ptr<QEvent>(ereignis->clone()));
        return true;
    }

private:
    std::vector<std::pair<QPointer<QObject>, std::unique_ptr<QEvent>>> m_aufgeschoben;
};

} // namespace

void ausstehendeEreignisseOhneEingabe()
{
    if (!QCoreApplication::instance())
        return;
    Eingabesperre sperre;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}
