#include "settings/Listen.h"

#include "platform/Steuerelemente.h"

namespace listen {

QColor farbe(int index) { return QColor(QRgb(farbwert(index))); }

void seitenverhaeltnisseFuellen(Liste& liste)
{
    liste.leeren();
    for (const QString& eintrag : seitenverhaeltnisEintraege())
        liste.hinzufuegen(eintrag);
}

void farbenFuellen(Liste& liste)
{
    liste.leeren();
    for (const QString& eintrag : farbEintraege())
        liste.hinzufuegen(eintrag);
}

} // namespace listen
