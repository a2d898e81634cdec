// The target steps through the real window: what the state decides arrives on the
// controls, and the controls' events reach the state. The rules themselves are
// tested on the state (test_arbeitsstand) and on the verdicts (test_zielbewertung).

#include "output/Zielformat.h"
#include "platform/Steuerelemente.h"

#include "Fensterhilfe.h"

#include "fotoschliff_config.h"

#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QScopeGuard>
#include <QTextDocument>
#include <QTimer>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace fensterhilfe;
using testbilder::lesen;

namespace {

const QColor gruen(0x00, 0xC0, 0x00);
const QColor rot(0xFF, 0x00, 0x00);

// What a tool tip shows: Qt reads it as markup when it looks like some.
QString gezeigt(const QString& tipp)
{
    QTextDocument d;
    Qt::mightBeRichText(tipp) ? d.setHtml(tipp) : d.setPlainText(tipp);
    return d.toPlainText();
}

// Lets file writes beyond a few bytes fail, as on a full disk (works for root, too).
class VollePlatte {
public:
    VollePlatte()
    {
        getrlimit(RLIMIT_FSIZE, &m_vorher);
        m_signal = std::signal(SIGXFSZ, SIG_IGN);
        rlimit grenze = m_vorher;
        grenze.rlim_cur = 100;
        setrlimit(RLIMIT_FSIZE, &grenze);
    }
    ~VollePlatte()
    {
        setrlimit(RLIMIT_FSIZE, &m_vorher);
        std::signal(SIGXFSZ, m_signal);
    }

private:
    rlimit m_vorher{};
    void (*m_signal)(int) = nullptr;
};

} // namespace

class TestZiel : public QObject {
    Q_OBJECT
    QTemporaryDir m_ordner; // where the settings send saved files
    std::unique_ptr<Fenster> m_fenster;

