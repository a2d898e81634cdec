#include "settings/Form2.h"

#include "platform/Dienste.h"
#include "platform/Nebenfenster.h"
#include "platform/Steuerelemente.h"
#include "platform/Zahlen.h"
#include "settings/Listen.h"
#include "settings/SettingsStore.h"
#include "platform/Fensterlage.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSettings>

namespace {

// Inner size of the dialog as designed; every position below is in its pixels.
constexpr int designBreite = 530;
constexpr int designHoehe = 434;

} // namespace

Form2::Form2(SettingsStore& store, QWidget* hauptfenster, std::function<void()> datenLaden, const QString& anhang)
    : EigenesFenster(hauptfenster)
    , m_store(store)
    , m_datenLaden(std::move(datenLaden))
{
    aufbauen();
    Form_Load(anhang);
}

void Form2::aufbauen()
{
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Bevorzugte Einstellungen"));
    // The main window's narrow face, so that the dense design's captions fit.
    if (oeffner())
        setFont(oeffner()->font());
    setFixedSize(designBreite, designHoehe);


    // Folders
    Frame1 = platzieren<QGroupBox>(this, "Frame1", {8, 8, 513, 105}, QStringLiteral("Dateiablage"));
    platzieren<QLabel>(Frame1, "Label1", {16, 18, 300, 17}, QStringLiteral("Standardordner für \"Datei öffnen\""));
    Text1 = platzieren<QLineEdit>(Frame1, "Text1", {16, 35, 441, 22});
    Command1 = platzieren<QPushButton>(Frame1, "Command1", {464, 35, 33, 22}, QStringLiteral("..."));
    Command1->setToolTip(QStringLiteral("Durchsuchen"));
    platzieren<QLabel>(Frame1, "Label2", {16, 60, 300, 17}, QStringLiteral("Standardordner für \"Datei speichern\""));
    Text2 = platzieren<QLineEdit>(Frame1, "Text2", {16, 77, 441, 22});
    Command2 = platzieren<QPushButton>(Frame1, "Command2", {464, 77, 33, 22}, QStringLiteral("..."));
    Command2->setToolTip(QStringLiteral("Durchsuchen"));

    // File names
    Frame5 = platzieren<QGroupBox>(this, "Frame5", {8, 120, 513, 97}, QStringLiteral("Dateinamen"));
    const QString optionen[3] = {QStringLiteral("keinen Dateinamen vorschlagen"),
                                 QStringLiteral("Namen der Originaldatei vorschlagen"),
                                 QStringLiteral("Namen der Originaldatei vorschlagen mit diesem Anhang")};
    for (int i = 0; i < 3; ++i) {
        Option1[i] = new QRadioButton(optionen[i], Frame5);
        Option1[i]->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        Option1[i]->setGeometry(16, 20 + 24 * i, i == 2 ? 330 : 400, 19);
    }
    Text3 = platzieren<QLineEdit>(Frame5, "Text3", {352, 67, 145, 22});
    Text3->setEnabled(false);

    // Selection frame ("Auswahrahmen" is how the dialog has always spelled it)
    Frame4 = platzieren<QGroupBox>(this, "Frame4", {8, 224, 241, 97}, QStringLiteral("Auswahrahmen"));
    platzieren<QLabel>(Frame4, "Label3", {16, 26, 100, 17}, QStringLiteral("Seitenverhältnis"));
    Combo1 = platzieren<Liste>(Frame4, "Combo1", {120, 22, 105, 22});
    platzieren<QLabel>(Frame4, "Label4", {16, 58, 100, 17}, QStringLiteral("Farbe"));
    oColor = platzieren<Liste>(Frame4, "oColor", {120, 54, 105, 22});

    // Target size
    Frame2 = platzieren<QGroupBox>(this, "Frame2", {256, 224, 161, 97}, QStringLiteral("Zielformat"));
    List1 = platzieren<Liste>(Frame2, "List1", {8, 18, 145, 22});
    platzieren<QLabel>(Frame2, "Label5", {8, 44, 145, 15}, QStringLiteral("Abmessungen in Pixel"));
    TextB = platzieren<TextFeld>(Frame2, "TextB", {8, 62, 49, 22});
    UpDown1 = new UpDown(TextB, 10, 10000, 10, Frame2);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setGeometry(57, 62, 15, 22);
    platzieren<QLabel>(Frame2, "Label6", {74, 64, 10, 17}, QStringLiteral("x"))->setAlignment(Qt::AlignCenter);
    TextH = platzieren<TextFeld>(Frame2, "TextH", {86, 62, 49, 22});
    TextB->setEnabled(false);
    TextH->setEnabled(false);

    // Quality
    Frame3 = platzieren<QGroupBox>(this, "Frame3", {424, 224, 97, 97}, QStringLiteral("Kompression"));
    platzieren<QLabel>(Frame3, "Label7", {12, 26, 70, 17}, QStringLiteral("Kompr."));
    TextKomp = platzieren<TextFeld>(Frame3, "TextKomp", {12, 46, 45, 22});
    UpDown2 = new UpDown(TextKomp, 50, 100, 92, Frame3);
    UpDown2->setObjectName(QStringLiteral("UpDown2"));
    UpDown2->setGeometry(57, 46, 15, 22);

    // Reminders; the design's width would reach past the dialog's edge.
    Check1 = new QCheckBox(
        QStringLiteral("Ich kenne mich aus und will keine Erinnerung an die Fundortangabe beim Veröffentlichen"), this);
    Check1->setObjectName(QStringLiteral("Check1"));
    Check1->setGeometry(32, 328, designBreite - 32 - 8, 17);
    Check2 = new QCheckBox(QStringLiteral("Ich möchte die Info beim Programmstart nicht mehr sehen"), this);
    Check2->setObjectName(QStringLiteral("Check2"));
    Check2->setGeometry(32, 352, designBreite - 32 - 8, 17);
    chkEinfacheKodierung = new QCheckBox(QStringLiteral("Einfache JPEG-Kodierung (Baseline, 4:2:0, Standardtabellen)"), this);
    chkEinfacheKodierung->setObjectName(QStringLiteral("chkEinfacheKodierung"));
    chkEinfacheKodierung->setToolTip(
        QStringLiteral("Ohne Haken wählt Fotoschliff für jeden Ausschnitt die Kodierung, die bei gleicher Dateigröße "
                       "am besten aussieht (progressiv, Farbauflösung, Quantisierungstabellen)."));
    chkEinfacheKodierung->setGeometry(32, 371, designBreite - 32 - 8, 17);

    Command5 = platzieren<QPushButton>(this, "Command5", {8, 392, 161, 25}, QStringLiteral("Standardeinstellungen"));
    Command4 = platzieren<QPushButton>(this, "Command4", {320, 392, 97, 25}, QStringLiteral("Abbrechen"));
    Command3 = platzieren<QPushButton>(this, "Command3", {424, 392, 97, 25}, QStringLiteral("OK"));

    connect(Combo1, &Liste::klick, this, &Form2::Combo1_Click);
    connect(List1, &Liste::klick, this, &Form2::List1_Click);
    connect(TextB, &TextFeld::geaendert, this, &Form2::TextB_Change);
    for (int i = 0; i < 3; ++i)
        connect(Option1[i], &QRadioButton::toggled, this, [this, i](bool an) {
            if (an)
                Option1_Click(i);
        });
    connect(Check1, &QCheckBox::stateChanged, this, &Form2::Check1_Click);
    connect(Check2, &QCheckBox::stateChanged, this, &Form2::Check2_Click);
    connect(Command1, &QPushButton::clicked, this, &Form2::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form2::Command2_Click);
    connect(Command5, &QPushButton::clicked, this, &Form2::Command5_Click);
    connect(Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form2::Command4_Click);

    // Return means "OK", as in any dialog; a button with the focus takes it for itself.
    Command3->setDefault(true);
    for (QPushButton* knopf : {Command1, Command2, Command5, Command4, Command3})
        knopf->setAutoDefault(true);
}

