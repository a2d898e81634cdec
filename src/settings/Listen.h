#pragma once

#include "settings/Listeneintraege.h"

#include <QColor>

class Liste;
class QLineEdit;
class TextFeld;
class UpDown;

// The shared lists as the windows show them.
namespace listen {

// The colour of an index; black when the index has no entry.
QColor farbe(int index);

// A row of the size list chosen: "benutzerdefiniert" switches the width and
// height boxes and the width's spin control on; a preset switches them off and
// writes its width into the width box, whose change handling then runs.
void groesseGewaehlt(const Liste& liste, TextFeld& breite, QLineEdit& hoehe, UpDown& drehknopf);

void seitenverhaeltnisseFuellen(Liste& liste);
void farbenFuellen(Liste& liste);
void groessenFuellen(Liste& liste, float breite, float hoehe);

} // namespace listen
