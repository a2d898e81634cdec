#include "findreport/frmFund.h"
#include "hilfe/Form3.h"
#include "platform/Eingabelisten.h"
#include "platform/Steuerelemente.h"

#include "Fundortdaten.h"
#include "TestDienste.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QStyleOptionViewItem>
#include <QTest>
#include <QWindow>

using namespace fundortdaten;

namespace {

const QColor gruen(0x00, 0xC0, 0x00);
const QColor rot(0xFF, 0x00, 0x00);

QStringList eintraege(const QComboBox* liste)
{
    QStringList l;
    for (int i = 0; i < liste->count(); ++i)
        l << liste->itemText(i);
    return l;
}

QColor farbe(const QLabel* l) { return l->palette().color(QPalette::WindowText); }

// Picks an entry as a user does: from the drop-down with the mouse, or in a
// pick-only list with the arrow keys.
void waehlen(QComboBox* liste, int index)
{
    if (!liste->isEditable()) {
        liste->setFocus();
        while (liste->currentIndex() != index)
            QTest::keyClick(liste, liste->currentIndex() < index ? Qt::Key_Down : Qt::Key_Up);
        return;
    }
    liste->showPopup();
    QAbstractItemView* ansicht = liste->view();
    QVERIFY(QTest::qWaitFor([ansicht] { return ansicht->isVisible(); }));
    const QRect ort = ansicht->visualRect(ansicht->model()->index(index, 0));
    QTest::mouseClick(ansicht->viewport(), Qt::LeftButton, {}, ort.center());
    QVERIFY(QTest::qWaitFor([ansicht] { return !ansicht->isVisible(); }));
}

// Types text into a control: letters outside ASCII go as key events carrying the text.
void tippen(QWidget* w, const QString& text)
{
    for (const QChar c : text)
        QTest::sendKeyEvent(QTest::Click, w, Qt::Key_unknown, QString(c), Qt::NoModifier);
}

// A stand-in for the main window, with the help window it would own.
// The dialog deletes itself when it closes.
struct Umgebung {
    QWidget hauptfenster;
    QPointer<Form3> hilfe;
    QPointer<frmFund> dialog;

    explicit Umgebung(QDate heute = QDate(2024, 3, 31), const QString& ordner = {})
    {
        hauptfenster.setFont(schmaleSchrift(hauptfenster.font()));
        hauptfenster.setEnabled(false);
        dialog = new frmFund(&hauptfenster, [this] {
            if (!hilfe)
                hilfe = new Form3(&hauptfenster);
            return hilfe.data();
        }, ordner, heute);
        dialog->show();
    }
    ~Umgebung()
    {
        delete hilfe.data();
        delete dialog.data();
    }
    frmFund* operator->() const { return dialog.data(); }
};

template <typename T = QWidget>
T* element(const QWidget& dialog, const char* name)
{
    auto* w = dialog.findChild<T*>(QString::fromUtf8(name));
    if (!w)
        qFatal("no control %s", name);
    return w;
}

void klicken(const QWidget& dialog, const char* knopf) { QTest::mouseClick(element<QPushButton>(dialog, knopf), Qt::LeftButton); }
QString zeile(const QWidget& dialog) { return element<QLabel>(dialog, "lblZusammenstellung")->text(); }

// Every input field's text, so that a comparison shows which one moved.
QString felder(const QWidget& d)
{
    QStringList t;
    for (const char* name : {"Combo1", "Combo2", "Combo8", "Combo9", "Combo6", "Combo10"})
        t << element<EingabeListe>(d, name)->Text();
    t << element<EingabeText>(d, "Text3")->Text() << element<QLineEdit>(d, "Text4")->text();
    return t.join(u'|');
}

QString listen(const QWidget& d)
{
    QStringList t;
    for (const char* name : {"Combo1", "Combo2", "Combo8", "Combo9", "Combo10"})
        t << eintraege(element<QComboBox>(d, name)).join(u',');
    return t.join(u'|');
}

} // namespace

class TestFrmFund : public QObject {
    Q_OBJECT

