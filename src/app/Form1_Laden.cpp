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
    // A decode still running is for a photo no longer wanted.
    m_auftrag.reset();
    ladeHinweis(false);

    // A photo larger than the view is decoded on threads of their own: reduced first, to
    // a size that still covers the view's own pixels, then whole.
    const auto ansichtspixel = [tisch = QSizeF(fraTisch->size()), verhaeltnis = picZiel->devicePixelRatioF()](
                                   const Jpegdatei& datei) {
        const QSize ganz = datei.aufrecht();
        const Ansichtsmass mass =
            ansichtBerechnen(float(ganz.width()), float(ganz.height()), float(tisch.width()), float(tisch.height()));
        return BildFlaeche::malPixel(QSizeF(mass.malBreite, mass.malHoehe), verhaeltnis);
    };
    // A small file is read and checked here, so that a refusal comes at once and a
    // picture no larger than the view is shown at once; reading a large one, or a file
    // that memory has to be found for first, could hold the window up noticeably.
    constexpr qint64 hierLesenBis = 1 << 20;
    Jpegdatei datei;
    if (QFileInfo(pfad).size() <= hierLesenBis) {
        Ladeergebnis geladen = jpegOeffnen(pfad, datei);
        const bool ganzHier = geladen.fehler == Ladefehler::Keiner && verkleinerung(datei, ansichtspixel(datei)) == 1;
        if (ganzHier)
            geladen = jpegDekodieren(datei);
        if (geladen.fehler != Ladefehler::Keiner || (ganzHier && geladen.bild.isNull())) {
            ladefehlerMelden(pfad, geladen);
            abgebrochenesLadenFortsetzen();
            return false;
        }
        if (ganzHier) {
            bildZeigen(pfad, Quellbild(std::move(geladen.bild)));
            return true;
        }
    }
    auftragStarten(pfad, std::move(datei), ansichtspixel, false);
    return true;
}

void Form1::auftragStarten(const QString& pfad, Jpegdatei datei, Ladeauftrag::Ansichtspixel ansichtspixel,
                           bool ersteAnsichtDa)
{
    const int nummer = ++m_ladeNummer;
    m_ladePfad = pfad;
    m_ersteAnsichtDa = ersteAnsichtDa;
    m_auftrag = std::make_unique<Ladeauftrag>(
        pfad, std::move(datei), std::move(ansichtspixel), this,
        [this, nummer, pfad, ersteAnsichtDa] {
            if (nummer != m_ladeNummer || !m_auftrag)
                return;
            // With a first view on show already, only a file that can no longer be read reports here.
            if (ersteAnsichtDa)
                vollesBildUebernehmen(true);
            else
                ersteAnsichtZeigen(pfad);
        },
        [this, nummer] {
            if (nummer == m_ladeNummer && m_auftrag)
                vollesBildUebernehmen(true);
        });
    m_ladeHinweisTimer->start();
}

void Form1::ladefehlerMelden(const QString& pfad, const Ladeergebnis& geladen)
{
    meldung(this, QStringLiteral("Die Datei „%1“ kann nicht als JPEG-Bild gelesen werden.\r\n%2")
                      .arg(QDir::toNativeSeparators(pfad), ladefehlerText(geladen)));
}

void Form1::bildZeigen(const QString& pfad, Quellbild quelle)
{
    picZiel->leeren();
    // The old picture goes before the new one takes its copies.
    picQuelle->setzeBild(QImage(), true);
    m_stand.neuesBild(pfad, std::move(quelle));
    anzeigen();
    AnsichtAufbauen(Ansichtsquelle::Quelle);
    m_stand.bildGeladen(Data1->datensatz().kompression);
    anzeigen();
    Timer1->start();
}

void Form1::ersteAnsichtZeigen(const QString& pfad)
{
    Ladeauftrag::Ergebnis erste = m_auftrag->ersteAnsicht();
    if (erste.quelle.isNull()) {
        // Refused as ever: the current picture stays.
        m_auftrag.reset();
        ladeHinweis(false);
        ladefehlerMelden(pfad, erste.geladen);
        picZiel->setEnabled(true);
        abgebrochenesLadenFortsetzen();
        return;
    }
    // Kept until the full picture is there, should it turn out damaged after all.
    m_vorigerPfad = m_stand.dateiPfad();
    m_vorigeQuelle = m_stand.quelle();
    m_ersteAnsichtDa = true;
    bildZeigen(pfad, std::move(erste.quelle));
}

