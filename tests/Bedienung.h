#pragma once

#include "platform/Steuerelemente.h"

#include <QLineEdit>
#include <QStringList>
#include <QTest>

// A box's text replaced by typing, as the user does it.
inline void eintippen(QLineEdit* feld, const QString& text)
{
    feld->selectAll();
    QTest::keyClicks(feld, text);
}

inline QStringList eintraege(const Liste* liste)
{
    QStringList e;
    for (int i = 0; i < liste->count(); ++i)
        e << liste->itemText(i);
    return e;
}
