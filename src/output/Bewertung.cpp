#include "output/Bewertung.h"

#include <algorithm>

namespace bewertung {

namespace {

const QString zuGross = QStringLiteral("zu groß");

// Long side between 450 and 900 pixels, both inclusive.
QString masseUrteil(double breite, double hoehe)
{
    const double lang = breite > hoehe ? breite : hoehe;
    if (lang > 900)
        return zuGross;
    if (lang < 450)
        return QStringLiteral("zu klein");
    return OK;
}

} // namespace

bool groesseOk(qint64 bytes)
{
    // The size text shows tenths of a KB rounded half up (GroessenText); read back, its
    // number is below 100 exactly while those tenths are below 1000, with a decimal
    // point or a comma alike. That also keeps every MB text out.
    const qint64 zehntel = (std::max<qint64>(bytes, 0) * 10 + 512) / 1024;
    return zehntel < 1000;
}

Quelle quelle(double breite, double hoehe, qint64 bytes)
{
    Quelle q;
    q.masse = masseUrteil(breite, hoehe);
    q.masseOk = q.masse == OK;
    q.groesseOk = groesseOk(bytes);
    q.groesse = q.groesseOk ? OK : zuGross;
    return q;
}

Ziel ziel(double breite, double hoehe, std::optional<long long> auswahl, std::optional<qint64> bytes)
{
    Ziel z;
    z.masse = masseUrteil(breite, hoehe);
    z.masseOk = z.masse == OK;
    if (z.masse == zuGross)
        z.masseMassnahme = QStringLiteral("Maßnahme: 3. Zielformat verringern");
    else if (!z.masseOk)
        z.masseMassnahme = QStringLiteral("Maßnahme: 3. Zielformat vergrößern");

    if (auswahl && *auswahl > 0) {
        z.auswahlOk = !(double(*auswahl) < breite);
        z.auswahl = z.auswahlOk ? OK : QStringLiteral("Auswahl zu klein");
        if (!z.auswahlOk)
            z.auswahlMassnahme = QStringLiteral("Maßnahme: 4. Auswahlrahmen größer ziehen oder 3. Zielformat verringern");
    }

    z.groesseOk = bytes && groesseOk(*bytes);
    z.groesse = z.groesseOk ? OK : zuGross;
    if (!z.groesseOk)
        z.groesseMassnahme = QStringLiteral("Maßnahme: 5. Kompressionsrate senken bis Dateigröße < 100 KB");
    return z;
}

} // namespace bewertung
