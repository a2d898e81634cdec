#include "app/Form1.h"
#include "output/Zielformat.h"
#include "platform/Flaechen.h"
#include "platform/Steuerelemente.h"

#include "Fensterhilfe.h"
#include "TestBilder.h"
#include "TestDienste.h"

#include "fotoschliff_config.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>

using namespace fensterhilfe;

namespace {

const QColor gruen(0x00, 0xC0, 0x00);
const QColor rot(0xFF, 0x00, 0x00);

QImage rauschen(int b, int h)
{
    QImage bild(b, h, QImage::Format_RGB32);
    QRandomGenerator zufall(7);
    for (int y = 0; y < h; ++y) {
        auto* z = reinterpret_cast<QRgb*>(bild.scanLine(y));
        for (int x = 0; x < b; ++x)
            z[x] = zufall.generate() | 0xFF000000u;
    }
    return bild;
}

QByteArray lesen(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
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
    QTemporaryDir m_ordner;
    std::unique_ptr<TestDienste> m_dienste;
    std::unique_ptr<Form1> m_f;

    template <typename T = QLabel>
    T* w(const char* name) const
    {
        T* gefunden = m_f->findChild<T*>(QString::fromUtf8(name));
        Q_ASSERT(gefunden);
        return gefunden;
    }
    QString t(const char* name) const { return w(name)->text(); }
    QColor farbe(const char* name) const { return w(name)->palette().color(QPalette::WindowText); }
    BildFlaeche* ziel() const { return w<BildFlaeche>("picZiel"); }

    QString datei(const QString& name, const QImage& bild, int qualitaet = 90)
    {
        const QString pfad = m_ordner.filePath(name);
        testbilder::schreiben(pfad, testbilder::alsJpeg(bild, qualitaet));
        return pfad;
    }

    void starten(const QString& einstellungen = QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 1, 0, '_web', 2"))
    {
        QVERIFY(einstellungenSchreiben(einstellungen));
        m_dienste = std::make_unique<TestDienste>();
        m_f = std::make_unique<Form1>();
        m_f->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_f.get()));
    }

    void laden(const QString& pfad)
    {
        oeffnen(*m_f, *m_dienste, pfad);
        QVERIFY(ansichtBereit(*m_f));
    }

    void ziehen(QPoint von, QPoint bis)
    {
        QTest::mousePress(ziel(), Qt::LeftButton, {}, von);
        QTest::mouseMove(ziel(), bis);
        QTest::mouseRelease(ziel(), Qt::LeftButton, {}, bis);
    }

private slots:
    void initTestCase()
    {
        testUmgebungEinrichten();
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    }
    void cleanup()
    {
        m_f.reset();
        m_dienste.reset();
    }

    // --- step 3 ---
    void breiteGibtHoehe()
    {
        starten();
        auto* liste = w<Liste>("List1");
        auto* breite = w<QLineEdit>("TextB");
        liste->setCurrentIndex(0); // "benutzerdefiniert", as the user picks it
        QVERIFY(breite->isEnabled() && w<QLineEdit>("TextH")->isEnabled() && w<UpDown>("UpDown1")->isEnabled());
        QCOMPARE(breite->text(), QStringLiteral("600"));
        QCOMPARE(w<QLineEdit>("TextH")->text(), QStringLiteral("400"));

        breite->setText(QStringLiteral("601"));
        QCOMPARE(w<QLineEdit>("TextH")->text(), QStringLiteral("400"));
        QCOMPARE(t("lblZpx"), QStringLiteral("601 x 400"));
        QCOMPARE(t("lblZ"), QStringLiteral("601 x 400"));
        QCOMPARE(m_f->zielBreite, 601.0f);
        QCOMPARE(m_f->zielHoehe, 400.0f);
        breite->setText(QStringLiteral("599"));
        QCOMPARE(w<QLineEdit>("TextH")->text(), QStringLiteral("398"));

        // No leading number: nothing changes, not even the read-outs.
        for (const char* text : {"", "abc", "x600"}) {
            breite->setText(QString::fromUtf8(text));
            QCOMPARE(w<QLineEdit>("TextH")->text(), QStringLiteral("398"));
            QCOMPARE(t("lblZpx"), QStringLiteral("599 x 398"));
        }
        // The spin control starts from what the box shows.
        breite->setText(QStringLiteral("750"));
        QTest::mouseClick(w<UpDown>("UpDown1")->findChild<QWidget*>(QStringLiteral("auf")), Qt::LeftButton);
        QCOMPARE(breite->text(), QStringLiteral("751"));
        QCOMPARE(w<QLineEdit>("TextH")->text(), QStringLiteral("500"));

        liste->setCurrentIndex(5);
        QCOMPARE(breite->text(), QStringLiteral("900"));
        QCOMPARE(w<UpDown>("UpDown1")->Value(), 900);
        QVERIFY(!breite->isEnabled());
        QCOMPARE(t("lblZpx"), QStringLiteral("900 x 600"));
    }

