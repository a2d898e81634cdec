#pragma once

#include <QString>
#include <QStringView>

// The classic number rules every box and read-out of the program follows.
namespace zahlen {

// Leading number of a text: leading blanks are skipped, "." is the only decimal
// separator, reading stops at the first other character; no number gives 0.
// "99,9 KB" reads 99, "1200 x 800" reads 1200, " -12.5px" reads -12.5.
double Val(QStringView text);

// Shortest decimal form without blanks, "." as separator: 600, 92.5, 40.66667
// (significant digits as the type carries: 15 for double, 7 for single).
QString Kurz(double wert);
QString Kurz(float wert);

// Conversion to a whole number, halves to even: 92.5 -> 92, 93.5 -> 94.
long long RundeGerade(double wert);

// Whole-number part, rounding down: 2.7 -> 2, -2.5 -> -3.
double Ganz(double wert);

// Read-out rounding of sizes: halves round up (599.5 -> 600, 599.49 -> 599).
long long RundeAnzeige(float wert);

} // namespace zahlen
