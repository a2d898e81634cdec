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

#include <utility>

void Form1::cmdOeffnen_Click()
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
    bildLaden(m_dateiDialog.FileName);
}

void Form1::bildLaden(const QString& pfad)
{
    // A photo larger than the view may show at once reduced, to a size that still covers
    // the view's own pixels, while it is decoded whole.
    const auto ansichtspixel = [tisch = QSizeF(fraTisch->size()), verhaeltnis = picZiel->devicePixelRatioF()](
                                   const Jpegdatei& datei) {
        const QSize ganz = datei.aufrecht();
        const Ansichtsmass mass =
            ansichtBerechnen(float(ganz.width()), float(ganz.height()), float(tisch.width()), float(tisch.height()));
        return BildFlaeche::malPixel(QSizeF(mass.malBreite, mass.malHoehe), verhaeltnis);
    };
    m_ladeHinweisFaellig = false;
    m_ladeHinweisTimer->stop();
    m_ablauf.laden(pfad, ansichtspixel);
    ladeHinweisAbgleichen();
}

void Form1::ladeMeldung(const Ladeablauf::Meldung& meldung)
{
    switch (meldung.art) {
    case Ladeablauf::Meldung::Art::Bild:
        bildZeigen(meldung.pfad, meldung.quelle);
        break;
    case Ladeablauf::Meldung::Art::Ganz:
        // Of the same size, the whole picture takes the first view's place; the view is
        // drawn again from its pixels, and the steps that waited for them follow.
        m_stand.vollesBild(meldung.quelle);
        ansichtNeuMalen();
        break;
    case Ladeablauf::Meldung::Art::Abgelehnt:
        ladefehlerMelden(meldung.pfad, meldung.grund);
        picZiel->setEnabled(true);
        break;
    case Ladeablauf::Meldung::Art::Entfernt:
        picZiel->leeren();
        picQuelle->setzeBild(QImage(), true);
        m_stand.bildEntfernen();
        picZiel->hide();
        anzeigen();
        break;
    }
    ladeHinweisAbgleichen();
}

void Form1::ladefehlerMelden(const QString& pfad, const Ladeergebnis& geladen)
{
    meldung(this, QStringLiteral("Die Datei „%1“ kann nicht als JPEG-Bild gelesen werden.\r\n%2")
                      .arg(QDir::toNativeSeparators(pfad), ladefehlerText(geladen)));
}

void Form1::bildZeigen(const QString& pfad, Quellbild quelle)
{
    picZiel->leeren();
    picQuelle->setzeBild(QImage(), true);
    m_stand.neuesBild(pfad, std::move(quelle));
    anzeigen();
    AnsichtAufbauen(Ansichtsquelle::Quelle);
    m_stand.bildGeladen(Data1->datensatz().kompression);
    anzeigen();
    Timer1->start();
}

bool Form1::aufGanzesBildWarten(QPushButton* knopf, void (Form1::*schritt)())
{
    if (!m_stand.quelle().vorlaeufig())
        return false;
    // Carried out once the whole picture is there, if the button still allows it then.
    m_ablauf.spaeter([this, knopf, schritt] {
        if (knopf->isEnabledTo(this))
            (this->*schritt)();
        ladeHinweisAbgleichen();
    });
    ladeHinweisAbgleichen();
    return true;
}

void Form1::ketteAusstehend()
{
    // A step of the target chain met only the first view: the chain runs again with the
    // whole picture, in its turn among the steps that wait for it.
    m_ablauf.spaeter([this] {
        m_stand.ausstehendeKetteAusfuehren();
        anzeigen();
        ladeHinweisAbgleichen();
    });
    ladeHinweisAbgleichen();
}

void Form1::ansichtNeuMalen()
{
    // The loaded picture on show, drawn again from its full pixels in the area of its first view.
    if (m_stand.zuschnittGezeigt() || m_stand.quelle().isNull() || m_stand.quelle().vorlaeufig())
        return;
    anzeigen();
    AnsichtAufbauen(Ansichtsquelle::Quelle, m_stand.quellFlaeche());
}

void Form1::ladeHinweisAbgleichen()
{
    // The busy cursor and "Bild wird geladen …": while a step waits for the whole picture,
    // and once a load has taken half a second.
    if (!m_ablauf.laedt()) {
        m_ladeHinweisFaellig = false;
        m_ladeHinweisTimer->stop();
    } else if (!m_ladeHinweisFaellig && !m_ladeHinweisTimer->isActive()) {
        m_ladeHinweisTimer->start();
    }
    ladeHinweis(m_ablauf.wartet() || m_ladeHinweisFaellig);
}

void Form1::ladeHinweis(bool an)
{
    if (an == m_ladeHinweisAn)
        return;
    m_ladeHinweisAn = an;
    if (an)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
    ansichtBeschriften();
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
        picZiel->malen(std::move(gemalt), QSizeF(mass.malBreite, mass.malHoehe));
    }
    m_ansichtBeschriftung = mass.beschriftung();
    ansichtBeschriften();
    // The frame always maps onto the loaded picture's view: a cropped picture
    // on show is only looked at, and the next frame brings the loaded one back.
    m_stand.ansichtGebaut(zuschnitt, picZiel->ScaleWidth(), picZiel->ScaleHeight(), picZiel->Width(), picZiel->Height(), tisch);
}
