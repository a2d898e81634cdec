// The main window's ways into its secondary windows: the help behind every
// "?", the preferences dialog, the find-location dialog and the about box.
// Each of them is a window of its own; while one is open the main window
// takes no input, and closing it in any way gives the input back.
#include "app/Form1.h"

#include "codec/Aufnahmedatum.h"
#include "findreport/frmFund.h"
#include "hilfe/Form3.h"
#include "hilfe/HilfeTexte.h"
#include "hilfe/frmAbout.h"
#include "platform/Programmsymbol.h"
#include "platform/Steuerelemente.h"
#include "settings/Form2.h"
#include "settings/SettingsStore.h"

#include <QPushButton>

void Form1::fensterVerbinden()
{
    setWindowIcon(programmSymbol());
    for (int i = 0; i < int(Command4.size()); ++i) {
        connect(Command4[i], &QPushButton::clicked, this, [this, i] { HilfeZeigen(i); });
        // Fifteen buttons captioned "?": their help's title tells them apart.
        const QString titel = hilfeText(i).titel;
        Command4[i]->setToolTip(titel);
        Command4[i]->setAccessibleName(titel);
    }
    connect(Command5, &QPushButton::clicked, this, &Form1::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &Form1::Command6_Click);
    connect(lblKontakt, &KlickLabel::geklickt, this, &Form1::lblKontakt_Click);
}

void Form1::HilfeZeigen(int index)
{
    const HilfeEintrag eintrag = hilfeText(index);
    // The start message may still be open; it then takes the new text.
    Form3* hilfe = hilfeFenster();
    hilfe->setzeText(eintrag.titel, eintrag.text);
    setEnabled(false);
    hilfe->zeigen();
}

Form3* Form1::hilfeFenster()
{
    if (!m_hilfe)
        m_hilfe = new Form3(this);
    m_hilfe->setzeFundDialog(m_fund.fenster());
    return m_hilfe;
}

void Form1::Command5_Click()
{
    auto* dialog = new Form2(*Data1, this, [this] { Daten_Laden(); }, m_stand.vorgaben().anhang);
    m_form2.setzen(dialog);
    setEnabled(false);
    dialog->zeigen();
}

void Form1::Command6_Click()
{
    // An open dialog is brought to the front as it is; a new one starts afresh.
    auto* dialog = qobject_cast<frmFund*>(m_fund.fenster());
    if (!dialog) {
        dialog = new frmFund(this, [this] { return hilfeFenster(); });
        m_fund.setzen(dialog);
    }
    // Read now from the file: the date counts only for the report of the photo on show.
    const QString& foto = m_stand.dateiPfad();
    dialog->fotoSetzen(!foto.isEmpty(), aufnahmedatum::ausDatei(foto));
    setEnabled(false);
    dialog->zeigen();
}

void Form1::lblKontakt_Click()
{
    auto* info = new frmAbout(this);
    m_about.setzen(info);
    setEnabled(false);
    info->zeigen();
}
