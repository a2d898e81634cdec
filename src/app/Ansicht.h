#pragma once

#include <QSize>
#include <QSizeF>
#include <QString>

// How the view shows a picture in the picture area: at its own size when it
// fits (equality counts as not fitting), else reduced to the area's width
// (landscape and square) or height (portrait). The branch depends on the
// picture's ratio alone, so a reduced view may reach beyond the area.
struct Ansichtsmass {
    float breite = 0, hoehe = 0;       // the view's outer size; without a border also its drawing area
    float malBreite = 0, malHoehe = 0; // the size the picture is painted at
    bool originalgroesse = false;
    QString beschriftung() const;
};

Ansichtsmass ansichtBerechnen(float quelleB, float quelleH, float flaecheB, float flaecheH);

// The JPEG file shown whole in the picture area (flaeche, in window pixels) on a screen
// of the given device pixel ratio: at 100 % (one file pixel on one device pixel) when it
// fits, else reduced to fit, never enlarged. Counted in device pixels, so that the
// reduced copy is painted sharp.
struct Vorschaumass {
    QSize pixel;    // the device pixels the file is painted at
    QSizeF groesse; // the same in window pixels
    int prozent = 100; // device pixels per file pixel; 100 only when it is whole
    bool operator==(const Vorschaumass&) const = default;
};
Vorschaumass vorschauEinpassen(QSize datei, QSizeF flaeche, qreal pixelVerhaeltnis);
// What the view read-out says while the JPEG file is shown: "JPEG-Datei 90 %".
QString vorschauBeschriftung(int prozent);
