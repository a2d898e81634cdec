#pragma once

#include "findreport/Fundbericht.h"
#include "platform/Nebenfenster.h"

#include <QDate>

#include <functional>

class TextFeld;
class EingabeListe;
class EingabeText;
class Form3;
class FundortDatenbank;
class QCheckBox;
class QLabel;
class QPushButton;
class SperrListe;
class ZeilenListe;

// "Fundortzusammenstellung": composes the find-location line the forum wants
// beside each picture, copies it, and keeps every saved location so that it
// can be picked again. Browsing stored locations and entering a new one are
// told apart by neuerFundort.
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

    bool neuerFundort = false;

    // --- controls ---
    QLabel *Label1_10, *Label1_9, *Label3_0;
    ZeilenListe* Combo7;
    QPushButton* cmdHilfe;
    EingabeListe *Combo1, *Combo2, *Combo8, *Combo9, *Combo6, *Combo10;
    EingabeText* Text3;
    TextFeld* Text4;
    SperrListe *Combo5, *Combo3, *Combo4;
    QLabel* lblZusammenstellung;
    QPushButton *Command6, *Command5, *Command1, *Command7, *Command3, *Command4;
    QCheckBox* Check1;
    FundortDatenbank *Data1, *Data2;

    void Fundorte_Laden();
    void Zusammenstellung_Anzeigen();

    // Shows the dialog centred on the screen.
    void zeigen();

protected:
    // Gives the main window back, shown; runs however the dialog closes.
    void freigeben() override;
    // Escape closes like "Schließen", but asks first while a new location has unsaved input.
    void keyPressEvent(QKeyEvent*) override;

private:
    void aufbauen();
    void Form_Load();
    void datumslistenAufbauen();
    void Tagesliste_Aufbauen();
    void fundortAnzeigen();
    void datumAnzeigen(const QString& datum);
    void eingabenSperren(bool gesperrt);
    FindRecord felder() const;
    void datenbankFehler(const QString& was, const FundortDatenbank& db);
    // Opens both connections; says once when a damaged file was put aside, and,
    // if fehlerMelden, why the store cannot be used.
    bool speicherOeffnen(bool fehlerMelden);
    // Messages before the dialog shows belong to the main window, so that they stand over it.
    QWidget* besitzer();
    // Fills a suggestion list afresh and selects its first entry.
    bool vorschlaegeFuellen(EingabeListe* liste, const std::optional<QStringList>& werte, const FundortDatenbank& db);

    void Combo1_Change();
    void Combo2_Change();
    void Combo1_Click();
    void Combo2_Click();
    void Combo8_Click();
    void Combo3_Click();
    void Combo5_Click();
    void Combo4_Click();
    void Combo7_Click();
    void Eingabe_Change();
    void Command1_Click();
    void Command3_Click();
    void Command4_Click();
    void Command5_Click();
    void Command6_Click();
    void Command7_Click();
    void cmdHilfe_Click();

    std::function<Form3*()> m_hilfe;
    QDate m_heute;
    // A stored date that the lists cannot show: the line shows it as stored
    // until a date list is changed.
    std::optional<QString> m_datumWieGespeichert;
    // The fields as "Neuer Fundort" left them: what differs is unsaved input.
    FindRecord m_eingabeBeginn;
};
