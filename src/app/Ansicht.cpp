#include "app/Ansicht.h"

QString Ansichtsmass::beschriftung() const
{
    return originalgroesse ? QStringLiteral("Originalgröße") : QStringLiteral("verkleinert");
}

Ansichtsmass ansichtBerechnen(float quelleB, float quelleH, float flaecheB, float flaecheH)
{
    Ansichtsmass m;
    const float r = quelleB / quelleH;
    if (quelleB < flaecheB && quelleH < flaecheH) {
        if (r > 1) {
            m.breite = quelleB;
            m.hoehe = quelleB / r;
        } else {
            m.hoehe = quelleH;
            m.breite = quelleH * r;
        }
        m.malBreite = quelleB;
        m.malHoehe = quelleH;
        m.originalgroesse = true;
    } else {
        if (r > 1) {
            m.breite = flaecheB;
            m.hoehe = m.breite / r;
        } else {
            m.hoehe = flaecheH;
            m.breite = m.hoehe * r;
        }
        m.malBreite = m.breite;
        m.malHoehe = m.hoehe;
    }
    return m;
}
