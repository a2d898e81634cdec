#include "platform/Programmsymbol.h"

#include <QPainter>
#include <QSvgRenderer>

// The resource lives in a static library; without this call the linker may drop it.
static void symbolRessourceLaden()
{
    Q_INIT_RESOURCE(programmsymbol);
}

QPixmap programmSymbolBild(int kante)
{
    static const bool geladen = (symbolRessourceLaden(), true);
    Q_UNUSED(geladen);
    QPixmap bild(kante, kante);
    bild.fill(Qt::transparent);
    QSvgRenderer zeichner(QStringLiteral(":/fotoschliff/fotoschliff.svg"));
    if (zeichner.isValid()) {
        QPainter maler(&bild);
        maler.setRenderHint(QPainter::Antialiasing);
        zeichner.render(&maler, QRectF(0, 0, kante, kante));
    }
    return bild;
}

QIcon programmSymbol()
{
    // Drawn at the sizes title bars and task bars ask for, so that no
    // icon-engine plugin is needed at run time. Not kept in a static: pixmaps
    // must not outlive the application object.
    QIcon symbol;
    for (int kante : {16, 24, 32, 48, 64, 128, 256})
        symbol.addPixmap(programmSymbolBild(kante));
    return symbol;
}
