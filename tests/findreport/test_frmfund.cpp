#include "app/Form1.h"
#include "findreport/Fundbericht.h"
#include "findreport/FundortDatenbank.h"
#include "findreport/frmFund.h"
#include "output/Form3.h"
#include "platform/Eingabelisten.h"

#include "Datenbankhilfe.h"
#include "Einstellungsdatei.h"
#include "TestDienste.h"

#include <QAbstractItemView>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QSqlDatabase>
#include <QScreen>
#include <QSqlQuery>
#include <QStyleOptionViewItem>
#include <QTemporaryDir>
#include <QTest>

namespace {

const QColor gruen(0x00, 0xC0, 0x00);
const QColor rot(0xFF, 0x00, 0x00);

FindRecord fund(const QString& land, const QString& bundesland, const QString& stadt, const QString& fundort,
                const QString& hoehe = QStringLiteral("520"), const QString& datum = QStringLiteral("15. Juni 2010"),
                const QString& autor = QStringLiteral("N. N."), const QString& beschreibung = QString(""))
{
    return {land, bundesland, stadt, fundort, beschreibung, hoehe, datum, QStringLiteral("Freilandfoto"), autor};
}

// The stored locations the dialog will find, written before it opens.
void speichern(const QList<FindRecord>& zeilen)
{
    FundortDatenbank db(QStringLiteral("vorbereitung"));
    QVERIFY(db.oeffnen());
    for (const FindRecord& z : zeilen)
        QVERIFY(db.hinzufuegen(z));
}

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

frmFund* offenerDialog()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* d = qobject_cast<frmFund*>(w); d && d->isVisible())
            return d;
    return nullptr;
}

} // namespace

