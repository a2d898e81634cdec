#pragma once

#include <QString>

// The file name the save dialog proposes: 0 none ("*.jpg"), 1 the name last
// chosen in the dialog, 2 that name without its last four characters, then
// the suffix and ".jpg" (IMG_1234.JPG with "_lf" gives IMG_1234_lf.jpg).
// Any other mode keeps what the dialog had: the result is then null.
QString dateinameVorschlag(int vorschlag, const QString& dateititel, const QString& anhang);

// The reminder shown before publishing.
QString fundortErinnerung();

// What publishing says when no browser opens the forum at adresse.
QString browserFehlt(const QString& adresse);

// Why publishing leaves the clipboard alone: pfad cannot be written as text.
QString pfadNichtWeitergebbar(const QString& pfad);
