#include "selection/Auswahlrahmen.h"

#include "platform/Zahlen.h"

#include <cmath>

Auswahlrahmen::Auswahlrahmen()
{
    for (int h = 0; h < 4; ++h)
        griffe[h].cursor = groessenCursor(Griffname(h));
}

void Auswahlrahmen::setzeFlaechen(float ansichtB, float ansichtH, float aussenB, float aussenH, float quelleB, float quelleH)
{
    m_sw = ansichtB;
    m_sh = ansichtH;
    m_ow = aussenB;
    m_oh = aussenH;
    m_qw = quelleB;
    m_qh = quelleH;
}

void Auswahlrahmen::bewegen(float l, float t, float w, float h) { shape1 = {l, t, w, h}; }

void Auswahlrahmen::setzen(Griffname g, float l, float t)
{
    griffe[g].L = l;
    griffe[g].T = t;
    griffe[g].W = 6;
    griffe[g].H = 6;
}

Auswahlrahmen::Rechteck Auswahlrahmen::quellrechteck() const
{
    const float fx = m_qw / m_sw;
    const float fy = m_qh / m_sh;
    return {shape1.L * fx, shape1.T * fy, shape1.W * fx, shape1.H * fy};
}

Auswahlrahmen::Anzeige Auswahlrahmen::anzeigeFuer(const Rechteck& quelle)
{
    return {zahlen::RundeAnzeige(quelle.W), zahlen::RundeAnzeige(quelle.H)};
}

QString Auswahlrahmen::lblA() const
{
    if (!anzeige)
        return {};
    return QString::number(anzeige->breite) + QStringLiteral(" x ") + QString::number(anzeige->hoehe);
}

void Auswahlrahmen::quellrahmenAbgleichen()
{
    shape2 = quellrechteck();
    anzeige = anzeigeFuer(shape2);
}

void Auswahlrahmen::griffeSetzen()
{
    const float l = shape1.L, t = shape1.T, w = shape1.W, h = shape1.H;
    setzen(LO, l - 3, t - 3);
    setzen(RO, l + w - 3, t - 3);
    setzen(LU, l - 3, t + h - 3);
    setzen(RU, l + w - 3, t + h - 3);
}

bool Auswahlrahmen::rahmenEinpassen()
{
    const float ratio = verhaeltnisB / verhaeltnisH;
    const auto nachAenderung = [this] {
        griffeSetzen();
        quellrahmenAbgleichen();
    };

    // Bottom: the top-left corner stays.
    if (float(shape1.H + shape1.T) > m_sh) {
        const float h = m_sh - shape1.T;
        const float w = ratio * h;
        if (!(h > 0 && w > 0))
            return false;
        bewegen(shape1.L, shape1.T, w, h);
        nachAenderung();
    }
    // Right: the top-left corner stays.
    if (float(shape1.W + shape1.L) > m_sw) {
        const float w = m_sw - shape1.L;
        const float h = w / ratio;
        if (!(h > 0 && w > 0))
            return false;
        bewegen(shape1.L, shape1.T, w, h);
        nachAenderung();
    }
    // Top: the bottom-right corner stays.
    if (shape1.T < 0) {
        const float h = shape1.H - std::fabs(shape1.T);
        const float w = ratio * h;
        const float l = (shape1.L + shape1.W) - w;
        if (!(h > 0 && w > 0))
            return false;
        bewegen(l, 0, w, h);
        nachAenderung();
    }
    // Left: the bottom-right corner stays.
    if (shape1.L < 0) {
        const float w = shape1.W - std::fabs(shape1.L);
        const float h = w / ratio;
        const float t = (shape1.T + shape1.H) - h;
        if (!(h > 0 && w > 0))
            return false;
        bewegen(0, t, w, h);
        nachAenderung();
    }
    return true;
}

void Auswahlrahmen::inBildSchieben()
{
    if (shape1.L < 0)
        bewegen(0, shape1.T, shape1.W, shape1.H);
    if (shape1.T < 0)
        bewegen(shape1.L, 0, shape1.W, shape1.H);
    if (float(shape1.W + shape1.L) > m_sw)
        bewegen(m_sw - shape1.W, shape1.T, shape1.W, shape1.H);
    if (float(shape1.H + shape1.T) > m_sh)
        bewegen(shape1.L, m_sh - shape1.H, shape1.W, shape1.H);
}