void Form1::vollesBildUebernehmen(bool sofort)
{
    if (!m_auftrag)
        return;
    Ladeauftrag::Ergebnis ergebnis = m_auftrag->abwarten();
    m_auftrag.reset();
    ladeHinweis(false);
    if (!m_ersteAnsichtDa) {
        // The whole picture came first: shown at once, or refused with the current one kept.
        if (ergebnis.quelle.isNull()) {
            ladefehlerMelden(m_ladePfad, ergebnis.geladen);
            picZiel->setEnabled(true);
            abgebrochenesLadenFortsetzen();
        } else {
            bildZeigen(m_ladePfad, std::move(ergebnis.quelle));
        }
        return;
    }
    m_ersteAnsichtDa = false;
    Quellbild vorige = std::exchange(m_vorigeQuelle, Quellbild());
    const QString vorigerPfad = std::exchange(m_vorigerPfad, QString());
    if (m_stand.vollesBild(std::move(ergebnis.quelle))) {
        nebenherFreigeben(std::move(vorige));
        if (sofort)
            ansichtNeuMalen();
        else // the step that waited paints the view its own way; the full pixels follow
            QTimer::singleShot(0, this, [this] { ansichtNeuMalen(); });
        return;
    }
    // Damage that only the full decode met: refused as ever, and the previous picture returns.
    const auto ablehnen = [this, geladen = ergebnis.geladen, pfad = m_stand.dateiPfad(), vorige, vorigerPfad] {
        if (m_stand.dateiPfad() != pfad || !m_stand.quelle().vorlaeufig())
            return; // another photo has been loaded meanwhile
        ladefehlerMelden(pfad, geladen);
        if (vorige.isNull() || vorige.vorlaeufig()) {
            picZiel->leeren();
            picQuelle->setzeBild(QImage(), true);
            m_stand.bildEntfernen();
            picZiel->hide();
            anzeigen();
            return;
        }
        bildZeigen(vorigerPfad, vorige);
    };
    if (sofort)
        ablehnen();
    else // not inside the step that waited
        QTimer::singleShot(0, this, ablehnen);
}

void Form1::abgebrochenesLadenFortsetzen()
{
    if (m_auftrag || m_stand.quelle().isNull() || !m_stand.quelle().vorlaeufig())
        return;
    // Asked for no reduction, the job decodes only the whole picture; a file that can no
    // longer be read is refused as a damaged one, and the previous picture comes back.
    auftragStarten(m_stand.dateiPfad(), Jpegdatei(), [](const Jpegdatei& datei) { return datei.aufrecht(); }, true);
}

void Form1::nebenherFreigeben(Quellbild alt)
{
    if (m_freigabe.joinable())
        m_freigabe.join();
    m_freigabe = std::thread([alt = std::move(alt)]() mutable { alt = Quellbild(); });
}

void Form1::ansichtNeuMalen()
{
    // The loaded picture on show, drawn again from its full pixels in the area of its first view.
    if (m_zeigtZuschnitt || m_stand.quelle().isNull() || m_stand.quelle().vorlaeufig())
        return;
    anzeigen();
    AnsichtAufbauen(Ansichtsquelle::Quelle, m_stand.quellFlaeche());
}

void Form1::ladeHinweis(bool an)
{
    if (!an)
        m_ladeHinweisTimer->stop();
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
        picZiel->malen(gemalt, QSizeF(mass.malBreite, mass.malHoehe));
    }
    m_ansichtBeschriftung = mass.beschriftung();
    ansichtBeschriften();
    // The frame always maps onto the loaded picture's view: a cropped picture
    // on show is only looked at, and the next frame brings the loaded one back.
    m_zeigtZuschnitt = zuschnitt;
    m_stand.ansichtGebaut(zuschnitt, picZiel->ScaleWidth(), picZiel->ScaleHeight(), picZiel->Width(), picZiel->Height(), tisch);
}
