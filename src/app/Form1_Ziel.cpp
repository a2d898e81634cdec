#include "app/Form1.h"

#include "output/Bewertung.h"
#include "output/Meldungen.h"
#include "output/Speichern.h"
#include "output/Zielformat.h"
#include "platform/Ereignisse.h"
#include "platform/Flaechen.h"
#include "platform/Steuerelemente.h"
#include "platform/Zahlen.h"
#include "settings/Listen.h"

#include "fotoschliff_config.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QColor gruen(0x00, 0xC0, 0x00);
const QColor rot(0xFF, 0x00, 0x00);

void faerben(QLabel* label, const QColor& farbe)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, farbe);
    label->setPalette(p);
}

void urteilFaerben(QLabel* label) { faerben(label, label->text() == bewertung::OK ? gruen : rot); }

} // namespace

// --- step 3: target size ---

void Form1::List1_Click() { listen::groesseGewaehlt(*List1, *TextB, *TextH, *UpDown1); }

void Form1::TextB_Change()
{
    const double breite = zahlen::Val(TextB->text());
    if (breite == 0)
        return;
    TextH->setzeText(zahlen::Kurz(listen::hoeheZurBreite(breite, m_rahmen.verhaeltnisB, m_rahmen.verhaeltnisH)));
    const QString masse = TextB->text() + QStringLiteral(" x ") + TextH->text();
    lblZ->setText(masse);
    lblZpx->setText(masse);
    zielBreite = float(zahlen::Val(TextB->text()));
    zielHoehe = float(zahlen::Val(TextH->text()));
    if (zielHoehe > 0)
        zielkette();
}

void Form1::TextKomp_Change()
{
    ZielgroesseMessen();
    ZielBewerten();
}

void Form1::QuellgroesseAnzeigen(const QString& datei)
{
    const QFileInfo info(datei);
    lblQKB->setText(GroessenText(info.exists() ? info.size() : 0));
}

// --- judging source and target ---

void Form1::QuelleBewerten()
{
    const bewertung::Quelle urteil = bewertung::quelle(lblQ->text(), lblQKB->text());
    lblQprüf->setText(urteil.masse);
    lblQprüf1->setText(urteil.groesse);
    urteilFaerben(lblQprüf);
    urteilFaerben(lblQprüf1);
    if (urteil.geeignet()) {
        lblQMaßnahme->setText(QStringLiteral("Bild für Flattrium geeignet. Weiter mit: 7. Veröffentlichen"));
        faerben(lblQMaßnahme, gruen);
        veroeffentlichPfad = Text1->text();
        Command3->setToolTip(veroeffentlichPfad);
        Command3->setEnabled(true);
    } else {
        lblQMaßnahme->setText(QStringLiteral("Bild muss für Flattrium bearbeitet werden."));
        faerben(lblQMaßnahme, rot);
        veroeffentlichPfad.clear();
        Command3->setToolTip(QString());
        Command3->setEnabled(false);
    }
}

void Form1::ZielBewerten()
{
    faerben(lblZMaßnahme1, rot);
    const bewertung::Ziel urteil = bewertung::ziel(TextB->text(), TextH->text(), lblA->text(), lblKb->text());
    statusLichtSetzen(urteil.geeignet() ? 2 : 1);
    lblPrüf->setText(urteil.masse);
    lblZMaßnahme->setText(urteil.masseMassnahme);
    const bool ansicht = !picZiel->isHidden();
    lblPrüf1->setText(ansicht ? urteil.auswahl : QString());
    lblZMaßnahme1->setText(ansicht ? urteil.auswahlMassnahme : QString());
    const bool gemessen = !lblZkb->text().isEmpty();
    lblPrüf2->setText(gemessen ? urteil.groesse : QString());
    lblZMaßnahme2->setText(gemessen ? urteil.groesseMassnahme : QString());
    urteilFaerben(lblPrüf);
    urteilFaerben(lblPrüf1);
    urteilFaerben(lblPrüf2);
    lblZMaßnahme->setText(urteil.masseMassnahme);
    if (urteil.geeignet()) {
        if (Command1->isEnabled())
            lblZMaßnahme1->setText(QStringLiteral("Bild für Flattrium geeignet. Weiter mit: 6. Zuschneiden"));
        else if (Command2->isEnabled())
            lblZMaßnahme1->setText(QStringLiteral("Bild für Flattrium geeignet. Weiter mit: 6. Speichern"));
        lblZMaßnahme2->clear();
        lblZMaßnahme->clear();
        faerben(lblZMaßnahme1, gruen);
    }
}

// --- crop, resample and measure ---

