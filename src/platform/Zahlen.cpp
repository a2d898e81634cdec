#include "platform/Zahlen.h"

#include <charconv>
#include <cmath>
#include <string>

namespace zahlen {

double Val(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && (text[i] == u' ' || text[i] == u'\t'))
        ++i;

    // A leading zero keeps ".5" and "-.5" readable for from_chars.
    std::string zahl;
    if (i < n && (text[i] == u'-' || text[i] == u'+')) {
        if (text[i] == u'-')
            zahl += '-';
        ++i;
    }
    zahl += '0';
    bool ziffern = false;
    while (i < n && text[i] >= u'0' && text[i] <= u'9') {
        zahl += char(text[i].unicode());
        ziffern = true;
        ++i;
    }
    if (i < n && text[i] == u'.') {
        zahl += '.';
        ++i;
        while (i < n && text[i] >= u'0' && text[i] <= u'9') {
            zahl += char(text[i].unicode());
            ziffern = true;
            ++i;
        }
    }
    if (!ziffern)
        return 0.0;
    if (zahl.back() == '.')
        zahl.pop_back();

    double wert = 0.0;
    // from_chars is locale-independent, unlike strtod after setlocale().
    const auto [ende, fehler] = std::from_chars(zahl.data(), zahl.data() + zahl.size(), wert);
    (void)ende;
    if (fehler == std::errc::result_out_of_range)
        return zahl[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    return fehler == std::errc() ? wert + 0.0 : 0.0;
}

// As many significant digits as the type carries (15 for double, 7 for single
// precision), trailing zeros dropped: 0.1 + 0.2 is written 0.3.
static QString kurzForm(double wert, int stellen)
{
    if (wert == 0)
        return QStringLiteral("0"); // also turns -0 into 0
    return QString::number(wert, 'g', stellen);
}

QString Kurz(double wert) { return kurzForm(wert, 15); }
QString Kurz(float wert) { return kurzForm(double(wert), 7); }

long long RundeGerade(double wert)
{
    // The default floating-point rounding mode rounds ties to even.
    return std::llrint(wert);
}

double Ganz(double wert) { return std::floor(wert); }

long long RundeAnzeige(float wert)
{
    const float ganz = std::floor(wert);
    return static_cast<long long>(ganz) + ((wert - ganz) >= 0.5f ? 1 : 0);
}

} // namespace zahlen
