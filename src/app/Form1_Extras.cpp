// Beyond the seven steps: the best quality below 100 KB in one click, and the
// question before a photo that tells where it was taken goes out unchanged.

#include "app/Form1.h"

#include "codec/Bildladen.h"
#include "codec/Metadaten.h"
#include "output/BesteQualitaet.h"
#include "output/Meldungen.h"
#include "output/Speichern.h"
#include "platform/Flaechen.h"
#include "platform/Steuerelemente.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>


void Form1::cmdBesteQualitaet_Click()
{
    if (aufGanzesBildWarten(cmdBesteQualitaet, &Form1::cmdBesteQualitaet_Click))
        return;
    const std::optional<beste::Ergebnis> ergebnis = m_stand.besteQualitaet();
    // A quality found is set through the box's own change handling, which measures, shows
    // and judges, also when the box shows this number already.
    anzeigen();
    if (!ergebnis)
        return;
    if (ergebnis->status != 0) {
        GdipStatusPruefen(ergebnis->status, this);
        return;
    }
    if (ergebnis->qualitaet == 0)
        meldung(this, QStringLiteral("Selbst mit der Qualität 1 wird die Datei nicht kleiner als 100 KB.\r\n"
                                     "Bitte wählen Sie unter „3. Zielformat festlegen“ eine kleinere Zielgröße."));
    if (ergebnis->qualitaet == 0)
        return;
    // Below the arrows' range the box says more than they can.
    const QString hinweis = schwacheQualitaetHinweis(ergebnis->qualitaet, UpDown2->Min());
    if (!hinweis.isEmpty())
        meldung(this, hinweis);
}

bool Form1::standortPruefen(QString& pfad)
{
    const QByteArray original = Ladeablauf::dateiInhalt(pfad);
    if (!metadaten::standortEnthalten(original))
        return true;

    const QString text = QStringLiteral("Die Bilddatei „%1“ enthält ihren Aufnahmeort (GPS-Position oder Ortsangabe). "
                                        "Wer das Bild im Flattrium ansieht, kann ihn daraus auslesen.\r\n\r\n"
                                        "Soll stattdessen eine Kopie ohne Standortangaben veröffentlicht werden?")
                             .arg(QFileInfo(pfad).fileName());
    const int antwort = dienste().frage(this, text, programmTitel(),
                                        {QStringLiteral("Kopie ohne Standort veröffentlichen"),
                                         QStringLiteral("Original veröffentlichen"), QStringLiteral("Abbrechen")});
    if (antwort == 1)
        return true;
    if (antwort != 0)
        return false;

    const QByteArray kopie = metadaten::ohneMetadaten(original);
    if (kopie.isEmpty()) {
        meldung(this, QStringLiteral("Von dieser Bilddatei lässt sich keine Kopie ohne Standortangaben erstellen."));
        return false;
    }
    speichernDialogVorbereiten();
    if (!dienste().dateiSpeichern(this, m_dateiDialog))
        return false;
    const QString ziel = m_dateiDialog.FileName;
    if (GdipStatusPruefen(m_stand.kopieSpeichern(kopie, ziel), this) != 0) {
        meldungMitDetails(this, QStringLiteral("Speichern war nicht erfolgreich."), speicherfehlerText(m_stand.letzterSpeicherfehler()));
        return false;
    }
    // From now on the copy is what step 7 publishes.
    pfad = ziel;
    return true;
}
