#pragma once

#include "platform/Nebenfenster.h"

#include <array>
#include <functional>

class Liste;
class QCheckBox;
class QGroupBox;
class QLabel;
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
// only in the controls until "OK" writes the whole record and the main window
// takes it over; every other way out discards them.
class Form2 : public EigenesFenster {
    Q_OBJECT
public:
    // store: the main window's settings connection. hauptfenster: disabled
    // while this dialog is open, enabled (and shown) again when it closes.
    // datenLaden: the main window's Daten_Laden, run after a successful save.
    // anhang: the main window's current file-name suffix.
    Form2(SettingsStore& store, QWidget* hauptfenster, std::function<void()> datenLaden, const QString& anhang);


    // --- dialog state ---
    float verhaeltnisB = 3, verhaeltnisH = 2;
    bool fundortmeldungAn = true;
    bool startmeldungAn = true;

    // --- controls ---
    QGroupBox *Frame1, *Frame5, *Frame4, *Frame2, *Frame3;
    QLineEdit *Text1, *Text2, *Text3;
    QPushButton *Command1, *Command2;
    std::array<QRadioButton*, 3> Option1;
    Liste *Combo1, *oColor, *List1;
    TextFeld *TextB, *TextH, *TextKomp;
    UpDown *UpDown1, *UpDown2;
    QCheckBox *Check1, *Check2;
    QCheckBox* chkEinfacheKodierung;
    QPushButton *Command5, *Command4, *Command3;

protected:
    void keyPressEvent(QKeyEvent* e) override;

private:
    void aufbauen();
    void Form_Load(const QString& anhang);
    void Combo1_Click();
    void List1_Click();
    void TextB_Change();
    void Option1_Click(int index);
    void Check1_Click();
    void Check2_Click();
    void Command1_Click();
    void Command2_Click();
    void Command5_Click();
    void Command3_Click();
    void Command4_Click();

    SettingsStore& m_store;
    std::function<void()> m_datenLaden;
};