    TestDienste m_dienste;

private slots:
    void initTestCase() { testUmgebungEinrichten(); }
    void init()
    {
        QDir(FundortDatenbank::standardOrdner()).removeRecursively();
        m_dienste.meldungen.clear();
        m_dienste.zwischenablage.clear();
    }

    void aufbau()
    {
        Umgebung u;
        frmFund& d = *u.dialog;
        QCOMPARE(d.windowTitle(), QStringLiteral("Fundortzusammenstellung"));
        QCOMPARE(d.size(), QSize(742, 529));
        QVERIFY(!(d.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        // Twips divided by 15: left, top, width, height in pixels.
        const struct {
            const char* name;
            QRect ort;
            const char* text;
        } steuerelemente[] = {
            {"Combo7", {40, 32, 681, 21}, nullptr},
            {"cmdHilfe", {248, 80, 17, 17}, "?"},
            {"Combo1", {40, 104, 225, 21}, nullptr},
            {"Combo2", {40, 136, 225, 21}, nullptr},
            {"Combo8", {40, 168, 225, 21}, nullptr},
            {"Combo9", {40, 200, 225, 21}, nullptr},
            {"Text3", {40, 232, 225, 89}, nullptr},
            {"Text4", {40, 328, 225, 25}, nullptr},
            {"Combo5", {40, 360, 73, 21}, nullptr},
            {"Combo3", {120, 360, 89, 21}, nullptr},
            {"Combo4", {216, 360, 49, 21}, nullptr},
            {"Combo6", {40, 392, 225, 21}, nullptr},
            {"Combo10", {40, 424, 225, 21}, nullptr},
            {"lblZusammenstellung", {40, 472, 681, 41}, ""},
            {"Command6", {528, 104, 193, 21}, "alle bisherigen Fundorte anzeigen"},
            {"Command5", {528, 176, 193, 21}, "Neuer Fundort"},
            {"Check1", {536, 200, 153, 25}, "im Moment angezeigte Daten beibehalten"},
            {"Command1", {528, 240, 193, 21}, "Fundort speichern"},
            {"Command7", {528, 272, 193, 21}, "Fundort löschen"},
            {"Command3", {528, 352, 193, 21}, "Schließen"},
            {"Command4", {528, 440, 193, 21}, "Fundort in die Zwischenablage"},
        };
        for (const auto& s : steuerelemente) {
            QWidget* w = d.findChild<QWidget*>(QString::fromUtf8(s.name));
            QVERIFY2(w, s.name);
            QCOMPARE(w->geometry(), s.ort);
            if (s.text)
                QCOMPARE(w->property("text").toString(), QString::fromUtf8(s.text));
        }
        const QStringList beschriftungen = {"Land", "Bundesland, Kanton, Department etc.", "nahegelegene größere Stadt/Region",
                                            "genauerer Fundort", "Fundortbeschreibung",
                                            "Höhenangabe (msm wird automatisch hinzugefügt)", "Datum (t.mmmm yyyy)",
                                            "Art des Fotos", "Autor", "Ansicht der neuen Zusammenstellung",
                                            "Alle bisherigen Fundorte"};
        for (int i = 0; i < beschriftungen.size(); ++i) {
            auto* l = d.findChild<QLabel*>(QStringLiteral("Label1(%1)").arg(i));
            QVERIFY(l);
            QCOMPARE(l->text(), beschriftungen[i]);
            QVERIFY2(l->sizeHint().width() <= l->width(), qPrintable(l->text())); // readable in full
        }
        QCOMPARE(d.findChild<QLabel*>(QStringLiteral("Label1(6)"))->y(), 368);
        QCOMPARE(d.findChild<QLabel*>(QStringLiteral("Label3(0)"))->text(), QStringLiteral("* = Pflichtfelder"));
        for (int i = 0; i <= 8; ++i) {
            auto* stern = d.findChild<QLabel*>(QStringLiteral("Label3(%1)").arg(i));
            QVERIFY(stern);
            QCOMPARE(farbe(stern), rot);
            QVERIFY(stern->font().bold());
        }
        QCOMPARE(element(d, "cmdHilfe")->palette().color(QPalette::Button), QColor(0xFF, 0xFF, 0x00));
        QVERIFY(element(d, "cmdHilfe")->font().bold() && element(d, "lblZusammenstellung")->font().bold());

        // The keyboard order.
        const QStringList reihenfolge = {"Combo1", "Combo2",   "Combo8",   "Combo9",   "Text3",    "Text4",  "Combo5",
                                         "Combo3", "Combo4",   "Combo6",   "Combo10",  "Command1", "Command4", "Command5",
                                         "Command6", "Command7", "Combo7", "Command3", "Check1",   "cmdHilfe"};
        for (int i = 0; i + 1 < reihenfolge.size(); ++i) {
            QWidget* w = d.findChild<QWidget*>(reihenfolge[i]);
            QWidget* naechstes = w->nextInFocusChain();
            while (naechstes->parentWidget() != &d || naechstes->focusPolicy() == Qt::NoFocus)
                naechstes = naechstes->nextInFocusChain();
            QCOMPARE(naechstes->objectName(), reihenfolge[i + 1]);
        }
    }

    // One pass through the workflow by the controls: they show what the session says, and
    // hand it what the user does.
    void ablauf()
    {
        speichern({fund("Deutschland", "Bayern", "Rosenheim", "Innufer", "450", "15. Juni 2010", "Anna"),
                   fund("Deutschland", "Bayern", "Augsburg", "Lech", "490"), fund("Österreich", "Tirol", "Rosenheim", "Moor", "600")});
        Umgebung u;
        frmFund& d = *u.dialog;
        QApplication::setActiveWindow(&d);
        auto* liste = element<QComboBox>(d, "Combo7");
        auto* land = element<EingabeListe>(d, "Combo1");
        QCOMPARE(eintraege(liste), (QStringList{"Deutschland, Bayern, Augsburg, Lech, 490 msm, 15. Juni 2010 (Freilandfoto: N. N.)",
                                                "Deutschland, Bayern, Rosenheim, Innufer, 450 msm, 15. Juni 2010 (Freilandfoto: Anna)",
                                                "Österreich, Tirol, Rosenheim, Moor, 600 msm, 15. Juni 2010 (Freilandfoto: N. N.)"}));
        QCOMPARE(zeile(d), liste->itemText(0));
        QCOMPARE(farbe(element<QLabel>(d, "lblZusammenstellung")), gruen);
        QCOMPARE(felder(d), QStringLiteral("Deutschland|Bayern|Augsburg|Lech|Freilandfoto|N. N.||490"));
        QCOMPARE(element<QComboBox>(d, "Combo5")->currentText() + element<QComboBox>(d, "Combo3")->currentText()
                     + element<QComboBox>(d, "Combo4")->currentText(),
                 QStringLiteral("2010Juni15."));
        for (const char* an : {"Command3", "Command4", "Command5", "Command7", "cmdHilfe"})
            QVERIFY2(element(d, an)->isEnabled(), an);
        for (const char* aus : {"Command1", "Command6"})
            QVERIFY2(!element(d, aus)->isEnabled(), aus);
        QVERIFY(land->Locked() && land->lineEdit()->isReadOnly() && !element<EingabeListe>(d, "Combo8")->Locked());
        QVERIFY(element<SperrListe>(d, "Combo3")->Locked() && element<EingabeText>(d, "Text3")->isReadOnly());

        waehlen(liste, 2);
        QCOMPARE(land->Text(), QStringLiteral("Österreich"));
        klicken(d, "Command4");
        QCOMPARE(m_dienste.zwischenablage, QStringList{liste->itemText(2)});

        // A new location: suggestions, a pick refills below it, typing completes.
        klicken(d, "Command5");
        QVERIFY(land->hasFocus() && !land->Locked());
        QVERIFY(!liste->isEnabled() && !element(d, "Command7")->isEnabled() && element(d, "Command6")->isEnabled());
        QCOMPARE(listen(d), QStringLiteral("Deutschland,Österreich|Bayern|Augsburg,Rosenheim|Lech|Anna,N. N."));
        waehlen(element<QComboBox>(d, "Combo8"), 1);
        QCOMPARE(listen(d), QStringLiteral("Deutschland,Österreich|Bayern|Augsburg,Rosenheim|Innufer,Moor|Anna,N. N."));
        land->lineEdit()->selectAll();
        tippen(land, QStringLiteral("Ö"));
        QCOMPARE(land->Text(), QStringLiteral("Österreich"));
        QCOMPARE(land->lineEdit()->selectedText(), QStringLiteral("sterreich"));
        QCOMPARE(land->lineEdit()->cursorPosition(), 1);
        waehlen(element<QComboBox>(d, "Combo6"), 3);
        waehlen(element<QComboBox>(d, "Combo3"), 3);
        QCOMPARE(farbe(element<QLabel>(d, "lblZusammenstellung")), rot);
        tippen(element(d, "Text4"), QStringLiteral("1200"));
        const QString neu = QStringLiteral("Österreich, Bayern, Rosenheim, Innufer, 1200 msm, 30. April 2010 (Studiofoto: Anna)");
        QCOMPARE(zeile(d), neu);
        QVERIFY(element(d, "Command1")->isEnabled());

        // Saved: the new row selected; then back to the list, and deleting.
        klicken(d, "Command1");
        QCOMPARE(liste->currentText(), neu);
        QVERIFY(!liste->isEnabled() && !element(d, "Command1")->isEnabled() && element(d, "Command7")->isEnabled());
        klicken(d, "Command6");
        QVERIFY(liste->isEnabled() && land->Locked());
        QCOMPARE(liste->currentIndex(), 0);
        klicken(d, "Command7");
        QCOMPARE(liste->count(), 3);
        QCOMPARE(zeile(d), liste->itemText(0));
        QVERIFY(m_dienste.meldungen.isEmpty());
    }

    // Leaving a box after typing is no pick, however it is left: nothing below
    // it is refilled, the line stays, and the row saved is the line shown.
    void verlassenIstKeineWahl_data()
    {
        QTest::addColumn<QString>("feld");
        QTest::addColumn<QString>("weg");
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<QString>("text"); // what the box then shows
        const struct {
            const char* feld;
            const char* gelistet; // listed, not selected
            const char* andereSchreibung;
            const char* ergaenzt;  // typed, then what the box shows
            const char* ergaenztZu;
        } faelle[] = {
            {"Combo1", "Italien", "italien", "Ö", "Österreich"},
            {"Combo2", "Hessen", "hessen", "He", "Hessen"},
            {"Combo8", "München", "münchen", "Mün", "Mün"},
            {"Combo9", "Wertach", "wertach", "Wert", "Wert"},
            {"Combo6", "Studiofoto", "studiofoto", "Stud", "Stud"},
            {"Combo10", "Bernd", "bernd", "Ber", "Ber"},
        };
        for (const auto& f : faelle)
            for (const char* weg : {"Tab", "Klick", "Return", "Liste"}) {
                QTest::addRow("%s %s gelistet", f.feld, weg) << f.feld << weg << f.gelistet << f.gelistet;
                QTest::addRow("%s %s andere Schreibung", f.feld, weg) << f.feld << weg << f.andereSchreibung << f.andereSchreibung;
                QTest::addRow("%s %s ergänzt", f.feld, weg) << f.feld << weg << f.ergaenzt << f.ergaenztZu;
            }
    }
    void verlassenIstKeineWahl()
    {
        QFETCH(QString, feld);
        QFETCH(QString, weg);
        QFETCH(QString, getippt);
        QFETCH(QString, text);
        speichern({fund("Deutschland", "Bayern", "München", "Englischer Garten", "520", "15. Juni 2010", "Anna"),
                   fund("Deutschland", "Bayern", "Augsburg", "Lech", "490", "15. Juni 2010", "Bernd"),
                   fund("Deutschland", "Bayern", "Augsburg", "Wertach"), fund("Deutschland", "Hessen", "Kassel", "Aue"),
                   fund("Italien", "Toscana", "Firenze", "Boboli"), fund("Österreich", "Tirol", "Innsbruck", "Alpenzoo")});
        Umgebung u;
        frmFund& d = *u.dialog;
        QApplication::setActiveWindow(&d);
        QTest::mouseClick(element<QPushButton>(d, "Command5"), Qt::LeftButton);
        auto* box = element<EingabeListe>(d, qPrintable(feld));
        box->setFocus();
        QVERIFY(box->hasFocus());
        box->lineEdit()->selectAll();
        tippen(box, getippt);
        QCOMPARE(box->Text(), text);
        const QString vorherFelder = felder(d), vorherListen = listen(d);
        const QString zeile = element<QLabel>(d, "lblZusammenstellung")->text();
        auto* hoehe = element<QLineEdit>(d, "Text4");
        if (weg == u"Tab") {
            QTest::keyClick(box, Qt::Key_Tab);
        } else if (weg == u"Klick") {
            QTest::mouseClick(hoehe, Qt::LeftButton);
        } else if (weg == u"Return") {
            QTest::keyClick(box, Qt::Key_Return);
        } else { // its own list opened and closed again
            box->showPopup();
            box->hidePopup();
        }
        QVERIFY(!box->hasFocus() || weg == u"Return" || weg == u"Liste");
        QCOMPARE(felder(d), vorherFelder);
        QCOMPARE(listen(d), vorherListen);
        QCOMPARE(element<QLabel>(d, "lblZusammenstellung")->text(), zeile);

        // Complete it with the altitude and save: the row stored is the line shown.
        tippen(hoehe, QStringLiteral("480"));
        const QString gezeigt = element<QLabel>(d, "lblZusammenstellung")->text();
        QVERIFY(gezeigt.contains(text + QStringLiteral(", ")) || gezeigt.contains(QStringLiteral("(") + text + u':')
                || gezeigt.endsWith(QStringLiteral(": ") + text + u')'));
        klicken(d, "Command1");
        QCOMPARE(element<QComboBox>(d, "Combo7")->currentText(), gezeigt);
        const QStringList zeilen = gespeichert();
        QVERIFY2(zeilen.contains(gezeigt), qPrintable(gezeigt));
        QCOMPARE(zeilen.size(), 7);
    }

    // The sequences as they were seen: a click into a box and out again moves nothing.
    void klickHineinUndHinaus()
    {
        speichern({fund("Deutschland", "Bayern", "München", "Englischer Garten"), fund("Italien", "Lazio", "Roma", "Foro"),
                   fund("Italien", "Toscana", "Firenze", "Boboli")});
        Umgebung u;
        frmFund& d = *u.dialog;
        QApplication::setActiveWindow(&d);
        auto* land = element<EingabeListe>(d, "Combo1");
        // Lists filled once, then back to browsing the stored rows; the second row is shown.
        QTest::mouseClick(element<QPushButton>(d, "Command5"), Qt::LeftButton);
        QTest::mouseClick(element<QPushButton>(d, "Command6"), Qt::LeftButton);
        waehlen(element<QComboBox>(d, "Combo7"), 2);
        const QString zeile = element<QLabel>(d, "lblZusammenstellung")->text();
        const QString gezeigt = felder(d);
        QCOMPARE(land->Text(), QStringLiteral("Italien"));
        QCOMPARE(element<EingabeListe>(d, "Combo2")->Text(), QStringLiteral("Toscana"));
        // Browsing: into the read-only country box and out again.
        QTest::mouseClick(land->lineEdit(), Qt::LeftButton);
        QTest::mouseClick(element<QLineEdit>(d, "Text4"), Qt::LeftButton);
        QCOMPARE(felder(d), gezeigt);
        QCOMPARE(element<QLabel>(d, "lblZusammenstellung")->text(), zeile);
        // Keeping the shown data for a new location: one click into the altitude.
        element<QCheckBox>(d, "Check1")->setChecked(true);
        QTest::mouseClick(element<QPushButton>(d, "Command5"), Qt::LeftButton);
        QVERIFY(land->hasFocus());
        QTest::mouseClick(element<QLineEdit>(d, "Text4"), Qt::LeftButton);
        QCOMPARE(felder(d), gezeigt);
        QCOMPARE(element<QLabel>(d, "lblZusammenstellung")->text(), zeile);
    }

    // A damaged file is put aside, said once, over the main window (the dialog not yet shown).
    void beschaedigteDatei()
    {
        QDir().mkpath(FundortDatenbank::standardOrdner());
        QFile f(QDir(FundortDatenbank::standardOrdner()).filePath(QStringLiteral("data.db")));
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write(QByteArray(5000, 'x'));
        f.close();
        Umgebung u;
        QCOMPARE(m_dienste.meldungen.size(), 1);
        QVERIFY(m_dienste.meldungen[0].text.startsWith(QStringLiteral("Die Fundortdatei „")));
        QVERIFY(m_dienste.meldungen[0].text.contains(QStringLiteral("„data.db.defekt“")));
        QCOMPARE(m_dienste.meldungen[0].symbol, Dienste::Symbol::Info);
        QCOMPARE(m_dienste.meldungen[0].besitzer, &u.hauptfenster);
        QVERIFY(element(*u.dialog, "Command5")->isEnabled());
    }

    // Long texts: a box shows their beginning; the line keeps its three lines, with the whole
    // line as its tooltip when it is cut; the list of stored rows shows each row on one line,
    // no wider than the screen.
    void langeTexte()
    {
        const QString ort = QStringLiteral("Freiburg im Breisgau und Umgebung (Schwarzwald-Südwest)");
        const QString beschreibung = QStringLiteral("Kiesbank\r\nam linken Ufer, unterhalb der Brücke, ") + QString(200, u'x');
        speichern({fund("Deutschland", "Baden-Württemberg", ort, ort, "1284", "15. Juni 2010", "N. N.", beschreibung),
                   fund("Deutschland", "Bayern", "München", "Isarauen")});
        Umgebung u;
        frmFund& d = *u.dialog;
        auto* stadt = element<EingabeListe>(d, "Combo8");
        QCOMPARE(stadt->Text(), ort);
        QCOMPARE(stadt->lineEdit()->cursorPosition(), 0);
        auto* zeile = element<QLabel>(d, "lblZusammenstellung");
        QCOMPARE(zeile->geometry(), QRect(40, 472, 681, 41));
        QCOMPARE(zeile->toolTip(), zeile->text());
        waehlen(element<QComboBox>(d, "Combo7"), 1);
        QCOMPARE(zeile->toolTip(), QString());

        auto* liste = element<QComboBox>(d, "Combo7");
        QAbstractItemView* ansicht = liste->view();
        QStyleOptionViewItem option;
        option.initFrom(ansicht);
        const auto hoehe = [&](int i) { return ansicht->itemDelegate()->sizeHint(option, ansicht->model()->index(i, 0)).height(); };
        QCOMPARE(hoehe(0), hoehe(1));
        liste->showPopup();
        QVERIFY(QTest::qWaitFor([ansicht] { return ansicht->isVisible(); }));
        const QRect schirm = liste->screen()->availableGeometry();
        const QRect offen = ansicht->window()->geometry();
        QVERIFY2(schirm.contains(offen), qPrintable(QStringLiteral("%1,%2 %3x%4").arg(offen.x()).arg(offen.y()).arg(offen.width()).arg(offen.height())));
        QVERIFY(offen.width() >= liste->width());
        liste->hidePopup();
    }

    // However the dialog is closed, a new location not stored is asked about; "Speichern" stores
    // it as "Fundort speichern" does, with the photo's day that "Aufnahmedatum" set.
    void schliessen_data()
    {
        QTest::addColumn<QString>("weg");
        QTest::addColumn<int>("antwort");
        for (const char* weg : {"Schließen", "Fensterrahmen", "Escape"})
            QTest::addRow("%s, Speichern", weg) << weg << 0;
        QTest::newRow("Escape, Abbrechen") << "Escape" << 2;
    }
    void schliessen()
    {
        QFETCH(QString, weg);
        QFETCH(int, antwort);
        speichern({fund("Deutschland", "Bayern", "München", "Isarauen")});
        m_dienste.fragen.clear();
        m_dienste.frageAntworten = {antwort};
        Umgebung u;
        QPointer<frmFund> d = u.dialog;
        QApplication::setActiveWindow(d);
        d->fotoSetzen(true, QDate(2026, 6, 14));
        klicken(*d, "Command5");
        tippen(element(*d, "Text4"), QStringLiteral("480"));
        klicken(*d, "cmdAufnahmedatum");
        const QString neu = QStringLiteral("Deutschland, Bayern, München, Isarauen, 480 msm, 14. Juni 2026 (Freilandfoto: N. N.)");
        QCOMPARE(zeile(*d), neu);
        if (weg == u"Schließen")
            klicken(*d, "Command3");
        else if (weg == u"Fensterrahmen")
            d->windowHandle()->close();
        else
            QTest::keyClick(element(*d, "Combo1"), Qt::Key_Escape);
        QCOMPARE(m_dienste.fragen.size(), 1);
        QCOMPARE(m_dienste.fragen[0].antworten, (QStringList{"Speichern", "Verwerfen", "Abbrechen"}));
        const bool zu = antwort == 0;
        QVERIFY(QTest::qWaitFor([&d, zu] { return d.isNull() == zu; }));
        QCOMPARE(u.hauptfenster.isEnabled(), zu);
        QCOMPARE(gespeichert().contains(neu), zu);
    }

    void hilfeUndSchliessen()
    {
        Umgebung u;
        QPointer<frmFund> d = u.dialog;
        QVERIFY(d->isEnabled());

        klicken(*d, "cmdHilfe");
        QVERIFY(u.hilfe && u.hilfe->isVisible());
        QCOMPARE(u.hilfe->findChild<QLabel*>(QStringLiteral("Label1"))->text(), QStringLiteral("Fundorteingabe"));
        QCOMPARE(u.hilfe->findChild<QLabel*>(QStringLiteral("Label2"))->text(), frmFund::hilfetext());
        QVERIFY(frmFund::hilfetext().contains(QStringLiteral("nür geringfügig verändern möchten (z.B. das Datum)")));
        QCOMPARE(frmFund::hilfetext().size(), 770);
        QVERIFY(!d->isEnabled());
        QTest::mouseClick(u.hilfe->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        QVERIFY(d->isEnabled());
        // The help window gives the main window back whenever it closes.
        QVERIFY(u.hauptfenster.isEnabled());

        // "Schließen" gives the main window back, shown.
        u.hauptfenster.setEnabled(false);
        klicken(*d, "Command3");
        QVERIFY(QTest::qWaitFor([&d] { return d.isNull(); }));
        QVERIFY(u.hauptfenster.isEnabled() && u.hauptfenster.isVisible());

        // The close box does the same.
        Umgebung zweite;
        d = zweite.dialog;
        d->close();
        QVERIFY(zweite.hauptfenster.isEnabled());
    }

    // No photo, no date to take; the button's caption whole, clear of the date's caption and
    // of the buttons' column. Once the main window closes, the program ends without a question.
    void programmendeOhneFrage()
    {
        Umgebung u;
        QPointer<frmFund> d = u.dialog;
        d->fotoSetzen(false, QDate());
        const auto* knopf = element<QPushButton>(*d, "cmdAufnahmedatum");
        const auto* datum = element<QLabel>(*d, "Label1(6)");
        QVERIFY(knopf->sizeHint().width() <= knopf->width() && knopf->x() > datum->x() + datum->sizeHint().width());
        QCOMPARE(QPoint(knopf->geometry().right(), knopf->y()), QPoint(519, 360));
        QCOMPARE(knopf->toolTip(), QStringLiteral("Im Hauptfenster ist kein Foto geladen, dessen Aufnahmedatum sich übernehmen ließe."));
        klicken(*d, "Command5");
        tippen(element(*d, "Text4"), QStringLiteral("480"));
        m_dienste.fragen.clear();
        u.hauptfenster.show();
        QVERIFY(u.hauptfenster.close());
        QVERIFY(d->close());
        QTRY_VERIFY(!d);
        QVERIFY(m_dienste.fragen.isEmpty());
    }
};

QTEST_MAIN(TestFrmFund)
#include "test_frmfund.moc"
