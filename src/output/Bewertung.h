#pragma once

#include <QString>

// Judging source and target against the forum's limits: long side 450 to 900
// pixels, file below 100 KB. Both judge the read-out texts as shown, reading
// each number by its leading digits, so a German "99,9 KB" counts as 99.
namespace bewertung {

inline const QString OK = QStringLiteral("OK");

struct Quelle {
    QString masse;   // "OK", "zu groß" or "zu klein"
    QString groesse; // "OK" or "zu groß"
    bool geeignet() const { return masse == OK && groesse == OK; }
};
// lblQ: "width x height"; lblQKB: the file's size text.
Quelle quelle(const QString& abmessungen, const QString& dateigroesse);

struct Ziel {
    QString masse, masseMassnahme;
    QString auswahl, auswahlMassnahme; // both empty when there is no selection
    QString groesse, groesseMassnahme;
    bool masseOk = false, auswahlOk = false, groesseOk = false;
    bool geeignet() const { return masseOk && auswahlOk && groesseOk; }
};
// The size verdict alone: the size read-out is in KB and its number below 100.
bool groesseOk(const QString& groesse);

// The width and height boxes, the selection read-out and the size read-out of step 5.
Ziel ziel(const QString& breite, const QString& hoehe, const QString& auswahl, const QString& groesse);

} // namespace bewertung
