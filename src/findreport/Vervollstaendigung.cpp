#include "findreport/Vervollstaendigung.h"

#include <span>

namespace vervollstaendigung {

namespace {

struct Eintrag {
    const char16_t* getippt;
    const char16_t* name;
};

const Eintrag laender[] = {
    {u"D", u"Deutschland"},
    {u"Ö", u"Österreich"},
    {u"S", u"Schweiz"},
};

const Eintrag deutschland[] = {
    {u"Bad", u"Baden-Württemberg"}, {u"Bay", u"Bayern"},
    {u"Be", u"Berlin"},             {u"Bra", u"Brandenburg"},
    {u"Bre", u"Bremen"},            {u"Ha", u"Hamburg"},
    {u"He", u"Hessen"},             {u"M", u"Mecklenburg-Vorpommern"},
    {u"Ni", u"Niedersachsen"},      {u"No", u"Nordrhein-Westfalen"},
    {u"R", u"Rheinland-Pfalz"},     {u"Saa", u"Saarland"},
    {u"Sac", u"Sachsen"},           {u"Sachsen-", u"Sachsen-Anhalt"},
    {u"Sc", u"Schleswig-Holstein"}, {u"T", u"Thüringen"},
};

const Eintrag oesterreich[] = {
    {u"B", u"Burgenland"},  {u"K", u"Kärnten"},    {u"N", u"Niederösterreich"},
    {u"O", u"Oberösterreich"}, {u"Sa", u"Salzburg"}, {u"St", u"Steiermark"},
    {u"T", u"Tirol"},       {u"V", u"Vorarlberg"}, {u"W", u"Wien"},
};

const Eintrag schweiz[] = {
    {u"Aa", u"Aargau"},          {u"Ap", u"Appenzell"},
    {u"Appenzell-A", u"Appenzell Ausserrhoden"}, {u"Appenzell-I", u"Appenzell Innerrhoden"},
    {u"Ba", u"Basel-"},          {u"Basel-L", u"Basel-Landschaft"},
    {u"Basel-S", u"Basel-Stadt"}, {u"Be", u"Bern"},
    {u"F", u"Freiburg"},         {u"Ge", u"Genf"},
    {u"Gl", u"Glarus"},          {u"Gr", u"Graubünden"},
    {u"J", u"Jura"},             {u"L", u"Luzern"},
    {u"Ne", u"Neuenburg"},       {u"Ni", u"Nidwalden"},
    {u"O", u"Obwalden"},         {u"Scha", u"Schaffhausen"},
    {u"Schw", u"Schwyz"},        {u"So", u"Solothurn"},
    {u"St", u"St. Gallen"},      {u"Te", u"Tessin"},
    {u"Th", u"Thurgau"},         {u"U", u"Uri"},
    {u"Waa", u"Waadt"},          {u"Wal", u"Wallis"},
    {u"Zu", u"Zug"},             {u"Zü", u"Zürich"},
};

std::optional<Treffer> suchen(std::span<const Eintrag> tabelle, const QString& text)
{
    for (const Eintrag& e : tabelle)
        if (text == QStringView(e.getippt))
            return Treffer{QString::fromUtf16(e.getippt), QString::fromUtf16(e.name)};
    return std::nullopt;
}

} // namespace

std::optional<Treffer> land(const QString& text) { return suchen(laender, text); }

std::optional<Treffer> bundesland(const QString& land, const QString& text)
{
    if (land == u"Deutschland")
        return suchen(deutschland, text);
    if (land == u"Österreich")
        return suchen(oesterreich, text);
    if (land == u"Schweiz")
        return suchen(schweiz, text);
    return std::nullopt;
}

} // namespace vervollstaendigung
