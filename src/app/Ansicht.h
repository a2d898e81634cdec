#pragma once

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
