#include "output/Bewertung.h"

#include "platform/Zahlen.h"

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

// Below 100 only when the text is in KB; an MB text or an empty one is too big.
bool groesseOk(const QString& groesse) { return groesse.contains(QStringLiteral("KB")) && zahlen::Val(groesse) < 100; }

Quelle quelle(const QString& abmessungen, const QString& dateigroesse)
{
    const qsizetype x = abmessungen.indexOf(u'x');
    const double breite = zahlen::Val(abmessungen);
    const double hoehe = zahlen::Val(x >= 0 ? QStringView(abmessungen).mid(x + 1) : QStringView(abmessungen));
    return {masseUrteil(breite, hoehe), groesseOk(dateigroesse) ? OK : zuGross};
}

Ziel ziel(const QString& breite, const QString& hoehe, const QString& auswahl, const QString& groesse)
{
    Ziel z;
    const double zb = zahlen::Val(breite);
    const double zh = zahlen::Val(hoehe);

    z.masse = masseUrteil(zb, zh);
    z.masseOk = z.masse == OK;
    if (z.masse == zuGross)
        z.masseMassnahme = QStringLiteral("Maßnahme: 3. Zielformat verringern");
    else if (!z.masseOk)
        z.masseMassnahme = QStringLiteral("Maßnahme: 3. Zielformat vergrößern");

    const double gewaehlt = zahlen::Val(auswahl);
    if (gewaehlt > 0) {
        z.auswahlOk = !(gewaehlt < zb);
        z.auswahl = z.auswahlOk ? OK : QStringLiteral("Auswahl zu klein");
        if (!z.auswahlOk)
            z.auswahlMassnahme = QStringLiteral("Maßnahme: 4. Auswahlrahmen größer ziehen oder 3. Zielformat verringern");
    }

    z.groesseOk = groesseOk(groesse);
    z.groesse = z.groesseOk ? OK : zuGross;
    if (!z.groesseOk)
        z.groesseMassnahme = QStringLiteral("Maßnahme: 5. Kompressionsrate senken bis Dateigröße < 100 KB");
    return z;
}

} // namespace bewertung