    Fenster& starten(const QString& einstellungen = QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 1, 0, '_web', 2"))
    {
        m_fenster = std::make_unique<Fenster>(einstellungen);
        return *m_fenster;
    }
    const Arbeitsstand& stand() const { return m_fenster->f.stand(); }

private slots:
    void initTestCase()
    {
        testUmgebungEinrichten();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    void cleanup() { m_fenster.reset(); }

    // --- step 3: the size list, the width and height boxes and the spin control reach the state ---
    void breiteUndHoehe()
    {
        Fenster& f = starten();
        QVERIFY(f.bereit());
        QVERIFY(f.laden(f.datei(QStringLiteral("wiese.jpg"), testbilder::verlauf(3000, 2000))));
        auto* liste = f.w<Liste>("List1");
        auto* breite = f.w<QLineEdit>("TextB");
        auto* hoehe = f.w<QLineEdit>("TextH");
        liste->setCurrentIndex(0); // "benutzerdefiniert", as the user picks it
        QVERIFY(breite->isEnabled() && hoehe->isEnabled() && f.w<UpDown>("UpDown1")->isEnabled());
        QCOMPARE(breite->text(), QStringLiteral("600"));
        QCOMPARE(hoehe->text(), QStringLiteral("400"));

        breite->setText(QStringLiteral("601"));
        QCOMPARE(hoehe->text(), QStringLiteral("400"));
        QCOMPARE(f.t("lblZpx"), QStringLiteral("601 x 400"));
        QCOMPARE(f.t("lblZ"), QStringLiteral("601 x 400"));
        // The spin control starts from what the box shows.
        breite->setText(QStringLiteral("750"));
        QTest::mouseClick(f.w<UpDown>("UpDown1")->findChild<QWidget*>(QStringLiteral("auf")), Qt::LeftButton);
        QCOMPARE(breite->text(), QStringLiteral("751"));
        QCOMPARE(hoehe->text(), QStringLiteral("500"));
        // A height typed by hand is what the next crop takes.
        hoehe->setText(QStringLiteral("123"));
        f.ziehen(QPoint(50, 50), QPoint(300, 100));
        QCOMPARE(f.w<BildFlaeche>("picTemp")->bild().size(), QSize(751, 123));

        liste->setCurrentIndex(5);
        QCOMPARE(breite->text(), QStringLiteral("900"));
        QCOMPARE(hoehe->text(), QStringLiteral("600"));
        QCOMPARE(f.w<UpDown>("UpDown1")->Value(), 900);
        QVERIFY(!breite->isEnabled() && !hoehe->isEnabled());
        QCOMPARE(f.t("lblZpx"), QStringLiteral("900 x 600"));
        QCOMPARE(f.w<BildFlaeche>("picTemp")->bild().size(), QSize(900, 600));
    }

    // --- step 7 for a source that is suitable as it is ---
    void geeigneteQuelleVeroeffentlichen()
    {
        Fenster& f = starten();
        const QString pfad = f.datei(QStringLiteral("passt.jpg"), testbilder::verlauf(900, 600));
        QVERIFY(QFileInfo(pfad).size() < 100 * 1024);
        QVERIFY(f.laden(pfad));
        QCOMPARE(f.t("lblQKB"), GroessenText(QFileInfo(pfad).size()));
        QVERIFY(f.t("lblQKB").contains(u','));
        QCOMPARE(f.t("lblQprüf"), QStringLiteral("OK"));
        QCOMPARE(f.t("lblQprüf1"), QStringLiteral("OK"));
        QCOMPARE(farbe(f.f, "lblQprüf"), gruen);
        QCOMPARE(f.t("lblQMaßnahme"), QStringLiteral("Bild für Flattrium geeignet. Weiter mit: 7. Veröffentlichen"));
        QCOMPARE(farbe(f.f, "lblQMaßnahme"), gruen);
        QVERIFY(f.w<QPushButton>("Command3")->isEnabled());
        QCOMPARE(f.w<QPushButton>("Command3")->toolTip(), pfad);

        // Published as it is: path to the clipboard, after the reminder, and the forum opens.
        TestDienste& d = f.dienste;
        d.beiMeldung = [&d](const TestDienste::Meldung&) { QVERIFY(d.zwischenablage.isEmpty() && d.urls.isEmpty()); };
        f.klick("Command3");
        QCOMPARE(d.meldungen.size(), 1);
        QCOMPARE(d.meldungen[0].text,
                 QStringLiteral("Bitte denken Sie daran, nach dem Einfügen des Dateipfades in die Eingabemaske des Flattriums "
                                "\r\nauch den Fundort im vorgeschriebenen Format anzugeben!"));
        QCOMPARE(d.meldungen[0].titel, QStringLiteral("Fotoschliff"));
        QCOMPARE(d.zwischenablage, QStringList{pfad});
        QCOMPARE(d.urls, QList<QUrl>{QUrl(QStringLiteral(FOTOSCHLIFF_FORUM_URL))});

        // Without a browser the message names the forum's address.
        d.beiMeldung = nullptr;
        d.browserDa = false;
        f.klick("Command3");
        QCOMPARE(d.meldungen.size(), 3);
        QVERIFY(d.meldungen[2].text.split(QStringLiteral("\r\n")).contains(QStringLiteral(FOTOSCHLIFF_FORUM_URL)));
        QCOMPARE(d.meldungen[2].titel, QStringLiteral("Fotoschliff"));
    }

    // A file's name as the system stores it: the tool tips show it as it is, never as
    // markup, and publishing hands on only a path whose text leads to the file.
    void fremdeNamen_data()
    {
        QTest::addColumn<QByteArray>("name");
        QTest::addColumn<bool>("weitergebbar");
        QTest::newRow("gewöhnlich") << QByteArray("passt.jpg") << true;
        QTest::newRow("Auszeichnung") << QByteArray("<b>x</b>.jpg") << true;
        QTest::newRow("Entität") << QByteArray("a&lt;b&gt; <i>.jpg") << true;
        QTest::newRow("kein UTF-8") << QByteArray("K\xE4" "fer.jpg") << false;
        QTest::newRow("Ordner kein UTF-8") << QByteArray("\xDC" "bersicht/passt.jpg") << false;
        QTest::newRow("echtes Ersatzzeichen") << QByteArray("K\xEF\xBF\xBD" "fer.jpg") << true;
    }
    void fremdeNamen()
    {
        QFETCH(QByteArray, name);
        QFETCH(bool, weitergebbar);
        Fenster& f = starten();
        const QByteArray ort = QFile::encodeName(f.ordner.path()) + '/' + name;
        const QByteArray ordner = ort.left(ort.lastIndexOf('/'));
        QCOMPARE(::mkdir(ordner.constData(), 0700) == 0, name.contains('/'));
        // Qt cannot remove what it cannot name.
        const auto weg = qScopeGuard([&] {
            ::unlink(ort.constData());
            ::rmdir(ordner.constData());
        });
        const QByteArray jpeg = testbilder::alsJpeg(testbilder::verlauf(900, 600));
        const int fd = ::open(ort.constData(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        QCOMPARE(::write(fd, jpeg.constData(), size_t(jpeg.size())), ssize_t(jpeg.size()));
        ::close(fd);
        const QString pfad = QFile::decodeName(ort); // as a dialog hands it over
        QVERIFY(f.laden(pfad));
        QCOMPARE(gezeigt(f.w<QLineEdit>("Text1")->toolTip()), pfad);
        QCOMPARE(gezeigt(f.w<QPushButton>("Command3")->toolTip()), pfad);

        f.klick("Command3");
        QCOMPARE(f.dienste.zwischenablage, weitergebbar ? QStringList{pfad} : QStringList{});
        QCOMPARE(f.dienste.urls.size(), weitergebbar ? 1 : 0);
        QCOMPARE(f.dienste.meldungen.size(), 1); // the reminder, or why nothing happens
        if (!weitergebbar)
            QCOMPARE(f.dienste.meldungen[0].text,
                     QStringLiteral("Der Dateipfad „%1“ lässt sich nicht weitergeben: Er enthält Zeichen, die sich nicht als "
                                    "Text darstellen lassen (hier als „\uFFFD“ gezeigt). In das Flattrium eingefügt, fände er "
                                    "die Datei nicht; er wurde deshalb nicht in die Zwischenablage kopiert.\r\n\r\nBitte "
                                    "speichern Sie das Bild unter einem anderen Namen und veröffentlichen Sie dann diese Datei.")
                         .arg(pfad));
    }

    // --- step 4: a release runs the chain, and its verdicts show in their colours ---
    void rahmenGibtZielUndUrteil()
    {
        Fenster& f = starten();
        QVERIFY(f.laden(f.datei(QStringLiteral("wiese.jpg"), testbilder::verlauf(3000, 2000))));
        const float faktor = 3000.0f / f.ansicht()->ScaleWidth();
        // A frame that is 1350 source pixels wide.
        const int breite = int(std::ceil(1350 / faktor));
        f.ziehen(QPoint(100, 60), QPoint(100 + breite - 1, 200));
        QVERIFY(f.t("lblA").startsWith(QStringLiteral("13")));
        QCOMPARE(f.w<BildFlaeche>("picTemp")->bild().size(), QSize(600, 400));
        QCOMPARE(f.w<BildFlaeche>("picPreview")->bild().size(), QSize(600, 400));
        QCOMPARE(f.w<BildFlaeche>("picPreview")->bild(), stand().letzteMessung().Bild);
        QCOMPARE(f.t("lblKb"), GroessenText(stand().letzteMessung().daten.size()));
        QCOMPARE(f.t("lblZkb"), f.t("lblKb"));
        QCOMPARE(stand().jpegQualitaet(), 92);
        for (const char* name : {"lblPrüf", "lblPrüf1", "lblPrüf2"}) {
            QCOMPARE(f.t(name), QStringLiteral("OK"));
            QCOMPARE(farbe(f.f, name), gruen);
        }
        QCOMPARE(f.t("lblZMaßnahme1"), QStringLiteral("Bild für Flattrium geeignet. Weiter mit: 6. Zuschneiden"));
        QCOMPARE(farbe(f.f, "lblZMaßnahme1"), gruen);
        QCOMPARE(f.t("lblZMaßnahme"), QString());
        QCOMPARE(f.t("lblZMaßnahme2"), QString());
        QCOMPARE(statusLicht(f.f), 2);
        QVERIFY(f.w<QPushButton>("cmdBesteQualitaet")->isEnabled());

        // A selection narrower than the target.
        f.ziehen(QPoint(100, 60), QPoint(150, 100));
        QCOMPARE(f.t("lblPrüf1"), QStringLiteral("Auswahl zu klein"));
        QCOMPARE(farbe(f.f, "lblPrüf1"), rot);
        QCOMPARE(f.t("lblZMaßnahme1"), QStringLiteral("Maßnahme: 4. Auswahlrahmen größer ziehen oder 3. Zielformat verringern"));
        QCOMPARE(farbe(f.f, "lblZMaßnahme1"), rot);
        QCOMPARE(statusLicht(f.f), 1);
    }

    // --- step 5: the quality box and its spin control measure again ---
    void qualitaetMisstNeu()
    {
        Fenster& f = starten();
        QVERIFY(f.laden(f.datei(QStringLiteral("fein.jpg"), testbilder::rauschen(900, 600), 95)));
        f.klick("Command7");
        QCOMPARE(f.t("lblA"), QStringLiteral("900 x 600"));
        auto* qualitaet = f.w<QLineEdit>("TextKomp");
        qualitaet->setText(QStringLiteral("100"));
        const QString bei100 = f.t("lblKb");
        qualitaet->setText(QStringLiteral("50"));
        QVERIFY(f.t("lblKb") != bei100);
        QCOMPARE(f.t("lblKb"), GroessenText(stand().letzteMessung().daten.size()));
        // The spin control steps from the typed value and measures again.
        qualitaet->setText(QStringLiteral("60"));
        QTest::mouseClick(f.w<UpDown>("UpDown2")->findChild<QWidget*>(QStringLiteral("auf")), Qt::LeftButton);
        QCOMPARE(qualitaet->text(), QStringLiteral("61"));
        QCOMPARE(stand().jpegQualitaet(), 61);
        QCOMPARE(f.t("lblKb"), GroessenText(stand().letzteMessung().daten.size()));
    }

    // --- step 6: the crop on show, measured again at a new quality, and saved as measured ---
    void zuschneidenZeigtDasErgebnis()
    {
        Fenster& f = starten();
        QVERIFY(f.laden(f.datei(QStringLiteral("wiese.jpg"), testbilder::verlauf(3000, 2000))));
        f.ziehen(QPoint(50, 50), QPoint(450, 100));
        const QString groesse = f.t("lblKb");
        f.klick("Command1");
        QCOMPARE(f.t("lblA"), QString());
        QVERIFY(!sichtbar(f.f, "Shape1"));
        QVERIFY(!f.w<QPushButton>("Command1")->isEnabled());
        QVERIFY(f.w<QPushButton>("Command2")->isEnabled());
        QCOMPARE(f.t("lblAnsicht"), QStringLiteral("Originalgröße"));
        QCOMPARE(f.ansicht()->ScaleWidth(), 600.0f);
        QCOMPARE(f.ansicht()->ScaleHeight(), 400.0f);
        QCOMPARE(f.t("lblKb"), groesse);

        // The crop waits to be saved: a quality change measures it, and the save writes that.
        f.w<QLineEdit>("TextKomp")->setText(QStringLiteral("60"));
        QVERIFY(f.t("lblKb") != groesse);
        QCOMPARE(f.t("lblZkb"), f.t("lblKb"));
        const QString gespeichert = f.ordner.filePath(QStringLiteral("bei60.jpg"));
        f.dienste.speichernAntworten << gespeichert;
        f.klick("Command2");
        QCOMPARE(lesen(gespeichert), stand().letzteMessung().daten);

        // The next frame is drawn on the loaded picture again.
        QTest::mousePress(f.ansicht(), Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(f.t("lblAnsicht"), QStringLiteral("verkleinert"));
        QCOMPARE(f.ansicht()->ScaleWidth(), float(f.w<QWidget>("fraTisch")->width()));
        QTest::mouseRelease(f.ansicht(), Qt::LeftButton, {}, QPoint(20, 20));
    }

    // --- save and publish ---
    void speichernSchreibtDieGemesseneDatei()
    {
        Fenster& f = starten(QStringLiteral("NULL, '%1', 0, 0, 4, 600, 400, 92, 0, 0, '_lf', 2").arg(m_ordner.path()));
        QVERIFY(f.laden(f.datei(QStringLiteral("IMG_1234.JPG"), testbilder::verlauf(3000, 2000))));
        f.ziehen(QPoint(50, 50), QPoint(450, 100));
        f.klick("Command1");

        const QString erster = m_ordner.filePath(QStringLiteral("IMG_1234_lf.jpg"));
        f.dienste.speichernAntworten << erster;
        f.klick("Command2");
        const DateiDialog& dialog = f.dienste.gezeigteDialoge.last();
        QCOMPARE(dialog.FileName, QStringLiteral("IMG_1234_lf.jpg"));
        QCOMPARE(dialog.InitDir, m_ordner.path());
        QVERIFY(dialog.Ueberschreibfrage);
        QCOMPARE(qtFilter(dialog.Filter), QStringList{QStringLiteral("JPG Files (*.jpg) (*.jpg *.JPG *.jpeg *.JPEG)")});
        {
            // Qt's own dialog shows the description with its brackets, without the patterns.
            std::unique_ptr<QFileDialog> qdlg(dateiDialogErzeugen(nullptr, dialog, true));
            qdlg->setOption(QFileDialog::DontUseNativeDialog);
            auto* typ = qdlg->findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
            QVERIFY(typ);
            QCOMPARE(typ->currentText(), QStringLiteral("JPG Files (*.jpg)"));
        }

        QCOMPARE(lesen(erster), stand().letzteMessung().daten);
        QCOMPARE(f.w<QPushButton>("Command3")->toolTip(), erster);
        QCOMPARE(f.t("lblZMaßnahme1"), QStringLiteral("Bild gespeichert. Weiter mit: 7. Veröffentlichen"));
        QVERIFY(f.dienste.meldungen.isEmpty());

        // Without the reminder only the clipboard and the browser act.
        f.klick("Command3");
        QVERIFY(f.dienste.meldungen.isEmpty());
        QCOMPARE(f.dienste.zwischenablage, QStringList{erster});
        QCOMPARE(f.dienste.urls.size(), 1);
    }

    // Proposal mode 1 after a save proposes the saved file's name; cancelling changes nothing.
    void vorschlagNachDemSpeichern()
    {
        Fenster& f = starten(QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 0, 0, '_lf', 1"));
        QVERIFY(f.laden(f.datei(QStringLiteral("IMG_1234.JPG"), testbilder::verlauf(900, 600))));
        f.klick("Command7");
        f.klick("Command1");
        f.klick("Command2"); // cancelled
        QCOMPARE(f.dienste.gezeigteDialoge.last().FileName, QStringLiteral("IMG_1234.JPG"));
        const QString gespeichert = f.ordner.filePath(QStringLiteral("zweiter.jpg"));
        f.dienste.speichernAntworten << gespeichert;
        f.klick("Command2");
        f.klick("Command2");
        QCOMPARE(f.dienste.gezeigteDialoge.last().FileName, QStringLiteral("zweiter.jpg"));
        QCOMPARE(stand().veroeffentlichPfad(), gespeichert);
    }

    // "*.jpg" is proposed as written; confirmed, it narrows the listing and names no file.
    void sternchenVorschlagImDialog_data()
    {
        QTest::addColumn<bool>("speichern");
        QTest::newRow("öffnen") << false;
        QTest::newRow("speichern, Vorschlag 0") << true;
    }
    void sternchenVorschlagImDialog()
    {
        QFETCH(bool, speichern);
        Fenster& f = starten(QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 0, 0, '_web', 0"));
        QVERIFY(f.laden(f.datei(QStringLiteral("falter.jpg"), testbilder::verlauf(900, 600))));
        if (speichern) {
            f.klick("Command7");
            f.klick("Command1");
            f.klick("Command2"); // cancelled
        } else {
            oeffnen(f.f, f.dienste, QString());
        }
        DateiDialog einstellung = f.dienste.gezeigteDialoge.last();
        QCOMPARE(einstellung.FileName, QStringLiteral("*.jpg"));
        einstellung.InitDir = f.ordner.path();

        std::unique_ptr<QFileDialog> dialog(dateiDialogErzeugen(nullptr, einstellung, speichern));
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        QStringList gewaehlt;
        connect(dialog.get(), &QFileDialog::filesSelected, this, [&](const QStringList& d) { gewaehlt = d; });
        dialog->show();
        auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        QVERIFY(name);
        QCOMPARE(name->text(), QStringLiteral("*.jpg"));
        // Qt's own answer would be a "File not found" box; close it rather than wait.
        bool nachfrage = false;
        QTimer::singleShot(0, this, [&] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                nachfrage = true;
                box->close();
            }
        });
        name->setFocus();
        QTest::keyClick(name, Qt::Key_Return);
        QCoreApplication::processEvents();
        QVERIFY(!nachfrage);
        QVERIFY(dialog->isVisible());
        QVERIFY(gewaehlt.isEmpty());
        QCOMPARE(dialog->nameFilters(), QStringList{QStringLiteral("*.jpg")});
    }

    void fehlgeschlagenesSpeichernLaesstDieDateiUnberuehrt()
    {
        Fenster& f = starten();
        QVERIFY(f.laden(f.datei(QStringLiteral("falter.jpg"), testbilder::verlauf(1800, 1200))));
        f.klick("Command7");
        f.klick("Command1");
        const QString original = f.ordner.filePath(QStringLiteral("falter.jpg"));
        const QByteArray vorher = lesen(original);
        QVERIFY(vorher.size() > 1000);

        f.dienste.speichernAntworten << original;
        {
            VollePlatte voll;
            f.klick("Command2");
        }
        QCOMPARE(lesen(original), vorher);
        QCOMPARE(f.dienste.meldungen.size(), 2);
        QCOMPARE(f.dienste.meldungen[0].titel, QStringLiteral("GDI Error"));
        QCOMPARE(f.dienste.meldungen[1].text, QStringLiteral("Speichern war nicht erfolgreich."));
        QCOMPARE(f.dienste.meldungen[1].details, QStringLiteral("Die Datei wäre größer, als das System erlaubt."));
        QCOMPARE(f.dienste.meldungen[1].titel, QStringLiteral("Fotoschliff"));
        QCOMPARE(stand().veroeffentlichPfad(), QString());
        QVERIFY(!f.w<QPushButton>("Command3")->isEnabled());

        // Saving over the original on purpose works, with exactly the measured bytes.
        f.dienste.speichernAntworten << original;
        f.klick("Command2");
        QCOMPARE(lesen(original), stand().letzteMessung().daten);
    }

    // A release arriving while a chain runs is handled after it, not inside it.
    void zweiteFreigabeWartetAufDieErste()
    {
        Fenster& f = starten();
        QVERIFY(f.laden(f.datei(QStringLiteral("wiese.jpg"), testbilder::verlauf(3000, 2000))));
        QStringList groesseBeiZweitemDruck;
        class Beobachter : public QObject {
        public:
            std::function<void()> beiDruck;
            bool eventFilter(QObject*, QEvent* e) override
            {
                if (e->type() == QEvent::MouseButtonPress)
                    beiDruck();
                return false;
            }
        } beobachter;
        beobachter.beiDruck = [&] { groesseBeiZweitemDruck << f.t("lblKb"); };

        QTest::mousePress(f.ansicht(), Qt::LeftButton, {}, QPoint(40, 40));
        QTest::mouseMove(f.ansicht(), QPoint(400, 80));
        f.ansicht()->installEventFilter(&beobachter);
        // The user is quicker than the chain: the next frame's events are already queued.
        const QPoint p(60, 60);
        QCoreApplication::postEvent(f.ansicht(), new QMouseEvent(QEvent::MouseButtonPress, p, f.ansicht()->mapToGlobal(p), Qt::LeftButton,
                                                            Qt::LeftButton, Qt::NoModifier));
        QTest::mouseRelease(f.ansicht(), Qt::LeftButton, {}, QPoint(400, 80));
        QCoreApplication::processEvents();
        f.ansicht()->removeEventFilter(&beobachter);
        QCOMPARE(groesseBeiZweitemDruck.size(), 1);
        QVERIFY2(!groesseBeiZweitemDruck[0].isEmpty(), "the second press ran inside the first chain");
        QTest::mouseRelease(f.ansicht(), Qt::LeftButton, {}, p);
    }

    // The whole workflow through the real window.
    void vonAnfangBisEnde()
    {
        Fenster& f = starten(QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 1, 0, '_web', 2"));
        const QString pfad = f.datei(QStringLiteral("falter.jpg"), testbilder::verlauf(3000, 2000));
        const QByteArray original = lesen(pfad);
        QVERIFY(f.laden(pfad));
        QCOMPARE(f.t("lblQ"), QStringLiteral("3000 x 2000"));
        QCOMPARE(f.t("lblQprüf"), QStringLiteral("zu groß"));
        QVERIFY(!f.w<QPushButton>("Command3")->isEnabled());

        f.ziehen(QPoint(30, 30), QPoint(330, 60));
        QVERIFY(zahlen_ok(f.t("lblA")));
        QCOMPARE(f.t("lblZpx"), QStringLiteral("600 x 400"));
        QCOMPARE(f.t("lblPrüf"), QStringLiteral("OK"));
        QCOMPARE(f.t("lblPrüf1"), QStringLiteral("OK"));
        QCOMPARE(f.t("lblPrüf2"), QStringLiteral("OK"));
        QCOMPARE(statusLicht(f.f), 2);
        QVERIFY(f.w<QPushButton>("Command1")->isEnabled());

        f.klick("Command1");
        const QString gespeichert = m_ordner.filePath(QStringLiteral("falter_web.jpg"));
        f.dienste.speichernAntworten << gespeichert;
        f.klick("Command2");
        QCOMPARE(f.dienste.gezeigteDialoge.last().FileName, QStringLiteral("falter_web.jpg"));
        QVERIFY(QFileInfo(gespeichert).size() < 100 * 1024);
        QImage ergebnis(gespeichert);
        QCOMPARE(ergebnis.size(), QSize(600, 400));

        f.klick("Command3");
        QCOMPARE(f.dienste.meldungen.size(), 1);
        QCOMPARE(f.dienste.zwischenablage, QStringList{gespeichert});
        QCOMPARE(f.dienste.urls.size(), 1);
        QCOMPARE(lesen(pfad), original); // the loaded file is never written
    }

private:
    static bool zahlen_ok(const QString& auswahl) { return auswahl.section(u' ', 0, 0).toInt() >= 600; }
};

QTEST_MAIN(TestZiel)
#include "test_ziel.moc"