void Auswahlrahmen::rahmenZurueckschieben()
{
    inBildSchieben();
    quellrahmenAbgleichen();
}

void Auswahlrahmen::druecken(Qt::MouseButton knopf, float x, float y)
{
    if (knopf != Qt::LeftButton)
        return;
    m_zeichnet = true;
    startX = x;
    startY = y;
    for (Griffname h : {LO, RO, LU, RU})
        griffe[h].sichtbar = false;
    bewegen(x, y, 1, 1);
    shape1Sichtbar = true;
    anzeige = Anzeige{};
}

void Auswahlrahmen::ziehen(Qt::MouseButtons knoepfe, float x, float y)
{
    if (knoepfe != Qt::LeftButton || !m_zeichnet)
        return;
    const float links = startX < x ? startX : x;
    const float oben = startY < y ? startY : y;
    const float breite = std::fabs(startX - x) + 1;
    const float hoehe = breite * verhaeltnisH / verhaeltnisB;
    bewegen(links, oben, breite, hoehe);
    quellrahmenAbgleichen();
}

Auswahlrahmen::Ergebnis Auswahlrahmen::loslassen(Qt::MouseButton knopf)
{
    if (knopf != Qt::LeftButton || !m_zeichnet)
        return Ergebnis::Nichts;
    m_zeichnet = false;
    griffeSetzen();
    if (!rahmenEinpassen()) {
        leeren();
        return Ergebnis::Leer;
    }
    griffeZeigen(true);
    return Ergebnis::Gesetzt;
}

void Auswahlrahmen::griffDruecken(Griffname h, Qt::MouseButton knopf, float x, float y)
{
    Griff& g = griffe[h];
    if (knopf == Qt::LeftButton)
        g.cursor = groessenCursor(h);
    else if (knopf == Qt::RightButton)
        g.cursor = Verschieben;
    g.griffX = x;
    g.griffY = y;
    g.gehalten = true;
}

void Auswahlrahmen::griffZiehen(Griffname h, Qt::MouseButtons knoepfe, float x, float y)
{
    if ((knoepfe != Qt::LeftButton && knoepfe != Qt::RightButton) || !griffe[h].gehalten)
        return;

    for (Griffname g : {RU, RO, LU, LO})
        griffe[g].sichtbar = false;

    Griff& g = griffe[h];
    g.L = g.L + x - g.griffX;
    g.T = g.T + y - g.griffY;
    const float hx = g.L + 3;
    const float hy = g.T + 3;

    if (knoepfe == Qt::LeftButton) {
        const auto ziehe = [this](Griffname n, float l, float t) {
            griffe[n].L = l;
            griffe[n].T = t;
        };
        switch (h) {
        case RU:
            ziehe(RO, griffe[RU].L, griffe[RO].T);
            ziehe(LU, griffe[LU].L, griffe[RU].T);
            break;
        case RO:
            ziehe(RU, griffe[RO].L, griffe[LU].T);
            ziehe(LO, griffe[LU].L, griffe[RO].T);
            break;
        case LU:
            ziehe(RU, griffe[RO].L, griffe[LU].T);
            ziehe(LO, griffe[LU].L, griffe[RO].T);
            break;
        case LO:
            ziehe(RO, griffe[RU].L, griffe[LO].T);
            ziehe(LU, griffe[LO].L, griffe[RU].T);
            break;
        }

        const float l = shape1.L, t = shape1.T;
        Rechteck neu;
        switch (h) {
        case RU: {
            const float w = hx - l;
            neu = {l, t, w, w * verhaeltnisH / verhaeltnisB};
            break;
        }
        case LU: {
            const float r = griffe[RO].L + 3;
            const float w = r - hx;
            neu = {hx, t, w, w * verhaeltnisH / verhaeltnisB};
            break;
        }
        case RO: {
            const float b = griffe[RU].T + 3;
            const float hh = b - hy;
            neu = {l, hy, hh * verhaeltnisB / verhaeltnisH, hh};
            break;
        }
        case LO: {
            const float r = griffe[RU].L + 3;
            const float b = griffe[RU].T + 3;
            const float hh = b - hy;
            const float w = hh * verhaeltnisB / verhaeltnisH;
            neu = {r - w, hy, w, hh};
            break;
        }
        }
        // Dragged past the kept corner: the frame keeps its last valid size.
        if (neu.W < 0 || neu.H < 0)
            return;
        shape1 = neu;
        quellrahmenAbgleichen();
    } else {
        const float w = shape1.W, hh = shape1.H;
        switch (h) {
        case RU: bewegen(hx - w, hy - hh, w, hh); break;
        case RO: bewegen(hx - w, hy, w, hh); break;
        case LU: bewegen(hx, hy - hh, w, hh); break;
        case LO: bewegen(hx, hy, w, hh); break;
        }
    }
}

