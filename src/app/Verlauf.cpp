#include "app/Verlauf.h"

namespace {

// What makes a step: the frame, the picture on show and the crop's buttons.
bool gleich(const Schnappschuss& a, const Schnappschuss& b)
{
    return a.rahmen.shape1 == b.rahmen.shape1 && a.rahmen.shape1Sichtbar == b.rahmen.shape1Sichtbar &&
           a.zuschnittGezeigt == b.zuschnittGezeigt && a.ziel.Command1 == b.ziel.Command1 && a.ziel.Command2 == b.ziel.Command2;
}

std::optional<Verlauf::Ziel> gehen(std::deque<Schnappschuss>& von, std::deque<Schnappschuss>& nach, Schnappschuss jetzt)
{
    Verlauf::Ziel ziel{std::move(von.back()), false};
    von.pop_back();
    // Measured for another size or quality: the chain measures for those of now.
    const Schnappschuss& s = ziel.schritt;
    ziel.kette = s.breite != jetzt.breite || s.hoehe != jetzt.hoehe || s.qualitaet != jetzt.qualitaet;
    nach.push_back(std::move(jetzt));
    return ziel;
}

} // namespace

void Verlauf::abschliessen(const Schnappschuss& jetzt)
{
    if (!m_begonnen)
        return;
    if (!gleich(*m_begonnen, jetzt)) {
        m_zurueck.push_back(std::move(*m_begonnen));
        if (int(m_zurueck.size()) > tiefe)
            m_zurueck.pop_front();
        m_vor.clear();
    }
    m_begonnen.reset();
}

void Verlauf::leeren()
{
    m_zurueck.clear();
    m_vor.clear();
    m_begonnen.reset();
}

std::optional<Verlauf::Ziel> Verlauf::zurueckgehen(Schnappschuss jetzt)
{
    if (!kannZurueck())
        return std::nullopt;
    return gehen(m_zurueck, m_vor, std::move(jetzt));
}

std::optional<Verlauf::Ziel> Verlauf::vorgehen(Schnappschuss jetzt)
{
    if (!kannVor())
        return std::nullopt;
    return gehen(m_vor, m_zurueck, std::move(jetzt));
}
