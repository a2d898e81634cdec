#pragma once

#include <QString>

// The explanations behind the main window's fifteen "?" buttons.
struct HilfeEintrag {
    QString titel;
    QString text;
};

constexpr int anzahlHilfeTexte = 15;

// Title and text of the "?" button with this index; an index outside 0..14
// gives an empty title and an empty text. Index 0 is also the start message.
HilfeEintrag hilfeText(int index);
