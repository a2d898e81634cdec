#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// Judging source and target against the forum's limits: long side 450 to 900
// pixels, file below 100 KB. The numbers are those the read-outs show, and a
// size counts as the size text reads: a German "99,9 KB" as 99, "100,0 KB" as 100.
namespace bewertung {

inline const QString OK = QStringLiteral("OK");

// The size verdict on a byte count: its size text is in KB and reads below 100,
// whatever the locale's decimal separator. 102348 bytes pass ("99,9 KB"), 102349
// do not ("100,0 KB"), and nothing in MB does.
bool groesseOk(qint64 bytes);

struct Quelle {
    QString masse;   // "OK", "zu groß" or "zu klein"
    QString groesse; // "OK" or "zu groß"
    bool masseOk = false, groesseOk = false;
    bool geeignet() const { return masseOk && groesseOk; }
};
// The loaded picture's width and height in pixels and its file's bytes.
Quelle quelle(double breite, double hoehe, qint64 bytes);

struct Ziel {
    QString masse, masseMassnahme;
    QString auswahl, auswahlMassnahme; // both empty when there is no selection
    QString groesse, groesseMassnahme;
    bool masseOk = false, auswahlOk = false, groesseOk = false;
    bool geeignet() const { return masseOk && auswahlOk && groesseOk; }
};
// The target's width and height (the numbers in the width and height boxes), the
// selection's width in source pixels as its read-out shows it (none, or 0, when
// there is no selection), and the bytes whose size text step 5 shows (none while
// it shows nothing).
Ziel ziel(double breite, double hoehe, std::optional<long long> auswahl, std::optional<qint64> bytes);

} // namespace bewertung
