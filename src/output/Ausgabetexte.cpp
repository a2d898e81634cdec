#include "output/Ausgabetexte.h"

#include <algorithm>

QString dateinameVorschlag(int vorschlag, const QString& dateititel, const QString& anhang)
{
    switch (vorschlag) {
    case 0:
        return QStringLiteral("*.jpg");
    case 1:
        return dateititel;
    case 2:
        return dateititel.chopped(std::min<qsizetype>(4, dateititel.size())) + anhang + QStringLiteral(".jpg");
    default:
        return {};
    }
}

QString fundortErinnerung()
{
    return QStringLiteral("Bitte denken Sie daran, nach dem Einfügen des Dateipfades in die Eingabemaske des Flattriums \r\n"
                          "auch den Fundort im vorgeschriebenen Format anzugeben!");
}

QString browserFehlt(const QString& adresse)
{
    return QStringLiteral("Der Webbrowser konnte nicht gestartet werden.\r\n\r\n"
                          "Bitte öffnen Sie das Flattrium selbst unter der Adresse\r\n%1\r\n\r\n"
                          "Der Dateipfad steht bereits in der Zwischenablage.")
        .arg(adresse);
}

QString pfadNichtWeitergebbar(const QString& pfad)
{
    return QStringLiteral("Der Dateipfad „%1“ lässt sich nicht weitergeben: Er enthält Zeichen, die sich nicht als Text "
                          "darstellen lassen (hier als „\uFFFD“ gezeigt). In das Flattrium eingefügt, fände er die Datei nicht; "
                          "er wurde deshalb nicht in die Zwischenablage kopiert.\r\n\r\n"
                          "Bitte speichern Sie das Bild unter einem anderen Namen und veröffentlichen Sie dann diese Datei.")
        .arg(pfad);
}
