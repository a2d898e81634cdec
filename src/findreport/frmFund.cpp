#include "findreport/frmFund.h"

#include "hilfe/Form3.h"
#include "platform/Eingabelisten.h"
#include "platform/Steuerelemente.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>

#include <algorithm>

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
    , m_sitzung(new Fundsitzung(ordner, heute, this))
    , m_hilfe(std::move(hilfe))
{
    aufbauen();
    verbinden();
    if (hauptfenster)
        hauptfenster->installEventFilter(this);
    m_sitzung->oeffnen();
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

    platzieren<QLabel>(this, "Label1(10)", {40, 16, 113, 13}, QStringLiteral("Alle bisherigen Fundorte"));
    m_Combo7 = platzieren<ZeilenListe>(this, "Combo7", {40, 32, 681, 21});

    auto* stern0 = platzieren<QLabel>(this, "Label3(0)", {32, 80, 89, 13}, QStringLiteral("* = Pflichtfelder"));
    faerben(stern0, QPalette::WindowText, rot);
    fett(stern0);
    m_cmdHilfe = platzieren<QPushButton>(this, "cmdHilfe", {248, 80, 17, 17}, QStringLiteral("?"));
    faerben(m_cmdHilfe, QPalette::Button, QColor(0xFF, 0xFF, 0x00));
    fett(m_cmdHilfe);
    m_cmdHilfe->setToolTip(QStringLiteral("Fundorteingabe"));

    m_listen[Fundsitzung::Land] = platzieren<EingabeListe>(this, "Combo1", {40, 104, 225, 21});
    m_listen[Fundsitzung::Bundesland] = platzieren<EingabeListe>(this, "Combo2", {40, 136, 225, 21});
    m_listen[Fundsitzung::Stadt] = platzieren<EingabeListe>(this, "Combo8", {40, 168, 225, 21});
    m_listen[Fundsitzung::Fundort] = platzieren<EingabeListe>(this, "Combo9", {40, 200, 225, 21});
    m_Text3 = platzieren<EingabeText>(this, "Text3", {40, 232, 225, 89});
    m_Text4 = platzieren<TextFeld>(this, "Text4", {40, 328, 225, 25});
    m_datum[Fundsitzung::Jahr] = platzieren<SperrListe>(this, "Combo5", {40, 360, 73, 21});
    m_datum[Fundsitzung::Monat] = platzieren<SperrListe>(this, "Combo3", {120, 360, 89, 21});
    m_datum[Fundsitzung::Tag] = platzieren<SperrListe>(this, "Combo4", {216, 360, 49, 21});
    m_listen[Fundsitzung::Bildart] = platzieren<EingabeListe>(this, "Combo6", {40, 392, 225, 21});
    m_listen[Fundsitzung::Autor] = platzieren<EingabeListe>(this, "Combo10", {40, 424, 225, 21});

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

    // Beside the date lists: past their caption's text, short of the buttons' column, at least as
    // wide as its own caption asks; made after the date's caption, whose box it overlaps, so that
    // it lies on top.
    m_cmdAufnahmedatum = platzieren<QPushButton>(this, "cmdAufnahmedatum", {}, QStringLiteral("Aufnahmedatum"));
    const auto* datumsBeschriftung = findChild<QLabel*>(QStringLiteral("Label1(6)"));
    const int links = std::max(datumsBeschriftung->x() + datumsBeschriftung->sizeHint().width() + 8,
                               520 - std::max(104, m_cmdAufnahmedatum->sizeHint().width()));
    m_cmdAufnahmedatum->setGeometry(links, 360, 520 - links, 21);

    platzieren<QLabel>(this, "Label1(9)", {40, 456, 177, 13}, QStringLiteral("Ansicht der neuen Zusammenstellung"));
    m_lblZusammenstellung = platzieren<QLabel>(this, "lblZusammenstellung", {40, 472, 681, 41}, QString());
    m_lblZusammenstellung->setTextFormat(Qt::PlainText);
    m_lblZusammenstellung->setWordWrap(true);
    m_lblZusammenstellung->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_lblZusammenstellung->setTextInteractionFlags(Qt::TextSelectableByMouse);
    fett(m_lblZusammenstellung);

    const auto knopf = [this](const char* name, int oben, const char* text) {
        return platzieren<QPushButton>(this, name, {528, oben, 193, 21}, QString::fromUtf8(text));
    };
    m_Command6 = knopf("Command6", 104, "alle bisherigen Fundorte anzeigen");
    m_Command5 = knopf("Command5", 176, "Neuer Fundort");
    m_Check1 = platzieren<UmbruchKasten>(this, "Check1", {536, 200, 153, 25}, QStringLiteral("im Moment angezeigte Daten beibehalten"));
    m_Command1 = knopf("Command1", 240, "Fundort speichern");
    m_Command7 = knopf("Command7", 272, "Fundort löschen");
    m_Command3 = knopf("Command3", 352, "Schließen");
    m_Command4 = knopf("Command4", 440, "Fundort in die Zwischenablage");

    // The design's captions are narrower than this face needs; they grow to the right.
    for (QLabel* l : findChildren<QLabel*>(Qt::FindDirectChildrenOnly))
        if (l != m_lblZusammenstellung && l->sizeHint().width() > l->width())
            l->resize(l->sizeHint().width(), l->height());

    // The keyboard order; the photo's date, not in the design, comes last.
    using S = Fundsitzung;
    QWidget* const reihenfolge[] = {m_listen[S::Land],  m_listen[S::Bundesland], m_listen[S::Stadt], m_listen[S::Fundort],
                                    m_Text3,            m_Text4,                 m_datum[S::Jahr],   m_datum[S::Monat],
                                    m_datum[S::Tag],    m_listen[S::Bildart],    m_listen[S::Autor], m_Command1,
                                    m_Command4,         m_Command5,              m_Command6,         m_Command7,
                                    m_Combo7,           m_Command3,              m_Check1,           m_cmdHilfe,
                                    m_cmdAufnahmedatum};
    for (size_t i = 1; i < std::size(reihenfolge); ++i)
        setTabOrder(reihenfolge[i - 1], reihenfolge[i]);
}

