#pragma once

#include "settings/Listeneintraege.h"

#include <QColor>

class Liste;

// The shared lists as the windows show them.
namespace listen {

// The colour of an index; black when the index has no entry.
QColor farbe(int index);

void seitenverhaeltnisseFuellen(Liste& liste);
void farbenFuellen(Liste& liste);

} // namespace listen