    void sechzehnNeuntel()
    {
        starten();
        w<Liste>("Combo1")->setCurrentIndex(4);
        w<Liste>("List1")->setCurrentIndex(0);
        w<QLineEdit>("TextB")->setText(QStringLiteral("1000"));
        QCOMPARE(w<QLineEdit>("TextH")->text(), QStringLiteral("558"));
    }

    // A width set from code runs its change handling even when the box already
    // shows it: 600 is index 4 at 3:2 and at 3:4, and a preset may repeat a typed width.
    void gleicheBreiteGibtNeueHoehe_data()
    {
        QTest::addColumn<QStringList>("schritte"); // "Combo1=i", "List1=i" picked; "TextH=t" typed
        QTest::addColumn<QString>("hoehe");
        QTest::addColumn<QSize>("ziel");
        QTest::newRow("3:2 → 3:4") << QStringList{"Combo1=3"} << "800" << QSize(600, 800);
        QTest::newRow("3:2 → 3:4 → 3:2") << QStringList{"Combo1=3", "Combo1=0"} << "400" << QSize(600, 400);
        QTest::newRow("eigene 600 x 123, dann 600 x 400") << QStringList{"List1=0", "TextH=123", "List1=4"} << "400"
                                                          << QSize(600, 400);
    }
    void gleicheBreiteGibtNeueHoehe()
    {
        QFETCH(QStringList, schritte);
        QFETCH(QString, hoehe);
        QFETCH(QSize, ziel);
        starten();
        laden(datei(QStringLiteral("wiese.jpg"), testbilder::verlauf(3000, 2000)));
        for (const QString& schritt : schritte) {
            const QString name = schritt.section(u'=', 0, 0);
            const QString wert = schritt.section(u'=', 1);
            if (name == QStringLiteral("TextH"))
                w<QLineEdit>("TextH")->setText(wert);
            else
                w<Liste>(qPrintable(name))->setCurrentIndex(wert.toInt());
        }
        QCOMPARE(w<QLineEdit>("TextB")->text(), QStringLiteral("600"));
        QCOMPARE(w<QLineEdit>("TextH")->text(), hoehe);
        QCOMPARE(t("lblZpx"), QStringLiteral("600 x ") + hoehe);
        QCOMPARE(m_f->zielHoehe, hoehe.toFloat());
        ziehen(QPoint(50, 50), QPoint(300, 300));
        QCOMPARE(w<BildFlaeche>("picTemp")->bild().size(), ziel);
        QCOMPARE(m_f->letzteMessung.Bild.size(), ziel);
    }

