#include "app/Form1.h"

#include "hilfe/Form3.h"
#include "hilfe/HilfeTexte.h"
#include "output/Speichern.h"
#include "platform/Ereignisse.h"
#include "platform/Fensterlage.h"
#include "platform/Flaechen.h"
#include "platform/Fokusrahmen.h"
#include "platform/Steuerelemente.h"
#include "settings/Listen.h"
#include "settings/Form2.h"
#include "settings/SettingsStore.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>

namespace {

// Inner size of the window as designed; every position below is in its pixels.
constexpr int designBreite = 1058;
constexpr int designHoehe = 743;
constexpr int randAbstand = 10;

QPixmap statusPixmap(int bild)
{
    QPixmap pixmap(18, 18);
    pixmap.fill(Qt::transparent);
    QPainter maler(&pixmap);
    maler.setRenderHint(QPainter::Antialiasing);
    const QColor farbe = bild == 2 ? QColor(0x00, 0xC0, 0x00) : QColor(0xB4, 0xB4, 0xB4);
    QRadialGradient verlauf(QPointF(7, 6), 9);
    verlauf.setColorAt(0, farbe.lighter(160));
    verlauf.setColorAt(1, farbe);
    maler.setPen(QPen(farbe.darker(150), 1));
    maler.setBrush(verlauf);
    maler.drawEllipse(QRectF(1.5, 1.5, 15, 15));
    return pixmap;
}

Qt::CursorShape cursorForm(int bild)
{
    switch (bild) {
    case Auswahlrahmen::GroesseROLU: return Qt::SizeBDiagCursor;
    case Auswahlrahmen::GroesseLORU: return Qt::SizeFDiagCursor;
    default: return Qt::SizeAllCursor;
    }
}

} // namespace

Form1::Form1(QWidget* eltern, Lage lage)
    : QWidget(eltern)
    , m_stand({[this](int status) { GdipStatusPruefen(status, this); },
               [this] {
                   // Lets the window catch up before the result shows; input waits until the
                   // chain is through, so that a second release cannot start inside this one.
                   anzeigen();
                   ausstehendeEreignisseOhneEingabe();
               },
               [this] { ketteAusstehend(); },
               [this](std::function<Kodierung()> arbeit, std::function<void(const Kodierung&)> fertig) {
                   nebenherRechnen(std::move(arbeit), std::move(fertig));
               }})
    , m_ablauf([this](Ladeablauf::Meldung meldung) { nachDemSchritt([this, meldung] { ladeMeldung(meldung); }); })
    , m_lage(lage)
{
    aufbauen();
    desktopVerbinden();
    // Before the start-up sequence, which may show the window already.
    if (m_lage == Lage::Gemerkt)
        fensterlageLaden(this, QStringLiteral("Hauptfenster"), QSize(designBreite, designHoehe));
    Form_Load();
}

Form1::~Form1()
{
    m_briefkasten->schliessen();
    // A decode still running ends by itself; the picture goes on a thread of its own.
    picQuelle->setzeBild(QImage(), true);
    Ladeauftrag::nebenherFreigeben(m_stand.quelle());
    m_stand.bildEntfernen();
    ladeHinweis(false);
    delete m_leertasteWaechter;
    if (m_hilfe)
        delete m_hilfe.data();
}

Form3* Form1::hilfe() const { return m_hilfe; }

void Form1::nachDemSchritt(std::function<void()> aktion)
{
    if (!m_stand.mittenImSchritt()) {
        aktion();
        return;
    }
    // Posted while events are taken in: it comes after them.
    QTimer::singleShot(0, this, [this, aktion = std::move(aktion)] { nachDemSchritt(aktion); });
}

void Form1::nebenherRechnen(std::function<Kodierung()> arbeit, std::function<void(const Kodierung&)> fertig)
{
    const auto ergebnis = [this, fertig](const Kodierung& kodierung) {
        nachDemSchritt([this, fertig, kodierung] {
            fertig(kodierung);
            anzeigen();
        });
    };
    auto nebenher = [arbeit, ergebnis, kasten = m_briefkasten] {
        const Kodierung kodierung = arbeit();
        kasten->senden([ergebnis, kodierung] { ergebnis(kodierung); });
    };
    if (!Ladeauftrag::nebenher(std::move(nebenher)))
        fertig(arbeit());
}

