#include "hilfe/Form3.h"
#include "hilfe/HilfeTexte.h"

#include <QLabel>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>

namespace {

// The help window as the main window opens it: with the text of an index, the
// opener disabled meanwhile. It deletes itself when it closes.
Form3* zeigen(QWidget& hauptfenster, int index)
{
    auto* hilfe = new Form3(&hauptfenster);
    hilfe->setzeText(hilfeText(index).titel, hilfeText(index).text);
    hauptfenster.setEnabled(false);
    hilfe->zeigen();
    return hilfe;
}

QPushButton* schliessenKnopf(const Form3* hilfe) { return hilfe->findChild<QPushButton*>(QStringLiteral("Command1")); }

QString titelVon(const Form3* hilfe) { return hilfe->findChild<QLabel*>(QStringLiteral("Label1"))->text(); }
QString textVon(const Form3* hilfe) { return hilfe->findChild<QLabel*>(QStringLiteral("Label2"))->text(); }

QStringList absaetze(const QString& text) { return text.split(QStringLiteral("\r\n\r\n")); }

} // namespace

class TestHilfe : public QObject {
    Q_OBJECT
private slots:
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

    void jedesSchliessenGibtDasHauptfensterFrei()
    {
        QWidget hauptfenster;
        hauptfenster.show();

        // "Schließen".
        QPointer<Form3> hilfe = zeigen(hauptfenster, 3);
        QCOMPARE(hilfe->windowTitle(), QStringLiteral("Hilfe"));
        QVERIFY(hilfe->isEnabled() && schliessenKnopf(hilfe)->isEnabled());
        QTest::mouseClick(schliessenKnopf(hilfe), Qt::LeftButton);
        QTRY_VERIFY(!hilfe);
        QVERIFY(hauptfenster.isEnabled());

        // The title bar's close box.
        hilfe = zeigen(hauptfenster, 3);
        QVERIFY(hilfe->close());
        QTRY_VERIFY(!hilfe);
        QVERIFY(hauptfenster.isEnabled());

        // Escape.
        hilfe = zeigen(hauptfenster, 9);
        QTest::keyClick(schliessenKnopf(hilfe), Qt::Key_Escape);
        QTRY_VERIFY(!hilfe);
        QVERIFY(hauptfenster.isEnabled());
    }

    void fundDialogWirdMitFreigegeben()
    {
        QWidget hauptfenster;
        hauptfenster.show();
        // A stand-in for the find-location dialog: open, and disabled by its own help.
        QWidget fund;
        fund.show();

        QPointer<Form3> hilfe = zeigen(hauptfenster, 12);
        hilfe->setzeFundDialog(&fund);
        fund.setEnabled(false);
        QVERIFY(hilfe->close());
        QTRY_VERIFY(!hilfe);
        QVERIFY(fund.isEnabled());
        QVERIFY(hauptfenster.isEnabled());

        hilfe = zeigen(hauptfenster, 12);
        hilfe->setzeFundDialog(&fund);
        fund.setEnabled(false);
        QTest::mouseClick(schliessenKnopf(hilfe), Qt::LeftButton);
        QTRY_VERIFY(!hilfe);
        QVERIFY(fund.isEnabled());
        QVERIFY(hauptfenster.isEnabled());

        // A find-location dialog that was closed meanwhile is left alone.
        hilfe = zeigen(hauptfenster, 12);
        hilfe->setzeFundDialog(&fund);
        fund.setEnabled(false);
        fund.hide();
        QVERIFY(hilfe->close());
        QTRY_VERIFY(!hilfe);
        QVERIFY(!fund.isEnabled());
        QVERIFY(hauptfenster.isEnabled());
    }

    void jederTextGanzLesbar()
    {
        int laengster = 0;
        for (int i = 1; i < anzahlHilfeTexte; ++i)
            if (hilfeText(i).text.size() > hilfeText(laengster).text.size())
                laengster = i;
        QCOMPARE(laengster, 0);

        // Texts of every length in turn, in one window, as the main window hands them over.
        QWidget hauptfenster;
        hauptfenster.show();
        Form3 hilfe(&hauptfenster);
        for (int i : {8, 0, 14, 6, 12, 5}) {
            hilfe.setzeText(hilfeText(i).titel, hilfeText(i).text);
            hilfe.zeigen();
            QVERIFY(QTest::qWaitForWindowExposed(&hilfe));
            QCOMPARE(titelVon(&hilfe), hilfeText(i).titel);
            QCOMPARE(textVon(&hilfe), hilfeText(i).text);
            auto* text = hilfe.findChild<QLabel*>(QStringLiteral("Label2"));
            auto* titel = hilfe.findChild<QLabel*>(QStringLiteral("Label1"));
            QVERIFY(text->wordWrap());
            QVERIFY2(text->height() >= text->heightForWidth(text->width()), qPrintable(QString::number(i)));
            QVERIFY2(titel->height() >= titel->heightForWidth(titel->width()), qPrintable(QString::number(i)));
            QVERIFY(hilfe.rect().contains(text->geometry()));
            const QRect bildschirm = hilfe.screen()->availableGeometry();
            QVERIFY2(hilfe.frameGeometry().height() <= bildschirm.height(), qPrintable(QString::number(i)));
            QVERIFY(hilfe.frameGeometry().width() <= bildschirm.width());
            // "Schließen" stays below the text, whole.
            auto* schliessen = schliessenKnopf(&hilfe);
            QVERIFY(schliessen->geometry().top() >= text->geometry().bottom());
            QVERIFY(hilfe.rect().contains(schliessen->geometry()));
        }
    }

    void programmsymbol()
    {
        QWidget hauptfenster;
        Form3 hilfe(&hauptfenster);
        const QImage bild = hilfe.windowIcon().pixmap(32, 32).toImage();
        QVERIFY(!bild.isNull());
        QCOMPARE(bild.size(), QSize(32, 32));
        // Drawn, not blank: the frame's wood at the left edge, transparent corners.
        QCOMPARE(qAlpha(bild.pixel(16, 1)), 0);
        QVERIFY(qAlpha(bild.pixel(3, 16)) > 200);
    }
};

QTEST_MAIN(TestHilfe)
#include "test_hilfe.moc"
