// The three additions to the workflow through the real window: the best quality
// below 100 KB, the question before publishing a photo that tells its place, and
// framing by keyboard.

#include "codec/Bildladen.h"
#include "app/Form1.h"
#include "output/BesteQualitaet.h"
#include "codec/Metadaten.h"
#include "output/Zielformat.h"
#include "platform/Flaechen.h"
#include "platform/Fokusrahmen.h"
#include "platform/Steuerelemente.h"
#include "platform/Zahlen.h"

#include "Fensterhilfe.h"
#include "TestBilder.h"
#include "TestDienste.h"

#include "fotoschliff_config.h"

#include <QFileInfo>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTest>

using namespace fensterhilfe;

namespace {

// Grey noise of the given strength around the middle; 256 gives black and white pixels only.
QImage rauschen(int b, int h, int staerke = 255)
{
    QImage bild(b, h, QImage::Format_RGB32);
    QRandomGenerator zufall(5);
    for (int y = 0; y < h; ++y) {
        auto* z = reinterpret_cast<QRgb*>(bild.scanLine(y));
        for (int x = 0; x < b; ++x) {
            const auto k = [&] {
                return staerke > 255 ? 255 * int(zufall.bounded(2)) : std::clamp(120 + int(zufall.bounded(staerke + 1)) - staerke / 2, 0, 255);
            };
            z[x] = qRgb(k(), k(), k());
        }
    }
    return bild;
}

QByteArray lesen(const QString& pfad)
{
    QFile f(pfad);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

const QStringList gps{QStringLiteral("Exif.GPSInfo.GPSLatitudeRef=N"), QStringLiteral("Exif.GPSInfo.GPSLatitude=51/1 9/1 2463/100"),
                      QStringLiteral("Exif.GPSInfo.GPSLongitudeRef=E"), QStringLiteral("Exif.GPSInfo.GPSLongitude=14/1 59/1 1234/100"),
                      QStringLiteral("Exif.Image.Make=Flattrium")};

QList<int> app1Segmente(const QByteArray& jpeg)
{
    QList<int> gefunden;
    for (const testbilder::Segment& s : testbilder::segmente(jpeg))
        if ((s.marker >= 0xE1 && s.marker <= 0xEF) || s.marker == 0xFE)
            gefunden << s.marker;
    return gefunden;
}

} // namespace

class TestExtras : public QObject {
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
    BildFlaeche* ziel() const { return w<BildFlaeche>("picZiel"); }
    QPushButton* knopf() const { return w<QPushButton>("cmdBesteQualitaet"); }
    QObject* shape1() const { return m_f->findChild<QObject*>(QStringLiteral("Shape1")); }
    QRectF rahmen() const
    {
        const QObject* s = shape1();
        return QRectF(s->property("Left").toFloat(), s->property("Top").toFloat(), s->property("Width").toFloat(),
                      s->property("Height").toFloat());
    }

    QString datei(const QString& name, const QByteArray& inhalt)
    {
        const QString pfad = m_ordner.filePath(name);
        testbilder::schreiben(pfad, inhalt);
        return pfad;
    }

