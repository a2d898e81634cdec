#pragma once

#include <QString>
#include <QStringList>

// Paging through the photos of a folder, and the folders the open dialog offers again.

// Whether a file name names a JPEG, as the open dialog lists them: .jpg or .jpeg in any case.
bool istJpegName(const QString& name);

// The JPEG names among namen, in the order a German file manager shows them: case
// ignored, umlauts beside their base letters, numbers by their value (IMG_9 before IMG_10).
QStringList jpegReihenfolge(const QStringList& namen);

// The name after (richtung +1) or before (-1) name in the ordered list; name itself
// need not be in it any longer. "" at either end.
QString nachbarName(const QStringList& geordnet, const QString& name, int richtung);

// The JPEG file of pfad's folder after or before pfad; "" at either end.
QString nachbarJpeg(const QString& pfad, int richtung);

// The recently used folders with ordner in front, each once, at most hoechstens of them.
QStringList ordnerVerlauf(QStringList bisher, const QString& ordner, int hoechstens = 8);

// The open dialog's recent folders, kept in the configuration file.
QStringList ordnerVerlaufLaden();
void ordnerVerlaufMerken(const QString& ordner);
