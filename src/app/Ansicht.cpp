#include "app/Ansicht.h"

#include <QtMath>

#include <algorithm>

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

Vorschaumass vorschauEinpassen(QSize datei, QSizeF flaeche, qreal pixelVerhaeltnis)
{
    Vorschaumass m;
    m.pixel = datei;
    const qreal b = std::floor(flaeche.width() * pixelVerhaeltnis);
    const qreal h = std::floor(flaeche.height() * pixelVerhaeltnis);
    if (datei.isEmpty() || b < 1 || h < 1 || (datei.width() <= b && datei.height() <= h)) {
        m.groesse = QSizeF(datei) / pixelVerhaeltnis;
        return m;
    }
    // The side that fills the area first sets the scale; the other follows, rounded.
    const qreal faktor = std::min(b / datei.width(), h / datei.height());
    if (b / datei.width() <= h / datei.height())
        m.pixel = QSize(int(b), std::max(1, qRound(datei.height() * b / datei.width())));
    else
        m.pixel = QSize(std::max(1, qRound(datei.width() * h / datei.height())), int(h));
    m.groesse = QSizeF(m.pixel) / pixelVerhaeltnis;
    m.prozent = std::clamp(qRound(faktor * 100), 1, 99);
    return m;
}

QString vorschauBeschriftung(int prozent) { return QStringLiteral("JPEG-Datei %1 %").arg(prozent); }
