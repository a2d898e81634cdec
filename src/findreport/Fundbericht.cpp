#include "findreport/Fundbericht.h"

#include <QRegularExpression>

#include <algorithm>

namespace fundbericht {

QString vorschauZeile(const FindRecord& f)
{
    const QLatin1String komma(", ");
    QString zeile = f.land + komma + f.bundesland + komma + f.stadt + komma + f.fundort + komma;
    if (!f.fundortbeschreibung.isEmpty())
        zeile += f.fundortbeschreibung + komma;
    zeile += f.hoehe + QLatin1String(" msm, ") + f.datum + QLatin1String(" (") + f.bildart + QLatin1String(": ") + f.autor
           + QLatin1Char(')');
    return zeile;
}

bool istVollstaendig(const FindRecord& f)
{
    for (const QString* pflicht : {&f.land, &f.bundesland, &f.stadt, &f.fundort, &f.hoehe, &f.bildart, &f.autor})
        if (pflicht->isEmpty())
            return false;
    return true;
}

QString gespeicherteZeile(const FindRecord& z)
{
    QString zeile;
    const auto teil = [&zeile](const QString& wert, QLatin1String danach) {
        if (!wert.isEmpty())
            zeile += wert + danach;
    };
    const QLatin1String komma(", ");
    teil(z.land, komma);
    teil(z.bundesland, komma);
    teil(z.stadt, komma);
    teil(z.fundort, komma);
    teil(z.fundortbeschreibung, komma);
    teil(z.hoehe, QLatin1String(" msm, "));
    teil(z.datum, QLatin1String(""));
    zeile += QLatin1String(" (") + z.bildart + QLatin1String(": ") + z.autor + QLatin1Char(')');
    return zeile;
}

bool IsSchaltjahr(qint16 jahr)
{
    const int j = jahr < 100 ? 2000 + jahr : jahr;
    return (j % 4 == 0 && j % 100 != 0) || j % 400 == 0;
}

int tageImMonat(int jahr, int monatIndex)
{
    switch (monatIndex) {
    case 1: return IsSchaltjahr(qint16(jahr)) ? 29 : 28;
    case 3: case 5: case 8: case 10: return 30;
    default: return 31;
    }
}

int tagImMonat(int tag, int jahr, int monatIndex) { return std::clamp(tag, 1, tageImMonat(jahr, monatIndex)); }

const QStringList& monatsnamen()
{
    static const QStringList namen = {
        QStringLiteral("Januar"), QStringLiteral("Februar"), QStringLiteral("März"),     QStringLiteral("April"),
        QStringLiteral("Mai"),    QStringLiteral("Juni"),    QStringLiteral("Juli"),     QStringLiteral("August"),
        QStringLiteral("September"), QStringLiteral("Oktober"), QStringLiteral("November"), QStringLiteral("Dezember")};
    return namen;
}

QStringList jahresliste(int bisJahr)
{
    QStringList jahre;
    // 2000 to 2020 always; later years as they come.
    for (int j = 2000; j <= std::max(bisJahr, 2020); ++j)
        jahre << QString::number(j);
    return jahre;
}

QString tagEintrag(int tag) { return QString::number(tag) + QLatin1Char('.'); }

QString datumText(const QString& tag, const QString& monat, const QString& jahr)
{
    return tag + QLatin1Char(' ') + monat + QLatin1Char(' ') + jahr;
}

std::optional<Datum> datumLesen(const QString& text)
{
    static const QRegularExpression form(QStringLiteral("^([0-9]{1,2})\\. (\\S+) ([0-9]{4})$"));
    const QRegularExpressionMatch teile = form.match(text);
    if (!teile.hasMatch())
        return std::nullopt;
    const int monat = int(monatsnamen().indexOf(teile.captured(2)));
    const int tag = teile.captured(1).toInt();
    const int jahr = teile.captured(3).toInt();
    if (monat < 0 || tag < 1 || tag > tageImMonat(jahr, monat))
        return std::nullopt;
    return Datum{tag, monat, jahr};
}

} // namespace fundbericht
