#pragma once

#include "platform/Dienste.h"

#include <QStringList>
#include <QTemporaryDir>
#include <QUrl>

#include <functional>

// Answers everything the program would ask a person, and records what it was asked.
class TestDienste : public Dienste {
public:
    TestDienste();
    ~TestDienste() override;

    struct Meldung {
        QString text, titel;
        Symbol symbol;
        QString details; // the detail text behind the box's "Details" button
        QWidget* besitzer = nullptr;
    };
    QList<Meldung> meldungen;
    QStringList zwischenablage;
    QList<QUrl> urls;
    bool browserDa = true; // what opening an address answers

    // The next answers of the file dialogs: a path, or "" for cancel. Each use
    // records the dialog's state as it was shown.
    QStringList oeffnenAntworten, speichernAntworten;
    QList<DateiDialog> gezeigteDialoge;
    QStringList ordnerAntworten;
    QStringList ordnerTitel;
    QStringList ordnerStart; // the folder each folder picker was to start in

    // Questions asked, and the next answers (index of the button; none left: the last one).
    struct Frage {
        QString text, titel;
        QStringList antworten;
        int standard = 0; // the answer Return gives
    };
    QList<Frage> fragen;
    QList<int> frageAntworten;

    // Called while a message box would be open (e.g. to look at the windows behind it).
    std::function<void(const Meldung&)> beiMeldung;

    void meldung(QWidget*, const QString& text, const QString& titel, Symbol symbol) override;
    void meldungMitDetails(QWidget*, const QString& text, const QString& details, const QString& titel, Symbol symbol) override;
    int frage(QWidget*, const QString& text, const QString& titel, const QStringList& antworten, int standard) override;
    bool dateiOeffnen(QWidget*, DateiDialog& dialog) override;
    bool dateiSpeichern(QWidget*, DateiDialog& dialog) override;
    QString ordnerWaehlen(QWidget*, const QString& titel, const QString& start) override;
    void zwischenablageSetzen(const QString& text) override;
    bool urlOeffnen(QWidget*, const QUrl& url) override;

private:
    bool dialog(QStringList& antworten, DateiDialog& dialog);
};

// Points the per-user data folder at a scratch folder of this test process.
void testUmgebungEinrichten();