    // --- judging the source ---
    void geeigneteQuelle()
    {
        starten();
        const QString pfad = datei(QStringLiteral("passt.jpg"), testbilder::verlauf(900, 600));
        QVERIFY(QFileInfo(pfad).size() < 100 * 1024);
        laden(pfad);
        QCOMPARE(t("lblQKB"), GroessenText(QFileInfo(pfad).size()));
        QVERIFY(t("lblQKB").contains(u','));
        QCOMPARE(t("lblQprüf"), QStringLiteral("OK"));
        QCOMPARE(t("lblQprüf1"), QStringLiteral("OK"));
        QCOMPARE(farbe("lblQprüf"), gruen);
        QCOMPARE(t("lblQMaßnahme"), QStringLiteral("Bild für Flattrium geeignet. Weiter mit: 7. Veröffentlichen"));
        QCOMPARE(farbe("lblQMaßnahme"), gruen);
        QVERIFY(w<QPushButton>("Command3")->isEnabled());
        QCOMPARE(w<QPushButton>("Command3")->toolTip(), pfad);
        QCOMPARE(m_f->veroeffentlichPfad, pfad);

        // Published as it is: path to the clipboard, after the reminder, and the forum opens.
        m_dienste->beiMeldung = [this](const TestDienste::Meldung&) { QVERIFY(m_dienste->zwischenablage.isEmpty() && m_dienste->urls.isEmpty()); };
        QTest::mouseClick(w<QPushButton>("Command3"), Qt::LeftButton);
        QCOMPARE(m_dienste->meldungen.size(), 1);
        QCOMPARE(m_dienste->meldungen[0].text,
                 QStringLiteral("Bitte denken Sie daran, nach dem Einfügen des Dateipfades in die Eingabemaske des Flattriums "
                                "\r\nauch den Fundort im vorgeschriebenen Format anzugeben!"));
        QCOMPARE(m_dienste->meldungen[0].titel, QStringLiteral("Fotoschliff"));
        QCOMPARE(m_dienste->zwischenablage, QStringList{pfad});
        QCOMPARE(m_dienste->urls, QList<QUrl>{QUrl(QStringLiteral(FOTOSCHLIFF_FORUM_URL))});
    }

