#pragma once

#include <QString>
#include <QStringList>

#include <cstdint>

// The entries of the three lists that the main window and the preferences
// dialog share (aspect ratios, frame colours, target sizes), as values.
namespace listen {

struct Seitenverhaeltnis {
    const char* eintrag;
    float breite; // verhaeltnisB
    float hoehe;  // verhaeltnisH
};

// Indexes 0 to 5, in list order.
constexpr int anzahlSeitenverhaeltnisse = 6;
// The ratio of an index, or nullptr when the index has no entry.
const Seitenverhaeltnis* seitenverhaeltnis(int index);
QStringList seitenverhaeltnisEintraege();

// Colour entries with one blank before and after, indexes 0 to 7.
QStringList farbEintraege();
// The colour of an index as 0xRRGGBB; black when the index has no entry.
std::uint32_t farbwert(int index);

// "benutzerdefiniert", then the ratio parts times 20, 30, 40, 200, 300 and 400.
QStringList groessenEintraege(float breite, float hoehe);
// The multiplier of a row of the size list; 0 for "benutzerdefiniert" and rows it does not have.
int groessenFaktor(int zeile);

// The height that belongs to a width at the ratio parts: the whole-number part
// of width / width part, times the height part (1000 at 16:9 gives 62 x 9 = 558).
double hoeheZurBreite(double breite, float verhaeltnisB, float verhaeltnisH);

} // namespace listen