void Form1::aufbauen()
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("Fotoschliff – JPEG-Bilder fürs Flattrium"));
    setFont(schmaleSchrift(font()));
    resize(designBreite, designHoehe);
    setMinimumSize(760, 660);

    const auto hilfeKnopf = [this](int index, QWidget* eltern, int x, int y, int b = 18, int h = 20) {
        auto* k = platzieren<QPushButton>(eltern, qPrintable(QStringLiteral("Command4(%1)").arg(index)), {x, y, b, h},
                                          QStringLiteral("?"));
        k->setFocusPolicy(Qt::TabFocus);
        Command4[index] = k;
    };

    // The picture area first, so that everything else lies above it.
    fraTisch = new QFrame(this);
    fraTisch->setObjectName(QStringLiteral("fraTisch"));
    fraTisch->setGeometry(216, 144, 833, 537);
    fraTisch->setFrameShape(QFrame::StyledPanel);
    fraTisch->setFrameShadow(QFrame::Sunken);
    fraTisch->setAutoFillBackground(true);
    {
        QPalette grau = fraTisch->palette();
        grau.setColor(QPalette::Window, QColor(0x80, 0x80, 0x80));
        fraTisch->setPalette(grau);
    }

    // 1. Bilddatei laden
    Frame9 = platzieren<QGroupBox>(this, "Frame9", {8, 8, 201, 49}, QStringLiteral("1. Bilddatei laden"));
    cmdOeffnen = platzieren<QPushButton>(Frame9, "cmdÖffnen", {8, 18, 166, 23}, QStringLiteral("Datei öffnen..."));
    hilfeKnopf(13, Frame9, 178, 19);

    // 2. Auswahlrahmen festlegen
    Frame6 = platzieren<QGroupBox>(this, "Frame6", {8, 64, 201, 49}, QStringLiteral("2. Auswahlrahmen festlegen"));
    Combo1 = platzieren<Liste>(Frame6, "Combo1", {6, 19, 90, 22});
    oColor = platzieren<Liste>(Frame6, "oColor", {97, 19, 79, 22});
    hilfeKnopf(4, Frame6, 178, 20);

    // 3. Zielformat festlegen
    Frame7 = platzieren<QGroupBox>(this, "Frame7", {8, 120, 201, 81}, QStringLiteral("3. Zielformat festlegen"));
    List1 = platzieren<Liste>(Frame7, "List1", {8, 19, 166, 22});
    hilfeKnopf(5, Frame7, 178, 20);
    TextB = platzieren<TextFeld>(Frame7, "TextB", {8, 48, 49, 22});
    UpDown1 = platzieren<UpDown>(Frame7, "UpDown1", {57, 48, 15, 22}, TextB, 10, 10000, 10);
    Label1[0] = platzieren<QLabel>(Frame7, "Label1(0)", {78, 50, 12, 17}, QStringLiteral("x"));
    Label1[0]->setAlignment(Qt::AlignCenter);
    TextH = platzieren<TextFeld>(Frame7, "TextH", {94, 48, 49, 22});
    TextB->setEnabled(false);
    TextH->setEnabled(false);
    UpDown1->setEnabled(false);

    // 4. Auswahlrahmen ziehen
    Frame4 = platzieren<QGroupBox>(this, "Frame4", {8, 208, 201, 89}, QStringLiteral("4. Auswahlrahmen ziehen"));
    platzieren<QLabel>(Frame4, "Label3", {8, 17, 166, 27}, QStringLiteral("und evtl. mit Ziehpunkten justieren"))->setWordWrap(true);
    hilfeKnopf(6, Frame4, 178, 18);
    platzieren<QLabel>(Frame4, "Label4", {8, 43, 166, 15}, QStringLiteral("oder"));
    Command7 = platzieren<QPushButton>(Frame4, "Command7", {8, 59, 166, 23}, QStringLiteral("ganzes Bild auswählen"));
    hilfeKnopf(14, Frame4, 178, 60);
    Command7->setEnabled(false);

    // 5. Kompression regeln
    Frame3 = platzieren<QGroupBox>(this, "Frame3", {8, 304, 201, 65}, QStringLiteral("5. Kompression regeln"));
    platzieren<QLabel>(Frame3, "Label5", {8, 22, 44, 17}, QStringLiteral("Kompr."));
    TextKomp = platzieren<TextFeld>(Frame3, "TextKomp", {52, 19, 37, 22}, QStringLiteral("100 "));
    UpDown2 = platzieren<UpDown>(Frame3, "UpDown2", {89, 19, 15, 22}, TextKomp, 50, 100, 100);
    Image1 = platzieren<QLabel>(Frame3, "Image1", {122, 21, 18, 18});
    platzieren<QLabel>(Frame3, "Label6", {8, 43, 44, 17}, QStringLiteral("Größe:"));
    lblKb = platzieren<QLabel>(Frame3, "lblKb", {52, 43, 110, 17}, QString());
    hilfeKnopf(7, Frame3, 178, 20);
    cmdBesteQualitaet = platzieren<QPushButton>(Frame3, "cmdBesteQualitaet", {108, 41, 88, 20}, QStringLiteral("beste < 100 KB"));
    cmdBesteQualitaet->setToolTip(QStringLiteral("Sucht die höchste Qualität (1 bis 100), bei der die Zieldatei "
                                                 "kleiner als 100 KB bleibt, und trägt sie bei „Kompr.“ ein."));
    cmdBesteQualitaet->setEnabled(false);

    // 6. Zuschneiden/Speichern
    Frame5 = platzieren<QGroupBox>(this, "Frame5", {8, 376, 201, 73}, QStringLiteral("6. Zuschneiden/Speichern"));
    Command1 = platzieren<QPushButton>(Frame5, "Command1", {8, 18, 166, 23}, QStringLiteral("Zuschneiden"));
    hilfeKnopf(8, Frame5, 178, 19);
    Command2 = platzieren<QPushButton>(Frame5, "Command2", {8, 44, 166, 23}, QStringLiteral("Speichern unter ..."));
    hilfeKnopf(9, Frame5, 178, 45);
    Command1->setEnabled(false);
    Command2->setEnabled(false);

    // 7. Veröffentlichen
    Frame8 = platzieren<QGroupBox>(this, "Frame8", {8, 456, 201, 65}, QStringLiteral("7. Veröffentlichen"));
    Command3 = platzieren<UmbruchKnopf>(Frame8, "Command3", {8, 18, 166, 38},
                                        QStringLiteral("Dateipfad kopieren und Flattrium starten"));
    Command3->setEnabled(false);
    hilfeKnopf(10, Frame8, 178, 27);

    // Extras
    fraEinstellungen = platzieren<QGroupBox>(this, "fraEinstellungen", {8, 624, 201, 105}, QStringLiteral("Extras"));
    Command5 = platzieren<QPushButton>(fraEinstellungen, "Command5", {7, 18, 169, 25}, QStringLiteral("bevorzugte Starteinstellungen..."));
    hilfeKnopf(11, fraEinstellungen, 178, 20);
    Command6 = platzieren<QPushButton>(fraEinstellungen, "Command6", {7, 48, 169, 25}, QStringLiteral("Fundortzusammenstellung..."));
    hilfeKnopf(12, fraEinstellungen, 178, 50);
    lblKontakt = platzieren<KlickLabel>(fraEinstellungen, "lblKontakt", {8, 80, 40, 17}, QStringLiteral("Info"));

    // Read-out strip
    Frame10 = platzieren<QGroupBox>(this, "Frame10", {216, 8, 833, 129}, QStringLiteral("Bilddaten"));
    platzieren<QLabel>(Frame10, "Label7", {16, 13, 48, 20}, QStringLiteral("Quelle:"));
    platzieren<QLabel>(Frame10, "Label8", {64, 13, 88, 20}, QStringLiteral("Dateipfad:"));
    Text1 = platzieren<QLineEdit>(Frame10, "Text1", {152, 13, 385, 20}, QStringLiteral("Keine Bilddatei ausgewählt"));
    Text1->setReadOnly(true);
    platzieren<QLabel>(Frame10, "Label9", {624, 13, 56, 20}, QStringLiteral("Ansicht: "));
    lblAnsicht = platzieren<QLabel>(Frame10, "lblAnsicht", {680, 13, 120, 20}, QStringLiteral("automatisch"));

    platzieren<QLabel>(Frame10, "Label10", {64, 32, 88, 17}, QStringLiteral("Abmessungen:"));
    lblQ = platzieren<QLabel>(Frame10, "lblQ", {152, 32, 81, 17}, QString());
    lblQpruef = platzieren<QLabel>(Frame10, "lblQprüf", {240, 32, 105, 17}, QString());
    platzieren<QLabel>(Frame10, "Label11", {64, 48, 88, 17}, QStringLiteral("Dateigröße:"));
    lblQKB = platzieren<QLabel>(Frame10, "lblQKB", {152, 48, 81, 17}, QString());
    lblQpruef1 = platzieren<QLabel>(Frame10, "lblQprüf1", {240, 48, 105, 17}, QString());
    lblQMassnahme = platzieren<QLabel>(Frame10, "lblQMaßnahme", {376, 48, 449, 17}, QString());

    platzieren<QLabel>(Frame10, "Label12", {16, 72, 48, 17}, QStringLiteral("Ziel:"));
    platzieren<QLabel>(Frame10, "Label13", {64, 72, 88, 17}, QStringLiteral("Abmessungen:"));
    lblZpx = platzieren<QLabel>(Frame10, "lblZpx", {152, 72, 81, 17}, QString());
    lblPruef = platzieren<QLabel>(Frame10, "lblPrüf", {240, 72, 105, 17}, QString());
    lblZMassnahme = platzieren<QLabel>(Frame10, "lblZMaßnahme", {376, 72, 449, 17}, QString());
    platzieren<QLabel>(Frame10, "Label14", {64, 88, 88, 17}, QStringLiteral("Dateigröße:"));
    lblZkb = platzieren<QLabel>(Frame10, "lblZkb", {152, 88, 81, 17}, QString());
    lblPruef2 = platzieren<QLabel>(Frame10, "lblPrüf2", {240, 88, 105, 17}, QString());
    lblZMassnahme2 = platzieren<QLabel>(Frame10, "lblZMaßnahme2", {376, 88, 449, 17}, QString());
    platzieren<QLabel>(Frame10, "Label15", {64, 104, 88, 17}, QStringLiteral("Auswahlbereich:"));
    lblA = platzieren<QLabel>(Frame10, "lblA", {152, 104, 81, 17}, QString());
    lblPruef1 = platzieren<QLabel>(Frame10, "lblPrüf1", {240, 104, 105, 17}, QString());
    lblZMassnahme1 = platzieren<QLabel>(Frame10, "lblZMaßnahme1", {376, 104, 449, 17}, QString());
    hilfeKnopf(0, Frame10, 348, 46, 21, 17);
    hilfeKnopf(1, Frame10, 348, 70, 21, 17);
    hilfeKnopf(2, Frame10, 348, 86, 21, 17);
    hilfeKnopf(3, Frame10, 348, 102, 21, 17);

    // Parts of the design that are never shown.
    lblJpgQuality = platzieren<QLabel>(this, "lblJpgQuality", {0, 0, 81, 17}, QStringLiteral("lblJpgQuality"));
    lblJpgFileSize = platzieren<QLabel>(this, "lblJpgFileSize", {0, 0, 81, 17}, QStringLiteral("lblJpgFileSize"));
    lblZ = platzieren<QLabel>(this, "lblZ", {0, 0, 81, 17}, QString());
    Frame1 = platzieren<QGroupBox>(this, "Frame1", {8, 528, 201, 41}, QStringLiteral("Ansicht"));
    Frame2 = platzieren<QGroupBox>(this, "Frame2", {8, 528, 201, 41}, QStringLiteral("Ansicht"));
    optGroesse[0] = platzieren<QRadioButton>(Frame2, "optGroesse(0)", {8, 16, 97, 17}, QStringLiteral("Originalgröße"));
    optGroesse[1] = platzieren<QRadioButton>(Frame2, "optGroesse(1)", {104, 16, 89, 17}, QStringLiteral("Proportional"));
    for (QWidget* versteckt : {static_cast<QWidget*>(lblJpgQuality), static_cast<QWidget*>(lblJpgFileSize),
                               static_cast<QWidget*>(lblZ), static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Frame2)})
        versteckt->hide();

    // Picture surfaces: the view over the picture area, the rest never shown.
    picZiel = new BildFlaeche(this);
    picZiel->setObjectName(QStringLiteral("picZiel"));
    picZiel->bewegen(216, 144);
    picZiel->setzeGroesse(781, 524);
    picZiel->hide();
    picQuelle = new BildFlaeche(this);
    picQuelle->setObjectName(QStringLiteral("picQuelle"));
    picTemp = new BildFlaeche(this);
    picTemp->setObjectName(QStringLiteral("picTemp"));
    picPreview = new BildFlaeche(this);
    picPreview->setObjectName(QStringLiteral("picPreview"));
    for (BildFlaeche* f : {picQuelle, picTemp, picPreview}) {
        f->setzeGroesse(1, 1);
        f->hide();
    }

    Shape1 = new Umriss(picZiel);
    Shape1->setObjectName(QStringLiteral("Shape1"));
    Shape2 = new Rechteck(picQuelle);
    Shape2->setObjectName(QStringLiteral("Shape2"));
    LO = new Griff(picZiel);
    LO->setObjectName(QStringLiteral("LO"));
    RO = new Griff(picZiel);
    RO->setObjectName(QStringLiteral("RO"));
    LU = new Griff(picZiel);
    LU->setObjectName(QStringLiteral("LU"));
    RU = new Griff(picZiel);
    RU->setObjectName(QStringLiteral("RU"));
    // The picture area takes the keyboard by Tab and by a click.
    fokusrahmen = new Fokusrahmen(picZiel);
    picZiel->setFocusPolicy(Qt::StrongFocus);
    picZiel->installEventFilter(this);
    tastenTimer = new QTimer(this);
    tastenTimer->setObjectName(QStringLiteral("tastenTimer"));
    tastenTimer->setSingleShot(true);
    tastenTimer->setInterval(150);

    m_ladeHinweisTimer = new QTimer(this);
    m_ladeHinweisTimer->setSingleShot(true);
    m_ladeHinweisTimer->setInterval(500);
    connect(m_ladeHinweisTimer, &QTimer::timeout, this, [this] {
        m_ladeHinweisFaellig = true;
        ladeHinweisAbgleichen();
    });
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(100);
    Timer1->setSingleShot(false);

    Data1 = new SettingsStore(this);

    // Event handling, each control to its handler.
    connect(Combo1, &Liste::klick, this, &Form1::Combo1_Click);
    connect(oColor, &Liste::klick, this, &Form1::oColor_Click);
    connect(List1, &Liste::klick, this, &Form1::List1_Click);
    connect(TextB, &TextFeld::geaendert, this, &Form1::TextB_Change);
    connect(TextH, &TextFeld::geaendert, this, &Form1::TextH_Change);
    connect(TextKomp, &TextFeld::geaendert, this, &Form1::TextKomp_Change);
    connect(Text1, &QLineEdit::textChanged, this, [this](const QString& text) { Text1->setToolTip(nurTextTipp(text)); });
    connect(Timer1, &QTimer::timeout, this, &Form1::Timer1_Timer);
    connect(cmdOeffnen, &QPushButton::clicked, this, &Form1::cmdOeffnen_Click);
    connect(Command7, &QPushButton::clicked, this, &Form1::Command7_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(cmdBesteQualitaet, &QPushButton::clicked, this, &Form1::cmdBesteQualitaet_Click);
    connect(tastenTimer, &QTimer::timeout, this, &Form1::tastenketteAusfuehren);
    for (QRadioButton* option : optGroesse)
        connect(option, &QRadioButton::clicked, this, [this] { AnsichtAufbauen(Ansichtsquelle::Quelle); });

    picZiel->setCursor(Qt::CrossCursor);
    connect(picZiel, &BildFlaeche::mausGedrueckt, this,
            [this](Qt::MouseButton knopf, Qt::MouseButtons, QPointF pos) { picZiel_MouseDown(knopf, pos); });
    connect(picZiel, &BildFlaeche::mausBewegt, this, &Form1::picZiel_MouseMove);
    connect(picZiel, &BildFlaeche::mausLosgelassen, this,
            [this](Qt::MouseButton knopf, Qt::MouseButtons, QPointF) { picZiel_MouseUp(knopf); });
    const std::pair<Griff*, Auswahlrahmen::Griffname> griffe[] = {
        {LO, Auswahlrahmen::LO}, {RO, Auswahlrahmen::RO}, {LU, Auswahlrahmen::LU}, {RU, Auswahlrahmen::RU}};
    for (const auto& [griff, name] : griffe) {
        connect(griff, &Griff::gedrueckt, this,
                [this, h = name](Qt::MouseButton knopf, Qt::MouseButtons, QPointF pos) { Griff_MouseDown(h, knopf, pos); });
        connect(griff, &Griff::bewegt, this,
                [this, h = name](Qt::MouseButtons knoepfe, QPointF pos) { Griff_MouseMove(h, knoepfe, pos); });
        connect(griff, &Griff::losgelassen, this,
                [this, h = name](Qt::MouseButton knopf, Qt::MouseButtons noch, QPointF) { Griff_MouseUp(h, knopf, noch); });
    }

    fensterVerbinden();
}

