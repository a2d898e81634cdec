#include "settings/Form2.h"

#include "platform/Dienste.h"
#include "platform/Fensterlage.h"
#include "platform/Nebenfenster.h"
#include "platform/Steuerelemente.h"
#include "settings/SettingsStore.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QSettings>

namespace {

// Inner size of the dialog as designed; every position below is in its pixels.
constexpr int designBreite = 530;
constexpr int designHoehe = 434;

void abgleichen(QLineEdit* feld, const QString& text)
{
    if (feld->text() != text)
        feld->setText(text);
}

void abgleichen(Liste* liste, const QStringList& eintraege, int index)
{
    bool gleich = liste->ListCount() == eintraege.size();
    for (int i = 0; gleich && i < eintraege.size(); ++i)
        gleich = liste->eintrag(i) == eintraege[i];
    if (!gleich) {
        liste->leeren();
        for (const QString& eintrag : eintraege)
            liste->hinzufuegen(eintrag);
    }
    liste->setzeListIndex(index);
}

void abgleichen(QCheckBox* kasten, Qt::CheckState haken)
{
    if (kasten->checkState() != haken)
        kasten->setCheckState(haken);
}

const QString kodierungSchluessel = QStringLiteral("Kodierung/einfach");

} // namespace

bool einfacheKodierungGewuenscht()
{
    return QSettings(konfigurationsDatei(), QSettings::IniFormat).value(kodierungSchluessel, false).toBool();
}

void einfacheKodierungMerken(bool einfach)
{
    QSettings(konfigurationsDatei(), QSettings::IniFormat).setValue(kodierungSchluessel, einfach);
}

