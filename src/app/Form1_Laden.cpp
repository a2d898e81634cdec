#include "app/Ansicht.h"
#include "app/Bildladen.h"
#include "app/Form1.h"

#include "platform/Flaechen.h"
#include "platform/Steuerelemente.h"
#include "platform/Zahlen.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

#include <cmath>

void Form1::cmdÖffnen_Click()
{
    picZiel->setEnabled(false);
    dateiDialog.DialogTitle = QStringLiteral("jpg-Datei öffnen");
    dateiDialog.InitDir = pfadLaden;
    // Cameras write IMG_1234.JPG: every spelling of the extension is listed.
    dateiDialog.Filter = QStringLiteral(".JPG Datei|*.jpg;*.JPG;*.jpeg;*.JPEG");
    dateiDialog.FileName = QStringLiteral("*.jpg");
    dateiDialog.Ueberschreibfrage = false;
    if (!dienste().dateiOeffnen(this, dateiDialog)) {
        picZiel->setEnabled(true);
        return;
    }
    if (!bildLaden(dateiDialog.FileName))
        picZiel->setEnabled(true);
}

bool Form1::bildLaden(const QString& pfad)
{
    // Decode first: a file that cannot be read leaves the current picture as it was.
    Ladeergebnis geladen = jpegLaden(pfad);
    if (geladen.bild.isNull()) {
        meldung(this, QStringLiteral("Die Datei „%1“ kann nicht als JPEG-Bild gelesen werden.\r\n%2")
                          .arg(QDir::toNativeSeparators(pfad), geladen.grund));
        return false;
    }

    lblZMaßnahme1->clear();
    dateiPfad = pfad;
    Text1->setText(dateiPfad);

    picZiel->leeren();
    picQuelle->setzeBild(QImage(), true);
    m_rahmen.zuruecksetzen();
    rahmenZeigen();
    picQuelle->setzeBild(std::move(geladen.bild), true);
    AnsichtAufbauen(picQuelle, picZiel);

    picZiel->show();
    lblQ->setText(zahlen::Kurz(double(picQuelle->ScaleWidth())) + QStringLiteral(" x ")
                  + zahlen::Kurz(double(picQuelle->ScaleHeight())));
    Command1->setEnabled(false);
    Command2->setEnabled(false);
    Command7->setEnabled(true);
    TextKomp->setText(zahlen::Kurz(Data1->datensatz().kompression));
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
    const QSize pixel(int(std::ceil(mass.malBreite)), int(std::ceil(mass.malHoehe)));
    const QImage& bild = quelle->bild();
    if (!bild.isNull() && !pixel.isEmpty())
        ansicht->malen(bild.size() == pixel ? bild : bild.scaled(pixel, Qt::IgnoreAspectRatio, Qt::SmoothTransformation),
                       QSizeF(mass.malBreite, mass.malHoehe));
    lblAnsicht->setText(mass.beschriftung());
    flaechenAbgleichen();
}

void Form1::flaechenAbgleichen()
{
    m_rahmen.setzeFlaechen(picZiel->ScaleWidth(), picZiel->ScaleHeight(), picZiel->Width(), picZiel->Height(),
                           picQuelle->ScaleWidth(), picQuelle->ScaleHeight());
}