void Form1::Form_Load()
{
    // 1.-2.
    lblJpgFileSize->clear();
    lblJpgQuality->clear();

    // 3. The JPEG service; a failure is reported and the program runs on.
    jpegDienstStarten();

    // 4.-8. Handle cursors, ratio 3 : 2 and its sizes, no frame, handles 6 x 6; 10. the status light.
    m_stand.starten();
    anzeigen();

    // 9.
    listen::seitenverhaeltnisseFuellen(*Combo1);
    listen::farbenFuellen(*oColor);

    // 11.
    Daten_Laden();

    // 12.
    if (Data1->datensatz().startmeldung) {
        const HilfeEintrag start = hilfeText(0);
        Form3* hilfe = hilfeFenster();
        hilfe->setzeText(start.titel, start.text);
        show();
        hilfe->zeigen();
    }
}

void Form1::Daten_Laden()
{
    Data1->oeffnen(this);
    m_stand.datensatzAnwenden(Data1->datensatz());
    m_stand.einfacheKodierungSetzen(einfacheKodierungGewuenscht());
    anzeigen();
}

void Form1::statusLichtSetzen(int bild)
{
    m_statusLicht = bild;
    Image1->setPixmap(statusPixmap(bild));
    Image1->setProperty("Bild", bild);
}

