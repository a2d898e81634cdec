#include "app/Form1.h"
#include "hilfe/Form3.h"
#include "hilfe/HilfeTexte.h"

#include "Einstellungsdatei.h"
#include "TestDienste.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace {

// A start without the start message, the main window on screen.
void ohneStartmeldung() { einstellungsdatei::schreiben(QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 1, 0, '_web', 2")); }

QPushButton* hilfeKnopf(const Form1& f, int index)
{
    return f.findChild<QPushButton*>(QStringLiteral("Command4(%1)").arg(index));
}

QString titelVon(const Form3* hilfe) { return hilfe->findChild<QLabel*>(QStringLiteral("Label1"))->text(); }
QString textVon(const Form3* hilfe) { return hilfe->findChild<QLabel*>(QStringLiteral("Label2"))->text(); }

QStringList absaetze(const QString& text) { return text.split(QStringLiteral("\r\n\r\n")); }

} // namespace

class TestHilfe : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testUmgebungEinrichten(); }
    void init() { QDir(einstellungsdatei::ordner()).removeRecursively(); }

    void texteMitIhrenEigenheiten()
    {
        // Slips, stray blanks and the closing line break belong to the texts.
        QCOMPARE(hilfeText(8).titel, QStringLiteral("Zuschneiden"));
        QCOMPARE(hilfeText(8).text,
                 QStringLiteral("Wenn Ihr Bild die Kriterien für die Veröffentlichung im Flattrium erfüllt un d Sie mit Ihrer "
                                "Bearbeitung zufrieden sind, schneiden Sie das Bild jetzt zu. An Ihrer Originaldatei wird "
                                "dabei´noch immer KEINE Veränderung vorgenommen.\r\n"));
        QCOMPARE(hilfeText(14).titel, QStringLiteral("Ganzes Bild auswählen"));
        QCOMPARE(hilfeText(14).text,
                 QStringLiteral("Sind die Abmessungen von Quelldatei und Zieldatei gleich groß, ist ein mit der Maus "
                                "aufgezogener Rahmen immer zu klein und man erhät eine Fehlermeldung. Um das zu vermeiden, "
                                "können Sie mit dieser Schaltfläche das ganze Bild zum Auswahlbereich machen."));
        QCOMPARE(hilfeText(13).titel, QStringLiteral("Datei öffnen..."));
        QCOMPARE(hilfeText(13).text,
                 QStringLiteral("Öffnen Sie eine JPEG-Bilddatei zur Bearbeitung. WICHTIG: Eine geöffnete Datei wird während "
                                "der gesamten Bearbeitungsphase nicht verändert. Sie können jederzeit eine andere Datei öffnen. "
                                "Dabei gehen zwar Ihre Veränderungen ohne Nachfrage verloren, aber die Originaldatei bleibt "
                                "erhalten.\r\nZum komfortablen Öffnen von Dateien können Sie in den BEVORZUGTEN EINSTELLUNGEN "
                                "einen Ordner angeben, in dem sich die meisten Ihrer zu bearbeitenden Dateien befinden. Dieser "
                                "Ordner wird dann im DATEI ÖFFNEN-Dialog voreingestellt. Das können Sie  natürlich auch für den "
                                "Dialog DATEI SPEICHERN UNTER tun."));
        QCOMPARE(hilfeText(12).text,
                 QStringLiteral("Diese Funktion dient dazu , mit möglichst wenigen Mausklicks und Tastatureingaben die "
                                "Funddaten zum bearbeiteten Bild in dem vom Flattrium vorgeschriebenen Format "
                                "zusammenzustellen.\r\nDiese Funktion ist lernfähig, d.h. Sie können Fundortangaben speichern "
                                "und vorhandene Daten mit wenigen Klicks auswählen, ohne viel tippen zu müssen."));
        // Two blanks where one piece ends with a blank and the next begins with one.
        QVERIFY(hilfeText(6).text.contains(QStringLiteral("diagonal durch das Bild.  Nachdem Sie die Maustaste")));
        QVERIFY(hilfeText(6).text.contains(QStringLiteral("bei gleichbleibender Größe verschieben. \r\nWenn Sie")));
        QCOMPARE(hilfeText(4).titel, QStringLiteral("Seitenverhältnis und Farbe des Auswahlrahmens "));
        QCOMPARE(hilfeText(11).titel, QStringLiteral("Bevorzugte Starteinstellungen"));
        QVERIFY(hilfeText(11).text.startsWith(QStringLiteral("Hier öffnen Sie ein Dialogfeld, mit dem Sie die Einstellungen "
                                                             "für Format und Farbe des Auswahlrahmens, Abmessungen")));
        QVERIFY(hilfeText(11).text.endsWith(QStringLiteral("für die Dialogfelder DATEI ÖFFNEN und SPEICHERN UNTER festlegen.")));
        QCOMPARE(hilfeText(0).titel, QStringLiteral("Eignung eines Bildes zur Veröffentlichung im Flattrium"));
        QCOMPARE(hilfeText(0).text.size(), 1013);
    }

    void gemeinsameAbsaetze()
    {
        // Index 5 begins with the first two paragraphs of index 1 and goes on about the target format.
        QCOMPARE(hilfeText(5).titel, hilfeText(1).titel);
        QCOMPARE(hilfeText(1).titel, QStringLiteral("Geeignete Abmessungen für die Veröffentlichung im Flattrium"));
        const QStringList eins = absaetze(hilfeText(1).text);
        QCOMPARE(eins.size(), 3);
        QVERIFY(hilfeText(5).text.startsWith(eins[0] + QStringLiteral("\r\n\r\n") + eins[1] + QStringLiteral("\r\n\r\n")
                                             + QStringLiteral("Die Abmessungen stehen in direkter Beziehung zum Format des "
                                                              "Auswahlrahmens, d.h. haben Sie")));
        QVERIFY(hilfeText(5).text.endsWith(QStringLiteral("Die Höhe des Bildes wird dann im Seitenverhältnis des "
                                                          "Auswahlrahmens errechnet.")));

        // Index 7 puts its own paragraph between the first paragraph and the tips of index 2.
        const QString zwei = hilfeText(2).text;
        const QString erster = zwei.left(zwei.indexOf(QStringLiteral("\r\n")) + 2);
        QVERIFY(erster.endsWith(QStringLiteral("erreicht ist. \r\n")));
        const QString tipps = zwei.mid(erster.size());
        QVERIFY(tipps.startsWith(QStringLiteral("Tipp: Sollte bei 'Dateigröße'")));
        const QString sieben = hilfeText(7).text;
        QVERIFY(sieben.startsWith(erster + QStringLiteral("Benutzen Sie den Regler oder geben Sie einen Wert zwischen 50 "
                                                          "und 100 manuell ein.")));
        QVERIFY(sieben.endsWith(QStringLiteral("erst dann nutzen, wenn Sie einen Auswahlrahmen aufgezogen haben!\r\n\r\n") + tipps));
    }

    void zeilenumbruecheUndLeereIndizes()
    {
        for (int i = 0; i < anzahlHilfeTexte; ++i) {
            const HilfeEintrag e = hilfeText(i);
            QVERIFY2(!e.titel.isEmpty() && !e.text.isEmpty(), qPrintable(QString::number(i)));
            // Every line break is CR LF; no lone CR or LF.
            QString ohne = e.text;
            ohne.remove(QStringLiteral("\r\n"));
            QVERIFY2(!ohne.contains(u'\r') && !ohne.contains(u'\n'), qPrintable(QString::number(i)));
        }
        for (int i : {-1, 15, 100}) {
            QCOMPARE(hilfeText(i).titel, QString());
            QCOMPARE(hilfeText(i).text, QString());
        }
    }

    void jederKnopfZeigtSeineHilfe()
    {
        ohneStartmeldung();
        TestDienste dienste;
        Form1 f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
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
            QCOMPARE(textVon(hilfe), hilfeText(i).text);
            QVERIFY(!f.isEnabled());
            QVERIFY(hilfe->isEnabled());
            QVERIFY(hilfe->findChild<QPushButton*>(QStringLiteral("Command1"))->isEnabled());
            QTest::mouseClick(hilfe->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
            QTRY_VERIFY(!f.hilfe());
            QVERIFY(f.isEnabled());
        }
    }

    void jedesSchliessenGibtDasHauptfensterFrei()
    {
        ohneStartmeldung();
        TestDienste dienste;
        Form1 f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));

        // The title bar's close box.
        QTest::mouseClick(hilfeKnopf(f, 3), Qt::LeftButton);
        QVERIFY(!f.isEnabled());
        QVERIFY(f.hilfe()->close());
        QTRY_VERIFY(!f.hilfe());
        QVERIFY(f.isEnabled());

        // Escape.
        QTest::mouseClick(hilfeKnopf(f, 9), Qt::LeftButton);
        QVERIFY(!f.isEnabled());
        QTest::keyClick(f.hilfe()->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::Key_Escape);
        QTRY_VERIFY(!f.hilfe());
        QVERIFY(f.isEnabled());

        // The next click loads the window afresh.
        QTest::mouseClick(hilfeKnopf(f, 12), Qt::LeftButton);
        QCOMPARE(titelVon(f.hilfe()), QStringLiteral("Fundortzusammenstellung"));
    }

    void startmeldungNimmtDieNaechsteHilfeAuf()
    {
        einstellungsdatei::schreiben(QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 1, 1, '_web', 2"));
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

    void fundDialogWirdMitFreigegeben()
    {
        ohneStartmeldung();
        TestDienste dienste;
        Form1 f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        // A stand-in for the find-location dialog: open, and disabled by its own help.
        QWidget fund;
        fund.show();

        QTest::mouseClick(hilfeKnopf(f, 12), Qt::LeftButton);
        f.hilfe()->setzeFundDialog(&fund);
        fund.setEnabled(false);
        QVERIFY(f.hilfe()->close());
        QTRY_VERIFY(!f.hilfe());
        QVERIFY(fund.isEnabled());
        QVERIFY(f.isEnabled());

        QTest::mouseClick(hilfeKnopf(f, 12), Qt::LeftButton);
        f.hilfe()->setzeFundDialog(&fund);
        fund.setEnabled(false);
        QTest::mouseClick(f.hilfe()->findChild<QPushButton*>(QStringLiteral("Command1")), Qt::LeftButton);
        QTRY_VERIFY(!f.hilfe());
        QVERIFY(fund.isEnabled());
        QVERIFY(f.isEnabled());

        // A find-location dialog that was closed meanwhile is left alone.
        QTest::mouseClick(hilfeKnopf(f, 12), Qt::LeftButton);
        f.hilfe()->setzeFundDialog(&fund);
        fund.setEnabled(false);
        fund.hide();
        QVERIFY(f.hilfe()->close());
        QTRY_VERIFY(!f.hilfe());
        QVERIFY(!fund.isEnabled());
        QVERIFY(f.isEnabled());
    }

    void jederTextGanzLesbar()
    {
        ohneStartmeldung();
        TestDienste dienste;
        Form1 f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        int laengster = 0;
        for (int i = 1; i < anzahlHilfeTexte; ++i)
            if (hilfeText(i).text.size() > hilfeText(laengster).text.size())
                laengster = i;
        QCOMPARE(laengster, 0);

        // Texts of every length in turn, in one window, as a user might click them.
        for (int i : {8, 0, 14, 6, 12, 5}) {
            QTest::mouseClick(hilfeKnopf(f, i), Qt::LeftButton);
            Form3* hilfe = f.hilfe();
            QVERIFY(QTest::qWaitForWindowExposed(hilfe));
            auto* text = hilfe->findChild<QLabel*>(QStringLiteral("Label2"));
            auto* titel = hilfe->findChild<QLabel*>(QStringLiteral("Label1"));
            QVERIFY(text->wordWrap());
            QVERIFY2(text->height() >= text->heightForWidth(text->width()), qPrintable(QString::number(i)));
            QVERIFY2(titel->height() >= titel->heightForWidth(titel->width()), qPrintable(QString::number(i)));
            QVERIFY(hilfe->rect().contains(text->geometry()));
            const QRect bildschirm = hilfe->screen()->availableGeometry();
            QVERIFY2(hilfe->frameGeometry().height() <= bildschirm.height(), qPrintable(QString::number(i)));
            QVERIFY(hilfe->frameGeometry().width() <= bildschirm.width());
            // "Schließen" stays below the text, whole.
            auto* schliessen = hilfe->findChild<QPushButton*>(QStringLiteral("Command1"));
            QVERIFY(schliessen->geometry().top() >= text->geometry().bottom());
            QVERIFY(hilfe->rect().contains(schliessen->geometry()));
        }
    }

    void programmsymbolAnJedemFenster()
    {
        ohneStartmeldung();
        TestDienste dienste;
        Form1 f;
        QTest::mouseClick(hilfeKnopf(f, 0), Qt::LeftButton);
        for (QWidget* w : {static_cast<QWidget*>(&f), static_cast<QWidget*>(f.hilfe())}) {
            const QImage bild = w->windowIcon().pixmap(32, 32).toImage();
            QVERIFY2(!bild.isNull(), qPrintable(w->objectName()));
            QCOMPARE(bild.size(), QSize(32, 32));
            // Drawn, not blank: the frame's wood at the left edge, transparent corners.
            QCOMPARE(qAlpha(bild.pixel(16, 1)), 0);
            QVERIFY(qAlpha(bild.pixel(3, 16)) > 200);
        }
    }
};

QTEST_MAIN(TestHilfe)
#include "test_hilfe.moc"
