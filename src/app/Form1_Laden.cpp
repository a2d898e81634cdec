#include "app/Ansicht.h"
#include "app/Form1.h"
#include "codec/Bildladen.h"
#include "output/Meldungen.h"

#include "platform/Flaechen.h"
#include "platform/Steuerelemente.h"
#include "platform/Zahlen.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

void Form1::cmdÖffnen_Click()
{
    picZiel->setEnabled(false);
    oeffnenVorbereiten();
    if (!dienste().dateiOeffnen(this, dateiDialog)) {
        picZiel->setEnabled(true);
        return;
    }
    gewaehltLaden();
}

void Form1::dateiUebernehmen(const QString& pfad)
{
    // As if chosen in the open dialog: the same pause of the view, the same
    // load, and the dialog starts in this file's folder next time.
    picZiel->setEnabled(false);
    oeffnenVorbereiten();
    dateiDialogGewaehlt(dateiDialog, pfad);
    gewaehltLaden();
}

void Form1::oeffnenVorbereiten()
{
    dateiDialog.DialogTitle = QStringLiteral("jpg-Datei öffnen");
    dateiDialog.InitDir = pfadLaden;
    // Cameras write IMG_1234.JPG: every spelling of the extension is listed.
    dateiDialog.Filter = QStringLiteral(".JPG Datei|*.jpg;*.JPG;*.jpeg;*.JPEG");
    dateiDialog.FileName = QStringLiteral("*.jpg");
    dateiDialog.Ueberschreibfrage = false;
}

void Form1::gewaehltLaden()
{
    if (!bildLaden(dateiDialog.FileName)) {
        picZiel->setEnabled(true);
        return;
    }
    // The last measurement was of the previous picture: nothing to show as its JPEG.
    m_messungZumBild = false;
    jpegVorschauAbgleichen();
}

bool Form1::bildLaden(const QString& pfad)
{
    // Decode first: a file that cannot be read leaves the current picture as it was.
    Ladeergebnis geladen = jpegLaden(pfad);
    if (geladen.bild.isNull()) {
        meldung(this, QStringLiteral("Die Datei „%1“ kann nicht als JPEG-Bild gelesen werden.\r\n%2")
                          .arg(QDir::toNativeSeparators(pfad), ladefehlerText(geladen)));
        return false;
    }

    lblZMaßnahme1->clear();
    dateiPfad = pfad;
    Text1->setText(dateiPfad);

    picZiel->leeren();
    picQuelle->setzeBild(QImage(), true);
    m_quelle = Quellbild();
    m_rahmen.zuruecksetzen();
    rahmenZeigen();
    m_quelle = Quellbild(std::move(geladen.bild));
    picQuelle->setzeBild(m_quelle.bild(), true);
    AnsichtAufbauen(picQuelle, picZiel);

    picZiel->show();
    lblQ->setText(zahlen::Kurz(double(picQuelle->ScaleWidth())) + QStringLiteral(" x ")
                  + zahlen::Kurz(double(picQuelle->ScaleHeight())));
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    zielVorhanden(false);
    Command7->setEnabled(true);
    TextKomp->setzeText(zahlen::Kurz(Data1->datensatz().kompression));
    Command3->setToolTip(QString());
    veroeffentlichPfad.clear();
    statusLichtSetzen(1);
    QuellgroesseAnzeigen(dateiPfad);
    QuelleBewerten();
    Timer1->start();
    return true;
}

void Form1::AnsichtAufbauen(BildFlaeche* quelle, BildFlaeche* ansicht)
{
    ansicht->leeren();
    const Ansichtsmass mass = ansichtBerechnen(quelle->ScaleWidth(), quelle->ScaleHeight(), float(fraTisch->width()),
                                               float(fraTisch->height()));
    ansicht->setzeGroesse(mass.breite, mass.hoehe);
    // On a high-resolution screen the picture is resampled to the screen's pixels, not blown up.
    const QSize pixel = ansicht->malPixel(QSizeF(mass.malBreite, mass.malHoehe));
    const QImage& bild = quelle->bild();
    if (!bild.isNull() && !pixel.isEmpty()) {
        QImage gemalt;
        if (bild.size() == pixel)
            gemalt = bild;
        else if (quelle == picQuelle)
            gemalt = m_quelle.ansicht(pixel);
        else
            gemalt = Quellbild(bild).ansicht(pixel);
        ansicht->malen(gemalt, QSizeF(mass.malBreite, mass.malHoehe));
    }
    lblAnsicht->setText(mass.beschriftung());
    // The frame always maps onto the loaded picture's view: a cropped picture
    // on show is only looked at, and the next frame brings the loaded one back.
    m_zeigtZuschnitt = quelle != picQuelle;
    if (!m_zeigtZuschnitt)
        flaechenAbgleichen();
}

void Form1::flaechenAbgleichen()
{
    m_rahmen.setzeFlaechen(picZiel->ScaleWidth(), picZiel->ScaleHeight(), picZiel->Width(), picZiel->Height(),
                           picQuelle->ScaleWidth(), picQuelle->ScaleHeight());
}