Form2::Form2(SettingsStore& store, QWidget* hauptfenster, std::function<void()> datenLaden, const QString& anhang)
    : EigenesFenster(hauptfenster)
    , m_store(store)
    , m_datenLaden(std::move(datenLaden))
{
    aufbauen();
    verbinden();
    Form_Load(m_store.datensatz(), anhang);
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
    auto* Frame1 = platzieren<QGroupBox>(this, "Frame1", {8, 8, 513, 105}, QStringLiteral("Dateiablage"));
    platzieren<QLabel>(Frame1, "Label1", {16, 18, 300, 17}, QStringLiteral("Standardordner für \"Datei öffnen\""));
    m_Text1 = platzieren<QLineEdit>(Frame1, "Text1", {16, 35, 441, 22});
    m_Command1 = platzieren<QPushButton>(Frame1, "Command1", {464, 35, 33, 22}, QStringLiteral("..."));
    m_Command1->setToolTip(QStringLiteral("Durchsuchen"));
    platzieren<QLabel>(Frame1, "Label2", {16, 60, 300, 17}, QStringLiteral("Standardordner für \"Datei speichern\""));
    m_Text2 = platzieren<QLineEdit>(Frame1, "Text2", {16, 77, 441, 22});
    m_Command2 = platzieren<QPushButton>(Frame1, "Command2", {464, 77, 33, 22}, QStringLiteral("..."));
    m_Command2->setToolTip(QStringLiteral("Durchsuchen"));

    // File names
    auto* Frame5 = platzieren<QGroupBox>(this, "Frame5", {8, 120, 513, 97}, QStringLiteral("Dateinamen"));
    const QString optionen[3] = {QStringLiteral("keinen Dateinamen vorschlagen"),
                                 QStringLiteral("Namen der Originaldatei vorschlagen"),
                                 QStringLiteral("Namen der Originaldatei vorschlagen mit diesem Anhang")};
    for (int i = 0; i < 3; ++i) {
        m_Option1[i] = new QRadioButton(optionen[i], Frame5);
        m_Option1[i]->setObjectName(QStringLiteral("Option1(%1)").arg(i));
        m_Option1[i]->setGeometry(16, 20 + 24 * i, i == 2 ? 330 : 400, 19);
    }
    m_Text3 = platzieren<QLineEdit>(Frame5, "Text3", {352, 67, 145, 22});
    m_Text3->setEnabled(false);

    // Selection frame ("Auswahrahmen" is how the dialog has always spelled it)
    auto* Frame4 = platzieren<QGroupBox>(this, "Frame4", {8, 224, 241, 97}, QStringLiteral("Auswahrahmen"));
    platzieren<QLabel>(Frame4, "Label3", {16, 26, 100, 17}, QStringLiteral("Seitenverhältnis"));
    m_Combo1 = platzieren<Liste>(Frame4, "Combo1", {120, 22, 105, 22});
    platzieren<QLabel>(Frame4, "Label4", {16, 58, 100, 17}, QStringLiteral("Farbe"));
    m_oColor = platzieren<Liste>(Frame4, "oColor", {120, 54, 105, 22});

    // Target size
    auto* Frame2 = platzieren<QGroupBox>(this, "Frame2", {256, 224, 161, 97}, QStringLiteral("Zielformat"));
    m_List1 = platzieren<Liste>(Frame2, "List1", {8, 18, 145, 22});
    platzieren<QLabel>(Frame2, "Label5", {8, 44, 145, 15}, QStringLiteral("Abmessungen in Pixel"));
    m_TextB = platzieren<TextFeld>(Frame2, "TextB", {8, 62, 49, 22});
    m_UpDown1 = new UpDown(m_TextB, 10, 10000, 10, Frame2);
    m_UpDown1->setObjectName(QStringLiteral("UpDown1"));
    m_UpDown1->setGeometry(57, 62, 15, 22);
    platzieren<QLabel>(Frame2, "Label6", {74, 64, 10, 17}, QStringLiteral("x"))->setAlignment(Qt::AlignCenter);
    m_TextH = platzieren<TextFeld>(Frame2, "TextH", {86, 62, 49, 22});
    m_TextB->setEnabled(false);
    m_TextH->setEnabled(false);

    // Quality
    auto* Frame3 = platzieren<QGroupBox>(this, "Frame3", {424, 224, 97, 97}, QStringLiteral("Kompression"));
    platzieren<QLabel>(Frame3, "Label7", {12, 26, 70, 17}, QStringLiteral("Kompr."));
    m_TextKomp = platzieren<TextFeld>(Frame3, "TextKomp", {12, 46, 45, 22});
    m_UpDown2 = new UpDown(m_TextKomp, 50, 100, 92, Frame3);
    m_UpDown2->setObjectName(QStringLiteral("UpDown2"));
    m_UpDown2->setGeometry(57, 46, 15, 22);

    // Reminders; the design's width would reach past the dialog's edge.
    m_Check1 = new QCheckBox(
        QStringLiteral("Ich kenne mich aus und will keine Erinnerung an die Fundortangabe beim Veröffentlichen"), this);
    m_Check1->setObjectName(QStringLiteral("Check1"));
    m_Check1->setGeometry(32, 328, designBreite - 32 - 8, 17);
    m_Check2 = new QCheckBox(QStringLiteral("Ich möchte die Info beim Programmstart nicht mehr sehen"), this);
    m_Check2->setObjectName(QStringLiteral("Check2"));
    m_Check2->setGeometry(32, 352, designBreite - 32 - 8, 17);
    m_chkEinfacheKodierung = new QCheckBox(QStringLiteral("Einfache JPEG-Kodierung (Baseline, 4:2:0, Standardtabellen)"), this);
    m_chkEinfacheKodierung->setObjectName(QStringLiteral("chkEinfacheKodierung"));
    m_chkEinfacheKodierung->setToolTip(
        QStringLiteral("Ohne Haken wählt Fotoschliff für jeden Ausschnitt die Kodierung, die bei gleicher Dateigröße "
                       "am besten aussieht (progressiv, Farbauflösung, Quantisierungstabellen)."));
    m_chkEinfacheKodierung->setGeometry(32, 371, designBreite - 32 - 8, 17);

    m_Command5 = platzieren<QPushButton>(this, "Command5", {8, 392, 161, 25}, QStringLiteral("Standardeinstellungen"));
    m_Command4 = platzieren<QPushButton>(this, "Command4", {320, 392, 97, 25}, QStringLiteral("Abbrechen"));
    m_Command3 = platzieren<QPushButton>(this, "Command3", {424, 392, 97, 25}, QStringLiteral("OK"));

    // Return means "OK", as in any dialog; a button with the focus takes it for itself.
    m_Command3->setDefault(true);
    for (QPushButton* knopf : {m_Command1, m_Command2, m_Command5, m_Command4, m_Command3})
        knopf->setAutoDefault(true);
}

