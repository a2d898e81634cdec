#include "platform/Steuerelemente.h"
#include "settings/Form2.h"
#include "settings/SettingsStore.h"

#include "Bedienung.h"
#include "Einstellungsdatei.h"
#include "TestDienste.h"

#include <QApplication>
#include <QCheckBox>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

namespace {

// The record every test starts from unless it needs another: no start message.
const QString ruhigerStart = QStringLiteral("'/bilder/roh', '/bilder/web', 0, 0, 4, 600, 400, 92, 1, 0, '_web', 2");

template <typename T>
T* finde(const QWidget* fenster, const QString& name)
{
    T* w = fenster->findChild<T*>(name);
    if (!w)
        qWarning("control %s missing", qPrintable(name));
    return w;
}

// A stand-in for the main window: its settings connection, read as at its start,
// its narrow face, and what the dialog has it do.
struct Hauptfenster : QWidget {
    SettingsStore store;
    // Each time the dialog had the main window read the record again: the record, and
    // the choice of coding kept beside it, as the main window would then find them.
    QList<SettingsRecord> geladen;
    QList<bool> einfachGeladen;
    // An open dialog goes with the main window.
    Nebenfenster dialog;

    Hauptfenster()
    {
        setFont(schmaleSchrift(font()));
        store.oeffnen(this);
    }

    // Opens the preferences as the main window's button does.
    Form2* oeffnen()
    {
        auto* d = new Form2(store, this, [this] {
            geladen << store.datensatz();
            einfachGeladen << einfacheKodierungGewuenscht();
        }, store.datensatz().dateiname);
        dialog.setzen(d);
        setEnabled(false);
        d->zeigen();
        return d;
    }
};

void klicken(QWidget* w) { QTest::mouseClick(w, Qt::LeftButton); }
// Check and option buttons react on their box and caption, at the left.
void ankreuzen(QAbstractButton* k) { QTest::mouseClick(k, Qt::LeftButton, {}, QPoint(7, k->height() / 2)); }

} // namespace

