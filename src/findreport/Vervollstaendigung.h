#pragma once

#include <QString>

#include <optional>

// Completion of country, state and canton names while they are typed.
namespace vervollstaendigung {

struct Treffer {
    QString getippt; // the typed text that matched
    QString name;    // the name it completes to
};

// The whole text is compared, case counting, with the typed texts of the
// country table ("D", "Ö", "S"), in table order.
std::optional<Treffer> land(const QString& text);

// The same with the states of Germany or Austria or the cantons of
// Switzerland, chosen by the country's exact name; any other country
// completes nothing.
std::optional<Treffer> bundesland(const QString& land, const QString& text);

} // namespace vervollstaendigung
