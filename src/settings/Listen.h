#pragma once

#include <QColor>
#include <QString>
#include <QStringList>

class Liste;
class QLineEdit;
class TextFeld;
class UpDown;

// The entries of the three lists that the main window and the preferences
// dialog share: aspect ratios, frame colours and target sizes.
namespace listen {

struct Seitenverhaeltnis {
    const char* eintrag;
    float breite; // verhaeltnisB
    float hoehe;  // verhaeltnisH
};

// Indexes 0 to 5, in list order.
const Seitenverhaeltnis* seitenverhaeltnisse();
constexpr int anzahlSeitenverhaeltnisse = 6;
// The ratio of an index, or nullptr when the index has no entry.
const Seitenverhaeltnis* seitenverhaeltnis(int index);

// Colour entries with one blank before and after, indexes 0 to 7.
QStringList farbEintraege();
// The colour of an index; black when the index has no entry.
QColor farbe(int index);

// "benutzerdefiniert", then the ratio parts times 20, 30, 40, 200, 300 and 400.
QStringList groessenEintraege(float breite, float hoehe);

// The height that belongs to a width at the ratio parts: the whole-number part
// of width / width part, times the height part (1000 at 16:9 gives 62 x 9 = 558).
double hoeheZurBreite(double breite, float verhaeltnisB, float verhaeltnisH);

// A row of the size list chosen: "benutzerdefiniert" switches the width and
// height boxes and the width's spin control on; a preset switches them off and
// writes its width into the width box, whose change handling then runs.
void groesseGewaehlt(const Liste& liste, TextFeld& breite, QLineEdit& hoehe, UpDown& drehknopf);

void seitenverhaeltnisseFuellen(Liste& liste);
void farbenFuellen(Liste& liste);
void groessenFuellen(Liste& liste, float breite, float hoehe);

} // namespace listen
