#include "findreport/frmFund.h"

#include "findreport/FundortDatenbank.h"
#include "findreport/Vervollstaendigung.h"
#include "output/Form3.h"
#include "platform/Dienste.h"
#include "platform/Eingabelisten.h"
#include "platform/Steuerelemente.h"
#include "platform/Zahlen.h"

#include <QCheckBox>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTextDocument>

namespace {

// Inner size of the dialog as designed; every position below is in its pixels.
constexpr int designBreite = 742;
constexpr int designHoehe = 529;

const QColor gruen(0x00, 0xC0, 0x00);
const QColor rot(0xFF, 0x00, 0x00);

void faerben(QWidget* w, QPalette::ColorRole rolle, const QColor& farbe)
{
    QPalette p = w->palette();
    p.setColor(rolle, farbe);
    w->setPalette(p);
}

void fett(QWidget* w)
{
    QFont f = w->font();
    f.setBold(true);
    w->setFont(f);
}

} // namespace

frmFund::frmFund(QWidget* hauptfenster, std::function<Form3*()> hilfe, const QString& ordner, QDate heute)
    : EigenesFenster(hauptfenster)
    , m_hilfe(std::move(hilfe))
    , m_heute(heute.isValid() ? heute : QDate::currentDate())
{
    Data2 = new FundortDatenbank(QStringLiteral("Data2"), this, ordner);
    Data1 = new FundortDatenbank(QStringLiteral("Data1"), this, ordner);
    aufbauen();
    Form_Load();
}

frmFund::~frmFund() = default;

QString frmFund::hilfetext()
{
    return QStringLiteral(
        "Sie können einen neuen Fundort nur eingeben, wenn Sie vorher die Schaltfläche NEUER FUNDORT anklicken. "
        "Dabei haben Sie zwei Möglichkeiten:\r\n"
        "Wenn Sie einen bereits vorhandenen Fundort nür geringfügig verändern möchten "
        "(z.B. das Datum), setzen Sie das Häkchen in VORHANDENE DATEN beibehalten.\r\n"
        "Wenn Sie einen vollkommen neuen Fundort eingeben wollen, entfernen Sie das Häkchen.\r\n\r\n"
        "Bei neuen Fundorten werden in den Eingabefeldern die bereits vorhandenen Angaben passend angezeigt.\r\n\r\n"
        "Die Bundesländer bzw. Kantone von Deutschland, Österreich und der Schweiz sind bereits vorgegeben. "
        "Sobald die erste Buchstabenfolge "
        "die Angaben unterscheidbar macht, wird die Angabe vervollständigt. (Z.B. Bundesland: Bad ergibt "
        "Baden-Württemberg, Bay ergibt Bayern, T ergibt Thüringen...)");
}