    void ohneBrowserDieAdresseNennen()
    {
        starten(QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 0, 0, '_web', 2"));
        const QString pfad = datei(QStringLiteral("passt.jpg"), testbilder::verlauf(900, 600));
        laden(pfad);
        m_dienste->browserDa = false;
        QTest::mouseClick(w<QPushButton>("Command3"), Qt::LeftButton);
        QCOMPARE(m_dienste->zwischenablage, QStringList{pfad});
        QCOMPARE(m_dienste->meldungen.size(), 1);
        QVERIFY(m_dienste->meldungen[0].text.split(QStringLiteral("\r\n")).contains(QStringLiteral(FOTOSCHLIFF_FORUM_URL)));
        QCOMPARE(m_dienste->meldungen[0].titel, QStringLiteral("Fotoschliff"));

        m_dienste->browserDa = true;
        QTest::mouseClick(w<QPushButton>("Command3"), Qt::LeftButton);
        QCOMPARE(m_dienste->meldungen.size(), 1);
        QCOMPARE(m_dienste->urls.size(), 2);
    }

    void ungeeigneteQuelle()
    {
        starten(QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 0, 0, '_web', 2"));
        laden(datei(QStringLiteral("gross.jpg"), rauschen(1200, 800), 95));
        QCOMPARE(t("lblQprüf"), QStringLiteral("zu groß"));
        QCOMPARE(t("lblQprüf1"), QStringLiteral("zu groß"));
        QCOMPARE(farbe("lblQprüf1"), rot);
        QCOMPARE(t("lblQMaßnahme"), QStringLiteral("Bild muss für Flattrium bearbeitet werden."));
        QCOMPARE(farbe("lblQMaßnahme"), rot);
        QVERIFY(!w<QPushButton>("Command3")->isEnabled());
        QCOMPARE(w<QPushButton>("Command3")->toolTip(), QString());
        QCOMPARE(m_f->veroeffentlichPfad, QString());
    }

    // --- the chain on every frame change ---
    void rahmenGibtZielUndUrteil()
    {
        starten();
        laden(datei(QStringLiteral("wiese.jpg"), testbilder::verlauf(3000, 2000)));
        const float f = 3000.0f / ziel()->ScaleWidth();
        // A frame that is 1350 source pixels wide.
        const int breite = int(std::ceil(1350 / f));
        ziehen(QPoint(100, 60), QPoint(100 + breite - 1, 200));
        QVERIFY(t("lblA").startsWith(QStringLiteral("13")));
        QCOMPARE(w<BildFlaeche>("picTemp")->bild().size(), QSize(600, 400));
        QCOMPARE(w<BildFlaeche>("picPreview")->bild().size(), QSize(600, 400));
        QCOMPARE(t("lblKb"), GroessenText(qint64(m_f->letzteMessung.Groesse)));
        QCOMPARE(t("lblZkb"), t("lblKb"));
        QCOMPARE(m_f->letzteMessung.Groesse, double(m_f->letzteMessung.daten.size()));
        QCOMPARE(m_f->jpegQualitaet, 92);
        for (const char* name : {"lblPrüf", "lblPrüf1", "lblPrüf2"}) {
            QCOMPARE(t(name), QStringLiteral("OK"));
            QCOMPARE(farbe(name), gruen);
        }
        QCOMPARE(t("lblZMaßnahme1"), QStringLiteral("Bild für Flattrium geeignet. Weiter mit: 6. Zuschneiden"));
        QCOMPARE(farbe("lblZMaßnahme1"), gruen);
        QCOMPARE(t("lblZMaßnahme"), QString());
        QCOMPARE(t("lblZMaßnahme2"), QString());
        QCOMPARE(m_f->statusLicht(), 2);

        // A selection narrower than the target.
        ziehen(QPoint(100, 60), QPoint(150, 100));
        QCOMPARE(t("lblPrüf1"), QStringLiteral("Auswahl zu klein"));
        QCOMPARE(farbe("lblPrüf1"), rot);
        QCOMPARE(t("lblZMaßnahme1"), QStringLiteral("Maßnahme: 4. Auswahlrahmen größer ziehen oder 3. Zielformat verringern"));
        QCOMPARE(farbe("lblZMaßnahme1"), rot);
        QCOMPARE(m_f->statusLicht(), 1);

        // Too large a target.
        w<Liste>("List1")->setCurrentIndex(6);
        QCOMPARE(t("lblPrüf"), QStringLiteral("zu groß"));
        QCOMPARE(t("lblZMaßnahme"), QStringLiteral("Maßnahme: 3. Zielformat verringern"));
        QCOMPARE(w<BildFlaeche>("picTemp")->bild().size(), QSize(1200, 800));
        QCOMPARE(m_f->statusLicht(), 1);
    }

    // The second picture comes with the same stored quality, and still the
    // previous picture's selection verdict goes.
    void zweitesBildOhneAuswahlurteil_data()
    {
        QTest::addColumn<QPoint>("bis");
        QTest::addColumn<QString>("urteil");
        QTest::newRow("OK") << QPoint(700, 400) << "OK";
        QTest::newRow("Auswahl zu klein") << QPoint(150, 100) << "Auswahl zu klein";
    }
    void zweitesBildOhneAuswahlurteil()
    {
        QFETCH(QPoint, bis);
        QFETCH(QString, urteil);
        starten();
        const QString pfad = datei(QStringLiteral("wiese.jpg"), testbilder::verlauf(3000, 2000));
        laden(pfad);
        ziehen(QPoint(100, 60), bis);
        QCOMPARE(t("lblPrüf1"), urteil);
        QCOMPARE(w<QLineEdit>("TextKomp")->text(), QStringLiteral("92"));
        laden(pfad);
        QCOMPARE(t("lblA"), QString());
        QCOMPARE(t("lblPrüf1"), QString());
        QCOMPARE(t("lblZMaßnahme1"), QString());
        QCOMPARE(m_f->statusLicht(), 1);
    }

    void qualitaetAendertGroesse()
    {
        starten();
        laden(datei(QStringLiteral("fein.jpg"), rauschen(900, 600), 95));
        QTest::mouseClick(w<QPushButton>("Command7"), Qt::LeftButton);
        QCOMPARE(t("lblA"), QStringLiteral("900 x 600"));
        auto* qualitaet = w<QLineEdit>("TextKomp");
        const auto groesseBei = [&](const char* text) {
            qualitaet->setText(QString::fromUtf8(text));
            return m_f->letzteMessung.Groesse;
        };
        const double bei100 = groesseBei("100");
        QVERIFY(groesseBei("50") < bei100);
        QCOMPARE(groesseBei("120"), bei100);
        QCOMPARE(m_f->jpegQualitaet, 120);
        QVERIFY(groesseBei("45") < groesseBei("50"));
        // Noise at full quality is far beyond 100 KB.
        groesseBei("100");
        QCOMPARE(t("lblPrüf2"), QStringLiteral("zu groß"));
        QCOMPARE(t("lblZMaßnahme2"), QStringLiteral("Maßnahme: 5. Kompressionsrate senken bis Dateigröße < 100 KB"));
        // The spin control steps from the typed value and re-measures.
        qualitaet->setText(QStringLiteral("60"));
        QTest::mouseClick(w<UpDown>("UpDown2")->findChild<QWidget*>(QStringLiteral("auf")), Qt::LeftButton);
        QCOMPARE(qualitaet->text(), QStringLiteral("61"));
        QCOMPARE(m_f->jpegQualitaet, 61);
    }

    void zuschneidenZeigtDasErgebnis()
    {
        starten();
        laden(datei(QStringLiteral("wiese.jpg"), testbilder::verlauf(3000, 2000)));
        // Before any frame a quality change measures nothing.
        w<QLineEdit>("TextKomp")->setText(QStringLiteral("70"));
        QCOMPARE(t("lblKb"), QString());
        QCOMPARE(m_f->jpegQualitaet, 0);
        w<QLineEdit>("TextKomp")->setText(QStringLiteral("92"));
        ziehen(QPoint(50, 50), QPoint(450, 100));
        const QImage ziel1 = w<BildFlaeche>("picTemp")->bild();
        const QString groesse = t("lblKb");
        QTest::mouseClick(w<QPushButton>("Command1"), Qt::LeftButton);
        QCOMPARE(t("lblA"), QString());
        QVERIFY(!m_f->findChild<QObject*>(QStringLiteral("Shape1"))->property("Visible").toBool());
        QVERIFY(!w<QPushButton>("Command1")->isEnabled());
        QVERIFY(w<QPushButton>("Command2")->isEnabled());
        QCOMPARE(t("lblAnsicht"), QStringLiteral("Originalgröße"));
        QCOMPARE(ziel()->ScaleWidth(), 600.0f);
        QCOMPARE(ziel()->ScaleHeight(), 400.0f);
        QCOMPARE(w<BildFlaeche>("picTemp")->bild(), ziel1);
        QCOMPARE(t("lblKb"), groesse);
        // The selection check fails without a frame.
        QCOMPARE(m_f->statusLicht(), 1);
        QCOMPARE(t("lblPrüf1"), QString());
        QCOMPARE(t("lblZMaßnahme1"), QString());

        // The crop waits to be saved: a quality change measures it, and the save writes that.
        w<QLineEdit>("TextKomp")->setText(QStringLiteral("60"));
        QCOMPARE(m_f->jpegQualitaet, 60);
        QCOMPARE(m_f->letzteMessung.Bild.size(), QSize(600, 400));
        QVERIFY(t("lblKb") != groesse);
        QCOMPARE(t("lblKb"), GroessenText(qint64(m_f->letzteMessung.Groesse)));
        QCOMPARE(t("lblZkb"), t("lblKb"));
        QCOMPARE(t("lblPrüf2"), QStringLiteral("OK"));
        QCOMPARE(t("lblPrüf1"), QString());
        const QString gespeichert = m_ordner.filePath(QStringLiteral("bei60.jpg"));
        m_dienste->speichernAntworten << gespeichert;
        QTest::mouseClick(w<QPushButton>("Command2"), Qt::LeftButton);
        QCOMPARE(lesen(gespeichert), m_f->letzteMessung.daten);

        // The next frame is drawn on the loaded picture again.
        QTest::mousePress(ziel(), Qt::LeftButton, {}, QPoint(20, 20));
        QCOMPARE(t("lblAnsicht"), QStringLiteral("verkleinert"));
        QCOMPARE(ziel()->ScaleWidth(), float(w<QWidget>("fraTisch")->width()));
        QTest::mouseRelease(ziel(), Qt::LeftButton, {}, QPoint(20, 20));
    }

    // --- save and publish ---
    void speichernSchreibtDieGemesseneDatei()
    {
        starten(QStringLiteral("NULL, '%1', 0, 0, 4, 600, 400, 92, 0, 0, '_lf', 2").arg(m_ordner.path()));
        laden(datei(QStringLiteral("IMG_1234.JPG"), testbilder::verlauf(3000, 2000)));
        ziehen(QPoint(50, 50), QPoint(450, 100));
        QTest::mouseClick(w<QPushButton>("Command1"), Qt::LeftButton);

        const QString erster = m_ordner.filePath(QStringLiteral("IMG_1234_lf.jpg"));
        m_dienste->speichernAntworten << erster;
        QTest::mouseClick(w<QPushButton>("Command2"), Qt::LeftButton);
        const DateiDialog& dialog = m_dienste->gezeigteDialoge.last();
        QCOMPARE(dialog.FileName, QStringLiteral("IMG_1234_lf.jpg"));
        QCOMPARE(dialog.InitDir, m_ordner.path());
        QVERIFY(dialog.Ueberschreibfrage);
        QCOMPARE(qtFilter(dialog.Filter), QStringList{QStringLiteral("JPG Files (*.jpg *.JPG *.jpeg *.JPEG)")});

        QCOMPARE(lesen(erster), m_f->letzteMessung.daten);
        QCOMPARE(QFileInfo(erster).size(), qint64(m_f->letzteMessung.Groesse));
        QCOMPARE(GroessenText(QFileInfo(erster).size()), t("lblKb"));
        QCOMPARE(m_f->veroeffentlichPfad, erster);
        QCOMPARE(w<QPushButton>("Command3")->toolTip(), erster);
        QVERIFY(w<QPushButton>("Command3")->isEnabled());
        QCOMPARE(t("lblZMaßnahme1"), QStringLiteral("Bild gespeichert. Weiter mit: 7. Veröffentlichen"));
        QVERIFY(m_dienste->meldungen.isEmpty());

        // Another quality, another file: the second path is the one to publish.
        ziehen(QPoint(50, 50), QPoint(450, 100));
        w<QLineEdit>("TextKomp")->setText(QStringLiteral("70"));
        QTest::mouseClick(w<QPushButton>("Command1"), Qt::LeftButton);
        const QString zweiter = m_ordner.filePath(QStringLiteral("zweiter.jpg"));
        m_dienste->speichernAntworten << zweiter;
        QTest::mouseClick(w<QPushButton>("Command2"), Qt::LeftButton);
        QCOMPARE(lesen(zweiter), m_f->letzteMessung.daten);
        QVERIFY(lesen(zweiter) != lesen(erster));
        QCOMPARE(m_f->veroeffentlichPfad, zweiter);

        // Without the reminder only the clipboard and the browser act.
        QTest::mouseClick(w<QPushButton>("Command3"), Qt::LeftButton);
        QVERIFY(m_dienste->meldungen.isEmpty());
        QCOMPARE(m_dienste->zwischenablage, QStringList{zweiter});
        QCOMPARE(m_dienste->urls.size(), 1);

        // Proposal mode 1 after a save proposes the saved file's name; cancelling changes nothing.
        m_f->vorschlag = 1;
        QTest::mouseClick(w<QPushButton>("Command2"), Qt::LeftButton);
        QCOMPARE(m_dienste->gezeigteDialoge.last().FileName, QStringLiteral("zweiter.jpg"));
        QCOMPARE(m_f->veroeffentlichPfad, zweiter);
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
        starten(QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 0, 0, '_web', 0"));
        laden(datei(QStringLiteral("falter.jpg"), testbilder::verlauf(900, 600)));
        if (speichern) {
            QTest::mouseClick(w<QPushButton>("Command7"), Qt::LeftButton);
            QTest::mouseClick(w<QPushButton>("Command1"), Qt::LeftButton);
            QTest::mouseClick(w<QPushButton>("Command2"), Qt::LeftButton); // cancelled
        } else {
            oeffnen(*m_f, *m_dienste, QString());
        }
        DateiDialog einstellung = m_dienste->gezeigteDialoge.last();
        QCOMPARE(einstellung.FileName, QStringLiteral("*.jpg"));
        einstellung.InitDir = m_ordner.path();

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
        starten();
        laden(datei(QStringLiteral("falter.jpg"), testbilder::verlauf(1800, 1200)));
        QTest::mouseClick(w<QPushButton>("Command7"), Qt::LeftButton);
        QTest::mouseClick(w<QPushButton>("Command1"), Qt::LeftButton);
        const QString original = m_ordner.filePath(QStringLiteral("falter.jpg"));
        const QByteArray vorher = lesen(original);
        QVERIFY(vorher.size() > 1000);

        m_dienste->speichernAntworten << original;
        {
            VollePlatte voll;
            QTest::mouseClick(w<QPushButton>("Command2"), Qt::LeftButton);
        }
        QCOMPARE(lesen(original), vorher);
        QCOMPARE(m_dienste->meldungen.size(), 2);
        QCOMPARE(m_dienste->meldungen[0].titel, QStringLiteral("GDI Error"));
        QCOMPARE(m_dienste->meldungen[1].text, QStringLiteral("Speichern war nicht erfolgreich."));
        QCOMPARE(m_dienste->meldungen[1].details, QStringLiteral("Die Datei wäre größer, als das System erlaubt."));
        QCOMPARE(m_dienste->meldungen[1].titel, QStringLiteral("Fotoschliff"));
        QCOMPARE(m_f->veroeffentlichPfad, QString());
        QVERIFY(!w<QPushButton>("Command3")->isEnabled());

        // A folder that does not exist.
        m_dienste->speichernAntworten << m_ordner.filePath(QStringLiteral("fehlt/bild.jpg"));
        QTest::mouseClick(w<QPushButton>("Command2"), Qt::LeftButton);
        QCOMPARE(m_dienste->meldungen.size(), 4);
        QCOMPARE(m_dienste->meldungen[3].text, QStringLiteral("Speichern war nicht erfolgreich."));
        QCOMPARE(m_dienste->meldungen[3].details, QStringLiteral("Der Ordner existiert nicht."));

        // A read-only file is an access denial, and the box says so behind "Details".
        const QString nurLesen = m_ordner.filePath(QStringLiteral("nurlesen.jpg"));
        QVERIFY(testbilder::schreiben(nurLesen, "ALT"));
        QVERIFY(QFile::setPermissions(nurLesen, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther));
        m_dienste->speichernAntworten << nurLesen;
        QTest::mouseClick(w<QPushButton>("Command2"), Qt::LeftButton);
        QCOMPARE(m_dienste->meldungen.size(), 6);
        QCOMPARE(m_dienste->meldungen[4].text, QStringLiteral("Access Denied. GDI+ Error:12"));
        QCOMPARE(m_dienste->meldungen[5].text, QStringLiteral("Speichern war nicht erfolgreich."));
        QCOMPARE(m_dienste->meldungen[5].details, QStringLiteral("Keine Schreibberechtigung für „%1“.").arg(nurLesen));
        QCOMPARE(lesen(nurLesen), QByteArray("ALT"));

        // Saving over the original on purpose works, with exactly the measured bytes.
        m_dienste->speichernAntworten << original;
        QTest::mouseClick(w<QPushButton>("Command2"), Qt::LeftButton);
        QCOMPARE(lesen(original), m_f->letzteMessung.daten);
    }

    // A release arriving while a chain runs is handled after it, not inside it.
    void zweiteFreigabeWartetAufDieErste()
    {
        starten();
        laden(datei(QStringLiteral("wiese.jpg"), testbilder::verlauf(3000, 2000)));
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
        beobachter.beiDruck = [&] { groesseBeiZweitemDruck << t("lblKb"); };

        QTest::mousePress(ziel(), Qt::LeftButton, {}, QPoint(40, 40));
        QTest::mouseMove(ziel(), QPoint(400, 80));
        ziel()->installEventFilter(&beobachter);
        // The user is quicker than the chain: the next frame's events are already queued.
        const QPoint p(60, 60);
        QCoreApplication::postEvent(ziel(), new QMouseEvent(QEvent::MouseButtonPress, p, ziel()->mapToGlobal(p), Qt::LeftButton,
                                                            Qt::LeftButton, Qt::NoModifier));
        QTest::mouseRelease(ziel(), Qt::LeftButton, {}, QPoint(400, 80));
        QCoreApplication::processEvents();
        ziel()->removeEventFilter(&beobachter);
        QCOMPARE(groesseBeiZweitemDruck.size(), 1);
        QVERIFY2(!groesseBeiZweitemDruck[0].isEmpty(), "the second press ran inside the first chain");
        QTest::mouseRelease(ziel(), Qt::LeftButton, {}, p);
    }

    // The whole workflow through the real window.
    void vonAnfangBisEnde()
    {
        starten(QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 1, 0, '_web', 2"));
        const QString pfad = datei(QStringLiteral("falter.jpg"), testbilder::verlauf(3000, 2000));
        const QByteArray original = lesen(pfad);
        laden(pfad);
        QCOMPARE(t("lblQ"), QStringLiteral("3000 x 2000"));
        QCOMPARE(t("lblQprüf"), QStringLiteral("zu groß"));
        QVERIFY(!w<QPushButton>("Command3")->isEnabled());

        ziehen(QPoint(30, 30), QPoint(330, 60));
        QVERIFY(zahlen_ok(t("lblA")));
        QCOMPARE(t("lblZpx"), QStringLiteral("600 x 400"));
        QCOMPARE(t("lblPrüf"), QStringLiteral("OK"));
        QCOMPARE(t("lblPrüf1"), QStringLiteral("OK"));
        QCOMPARE(t("lblPrüf2"), QStringLiteral("OK"));
        QCOMPARE(m_f->statusLicht(), 2);
        QVERIFY(w<QPushButton>("Command1")->isEnabled());

        QTest::mouseClick(w<QPushButton>("Command1"), Qt::LeftButton);
        const QString gespeichert = m_ordner.filePath(QStringLiteral("falter_web.jpg"));
        m_dienste->speichernAntworten << gespeichert;
        QTest::mouseClick(w<QPushButton>("Command2"), Qt::LeftButton);
        QCOMPARE(m_dienste->gezeigteDialoge.last().FileName, QStringLiteral("falter_web.jpg"));
        QVERIFY(QFileInfo(gespeichert).size() < 100 * 1024);
        QImage ergebnis(gespeichert);
        QCOMPARE(ergebnis.size(), QSize(600, 400));

        QTest::mouseClick(w<QPushButton>("Command3"), Qt::LeftButton);
        QCOMPARE(m_dienste->meldungen.size(), 1);
        QCOMPARE(m_dienste->zwischenablage, QStringList{gespeichert});
        QCOMPARE(m_dienste->urls.size(), 1);
        QCOMPARE(lesen(pfad), original); // the loaded file is never written
    }

private:
    static bool zahlen_ok(const QString& auswahl) { return auswahl.section(u' ', 0, 0).toInt() >= 600; }
};

QTEST_MAIN(TestZiel)
#include "test_ziel.moc"
