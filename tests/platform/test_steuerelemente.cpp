#include "platform/Steuerelemente.h"

#include <QSignalSpy>
#include <QTest>

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
};

QTEST_MAIN(TestSteuerelemente)
#include "test_steuerelemente.moc"
