#include "TestDienste.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QFileInfo>
#include <QStandardPaths>

TestDienste::TestDienste() { diensteSetzen(this); }

TestDienste::~TestDienste() { diensteSetzen(nullptr); }

void TestDienste::meldung(QWidget* besitzer, const QString& text, const QString& titel, Symbol symbol)
{
    meldungMitDetails(besitzer, text, QString(), titel, symbol);
}

void TestDienste::meldungMitDetails(QWidget* besitzer, const QString& text, const QString& details, const QString& titel,
                                    Symbol symbol)
{
    meldungen.append({text, titel, symbol, details, besitzer});
    if (beiMeldung)
        beiMeldung(meldungen.constLast());
}

int TestDienste::frage(QWidget*, const QString& text, const QString& titel, const QStringList& antworten, int standard)
{
    fragen.append({text, titel, antworten, standard});
    return frageAntworten.isEmpty() ? int(antworten.size()) - 1 : frageAntworten.takeFirst();
}

bool TestDienste::dialog(QStringList& antworten, DateiDialog& dialog)
{
    gezeigteDialoge.append(dialog);
    const QString antwort = antworten.isEmpty() ? QString() : antworten.takeFirst();
    if (antwort.isEmpty())
        return false;
    dateiDialogGewaehlt(dialog, antwort);
    return true;
}

bool TestDienste::dateiOeffnen(QWidget*, DateiDialog& d) { return dialog(oeffnenAntworten, d); }

bool TestDienste::dateiSpeichern(QWidget*, DateiDialog& d) { return dialog(speichernAntworten, d); }

QString TestDienste::ordnerWaehlen(QWidget*, const QString& titel, const QString& start)
{
    ordnerTitel << titel;
    ordnerStart << start;
    return ordnerAntworten.isEmpty() ? QString() : ordnerAntworten.takeFirst();
}

void TestDienste::zwischenablageSetzen(const QString& text) { zwischenablage << text; }

bool TestDienste::urlOeffnen(QWidget*, const QUrl& url)
{
    urls << url;
    return browserDa;
}

void testUmgebungEinrichten()
{
    // A data folder of this process alone: test programs may run side by side.
    static QTemporaryDir ordner;
    qputenv("XDG_DATA_HOME", QFile::encodeName(ordner.filePath(QStringLiteral("daten"))));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(ordner.filePath(QStringLiteral("konfiguration"))));
    qputenv("XDG_CACHE_HOME", QFile::encodeName(ordner.filePath(QStringLiteral("zwischenspeicher"))));
    QCoreApplication::setApplicationName(QStringLiteral("Fotoschliff-Test"));
}