    // Settings: fundortmeldung as given, save folder the scratch folder, suffix _web, proposal mode 2.
    void starten(bool fundortmeldung = false)
    {
        QVERIFY(einstellungenSchreiben(QStringLiteral("NULL, '%1', 0, 0, 4, 600, 400, 92, %2, 0, '_web', 2")
                                           .arg(m_ordner.path())
                                           .arg(fundortmeldung ? 1 : 0)));
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

    void taste(QEvent::Type art, int schluessel, Qt::KeyboardModifiers mod = {}, bool wiederholt = false)
    {
        QKeyEvent e(art, schluessel, mod, QString(), wiederholt);
        QCoreApplication::sendEvent(ziel(), &e);
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

    // --- "beste < 100 KB" ---

    void knopfNurMitZielbild()
    {
        starten();
        QVERIFY(!knopf()->isEnabled());
        QCOMPARE(knopf()->text(), QStringLiteral("beste < 100 KB"));
        QVERIFY(!knopf()->toolTip().isEmpty());
        QCOMPARE(knopf()->parentWidget(), w<QWidget>("Frame3"));
        laden(datei(QStringLiteral("a.jpg"), testbilder::alsJpeg(testbilder::verlauf(1200, 800))));
        QVERIFY(!knopf()->isEnabled());

        struct Schritt {
            const char* was;
            std::function<void()> tun;
            bool an;
        };
        const Schritt schritte[] = {
            {"ganzes Bild", [this] { QTest::mouseClick(w<QPushButton>("Command7"), Qt::LeftButton); }, true},
            {"Zuschneiden", [this] { QTest::mouseClick(w<QPushButton>("Command1"), Qt::LeftButton); }, true},
            {"anderes Seitenverhältnis", [this] { w<Liste>("Combo1")->setzeListIndex(1); }, false},
            {"Rahmen gezogen", [this] { ziehen(QPoint(50, 40), QPoint(250, 90)); }, true},
            {"Rahmen ganz über dem Bild", [this] { ziehen(QPoint(50, 3), QPoint(51, -200)); }, false},
            {"Rahmen gezogen", [this] { ziehen(QPoint(50, 40), QPoint(250, 90)); }, true},
            {"neues Bild", [this] { laden(m_ordner.filePath(QStringLiteral("a.jpg"))); }, false},
        };
        for (const Schritt& s : schritte) {
            s.tun();
            QVERIFY2(knopf()->isEnabled() == s.an, s.was);
        }
    }

    void besteQualitaetGehtDurchDasKompressionsfeld()
    {
        starten();
        laden(datei(QStringLiteral("korn.jpg"), testbilder::alsJpeg(rauschen(900, 600, 70), 95)));
        w<Liste>("List1")->setzeListIndex(5); // 900 x 600
        QTest::mouseClick(w<QPushButton>("Command7"), Qt::LeftButton);
        QCOMPARE(t("lblPrüf2"), QStringLiteral("zu groß")); // at the stored 92

        // What trying every quality by hand would give.
        JpegDienst dienst;
        QCOMPARE(dienst.GdipStarten(1), 0);
        const QImage zielbild = w<BildFlaeche>("picTemp")->bild();
        int erwartet = 0;
        QByteArray datenBeiErwartet;
        for (int q = 1; q <= 100; ++q) {
            QByteArray daten;
            QCOMPARE(dienst.kodieren(zielbild, q, daten), 0);
            if (beste::groesseGeeignet(daten.size())) {
                erwartet = q;
                datenBeiErwartet = daten;
            }
        }
        QVERIFY(erwartet > 1 && erwartet < 100);

        QTest::mouseClick(knopf(), Qt::LeftButton);
        QCOMPARE(w<QLineEdit>("TextKomp")->text(), QString::number(erwartet));
        QCOMPARE(m_f->jpegQualitaet, erwartet);
        QCOMPARE(m_f->letzteMessung.daten, datenBeiErwartet);
        QCOMPARE(t("lblKb"), GroessenText(datenBeiErwartet.size()));
        QCOMPARE(t("lblZkb"), t("lblKb"));
        QCOMPARE(t("lblPrüf2"), QStringLiteral("OK"));
        QCOMPARE(m_f->statusLicht(), 2);
        QVERIFY(m_dienste->meldungen.isEmpty());

        // Clicked again with the box already showing it: the box's handling still measures.
        m_f->letzteMessung = JpegMessung();
        QTest::mouseClick(knopf(), Qt::LeftButton);
        QCOMPARE(m_f->letzteMessung.daten, datenBeiErwartet);

        // After "Zuschneiden" it tunes the crop, and a save writes exactly that file.
        QTest::mouseClick(w<QPushButton>("Command1"), Qt::LeftButton);
        QVERIFY(knopf()->isEnabled());
        w<QLineEdit>("TextKomp")->setText(QStringLiteral("60"));
        QVERIFY(m_f->letzteMessung.daten != datenBeiErwartet);
        QTest::mouseClick(knopf(), Qt::LeftButton);
        QCOMPARE(w<QLineEdit>("TextKomp")->text(), QString::number(erwartet));
        QCOMPARE(m_f->letzteMessung.daten, datenBeiErwartet);
        QCOMPARE(t("lblKb"), GroessenText(datenBeiErwartet.size()));
        const QString gespeichert = m_ordner.filePath(QStringLiteral("korn_web.jpg"));
        m_dienste->speichernAntworten << gespeichert;
        QTest::mouseClick(w<QPushButton>("Command2"), Qt::LeftButton);
        QCOMPARE(lesen(gespeichert), datenBeiErwartet);
        QVERIFY(QFileInfo(gespeichert).size() < 102400);
    }

    void nichtsPasst()
    {
        starten();
        // Black and white noise: even at quality 1 some 190 KB at 1800 x 1200.
        laden(datei(QStringLiteral("riesig.jpg"), testbilder::alsJpeg(rauschen(1800, 1200, 256), 90)));
        w<Liste>("List1")->setzeListIndex(0);
        w<QLineEdit>("TextB")->setText(QStringLiteral("1800"));
        QTest::mouseClick(w<QPushButton>("Command7"), Qt::LeftButton);
        const QString vorher = t("lblKb");
        const int qualitaet = m_f->jpegQualitaet;

        QTest::mouseClick(knopf(), Qt::LeftButton);
        QCOMPARE(m_dienste->meldungen.size(), 1);
        QCOMPARE(m_dienste->meldungen[0].text,
                 QStringLiteral("Selbst mit der Qualität 1 wird die Datei nicht kleiner als 100 KB.\r\n"
                                "Bitte wählen Sie unter „3. Zielformat festlegen“ eine kleinere Zielgröße."));
        QCOMPARE(m_dienste->meldungen[0].titel, QStringLiteral("Fotoschliff"));
        QCOMPARE(w<QLineEdit>("TextKomp")->text(), QStringLiteral("92"));
        QCOMPARE(m_f->jpegQualitaet, qualitaet);
        QCOMPARE(t("lblKb"), vorher);
    }

    // --- the place a photo was taken ---

    void standortFrage_data()
    {
        QTest::addColumn<bool>("mitStandort");
        QTest::addColumn<int>("antwort"); // -1: not asked
        QTest::addColumn<QString>("speichern"); // the save dialog's answer: "" cancel, else a name in the scratch folder
        QTest::addColumn<bool>("erinnerung");
        QTest::addColumn<QString>("veroeffentlicht"); // "" nothing, "original", "kopie"
        const QString kopie = QStringLiteral("orchidee_web.jpg");
        QTest::newRow("ohne Standort") << false << -1 << QString() << true << QStringLiteral("original");
        QTest::newRow("Original veröffentlichen") << true << 1 << QString() << true << QStringLiteral("original");
        QTest::newRow("Abbrechen") << true << 2 << QString() << true << QString();
        QTest::newRow("Kopie ohne Standort") << true << 0 << kopie << true << QStringLiteral("kopie");
        QTest::newRow("Kopie ohne Erinnerung") << true << 0 << kopie << false << QStringLiteral("kopie");
        QTest::newRow("Kopie, Speichern abgebrochen") << true << 0 << QString() << true << QString();
        QTest::newRow("Kopie, Ordner fehlt") << true << 0 << QStringLiteral("fehlt/orchidee_web.jpg") << true << QString();
    }
    void standortFrage()
    {
        QFETCH(bool, mitStandort);
        QFETCH(int, antwort);
        QFETCH(QString, speichern);
        QFETCH(bool, erinnerung);
        QFETCH(QString, veroeffentlicht);

        starten(erinnerung);
        const QByteArray foto = testbilder::alsJpeg(testbilder::verlauf(600, 400), 85);
        const QString original = datei(QStringLiteral("orchidee.jpg"),
                                       mitStandort ? testbilder::mitAngaben(foto, gps + QStringList{QStringLiteral("Exif.Image.Orientation=6")}) : foto);
        const QByteArray originalInhalt = lesen(original);
        laden(original);
        QVERIFY(w<QPushButton>("Command3")->isEnabled()); // suitable as it is

        const QString kopie = m_ordner.filePath(QStringLiteral("orchidee_web.jpg"));
        QFile::remove(kopie);
        if (antwort >= 0)
            m_dienste->frageAntworten << antwort;
        m_dienste->speichernAntworten << (speichern.isEmpty() ? QString() : m_ordner.filePath(speichern));
        // The reminder comes after the question, before the clipboard and the browser.
        int fragenBeiErinnerung = -1;
        m_dienste->beiMeldung = [&](const TestDienste::Meldung&) {
            fragenBeiErinnerung = int(m_dienste->fragen.size());
            QVERIFY(m_dienste->zwischenablage.isEmpty() && m_dienste->urls.isEmpty());
        };
        QTest::mouseClick(w<QPushButton>("Command3"), Qt::LeftButton);

        QCOMPARE(m_dienste->fragen.size(), antwort >= 0 ? 1 : 0);
        if (antwort >= 0) {
            const TestDienste::Frage& f = m_dienste->fragen[0];
            QCOMPARE(f.titel, QStringLiteral("Fotoschliff"));
            QCOMPARE(f.antworten, (QStringList{QStringLiteral("Kopie ohne Standort veröffentlichen"),
                                               QStringLiteral("Original veröffentlichen"), QStringLiteral("Abbrechen")}));
            QVERIFY(f.text.contains(QStringLiteral("„orchidee.jpg“ enthält ihren Aufnahmeort")));
        }
        const QString pfad = veroeffentlicht == u"kopie" ? kopie : veroeffentlicht == u"original" ? original : QString();
        QCOMPARE(m_dienste->zwischenablage, pfad.isEmpty() ? QStringList{} : QStringList{pfad});
        QCOMPARE(m_dienste->urls.size(), pfad.isEmpty() ? 0 : 1);
        const bool fehlschlag = speichern.startsWith(QStringLiteral("fehlt/"));
        // A failed save: the encoding service's error box, then the program's own.
        QCOMPARE(m_dienste->meldungen.size(), fehlschlag ? 2 : !pfad.isEmpty() && erinnerung ? 1 : 0);
        if (fehlschlag)
            QCOMPARE(m_dienste->meldungen[1].text, QStringLiteral("Speichern war nicht erfolgreich."));
        else if (!m_dienste->meldungen.isEmpty())
            QCOMPARE(fragenBeiErinnerung, antwort >= 0 ? 1 : 0);
        QCOMPARE(lesen(original), originalInhalt);
        QCOMPARE(QFileInfo::exists(kopie), veroeffentlicht == u"kopie");
        if (veroeffentlicht != u"kopie") {
            QCOMPARE(m_f->veroeffentlichPfad, original);
            return;
        }

        // The copy: the usual save dialog, no place in it, the same picture, published from now on.
        const DateiDialog& dialog = m_dienste->gezeigteDialoge.last();
        QCOMPARE(dialog.DialogTitle, QStringLiteral("Speichern unter"));
        QCOMPARE(dialog.FileName, QStringLiteral("orchidee_web.jpg"));
        QCOMPARE(m_dienste->gezeigteDialoge.size(), 2); // opening, then this
        const QByteArray ohne = lesen(kopie);
        QVERIFY(!metadaten::standortEnthalten(ohne));
        QCOMPARE(app1Segmente(ohne), QList<int>{0xE1}); // the orientation alone
        QVERIFY(ohne.size() < originalInhalt.size());
        const Ladeergebnis a = jpegLaden(original), b = jpegLaden(kopie);
        QVERIFY(!b.bild.isNull());
        QCOMPARE(b.bild, a.bild);
        QCOMPARE(b.bild.size(), QSize(400, 600)); // still upright
        QCOMPARE(m_f->veroeffentlichPfad, kopie);
        QCOMPARE(w<QPushButton>("Command3")->toolTip(), kopie);
        m_dienste->beiMeldung = nullptr;
        QTest::mouseClick(w<QPushButton>("Command3"), Qt::LeftButton);
        QCOMPARE(m_dienste->fragen.size(), 1);
        QCOMPARE(m_dienste->zwischenablage.last(), kopie);
    }

    // What the program saves itself carries nothing but the picture.
    void gespeicherteBilderOhneMetadaten()
    {
        starten();
        const QByteArray foto = testbilder::alsJpeg(testbilder::verlauf(1500, 1000), 90);
        laden(datei(QStringLiteral("fund.jpg"), testbilder::mitAngaben(foto, gps + QStringList{QStringLiteral("Xmp.photoshop.City=Görlitz")})));
        ziehen(QPoint(40, 30), QPoint(500, 60));
        QTest::mouseClick(w<QPushButton>("Command1"), Qt::LeftButton);
        const QString gespeichert = m_ordner.filePath(QStringLiteral("fund_web.jpg"));
        m_dienste->speichernAntworten << gespeichert;
        QTest::mouseClick(w<QPushButton>("Command2"), Qt::LeftButton);
        const QByteArray inhalt = lesen(gespeichert);
        QVERIFY(inhalt.size() > 1000);
        QCOMPARE(app1Segmente(inhalt), QList<int>{});
        QTest::mouseClick(w<QPushButton>("Command3"), Qt::LeftButton);
        QVERIFY(m_dienste->fragen.isEmpty());
        QCOMPARE(m_dienste->zwischenablage, QStringList{gespeichert});
    }

    // --- framing by keyboard ---

    void tasten_data()
    {
        QTest::addColumn<int>("schluessel");
        QTest::addColumn<int>("mod");
        QTest::addColumn<QPointF>("verschiebung");
        QTest::addColumn<float>("breiter");
        const int keine = Qt::NoModifier, shift = Qt::ShiftModifier, block = Qt::KeypadModifier;
        QTest::newRow("rechts") << int(Qt::Key_Right) << keine << QPointF(1, 0) << 0.0f;
        QTest::newRow("links") << int(Qt::Key_Left) << keine << QPointF(-1, 0) << 0.0f;
        QTest::newRow("hoch") << int(Qt::Key_Up) << keine << QPointF(0, -1) << 0.0f;
        QTest::newRow("runter") << int(Qt::Key_Down) << keine << QPointF(0, 1) << 0.0f;
        QTest::newRow("Umschalt rechts") << int(Qt::Key_Right) << shift << QPointF(10, 0) << 0.0f;
        QTest::newRow("Umschalt hoch") << int(Qt::Key_Up) << shift << QPointF(0, -10) << 0.0f;
        QTest::newRow("plus") << int(Qt::Key_Plus) << keine << QPointF() << 1.0f;
        QTest::newRow("minus") << int(Qt::Key_Minus) << keine << QPointF() << -1.0f;
        QTest::newRow("plus Ziffernblock") << int(Qt::Key_Plus) << block << QPointF() << 1.0f;
        QTest::newRow("minus Ziffernblock") << int(Qt::Key_Minus) << block << QPointF() << -1.0f;
        QTest::newRow("Escape") << int(Qt::Key_Escape) << keine << QPointF() << 0.0f;
        QTest::newRow("Leertaste") << int(Qt::Key_Space) << keine << QPointF() << 0.0f;
        QTest::newRow("Strg rechts") << int(Qt::Key_Right) << int(Qt::ControlModifier) << QPointF() << 0.0f;
    }
    void tasten()
    {
        QFETCH(int, schluessel);
        QFETCH(int, mod);
        QFETCH(QPointF, verschiebung);
        QFETCH(float, breiter);
        starten();
        laden(datei(QStringLiteral("wiese.jpg"), testbilder::alsJpeg(testbilder::verlauf(1800, 1200))));
        ziehen(QPoint(200, 150), QPoint(499, 200));
        const QRectF vorher = rahmen();
        QCOMPARE(vorher, QRectF(200, 150, 300, 200));
        const int laeufe = m_f->zielkettenLaeufe();

        QTest::keyClick(ziel(), Qt::Key(schluessel), Qt::KeyboardModifiers(mod));

        const bool aendert = !verschiebung.isNull() || breiter != 0;
        // In single precision, as the frame keeps it: around the same centre, height from 3:2.
        const float l = float(vorher.left()), o = float(vorher.top()), b = float(vorher.width()) + breiter, h = b * 2 / 3;
        const float mx = l + float(vorher.width()) / 2, my = o + float(vorher.height()) / 2;
        const QRectF erwartet = breiter != 0 ? QRectF(mx - b / 2, my - h / 2, b, h) : vorher.translated(verschiebung);
        QCOMPARE(rahmen(), erwartet);
        // The handles sit on the corners, the read-out shows the size in source pixels.
        const QObject* ru = m_f->findChild<QObject*>(QStringLiteral("RU"));
        QCOMPARE(ru->property("Left").toFloat(), float(erwartet.right()) - 3);
        QCOMPARE(ru->property("Top").toFloat(), float(erwartet.bottom()) - 3);
        QVERIFY(ru->property("Visible").toBool());
        const float fx = w<BildFlaeche>("picQuelle")->ScaleWidth() / ziel()->ScaleWidth();
        const float fy = w<BildFlaeche>("picQuelle")->ScaleHeight() / ziel()->ScaleHeight();
        QCOMPARE(t("lblA"), QStringLiteral("%1 x %2")
                                .arg(zahlen::RundeAnzeige(float(erwartet.width()) * fx))
                                .arg(zahlen::RundeAnzeige(float(erwartet.height()) * fy)));
        // The chain ran once, for the new frame.
        QCOMPARE(m_f->zielkettenLaeufe(), laeufe + (aendert ? 1 : 0));
        const QSize zielgroesse(600, 400);
        QCOMPARE(w<BildFlaeche>("picTemp")->bild().size(), zielgroesse);
        QVERIFY(shape1()->property("Visible").toBool());
    }

    void tastenAmRand()
    {
        starten();
        laden(datei(QStringLiteral("wiese.jpg"), testbilder::alsJpeg(testbilder::verlauf(1800, 1200))));
        QTest::mouseClick(w<QPushButton>("Command7"), Qt::LeftButton);
        const QRectF ganz = rahmen();
        const int laeufe = m_f->zielkettenLaeufe();
        // The whole picture: nowhere to go, nothing grows.
        for (Qt::Key k : {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up, Qt::Key_Down, Qt::Key_Plus})
            QTest::keyClick(ziel(), k, Qt::ShiftModifier);
        QCOMPARE(rahmen(), ganz);
        QCOMPARE(m_f->zielkettenLaeufe(), laeufe);

        // Smaller, then pushed against the corners: it stops at the edges.
        for (int i = 0; i < 30; ++i)
            QTest::keyClick(ziel(), Qt::Key_Minus);
        const QSizeF klein = rahmen().size();
        for (int i = 0; i < 10; ++i)
            QTest::keyClick(ziel(), Qt::Key_Right, Qt::ShiftModifier);
        QCOMPARE(rahmen().right(), ganz.right());
        for (int i = 0; i < 10; ++i)
            QTest::keyClick(ziel(), Qt::Key_Down, Qt::ShiftModifier);
        QCOMPARE(rahmen().bottom(), ganz.bottom());
        // At the corner it grows inwards and stays inside.
        for (int i = 0; i < 3; ++i)
            QTest::keyClick(ziel(), Qt::Key_Plus);
        QCOMPARE(rahmen().width(), klein.width() + 3);
        QCOMPARE(rahmen().right(), ganz.right());
        QCOMPARE(rahmen().bottom(), ganz.bottom());
        for (int i = 0; i < 100; ++i)
            QTest::keyClick(ziel(), Qt::Key_Up, Qt::ShiftModifier);
        QCOMPARE(rahmen().top(), 0.0);
        for (int i = 0; i < 100; ++i)
            QTest::keyClick(ziel(), Qt::Key_Left, Qt::ShiftModifier);
        QCOMPARE(rahmen().left(), 0.0);
        const float breite = float(klein.width()) + 3;
        QCOMPARE(rahmen().size(), QSizeF(breite, breite * 2 / 3));
    }

    void ohneRahmenNichts()
    {
        starten();
        laden(datei(QStringLiteral("wiese.jpg"), testbilder::alsJpeg(testbilder::verlauf(1800, 1200))));
        const int laeufe = m_f->zielkettenLaeufe();
        for (Qt::Key k : {Qt::Key_Left, Qt::Key_Plus, Qt::Key_Minus}) {
            QKeyEvent e(QEvent::KeyPress, k, Qt::NoModifier);
            QCoreApplication::sendEvent(ziel(), &e);
            QVERIFY(!e.isAccepted()); // left to the window
        }
        QVERIFY(!shape1()->property("Visible").toBool());
        QCOMPARE(t("lblA"), QString());
        QCOMPARE(m_f->zielkettenLaeufe(), laeufe);
        // After cropping the frame is gone too.
        QTest::mouseClick(w<QPushButton>("Command7"), Qt::LeftButton);
        QTest::mouseClick(w<QPushButton>("Command1"), Qt::LeftButton);
        QTest::keyClick(ziel(), Qt::Key_Right);
        QVERIFY(!shape1()->property("Visible").toBool());
    }

    // A held key: the frame follows every step; the chain runs for the first step and
    // once more when the repeating ends.
    void gehalteneTaste()
    {
        starten();
        laden(datei(QStringLiteral("wiese.jpg"), testbilder::alsJpeg(testbilder::verlauf(1800, 1200))));
        ziehen(QPoint(200, 150), QPoint(499, 200));
        const QRectF vorher = rahmen();
        const float fx = w<BildFlaeche>("picQuelle")->ScaleWidth() / ziel()->ScaleWidth();
        int laeufe = m_f->zielkettenLaeufe();

        taste(QEvent::KeyPress, Qt::Key_Right);
        QCOMPARE(m_f->zielkettenLaeufe(), laeufe + 1);
        for (int i = 0; i < 8; ++i) {
            taste(QEvent::KeyRelease, Qt::Key_Right, {}, true);
            taste(QEvent::KeyPress, Qt::Key_Right, {}, true);
        }
        QCOMPARE(rahmen(), vorher.translated(9, 0));
        QCOMPARE(t("lblA").section(u' ', 0, 0).toInt(), zahlen::RundeAnzeige(float(vorher.width()) * fx));
        QCOMPARE(m_f->zielkettenLaeufe(), laeufe + 1);
        taste(QEvent::KeyRelease, Qt::Key_Right);
        QCOMPARE(m_f->zielkettenLaeufe(), laeufe + 2);
        QCOMPARE(w<QObject>("Shape2")->property("Left").toFloat(), float(vorher.left() + 9) * fx);

        // Held without letting go: the chain runs 150 ms after the last step.
        laeufe = m_f->zielkettenLaeufe();
        taste(QEvent::KeyPress, Qt::Key_Down);
        taste(QEvent::KeyPress, Qt::Key_Down, {}, true);
        taste(QEvent::KeyPress, Qt::Key_Down, {}, true);
        QCOMPARE(m_f->zielkettenLaeufe(), laeufe + 1);
        QVERIFY(QTest::qWaitFor([&] { return m_f->zielkettenLaeufe() == laeufe + 2; }, 1000));
        QTest::qWait(200);
        taste(QEvent::KeyRelease, Qt::Key_Down);
        QCOMPARE(m_f->zielkettenLaeufe(), laeufe + 2);
        QCOMPARE(rahmen(), vorher.translated(9, 3));
    }

    // Tab reaches the picture area and a focus frame shows it; after a click the frame
    // shows only once a key is used there.
    void fokus()
    {
        starten();
        laden(datei(QStringLiteral("wiese.jpg"), testbilder::alsJpeg(testbilder::verlauf(1800, 1200))));
        m_f->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_f.get()));
        auto* zeichen = m_f->findChild<Fokusrahmen*>();
        QVERIFY(zeichen && zeichen->parentWidget() == ziel());
        QVERIFY(!zeichen->isVisible());

        w<QWidget>("Command4(3)")->setFocus(Qt::TabFocusReason);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), ziel());
        QVERIFY(zeichen->isVisible());
        QCOMPARE(zeichen->geometry(), ziel()->rect());
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QVERIFY(QApplication::focusWidget() != ziel());
        QVERIFY(!zeichen->isVisible());

        ziehen(QPoint(100, 100), QPoint(300, 150));
        QCOMPARE(QApplication::focusWidget(), ziel());
        QVERIFY(!zeichen->isVisible());
        const QRectF vorher = rahmen();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Right);
        QCOMPARE(rahmen(), vorher.translated(1, 0));
        QVERIFY(zeichen->isVisible());
    }
};

QTEST_MAIN(TestExtras)
#include "test_extras.moc"