namespace {

void setzeText(QLabel* label, const QString& text)
{
    if (label->text() != text)
        label->setText(text);
}

// A box's text as the state has it; its own change handling does not run for that.
void setzeText(QLineEdit* feld, const QString& text)
{
    if (feld->text() == text)
        return;
    const QSignalBlocker still(feld);
    feld->setText(text);
}

// A list's selection as the state has it, without its click handling.
void auswaehlen(Liste* liste, int index)
{
    if (liste->ListIndex() == index)
        return;
    const QSignalBlocker still(liste);
    liste->setzeListIndex(index);
}

void faerben(QLabel* label, Arbeitsstand::Farbe farbe)
{
    if (farbe == Arbeitsstand::Farbe::Keine)
        return;
    const QColor soll = farbe == Arbeitsstand::Farbe::Gruen ? QColor(0x00, 0xC0, 0x00) : QColor(0xFF, 0x00, 0x00);
    if (label->palette().color(QPalette::WindowText) == soll)
        return;
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, soll);
    label->setPalette(p);
}

bool gleicheEintraege(const Liste& liste, const QStringList& eintraege)
{
    if (liste.ListCount() != eintraege.size())
        return false;
    for (int i = 0; i < liste.ListCount(); ++i)
        if (liste.eintrag(i) != eintraege[i])
            return false;
    return true;
}

} // namespace