// Every event goes to the session; what the controls signal while they are brought
// up to date (the texts and selections the session set) is none.
void frmFund::verbinden()
{
    Fundsitzung* s = m_sitzung;
    const auto wenn = [this](auto handlung) {
        return [this, handlung] {
            if (!m_abgleich)
                handlung();
        };
    };
    for (int f = 0; f < Fundsitzung::feldAnzahl; ++f) {
        EingabeListe* liste = m_listen[f];
        if (!liste)
            continue;
        const auto feld = Fundsitzung::Feld(f);
        connect(liste, &EingabeListe::geaendert, this, wenn([s, liste, feld] { s->tippen(feld, liste->Text()); }));
        connect(liste, &EingabeListe::klick, this, wenn([s, liste, feld] { s->waehlen(feld, liste->ListIndex()); }));
    }
    connect(m_Text3, &EingabeText::geaendert, this, wenn([this, s] { s->tippen(Fundsitzung::Beschreibung, m_Text3->Text()); }));
    connect(m_Text4, &TextFeld::geaendert, this, wenn([this, s] { s->tippen(Fundsitzung::Hoehe, m_Text4->text()); }));
    for (int d = 0; d < 3; ++d) {
        SperrListe* liste = m_datum[d];
        connect(liste, &Liste::klick, this, wenn([s, liste, d] { s->datumWaehlen(Fundsitzung::Datum(d), liste->ListIndex()); }));
    }
    connect(m_Combo7, &Liste::klick, this, wenn([this, s] { s->gespeichertenWaehlen(m_Combo7->ListIndex()); }));
    connect(m_Command1, &QPushButton::clicked, s, &Fundsitzung::speichern);
    connect(m_cmdAufnahmedatum, &QPushButton::clicked, s, &Fundsitzung::aufnahmedatumWaehlen);
    connect(m_Command3, &QPushButton::clicked, this, &QWidget::close);
    connect(m_Command4, &QPushButton::clicked, this, [s] { dienste().zwischenablageSetzen(s->zeile()); });
    connect(m_Command5, &QPushButton::clicked, this, [this, s] {
        s->neuerFundort(m_Check1->isChecked());
        m_listen[Fundsitzung::Land]->setFocus();
    });
    connect(m_Command6, &QPushButton::clicked, s, &Fundsitzung::alleAnzeigen);
    connect(m_Command7, &QPushButton::clicked, s, &Fundsitzung::loeschen);
    connect(m_cmdHilfe, &QPushButton::clicked, this, &frmFund::cmdHilfe_Click);
    connect(s, &Fundsitzung::geaendert, this, &frmFund::anzeigen);
    connect(s, &Fundsitzung::meldung, this,
            [this](const QString& text, const QString& titel, Dienste::Symbol symbol) { meldung(besitzer(), text, titel, symbol); });
}