void Form1::AuswahlUebertragen()
{
    picTemp->setzeBild(QImage());
    picPreview->setzeBild(QImage());
    const Auswahlrahmen::Rechteck q = m_rahmen.quellrechteck();
    Shape2->bewegen(q.L, q.T, q.W, q.H);
    m_rahmen.shape2 = q;
    m_rahmen.lblA = Shape1->Visible() ? QString::number(zahlen::RundeAnzeige(q.W)) + QStringLiteral(" x ")
                                            + QString::number(zahlen::RundeAnzeige(q.H))
                                      : QString();
    if (lblA->text() != m_rahmen.lblA)
        lblA->setText(m_rahmen.lblA);

    picTemp->setzeGroesse(1, 1);
    const double tw = zahlen::Ganz(zahlen::Val(TextB->text()));
    const double th = zahlen::Ganz(zahlen::Val(TextH->text()));
    if (tw < 1 || th < 1 || tw > 100000 || th > 100000 || m_quelle.isNull())
        return;
    picTemp->setzeBild(m_quelle.ausschnitt(QRectF(q.L, q.T, q.W, q.H), QSize(int(tw), int(th))), true);
}

void Form1::ZielgroesseMessen()
{
    // After "Zuschneiden" the frame is gone but its crop waits to be saved:
    // a new quality must measure it, or the save would write the old one.
    const bool zuschnittWartet = Command2->isEnabled();
    if (!Shape1->Visible() && !zuschnittWartet)
        return;
    if (picZiel->isHidden()) {
        lblKb->clear();
        lblZkb->clear();
        return;
    }
    picPreview->setzeBild(picTemp->bild(), true);
    jpegQualitaet = int(zahlen::RundeGerade(zahlen::Val(TextKomp->text())));
    if (!gdiplusBereit || picPreview->bild().isNull())
        return;
    letzteMessung = m_jpeg.JpegMessen(picPreview->bild(), jpegQualitaet);
    GdipStatusPruefen(letzteMessung.status, this);
    // Lets the window catch up before the result shows; input waits until the
    // chain is through, so that a second release cannot start inside this one.
    ausstehendeEreignisseOhneEingabe();
    picPreview->setzeBild(letzteMessung.Bild, !letzteMessung.Bild.isNull());
    const QString groesse = GroessenText(qint64(letzteMessung.Groesse));
    lblKb->setText(groesse);
    lblZkb->setText(groesse);
    m_messungZumBild = true;
    jpegVorschauAbgleichen();
}

void Form1::BildZuschneiden()
{
    m_rahmen.verbergen();
    m_rahmen.lblA.clear();
    rahmenZeigen();
    AuswahlUebertragen();
    ZielgroesseMessen();
    AnsichtAufbauen(picTemp, picZiel);
}

void Form1::Command1_Click()
{
    BildZuschneiden();
    Command2->setEnabled(true);
    Command1->setEnabled(false);
    zielVorhanden(true);
    ZielBewerten();
}

// --- save and publish ---

void Form1::speichernDialogVorbereiten()
{
    dateiDialog.DialogTitle = QStringLiteral("Speichern unter");
    // Camera names like IMG_1234.JPG stay visible when choosing where to save.
    dateiDialog.Filter = QStringLiteral("JPG Files|*.jpg;*.JPG;*.jpeg;*.JPEG");
    const QString vorschlagName = dateinameVorschlag(vorschlag, dateiDialog.FileTitle, anhang);
    if (!vorschlagName.isNull())
        dateiDialog.FileName = vorschlagName;
    dateiDialog.InitDir = pfadSpeichern;
    dateiDialog.Ueberschreibfrage = true;
}

void Form1::Command2_Click()
{
    if (!gdiplusBereit)
        return;
    speichernDialogVorbereiten();
    if (!dienste().dateiSpeichern(this, dateiDialog))
        return;

    // The file written is the very JPEG whose size was shown and judged.
    const QString pfad = dateiDialog.FileName;
    // The failing step's error box first; the system's reason goes behind "Details".
    if (GdipStatusPruefen(m_jpeg.JpegSpeichern(letzteMessung, pfad), this) != 0) {
        meldungMitDetails(this, QStringLiteral("Speichern war nicht erfolgreich."), speicherfehlerText(m_jpeg.letzterSpeicherfehler()));
        return;
    }
    veroeffentlichPfad = pfad;
    Command3->setToolTip(pfad);
    Command3->setEnabled(true);
    lblZMaßnahme1->setText(QStringLiteral("Bild gespeichert. Weiter mit: 7. Veröffentlichen"));
}

void Form1::Command3_Click()
{
    QString pfad = veroeffentlichPfad;
    if (!standortPruefen(pfad))
        return;
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
    gdiplusBereit = false;
    const int status = m_jpeg.GdipStarten(1);
    GdipStatusPruefen(status, this);
    if (status != 0)
        meldung(this, QStringLiteral("GDI+ not inizialized."), QStringLiteral("GDI Error"));
    else
        gdiplusBereit = true;
}

void Form1::jpegDienstBeenden()
{
    if (gdiplusBereit)
        m_jpeg.GdipBeenden();
    gdiplusBereit = false;
}