void Form1::anzeigen()
{
    const Arbeitsstand::Anzeige a = m_stand.anzeige();
    if (Text1->text() != a.Text1)
        Text1->setText(a.Text1);

    setzeText(lblQ, a.lblQ);
    setzeText(lblQKB, a.lblQKB);
    setzeText(lblQpruef, a.lblQpruef);
    setzeText(lblQpruef1, a.lblQpruef1);
    setzeText(lblQMassnahme, a.lblQMassnahme);
    faerben(lblQpruef, a.lblQpruefFarbe);
    faerben(lblQpruef1, a.lblQpruef1Farbe);
    faerben(lblQMassnahme, a.lblQMassnahmeFarbe);

    auswaehlen(Combo1, a.Combo1);
    auswaehlen(oColor, a.oColor);
    if (a.rahmenFarbe && Shape1->BorderColor() != QColor::fromRgb(*a.rahmenFarbe)) {
        const QColor farbe = QColor::fromRgb(*a.rahmenFarbe);
        Shape1->setzeFarbe(farbe);
        for (Griff* g : {LO, RO, LU, RU})
            g->setzeFarbe(farbe);
    }
    if (!gleicheEintraege(*List1, a.List1)) {
        List1->leeren();
        for (const QString& eintrag : a.List1)
            List1->hinzufuegen(eintrag);
    }
    auswaehlen(List1, a.List1Index);
    TextB->setEnabled(a.eigeneGroesse);
    TextH->setEnabled(a.eigeneGroesse);
    UpDown1->setEnabled(a.eigeneGroesse);
    if (m_UpDown1Gesetzt != a.UpDown1Gesetzt) {
        m_UpDown1Gesetzt = a.UpDown1Gesetzt;
        UpDown1->setzeWert(a.UpDown1);
    }
    if (m_UpDown2Gesetzt != a.UpDown2Gesetzt) {
        m_UpDown2Gesetzt = a.UpDown2Gesetzt;
        UpDown2->setzeWert(a.UpDown2);
    }
    setzeText(TextB, a.TextB);
    setzeText(TextH, a.TextH);
    setzeText(lblZ, a.lblZpx);
    setzeText(lblZpx, a.lblZpx);
    setzeText(TextKomp, a.TextKomp);

    setzeText(lblKb, a.lblKb);
    setzeText(lblZkb, a.lblKb);
    setzeText(lblPruef, a.lblPruef);
    setzeText(lblPruef1, a.lblPruef1);
    setzeText(lblPruef2, a.lblPruef2);
    setzeText(lblZMassnahme, a.lblZMassnahme);
    setzeText(lblZMassnahme1, a.lblZMassnahme1);
    setzeText(lblZMassnahme2, a.lblZMassnahme2);
    faerben(lblPruef, a.lblPruefFarbe);
    faerben(lblPruef1, a.lblPruef1Farbe);
    faerben(lblPruef2, a.lblPruef2Farbe);
    faerben(lblZMassnahme1, a.lblZMassnahme1Farbe);
    if (m_statusLicht != a.statusLicht)
        statusLichtSetzen(a.statusLicht);

    Command1->setEnabled(a.Command1);
    Command2->setEnabled(a.Command2);
    Command3->setEnabled(a.Command3);
    if (const QString tipp = nurTextTipp(m_stand.veroeffentlichPfad()); Command3->toolTip() != tipp)
        Command3->setToolTip(tipp);
    Command7->setEnabled(a.Command7);
    cmdBesteQualitaet->setEnabled(a.cmdBesteQualitaet);

    // Surfaces without a picture are 1 x 1 pixel; with one, its size (the preview keeps its own).
    if (picQuelle->bild().cacheKey() != m_stand.quelle().bild().cacheKey()) {
        // Its size is the photo's, also while only a reduced decode stands for it.
        const Quellbild& q = m_stand.quelle();
        picQuelle->setzeBild(q.bild());
        picQuelle->setzeGroesse(q.isNull() ? 1.0f : float(q.breite()), q.isNull() ? 1.0f : float(q.hoehe()));
    }
    if (picTemp->bild().cacheKey() != m_stand.zielbild().cacheKey())
        picTemp->setzeBild(m_stand.zielbild(), true);
    if (picPreview->bild().cacheKey() != m_stand.vorschau().cacheKey())
        picPreview->setzeBild(m_stand.vorschau());
    const QSize vorschau = m_stand.vorschauGroesse();
    if (picPreview->Width() != float(vorschau.width()) || picPreview->Height() != float(vorschau.height()))
        picPreview->setzeGroesse(float(vorschau.width()), float(vorschau.height()));
    if (picZiel->isHidden() && a.picZiel)
        picZiel->show();

    rahmenZeigen();
    // A chain that ran has ended what a held key left open.
    if (!m_stand.tastenketteOffen())
        tastenTimer->stop();
    jpegVorschauAbgleichen();
}