void frmFund::aufbauen()
{
    setObjectName(QStringLiteral("frmFund"));
    setWindowTitle(QStringLiteral("Fundortzusammenstellung"));
    // A title and a close box, no minimize or maximize box.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    // The main window's narrow face, so that the dense design's captions fit.
    if (oeffner())
        setFont(oeffner()->font());
    setFixedSize(designBreite, designHoehe);

    Label1_10 = platzieren<QLabel>(this, "Label1(10)", {40, 16, 113, 13}, QStringLiteral("Alle bisherigen Fundorte"));
    Combo7 = platzieren<ZeilenListe>(this, "Combo7", {40, 32, 681, 21});

    Label3_0 = platzieren<QLabel>(this, "Label3(0)", {32, 80, 89, 13}, QStringLiteral("* = Pflichtfelder"));
    faerben(Label3_0, QPalette::WindowText, rot);
    fett(Label3_0);
    cmdHilfe = platzieren<QPushButton>(this, "cmdHilfe", {248, 80, 17, 17}, QStringLiteral("?"));
    faerben(cmdHilfe, QPalette::Button, QColor(0xFF, 0xFF, 0x00));
    fett(cmdHilfe);
    cmdHilfe->setToolTip(QStringLiteral("Fundorteingabe"));

    Combo1 = platzieren<EingabeListe>(this, "Combo1", {40, 104, 225, 21});
    Combo2 = platzieren<EingabeListe>(this, "Combo2", {40, 136, 225, 21});
    Combo8 = platzieren<EingabeListe>(this, "Combo8", {40, 168, 225, 21});
    Combo9 = platzieren<EingabeListe>(this, "Combo9", {40, 200, 225, 21});
    Text3 = platzieren<EingabeText>(this, "Text3", {40, 232, 225, 89});
    Text4 = platzieren<TextFeld>(this, "Text4", {40, 328, 225, 25});
    Combo5 = platzieren<SperrListe>(this, "Combo5", {40, 360, 73, 21});
    Combo3 = platzieren<SperrListe>(this, "Combo3", {120, 360, 89, 21});
    Combo4 = platzieren<SperrListe>(this, "Combo4", {216, 360, 49, 21});
    Combo6 = platzieren<EingabeListe>(this, "Combo6", {40, 392, 225, 21});
    Combo10 = platzieren<EingabeListe>(this, "Combo10", {40, 424, 225, 21});

    // Captions level with their fields, and a red star before every required one.
    struct Beschriftung {
        const char* text;
        int oben;
        bool pflicht;
    };
    const Beschriftung beschriftungen[9] = {
        {"Land", 104, true},
        {"Bundesland, Kanton, Department etc.", 136, true},
        {"nahegelegene größere Stadt/Region", 168, true},
        {"genauerer Fundort", 200, true},
        {"Fundortbeschreibung", 232, false},
        {"Höhenangabe (msm wird automatisch hinzugefügt)", 328, true},
        {"Datum (t.mmmm yyyy)", 360, true},
        {"Art des Fotos", 392, true},
        {"Autor", 424, true},
    };
    for (int i = 0, stern = 1; i < 9; ++i) {
        const Beschriftung& b = beschriftungen[i];
        // The date caption sits lower, level with the text of its three lists.
        const int oben = i == 6 ? 368 : b.oben + 4;
        platzieren<QLabel>(this, qPrintable(QStringLiteral("Label1(%1)").arg(i)), {280, oben, 244, 13},
                           QString::fromUtf8(b.text));
        if (b.pflicht) {
            auto* s = platzieren<QLabel>(this, qPrintable(QStringLiteral("Label3(%1)").arg(stern++)), {32, b.oben + 4, 8, 13},
                                         QStringLiteral("*"));
            faerben(s, QPalette::WindowText, rot);
            fett(s);
        }
    }

    Label1_9 = platzieren<QLabel>(this, "Label1(9)", {40, 456, 177, 13}, QStringLiteral("Ansicht der neuen Zusammenstellung"));
    lblZusammenstellung = platzieren<QLabel>(this, "lblZusammenstellung", {40, 472, 681, 41}, QString());
    lblZusammenstellung->setTextFormat(Qt::PlainText);
    lblZusammenstellung->setWordWrap(true);
    lblZusammenstellung->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblZusammenstellung->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fett(lblZusammenstellung);

    Command6 = platzieren<QPushButton>(this, "Command6", {528, 104, 193, 21}, QStringLiteral("alle bisherigen Fundorte anzeigen"));
    Command5 = platzieren<QPushButton>(this, "Command5", {528, 176, 193, 21}, QStringLiteral("Neuer Fundort"));
    Check1 = platzieren<UmbruchKasten>(this, "Check1", {536, 200, 153, 25}, QStringLiteral("im Moment angezeigte Daten beibehalten"));
    Command1 = platzieren<QPushButton>(this, "Command1", {528, 240, 193, 21}, QStringLiteral("Fundort speichern"));
    Command7 = platzieren<QPushButton>(this, "Command7", {528, 272, 193, 21}, QStringLiteral("Fundort löschen"));
    Command3 = platzieren<QPushButton>(this, "Command3", {528, 352, 193, 21}, QStringLiteral("Schließen"));
    Command4 = platzieren<QPushButton>(this, "Command4", {528, 440, 193, 21}, QStringLiteral("Fundort in die Zwischenablage"));

    // The design's captions are narrower than this face needs; they grow to the right.
    for (QLabel* l : findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (l != lblZusammenstellung && l->sizeHint().width() > l->width())
            l->resize(l->sizeHint().width(), l->height());

    // State at opening: only the town, site and author boxes take typing, to no effect yet.
    for (EingabeListe* l : {Combo1, Combo2, Combo6})
        l->setzeGesperrt(true);
    for (SperrListe* l : {Combo5, Combo3, Combo4})
        l->setzeGesperrt(true);
    Text3->setReadOnly(true);
    Text4->setReadOnly(true);
    for (QPushButton* k : {Command6, Command1, Command7, Command4})
        k->setEnabled(false);

    const QWidget* reihenfolge[] = {Combo1, Combo2,   Combo8,   Combo9,   Text3,    Text4,  Combo5,
                                    Combo3, Combo4,   Combo6,   Combo10,  Command1, Command4, Command5,
                                    Command6, Command7, Combo7, Command3, Check1,   cmdHilfe};
    for (size_t i = 1; i < std::size(reihenfolge); ++i)
        setTabOrder(const_cast<QWidget*>(reihenfolge[i - 1]), const_cast<QWidget*>(reihenfolge[i]));

    connect(Combo7, &Liste::klick, this, &frmFund::Combo7_Click);
    connect(Combo1, &EingabeListe::geaendert, this, &frmFund::Combo1_Change);
    connect(Combo2, &EingabeListe::geaendert, this, &frmFund::Combo2_Change);
    connect(Combo1, &EingabeListe::klick, this, &frmFund::Combo1_Click);
    connect(Combo2, &EingabeListe::klick, this, &frmFund::Combo2_Click);
    connect(Combo8, &EingabeListe::klick, this, &frmFund::Combo8_Click);
    for (EingabeListe* l : {Combo8, Combo9, Combo6, Combo10})
        connect(l, &EingabeListe::geaendert, this, &frmFund::Eingabe_Change);
    for (EingabeListe* l : {Combo9, Combo6, Combo10})
        connect(l, &EingabeListe::klick, this, &frmFund::Eingabe_Change);
    connect(Text3, &EingabeText::geaendert, this, &frmFund::Eingabe_Change);
    connect(Text4, &TextFeld::geaendert, this, &frmFund::Eingabe_Change);
    connect(Combo3, &Liste::klick, this, &frmFund::Combo3_Click);
    connect(Combo5, &Liste::klick, this, &frmFund::Combo5_Click);
    connect(Combo4, &Liste::klick, this, &frmFund::Combo4_Click);
    connect(Command1, &QPushButton::clicked, this, &frmFund::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &frmFund::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &frmFund::Command4_Click);
    connect(Command5, &QPushButton::clicked, this, &frmFund::Command5_Click);
    connect(Command6, &QPushButton::clicked, this, &frmFund::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &frmFund::Command7_Click);
    connect(cmdHilfe, &QPushButton::clicked, this, &frmFund::cmdHilfe_Click);
}

void frmFund::Form_Load()
{
    neuerFundort = false;
    datumslistenAufbauen();
    Combo6->hinzufuegen({QStringLiteral("Foto"), QStringLiteral("Freilandfoto"), QStringLiteral("manipuliertes Freilandfoto"),
                         QStringLiteral("Studiofoto")});
    Combo6->setzeListIndex(0);

    // A store that cannot be opened leaves a dialog that composes and copies, but does not save.
    if (speicherOeffnen(true))
        Fundorte_Laden();
}

QWidget* frmFund::besitzer() { return isVisible() || !oeffner() ? this : oeffner(); }

bool frmFund::speicherOeffnen(bool fehlerMelden)
{
    // The lookup connection first; it is the one that sets up or puts aside the file.
    const bool offen = Data2->oeffnen() && Data1->oeffnen();
    const QString beiseite = Data2->beiseitegelegt().isEmpty() ? Data1->beiseitegelegt() : Data2->beiseitegelegt();
    if (!beiseite.isEmpty())
        meldung(besitzer(),
                QStringLiteral("Die Fundortdatei „%1“ ließ sich nicht lesen. Sie wurde unverändert als „%2“ "
                               "aufbewahrt; die Fundortzusammenstellung beginnt mit einer leeren Liste.")
                    .arg(QDir::toNativeSeparators(Data2->dateipfad()), QFileInfo(beiseite).fileName()),
                programmTitel(), Dienste::Symbol::Info);
    if (!offen && fehlerMelden) {
        const FundortDatenbank& db = Data2->offen() ? *Data1 : *Data2;
        meldung(besitzer(),
                QStringLiteral("Die Fundortdatei „%1“ kann nicht geöffnet werden.\r\n\r\n%2\r\n\r\nFundorte lassen sich "
                               "zusammenstellen und kopieren, aber nicht speichern.")
                    .arg(QDir::toNativeSeparators(db.dateipfad()), db.letzterFehler()),
                programmTitel(), Dienste::Symbol::Fehler);
    }
    return offen;
}

// --- date lists ---

void frmFund::datumslistenAufbauen()
{
    const QStringList jahre = fundbericht::jahresliste(m_heute.year());
    for (const QString& j : jahre)
        Combo5->hinzufuegen(j);
    Combo5->setzeListIndex(std::max<int>(0, int(jahre.indexOf(QString::number(m_heute.year())))));
    for (const QString& m : fundbericht::monatsnamen())
        Combo3->hinzufuegen(m);
    Combo3->setzeListIndex(m_heute.month() - 1);
}

void frmFund::Combo3_Click()
{
    m_datumWieGespeichert.reset();
    Tagesliste_Aufbauen();
}

void frmFund::Combo5_Click()
{
    m_datumWieGespeichert.reset();
    // The days follow the year too (February), keeping the chosen day where the month has it.
    const int jahr = int(zahlen::Val(Combo5->currentText()));
    const int tage = fundbericht::tageImMonat(jahr, Combo3->ListIndex());
    if (Combo3->ListIndex() >= 0 && Combo4->ListCount() != tage) {
        const int tag = fundbericht::tagImMonat(Combo4->ListIndex() + 1, jahr, Combo3->ListIndex());
        Combo4->leeren();
        for (int t = 1; t <= tage; ++t)
            Combo4->hinzufuegen(fundbericht::tagEintrag(t));
        Combo4->setzeListIndex(tag - 1);
    }
    Eingabe_Change();
}

void frmFund::Combo4_Click()
{
    m_datumWieGespeichert.reset();
    Eingabe_Change();
}

void frmFund::Tagesliste_Aufbauen()
{
    const int tage = fundbericht::tageImMonat(int(zahlen::Val(Combo5->currentText())), Combo3->ListIndex());
    Combo4->leeren();
    for (int t = 1; t <= tage; ++t)
        Combo4->hinzufuegen(fundbericht::tagEintrag(t));
    // Today's day, or the month's last where the month is shorter.
    Combo4->setzeListIndex(fundbericht::tagImMonat(m_heute.day(), int(zahlen::Val(Combo5->currentText())), Combo3->ListIndex()) - 1);
    if (neuerFundort)
        Zusammenstellung_Anzeigen();
}

void frmFund::datumAnzeigen(const QString& datum)
{
    m_datumWieGespeichert.reset();
    const auto d = fundbericht::datumLesen(datum);
    if (!d) {
        // Not in the stored form: the lists stay as they are, the line shows the date as stored.
        m_datumWieGespeichert = datum;
        return;
    }
    const QString jahr = QString::number(d->jahr);
    int index = Combo5->findText(jahr);
    if (index < 0) {
        // A year outside the list is shown all the same, in its place among the others.
        index = 0;
        while (index < Combo5->ListCount() && zahlen::Val(Combo5->eintrag(index)) < d->jahr)
            ++index;
        Combo5->einfuegen(index, jahr);
    }
    Combo5->setzeListIndex(index);
    Combo3->setzeListIndex(d->monatIndex);
    // Also when the month was selected already, the days must be those of this year's month.
    if (Combo4->ListCount() != fundbericht::tageImMonat(d->jahr, d->monatIndex))
        Tagesliste_Aufbauen();
    Combo4->setzeListIndex(d->tag - 1);
}

// --- the report line ---

FindRecord frmFund::felder() const
{
    FindRecord f;
    f.land = Combo1->Text();
    f.bundesland = Combo2->Text();
    f.stadt = Combo8->Text();
    f.fundort = Combo9->Text();
    f.fundortbeschreibung = Text3->Text();
    f.höhe = Text4->text();
    f.datum = m_datumWieGespeichert ? *m_datumWieGespeichert
                                     : fundbericht::datumText(Combo4->currentText(), Combo3->currentText(), Combo5->currentText());
    f.bildart = Combo6->Text();
    f.autor = Combo10->Text();
    return f;
}

void frmFund::Zusammenstellung_Anzeigen()
{
    const FindRecord f = felder();
    const QString zeile = fundbericht::vorschauZeile(f);
    lblZusammenstellung->setText(zeile);
    // The label keeps its three lines; a line cut off there is readable in full as its tooltip.
    const QRect noetig = lblZusammenstellung->fontMetrics().boundingRect(
        QRect(0, 0, lblZusammenstellung->contentsRect().width(), QWIDGETSIZE_MAX), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap,
        zeile);
    lblZusammenstellung->setToolTip(noetig.height() > lblZusammenstellung->contentsRect().height()
                                        ? (Qt::mightBeRichText(zeile)
                                               ? QStringLiteral("<p style=\"white-space:pre-wrap\">%1</p>").arg(zeile.toHtmlEscaped())
                                               : zeile)
                                        : QString());
    if (fundbericht::istVollstaendig(f)) {
        faerben(lblZusammenstellung, QPalette::WindowText, gruen);
        Command1->setEnabled(neuerFundort);
        Command4->setEnabled(true);
    } else {
        faerben(lblZusammenstellung, QPalette::WindowText, rot);
        Command1->setEnabled(false);
        Command4->setEnabled(false);
    }
}

void frmFund::Eingabe_Change()
{
    if (neuerFundort)
        Zusammenstellung_Anzeigen();
}

// --- completion while typing ---

namespace {

// Shows the completed name with the caret behind the typed letters and the rest selected.
void ergaenzen(EingabeListe* feld, const vervollstaendigung::Treffer& treffer)
{
    feld->setzeText(treffer.name);
    const int getippt = int(treffer.getippt.size());
    const int ende = int(feld->Text().size());
    feld->lineEdit()->setSelection(ende, std::min(getippt, ende) - ende);
}

} // namespace

void frmFund::Combo1_Change()
{
    if (const auto treffer = vervollstaendigung::land(Combo1->Text()))
        ergaenzen(Combo1, *treffer);
    Eingabe_Change();
}

void frmFund::Combo2_Change()
{
    if (const auto treffer = vervollstaendigung::bundesland(Combo1->Text(), Combo2->Text()))
        ergaenzen(Combo2, *treffer);
    Eingabe_Change();
}

// --- the cascade of suggestion lists ---

bool frmFund::vorschlaegeFuellen(EingabeListe* liste, const std::optional<QStringList>& werte, const FundortDatenbank& db)
{
    if (!db.offen())
        return false; // said once at opening; the lists stay as they are
    if (!werte) {
        datenbankFehler(QStringLiteral("Die Vorschläge konnten nicht gelesen werden."), db);
        return false;
    }
    liste->leeren();
    liste->hinzufuegen(*werte);
    if (!werte->isEmpty())
        liste->setzeListIndex(0);
    return true;
}

void frmFund::Combo1_Click()
{
    vorschlaegeFuellen(Combo2, Data2->bundeslaender(Combo1->Text()), *Data2);
    Eingabe_Change();
}

void frmFund::Combo2_Click()
{
    vorschlaegeFuellen(Combo8, Data2->staedte(Combo2->Text()), *Data2);
    Eingabe_Change();
}

void frmFund::Combo8_Click()
{
    vorschlaegeFuellen(Combo9, Data2->fundorte(Combo8->Text()), *Data2);
    Eingabe_Change();
}

// --- stored locations ---

void frmFund::Fundorte_Laden()
{
    if (!Data1->offen()) {
        Command7->setEnabled(false);
        Combo7->leeren();
        return;
    }
    if (!Data1->allesLaden()) {
        datenbankFehler(QStringLiteral("Die gespeicherten Fundorte konnten nicht gelesen werden."), *Data1);
        return;
    }
    if (Data1->anzahl() == 0) {
        Command7->setEnabled(false);
        Combo7->leeren();
        return;
    }
    Command7->setEnabled(true);
    Combo7->leeren();
    QStringList zeilen;
    zeilen.reserve(Data1->anzahl());
    for (int i = 0; i < Data1->anzahl(); ++i)
        zeilen << fundbericht::gespeicherteZeile(Data1->zeile(i));
    Combo7->alleHinzufuegen(zeilen);
    Combo7->setzeListIndex(0);
}

void frmFund::Combo7_Click() { fundortAnzeigen(); }

void frmFund::fundortAnzeigen()
{
    if (!Data1->positionieren(Combo7->ListIndex()))
        return;
    const FindRecord r = Data1->aktuell();
    Combo1->setzeText(r.land);
    Combo2->setzeText(r.bundesland);
    Combo8->setzeText(r.stadt);
    Combo9->setzeText(r.fundort);
    Text3->setzeText(r.fundortbeschreibung);
    Text4->setzeText(r.höhe);
    Text4->setCursorPosition(0);
    datumAnzeigen(r.datum);
    Combo6->setzeText(r.bildart);
    Combo10->setzeText(r.autor);
    Zusammenstellung_Anzeigen();
}

void frmFund::eingabenSperren(bool gesperrt)
{
    for (EingabeListe* l : {Combo1, Combo2, Combo6, Combo8, Combo9, Combo10})
        l->setzeGesperrt(gesperrt);
    for (SperrListe* l : {Combo3, Combo4, Combo5})
        l->setzeGesperrt(gesperrt);
    Text3->setReadOnly(gesperrt);
    Text4->setReadOnly(gesperrt);
}

void frmFund::datenbankFehler(const QString& was, const FundortDatenbank& db)
{
    meldung(besitzer(),
            QStringLiteral("%1\r\n\r\n%2\r\nDatei: „%3“\r\n\r\nDie bisher gespeicherten Fundorte bleiben erhalten.")
                .arg(was, db.letzterFehler(), QDir::toNativeSeparators(db.dateipfad())),
            programmTitel(), Dienste::Symbol::Fehler);
}

// --- buttons ---

void frmFund::Command5_Click()
{
    neuerFundort = true;
    Command6->setEnabled(true);
    eingabenSperren(false);
    Command7->setEnabled(false);
    Combo7->setEnabled(false);
    Combo1->setFocus();
    m_eingabeBeginn = felder();
    if (Check1->isChecked())
        return;

    Combo10->setzeText(QString());
    Combo8->setzeText(QString());
    Combo9->setzeText(QString());
    Text3->setzeText(QString());
    Text4->setzeText(QString());

    m_eingabeBeginn = felder();
    if (!Data2->offen())
        return; // no suggestions without the store
    const auto laender = Data2->laender();
    if (!laender) {
        datenbankFehler(QStringLiteral("Die Vorschläge konnten nicht gelesen werden."), *Data2);
        return;
    }
    if (laender->isEmpty())
        return;
    // Each first entry runs the cascade below it.
    if (!vorschlaegeFuellen(Combo1, laender, *Data2)
        || !vorschlaegeFuellen(Combo2, Data2->bundeslaender(Combo1->Text()), *Data2)
        || !vorschlaegeFuellen(Combo8, Data2->staedte(Combo2->Text()), *Data2)
        || !vorschlaegeFuellen(Combo10, Data2->autoren(), *Data2))
        return;
    Zusammenstellung_Anzeigen();
    Combo1->setFocus();
    m_eingabeBeginn = felder();
}

void frmFund::Command1_Click()
{
    FindRecord neu = felder();
    // The store may have become free since the dialog opened (a lock released, say).
    if (!Data1->offen() && !speicherOeffnen(false)) {
        datenbankFehler(QStringLiteral("Der Fundort konnte nicht gespeichert werden."), Data2->offen() ? *Data1 : *Data2);
        return;
    }
    if (!Data1->hinzufuegen(neu)) {
        datenbankFehler(QStringLiteral("Der Fundort konnte nicht gespeichert werden."), *Data1);
        return;
    }
    const QString zeile = lblZusammenstellung->text();
    neuerFundort = false;
    Fundorte_Laden();
    for (int i = 0; i < Combo7->ListCount(); ++i)
        if (Combo7->eintrag(i) == zeile) {
            Combo7->setzeListIndex(i);
            break;
        }
}

void frmFund::Command7_Click()
{
    if (neuerFundort) {
        meldung(this,
                QStringLiteral("Fundort kann nicht gelöscht werden!\r\nKlicken Sie zuerst auf ALLE BISHERIGEN FUNDORTE."),
                QStringLiteral("Löschen"), Dienste::Symbol::Fehler);
        return;
    }
    if (!Data1->aktuellLoeschen()) {
        datenbankFehler(QStringLiteral("Der Fundort konnte nicht gelöscht werden."), *Data1);
        return;
    }
    Fundorte_Laden();
}

void frmFund::Command6_Click()
{
    if (Combo7->ListCount() == 0)
        return;
    neuerFundort = false;
    Combo7->setEnabled(true);
    // Shown afresh also when the first entry is selected already.
    if (Combo7->ListIndex() == 0)
        fundortAnzeigen();
    else
        Combo7->setzeListIndex(0);
    eingabenSperren(true);
    Command7->setEnabled(true);
    Zusammenstellung_Anzeigen();
}

void frmFund::Command4_Click() { dienste().zwischenablageSetzen(lblZusammenstellung->text()); }

void frmFund::Command3_Click()
{
    freigeben();
    close();
}

void frmFund::freigeben()
{
    EigenesFenster::freigeben();
    if (oeffner())
        oeffner()->show();
}

void frmFund::keyPressEvent(QKeyEvent* e)
{
    if (e->key() == Qt::Key_Escape && neuerFundort && felder() != m_eingabeBeginn
        && dienste().frage(this,
                           QStringLiteral("Der neue Fundort ist noch nicht gespeichert. Wollen Sie die Fundortzusammenstellung "
                                          "trotzdem schließen? Ihre Eingaben gehen dabei verloren."),
                           programmTitel(), {QStringLiteral("Ja"), QStringLiteral("Nein")}, 1)
               != 0)
        return;
    EigenesFenster::keyPressEvent(e);
}

void frmFund::cmdHilfe_Click()
{
    Form3* hilfe = m_hilfe ? m_hilfe() : nullptr;
    if (!hilfe)
        return;
    hilfe->setzeText(QStringLiteral("Fundorteingabe"), hilfetext());
    hilfe->setzeFundDialog(this);
    setEnabled(false);
    nebenfensterZeigen(hilfe, this);
}

void frmFund::zeigen()
{
    // Centred on the screen the main window is on.
    if (QScreen* schirm = oeffner() ? oeffner()->screen() : QGuiApplication::primaryScreen()) {
        const QRect flaeche = schirm->availableGeometry();
        move(flaeche.center() - QPoint(width() / 2, height() / 2));
    }
    EigenesFenster::zeigen();
}
