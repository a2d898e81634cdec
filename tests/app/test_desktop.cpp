// The main window as a desktop program: photos handed over by the desktop,
// shortcuts, remembered and centred windows, the JPEG view. Runs on two
// offscreen screens (bildschirme.json): 1600 x 1000 and 1280 x 1024 beside it.
#include "app/Ansicht.h"
#include "app/Form1.h"
#include "hilfe/HilfeTexte.h"
#include "codec/JpegDienst.h"
#include "platform/Fensterlage.h"
#include "platform/Flaechen.h"
#include "platform/Nebenfenster.h"
#include "platform/Steuerelemente.h"

#include "Fensterhilfe.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QFile>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPointer>
#include <QPushButton>
#include <QSettings>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

using namespace fensterhilfe;

namespace {

QWidget* fensterNamens(const char* name)
{
    const auto fenster = QApplication::topLevelWidgets();
    for (QWidget* w : fenster)
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    return nullptr;
}

bool aktivieren(QWidget& w)
{
    w.show();
    QApplication::setActiveWindow(&w);
    return QTest::qWaitForWindowActive(&w);
}

// What the load leaves behind, as far as the window shows it.
struct Bildzustand {
    QString text1, lblQ, lblQKB, lblQpruef, lblQMassnahme, lblAnsicht, textKomp;
    bool zuschneiden, speichern, ganzesBild, veroeffentlichen, ansichtSichtbar;
    QStringList meldungen;
    QString fileTitle, ordner; // what the next file dialog starts with

    static Bildzustand von(const Form1& f, const QStringList& meldungen)
    {
        return {text(f, "Text1"), text(f, "lblQ"), text(f, "lblQKB"), text(f, "lblQprüf"), text(f, "lblQMaßnahme"),
                text(f, "lblAnsicht"), text(f, "TextKomp"), finde<QPushButton>(f, "Command1")->isEnabled(),
                finde<QPushButton>(f, "Command2")->isEnabled(), finde<QPushButton>(f, "Command7")->isEnabled(),
                finde<QPushButton>(f, "Command3")->isEnabled(), finde(f, "picZiel")->isVisible(), meldungen, {}, {}};
    }
    bool operator==(const Bildzustand&) const = default;
};

QStringList neueMeldungen(TestDienste& dienste)
{
    QStringList texte;
    for (const auto& m : std::as_const(dienste.meldungen))
        texte << m.text + QLatin1Char('|') + m.titel;
    dienste.meldungen.clear();
    return texte;
}

std::unique_ptr<QMimeData> urls(const QList<QUrl>& liste)
{
    auto daten = std::make_unique<QMimeData>();
    daten->setUrls(liste);
    return daten;
}

// Sends a drag over widget and, when it is taken, the drop; returns whether it was taken.
bool ziehenUndAblegen(QWidget* widget, const QMimeData* daten)
{
    const QPoint mitte = widget->rect().center();
    QDragEnterEvent betreten(mitte, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, daten, Qt::LeftButton, {});
    betreten.ignore();
    QApplication::sendEvent(widget, &betreten);
    if (!betreten.isAccepted())
        return false;
    if (betreten.dropAction() != Qt::CopyAction) {
        qWarning("a dropped file is to be copied, never moved");
        return false;
    }
    QDropEvent fallen(mitte, Qt::CopyAction | Qt::MoveAction | Qt::LinkAction, daten, Qt::LeftButton, {});
    fallen.ignore();
    QApplication::sendEvent(widget, &fallen);
    return fallen.isAccepted();
}

} // namespace

