#include "platform/Eingabelisten.h"
#include "platform/Steuerelemente.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

// An editable list with three entries, "Berlin" selected, beside a text box to click into.
struct Kasten {
    QWidget fenster;
    EingabeListe* liste = new EingabeListe(&fenster);
    QLineEdit* anderes = new QLineEdit(&fenster);

    Kasten()
    {
        auto* spalte = new QVBoxLayout(&fenster);
        spalte->addWidget(liste);
        spalte->addWidget(anderes);
        liste->hinzufuegen({QStringLiteral("Berlin"), QStringLiteral("München"), QStringLiteral("Münchenstein")});
        liste->setzeListIndex(0);
        fenster.show();
        QApplication::setActiveWindow(&fenster);
        liste->setFocus();
    }
};

} // namespace

class TestSteuerelemente : public QObject {
    Q_OBJECT
private slots:
    // Every assignment from code runs the change handling once, whether the
    // text changes or not; every edit by the user once, too.
    void textFeldMeldetJedeZuweisungEinmal_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<QString>("danach");
        QTest::newRow("Code, gleicher Text") << "setzeText" << "600" << "600";
        QTest::newRow("Code, neuer Text") << "setzeText" << "601" << "601";
        QTest::newRow("Code, leer") << "setzeText" << "" << "";
        QTest::newRow("Eigenschaft Text, gleicher Text") << "Text" << "600" << "600";
        QTest::newRow("getippt") << "tippen" << "5" << "6005";
        QTest::newRow("gelöscht") << "löschen" << "" << "60";
    }
    void textFeldMeldetJedeZuweisungEinmal()
    {
        QFETCH(QString, art);
        QFETCH(QString, eingabe);
        QFETCH(QString, danach);
        TextFeld feld(QStringLiteral("600"));
        feld.show();
        feld.setFocus();
        feld.end(false);
        QSignalSpy aenderungen(&feld, &TextFeld::geaendert);
        if (art == QStringLiteral("setzeText"))
            feld.setzeText(eingabe);
        else if (art == QStringLiteral("Text"))
            feld.setProperty("Text", eingabe);
        else if (art == QStringLiteral("tippen"))
            QTest::keyClicks(&feld, eingabe);
        else
            QTest::keyClick(&feld, Qt::Key_Backspace);
        QCOMPARE(feld.text(), danach);
        QCOMPARE(aenderungen.count(), 1);
    }

    // What is a pick: the open list by mouse or keys, an arrow key or the wheel on
    // the closed box, a selection by the program. Each raises klick() once.
    void eingabeListeWahl_data()
    {
        QTest::addColumn<QString>("weg");
        QTest::addColumn<int>("index");
        QTest::newRow("Liste, Maus") << "Maus" << 2;
        QTest::newRow("Liste, Maus auf dem gewählten") << "Maus" << 0;
        QTest::newRow("Liste, Tasten") << "Tasten" << 1;
        QTest::newRow("Pfeil auf dem geschlossenen Kasten") << "Pfeil" << 1;
        QTest::newRow("Rad") << "Rad" << 1;
        QTest::newRow("Programm") << "Programm" << 2;
        QTest::newRow("Programm, Qt selbst") << "setCurrentIndex" << 2;
    }
    void eingabeListeWahl()
    {
        QFETCH(QString, weg);
        QFETCH(int, index);
        Kasten k;
        QTest::keyClicks(k.liste, QStringLiteral("x"));
        QSignalSpy klicks(k.liste, &EingabeListe::klick);
        QSignalSpy aenderungen(k.liste, &EingabeListe::geaendert);
        QAbstractItemView* ansicht = k.liste->view();
        if (weg == u"Maus" || weg == u"Tasten") {
            k.liste->showPopup();
            QVERIFY(QTest::qWaitFor([ansicht] { return ansicht->isVisible(); }));
            if (weg == u"Maus") {
                const QRect ort = ansicht->visualRect(ansicht->model()->index(index, 0));
                QTest::mouseClick(ansicht->viewport(), Qt::LeftButton, {}, ort.center());
            } else {
                QTest::keyClick(ansicht, Qt::Key_Down);
                QTest::keyClick(ansicht, Qt::Key_Return);
            }
            QVERIFY(QTest::qWaitFor([ansicht] { return !ansicht->isVisible(); }));
        } else if (weg == u"Pfeil") {
            QTest::keyClick(k.liste, Qt::Key_Down);
        } else if (weg == u"Rad") {
            QWheelEvent rad(QPointF(5, 5), k.liste->mapToGlobal(QPointF(5, 5)), {}, QPoint(0, -120), Qt::NoButton,
                            Qt::NoModifier, Qt::NoScrollPhase, false);
            QApplication::sendEvent(k.liste, &rad);
        } else if (weg == u"setCurrentIndex") {
            k.liste->setCurrentIndex(index);
        } else {
            k.liste->setzeListIndex(index);
        }
        QCOMPARE(klicks.count(), 1);
        QCOMPARE(aenderungen.count(), 0); // the text of a selection is no typing
        QCOMPARE(k.liste->ListIndex(), index);
        QCOMPARE(k.liste->Text(), k.liste->itemText(index));
        QCOMPARE(k.liste->lineEdit()->cursorPosition(), 0);
    }

    // The arrows step on from what the box shows, within their range 50..100; from a box
    // beyond it they never go against their direction.
    void pfeileAmRand_data()
    {
        QTest::addColumn<QString>("box");
        QTest::addColumn<int>("richtung");
        QTest::addColumn<QString>("danach");
        QTest::newRow("73 auf") << "73" << +1 << "74";
        QTest::newRow("51 ab") << "51" << -1 << "50";
        QTest::newRow("50 ab") << "50" << -1 << "50";
        QTest::newRow("100 auf") << "100 " << +1 << "100 ";
        QTest::newRow("13 auf") << "13" << +1 << "50";
        QTest::newRow("13 ab") << "13" << -1 << "13";
        QTest::newRow("49 auf") << "49" << +1 << "50";
        QTest::newRow("120 ab") << "120" << -1 << "100";
        QTest::newRow("120 auf") << "120" << +1 << "120";
    }
    void pfeileAmRand()
    {
        QFETCH(QString, box);
        QFETCH(int, richtung);
        QFETCH(QString, danach);
        TextFeld feld(box);
        UpDown pfeile(&feld, 50, 100, 100);
        pfeile.schritt(richtung);
        QCOMPARE(feld.text(), danach);
        QVERIFY(pfeile.Value() >= 50 && pfeile.Value() <= 100);
    }
};

QTEST_MAIN(TestSteuerelemente)
#include "test_steuerelemente.moc"
