#pragma once

#include <QString>

// The start-up preferences: the one row of the table "Einstellungen".
// Values are already checked: an index outside its list or a missing number
// has been replaced by the field's default; missing texts read as "", a
// missing yes/no reads as no. The defaults of rahmen, farbe, Format,
// kompression and the two reminders are the program's built-in preferences
// ("Standardeinstellungen").
struct SettingsRecord {
    QString laden;     // default folder of the open dialog
    QString speichern; // default folder of the save dialog
    int rahmen = 0;    // aspect-ratio index 0..5
    int farbe = 0;     // colour index 0..7
    int Format = 4;    // size index 0..6
    double breite = 600;
    double hoehe = 400;
    double kompression = 92;
    bool fundortmeldung = true;
    bool startmeldung = true;
    QString dateiname = QStringLiteral("_web"); // suffix of proposal mode 2
    int vorschlag = 2;                          // 0 none, 1 name, 2 name with suffix

    bool operator==(const SettingsRecord&) const = default;
};