void Form2::keyPressEvent(QKeyEvent* e)
{
    const bool eingabe = e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter;
    if (eingabe && (e->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier)
        m_Command3->click();
    else
        EigenesFenster::keyPressEvent(e);
}

void Form2::verbinden()
{
    using E = Einstellungsstand;
    E& s = m_stand;
    // Every event goes to the draft and the controls show what it says then.
    const auto wenn = [this](auto handlung) {
        return [this, handlung] {
            if (m_abgleich)
                return;
            handlung();
            anzeigen();
        };
    };
    connect(m_Combo1, &Liste::klick, this, wenn([this, &s] { s.verhaeltnisGewaehlt(m_Combo1->ListIndex()); }));
    connect(m_oColor, &Liste::klick, this, wenn([this, &s] { s.farbeGewaehlt(m_oColor->ListIndex()); }));
    connect(m_List1, &Liste::klick, this, wenn([this, &s] { s.groesseGewaehlt(m_List1->ListIndex()); }));
    connect(m_TextB, &TextFeld::geaendert, this, wenn([this, &s] { s.breiteGetippt(m_TextB->text()); }));
    connect(m_TextH, &TextFeld::geaendert, this, wenn([this, &s] { s.hoeheGetippt(m_TextH->text()); }));
    connect(m_TextKomp, &TextFeld::geaendert, this, wenn([this, &s] { s.qualitaetGetippt(m_TextKomp->text()); }));
    connect(m_Text1, &QLineEdit::textChanged, this, wenn([this, &s] { s.ordnerGetippt(E::Ordner::Laden, m_Text1->text()); }));
    connect(m_Text2, &QLineEdit::textChanged, this, wenn([this, &s] { s.ordnerGetippt(E::Ordner::Speichern, m_Text2->text()); }));
    connect(m_Text3, &QLineEdit::textChanged, this, wenn([this, &s] { s.anhangGetippt(m_Text3->text()); }));
    // Only the option turned on: the one turned off meanwhile is no click.
    for (int i = 0; i < 3; ++i)
        connect(m_Option1[i], &QRadioButton::toggled, this, [this, &s, i](bool an) {
            if (an && !m_abgleich) {
                s.vorschlagGewaehlt(i);
                anzeigen();
            }
        });
    connect(m_Check1, &QCheckBox::stateChanged, this,
            wenn([this, &s] { s.erinnerungGeklickt(E::Erinnerung::Fundort, m_Check1->checkState()); }));
    connect(m_Check2, &QCheckBox::stateChanged, this,
            wenn([this, &s] { s.erinnerungGeklickt(E::Erinnerung::Start, m_Check2->checkState()); }));
    connect(m_chkEinfacheKodierung, &QCheckBox::toggled, this,
            wenn([this, &s] { s.einfacheKodierungGeklickt(m_chkEinfacheKodierung->isChecked()); }));
    connect(m_Command1, &QPushButton::clicked, this, [this] { ordnerSuchen(E::Ordner::Laden); });
    connect(m_Command2, &QPushButton::clicked, this, [this] { ordnerSuchen(E::Ordner::Speichern); });
    connect(m_Command5, &QPushButton::clicked, this, wenn([&s] { s.standardeinstellungen(); }));
    connect(m_Command3, &QPushButton::clicked, this, &Form2::Command3_Click);
    connect(m_Command4, &QPushButton::clicked, this, &Form2::close);
}

void Form2::anzeigen()
{
    const QScopedValueRollback abgleich(m_abgleich, true);
    const Einstellungsstand::Anzeige& a = m_stand.anzeige();
    abgleichen(m_Text1, a.Text1);
    abgleichen(m_Text2, a.Text2);
    abgleichen(m_Combo1, a.Combo1, a.Combo1Index);
    abgleichen(m_oColor, a.oColor, a.oColorIndex);
    abgleichen(m_List1, a.List1, a.List1Index);
    abgleichen(m_TextB, a.TextB);
    abgleichen(m_TextH, a.TextH);
    abgleichen(m_TextKomp, a.TextKomp);
    m_TextB->setEnabled(a.eigeneGroesse);
    m_TextH->setEnabled(a.eigeneGroesse);
    m_UpDown1->setEnabled(a.eigeneGroesse);
    if (m_updown1Gesetzt != a.UpDown1Gesetzt) {
        m_UpDown1->setzeWert(a.UpDown1);
        m_updown1Gesetzt = a.UpDown1Gesetzt;
    }
    if (m_updown2Gesetzt != a.UpDown2Gesetzt) {
        m_UpDown2->setzeWert(a.UpDown2);
        m_updown2Gesetzt = a.UpDown2Gesetzt;
    }
    abgleichen(m_Check1, a.Check1);
    abgleichen(m_Check2, a.Check2);
    abgleichen(m_chkEinfacheKodierung, a.chkEinfacheKodierung ? Qt::Checked : Qt::Unchecked);
    if (a.Option1 >= 0 && a.Option1 < int(m_Option1.size()))
        m_Option1[a.Option1]->setChecked(true);
    abgleichen(m_Text3, a.Text3);
    m_Text3->setEnabled(a.Text3Aktiv);
}

void Form2::Form_Load(const SettingsRecord& d, const QString& anhang)
{
    m_stand.laden(d, anhang, einfacheKodierungGewuenscht());
    anzeigen();
}

void Form2::ordnerSuchen(Einstellungsstand::Ordner ordner)
{
    const QString gewaehlt = dienste().ordnerWaehlen(this, Einstellungsstand::ordnerTitel(ordner), m_stand.ordner(ordner));
    m_stand.ordnerGewaehlt(ordner, gewaehlt);
    anzeigen();
}

void Form2::Command3_Click()
{
    // The stored record could not be read, so this dialog shows the defaults: writing
    // them would replace what the user once stored. Read again; if that works, show
    // the stored record and let the user decide anew.
    if (m_store.aufVorgaben()) {
        if (!m_store.wiederLesen(this)) {
            meldung(this, Einstellungsstand::meldungNochUnlesbar(m_store.dateipfad(), m_store.lesefehler()), programmTitel(),
                    Dienste::Symbol::Fehler);
            return;
        }
        if (m_datenLaden)
            m_datenLaden();
        Form_Load(m_store.datensatz(), m_store.datensatz().dateiname);
        meldung(this, Einstellungsstand::meldungJetztGelesen(m_store.dateipfad()), programmTitel(), Dienste::Symbol::Info);
        return;
    }

    // One transaction: either the whole record is stored or nothing changes.
    if (!m_store.schreiben(m_stand.datensatz(m_store.datensatz().vorschlag))) {
        meldung(this, Einstellungsstand::meldungNichtGespeichert(m_store.dateipfad()), programmTitel(), Dienste::Symbol::Fehler);
        return;
    }

    einfacheKodierungMerken(m_stand.anzeige().chkEinfacheKodierung);
    if (m_datenLaden)
        m_datenLaden();
    if (oeffner()) {
        oeffner()->setEnabled(true);
        oeffner()->show();
    }
    close();
}