void Form2::keyPressEvent(QKeyEvent* e)
{
    const bool eingabe = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (eingabe && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
        Command3->click();
    else
        EigenesFenster::keyPressEvent(e);
}

namespace {
const QString kodierungSchluessel = QStringLiteral("Kodierung/einfach");
}

bool einfacheKodierungGewuenscht()
{
    return QSettings(konfigurationsDatei(), QSettings::IniFormat).value(kodierungSchluessel, false).toBool();
}

void einfacheKodierungMerken(bool einfach)
{
    QSettings(konfigurationsDatei(), QSettings::IniFormat).setValue(kodierungSchluessel, einfach);
}

void Form2::Form_Load(const QString& anhang)
{
    const SettingsRecord& d = m_store.datensatz();
    chkEinfacheKodierung->setChecked(einfacheKodierungGewuenscht());

    // 1.-3. Lists as on the main window, built here for 3 : 2.
    verhaeltnisB = 3;
    verhaeltnisH = 2;
    listen::groessenFuellen(*List1, verhaeltnisB, verhaeltnisH);
    listen::seitenverhaeltnisseFuellen(*Combo1);
    listen::farbenFuellen(*oColor);

    // 4.
    Text1->setText(d.laden);
    Text2->setText(d.speichern);

    // 5. Each selection runs its list's click handling at once: the ratio rebuilds the sizes.
    Combo1->setzeListIndex(d.rahmen);
    oColor->setzeListIndex(d.farbe);
    List1->setzeListIndex(d.Format);

    // 6. A custom size shows the stored height, even where the ratio would give another.
    if (List1->ListIndex() == 0) {
        TextB->setzeText(zahlen::Kurz(d.breite));
        TextH->setzeText(zahlen::Kurz(d.höhe));
    }

    // 7.
    TextKomp->setzeText(zahlen::Kurz(d.kompression));
    UpDown2->setzeWert(int(zahlen::RundeGerade(d.kompression)));

    // 8.-9. The boxes say "no more reminders", so they are ticked when the reminder is off.
    Check1->setChecked(!d.fundortmeldung);
    fundortmeldungAn = d.fundortmeldung;
    Check2->setChecked(!d.startmeldung);
    startmeldungAn = d.startmeldung;

    // 10.-11.
    if (d.vorschlag >= 0 && d.vorschlag < 3)
        Option1[d.vorschlag]->setChecked(true);
    Text3->setText(anhang);
    if (d.vorschlag == 2)
        Text3->setEnabled(true);
}

void Form2::Combo1_Click()
{
    if (const auto* v = listen::seitenverhaeltnis(Combo1->ListIndex())) {
        verhaeltnisB = v->breite;
        verhaeltnisH = v->hoehe;
    }
    listen::groessenFuellen(*List1, verhaeltnisB, verhaeltnisH);
    List1->setzeListIndex(4);
}

void Form2::List1_Click() { listen::groesseGewaehlt(*List1, *TextB, *TextH, *UpDown1); }

void Form2::TextB_Change()
{
    TextH->setzeText(zahlen::Kurz(listen::hoeheZurBreite(zahlen::Val(TextB->text()), verhaeltnisB, verhaeltnisH)));
}

void Form2::Option1_Click(int index) { Text3->setEnabled(index == 2); }

void Form2::Check1_Click()
{
    if (Check1->checkState() == Qt::Checked)
        fundortmeldungAn = false;
    else if (Check1->checkState() == Qt::Unchecked)
        fundortmeldungAn = true;
}

void Form2::Check2_Click()
{
    if (Check2->checkState() == Qt::Checked)
        startmeldungAn = false;
    else if (Check2->checkState() == Qt::Unchecked)
        startmeldungAn = true;
}

void Form2::Command1_Click()
{
    const QString ordner = dienste().ordnerWaehlen(this, QStringLiteral("Standardordner für DATEI LADEN"), Text1->text());
    if (!ordner.isEmpty())
        Text1->setText(ordner);
}

void Form2::Command2_Click()
{
    const QString ordner = dienste().ordnerWaehlen(this, QStringLiteral("Standardordner für DATEI SPEICHERN"), Text2->text());
    if (!ordner.isEmpty())
        Text2->setText(ordner);
}

void Form2::Command5_Click()
{
    // The built-in defaults, into the controls only; folders and file names stay.
    Combo1->setzeListIndex(0);
    List1->setzeListIndex(4);
    oColor->setzeListIndex(0);
    TextKomp->setzeText(QStringLiteral("92"));
    UpDown2->setzeWert(92);
    Check1->setChecked(false);
    Check2->setChecked(false);
    chkEinfacheKodierung->setChecked(false);
    startmeldungAn = true;
    fundortmeldungAn = true;
}

void Form2::Command3_Click()
{
    // The stored record could not be read, so this dialog shows the defaults: writing
    // them would replace what the user once stored. Read again; if that works, show
    // the stored record and let the user decide anew.
    if (m_store.aufVorgaben()) {
        const QString datei = QDir::toNativeSeparators(m_store.dateipfad());
        if (!m_store.wiederLesen(this)) {
            meldung(this,
                    QStringLiteral("Die Einstellungen wurden nicht gespeichert.\r\n\r\nDie Einstellungsdatei „%1“ ließ sich beim "
                                   "Start nicht lesen und lässt sich noch immer nicht lesen. %2 Damit die dort gespeicherten "
                                   "Einstellungen nicht durch die Standardeinstellungen ersetzt werden, schreibt Fotoschliff "
                                   "nichts hinein.")
                        .arg(datei, m_store.lesefehler()),
                    programmTitel(), Dienste::Symbol::Fehler);
            return;
        }
        if (m_datenLaden)
            m_datenLaden();
        Form_Load(m_store.datensatz().dateiname);
        meldung(this,
                QStringLiteral("Die Einstellungsdatei „%1“ ließ sich beim Start nicht lesen, jetzt aber schon. Dieser Dialog zeigt "
                               "nun die gespeicherten Einstellungen; bitte prüfen Sie sie und klicken Sie dann erneut auf „OK“.")
                    .arg(datei),
                programmTitel(), Dienste::Symbol::Info);
        return;
    }

    SettingsRecord neu;
    neu.laden = Text1->text();
    neu.speichern = Text2->text();
    neu.rahmen = Combo1->ListIndex();
    neu.farbe = oColor->ListIndex();
    neu.Format = List1->ListIndex();
    neu.breite = zahlen::Val(TextB->text());
    neu.höhe = zahlen::Val(TextH->text());
    neu.kompression = zahlen::Val(TextKomp->text());
    neu.fundortmeldung = fundortmeldungAn;
    neu.startmeldung = startmeldungAn;
    neu.dateiname = Text3->text();
    neu.vorschlag = m_store.datensatz().vorschlag; // kept when no option is chosen
    for (int i = 0; i < 3; ++i)
        if (Option1[i]->isChecked())
            neu.vorschlag = i;

    // One transaction: either the whole record is stored or nothing changes.
    if (!m_store.schreiben(neu)) {
        meldung(this,
                QStringLiteral("Die Einstellungen konnten nicht gespeichert werden.\r\n\r\n"
                               "Die bisher gespeicherten Einstellungen bleiben unverändert. Bitte prüfen Sie, ob die Datei "
                               "„%1“ beschreibbar ist und von keinem anderen Programm benutzt wird, und versuchen Sie es erneut.")
                    .arg(QDir::toNativeSeparators(m_store.dateipfad())),
                programmTitel(), Dienste::Symbol::Fehler);
        return;
    }

    einfacheKodierungMerken(chkEinfacheKodierung->isChecked());
    if (m_datenLaden)
        m_datenLaden();
    if (oeffner()) {
        oeffner()->setEnabled(true);
        oeffner()->show();
    }
    close();
}

void Form2::Command4_Click() { close(); }