class TestForm2 : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testUmgebungEinrichten(); }
    void init() { QDir(einstellungsdatei::ordner()).removeRecursively(); }

    void aufbauUndBeschriftungen()
    {
        einstellungsdatei::schreiben(ruhigerStart);
        TestDienste dienste;
        Hauptfenster f;
        f.show();
        Form2* d = f.oeffnen();
        QVERIFY(d);
        QVERIFY(QTest::qWaitForWindowExposed(d));
        QCOMPARE(d->windowTitle(), QStringLiteral("Bevorzugte Einstellungen"));
        QCOMPARE(d->size(), QSize(530, 434));
        QVERIFY(!d->windowIcon().isNull());

        const auto rahmen = [&](const char* name, const QString& titel, QRect ort) {
            auto* r = finde<QGroupBox>(d, QString::fromUtf8(name));
            QVERIFY2(r, name);
            QCOMPARE(r->title(), titel);
            QCOMPARE(r->geometry(), ort);
        };
        rahmen("Frame1", "Dateiablage", QRect(8, 8, 513, 105));
        rahmen("Frame5", "Dateinamen", QRect(8, 120, 513, 97));
        rahmen("Frame4", "Auswahrahmen", QRect(8, 224, 241, 97));
        rahmen("Frame2", "Zielformat", QRect(256, 224, 161, 97));
        rahmen("Frame3", "Kompression", QRect(424, 224, 97, 97));

        const auto knopf = [&](const char* name, const QString& text, QRect ort) {
            auto* k = finde<QPushButton>(d, QString::fromUtf8(name));
            QVERIFY2(k, name);
            QCOMPARE(k->text(), text);
            if (!ort.isNull())
                QCOMPARE(k->geometry(), ort);
        };
        knopf("Command5", "Standardeinstellungen", QRect(8, 392, 161, 25));
        knopf("Command4", "Abbrechen", QRect(320, 392, 97, 25));
        knopf("Command3", "OK", QRect(424, 392, 97, 25));
        knopf("Command1", "...", {});
        knopf("Command2", "...", {});
        QCOMPARE(finde<QPushButton>(d, QStringLiteral("Command1"))->toolTip(), QStringLiteral("Durchsuchen"));
        QCOMPARE(finde<QPushButton>(d, QStringLiteral("Command2"))->toolTip(), QStringLiteral("Durchsuchen"));
        QVERIFY(finde<QGroupBox>(d, QStringLiteral("Frame1"))->isAncestorOf(finde<QLineEdit>(d, QStringLiteral("Text2"))));

        QStringList beschriftungen;
        for (const QLabel* l : d->findChildren<QLabel*>())
            beschriftungen << l->text();
        for (const char* text : {"Standardordner für \"Datei öffnen\"", "Standardordner für \"Datei speichern\"",
                                 "Seitenverhältnis", "Farbe", "Abmessungen in Pixel", "x", "Kompr."})
            QVERIFY2(beschriftungen.contains(QString::fromUtf8(text)), text);

        QCOMPARE(finde<QRadioButton>(d, QStringLiteral("Option1(0)"))->text(), QStringLiteral("keinen Dateinamen vorschlagen"));
        QCOMPARE(finde<QRadioButton>(d, QStringLiteral("Option1(1)"))->text(), QStringLiteral("Namen der Originaldatei vorschlagen"));
        QCOMPARE(finde<QRadioButton>(d, QStringLiteral("Option1(2)"))->text(),
                 QStringLiteral("Namen der Originaldatei vorschlagen mit diesem Anhang"));
        // The suffix box stands on the line of the third option.
        const QRect option2 = finde<QWidget>(d, QStringLiteral("Option1(2)"))->geometry();
        const QRect text3 = finde<QWidget>(d, QStringLiteral("Text3"))->geometry();
        QVERIFY(text3.left() >= option2.right() && qAbs(text3.center().y() - option2.center().y()) <= 2);

        auto* check1 = finde<QCheckBox>(d, QStringLiteral("Check1"));
        auto* check2 = finde<QCheckBox>(d, QStringLiteral("Check2"));
        QCOMPARE(check1->text(), QStringLiteral("Ich kenne mich aus und will keine Erinnerung an die Fundortangabe beim Veröffentlichen"));
        QCOMPARE(check2->text(), QStringLiteral("Ich möchte die Info beim Programmstart nicht mehr sehen"));
        QCOMPARE(check1->pos(), QPoint(32, 328));
        QCOMPARE(check2->pos(), QPoint(32, 352));

        auto* updown1 = finde<UpDown>(d, QStringLiteral("UpDown1"));
        auto* updown2 = finde<UpDown>(d, QStringLiteral("UpDown2"));
        QCOMPARE(updown1->Min(), 10);
        QCOMPARE(updown1->Max(), 10000);
        QCOMPARE(updown1->Increment(), 1);
        QCOMPARE(updown2->Min(), 50);
        QCOMPARE(updown2->Max(), 100);

        // The same lists as on the main window.
        QCOMPARE(eintraege(finde<Liste>(d, QStringLiteral("Combo1"))),
                 QStringList({"3:2 (Quer)", "2:3 (Hoch)", "4:3 (Quer)", "3:4 (Hoch)", "16:9 (Quer)", "9:16 (Hoch)"}));
        QCOMPARE(eintraege(finde<Liste>(d, QStringLiteral("oColor"))),
                 QStringList({" weiß ", " schwarz ", " gelb ", " rot ", " grün ", " blau ", " cyan ", " magenta "}));
        QCOMPARE(eintraege(finde<Liste>(d, QStringLiteral("List1"))),
                 QStringList({"benutzerdefiniert", "60 x 40", "90 x 60", "120 x 80", "600 x 400", "900 x 600", "1200 x 800"}));

        // Every caption whole, every control inside the dialog, at the main window's font.
        QCOMPARE(d->font(), f.font());
        for (QWidget* w : d->findChildren<QWidget*>()) {
            if (!w->isVisibleTo(d) || (w->parentWidget() != d && !qobject_cast<QGroupBox*>(w->parentWidget())))
                continue;
            QVERIFY2(w->parentWidget()->rect().contains(w->geometry()), qPrintable(w->objectName()));
            const QFontMetrics m(w->font());
            if (auto* r = qobject_cast<QGroupBox*>(w)) {
                QVERIFY2(m.horizontalAdvance(r->title()) + 16 <= r->width(), qPrintable(r->title()));
            } else if (auto* k = qobject_cast<QPushButton*>(w)) {
                QVERIFY2(m.horizontalAdvance(k->text()) + 8 <= k->width(), qPrintable(k->text()));
            } else if (auto* k = qobject_cast<QAbstractButton*>(w)) {
                QVERIFY2(k->sizeHint().width() <= k->width(), qPrintable(k->text()));
                QVERIFY2(k->sizeHint().height() <= k->height() + 2, qPrintable(k->text()));
            } else if (auto* l = qobject_cast<QLabel*>(w); l && !l->text().isEmpty()) {
                QVERIFY2(m.horizontalAdvance(l->text()) <= l->width(), qPrintable(l->text()));
                QVERIFY2(m.height() <= l->height(), qPrintable(l->text()));
            } else if (auto* c = qobject_cast<Liste*>(w)) {
                QVERIFY2(c->sizeHint().width() <= c->width(), qPrintable(c->objectName()));
            }
        }
    }

    void hauptfensterGesperrtSolangeOffen()
    {
        einstellungsdatei::schreiben(ruhigerStart);
        TestDienste dienste;
        Hauptfenster f;
        f.show();
        QPointer<Form2> d = f.oeffnen();
        QVERIFY(d);
        QVERIFY(d->isEnabled());
        QVERIFY(finde<QPushButton>(d, QStringLiteral("Command3"))->isEnabled());
        QVERIFY(finde<Liste>(d, QStringLiteral("Combo1"))->isEnabled());

        // The close box discards the edits.
        finde<Liste>(d, QStringLiteral("Combo1"))->setzeListIndex(3);
        QVERIFY(d->close());
        QTRY_VERIFY(!d);
        QVERIFY(f.isEnabled());
        QCOMPARE(einstellungsdatei::lesen().rahmen, 0);

        // So does Escape, also while a box has the focus.
        d = f.oeffnen();
        QVERIFY(d);
        finde<Liste>(d, QStringLiteral("Combo1"))->setzeListIndex(3);
        QTest::keyClick(finde<QLineEdit>(d, QStringLiteral("Text1")), Qt::Key_Escape);
        QTRY_VERIFY(!d);
        QVERIFY(f.isEnabled());
        QCOMPARE(einstellungsdatei::lesen().rahmen, 0);
        QVERIFY(f.geladen.isEmpty()); // the main window keeps what it shows
    }

    void gespeicherterDatensatzBeimOeffnen()
    {
        // A custom size shows the stored height as it stands; a missing reminder value ticks its box.
        einstellungsdatei::schreiben(QStringLiteral("'/home/x/Bilder', '', 0, 5, 0, 750, 123, 92.5, NULL, 1, '_lf', 1"));
        TestDienste dienste;
        Hauptfenster f;
        Form2* d = f.oeffnen();
        QVERIFY(d);
        QCOMPARE(finde<QLineEdit>(d, QStringLiteral("Text1"))->text(), QStringLiteral("/home/x/Bilder"));
        QCOMPARE(finde<QLineEdit>(d, QStringLiteral("Text2"))->text(), QString());
        QCOMPARE(finde<Liste>(d, QStringLiteral("oColor"))->currentText(), QStringLiteral(" blau "));
        QCOMPARE(finde<Liste>(d, QStringLiteral("List1"))->ListIndex(), 0);
        QCOMPARE(finde<QLineEdit>(d, QStringLiteral("TextB"))->text(), QStringLiteral("750"));
        QCOMPARE(finde<QLineEdit>(d, QStringLiteral("TextH"))->text(), QStringLiteral("123"));
        QVERIFY(finde<QLineEdit>(d, QStringLiteral("TextB"))->isEnabled());
        QVERIFY(finde<QLineEdit>(d, QStringLiteral("TextH"))->isEnabled());
        QVERIFY(finde<UpDown>(d, QStringLiteral("UpDown1"))->isEnabled());
        QCOMPARE(finde<QLineEdit>(d, QStringLiteral("TextKomp"))->text(), QStringLiteral("92.5"));
        QCOMPARE(finde<UpDown>(d, QStringLiteral("UpDown2"))->Value(), 92);
        QVERIFY(finde<QCheckBox>(d, QStringLiteral("Check1"))->isChecked());
        QVERIFY(!finde<QCheckBox>(d, QStringLiteral("Check2"))->isChecked());
        QVERIFY(finde<QRadioButton>(d, QStringLiteral("Option1(1)"))->isChecked());
        QCOMPARE(finde<QLineEdit>(d, QStringLiteral("Text3"))->text(), QStringLiteral("_lf"));
        QVERIFY(!finde<QLineEdit>(d, QStringLiteral("Text3"))->isEnabled());
    }

    void hoeheFolgtDerBreite()
    {
        einstellungsdatei::schreiben(ruhigerStart);
        TestDienste dienste;
        Hauptfenster f;
        Form2* d = f.oeffnen();
        QVERIFY(d);
        auto* combo1 = finde<Liste>(d, QStringLiteral("Combo1"));
        auto* list1 = finde<Liste>(d, QStringLiteral("List1"));
        auto* textB = finde<QLineEdit>(d, QStringLiteral("TextB"));
        auto* textH = finde<QLineEdit>(d, QStringLiteral("TextH"));

        // A new ratio rebuilds the sizes and picks the fifth.
        combo1->setzeListIndex(4);
        QCOMPARE(list1->itemText(1), QStringLiteral("320 x 180"));
        QCOMPARE(list1->ListIndex(), 4);
        QCOMPARE(list1->currentText(), QStringLiteral("3200 x 1800"));
        QCOMPARE(textB->text(), QStringLiteral("3200"));
        QCOMPARE(textH->text(), QStringLiteral("1800"));
        QVERIFY(!textB->isEnabled());

        list1->setzeListIndex(0);
        QVERIFY(textB->isEnabled() && textH->isEnabled());
        eintippen(textB, QStringLiteral("1000"));
        QCOMPARE(textH->text(), QStringLiteral("558"));
        // The spin control steps on from what the box shows.
        klicken(finde<UpDown>(d, QStringLiteral("UpDown1"))->findChild<QToolButton*>(QStringLiteral("auf")));
        QCOMPARE(textB->text(), QStringLiteral("1001"));
        QCOMPARE(textH->text(), QStringLiteral("558"));

        // Back to a preset: the boxes follow it and lock again.
        list1->setzeListIndex(5);
        QCOMPARE(textB->text(), QStringLiteral("4800"));
        QCOMPARE(textH->text(), QStringLiteral("2700"));
        QVERIFY(!textB->isEnabled() && !textH->isEnabled());
    }

    void eigeneGroesseSpeichern()
    {
        einstellungsdatei::schreiben(ruhigerStart);
        TestDienste dienste;
        Hauptfenster f;
        f.show();
        QPointer<Form2> d = f.oeffnen();
        QVERIFY(d);
        finde<Liste>(d, QStringLiteral("List1"))->setzeListIndex(0);
        QCOMPARE(finde<Liste>(d, QStringLiteral("List1"))->currentText(), QStringLiteral("benutzerdefiniert"));
        eintippen(finde<QLineEdit>(d, QStringLiteral("TextB")), QStringLiteral("750"));
        QCOMPARE(finde<QLineEdit>(d, QStringLiteral("TextH"))->text(), QStringLiteral("500"));
        klicken(finde<QPushButton>(d, QStringLiteral("Command3")));
        QTRY_VERIFY(!d);

        const SettingsRecord gespeichert = einstellungsdatei::lesen();
        QCOMPARE(gespeichert.Format, 0);
        QCOMPARE(gespeichert.breite, 750.0);
        QCOMPARE(gespeichert.hoehe, 500.0);
        // The rest as it was.
        QCOMPARE(gespeichert.laden, QStringLiteral("/bilder/roh"));
        QCOMPARE(gespeichert.speichern, QStringLiteral("/bilder/web"));
        QCOMPARE(gespeichert.kompression, 92.0);
        QCOMPARE(gespeichert.dateiname, QStringLiteral("_web"));
        QCOMPARE(gespeichert.vorschlag, 2);
        QVERIFY(gespeichert.fundortmeldung);
        QVERIFY(!gespeichert.startmeldung);

        // The main window, given back and shown, read the record at once.
        QVERIFY(f.isEnabled());
        QVERIFY(f.isVisible());
        QCOMPARE(f.geladen.size(), 1);
        QCOMPARE(f.geladen[0], gespeichert);
        QVERIFY(dienste.meldungen.isEmpty());
    }

    void standardeinstellungenDannAbbrechen()
    {
        const QString gespeichert = QStringLiteral("'/a', '/b', 2, 3, 0, 750, 500, 70, 0, 0, '_lf', 1");
        einstellungsdatei::schreiben(gespeichert);
        const SettingsRecord vorher = einstellungsdatei::lesen();
        TestDienste dienste;
        Hauptfenster f;
        f.show();
        QPointer<Form2> d = f.oeffnen();
        QVERIFY(d);
        QCOMPARE(finde<Liste>(d, QStringLiteral("Combo1"))->currentText(), QStringLiteral("4:3 (Quer)"));
        QVERIFY(finde<QCheckBox>(d, QStringLiteral("Check1"))->isChecked());
        QVERIFY(finde<QCheckBox>(d, QStringLiteral("Check2"))->isChecked());

        klicken(finde<QPushButton>(d, QStringLiteral("Command5")));
        QCOMPARE(finde<Liste>(d, QStringLiteral("Combo1"))->currentText(), QStringLiteral("3:2 (Quer)"));
        QCOMPARE(finde<Liste>(d, QStringLiteral("List1"))->currentText(), QStringLiteral("600 x 400"));
        QCOMPARE(finde<QLineEdit>(d, QStringLiteral("TextKomp"))->text(), QStringLiteral("92"));
        QCOMPARE(finde<UpDown>(d, QStringLiteral("UpDown2"))->Value(), 92);
        QVERIFY(!finde<QCheckBox>(d, QStringLiteral("Check1"))->isChecked());
        QCOMPARE(finde<QLineEdit>(d, QStringLiteral("Text1"))->text(), QStringLiteral("/a"));

        klicken(finde<QPushButton>(d, QStringLiteral("Command4")));
        QTRY_VERIFY(!d);
        QVERIFY(f.isEnabled());
        QCOMPARE(einstellungsdatei::lesen(), vorher);
        QVERIFY(f.geladen.isEmpty());
        QVERIFY(dienste.meldungen.isEmpty());
    }

    // 600 is index 4 at 3:2 and at 3:4: the height must follow the ratio all the same.
    void gleicheBreiteAndererHoehe_data()
    {
        QTest::addColumn<int>("gespeichert"); // stored ratio, size 600 x ... at index 4
        QTest::addColumn<QString>("schritt");  // "Standardeinstellungen", or a ratio index picked
        QTest::addColumn<int>("verhaeltnis");
        QTest::addColumn<QString>("hoehe");
        QTest::newRow("3:4, Standardeinstellungen") << 3 << "Standardeinstellungen" << 0 << "400";
        QTest::newRow("3:4, dann 3:2") << 3 << "0" << 0 << "400";
        QTest::newRow("3:2, dann 3:4") << 0 << "3" << 3 << "800";
    }
    void gleicheBreiteAndererHoehe()
    {
        QFETCH(int, gespeichert);
        QFETCH(QString, schritt);
        QFETCH(int, verhaeltnis);
        QFETCH(QString, hoehe);
        einstellungsdatei::schreiben(QStringLiteral("NULL, NULL, %1, 0, 4, 600, %2, 92, 1, 0, '_web', 2")
                                         .arg(gespeichert)
                                         .arg(gespeichert == 3 ? 800 : 400));
        TestDienste dienste;
        Hauptfenster f;
        QPointer<Form2> d = f.oeffnen();
        QVERIFY(d);
        if (schritt == QStringLiteral("Standardeinstellungen"))
            klicken(finde<QPushButton>(d, QStringLiteral("Command5")));
        else
            finde<Liste>(d, QStringLiteral("Combo1"))->setCurrentIndex(schritt.toInt());
        QCOMPARE(finde<Liste>(d, QStringLiteral("Combo1"))->ListIndex(), verhaeltnis);
        QCOMPARE(finde<Liste>(d, QStringLiteral("List1"))->currentText(), QStringLiteral("600 x ") + hoehe);
        QCOMPARE(finde<QLineEdit>(d, QStringLiteral("TextB"))->text(), QStringLiteral("600"));
        QCOMPARE(finde<QLineEdit>(d, QStringLiteral("TextH"))->text(), hoehe);

        klicken(finde<QPushButton>(d, QStringLiteral("Command3")));
        QTRY_VERIFY(!d);
        QCOMPARE(einstellungsdatei::lesen().rahmen, verhaeltnis);
        QCOMPARE(einstellungsdatei::lesen().hoehe, hoehe.toDouble());
        QCOMPARE(f.geladen.size(), 1);
        QCOMPARE(f.geladen[0].hoehe, hoehe.toDouble());
    }

    // The plain coding: taken over with "OK" only, back to off with the defaults.
    void einfacheKodierung()
    {
        einfacheKodierungMerken(false);
        TestDienste dienste;
        Hauptfenster f;
        for (const char* knopf : {"Command4", "Command3", "Command5"}) {
            QPointer<Form2> d = f.oeffnen();
            QVERIFY(d);
            auto* kasten = finde<QCheckBox>(d, QStringLiteral("chkEinfacheKodierung"));
            QCOMPARE(kasten->isChecked(), einfacheKodierungGewuenscht());
            if (QByteArray(knopf) == "Command5") {
                klicken(finde<QPushButton>(d, QStringLiteral("Command5")));
                QVERIFY(!kasten->isChecked());
                klicken(finde<QPushButton>(d, QStringLiteral("Command3")));
            } else {
                ankreuzen(kasten);
                klicken(finde<QPushButton>(d, QString::fromLatin1(knopf)));
            }
            QTRY_VERIFY(!d);
            QCOMPARE(einfacheKodierungGewuenscht(), QByteArray(knopf) == "Command3");
            // Kept before the main window reads the record again, so that it reads the new choice.
            if (QByteArray(knopf) != "Command4")
                QCOMPARE(f.einfachGeladen.last(), QByteArray(knopf) == "Command3");
        }
        QCOMPARE(f.einfachGeladen.size(), 2);
    }

    void erinnerungenAbschalten()
    {
        einstellungsdatei::schreiben(QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 1, 1, '_web', 2"));
        {
            TestDienste dienste;
            Hauptfenster f;
            QVERIFY(f.store.datensatz().startmeldung); // the start message, until now
            QPointer<Form2> d = f.oeffnen();
            QVERIFY(d);
            auto* check2 = finde<QCheckBox>(d, QStringLiteral("Check2"));
            QVERIFY(!check2->isChecked());
            ankreuzen(check2);
            QVERIFY(check2->isChecked());
            klicken(finde<QPushButton>(d, QStringLiteral("Command3")));
            QTRY_VERIFY(!d);
            QCOMPARE(einstellungsdatei::lesen().startmeldung, false);
            QCOMPARE(einstellungsdatei::lesen().fundortmeldung, true);
        }
        {
            TestDienste dienste;
            Hauptfenster neuerStart;
            QVERIFY(!neuerStart.store.datensatz().startmeldung);

            QPointer<Form2> d = neuerStart.oeffnen();
            QVERIFY(d);
            // Ticked, unticked, ticked again: the last click counts.
            for (int i = 0; i < 3; ++i)
                ankreuzen(finde<QCheckBox>(d, QStringLiteral("Check1")));
            klicken(finde<QPushButton>(d, QStringLiteral("Command3")));
            QTRY_VERIFY(!d);
            QCOMPARE(einstellungsdatei::lesen().fundortmeldung, false);
            QCOMPARE(einstellungsdatei::lesen().startmeldung, false);
        }
    }

    void anhangAuchOhneVorschlagGespeichert()
    {
        einstellungsdatei::schreiben(ruhigerStart);
        TestDienste dienste;
        Hauptfenster f;
        QPointer<Form2> d = f.oeffnen();
        QVERIFY(d);
        auto* text3 = finde<QLineEdit>(d, QStringLiteral("Text3"));
        QVERIFY(finde<QRadioButton>(d, QStringLiteral("Option1(2)"))->isChecked());
        QVERIFY(text3->isEnabled());
        QCOMPARE(text3->text(), QStringLiteral("_web"));
        eintippen(text3, QStringLiteral("_klein"));

        ankreuzen(finde<QRadioButton>(d, QStringLiteral("Option1(1)")));
        QVERIFY(!text3->isEnabled());
        ankreuzen(finde<QRadioButton>(d, QStringLiteral("Option1(2)")));
        QVERIFY(text3->isEnabled());
        ankreuzen(finde<QRadioButton>(d, QStringLiteral("Option1(0)")));
        QVERIFY(!text3->isEnabled());
        // A disabled box takes no typing.
        QTest::keyClicks(text3, QStringLiteral("xyz"));
        QCOMPARE(text3->text(), QStringLiteral("_klein"));

        klicken(finde<QPushButton>(d, QStringLiteral("Command3")));
        QTRY_VERIFY(!d);
        QCOMPARE(einstellungsdatei::lesen().vorschlag, 0);
        QCOMPARE(einstellungsdatei::lesen().dateiname, QStringLiteral("_klein"));
        QCOMPARE(f.geladen.size(), 1);
        QCOMPARE(f.geladen[0].dateiname, QStringLiteral("_klein"));
        QCOMPARE(f.geladen[0].vorschlag, 0);
    }

    void ordnerWaehlen()
    {
        einstellungsdatei::schreiben(ruhigerStart);
        TestDienste dienste;
        Hauptfenster f;
        Form2* d = f.oeffnen();
        QVERIFY(d);
        dienste.ordnerAntworten = QStringList{QStringLiteral("/fotos/2026"), QString()};
        klicken(finde<QPushButton>(d, QStringLiteral("Command1")));
        QCOMPARE(finde<QLineEdit>(d, QStringLiteral("Text1"))->text(), QStringLiteral("/fotos/2026"));
        // A cancelled picker leaves the box as it was.
        klicken(finde<QPushButton>(d, QStringLiteral("Command2")));
        QCOMPARE(finde<QLineEdit>(d, QStringLiteral("Text2"))->text(), QStringLiteral("/bilder/web"));
        QCOMPARE(dienste.ordnerTitel,
                 QStringList({"Standardordner für DATEI LADEN", "Standardordner für DATEI SPEICHERN"}));
        // Each picker starts in the folder already in its box.
        QCOMPARE(dienste.ordnerStart, QStringList({"/bilder/roh", "/bilder/web"}));
    }

    void ordnerauswahlDesSystems()
    {
        // Qt's own folder chooser, without a test stand-in.
        QTemporaryDir ordner;
        QVERIFY(QDir(ordner.path()).mkpath(QStringLiteral("Motive")));
        const QString motive = QDir(ordner.path()).filePath(QStringLiteral("Motive"));

        QString gezeigt;
        const auto antworten = [&](const QString& waehlen) {
            auto* uhr = new QTimer;
            uhr->setInterval(20);
            QObject::connect(uhr, &QTimer::timeout, uhr, [&, uhr, waehlen] {
                auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
                if (!dialog)
                    return;
                gezeigt = dialog->directory().absolutePath();
                if (waehlen.isEmpty()) {
                    dialog->reject();
                } else {
                    dialog->setDirectory(waehlen);
                    static_cast<QDialog*>(dialog)->accept(); // the file dialog's own check runs
                }
                uhr->deleteLater();
            });
            uhr->start();
        };

        antworten(QString());
        QCOMPARE(dienste().ordnerWaehlen(nullptr, QStringLiteral("Ordner"), ordner.path()), QString());
        QCOMPARE(gezeigt, QDir(ordner.path()).absolutePath());

        antworten(QString());
        dienste().ordnerWaehlen(nullptr, QStringLiteral("Ordner"), QString());
        QCOMPARE(gezeigt, QDir::homePath());
        antworten(QString());
        dienste().ordnerWaehlen(nullptr, QStringLiteral("Ordner"), ordner.filePath(QStringLiteral("fehlt")));
        QCOMPARE(gezeigt, QDir::homePath());

        antworten(motive);
        QCOMPARE(dienste().ordnerWaehlen(nullptr, QStringLiteral("Ordner"), ordner.path()), QDir::toNativeSeparators(motive));
    }

    void fehlgeschlagenesSpeichern()
    {
        einstellungsdatei::schreiben(QStringLiteral("'/a', '/b', 2, 3, 5, 600, 400, 80, 1, 1, '_web', 2"));
        const SettingsRecord vorher = einstellungsdatei::lesen();
        TestDienste dienste;
        Hauptfenster f;
        f.show();
        QPointer<Form2> d = f.oeffnen();
        QVERIFY(d);
        finde<Liste>(d, QStringLiteral("Combo1"))->setzeListIndex(0);
        eintippen(finde<QLineEdit>(d, QStringLiteral("TextKomp")), QStringLiteral("77"));
        ankreuzen(finde<QCheckBox>(d, QStringLiteral("Check2")));

        einstellungsdatei::Sperre sperre;
        QVERIFY(sperre.gesperrt());
        klicken(finde<QPushButton>(d, QStringLiteral("Command3")));

        QCOMPARE(dienste.meldungen.size(), 1);
        QVERIFY(dienste.meldungen[0].text.startsWith(QStringLiteral("Die Einstellungen konnten nicht gespeichert werden.")));
        QCOMPARE(dienste.meldungen[0].titel, QStringLiteral("Fotoschliff"));
        QCOMPARE(dienste.meldungen[0].symbol, Dienste::Symbol::Fehler);
        // The dialog stays with the user's values; the main window stays locked and unchanged.
        QTest::qWait(50);
        QVERIFY(d && d->isVisible());
        QCOMPARE(finde<Liste>(d, QStringLiteral("Combo1"))->ListIndex(), 0);
        QCOMPARE(finde<QLineEdit>(d, QStringLiteral("TextKomp"))->text(), QStringLiteral("77"));
        QVERIFY(finde<QCheckBox>(d, QStringLiteral("Check2"))->isChecked());
        QVERIFY(!f.isEnabled());
        QVERIFY(f.geladen.isEmpty());

        sperre.freigeben();
        QCOMPARE(einstellungsdatei::lesen(), vorher);

        // Once the file is free again, the same values are saved.
        klicken(finde<QPushButton>(d, QStringLiteral("Command3")));
        QTRY_VERIFY(!d);
        QCOMPARE(dienste.meldungen.size(), 1);
        const SettingsRecord nachher = einstellungsdatei::lesen();
        QCOMPARE(nachher.rahmen, 0);
        QCOMPARE(nachher.kompression, 77.0);
        QCOMPARE(nachher.startmeldung, false);
        QVERIFY(f.isEnabled());
        QCOMPARE(f.geladen.size(), 1);
        QCOMPARE(f.geladen[0], nachher);
    }

    // Return means "OK"; a button with the focus keeps Return for itself.
    void eingabetasteBestaetigt_data()
    {
        QTest::addColumn<QString>("fokus");
        QTest::addColumn<double>("gespeichert");
        QTest::newRow("im Qualitätsfeld") << "TextKomp" << 80.0;
        QTest::newRow("im Ordnerfeld") << "Text1" << 80.0;
        QTest::newRow("in der Größenliste") << "List1" << 80.0;
        QTest::newRow("auf einer Option") << "Option1(1)" << 80.0;
        QTest::newRow("auf OK") << "Command3" << 80.0;
        QTest::newRow("auf Abbrechen") << "Command4" << 92.0;
    }
    void eingabetasteBestaetigt()
    {
        QFETCH(QString, fokus);
        QFETCH(double, gespeichert);
        einstellungsdatei::schreiben(ruhigerStart);
        TestDienste dienste;
        Hauptfenster f;
        f.show();
        QPointer<Form2> d = f.oeffnen();
        QVERIFY(d);
        finde<QLineEdit>(d, QStringLiteral("TextKomp"))->setText(QStringLiteral("80"));
        QWidget* ziel = d->findChild<QWidget*>(fokus);
        QVERIFY(ziel);
        ziel->setFocus();
        QTest::keyClick(ziel, Qt::Key_Return);
        QTRY_VERIFY(!d);
        QVERIFY(f.isEnabled());
        QCOMPARE(einstellungsdatei::lesen().kompression, gespeichert);
        QVERIFY(dienste.ordnerTitel.isEmpty());
    }
};

QTEST_MAIN(TestForm2)
#include "test_form2.moc"