void Form1::rahmenZeigen()
{
    const Auswahlrahmen& r = m_stand.rahmen();
    Shape1->bewegen(r.shape1.L, r.shape1.T, r.shape1.W, r.shape1.H);
    Shape1->setVisible(r.shape1Sichtbar);
    Shape2->bewegen(r.shape2.L, r.shape2.T, r.shape2.W, r.shape2.H);
    Griff* const griffe[4] = {LO, RO, LU, RU};
    for (int i = 0; i < 4; ++i) {
        const Auswahlrahmen::Griff& g = r.griffe[i];
        griffe[i]->bewegen(g.L, g.T, g.W, g.H);
        griffe[i]->setCursor(cursorForm(g.cursor));
        griffe[i]->setzeSichtbar(g.sichtbar);
        griffe[i]->raise();
    }
    setzeText(lblA, r.lblA());
}

void Form1::Combo1_Click()
{
    m_stand.verhaeltnisGewaehlt(Combo1->ListIndex());
    anzeigen();
}

void Form1::oColor_Click()
{
    m_stand.farbeGewaehlt(oColor->ListIndex());
    anzeigen();
}

void Form1::List1_Click()
{
    m_stand.groesseGewaehlt(List1->ListIndex());
    anzeigen();
}

void Form1::TextB_Change()
{
    m_stand.breiteGeaendert(TextB->text());
    anzeigen();
}

