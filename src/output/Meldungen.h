#pragma once

#include <QString>

struct Ladeergebnis;
struct Speicherfehler;

// The words for what the JPEG code reports as status values.

// Why a file could not be loaded: one sentence, as it follows the load message.
QString ladefehlerText(const Ladeergebnis& ergebnis);

// "150,01": a number of megapixels above the limit, with as many decimals as it takes
// to differ from the limit.
QString megapixelText(qint64 pixel, qint64 grenze);

// Why a save failed, in plain German.
QString speicherfehlerText(const Speicherfehler& fehler);
// The reason of a failed write (an errno value); datei names what was written to.
QString speicherfehlerText(int fehlernummer, const QString& datei);

// After "beste < 100 KB" set a quality below untergrenze, the lowest value of the
// quality arrows: the picture will look poor, a smaller target size would look better.
// Empty from untergrenze up, and for 0 (nothing passes, which has its own message).
QString schwacheQualitaetHinweis(int qualitaet, int untergrenze);

// The message of a JPEG service status number; "Unknown GDI+ Error." for anything not
// listed (also 0).
QString GdipFehlertext(int status);