Q_DECLARE_METATYPE(FindRecord)

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
        QCOMPARE(d.cmdHilfe->palette().color(QPalette::Button), QColor(0xFF, 0xFF, 0x00));
        QVERIFY(d.cmdHilfe->font().bold() && d.lblZusammenstellung->font().bold());

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

    void oeffnenLeer()
    {
        Umgebung u(QDate(2024, 3, 31));
        frmFund& d = *u.dialog;
        QVERIFY(!d.neuerFundort);
        QCOMPARE(d.Combo7->count(), 0);
        QVERIFY(d.Combo7->isEnabled());
        for (EingabeListe* l : {d.Combo1, d.Combo2, d.Combo8, d.Combo9, d.Combo10})
            QCOMPARE(l->Text(), QString());
        QCOMPARE(d.Text3->Text(), QString());
        QCOMPARE(d.Text4->text(), QString());
        QCOMPARE(d.Combo6->Text(), QStringLiteral("Foto"));
        QCOMPARE(eintraege(d.Combo6), (QStringList{"Foto", "Freilandfoto", "manipuliertes Freilandfoto", "Studiofoto"}));
        QCOMPARE(d.Combo5->currentText(), QStringLiteral("2024"));
        QCOMPARE(d.Combo5->count(), 25);
        QCOMPARE(d.Combo5->itemText(0), QStringLiteral("2000"));
        QCOMPARE(d.Combo3->currentText(), QStringLiteral("März"));
        QCOMPARE(d.Combo4->currentText(), QStringLiteral("31."));
        QCOMPARE(d.Combo4->count(), 31);
        QCOMPARE(d.lblZusammenstellung->text(), QString());
        const QList<QWidget*> an = {d.Command5, d.Command3, d.cmdHilfe};
        const QList<QWidget*> aus = {d.Command1, d.Command4, d.Command6, d.Command7};
        for (QWidget* w : an)
            QVERIFY2(w->isEnabled(), qPrintable(w->objectName()));
        for (QWidget* w : aus)
            QVERIFY2(!w->isEnabled(), qPrintable(w->objectName()));
        QVERIFY(!d.Check1->isChecked());
        // Read-only at opening, except town, site and author.
        for (EingabeListe* l : {d.Combo1, d.Combo2, d.Combo6})
            QVERIFY(l->Locked() && l->lineEdit()->isReadOnly());
        for (EingabeListe* l : {d.Combo8, d.Combo9, d.Combo10})
            QVERIFY(!l->Locked());
        for (SperrListe* l : {d.Combo3, d.Combo4, d.Combo5})
            QVERIFY(l->Locked());
        QVERIFY(d.Text3->isReadOnly() && d.Text4->isReadOnly());
        // A locked list offers nothing to pick.
        QTest::keyClick(d.Combo3, Qt::Key_Down);
        QCOMPARE(d.Combo3->currentText(), QStringLiteral("März"));
        QVERIFY(m_dienste.meldungen.isEmpty());
    }

    void oeffnenMitZeilen()
    {
        speichern({fund("Schweiz", "Bern", "Thun", "Seeufer"), fund("deutschland", "Bayern", "München", "Isarauen"),
                   fund("Deutschland", "Baden-Württemberg", "Freiburg", "Schauinsland", "1284", "3. Mai 2021")});
        Umgebung u;
        frmFund& d = *u.dialog;
        QCOMPARE(eintraege(d.Combo7),
                 (QStringList{"Deutschland, Baden-Württemberg, Freiburg, Schauinsland, 1284 msm, 3. Mai 2021 (Freilandfoto: N. N.)",
                              "deutschland, Bayern, München, Isarauen, 520 msm, 15. Juni 2010 (Freilandfoto: N. N.)",
                              "Schweiz, Bern, Thun, Seeufer, 520 msm, 15. Juni 2010 (Freilandfoto: N. N.)"}));
        QCOMPARE(d.Combo7->currentIndex(), 0);
        QCOMPARE(d.lblZusammenstellung->text(), d.Combo7->itemText(0));
        QCOMPARE(farbe(d.lblZusammenstellung), gruen);
        QCOMPARE(d.Combo2->Text(), QStringLiteral("Baden-Württemberg"));
        QCOMPARE(d.Combo5->currentText() + d.Combo3->currentText() + d.Combo4->currentText(), QStringLiteral("2021Mai3."));
        QVERIFY(d.Command4->isEnabled() && d.Command7->isEnabled());
        QVERIFY(!d.Command1->isEnabled() && !d.Command6->isEnabled());

        // Picking another stored row shows it.
        waehlen(d.Combo7, 2);
        QCOMPARE(d.Combo1->Text(), QStringLiteral("Schweiz"));
        QCOMPARE(d.lblZusammenstellung->text(), d.Combo7->itemText(2));

        // Copying puts exactly the shown line on the clipboard.
        QTest::mouseClick(d.Command4, Qt::LeftButton);
        QCOMPARE(m_dienste.zwischenablage, QStringList{d.Combo7->itemText(2)});
    }

    void neuerFundortMitVorschlaegen()
    {
        speichern({fund("Deutschland", "Bayern", "Rosenheim", "Innufer", "450", "15. Juni 2010", "Anna"),
                   fund("Deutschland", "Bayern", "Rosenheim", "Auwald", "455", "15. Juni 2010", "Bernd"),
                   fund("Deutschland", "Bayern", "Augsburg", "Lech", "490"),
                   fund("Deutschland", "Hessen", "Kassel", "Aue", "160"),
                   fund("Österreich", "Tirol", "Rosenheim", "Moor", "600")});
        Umgebung u;
        frmFund& d = *u.dialog;
        d.Text3->setzeText(QStringLiteral("alt"));
        QTest::mouseClick(d.Command5, Qt::LeftButton);
        QVERIFY(d.neuerFundort);
        QVERIFY(!d.Combo7->isEnabled() && !d.Command7->isEnabled() && d.Command6->isEnabled());
        QVERIFY(!d.Combo1->Locked() && !d.Combo3->Locked() && !d.Text4->isReadOnly());
        // The first country, its first state, that state's first town and that town's first site.
        QCOMPARE(eintraege(d.Combo1), (QStringList{"Deutschland", "Österreich"}));
        QCOMPARE(eintraege(d.Combo2), (QStringList{"Bayern", "Hessen"}));
        QCOMPARE(eintraege(d.Combo8), (QStringList{"Augsburg", "Rosenheim"}));
        QCOMPARE(eintraege(d.Combo9), QStringList{"Lech"});
        QCOMPARE(eintraege(d.Combo10), (QStringList{"Anna", "Bernd", "N. N."}));
        QCOMPARE(d.Combo1->Text() + '|' + d.Combo2->Text() + '|' + d.Combo8->Text() + '|' + d.Combo9->Text() + '|'
                     + d.Combo10->Text(),
                 QStringLiteral("Deutschland|Bayern|Augsburg|Lech|Anna"));
        QCOMPARE(d.Text3->Text(), QString());
        QCOMPARE(d.Text4->text(), QString());
        QCOMPARE(d.lblZusammenstellung->text(),
                 QStringLiteral("Deutschland, Bayern, Augsburg, Lech,  msm, 15. Juni 2010 (Freilandfoto: Anna)"));
        QCOMPARE(farbe(d.lblZusammenstellung), rot);
        QVERIFY(!d.Command1->isEnabled() && !d.Command4->isEnabled());

        // A pick refills the lists below it; the same town in another state shares its sites.
        waehlen(d.Combo8, 1);
        QCOMPARE(eintraege(d.Combo9), (QStringList{"Auwald", "Innufer", "Moor"}));
        waehlen(d.Combo1, 1);
        QCOMPARE(d.Combo2->Text() + '|' + d.Combo8->Text() + '|' + d.Combo9->Text(), QStringLiteral("Tirol|Rosenheim|Auwald"));
        // Typing instead of picking leaves the next list as it was.
        d.Combo2->lineEdit()->selectAll();
        QTest::keyClicks(d.Combo2, QStringLiteral("Vorarlberg"));
        QCOMPARE(d.Combo2->Text(), QStringLiteral("Vorarlberg"));
        QCOMPARE(eintraege(d.Combo8), QStringList{"Rosenheim"});
        QVERIFY(d.lblZusammenstellung->text().startsWith(QStringLiteral("Österreich, Vorarlberg, Rosenheim, Auwald, ")));

        // A pick of the kind of photo changes the line at once; the altitude completes it.
        waehlen(d.Combo6, 3);
        QVERIFY(d.lblZusammenstellung->text().endsWith(QStringLiteral("(Studiofoto: Anna)")));
        QTest::keyClicks(d.Text4, QStringLiteral("1200"));
        QCOMPARE(farbe(d.lblZusammenstellung), gruen);
        QVERIFY(d.Command1->isEnabled() && d.Command4->isEnabled());

        const QString zeile = d.lblZusammenstellung->text();
        QCOMPARE(zeile, QStringLiteral("Österreich, Vorarlberg, Rosenheim, Auwald, 1200 msm, 15. Juni 2010 (Studiofoto: Anna)"));
        QTest::mouseClick(d.Command1, Qt::LeftButton);
        QVERIFY(!d.neuerFundort);
        QCOMPARE(d.Combo7->count(), 6);
        QCOMPARE(d.Combo7->currentText(), zeile);
        QCOMPARE(d.Combo7->currentIndex(), 5);
        QCOMPARE(d.lblZusammenstellung->text(), zeile);
        QVERIFY(!d.Combo7->isEnabled() && !d.Command1->isEnabled());
        QVERIFY(d.Command4->isEnabled() && d.Command6->isEnabled() && d.Command7->isEnabled());
        // Changes now have no effect on the line.
        QTest::keyClicks(d.Text4, QStringLiteral("0"));
        QCOMPARE(d.lblZusammenstellung->text(), zeile);

        // Back to the stored list: the first entry, read-only fields.
        QTest::mouseClick(d.Command6, Qt::LeftButton);
        QVERIFY(d.Combo7->isEnabled());
        QCOMPARE(d.Combo7->currentIndex(), 0);
        QCOMPARE(d.Text4->text(), QStringLiteral("490"));
        QVERIFY(d.Combo1->Locked() && d.Combo8->Locked() && d.Text3->isReadOnly() && d.Combo4->Locked());
        QVERIFY(d.Command7->isEnabled());
    }

    void neuerFundortBehaeltDaten()
    {
        speichern({fund("Deutschland", "Bayern", "München", "Isarauen", "520", "15. Juni 2010", "N. N.", "Kiesbank\r\nlinks")});
        Umgebung u;
        frmFund& d = *u.dialog;
        const QString vorher = d.lblZusammenstellung->text();
        d.Check1->setChecked(true);
        QTest::mouseClick(d.Command5, Qt::LeftButton);
        QCOMPARE(d.Text3->Text(), QStringLiteral("Kiesbank\r\nlinks"));
        QCOMPARE(d.Combo9->Text(), QStringLiteral("Isarauen"));
        QCOMPARE(d.Combo1->count(), 0);
        QCOMPARE(d.lblZusammenstellung->text(), vorher);
        QVERIFY(!d.Command1->isEnabled());
        // Changing only the date is enough to save it as a new location.
        d.Combo4->setFocus();
        QTest::keyClick(d.Combo4, Qt::Key_Down);
        QCOMPARE(d.lblZusammenstellung->text(),
                 QStringLiteral("Deutschland, Bayern, München, Isarauen, Kiesbank\r\nlinks, 520 msm, 16. Juni 2010 (Freilandfoto: N. N.)"));
        QVERIFY(d.Command1->isEnabled());
        QTest::mouseClick(d.Command1, Qt::LeftButton);
        QCOMPARE(d.Combo7->count(), 2);
        QCOMPARE(d.Combo7->currentIndex(), 1);
        QCOMPARE(d.Combo7->currentText(), d.lblZusammenstellung->text());
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
            for (const char* weg : {"Tab", "Klick", "Return"}) {
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
        if (weg == u"Tab")
            QTest::keyClick(box, Qt::Key_Tab);
        else if (weg == u"Klick")
            QTest::mouseClick(hoehe, Qt::LeftButton);
        else
            QTest::keyClick(box, Qt::Key_Return);
        QVERIFY(!box->hasFocus() || weg == u"Return");
        QCOMPARE(felder(d), vorherFelder);
        QCOMPARE(listen(d), vorherListen);
        QCOMPARE(element<QLabel>(d, "lblZusammenstellung")->text(), zeile);

        // Complete it with the altitude and save: the row stored is the line shown.
        tippen(hoehe, QStringLiteral("480"));
        const QString gezeigt = element<QLabel>(d, "lblZusammenstellung")->text();
        QVERIFY(gezeigt.contains(text + QStringLiteral(", ")) || gezeigt.contains(QStringLiteral("(") + text + u':')
                || gezeigt.endsWith(QStringLiteral(": ") + text + u')'));
        QTest::mouseClick(element<QPushButton>(d, "Command1"), Qt::LeftButton);
        QCOMPARE(element<QComboBox>(d, "Combo7")->currentText(), gezeigt);
        FundortDatenbank db(QStringLiteral("pruefung"));
        QVERIFY(db.oeffnen() && db.allesLaden());
        QStringList gespeichert;
        for (int i = 0; i < db.anzahl(); ++i)
            gespeichert << fundbericht::gespeicherteZeile(db.zeile(i));
        QVERIFY2(gespeichert.contains(gezeigt), qPrintable(gezeigt));
        QCOMPARE(gespeichert.size(), 7);
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

    // A store that cannot be opened: said once, with its true reason; the dialog composes and
    // copies, saving says why it cannot, and no button ends the program.
    void speicherNichtZuOeffnen_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<QString>("grund");
        QTest::newRow("gesperrt") << "gesperrt" << "Die Datei wird gerade von einem anderen Programm benutzt.";
        QTest::newRow("keine Leserechte") << "000" << "Es fehlt die Berechtigung, die Datei zu lesen.";
        QTest::newRow("Ordner statt Datei") << "ordner" << "An ihrer Stelle liegt ein Ordner.";
        QTest::newRow("Ordner schreibgeschützt") << "ordner555" << "Der Ordner „%1“ ist nicht beschreibbar.";
    }
    void speicherNichtZuOeffnen()
    {
        QFETCH(QString, fall);
        QFETCH(QString, grund);
        QTemporaryDir tmp;
        datenbankhilfe::offenFuerAlle(tmp.path());
        const QString ordner = tmp.filePath(QStringLiteral("daten"));
        const QString pfad = QDir(ordner).filePath(QStringLiteral("data.db"));
        QVERIFY(QDir().mkpath(ordner));
        datenbankhilfe::offenFuerAlle(ordner);
        grund = grund.arg(QDir::toNativeSeparators(ordner));
        if (fall == u"ordner") {
            QVERIFY(QDir().mkdir(pfad));
        } else if (fall == u"ordner555") {
            QVERIFY(QFile::setPermissions(ordner, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
        } else {
            QVERIFY(datenbankhilfe::roh(pfad, {QStringLiteral("CREATE TABLE data (land TEXT)")}));
            QVERIFY(QFile::setPermissions(pfad, fall == u"000" ? QFile::Permissions() : QFile::Permissions(0x6666)));
        }
        datenbankhilfe::Sperre sperre(fall == u"gesperrt" ? pfad : QString());
        datenbankhilfe::AlsGast gast;
        if (!gast.wirksam())
            QSKIP("file permissions cannot be tried as this user");

        Umgebung u(QDate(2024, 3, 31), ordner);
        frmFund& d = *u.dialog;
        QCOMPARE(m_dienste.meldungen.size(), 1);
        QCOMPARE(m_dienste.meldungen[0].text,
                 QStringLiteral("Die Fundortdatei „%1“ kann nicht geöffnet werden.\r\n\r\n%2\r\n\r\nFundorte lassen sich "
                                "zusammenstellen und kopieren, aber nicht speichern.")
                     .arg(QDir::toNativeSeparators(pfad), grund));
        QCOMPARE(m_dienste.meldungen[0].besitzer, &u.hauptfenster); // over the main window, the dialog not yet shown
        QCOMPARE(element<QComboBox>(d, "Combo7")->count(), 0);
        for (const char* aus : {"Command1", "Command4", "Command6", "Command7"})
            QVERIFY2(!element(d, aus)->isEnabled(), aus);

        // Composing and copying as ever, without suggestions and without another message.
        QTest::mouseClick(element<QPushButton>(d, "Command5"), Qt::LeftButton);
        tippen(element(d, "Combo1"), QStringLiteral("Ö"));
        tippen(element(d, "Combo2"), QStringLiteral("T"));
        tippen(element(d, "Combo8"), QStringLiteral("Innsbruck"));
        tippen(element(d, "Combo9"), QStringLiteral("Alpenzoo"));
        tippen(element(d, "Text4"), QStringLiteral("750"));
        tippen(element(d, "Combo10"), QStringLiteral("Maria"));
        const QString zeile = QStringLiteral("Österreich, Tirol, Innsbruck, Alpenzoo, 750 msm, 31. März 2024 (Foto: Maria)");
        QCOMPARE(element<QLabel>(d, "lblZusammenstellung")->text(), zeile);
        QTest::mouseClick(element<QPushButton>(d, "Command4"), Qt::LeftButton);
        QCOMPARE(m_dienste.zwischenablage, QStringList{zeile});
        QCOMPARE(m_dienste.meldungen.size(), 1);

        // Saving says why it cannot; the input stays.
        QTest::mouseClick(element<QPushButton>(d, "Command1"), Qt::LeftButton);
        QCOMPARE(m_dienste.meldungen.size(), 2);
        QVERIFY2(m_dienste.meldungen[1].text.startsWith(
                     QStringLiteral("Der Fundort konnte nicht gespeichert werden.\r\n\r\n%1\r\n").arg(grund)),
                 qPrintable(m_dienste.meldungen[1].text));
        QCOMPARE(element<QLabel>(d, "lblZusammenstellung")->text(), zeile);
        QVERIFY(element(d, "Command1")->isEnabled());
        QTest::mouseClick(element<QPushButton>(d, "Command6"), Qt::LeftButton);
        QTest::mouseClick(element<QPushButton>(d, "Command7"), Qt::LeftButton);
        QTest::mouseClick(element<QPushButton>(d, "cmdHilfe"), Qt::LeftButton);
        QVERIFY(u.hilfe && u.hilfe->isVisible());
        u.hilfe->close();
        QCOMPARE(element<QLabel>(d, "lblZusammenstellung")->text(), zeile);
        QCOMPARE(m_dienste.meldungen.size(), 2);

        // Free again (the other program let go): the next try stores it.
        if (fall == u"gesperrt") {
            sperre.freigeben();
            QTest::mouseClick(element<QPushButton>(d, "Command1"), Qt::LeftButton);
            QCOMPARE(m_dienste.meldungen.size(), 2);
            QCOMPARE(element<QComboBox>(d, "Combo7")->currentText(), zeile);
        }
        QPointer<frmFund> weg = u.dialog;
        QTest::mouseClick(element<QPushButton>(d, "Command3"), Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&weg] { return weg.isNull(); }));
        QVERIFY(u.hauptfenster.isEnabled());
    }

    // A damaged file is put aside, said once, over the main window.
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
        const QString beschreibung = QStringLiteral("Kiesbank\r\nam linken Ufer, unterhalb der Brücke, ") + QString(20, u'x');
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

    // Escape closes like "Schließen", unless a new location would be lost: then it asks.
    void escape_data()
    {
        QTest::addColumn<bool>("neu");
        QTest::addColumn<QString>("getippt");
        QTest::addColumn<int>("antwort"); // -1: no question
        QTest::addColumn<bool>("zu");
        QTest::newRow("Blättern") << false << "" << -1 << true;
        QTest::newRow("Neuer Fundort, nichts eingegeben") << true << "" << -1 << true;
        QTest::newRow("Eingabe, Nein") << true << "480" << 1 << false;
        QTest::newRow("Eingabe, Ja") << true << "480" << 0 << true;
    }
    void escape()
    {
        QFETCH(bool, neu);
        QFETCH(QString, getippt);
        QFETCH(int, antwort);
        QFETCH(bool, zu);
        speichern({fund("Deutschland", "Bayern", "München", "Isarauen")});
        m_dienste.fragen.clear();
        m_dienste.frageAntworten = {antwort};
        Umgebung u;
        QPointer<frmFund> d = u.dialog;
        QApplication::setActiveWindow(d);
        if (neu)
            QTest::mouseClick(element<QPushButton>(*d, "Command5"), Qt::LeftButton);
        tippen(element(*d, "Text4"), getippt);
        QWidget* fokus = element(*d, "Combo1");
        fokus->setFocus();
        QTest::keyClick(fokus, Qt::Key_Escape);
        QCOMPARE(m_dienste.fragen.size(), antwort < 0 ? 0 : 1);
        if (antwort >= 0) {
            QCOMPARE(m_dienste.fragen[0].antworten, (QStringList{QStringLiteral("Ja"), QStringLiteral("Nein")}));
            QCOMPARE(m_dienste.fragen[0].standard, 1);
            QVERIFY(m_dienste.fragen[0].text.startsWith(QStringLiteral("Der neue Fundort ist noch nicht gespeichert.")));
        }
        QVERIFY(QTest::qWaitFor([&d, zu] { return d.isNull() == zu; }));
        QCOMPARE(u.hauptfenster.isEnabled(), zu);
        if (!zu)
            QCOMPARE(element<QLineEdit>(*d, "Text4")->text(), getippt);
    }

    void leereTabelle()
    {
        Umgebung u(QDate(2024, 3, 31));
        frmFund& d = *u.dialog;
        QTest::mouseClick(d.Command5, Qt::LeftButton);
        for (QComboBox* l : {(QComboBox*)d.Combo1, (QComboBox*)d.Combo2, (QComboBox*)d.Combo8, (QComboBox*)d.Combo10})
            QCOMPARE(l->count(), 0);
        QCOMPARE(d.lblZusammenstellung->text(), QStringLiteral(", , , ,  msm, 31. März 2024 (Foto: )"));
        QCOMPARE(farbe(d.lblZusammenstellung), rot);
        // "alle bisherigen Fundorte anzeigen" with nothing stored changes nothing.
        QTest::mouseClick(d.Command6, Qt::LeftButton);
        QVERIFY(d.neuerFundort);

        tippen(d.Combo1, QStringLiteral("Ö"));
        tippen(d.Combo2, QStringLiteral("T"));
        tippen(d.Combo8, QStringLiteral("Innsbruck"));
        tippen(d.Combo9, QStringLiteral("Alpenzoo"));
        tippen(d.Text4, QStringLiteral("750"));
        tippen(d.Combo10, QStringLiteral("Maria"));
        const QString zeile = QStringLiteral("Österreich, Tirol, Innsbruck, Alpenzoo, 750 msm, 31. März 2024 (Foto: Maria)");
        QCOMPARE(d.lblZusammenstellung->text(), zeile);
        QTest::mouseClick(d.Command1, Qt::LeftButton);
        QCOMPARE(eintraege(d.Combo7), QStringList{zeile});
        QCOMPARE(d.Combo7->currentIndex(), 0);

        // The only row deleted: an empty list and no deleting.
        QTest::mouseClick(d.Command6, Qt::LeftButton);
        QTest::mouseClick(d.Command7, Qt::LeftButton);
        QCOMPARE(d.Combo7->count(), 0);
        QVERIFY(!d.Command7->isEnabled());
        QVERIFY(m_dienste.meldungen.isEmpty());
        FundortDatenbank db(QStringLiteral("pruefung"));
        QVERIFY(db.oeffnen() && db.allesLaden());
        QCOMPARE(db.anzahl(), 0);
    }

    void gleicheZeilenWaehlenDieErste()
    {
        const FindRecord a = fund("Deutschland", "Bayern", "München", "Isarauen");
        speichern({a, fund("Deutschland", "Bayern", "München", "Zoo")});
        Umgebung u(QDate(2024, 3, 15));
        frmFund& d = *u.dialog;
        d.Check1->setChecked(true);
        QTest::mouseClick(d.Command5, Qt::LeftButton);
        d.Combo3->setzeListIndex(6); // July, rebuilding the days
        d.Combo3->setzeListIndex(5); // June again: an identical line
        QVERIFY(d.Command1->isEnabled());
        QTest::mouseClick(d.Command1, Qt::LeftButton);
        QCOMPARE(d.Combo7->count(), 3);
        QCOMPARE(d.Combo7->itemText(0), d.Combo7->itemText(1));
        QCOMPARE(d.Combo7->currentIndex(), 0);
        QCOMPARE(d.Data1->aktuellePosition(), 0);
    }

    void loeschenBeimEingeben()
    {
        speichern({fund("A", "B", "C", "D")});
        Umgebung u;
        frmFund& d = *u.dialog;
        QTest::mouseClick(d.Command5, Qt::LeftButton);
        d.Command7->setEnabled(true); // the rule guards also what the disabled button cannot do
        QTest::mouseClick(d.Command7, Qt::LeftButton);
        QCOMPARE(m_dienste.meldungen.size(), 1);
        QCOMPARE(m_dienste.meldungen[0].text,
                 QStringLiteral("Fundort kann nicht gelöscht werden!\r\nKlicken Sie zuerst auf ALLE BISHERIGEN FUNDORTE."));
        QCOMPARE(m_dienste.meldungen[0].titel, QStringLiteral("Löschen"));
        QCOMPARE(m_dienste.meldungen[0].symbol, Dienste::Symbol::Fehler);
        QCOMPARE(d.Combo7->count(), 1);
    }

    void vervollstaendigung_data()
    {
        QTest::addColumn<QString>("land");  // set into the country field first ("" leaves it)
        QTest::addColumn<QString>("feld");  // "Combo1" or "Combo2"
        QTest::addColumn<QString>("tasten"); // typed; "\b" is backspace, ">" the End key
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("markiert");
        QTest::newRow("D") << "" << "Combo1" << "D" << "Deutschland" << "eutschland";
        QTest::newRow("d klein") << "" << "Combo1" << "d" << "d" << "";
        QTest::newRow("Ö") << "" << "Combo1" << "Ö" << "Österreich" << "sterreich";
        QTest::newRow("Spanien weitergetippt") << "" << "Combo1" << "Spanien" << "Spanien" << "";
        QTest::newRow("B nichts") << "Deutschland" << "Combo2" << "B" << "B" << "";
        QTest::newRow("Ba nichts") << "Deutschland" << "Combo2" << "Ba" << "Ba" << "";
        QTest::newRow("Bay") << "Deutschland" << "Combo2" << "Bay" << "Bayern" << "ern";
        QTest::newRow("Be") << "Deutschland" << "Combo2" << "Be" << "Berlin" << "rlin";
        QTest::newRow("bay klein") << "Deutschland" << "Combo2" << "bay" << "bay" << "";
        QTest::newRow("Bade nichts") << "Deutschland" << "Combo2" << "Bade" << "Bade" << "";
        QTest::newRow("T Österreich") << "Österreich" << "Combo2" << "T" << "Tirol" << "irol";
        QTest::newRow("T Deutschland") << "Deutschland" << "Combo2" << "T" << "Thüringen" << "hüringen";
        QTest::newRow("T Schweiz") << "Schweiz" << "Combo2" << "T" << "T" << "";
        QTest::newRow("Th Schweiz") << "Schweiz" << "Combo2" << "Th" << "Thurgau" << "urgau";
        QTest::newRow("St Schweiz") << "Schweiz" << "Combo2" << "St" << "St. Gallen" << ". Gallen";
        QTest::newRow("St Österreich") << "Österreich" << "Combo2" << "St" << "Steiermark" << "eiermark";
        QTest::newRow("Ba Schweiz") << "Schweiz" << "Combo2" << "Ba" << "Basel-" << "sel-";
        QTest::newRow("Basel-S") << "Schweiz" << "Combo2" << "Ba>S" << "Basel-Stadt" << "tadt";
        QTest::newRow("Sachsen-Anhalt") << "Deutschland" << "Combo2" << "Sachsen-" << "Sachsen-Anhalt" << "Anhalt";
        QTest::newRow("Appenzell-I") << "Schweiz" << "Combo2" << "Appenzell-I" << "Appenzell Innerrhoden" << "nnerrhoden";
        QTest::newRow("Zü") << "Schweiz" << "Combo2" << "Zü" << "Zürich" << "rich";
        QTest::newRow("Land klein") << "deutschland" << "Combo2" << "Bay" << "Bay" << "";
        QTest::newRow("Land mit Blank") << "Deutschland " << "Combo2" << "Bay" << "Bay" << "";
        QTest::newRow("Rücktaste ergänzt wieder") << "Deutschland" << "Combo2" << "Bay\b" << "Bayern" << "ern";
    }
    void vervollstaendigung()
    {
        QFETCH(QString, land);
        QFETCH(QString, feld);
        QFETCH(QString, tasten);
        QFETCH(QString, text);
        QFETCH(QString, markiert);
        Umgebung u;
        frmFund& d = *u.dialog;
        QTest::mouseClick(d.Command5, Qt::LeftButton);
        if (!land.isEmpty())
            d.Combo1->setzeText(land);
        auto* f = d.findChild<EingabeListe*>(feld);
        f->setFocus();
        for (const QChar c : tasten) {
            if (c == u'\b')
                QTest::keyClick(f, Qt::Key_Backspace);
            else if (c == u'>')
                QTest::keyClick(f, Qt::Key_End);
            else
                tippen(f, QString(c));
        }
        QCOMPARE(f->Text(), text);
        QCOMPARE(f->lineEdit()->selectedText(), markiert);
        if (!markiert.isEmpty()) {
            // The caret stands behind the typed letters; the rest is selected.
            QCOMPARE(f->lineEdit()->selectionStart(), text.size() - markiert.size());
            QCOMPARE(f->lineEdit()->cursorPosition(), text.size() - markiert.size());
        }
        // The line follows the completed name.
        QVERIFY(d.lblZusammenstellung->text().contains(text));
    }

    void gespeicherteNamenBleiben()
    {
        speichern({fund("D", "Bay", "X", "Y"), fund("Schweiz", "Basel-", "Basel", "Rhein")});
        Umgebung u;
        frmFund& d = *u.dialog;
        // A stored typed text is shown completed; a full name, even a stage of a longer one, stays.
        QCOMPARE(d.Combo1->Text(), QStringLiteral("Deutschland"));
        QCOMPARE(d.Combo2->Text(), QStringLiteral("Bayern"));
        waehlen(d.Combo7, 1);
        QCOMPARE(d.Combo2->Text(), QStringLiteral("Basel-"));
        // An entry selected or picked from a list is never completed; any other text is.
        QTest::mouseClick(d.Command5, Qt::LeftButton);
        QCOMPARE(d.Combo1->Text(), QStringLiteral("D"));
        QCOMPARE(d.Combo2->Text(), QStringLiteral("Bay"));
        waehlen(d.Combo1, 1);
        waehlen(d.Combo1, 0);
        QCOMPARE(d.Combo1->Text(), QStringLiteral("D"));
        d.Combo1->setEditText(QStringLiteral("S"));
        QCOMPARE(d.Combo1->Text(), QStringLiteral("Schweiz"));
        QVERIFY(d.lblZusammenstellung->text().startsWith(QStringLiteral("Schweiz, ")));
    }

    void datum_data()
    {
        QTest::addColumn<QDate>("heute");
        QTest::addColumn<QString>("gespeichert");
        QTest::addColumn<QString>("jahr");
        QTest::addColumn<QString>("monat");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("tage");
        // After 2020: the year list reaches this year.
        QTest::newRow("2031") << QDate(2031, 7, 4) << "" << "2031" << "Juli" << "4." << 31;
        QTest::newRow("Jahr danach") << QDate(2031, 7, 4) << "2. Mai 2035" << "2035" << "Mai" << "2." << 31;
        QTest::newRow("Jahr davor") << QDate(2031, 7, 4) << "2. Februar 1996" << "1996" << "Februar" << "2." << 29;
        // A stale February: the month is selected already, the year differs.
        QTest::newRow("Februar eines Schaltjahrs") << QDate(2013, 2, 10) << "29. Februar 2012" << "2012" << "Februar" << "29." << 29;
        QTest::newRow("Februar ohne Schaltjahr") << QDate(2012, 2, 29) << "28. Februar 2013" << "2013" << "Februar" << "28." << 28;
        // Today's day beyond the stored month's length.
        QTest::newRow("31. nach April") << QDate(2024, 3, 31) << "30. April 2020" << "2020" << "April" << "30." << 30;
        QTest::newRow("31. nach Februar") << QDate(2024, 1, 31) << "1. Februar 2023" << "2023" << "Februar" << "1." << 28;
        // Other forms leave the lists as they are.
        QTest::newRow("Zahlenform") << QDate(2024, 3, 31) << "15.06.2010" << "2024" << "März" << "31." << 31;
    }
    void datum()
    {
        QFETCH(QDate, heute);
        QFETCH(QString, gespeichert);
        QFETCH(QString, jahr);
        QFETCH(QString, monat);
        QFETCH(QString, tag);
        QFETCH(int, tage);
        if (!gespeichert.isEmpty())
            speichern({fund("A", "B", "C", "D", "1", gespeichert)});
        Umgebung u(heute);
        frmFund& d = *u.dialog;
        QCOMPARE(d.Combo5->itemText(0), jahr.toInt() < 2000 ? jahr : QStringLiteral("2000"));
        QCOMPARE(d.Combo5->findText(QString::number(heute.year())), heute.year() - 2000 + (jahr.toInt() < 2000 ? 1 : 0));
        QCOMPARE(d.Combo5->currentText(), jahr);
        QCOMPARE(d.Combo3->currentText(), monat);
        QCOMPARE(d.Combo4->currentText(), tag);
        QCOMPARE(d.Combo4->count(), tage);
        if (gespeichert.isEmpty())
            return;
        QCOMPARE(d.Combo1->Text(), QStringLiteral("A")); // the rest of the row is shown
        // The line shows the date as stored, also one the lists cannot show, and so does the copy.
        QCOMPARE(d.lblZusammenstellung->text(), QStringLiteral("A, B, C, D, 1 msm, %1 (Freilandfoto: N. N.)").arg(gespeichert));
        QTest::mouseClick(element<QPushButton>(d, "Command4"), Qt::LeftButton);
        QCOMPARE(m_dienste.zwischenablage, QStringList{d.lblZusammenstellung->text()});
    }

    // A stored form the lists cannot show belongs to its row only: the next row shows its own
    // date, and a new location keeps it as shown until a date list is changed.
    void datumWieGespeichert()
    {
        speichern({fund("A", "B", "C", "D", "1", "15.06.2010"), fund("E", "F", "G", "H", "1", "3. Mai 2021")});
        Umgebung u(QDate(2024, 3, 31));
        frmFund& d = *u.dialog;
        auto* zeile = element<QLabel>(d, "lblZusammenstellung");
        QCOMPARE(zeile->text(), QStringLiteral("A, B, C, D, 1 msm, 15.06.2010 (Freilandfoto: N. N.)"));
        waehlen(element<QComboBox>(d, "Combo7"), 1);
        QCOMPARE(zeile->text(), QStringLiteral("E, F, G, H, 1 msm, 3. Mai 2021 (Freilandfoto: N. N.)"));
        waehlen(element<QComboBox>(d, "Combo7"), 0);
        QCOMPARE(zeile->text(), QStringLiteral("A, B, C, D, 1 msm, 15.06.2010 (Freilandfoto: N. N.)"));
        // Kept for a new location; a changed field keeps it, a changed date list replaces it.
        element<QCheckBox>(d, "Check1")->setChecked(true);
        QTest::mouseClick(element<QPushButton>(d, "Command5"), Qt::LeftButton);
        element<QLineEdit>(d, "Text4")->end(false);
        tippen(element<QLineEdit>(d, "Text4"), QStringLiteral("0"));
        QCOMPARE(zeile->text(), QStringLiteral("A, B, C, D, 10 msm, 15.06.2010 (Freilandfoto: N. N.)"));
        waehlen(element<QComboBox>(d, "Combo4"), 0);
        QCOMPARE(zeile->text(), QStringLiteral("A, B, C, D, 10 msm, 1. Mai 2021 (Freilandfoto: N. N.)"));
    }

    // The sequence as it was seen: 29. Februar 2012 kept for a new location, then the year 2013.
    void tagFolgtDemJahr()
    {
        speichern({fund("A", "B", "C", "D", "1", "29. Februar 2012")});
        Umgebung u(QDate(2024, 3, 31));
        frmFund& d = *u.dialog;
        element<QCheckBox>(d, "Check1")->setChecked(true);
        QTest::mouseClick(element<QPushButton>(d, "Command5"), Qt::LeftButton);
        waehlen(element<QComboBox>(d, "Combo5"), 13);
        const QString zeile = QStringLiteral("A, B, C, D, 1 msm, 28. Februar 2013 (Freilandfoto: N. N.)");
        QCOMPARE(element<QLabel>(d, "lblZusammenstellung")->text(), zeile);
        QCOMPARE(element<QComboBox>(d, "Combo4")->count(), 28);
        // Back to 2012: the day chosen stays, the days are February 2012's.
        waehlen(element<QComboBox>(d, "Combo5"), 12);
        QCOMPARE(element<QComboBox>(d, "Combo4")->count(), 29);
        QCOMPARE(element<QComboBox>(d, "Combo4")->currentText(), QStringLiteral("28."));
        waehlen(element<QComboBox>(d, "Combo5"), 13);
        QTest::mouseClick(element<QPushButton>(d, "Command1"), Qt::LeftButton);
        QCOMPARE(element<QComboBox>(d, "Combo7")->currentText(), zeile);
        QTest::mouseClick(element<QPushButton>(d, "Command4"), Qt::LeftButton);
        QCOMPARE(m_dienste.zwischenablage, QStringList{zeile});
        FundortDatenbank db(QStringLiteral("pruefung"));
        QVERIFY(db.oeffnen() && db.allesLaden());
        QCOMPARE(db.zeile(1).datum, QStringLiteral("28. Februar 2013"));
    }

    void heuteNachDemMonatsende()
    {
        // On the 31st, choosing April selects its last day.
        Umgebung u(QDate(2024, 3, 31));
        frmFund& d = *u.dialog;
        QTest::mouseClick(d.Command5, Qt::LeftButton);
        waehlen(d.Combo3, 3);
        QCOMPARE(d.Combo4->count(), 30);
        QCOMPARE(d.Combo4->currentText(), QStringLiteral("30."));
        QVERIFY(d.lblZusammenstellung->text().contains(QStringLiteral("30. April 2024 (")));
        // The days follow the month and the year.
        waehlen(d.Combo3, 1);
        QCOMPARE(d.Combo4->count(), 29);
        waehlen(d.Combo5, 13);
        QCOMPARE(d.Combo4->count(), 28);
        waehlen(d.Combo3, 0);
        waehlen(d.Combo3, 1);
        QCOMPARE(d.Combo4->count(), 28);
    }

    void hilfeUndSchliessen()
    {
        einstellungsdatei::schreiben(QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 1, 0, '_web', 2"));
        Form1 f;
        f.show();
        QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("Command6")), Qt::LeftButton);
        auto* d = offenerDialog();
        QVERIFY(d && d->isVisible());
        QVERIFY(!f.isEnabled() && d->isEnabled());

        QTest::mouseClick(d->cmdHilfe, Qt::LeftButton);
        Form3* hilfe = f.hilfe();
        QVERIFY(hilfe && hilfe->isVisible());
        QCOMPARE(hilfe->Label1->text(), QStringLiteral("Fundorteingabe"));
        QCOMPARE(hilfe->Label2->text(), frmFund::hilfetext());
        QVERIFY(frmFund::hilfetext().contains(QStringLiteral("nür geringfügig verändern möchten (z.B. das Datum)")));
        QCOMPARE(frmFund::hilfetext().size(), 770);
        QVERIFY(!d->isEnabled());
        QTest::mouseClick(hilfe->Command1, Qt::LeftButton);
        QVERIFY(d->isEnabled());
        // The help window gives the main window back whenever it closes.
        QVERIFY(f.isEnabled());

        QPointer<frmFund> weg = d;
        f.setEnabled(false);
        QTest::mouseClick(d->Command3, Qt::LeftButton);
        QVERIFY(QTest::qWaitFor([&weg] { return weg.isNull(); }));
        QVERIFY(f.isEnabled() && f.isVisible());

        // The close box does the same, and the next opening starts afresh.
        QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("Command6")), Qt::LeftButton);
        weg = offenerDialog();
        QVERIFY(weg && !weg->neuerFundort && !f.isEnabled());
        weg->close();
        QVERIFY(f.isEnabled());
    }

    void datenbankFehler()
    {
        speichern({fund("A", "B", "C", "D")});
        Umgebung u;
        frmFund& d = *u.dialog;
        d.Check1->setChecked(true);
        QTest::mouseClick(d.Command5, Qt::LeftButton);
        QTest::keyClicks(d.Text4, QStringLiteral("0"));
        {
            QSqlDatabase sperre = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("sperre"));
            sperre.setDatabaseName(d.Data1->dateipfad());
            QVERIFY(sperre.open());
            QVERIFY(QSqlQuery(sperre).exec(QStringLiteral("BEGIN EXCLUSIVE")));
            QTest::mouseClick(d.Command1, Qt::LeftButton);
            QVERIFY(QSqlQuery(sperre).exec(QStringLiteral("ROLLBACK")));
            sperre.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("sperre"));
        QCOMPARE(m_dienste.meldungen.size(), 1);
        QVERIFY(m_dienste.meldungen[0].text.startsWith(
            QStringLiteral("Der Fundort konnte nicht gespeichert werden.\r\n\r\nDie Datei wird gerade von einem anderen Programm benutzt.")));
        // Still entering, and the second try stores it.
        QVERIFY(d.neuerFundort && d.Command1->isEnabled());
        QTest::mouseClick(d.Command1, Qt::LeftButton);
        QCOMPARE(d.Combo7->count(), 2);
        QCOMPARE(m_dienste.meldungen.size(), 1);
    }
};

QTEST_MAIN(TestFrmFund)
#include "test_frmfund.moc"
