// The secondary windows as the main window opens them: its buttons, its help window,
// the record it takes over, and its closing, which takes them along.
#include "findreport/frmFund.h"
#include "hilfe/HilfeTexte.h"
#include "hilfe/frmAbout.h"
#include "platform/Steuerelemente.h"
#include "settings/Form2.h"

#include "Bedienung.h"
#include "Fensterhilfe.h"

#include <QApplication>
#include <QCheckBox>
#include <QPointer>
#include <QRadioButton>

using namespace fensterhilfe;

namespace {

// The one visible window of type T, as a button of the main window opened it.
template <typename T>
T* offen()
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* t = qobject_cast<T*>(w); t && t->isVisible())
            return t;
    return nullptr;
}

QPushButton* hilfeKnopf(const Form1& f, int index) { return finde<QPushButton>(f, QStringLiteral("Command4(%1)").arg(index)); }
QString titelVon(const Form3* hilfe) { return text(*hilfe, "Label1"); }
void klicken(const QWidget& fenster, const char* knopf) { QTest::mouseClick(finde<QPushButton>(fenster, knopf), Qt::LeftButton); }

} // namespace

class TestNebenfenster : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testUmgebungEinrichten(); }
    void init() { QDir(datenOrdner()).removeRecursively(); }

    void jederKnopfZeigtSeineHilfe()
    {
        Fenster fenster;
        QVERIFY(fenster.bereit());
        Form1& f = fenster.f;
        QVERIFY(!f.hilfe());
        // Titles by the button's place in the window, not by the text table.
        const QStringList titel = {
            "Eignung eines Bildes zur Veröffentlichung im Flattrium",
            "Geeignete Abmessungen für die Veröffentlichung im Flattrium",
            "Geeignete Dateigröße für die Veröffentlichung im Flattrium",
            "Geeignete Größe des Auswahlrahmens",
            "Seitenverhältnis und Farbe des Auswahlrahmens ",
            "Geeignete Abmessungen für die Veröffentlichung im Flattrium",
            "Auswahlrahmen aufziehen",
            "Kompression regeln",
            "Zuschneiden",
            "Speichern",
            "Veröffentlichen",
            "Bevorzugte Starteinstellungen",
            "Fundortzusammenstellung",
            "Datei öffnen...",
            "Ganzes Bild auswählen",
        };
        for (int i = 0; i < 15; ++i) {
            QTest::mouseClick(hilfeKnopf(f, i), Qt::LeftButton);
            Form3* hilfe = f.hilfe();
            QVERIFY(hilfe);
            QVERIFY(hilfe->isVisible());
            QCOMPARE(hilfe->windowTitle(), QStringLiteral("Hilfe"));
            QCOMPARE(titelVon(hilfe), titel[i]);
            QCOMPARE(text(*hilfe, "Label2"), hilfeText(i).text);
            QVERIFY(!f.isEnabled());
            QVERIFY(hilfe->isEnabled());
            QVERIFY(finde<QPushButton>(*hilfe, "Command1")->isEnabled());
            klicken(*hilfe, "Command1");
            QTRY_VERIFY(!f.hilfe());
            QVERIFY(f.isEnabled());
        }
    }

    void startmeldungNimmtDieNaechsteHilfeAuf()
    {
        QVERIFY(einstellungenSchreiben(QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 1, 1, '_web', 2")));
        TestDienste dienste;
        Form1 f;
        QPointer<Form3> start = f.hilfe();
        QVERIFY(start && start->isVisible());
        QVERIFY(f.isEnabled()); // the start message leaves the main window usable
        QTest::mouseClick(hilfeKnopf(f, 10), Qt::LeftButton);
        QCOMPARE(f.hilfe(), start.data());
        QCOMPARE(titelVon(start), QStringLiteral("Veröffentlichen"));
        QVERIFY(!f.isEnabled());
        start->close();
        QTRY_VERIFY(!start);
        QVERIFY(f.isEnabled());
    }

    // Opened with the main window's button, at its face, with its lists; "OK" has the main
    // window take over every value of the record.
    void hauptfensterUebernimmtAlles()
    {
        einfacheKodierungMerken(false);
        Fenster fenster(QStringLiteral("'/bilder/roh', '/bilder/web', 0, 0, 4, 600, 400, 92, 1, 0, '_web', 2"));
        QVERIFY(fenster.bereit());
        Form1& f = fenster.f;
        fenster.klick("Command5");
        QPointer<Form2> d = offen<Form2>();
        QVERIFY(d);
        QVERIFY(!f.isEnabled());
        QCOMPARE(d->font(), f.font());
        for (const char* name : {"Combo1", "oColor"})
            QCOMPARE(eintraege(finde<Liste>(*d, name)), eintraege(finde<Liste>(f, name)));

        finde<Liste>(*d, "Combo1")->setzeListIndex(3);
        finde<Liste>(*d, "oColor")->setzeListIndex(6);
        finde<Liste>(*d, "List1")->setzeListIndex(6);
        eintippen(finde<QLineEdit>(*d, "TextKomp"), QStringLiteral("77.5"));
        eintippen(finde<QLineEdit>(*d, "Text1"), QStringLiteral("/fotos/neu"));
        eintippen(finde<QLineEdit>(*d, "Text3"), QStringLiteral("_klein"));
        for (const char* kasten : {"Option1(1)", "chkEinfacheKodierung"}) {
            auto* k = finde<QAbstractButton>(*d, kasten);
            QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(7, k->height() / 2));
        }
        klicken(*d, "Command3");
        QTRY_VERIFY(!d);

        const SettingsRecord gespeichert = einstellungsdatei::lesen();
        QCOMPARE(gespeichert.rahmen, 3);
        QCOMPARE(gespeichert.farbe, 6);
        QCOMPARE(gespeichert.Format, 6);
        QCOMPARE(gespeichert.breite, 1200.0);
        QCOMPARE(gespeichert.hoehe, 1600.0);
        QCOMPARE(gespeichert.kompression, 77.5);
        QCOMPARE(gespeichert.laden, QStringLiteral("/fotos/neu"));
        QCOMPARE(gespeichert.vorschlag, 1);

        QVERIFY(f.isEnabled() && f.isVisible());
        QCOMPARE(finde<Liste>(f, "Combo1")->currentText(), QStringLiteral("3:4 (Hoch)"));
        QCOMPARE(finde<Liste>(f, "oColor")->currentText(), QStringLiteral(" cyan "));
        QCOMPARE(finde<Liste>(f, "List1")->currentText(), QStringLiteral("1200 x 1600"));
        QCOMPARE(fenster.t("TextH"), QStringLiteral("1600"));
        QCOMPARE(fenster.t("TextKomp"), QStringLiteral("77.5"));
        QCOMPARE(finde<UpDown>(f, "UpDown2")->Value(), 78);
        QCOMPARE(f.stand().vorgaben().pfadLaden, QStringLiteral("/fotos/neu"));
        QCOMPARE(f.stand().vorgaben().vorschlag, qint16(1));
        QCOMPARE(f.stand().vorgaben().anhang, QStringLiteral("_klein"));
        QVERIFY(f.stand().vorgaben().einfacheKodierung);
        QVERIFY(fenster.dienste.meldungen.isEmpty());
        einfacheKodierungMerken(false);
    }

    // "Info": a link on the main window; closing the main window takes an open box with it.
    void infoMitDemHauptfensterGeschlossen()
    {
        Fenster fenster;
        QVERIFY(fenster.bereit());
        Form1& f = fenster.f;
        auto* kontakt = finde<KlickLabel>(f, "lblKontakt");
        QCOMPARE(kontakt->text(), QStringLiteral("Info"));
        QCOMPARE(kontakt->cursor().shape(), Qt::PointingHandCursor);
        QCOMPARE(kontakt->palette().color(QPalette::Active, QPalette::WindowText), QColor(0, 0, 255));
        QVERIFY(kontakt->font().underline());

        QTest::mouseClick(kontakt, Qt::LeftButton);
        QPointer<frmAbout> info = offen<frmAbout>();
        QVERIFY(info);
        QVERIFY(!f.isEnabled());
        QVERIFY(f.close());
        QTRY_VERIFY(!info);
        QVERIFY(fenster.dienste.urls.isEmpty());
    }

    // The find-location dialog with the main window's help window; each opening starts
    // afresh; the main window's closing ends the program without a question.
    void fundortdialog()
    {
        Fenster fenster;
        QVERIFY(fenster.bereit());
        Form1& f = fenster.f;
        fenster.klick("Command6");
        QPointer<frmFund> d = offen<frmFund>();
        QVERIFY(d && d->isVisible());
        QVERIFY(!f.isEnabled() && d->isEnabled());

        klicken(*d, "cmdHilfe");
        Form3* hilfe = f.hilfe();
        QVERIFY(hilfe && hilfe->isVisible());
        QCOMPARE(titelVon(hilfe), QStringLiteral("Fundorteingabe"));
        klicken(*hilfe, "Command1");
        QVERIFY(d->isEnabled());
        QTRY_VERIFY(!f.hilfe());

        klicken(*d, "Command5");
        QVERIFY(d->sitzung().istNeuerFundort());
        klicken(*d, "Command3");
        QTRY_VERIFY(!d);
        QVERIFY(f.isEnabled() && f.isVisible());

        fenster.klick("Command6");
        d = offen<frmFund>();
        QVERIFY(d && !d->sitzung().istNeuerFundort() && !f.isEnabled());
        klicken(*d, "Command5");
        QTest::keyClicks(finde<QLineEdit>(*d, "Text4"), QStringLiteral("480"));
        QVERIFY(f.close());
        QTRY_VERIFY(!d);
        QVERIFY(fenster.dienste.fragen.isEmpty());
    }
};

QTEST_MAIN(TestNebenfenster)
#include "test_nebenfenster.moc"
