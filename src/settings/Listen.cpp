#include "settings/Listen.h"

#include "platform/Steuerelemente.h"
#include "platform/Zahlen.h"

namespace listen {

QColor farbe(int index) { return QColor(QRgb(farbwert(index))); }

void groesseGewaehlt(const Liste& liste, TextFeld& breite, QLineEdit& hoehe, UpDown& drehknopf)
{
    const int index = liste.ListIndex();
    const bool eigene = index == 0;
    breite.setEnabled(eigene);
    hoehe.setEnabled(eigene);
    drehknopf.setEnabled(eigene);
    if (eigene || index < 0)
        return;
    const double wert = zahlen::Val(liste.eintrag(index));
    breite.setzeText(zahlen::Kurz(wert));
    drehknopf.setzeWert(int(zahlen::RundeGerade(wert)));
}

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

void groessenFuellen(Liste& liste, float breite, float hoehe)
{
    liste.leeren();
    for (const QString& eintrag : groessenEintraege(breite, hoehe))
        liste.hinzufuegen(eintrag);
}

} // namespace listen
