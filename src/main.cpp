#include "app/Form1.h"
#include "app/Ladeauftrag.h"

#include "fotoschliff_config.h"
#include "platform/Prozess.h"
#include "platform/Uebergabe.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTimer>
#include <QTranslator>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char* argv[])
{
    // Answered before Qt starts, so that it works without a display (package checks, bug reports).
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::printf("Fotoschliff %s\n", FOTOSCHLIFF_VERSION);
        return 0;
    }
    dateigroessenGrenzeAlsFehler();
    QApplication programm(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fotoschliff"));
    // Lets the desktop match the windows with the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QStringLiteral(FOTOSCHLIFF_DESKTOP_ID));
    QApplication::setStyle(QStringLiteral("Fusion"));

    // The program speaks German whatever the system's language; so do Qt's own dialogs.
    QTranslator qtTexte;
    if (qtTexte.load(QLocale(QLocale::German, QLocale::Germany), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexte);

    int ergebnis = 0;
    {
        Form1 hauptfenster(nullptr, Form1::Lage::Gemerkt);
        beendenSignaleSchliessen(&hauptfenster);
        hauptfenster.show();
        // A photo named on the command line loads once the window (and the start message) shows.
        const QString datei = startDatei(QApplication::arguments());
        if (!datei.isEmpty())
            QTimer::singleShot(0, &hauptfenster, [&hauptfenster, datei] { hauptfenster.dateiUebernehmen(datei); });
        ergebnis = programm.exec();
    }
    // The window has called off what it was loading; those threads end within milliseconds.
    // Should one still run (a slow disk), the program ends without it: everything worth
    // keeping is written, and nothing must run on while the program's statics go.
    if (!Ladeauftrag::beendet(std::chrono::milliseconds(300))) {
        std::fflush(nullptr);
        std::_Exit(ergebnis);
    }
    return ergebnis;
}
