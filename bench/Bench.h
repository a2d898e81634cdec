#pragma once

// The benchmark program's shared pieces. A section is one measurement; it registers
// itself with ABSCHNITT(name, order, description) in its own file and is run by name
// from the command line (all sections when none is named).

#include "platform/Dienste.h"

#include <QFileInfo>
#include <QImage>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>
#include <vector>

namespace bench {

// Where the photos are, where scratch files go, which tools to run.
struct Umgebung {
    QString ordner;            // scratch folder (cam18.jpg, PNGs, ImageMagick's output)
    QString elefanten;         // Elephants_5640x3172.jpg
    QString marienkaefer;      // LadyBird.jpg
    QString convert;           // ImageMagick's convert
    QString qualitaetWerkzeug; // resample-quality

    // cam18.jpg in the scratch folder, made from the elephants with jpegtran if missing.
    // "" (after saying why) when that is not possible.
    QString cam18();
    // gross150.jpg in the scratch folder: 15000 x 10000 pixels (the program's limit of
    // 150 megapixels) tiled from the elephants, stored sideways with EXIF orientation 6.
    // Made row by row if missing; "" (after saying why) when that is not possible.
    QString gross150();
    // gross45.jpg: 8200 x 5500 pixels (a 45 MP camera's) tiled from the elephants, upright.
    QString gross45();
    // The photo decoded as the program holds it (RGB32); null after saying why.
    QImage laden(const QString& datei);
    // name in the scratch folder: breite x hoehe pixels tiled from the elephants, quality 90,
    // with that EXIF orientation. Made row by row if missing; "" (after saying why) when not possible.
    QString gekachelt(const QString& name, int breite, int hoehe, int orientierung);
};

struct Abschnitt {
    QString name;
    int reihenfolge;
    QString beschreibung;
    std::function<void(Umgebung&)> ausfuehren;
};

std::vector<Abschnitt>& abschnitte();

struct Anmeldung {
    Anmeldung(const char* name, int reihenfolge, const char* beschreibung, void (*f)(Umgebung&));
};

#define ABSCHNITT(name, reihenfolge, beschreibung)                                                  \
    static void abschnitt_##name(bench::Umgebung&);                                                 \
    static const bench::Anmeldung anmeldung_##name(#name, reihenfolge, beschreibung, abschnitt_##name); \
    static void abschnitt_##name(bench::Umgebung& umgebung)

// ---- measuring ----

using Uhr = std::chrono::steady_clock;
inline double msSeit(Uhr::time_point anfang)
{
    return std::chrono::duration<double, std::milli>(Uhr::now() - anfang).count();
}
double median(std::vector<double> werte);

// An external command, run to its end; wall time in ms, -1 when it could not run or failed.
struct Lauf {
    double ms = -1;
    int code = -1;
    QString ausgabe; // stdout and stderr
};
Lauf starten(const QString& programm, const QStringList& argumente, int zeitlimitMs = 600000);
// Absolute path of a program (given as a path or found in PATH), "" when missing.
QString programmFinden(const QString& programm);
// "prog arg arg" for the printout, quoted where needed.
QString befehlszeile(const QString& programm, const QStringList& argumente);

// Prints a line (printf style) and flushes, so that progress is visible while waiting.
void zeile(const char* format, ...) __attribute__((format(printf, 1, 2)));
void ueberschrift(const QString& titel);
void uebersprungen(const QString& grund);

// Stands in for the person at the program's window: answers the open dialog
// with one file and notes the moment it says OK; cancels or declines the rest.
class Oeffner : public Dienste {
public:
    QString datei;
    Uhr::time_point ok;
    void meldung(QWidget*, const QString& text, const QString&, Symbol) override
    {
        zeile("message box: %s", qPrintable(text));
    }
    int frage(QWidget*, const QString&, const QString&, const QStringList& antworten, int) override
    {
        return int(antworten.size()) - 1;
    }
    bool dateiOeffnen(QWidget*, DateiDialog& dialog) override
    {
        dialog.FileName = datei;
        dialog.FileTitle = QFileInfo(datei).fileName();
        ok = Uhr::now();
        return true;
    }
    bool dateiSpeichern(QWidget*, DateiDialog&) override { return false; }
    QString ordnerWaehlen(QWidget*, const QString&, const QString&) override { return {}; }
    void zwischenablageSetzen(const QString&) override {}
    bool urlOeffnen(QWidget*, const QUrl&) override { return true; }
};

} // namespace bench