class TestDesktop : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        testUmgebungEinrichten();
        QVERIFY(m_ordner.isValid());
        m_jpeg = m_ordner.filePath(QStringLiteral("Grüne Wiese.jpg"));
        QVERIFY(testbilder::schreiben(m_jpeg, testbilder::alsJpeg(testbilder::verlauf(1200, 800))));
        m_zweites = m_ordner.filePath(QStringLiteral("zweites.jpg"));
        QVERIFY(testbilder::schreiben(m_zweites, testbilder::alsJpeg(testbilder::verlauf(900, 1350))));
        m_keinJpeg = m_ordner.filePath(QStringLiteral("notiz.jpg"));
        QVERIFY(testbilder::schreiben(m_keinJpeg, QByteArray("Kein Bild, nur eine Notiz.\n")));
        QCOMPARE(QGuiApplication::screens().size(), 2);
    }
    void init()
    {
        QVERIFY(ohneStartmeldung());
        QFile::remove(konfigurationsDatei());
    }

    // --- photos handed over by the desktop ---

    // A file from the command line or a drop takes exactly the open dialog's way:
    // the same checks, messages, resets and pause of the view, and the dialog
    // then starts in its folder.
    void uebernahmeWieDerDialog_data()
    {
        QTest::addColumn<QString>("datei");
        QTest::addColumn<bool>("geladen");
        QTest::newRow("JPEG") << m_jpeg << true;
        QTest::newRow("keine JPEG-Datei") << m_keinJpeg << false;
        QTest::newRow("fehlt") << m_ordner.filePath(QStringLiteral("fehlt.jpg")) << false;
    }
    void uebernahmeWieDerDialog()
    {
        QFETCH(QString, datei);
        QFETCH(bool, geladen);
        TestDienste dienste;
        Form1 dialogFenster, uebergabeFenster;
        Bildzustand zustand[2];
        Form1* fenster[2] = {&dialogFenster, &uebergabeFenster};
        for (int i = 0; i < 2; ++i) {
            Form1& f = *fenster[i];
            f.show();
            QVERIFY(QTest::qWaitForWindowExposed(&f));
            // A picture with a changed quality, so that the resets show.
            oeffnen(f, dienste, m_zweites);
            QVERIFY(ansichtBereit(f));
            finde<QLineEdit>(f, "TextKomp")->setText(QStringLiteral("75"));
            neueMeldungen(dienste);

            if (i == 0)
                oeffnen(f, dienste, datei);
            else
                f.dateiUebernehmen(datei);
            QCOMPARE(!finde(f, "picZiel")->isEnabled(), geladen); // the pause of the view
            zustand[i] = Bildzustand::von(f, neueMeldungen(dienste));
            QVERIFY(ansichtBereit(f));
            // The file dialog, shown once more and cancelled, starts from what the load left.
            oeffnen(f, dienste, QString());
            zustand[i].fileTitle = dienste.gezeigteDialoge.constLast().FileTitle;
            zustand[i].ordner = dienste.gezeigteDialoge.constLast().letzterOrdner;
        }
        QCOMPARE(zustand[1].meldungen, zustand[0].meldungen);
        QCOMPARE(zustand[1].meldungen.isEmpty(), geladen);
        QCOMPARE(zustand[1].text1, zustand[0].text1);
        QCOMPARE(zustand[1].lblQ, zustand[0].lblQ);
        QCOMPARE(zustand[1].textKomp, geladen ? QStringLiteral("92") : QStringLiteral("75"));
        QCOMPARE(zustand[1].fileTitle, QFileInfo(datei).fileName());
        QVERIFY(zustand[1] == zustand[0]);
        if (geladen)
            QCOMPARE(zustand[1].lblQ, QStringLiteral("1200 x 800"));

        // The next open dialog starts in the folder of the file handed over.
        QCOMPARE(zustand[1].ordner, QFileInfo(datei).absolutePath());
    }

    // Dropped anywhere on the window, its text boxes included, a local file loads;
    // anything else gets no drop cursor.
    void ablegen_data()
    {
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<QList<QUrl>>("liste");
        QTest::addColumn<bool>("angenommen");
        QTest::addColumn<QString>("lblQ");
        QTest::addColumn<int>("meldungen");
        const QUrl bild = QUrl::fromLocalFile(m_jpeg);
        QTest::newRow("JPEG aufs Fenster") << "Form1" << QList<QUrl>{bild} << true << "1200 x 800" << 0;
        QTest::newRow("JPEG aufs Qualitätsfeld") << "TextKomp" << QList<QUrl>{bild} << true << "1200 x 800" << 0;
        QTest::newRow("JPEG auf den Pfad") << "Text1" << QList<QUrl>{bild} << true << "1200 x 800" << 0;
        QTest::newRow("mehrere: das erste") << "Form1" << QList<QUrl>{bild, QUrl::fromLocalFile(m_zweites)} << true
                                            << "1200 x 800" << 0;
        QTest::newRow("keine JPEG-Datei: Meldung") << "Form1" << QList<QUrl>{QUrl::fromLocalFile(m_keinJpeg)} << true
                                                   << "" << 1;
        QTest::newRow("Adresse im Netz") << "Form1" << QList<QUrl>{QUrl(QStringLiteral("https://example.org/a.jpg"))}
                                         << false << "" << 0;
        QTest::newRow("Ordner") << "Form1" << QList<QUrl>{QUrl::fromLocalFile(m_ordner.path())} << false << "" << 0;
    }
    void ablegen()
    {
        QFETCH(QString, ziel);
        QFETCH(QList<QUrl>, liste);
        QFETCH(bool, angenommen);
        QFETCH(QString, lblQ);
        QFETCH(int, meldungen);
        TestDienste dienste;
        Form1 f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QWidget* widget = ziel == "Form1" ? &f : f.findChild<QWidget*>(ziel);
        const auto daten = urls(liste);
        QCOMPARE(ziehenUndAblegen(widget, daten.get()), angenommen);
        QCOMPARE(text(f, "lblQ"), lblQ);
        QCOMPARE(dienste.meldungen.size(), meldungen);
        if (meldungen)
            QVERIFY(dienste.meldungen[0].text.contains(QStringLiteral("kann nicht als JPEG-Bild gelesen werden")));
        QCOMPARE(finde<QLineEdit>(f, "TextKomp")->text(), QStringLiteral("92"));
        if (!lblQ.isEmpty())
            QCOMPARE(finde<QLineEdit>(f, "Text1")->text(), m_jpeg);
    }

    void keinAblegenWaehrendEinNebenfensterOffenIst()
    {
        TestDienste dienste;
        Form1 f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QTest::mouseClick(finde<QPushButton>(f, "Command5"), Qt::LeftButton);
        QVERIFY(!f.isEnabled());
        const auto daten = urls({QUrl::fromLocalFile(m_jpeg)});
        QVERIFY(!ziehenUndAblegen(&f, daten.get()));
        QVERIFY(!ziehenUndAblegen(finde(f, "TextKomp"), daten.get()));
        QCOMPARE(text(f, "lblQ"), QString());
        QVERIFY(fensterNamens("Form2")->close());
        QVERIFY(f.isEnabled());
        QVERIFY(ziehenUndAblegen(&f, daten.get()));
        QCOMPARE(text(f, "lblQ"), QStringLiteral("1200 x 800"));
    }

    // --- keys ---

    void kurzwahlen()
    {
        TestDienste dienste;
        Form1 f;
        QVERIFY(aktivieren(f));

        dienste.oeffnenAntworten << m_jpeg;
        QTest::keyClick(&f, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(dienste.gezeigteDialoge.size(), 1);
        QCOMPARE(text(f, "lblQ"), QStringLiteral("1200 x 800"));
        QVERIFY(ansichtBereit(f));

        // "Speichern unter ..." is not yet possible, so neither is its key.
        QTest::keyClick(&f, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(dienste.gezeigteDialoge.size(), 1);
        QTest::mouseClick(finde<QPushButton>(f, "Command7"), Qt::LeftButton);
        QTest::mouseClick(finde<QPushButton>(f, "Command1"), Qt::LeftButton);
        QVERIFY(finde<QPushButton>(f, "Command2")->isEnabled());
        QTest::keyClick(&f, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(dienste.gezeigteDialoge.size(), 2);
        QCOMPARE(dienste.gezeigteDialoge[1].DialogTitle, QStringLiteral("Speichern unter"));

        // Strg+Z: typing is undone in its text box; anywhere else the crop is undone, and
        // Strg+Umschalt+Z does it again.
        auto* komp = finde<QLineEdit>(f, "TextKomp");
        const QString qualitaet = komp->text();
        komp->setFocus();
        komp->end(false);
        QTest::keyClicks(komp, QStringLiteral("5"));
        QTest::keyClick(komp, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(komp->text(), qualitaet);
        QVERIFY(finde<QPushButton>(f, "Command2")->isEnabled());
        auto* pfad = finde(f, "Text1");
        pfad->setFocus();
        QTest::keyClick(pfad, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(finde<QPushButton>(f, "Command1")->isEnabled());
        QVERIFY(!finde<QPushButton>(f, "Command2")->isEnabled());
        QVERIFY(sichtbar(f, "Shape1"));
        QTest::keyClick(pfad, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QVERIFY(finde<QPushButton>(f, "Command2")->isEnabled());
        QVERIFY(!sichtbar(f, "Shape1"));

        // F1: the help of the step in which the focus stands.
        finde(f, "TextKomp")->setFocus();
        QTest::keyClick(&f, Qt::Key_F1);
        QVERIFY(f.hilfe() && f.hilfe()->isVisible());
        QCOMPARE(f.hilfe()->findChild<QLabel*>(QStringLiteral("Label1"))->text(), hilfeText(7).titel);
        QVERIFY(!f.isEnabled());
        // No key of the main window acts while the help has it disabled.
        QTest::keyClick(&f, Qt::Key_O, Qt::ControlModifier);
        QCOMPARE(dienste.gezeigteDialoge.size(), 2);
        QVERIFY(f.hilfe()->close());
        QVERIFY(f.isEnabled());

        // Strg+Q ends the program, whichever of its windows is in front.
        QTest::mouseClick(finde<QPushButton>(f, "Command5"), Qt::LeftButton);
        QWidget* einstellungen = fensterNamens("Form2");
        QVERIFY(einstellungen && aktivieren(*einstellungen));
        QTest::keyClick(einstellungen, Qt::Key_Q, Qt::ControlModifier);
        QTRY_VERIFY(!f.isVisible());
        QVERIFY(!fensterNamens("Form2"));
    }

    void hilfeZumFokus_data()
    {
        QTest::addColumn<QString>("steuerelement");
        QTest::addColumn<int>("index");
        QTest::newRow("Datei öffnen") << "cmdÖffnen" << 13;
        QTest::newRow("Seitenverhältnis") << "Combo1" << 4;
        QTest::newRow("Farbe") << "oColor" << 4;
        QTest::newRow("Zielgröße") << "List1" << 5;
        QTest::newRow("Breite") << "TextB" << 5;
        QTest::newRow("ganzes Bild") << "Command7" << 14;
        QTest::newRow("Qualität") << "TextKomp" << 7;
        QTest::newRow("Zuschneiden") << "Command1" << 8;
        QTest::newRow("Speichern") << "Command2" << 9;
        QTest::newRow("Veröffentlichen") << "Command3" << 10;
        QTest::newRow("Einstellungen") << "Command5" << 11;
        QTest::newRow("Fundort") << "Command6" << 12;
        QTest::newRow("Bildfläche") << "picZiel" << 6;
        QTest::newRow("ein ?") << "Command4(2)" << 2;
        QTest::newRow("Dateipfad") << "Text1" << 0;
        QTest::newRow("JPEG-Vorschau") << "chkJpegVorschau" << 7;
        QTest::newRow("nichts") << "" << 0;
    }
    void hilfeZumFokus()
    {
        QFETCH(QString, steuerelement);
        QFETCH(int, index);
        TestDienste dienste;
        Form1 f;
        const QWidget* fokus = steuerelement.isEmpty() ? nullptr : f.findChild<QWidget*>(steuerelement);
        QVERIFY(steuerelement.isEmpty() || fokus);
        QCOMPARE(f.hilfeIndexFuer(fokus), index);
    }

    // Fifteen buttons captioned "?", told apart by their help's title.
    void hilfeknoepfeBenannt()
    {
        TestDienste dienste;
        Form1 f;
        for (int i = 0; i < anzahlHilfeTexte; ++i) {
            auto* knopf = f.findChild<QPushButton*>(QStringLiteral("Command4(%1)").arg(i));
            QVERIFY(knopf);
            QCOMPARE(knopf->text(), QStringLiteral("?"));
            QVERIFY(!hilfeText(i).titel.isEmpty());
            QCOMPARE(knopf->toolTip(), hilfeText(i).titel);
            QCOMPARE(knopf->accessibleName(), hilfeText(i).titel);
        }
    }

    // --- where the windows appear ---

    void nebenfensterMittigUeberDemHauptfenster_data()
    {
        QTest::addColumn<QString>("oeffner");
        QTest::addColumn<QString>("fenster");
        QTest::addColumn<QRect>("hauptfenster");
        QTest::newRow("Einstellungen") << "Command5" << "Form2" << QRect(200, 100, 1058, 743);
        QTest::newRow("Info") << "lblKontakt" << "frmAbout" << QRect(200, 100, 1058, 743);
        QTest::newRow("Hilfe") << "Command4(6)" << "Form3" << QRect(200, 100, 1058, 743);
        QTest::newRow("auf dem zweiten Bildschirm") << "Command5" << "Form2" << QRect(1700, 200, 1058, 743);
    }
    void nebenfensterMittigUeberDemHauptfenster()
    {
        QFETCH(QString, oeffner);
        QFETCH(QString, fenster);
        QFETCH(QRect, hauptfenster);
        TestDienste dienste;
        Form1 f;
        f.setGeometry(hauptfenster);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QWidget* knopf = f.findChild<QWidget*>(oeffner);
        QTest::mouseClick(knopf, Qt::LeftButton, {}, QPoint(5, 5));
        QWidget* neben = fensterNamens(fenster.toUtf8().constData());
        QVERIFY(neben);
        const QPoint versatz = neben->geometry().center() - f.geometry().center();
        QVERIFY2(versatz.manhattanLength() <= 1, qPrintable(QStringLiteral("off by %1, %2").arg(versatz.x()).arg(versatz.y())));
        QVERIFY(neben->close());
    }

    // Where the main window reaches off the screen, the secondary window stays on it.
    void nebenfensterBleibtAufDemBildschirm()
    {
        TestDienste dienste;
        Form1 f;
        f.setGeometry(-800, 600, 1058, 743);
        f.show();
        QTest::mouseClick(finde<QPushButton>(f, "Command5"), Qt::LeftButton);
        QWidget* neben = fensterNamens("Form2");
        QVERIFY(neben);
        // The frame too: the window system's frame is taken to be as thick as the main window's.
        const QMargins rahmen = fensterrahmen(&f);
        QCOMPARE(fensterrahmen(neben), rahmen);
        QCOMPARE(neben->geometry(), QRect(QPoint(rahmen.left(), 1000 - rahmen.bottom() - neben->height()), neben->size()));
        QVERIFY(neben->close());
    }

    // A window placed in the middle of the screen before it shows (as the
    // find-location dialog is) keeps that place.
    void aufDemBildschirmZentriertBleibtEs()
    {
        TestDienste dienste;
        Form1 f;
        f.setGeometry(1700, 200, 1058, 743);
        f.show();
        QPointer<EigenesFenster> fenster = new EigenesFenster(&f);
        fenster->resize(400, 300);
        aufBildschirmZentrieren(fenster, &f);
        fenster->zeigen();
        QCOMPARE(fenster->geometry(), QRect(1600 + (1280 - 400) / 2, (1024 - 300) / 2, 400, 300));
        delete fenster.data();
    }

    void hauptfensterMerktSeinenPlatz()
    {
        TestDienste dienste;
        const QSize entwurf(1058, 743);
        {
            // The first start: the design size in the middle of the primary screen.
            Form1 f(nullptr, Form1::Lage::Gemerkt);
            f.show();
            QCOMPARE(f.geometry(), QRect(QPoint((1600 - 1058) / 2, (1000 - 743) / 2), entwurf));
            f.setGeometry(1700, 60, 1000, 700);
            QVERIFY(f.close());
        }
        {
            Form1 f(nullptr, Form1::Lage::Gemerkt);
            f.show();
            QCOMPARE(f.geometry(), QRect(1700, 60, 1000, 700));
            QVERIFY(!f.isMaximized());
            f.showMaximized();
            QVERIFY(f.close());
        }
        {
            Form1 f(nullptr, Form1::Lage::Gemerkt);
            QVERIFY(f.windowState() & Qt::WindowMaximized);
            f.show();
            QCOMPARE(f.normalGeometry(), QRect(1700, 60, 1000, 700));
            f.showNormal();
            QCOMPARE(f.geometry(), QRect(1700, 60, 1000, 700));
            QVERIFY(f.close());
        }
        {
            // A place no screen shows any longer (a screen since removed) is forgotten.
            QSettings einstellungen(konfigurationsDatei(), QSettings::IniFormat);
            einstellungen.setValue(QStringLiteral("Hauptfenster/Lage"), QRect(3000, 60, 1000, 700));
            einstellungen.setValue(QStringLiteral("Hauptfenster/Maximiert"), true);
        }
        {
            Form1 f(nullptr, Form1::Lage::Gemerkt);
            f.show();
            QVERIFY(!f.isMaximized());
            QCOMPARE(f.geometry(), QRect(QPoint(271, 128), entwurf));
        }
        // Windows at their design size (tests, benchmarks) neither read nor write a place.
        QFile::remove(konfigurationsDatei());
        {
            Form1 f;
            f.show();
            QCOMPARE(f.size(), entwurf);
            f.move(300, 300);
            QVERIFY(f.close());
        }
        QVERIFY(!QFile::exists(konfigurationsDatei()));
    }

    // --- the JPEG that a save would write ---

    void jpegVorschau()
    {
        TestDienste dienste;
        Form1 f;
        QVERIFY(aktivieren(f));
        auto* haken = finde<QCheckBox>(f, "chkJpegVorschau");
        auto* vorschau = finde<PixelAnsicht>(f, "picJpegVorschau");
        auto* ansicht = finde<BildFlaeche>(f, "picZiel");
        QObject* rahmen = f.findChild<QObject*>(QStringLiteral("Shape1"));
        QVERIFY(haken && vorschau && ansicht && rahmen);

        // Nothing measured yet: nothing to show, by box or key.
        oeffnen(f, dienste, m_jpeg);
        QVERIFY(ansichtBereit(f));
        QVERIFY(!haken->isEnabled());
        ansicht->setFocus();
        QTest::keyPress(ansicht, Qt::Key_Space);
        QVERIFY(vorschau->isHidden());
        QTest::keyRelease(ansicht, Qt::Key_Space);

        QTest::mousePress(ansicht, Qt::LeftButton, {}, QPoint(60, 40));
        QTest::mouseMove(ansicht, QPoint(360, 240));
        QTest::mouseRelease(ansicht, Qt::LeftButton, {}, QPoint(360, 240));
        QVERIFY(rahmen->property("Visible").toBool());
        QVERIFY(haken->isEnabled());
        QVERIFY(!haken->isChecked());
        const auto rahmenStand = [&] {
            QStringList stand;
            for (const char* name : {"Shape1", "LO", "RO", "LU", "RU"})
                for (const char* eigenschaft : {"Left", "Top", "Width", "Height", "Visible"})
                    stand << f.findChild<QObject*>(QString::fromUtf8(name))->property(eigenschaft).toString();
            return stand;
        };
        const QStringList vorher = rahmenStand();
        const QString lblA = text(f, "lblA");

        // Ticked: exactly the decoded bytes that a save would write, pixel for pixel, centred.
        QTest::mouseClick(haken, Qt::LeftButton);
        QVERIFY(vorschau->isVisible());
        const QImage gespeichert = QImage::fromData(f.stand().letzteMessung().daten, "JPEG").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(gespeichert.size(), QSize(600, 400));
        QImage dekodiert;
        JpegDienst dienst;
        QCOMPARE(dienst.GdipStarten(1), 0);
        QCOMPARE(dienst.dekodieren(f.stand().letzteMessung().daten, dekodiert), 0);
        QCOMPARE(dekodiert, gespeichert);
        QWidget* tisch = finde(f, "fraTisch");
        QVERIFY(vorschau->geometry().contains(tisch->geometry()));
        const QRectF lage = vorschau->bildRechteck();
        const QPoint mitte = tisch->geometry().center() - vorschau->pos();
        QVERIFY(qAbs(lage.center().x() - mitte.x()) <= 1 && qAbs(lage.center().y() - mitte.y()) <= 1);
        const QImage schirm = vorschau->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(schirm.copy(lage.toRect()), gespeichert);

        QTest::mouseClick(haken, Qt::LeftButton);
        QVERIFY(vorschau->isHidden());
        QCOMPARE(rahmenStand(), vorher);
        QCOMPARE(text(f, "lblA"), lblA);

        // Held space bar on the picture area: shown until released.
        ansicht->setFocus();
        QTest::keyPress(ansicht, Qt::Key_Space);
        QVERIFY(vorschau->isVisible());
        QKeyEvent wiederholt(QEvent::KeyRelease, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
        QApplication::sendEvent(ansicht, &wiederholt); // the keyboard's repeat releases nothing
        QVERIFY(vorschau->isVisible());
        QTest::keyRelease(ansicht, Qt::Key_Space);
        QVERIFY(vorschau->isHidden());
        QCOMPARE(rahmenStand(), vorher);

        // A new quality: the view shows the new JPEG at once.
        QTest::mouseClick(haken, Qt::LeftButton);
        finde<QLineEdit>(f, "TextKomp")->setText(QStringLiteral("60"));
        QCOMPARE(vorschau->bild(), f.stand().letzteMessung().Bild);
        QCOMPARE(vorschau->bild().convertToFormat(QImage::Format_RGB32),
                 QImage::fromData(f.stand().letzteMessung().daten, "JPEG").convertToFormat(QImage::Format_RGB32));

        // Whole, with the read-out saying so; a larger file is reduced to fit, a click shows
        // it at 100 % around the clicked point, dragging moves it within the area, a second
        // click fits it again.
        QCOMPARE(text(f, "lblAnsicht"), QStringLiteral("JPEG-Datei 100 %"));
        finde<Liste>(f, "List1")->setzeListIndex(5); // 900 x 600
        const Vorschaumass ganz = vorschauEinpassen(QSize(900, 600), QSizeF(tisch->size()), 1);
        QVERIFY(ganz.prozent < 100);
        QCOMPARE(vorschau->bildRechteck().size(), ganz.groesse);
        QCOMPARE(text(f, "lblAnsicht"), vorschauBeschriftung(ganz.prozent));
        const QPoint klick = vorschau->bildRechteck().center().toPoint();
        QTest::mouseClick(vorschau, Qt::LeftButton, {}, klick);
        QCOMPARE(vorschau->bildRechteck().size(), QSizeF(900, 600));
        QVERIFY(vorschau->bildRechteck().contains(klick));
        QCOMPARE(text(f, "lblAnsicht"), QStringLiteral("JPEG-Datei 100 %"));
        const QPointF vorher100 = vorschau->bildRechteck().topLeft();
        QTest::mousePress(vorschau, Qt::LeftButton, {}, klick);
        QTest::mouseMove(vorschau, klick + QPoint(10, -3));
        QTest::mouseRelease(vorschau, Qt::LeftButton, {}, klick + QPoint(10, -3));
        QCOMPARE(vorschau->bildRechteck().topLeft(), vorher100 + QPointF(10, -3));
        QTest::mousePress(vorschau, Qt::LeftButton, {}, klick);
        QTest::mouseMove(vorschau, klick + QPoint(300, 300));
        QTest::mouseRelease(vorschau, Qt::LeftButton, {}, klick + QPoint(300, 300));
        QCOMPARE(vorschau->bildRechteck().topLeft(), QPointF(tisch->geometry().topLeft() - vorschau->pos()));
        QCOMPARE(text(f, "lblAnsicht"), QStringLiteral("JPEG-Datei 100 %"));
        QTest::mouseClick(vorschau, Qt::LeftButton, {}, klick);
        QCOMPARE(vorschau->bildRechteck().size(), ganz.groesse);
        QTest::mouseClick(haken, Qt::LeftButton);
        QCOMPARE(text(f, "lblAnsicht"), QStringLiteral("verkleinert"));

        // Another picture: its JPEG is not measured yet.
        oeffnen(f, dienste, m_zweites);
        QTRY_COMPARE(f.stand().dateiPfad(), m_zweites);
        QVERIFY(vorschau->isHidden());
        QVERIFY(!haken->isEnabled());
        QVERIFY(!haken->isChecked());
    }

private:
    QTemporaryDir m_ordner;
    QString m_jpeg, m_zweites, m_keinJpeg;
};

QTEST_MAIN(TestDesktop)
#include "test_desktop.moc"
