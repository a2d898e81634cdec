#include "app/Ansicht.h"
#include "app/Form1.h"
#include "codec/Bildladen.h"
#include "output/Meldungen.h"

#include "platform/Flaechen.h"
#include "platform/Ordnerfolge.h"
#include "platform/Steuerelemente.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

void Form1::cmdÖffnen_Click()
{
    picZiel->setEnabled(false);
    oeffnenVorbereiten();
    if (!dienste().dateiOeffnen(this, m_dateiDialog)) {
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
    dateiDialogGewaehlt(m_dateiDialog, pfad);
    gewaehltLaden();
}

void Form1::naechstesBild(int richtung)
{
    if (!isEnabled() || m_blaetterPfad.isEmpty())
        return;
    const QString pfad = nachbarJpeg(m_blaetterPfad, richtung);
    if (pfad.isEmpty()) {
        QApplication::beep();
        return;
    }
    dateiUebernehmen(pfad);
}

void Form1::oeffnenVorbereiten()
{
    m_dateiDialog.DialogTitle = QStringLiteral("jpg-Datei öffnen");
    m_dateiDialog.InitDir = m_stand.vorgaben().pfadLaden;
    // Cameras write IMG_1234.JPG: every spelling of the extension is listed.
    m_dateiDialog.Filter = QStringLiteral(".JPG Datei|*.jpg;*.JPG;*.jpeg;*.JPEG");
    m_dateiDialog.FileName = QStringLiteral("*.jpg");
    m_dateiDialog.Ueberschreibfrage = false;
    if (m_lage == Lage::Gemerkt)
        m_dateiDialog.zuletzt = ordnerVerlaufLaden();
}

void Form1::gewaehltLaden()
{
    // Paging goes on from here, also when this file cannot be read.
    m_blaetterPfad = m_dateiDialog.FileName;
    if (m_lage == Lage::Gemerkt)
        ordnerVerlaufMerken(QFileInfo(m_blaetterPfad).absolutePath());
    if (!bildLaden(m_dateiDialog.FileName))
        picZiel->setEnabled(true);
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

    picZiel->leeren();
    // The old picture goes before the new one takes its copies.
    picQuelle->setzeBild(QImage(), true);
    m_stand.neuesBild(pfad, std::move(geladen.bild));
    anzeigen();
    AnsichtAufbauen(Ansichtsquelle::Quelle);
    m_stand.bildGeladen(Data1->datensatz().kompression);
    anzeigen();
    Timer1->start();
    return true;
}

void Form1::AnsichtAufbauen(Ansichtsquelle quelle, QSizeF tisch)
{
    picZiel->leeren();
    const bool zuschnitt = quelle == Ansichtsquelle::Zuschnitt;
    const BildFlaeche* flaeche = zuschnitt ? picTemp : picQuelle;
    if (tisch.isEmpty())
        tisch = QSizeF(fraTisch->size());
    const Ansichtsmass mass = ansichtBerechnen(flaeche->ScaleWidth(), flaeche->ScaleHeight(), float(tisch.width()),
                                               float(tisch.height()));
    picZiel->setzeGroesse(mass.breite, mass.hoehe);
    // On a high-resolution screen the picture is resampled to the screen's pixels, not blown up.
    const QSize pixel = picZiel->malPixel(QSizeF(mass.malBreite, mass.malHoehe));
    const QImage& bild = flaeche->bild();
    if (!bild.isNull() && !pixel.isEmpty()) {
        QImage gemalt;
        if (bild.size() == pixel)
            gemalt = bild;
        else if (!zuschnitt)
            gemalt = m_stand.quelle().ansicht(pixel);
        else
            gemalt = Quellbild(bild).ansicht(pixel);
        picZiel->malen(gemalt, QSizeF(mass.malBreite, mass.malHoehe));
    }
    m_ansichtBeschriftung = mass.beschriftung();
    ansichtBeschriften();
    // The frame always maps onto the loaded picture's view: a cropped picture
    // on show is only looked at, and the next frame brings the loaded one back.
    m_zeigtZuschnitt = zuschnitt;
    m_stand.ansichtGebaut(zuschnitt, picZiel->ScaleWidth(), picZiel->ScaleHeight(), picZiel->Width(), picZiel->Height(), tisch);
}
