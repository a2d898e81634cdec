#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// One stored find-location: the nine text fields of a row of the table "data".
// A missing value reads as the empty text.
struct FindRecord {
    QString land;
    QString bundesland;
    QString stadt;
    QString fundort;
    QString fundortbeschreibung; // may span several lines
    QString hoehe;                // metres above sea level, without unit
    QString datum;               // "15. Juni 2010"
    QString bildart;
    QString autor;

    bool operator==(const FindRecord&) const = default;
};

// The report line and the date rules of the find-location dialog.
namespace fundbericht {

// The line the forum expects, composed from the dialog's fields (datum holds
// day entry, month and year joined by blanks). Every separator is written;
// only an empty description is left out with its separator.
QString vorschauZeile(const FindRecord& felder);

// Country, state, town, site, altitude, kind of photo and author are filled
// (a blank counts as filled); description and date do not count.
bool istVollstaendig(const FindRecord& felder);

// The line of a stored row in the list of stored locations: each field only
// when it is not empty. For a row saved from a complete preview it equals
// that preview character for character.
QString gespeicherteZeile(const FindRecord& zeile);

// True when February of the year has 29 days; years below 100 count from 2000.
bool IsSchaltjahr(qint16 jahr);

// Days of a month, given by its list index (0 = January).
int tageImMonat(int jahr, int monatIndex);

// The day as the month of that year has it: a day beyond its last is its
// last, so that no impossible date (29. Februar 2013) is ever composed.
int tagImMonat(int tag, int jahr, int monatIndex);

// "Januar" to "Dezember".
const QStringList& monatsnamen();

// The year list: 2000 up to the given year, and at least up to 2020.
QStringList jahresliste(int bisJahr);

// A day entry as the day list shows it: "15.".
QString tagEintrag(int tag);

// The stored form: day entry, blank, month name, blank, year ("15. Juni 2010").
QString datumText(const QString& tagEintrag, const QString& monat, const QString& jahr);

struct Datum {
    int tag;
    int monatIndex; // 0 = January
    int jahr;
};

// Reads exactly the stored form ("1. März 2024"), whatever the system's
// language; anything else, or a day the month does not have, gives nothing.
std::optional<Datum> datumLesen(const QString& text);

} // namespace fundbericht
