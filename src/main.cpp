#include "app/Form1.h"

#include "fotoschliff_config.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char* argv[])
{
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

    Form1 hauptfenster;
    hauptfenster.show();
    return programm.exec();
}
