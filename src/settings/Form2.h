#pragma once

#include "platform/Nebenfenster.h"
#include "settings/Einstellungsstand.h"

#include <array>
#include <functional>

class Liste;
class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class SettingsStore;
class TextFeld;
class UpDown;

// Whether the user wants the plain JPEG coding (baseline, 4:2:0, standard tables)
// instead of the one chosen for each picture. Kept in the configuration file, since
// the settings record has no field for it.
bool einfacheKodierungGewuenscht();
void einfacheKodierungMerken(bool einfach);

// "Bevorzugte Einstellungen": the settings record in editable form. Edits live
// only in the draft (Einstellungsstand) until "OK" writes the whole record and
// the main window takes it over; every other way out discards them.
class Form2 : public EigenesFenster {
    Q_OBJECT
public:
    // store: the main window's settings connection. hauptfenster: disabled
    // while this dialog is open, enabled (and shown) again when it closes.
    // datenLaden: the main window's Daten_Laden, run after a successful save.
    // anhang: the main window's current file-name suffix.
    Form2(SettingsStore& store, QWidget* hauptfenster, std::function<void()> datenLaden, const QString& anhang);

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void aufbauen();
    void verbinden();
    // Brings the controls up to the draft; what they signal meanwhile is no event.
    void anzeigen();
    void Form_Load(const SettingsRecord& d, const QString& anhang);
    void ordnerSuchen(Einstellungsstand::Ordner ordner);
    void Command3_Click();

    SettingsStore& m_store;
    std::function<void()> m_datenLaden;
    Einstellungsstand m_stand;
    bool m_abgleich = false;
    int m_updown1Gesetzt = 0, m_updown2Gesetzt = 0;

    QLineEdit *m_Text1 = nullptr, *m_Text2 = nullptr, *m_Text3 = nullptr;
    QPushButton *m_Command1 = nullptr, *m_Command2 = nullptr;
    std::array<QRadioButton*, 3> m_Option1{};
    Liste *m_Combo1 = nullptr, *m_oColor = nullptr, *m_List1 = nullptr;
    TextFeld *m_TextB = nullptr, *m_TextH = nullptr, *m_TextKomp = nullptr;
    UpDown *m_UpDown1 = nullptr, *m_UpDown2 = nullptr;
    QCheckBox *m_Check1 = nullptr, *m_Check2 = nullptr;
    QCheckBox* m_chkEinfacheKodierung = nullptr;
    QPushButton *m_Command5 = nullptr, *m_Command4 = nullptr, *m_Command3 = nullptr;
};