void Form1::TextH_Change() { m_stand.hoeheGetippt(TextH->text()); }

void Form1::TextKomp_Change()
{
    m_stand.qualitaetGeaendert(TextKomp->text());
    anzeigen();
}

void Form1::Timer1_Timer()
{
    picZiel->setEnabled(true);
    Timer1->stop();
}

void Form1::resizeEvent(QResizeEvent*)
{
    Form_Resize();
    // The JPEG file fills the picture area as it is now.
    if (picJpegVorschau && !picJpegVorschau->isHidden())
        jpegVorschauAbgleichen();
}

void Form1::Form_Resize()
{
    // The picture area grows and shrinks to the right and downwards; the
    // Extras frame keeps to the bottom edge. Nothing else moves.
    fraTisch->resize(std::max(0, width() - fraTisch->x() - randAbstand), std::max(0, height() - fraTisch->y() - randAbstand));
    fraEinstellungen->move(fraEinstellungen->x(), height() - randAbstand - fraEinstellungen->height());
}

void Form1::closeEvent(QCloseEvent* e)
{
    // Nothing is asked and nothing is saved but the window's place; every other
    // window goes with this one.
    if (m_lage == Lage::Gemerkt)
        fensterlageSichern(this, QStringLiteral("Hauptfenster"));
    m_stand.jpegDienstBeenden();
    const auto fenster = QApplication::topLevelWidgets();
    for (QWidget* w : fenster)
        if (w != this && w->isVisible())
            w->close();
    e->accept();
}