Auswahlrahmen::Ergebnis Auswahlrahmen::griffLoslassen(Griffname h, Qt::MouseButton knopf)
{
    if (!griffe[h].gehalten)
        return Ergebnis::Nichts;
    if (knopf == Qt::LeftButton) {
        if (!rahmenEinpassen()) {
            leeren();
            return Ergebnis::Leer;
        }
        return Ergebnis::Gesetzt;
    }
    if (knopf == Qt::RightButton) {
        rahmenZurueckschieben();
        return Ergebnis::Gesetzt;
    }
    return Ergebnis::Nichts;
}

void Auswahlrahmen::griffLoslassenAbschliessen(Griffname h, Qt::MouseButtons noch)
{
    griffe[h].cursor = groessenCursor(h);
    griffe[h].gehalten = noch != Qt::NoButton;
    if (!shape1Sichtbar)
        return;
    griffeSetzen();
    griffeZeigen(true);
}

void Auswahlrahmen::ganzesBild()
{
    m_zeichnet = false;
    bewegen(0, 0, m_sw, m_sh);
    setzen(LO, -3, -3);
    setzen(LU, -3, m_oh - 3);
    setzen(RO, m_ow - 3, -3);
    setzen(RU, m_ow - 3, m_oh - 3);
    shape1Sichtbar = true;
    griffeZeigen(true);
}

bool Auswahlrahmen::platziert() const
{
    if (!shape1Sichtbar || m_zeichnet)
        return false;
    for (const Griff& g : griffe)
        if (!g.sichtbar || g.gehalten)
            return false;
    return true;
}

bool Auswahlrahmen::tastenAbschliessen(const Rechteck& vorher)
{
    // Kept inside as after moving it at a handle; the size stays.
    inBildSchieben();
    if (shape1 == vorher)
        return false;
    griffeSetzen();
    quellrahmenAbgleichen();
    return true;
}

bool Auswahlrahmen::tastenSchieben(float dx, float dy)
{
    if (!platziert())
        return false;
    const Rechteck vorher = shape1;
    bewegen(shape1.L + dx, shape1.T + dy, shape1.W, shape1.H);
    return tastenAbschliessen(vorher);
}

bool Auswahlrahmen::tastenGroesse(float dw)
{
    if (!platziert())
        return false;
    const float w = shape1.W + dw;
    const float h = w * verhaeltnisH / verhaeltnisB;
    if (!(w >= 1) || w > m_sw || h > m_sh)
        return false;
    const Rechteck vorher = shape1;
    const float mitteX = shape1.L + shape1.W / 2;
    const float mitteY = shape1.T + shape1.H / 2;
    bewegen(mitteX - w / 2, mitteY - h / 2, w, h);
    return tastenAbschliessen(vorher);
}

void Auswahlrahmen::griffeZeigen(bool sichtbar)
{
    for (Griffname g : {LO, RO, LU, RU})
        griffe[g].sichtbar = sichtbar;
}

void Auswahlrahmen::verbergen()
{
    m_zeichnet = false;
    shape1Sichtbar = false;
    griffeZeigen(false);
}

void Auswahlrahmen::leeren()
{
    verbergen();
    anzeige.reset();
}

void Auswahlrahmen::zuruecksetzen()
{
    shape1Sichtbar = false;
    bewegen(shape1.L, shape1.T, 1, 1);
    griffeZeigen(false);
    m_zeichnet = false;
    anzeige.reset();
}