void frmFund::anzeigen()
{
    const QScopedValueRollback abgleich(m_abgleich, true);
    const Fundsitzung& s = *m_sitzung;
    for (int f = 0; f < Fundsitzung::feldAnzahl; ++f) {
        EingabeListe* liste = m_listen[f];
        if (!liste)
            continue;
        const auto feld = Fundsitzung::Feld(f);
        if (m_listenStand[f] != s.listenStand(feld)) {
            liste->leeren();
            liste->hinzufuegen(s.vorschlaege(feld));
            m_listenStand[f] = s.listenStand(feld);
        }
        liste->setzeListIndex(s.vorschlagIndex(feld));
        if (liste->Text() != s.text(feld))
            liste->setzeText(s.text(feld));
        // A completed name: the typed letters stay, the rest is selected, so that typing on replaces it.
        if (const auto ab = s.ergaenztAb(feld)) {
            const int ende = int(liste->Text().size());
            liste->lineEdit()->setSelection(ende, *ab - ende);
        }
        liste->setzeGesperrt(s.gesperrt(feld));
    }
    if (m_Text3->Text() != s.text(Fundsitzung::Beschreibung))
        m_Text3->setzeText(s.text(Fundsitzung::Beschreibung));
    m_Text3->setReadOnly(s.gesperrt(Fundsitzung::Beschreibung));
    if (m_Text4->text() != s.text(Fundsitzung::Hoehe)) {
        m_Text4->setzeText(s.text(Fundsitzung::Hoehe));
        m_Text4->setCursorPosition(0);
    }
    m_Text4->setReadOnly(s.gesperrt(Fundsitzung::Hoehe));

    for (int d = 0; d < 3; ++d) {
        SperrListe* liste = m_datum[d];
        const auto datum = Fundsitzung::Datum(d);
        if (m_datumsStand[d] != s.datumsStand(datum)) {
            liste->leeren();
            liste->alleHinzufuegen(s.datumsliste(datum));
            m_datumsStand[d] = s.datumsStand(datum);
        }
        liste->setzeListIndex(s.datumsIndex(datum));
        liste->setzeGesperrt(s.datumGesperrt());
    }

    if (m_gespeicherteStand != s.gespeicherteStand()) {
        m_Combo7->leeren();
        m_Combo7->alleHinzufuegen(s.gespeicherte());
        m_gespeicherteStand = s.gespeicherteStand();
    }
    m_Combo7->setzeListIndex(s.gespeicherterIndex());
    m_Combo7->setEnabled(s.listeAktiv());

    m_Command1->setEnabled(s.speichernMoeglich());
    m_Command4->setEnabled(s.kopierenMoeglich());
    m_Command6->setEnabled(s.alleAnzeigenMoeglich());
    m_Command7->setEnabled(s.loeschenMoeglich());
    m_cmdAufnahmedatum->setEnabled(s.aufnahmedatumMoeglich());
    m_cmdAufnahmedatum->setToolTip(s.aufnahmedatumHinweis());
    zeileAnzeigen();
}

void frmFund::zeileAnzeigen()
{
    const QString& zeile = m_sitzung->zeile();
    QLabel* l = m_lblZusammenstellung;
    l->setText(zeile);
    if (const auto vollstaendig = m_sitzung->zeileVollstaendig())
        faerben(l, QPalette::WindowText, *vollstaendig ? gruen : rot);
    // The label keeps its three lines; a line cut off there is readable in full as its tooltip.
    const QRect noetig =
        l->fontMetrics().boundingRect(QRect(0, 0, l->contentsRect().width(), QWIDGETSIZE_MAX), Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap, zeile);
    if (noetig.height() <= l->contentsRect().height())
        l->setToolTip(QString());
    else
        l->setToolTip(nurTextTipp(zeile, true));
}

QWidget* frmFund::besitzer() { return isVisible() || !oeffner() ? this : oeffner(); }

void frmFund::freigeben()
{
    EigenesFenster::freigeben();
    if (oeffner())
        oeffner()->show();
}

void frmFund::closeEvent(QCloseEvent* e)
{
    if (!m_programmEndet) {
        if (const auto frage = m_sitzung->schliessfrage()) {
            const int antwort = dienste().frageMitSperre(this, frage->text, programmTitel(), frage->antworten, frage->standard,
                                                         frage->gesperrt ? int(*frage->gesperrt) : -1);
            if (!m_sitzung->schliessen(Fundsitzung::Antwort(std::clamp(antwort, 0, int(Fundsitzung::Abbrechen))))) {
                e->ignore();
                return;
            }
        }
    }
    EigenesFenster::closeEvent(e);
}

bool frmFund::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == oeffner() && ereignis->type() == QEvent::Close)
        m_programmEndet = true;
    return EigenesFenster::eventFilter(objekt, ereignis);
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
