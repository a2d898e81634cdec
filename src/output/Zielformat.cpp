#include "output/Zielformat.h"

QString GroessenText(qint64 bytes, const QLocale& gebietsschema)
{
    const qint64 einheit = bytes < 1024LL * 1024 ? 1024 : 1024LL * 1024;
    // Tenths, rounded half up in whole numbers so that no binary fraction can tip a limit.
    const qint64 zehntel = (std::max<qint64>(bytes, 0) * 10 + einheit / 2) / einheit;
    const qint64 ganz = zehntel / 10;
    QString text = ganz > 0 ? QString::number(ganz) : QString();
    text += gebietsschema.decimalPoint();
    text += QString::number(zehntel % 10);
    text += einheit == 1024 ? QStringLiteral(" KB") : QStringLiteral(" MB");
    return text;
}
