// Steps 6 and 7: cropping, saving and publishing, and the JPEG service they need.
// The state crops, measures and judges; the window asks where to save, shows the
// crop and the messages.

#include "app/Form1.h"

#include "output/Ausgabetexte.h"
#include "output/Meldungen.h"
#include "output/Speichern.h"
#include "settings/SettingsStore.h"
#include "platform/Steuerelemente.h"
#include "platform/Uebergabe.h"

#include "fotoschliff_config.h"

#include <QPushButton>

// --- crop ---

void Form1::BildZuschneiden()
{
    m_stand.BildZuschneiden();
    anzeigen();
    AnsichtAufbauen(Ansichtsquelle::Zuschnitt);
}

void Form1::Command1_Click()
{
    if (aufGanzesBildWarten(Command1, &Form1::Command1_Click))
        return;
    BildZuschneiden();
    m_stand.zuschnittFertig();
    anzeigen();
}

// --- save and publish ---

void Form1::speichernDialogVorbereiten()
{
    const Arbeitsstand::Vorgaben& v = m_stand.vorgaben();
    m_dateiDialog.DialogTitle = QStringLiteral("Speichern unter");
    // Camera names like IMG_1234.JPG stay visible when choosing where to save.
    m_dateiDialog.Filter = QStringLiteral("JPG Files (*.jpg)|*.jpg;*.JPG;*.jpeg;*.JPEG");
    const QString vorschlagName = dateinameVorschlag(v.vorschlag, m_dateiDialog.FileTitle, v.anhang);
    if (!vorschlagName.isNull())
        m_dateiDialog.FileName = vorschlagName;
    m_dateiDialog.InitDir = v.pfadSpeichern;
    m_dateiDialog.Ueberschreibfrage = true;
}

void Form1::Command2_Click()
{
    if (!m_stand.gdiplusBereit() || aufGanzesBildWarten(Command2, &Form1::Command2_Click))
        return;
    speichernDialogVorbereiten();
    if (!dienste().dateiSpeichern(this, m_dateiDialog))
        return;
    // The failing step's error box first; the system's reason goes behind "Details".
    if (GdipStatusPruefen(m_stand.speichern(m_dateiDialog.FileName), this) != 0)
        meldungMitDetails(this, QStringLiteral("Speichern war nicht erfolgreich."), speicherfehlerText(m_stand.letzterSpeicherfehler()));
    anzeigen();
}

void Form1::Command3_Click()
{
    QString pfad = m_stand.veroeffentlichPfad();
    const bool weiter = standortPruefen(pfad);
    anzeigen();
    if (!weiter)
        return;
    // A path that leads nowhere as text would send the user looking for a file that is not there.
    if (!alsTextWeitergebbar(pfad)) {
        meldung(this, pfadNichtWeitergebbar(pfad), programmTitel(), Dienste::Symbol::Info);
        return;
    }
    if (Data1->datensatz().fundortmeldung)
        meldung(this, fundortErinnerung());
    dienste().zwischenablageSetzen(pfad);
    const QString adresse = QStringLiteral(FOTOSCHLIFF_FORUM_URL);
    // Without a browser the user still needs the way to the forum.
    if (!dienste().urlOeffnen(this, QUrl(adresse)))
        meldung(this, browserFehlt(adresse), programmTitel(), Dienste::Symbol::Info);
}

// --- the JPEG service ---

void Form1::jpegDienstStarten()
{
    const int status = m_stand.jpegDienstStarten();
    GdipStatusPruefen(status, this);
    if (status != 0)
        meldung(this, QStringLiteral("GDI+ not inizialized."), QStringLiteral("GDI Error"));
}
