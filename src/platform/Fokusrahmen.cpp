#include "platform/Fokusrahmen.h"

#include <QEvent>
#include <QPainter>

Fokusrahmen::Fokusrahmen(QWidget* flaeche)
    : QWidget(flaeche)
{
    setObjectName(QStringLiteral("Fokusrahmen"));
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setFocusPolicy(Qt::NoFocus);
    setGeometry(flaeche->rect());
    flaeche->installEventFilter(this);
    hide();
}

bool Fokusrahmen::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == parent() && ereignis->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return false;
}

void Fokusrahmen::paintEvent(QPaintEvent*)
{
    QPainter maler(this);
    const QRectF rand = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    maler.setPen(QPen(Qt::white, 1));
    maler.drawRect(rand);
    QPen strich(Qt::black, 1, Qt::DashLine);
    maler.setPen(strich);
    maler.drawRect(rand);
    maler.setPen(QPen(Qt::white, 1));
    maler.drawRect(rand.adjusted(1, 1, -1, -1));
}
