#pragma once

#include "findreport/Fundsitzung.h"
#include "platform/Nebenfenster.h"

#include <QDate>

#include <array>
#include <functional>

class EingabeListe;
class EingabeText;
class Form3;
class QCheckBox;
class QLabel;
class QPushButton;
class SperrListe;
class TextFeld;
class ZeilenListe;

// "Fundortzusammenstellung": composes the find-location line the forum wants
// beside each picture, copies it, and keeps every saved location so that it
// can be picked again. The dialog is the view of a Fundsitzung: it hands each
// event of its controls to the session and shows what the session says. The
// controls are found by their objectName (Combo1, Command5, ...).
class frmFund : public EigenesFenster {
    Q_OBJECT
public:
    // hauptfenster: disabled while the dialog is open, enabled again when it
    // closes. hilfe: the program's help window (created on demand).
    // ordner: where data.db lives (empty: the per-user data folder).
    // heute: the date the date lists start from (invalid: today).
    frmFund(QWidget* hauptfenster, std::function<Form3*()> hilfe, const QString& ordner = {}, QDate heute = {});
    ~frmFund() override;

    // The text behind "?".
    static QString hilfetext();

    // Shows the dialog centred on the screen.
    void zeigen();

    // The photo the main window holds (geladen), and the day it was taken (invalid: none said).
    void fotoSetzen(bool geladen, QDate aufnahme) { m_sitzung->fotoSetzen(geladen, aufnahme); }

    const Fundsitzung& sitzung() const { return *m_sitzung; }

protected:
    // Gives the main window back, shown; runs however the dialog closes.
    void freigeben() override;
    // "Schließen", the close box and Escape all come here: a new location not stored is asked about.
    void closeEvent(QCloseEvent*) override;
    // The main window's closing ends the program, which asks nothing.
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    void aufbauen();
    void verbinden();
    // Shows what the session says; the controls' own signals meanwhile are not events.
    void anzeigen();
    void zeileAnzeigen();
    // Messages before the dialog shows belong to the main window, so that they stand over it.
    QWidget* besitzer();
    void cmdHilfe_Click();

    Fundsitzung* m_sitzung;
    std::function<Form3*()> m_hilfe;
    bool m_abgleich = false;
    bool m_programmEndet = false;

    // The editable lists by the session's fields (none for description and altitude).
    std::array<EingabeListe*, Fundsitzung::feldAnzahl> m_listen{};
    std::array<int, Fundsitzung::feldAnzahl> m_listenStand{};
    std::array<SperrListe*, 3> m_datum{};
    std::array<int, 3> m_datumsStand{};
    int m_gespeicherteStand = 0;

    ZeilenListe* m_Combo7 = nullptr;
    EingabeText* m_Text3 = nullptr;
    TextFeld* m_Text4 = nullptr;
    QLabel* m_lblZusammenstellung = nullptr;
    QCheckBox* m_Check1 = nullptr;
    QPushButton *m_cmdHilfe = nullptr, *m_Command1 = nullptr, *m_Command3 = nullptr, *m_Command4 = nullptr,
                *m_Command5 = nullptr, *m_Command6 = nullptr, *m_Command7 = nullptr, *m_cmdAufnahmedatum = nullptr;
};
