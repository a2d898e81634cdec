#include "settings/Listen.h"

#include "platform/Steuerelemente.h"
#include "platform/Zahlen.h"

namespace listen {

namespace {
const Seitenverhaeltnis verhaeltnisse[anzahlSeitenverhaeltnisse] = {
    {"3:2 (Quer)", 3, 2},  {"2:3 (Hoch)", 2, 3},   {"4:3 (Quer)", 4, 3},
    {"3:4 (Hoch)", 3, 4},  {"16:9 (Quer)", 16, 9}, {"9:16 (Hoch)", 9, 16},
};

struct Farbe {
    const char* eintrag;
    QRgb rgb;
};
const Farbe farben[] = {
    {" weiß ", 0xFFFFFF}, {" schwarz ", 0x000000}, {" gelb ", 0xFFFF00}, {" rot ", 0xFF0000},
    {" grün ", 0x00FF00}, {" blau ", 0x0000FF},    {" cyan ", 0x00FFFF}, {" magenta ", 0xFF00FF},
};
constexpr int anzahlFarben = int(sizeof farben / sizeof farben[0]);

const int multiplikatoren[] = {20, 30, 40, 200, 300, 400};
} // namespace

const Seitenverhaeltnis* seitenverhaeltnisse() { return verhaeltnisse; }

const Seitenverhaeltnis* seitenverhaeltnis(int index)
{
    return index >= 0 && index < anzahlSeitenverhaeltnisse ? &verhaeltnisse[index] : nullptr;
}

QStringList farbEintraege()
{
    QStringList eintraege;
    for (const Farbe& f : farben)
        eintraege << QString::fromUtf8(f.eintrag);
    return eintraege;
}

QColor farbe(int index)
{
    return index >= 0 && index < anzahlFarben ? QColor(farben[index].rgb) : QColor(Qt::black);
}

QStringList groessenEintraege(float breite, float hoehe)
{
    QStringList eintraege{QStringLiteral("benutzerdefiniert")};
    for (int faktor : multiplikatoren)
        eintraege << zahlen::Kurz(breite * float(faktor)) + QStringLiteral(" x ") + zahlen::Kurz(hoehe * float(faktor));
    return eintraege;
}

double hoeheZurBreite(double breite, float verhaeltnisB, float verhaeltnisH)
{
    return zahlen::Ganz(breite / double(verhaeltnisB)) * double(verhaeltnisH);
}

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
    for (const Seitenverhaeltnis& v : verhaeltnisse)
        liste.hinzufuegen(QString::fromUtf8(v.eintrag));
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
