#pragma once

#include "app/Arbeitsstand.h"

// For tests and benchmarks only: how often the state ran each part of the target chain
// and took over a picture. The program itself never asks.
struct ArbeitsstandPruefung {
    using Zaehler = Arbeitsstand::Zaehler;
    static const Zaehler& zaehler(const Arbeitsstand& stand) { return stand.m_zaehler; }
};
