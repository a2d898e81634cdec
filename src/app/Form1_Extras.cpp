// Beyond the seven steps: the best quality below 100 KB in one click, and the
// question before a photo that tells where it was taken goes out unchanged.

#include "app/Form1.h"

#include "codec/Metadaten.h"
#include "output/BesteQualitaet.h"
#include "output/Meldungen.h"
#include "output/Speichern.h"
#include "platform/Flaechen.h"
#include "platform/Steuerelemente.h"
#include "platform/Zahlen.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>

void Form1::zielVorhanden(bool vorhanden) { cmdBesteQualitaet->setEnabled(vorhanden); }

void Form1::cmdBesteQualitaet_Click()
{
    // The target picture, as the next measurement and a save would encode it.
    const QImage ziel = picTemp->bild();
    if (!gdiplusBereit || ziel.isNull())
        return;
    const beste::Ergebnis ergebnis = beste::suchen(m_jpeg, ziel);
    if (ergebnis.status != 0) {
        GdipStatusPruefen(ergebnis.status, this);
        return;
    }
    if (ergebnis.qualitaet == 0) {
        meldung(this, QStringLiteral("Selbst mit der Qualität 1 wird die Datei nicht kleiner als 100 KB.\r\n"
                                     "Bitte wählen Sie unter „3. Zielformat festlegen“ eine kleinere Zielgröße."));
        return;
    }
    // The box's own change handling measures, shows and judges, also when it shows this number already.
    TextKomp->setzeText(zahlen::Kurz(double(ergebnis.qualitaet)));
}

namespace {

// The file as it is now; nothing for anything but a plain file (a pipe would block).
QByteArray dateiInhalt(const QString& pfad)
{
    // A source published unchanged is below 100 KB; this leaves room for any photo.
    constexpr qint64 hoechstens = 256 * 1024 * 1024;
    const QFileInfo info(pfad);
    if (!info.isFile() || info.size() > hoechstens)
        return {};
    QFile datei(pfad);
    if (!datei.open(QIODevice::ReadOnly))
        return {};
    return datei.read(hoechstens);
}

} // namespace

bool Form1::standortPruefen(QString& pfad)
{
    const QByteArray original = dateiInhalt(pfad);
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

    JpegMessung kopie;
    kopie.daten = metadaten::ohneMetadaten(original);
    if (kopie.daten.isEmpty()) {
        meldung(this, QStringLiteral("Von dieser Bilddatei lässt sich keine Kopie ohne Standortangaben erstellen."));
        return false;
    }
    speichernDialogVorbereiten();
    if (!dienste().dateiSpeichern(this, dateiDialog))
        return false;
    const QString ziel = dateiDialog.FileName;
    if (GdipStatusPruefen(m_jpeg.JpegSpeichern(kopie, ziel), this) != 0) {
        meldungMitDetails(this, QStringLiteral("Speichern war nicht erfolgreich."), speicherfehlerText(m_jpeg.letzterSpeicherfehler()));
        return false;
    }
    // From now on the copy is what step 7 publishes.
    veroeffentlichPfad = ziel;
    Command3->setToolTip(ziel);
    pfad = ziel;
    return true;
}
