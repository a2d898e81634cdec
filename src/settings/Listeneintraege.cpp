#include "settings/Listeneintraege.h"

#include "platform/Zahlen.h"

namespace listen {

namespace {
const Seitenverhaeltnis verhaeltnisse[anzahlSeitenverhaeltnisse] = {
    {"3:2 (Quer)", 3, 2},  {"2:3 (Hoch)", 2, 3},   {"4:3 (Quer)", 4, 3},
    {"3:4 (Hoch)", 3, 4},  {"16:9 (Quer)", 16, 9}, {"9:16 (Hoch)", 9, 16},
};

struct Farbe {
    const char* eintrag;
    std::uint32_t rgb;
};
const Farbe farben[] = {
    {" weiß ", 0xFFFFFF}, {" schwarz ", 0x000000}, {" gelb ", 0xFFFF00}, {" rot ", 0xFF0000},
    {" grün ", 0x00FF00}, {" blau ", 0x0000FF},    {" cyan ", 0x00FFFF}, {" magenta ", 0xFF00FF},
};
constexpr int anzahlFarben = int(sizeof farben / sizeof farben[0]);

const int multiplikatoren[] = {20, 30, 40, 200, 300, 400};
constexpr int anzahlGroessen = int(sizeof multiplikatoren / sizeof multiplikatoren[0]);
} // namespace

const Seitenverhaeltnis* seitenverhaeltnis(int index)
{
    return index >= 0 && index < anzahlSeitenverhaeltnisse ? &verhaeltnisse[index] : nullptr;
}

QStringList seitenverhaeltnisEintraege()
{
    QStringList eintraege;
    for (const Seitenverhaeltnis& v : verhaeltnisse)
        eintraege << QString::fromUtf8(v.eintrag);
    return eintraege;
}

QStringList farbEintraege()
{
    QStringList eintraege;
    for (const Farbe& f : farben)
        eintraege << QString::fromUtf8(f.eintrag);
    return eintraege;
}

std::uint32_t farbwert(int index) { return index >= 0 && index < anzahlFarben ? farben[index].rgb : 0x000000; }

QStringList groessenEintraege(float breite, float hoehe)
{
    QStringList eintraege{QStringLiteral("benutzerdefiniert")};
    for (int faktor : multiplikatoren)
        eintraege << zahlen::Kurz(breite * float(faktor)) + QStringLiteral(" x ") + zahlen::Kurz(hoehe * float(faktor));
    return eintraege;
}

int groessenFaktor(int zeile) { return zeile >= 1 && zeile <= anzahlGroessen ? multiplikatoren[zeile - 1] : 0; }

double hoeheZurBreite(double breite, float verhaeltnisB, float verhaeltnisH)
{
    return zahlen::Ganz(breite / double(verhaeltnisB)) * double(verhaeltnisH);
}

} // namespace listen
