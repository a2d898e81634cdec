#include "app/Ansicht.h"
#include "app/Form1.h"
#include "app/Ladeablauf.h"
#include "codec/JpegDienst.h"
#include "platform/Flaechen.h"
#include "platform/Steuerelemente.h"

#include "Fensterhilfe.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QBuffer>
#include <QColorSpace>
#include <QColorTransform>
#include <QDir>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <jpeglib.h>

using namespace fensterhilfe;

namespace {

// What a load must leave untouched when it fails.
struct Zustand {
    QString text1, lblQ, lblA, ansicht;
    float quelleB, quelleH, zielB;
    bool rahmen;
    QRgb pixel;
    static Zustand von(const Form1& f)
    {
        auto* quelle = finde<BildFlaeche>(f, "picQuelle");
        return {finde<QLineEdit>(f, "Text1")->text(), text(f, "lblQ"), text(f, "lblA"), text(f, "lblAnsicht"),
                quelle->ScaleWidth(), quelle->ScaleHeight(), finde<BildFlaeche>(f, "picZiel")->ScaleWidth(),
                f.findChild<QObject*>(QStringLiteral("Shape1"))->property("Visible").toBool(),
                quelle->bild().isNull() ? 0u : quelle->bild().pixel(0, 0)};
    }
    bool operator==(const Zustand&) const = default;
};

// A tiny valid JPEG whose frame header claims another size.
QByteArray mitBehaupteterGroesse(QByteArray jpeg, int breite, int hoehe)
{
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    jpeg[sof + 5] = char(hoehe >> 8);
    jpeg[sof + 6] = char(hoehe & 0xFF);
    jpeg[sof + 7] = char(breite >> 8);
    jpeg[sof + 8] = char(breite & 0xFF);
    return jpeg;
}

// A large JPEG of one grey, written row by row so that making it needs little memory.
bool grosserJpeg(const QString& pfad, int breite, int hoehe)
{
    FILE* datei = std::fopen(QFile::encodeName(pfad).constData(), "wb");
    if (!datei)
        return false;
    jpeg_compress_struct info;
    jpeg_error_mgr fehler;
    info.err = jpeg_std_error(&fehler);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, datei);
    info.image_width = JDIMENSION(breite);
    info.image_height = JDIMENSION(hoehe);
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 50, TRUE);
    jpeg_start_compress(&info, TRUE);
    std::vector<unsigned char> zeile(size_t(breite) * 3, 140);
    while (info.next_scanline < info.image_height) {
        JSAMPROW z = zeile.data();
        jpeg_write_scanlines(&info, &z, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(datei);
    return true;
}

} // namespace

class TestLaden : public QObject {
    Q_OBJECT
    QTemporaryDir m_ordner;

    QString datei(const QString& name, const QByteArray& daten)
    {
        const QString pfad = m_ordner.filePath(name);
        testbilder::schreiben(pfad, daten);
        return pfad;
    }
    QString jpeg(const QString& name, int b, int h) { return datei(name, testbilder::alsJpeg(testbilder::verlauf(b, h))); }

private slots:
    void initTestCase() { testUmgebungEinrichten(); }
    void init() { QVERIFY(ohneStartmeldung()); }
    void cleanup()
    {
        Ladeablauf::ersteAnsichtAb = Ladeablauf::ersteAnsichtAbStandard;
        Ladeauftrag::haltepunkt = 0;
    }

    // --- the view's size for the picture area 833 x 537 ---
    void ansichtsmasse_data()
    {
        QTest::addColumn<float>("qb");
        QTest::addColumn<float>("qh");
        QTest::addColumn<float>("b");
        QTest::addColumn<float>("h");
        QTest::addColumn<QString>("art");
        QTest::newRow("passt: eigene Größe") << 600.f << 400.f << 600.f << 400.f << "Originalgröße";
        QTest::newRow("quer, breiter als die Fläche") << 3000.f << 2000.f << 833.f << 555.3333f << "verkleinert";
        QTest::newRow("hoch") << 2000.f << 3000.f << 358.f << 537.f << "verkleinert";
        QTest::newRow("quadratisch nimmt die Hochformat-Regel") << 1000.f << 1000.f << 537.f << 537.f << "verkleinert";
        QTest::newRow("Gleichstand passt nicht") << 833.f << 400.f << 833.f << 400.f << "verkleinert";
        QTest::newRow("4:3 ragt unten hinaus") << 4000.f << 3000.f << 833.f << 624.75f << "verkleinert";
    }
    void ansichtsmasse()
    {
        QFETCH(float, qb);
        QFETCH(float, qh);
        QFETCH(float, b);
        QFETCH(float, h);
        QFETCH(QString, art);
        const Ansichtsmass m = ansichtBerechnen(qb, qh, 833, 537);
        QCOMPARE(m.breite, b);
        QCOMPARE(m.hoehe, h);
        QCOMPARE(m.beschriftung(), art);
        if (art == u"Originalgröße") {
            QCOMPARE(m.malBreite, qb);
            QCOMPARE(m.malHoehe, qh);
        } else {
            QCOMPARE(m.malBreite, b);
            QCOMPARE(m.malHoehe, h);
        }
        // The factors that map the frame to the source.
        if (qb == 3000.f && qh == 2000.f) {
            QCOMPARE(qb / m.breite, 3000.f / 833.f);
            QVERIFY(qAbs(qb / m.breite - 3.6f) < 0.01f);
        }
    }

    // --- the JPEG file whole in the picture area 833 x 537, at pixel ratios 1 and 2 ---
    void vorschauEingepasst_data()
    {
        QTest::addColumn<QSize>("datei");
        QTest::addColumn<qreal>("verhaeltnis");
        QTest::addColumn<QSize>("pixel");
        QTest::addColumn<QSizeF>("groesse");
        QTest::addColumn<int>("prozent");
        QTest::newRow("quer, 1") << QSize(900, 600) << 1.0 << QSize(806, 537) << QSizeF(806, 537) << 90;
        QTest::newRow("quer, 2") << QSize(900, 600) << 2.0 << QSize(900, 600) << QSizeF(450, 300) << 100;
        QTest::newRow("quer groß, 2") << QSize(1800, 1200) << 2.0 << QSize(1611, 1074) << QSizeF(805.5, 537) << 90;
        QTest::newRow("breit, 1") << QSize(1600, 900) << 1.0 << QSize(833, 469) << QSizeF(833, 469) << 52;
        QTest::newRow("hoch, 1") << QSize(600, 900) << 1.0 << QSize(358, 537) << QSizeF(358, 537) << 60;
        QTest::newRow("hoch, 2") << QSize(600, 900) << 2.0 << QSize(600, 900) << QSizeF(300, 450) << 100;
        QTest::newRow("klein, 1") << QSize(120, 80) << 1.0 << QSize(120, 80) << QSizeF(120, 80) << 100;
        QTest::newRow("klein, 2") << QSize(120, 80) << 2.0 << QSize(120, 80) << QSizeF(60, 40) << 100;
        QTest::newRow("genau so groß, 1") << QSize(833, 537) << 1.0 << QSize(833, 537) << QSizeF(833, 537) << 100;
        QTest::newRow("ein Pixel zu breit, 1") << QSize(834, 400) << 1.0 << QSize(833, 400) << QSizeF(833, 400) << 99;
    }
    void vorschauEingepasst()
    {
        QFETCH(QSize, datei);
        QFETCH(qreal, verhaeltnis);
        QFETCH(QSize, pixel);
        QFETCH(QSizeF, groesse);
        QFETCH(int, prozent);
        QCOMPARE(vorschauEinpassen(datei, QSizeF(833, 537), verhaeltnis), (Vorschaumass{pixel, groesse, prozent}));
        QCOMPARE(vorschauBeschriftung(prozent), QStringLiteral("JPEG-Datei %1 %").arg(prozent));
    }

    // --- loading through the dialog ---
    void ladenSetztAllesZurueck()
    {
        TestDienste dienste;
        Form1 f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const QString pfad = jpeg(QStringLiteral("wiese.jpg"), 3000, 2000);
        oeffnen(f, dienste, pfad);

        QCOMPARE(dienste.gezeigteDialoge.size(), 1);
        const DateiDialog& dialog = dienste.gezeigteDialoge[0];
        QCOMPARE(dialog.DialogTitle, QStringLiteral("jpg-Datei öffnen"));
        QCOMPARE(dialog.FileName, QStringLiteral("*.jpg"));
        QCOMPARE(dialog.InitDir, QString()); // no stored folder: the dialog's own choice

        QTRY_COMPARE(text(f, "lblQ"), QStringLiteral("3000 x 2000")); // a photo larger than the view comes a moment later
        QCOMPARE(finde<QLineEdit>(f, "Text1")->text(), pfad);
        QCOMPARE(finde<QLineEdit>(f, "Text1")->toolTip(), pfad);
        QCOMPARE(f.stand().dateiPfad(), pfad);
        QCOMPARE(text(f, "lblA"), QString());
        auto* ziel = finde<BildFlaeche>(f, "picZiel");
        auto* quelle = finde<BildFlaeche>(f, "picQuelle");
        QVERIFY(ziel->isVisible());
        QCOMPARE(quelle->ScaleWidth(), 3000.0f);
        QCOMPARE(quelle->ScaleHeight(), 2000.0f);
        const float flaeche = float(finde<QWidget>(f, "fraTisch")->width());
        QCOMPARE(ziel->ScaleWidth(), flaeche);
        QCOMPARE(ziel->ScaleHeight(), flaeche / 1.5f);
        QVERIFY(!finde<QPushButton>(f, "Command1")->isEnabled());
        QVERIFY(!finde<QPushButton>(f, "Command2")->isEnabled());
        QVERIFY(finde<QPushButton>(f, "Command7")->isEnabled());
        for (const char* name : {"Shape1", "LO", "RO", "LU", "RU"})
            QVERIFY(!f.findChild<QObject*>(QString::fromUtf8(name))->property("Visible").toBool());

        // The view ignores the mouse for a moment after the dialog closed.
        QVERIFY(!ziel->isEnabled());
        QTest::mousePress(ziel, Qt::LeftButton, {}, QPoint(100, 100));
        QTest::mouseRelease(ziel, Qt::LeftButton, {}, QPoint(100, 100));
        QCOMPARE(text(f, "lblA"), QString());
        QVERIFY(!f.findChild<QObject*>(QStringLiteral("Shape1"))->property("Visible").toBool());
        QVERIFY(ansichtBereit(f));
        QVERIFY(!finde<QTimer>(f, "Timer1")->isActive());
        QTRY_VERIFY(!f.stand().quelle().vorlaeufig()); // on a slow machine "Bild wird geladen …" shows until then
        QCOMPARE(text(f, "lblAnsicht"), QStringLiteral("verkleinert"));
    }

    void kleinesBildInEigenerGroesse()
    {
        TestDienste dienste;
        Form1 f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        oeffnen(f, dienste, jpeg(QStringLiteral("klein.jpg"), 600, 400));
        auto* ziel = finde<BildFlaeche>(f, "picZiel");
        QCOMPARE(text(f, "lblAnsicht"), QStringLiteral("Originalgröße"));
        QCOMPARE(ziel->ScaleWidth(), 600.0f);
        QCOMPARE(ziel->ScaleHeight(), 400.0f);
        QCOMPARE(ziel->size(), QSize(600, 400));
        // Shown 1:1: the view's pixels are the picture's.
        const QImage gezeigt = ziel->grab().toImage().convertToFormat(QImage::Format_RGB32);
        const QImage quelle = finde<BildFlaeche>(f, "picQuelle")->bild();
        for (QPoint p : {QPoint(0, 0), QPoint(599, 0), QPoint(300, 200), QPoint(599, 399)})
            QCOMPARE(gezeigt.pixel(p), quelle.pixel(p));
    }

    void abbruchAendertNichts()
    {
        TestDienste dienste;
        Form1 f;
        oeffnen(f, dienste, jpeg(QStringLiteral("da.jpg"), 900, 600));
        QVERIFY(ansichtBereit(f));
        const Zustand vorher = Zustand::von(f);
        oeffnen(f, dienste, QString()); // cancel
        QCOMPARE(dienste.gezeigteDialoge.size(), 2);
        QVERIFY(Zustand::von(f) == vorher);
        QVERIFY(finde<QWidget>(f, "picZiel")->isEnabled());
        QVERIFY(dienste.meldungen.isEmpty());
    }

    void gespeicherterOrdnerIstStartordner()
    {
        QVERIFY(einstellungenSchreiben(QStringLiteral("'%1', NULL, 0, 0, 4, 600, 400, 92, 0, 0, '_web', 2").arg(m_ordner.path())));
        TestDienste dienste;
        Form1 f;
        oeffnen(f, dienste, QString());
        QCOMPARE(dienste.gezeigteDialoge.at(0).InitDir, m_ordner.path());
    }

    void filterZeigtJedeSchreibweise()
    {
        QTemporaryDir ordner;
        for (const char* name : {"a.jpg", "IMG_1234.JPG", "c.jpeg", "d.JPEG", "e.png", "f.JPG.txt", "g.Jpg"})
            testbilder::schreiben(ordner.filePath(QString::fromUtf8(name)), "x");
        TestDienste dienste;
        Form1 f;
        oeffnen(f, dienste, QString());
        const QStringList eintraege = qtFilter(dienste.gezeigteDialoge.at(0).Filter);
        QCOMPARE(eintraege.size(), 1);
        QVERIFY(eintraege[0].startsWith(QStringLiteral(".JPG Datei (")));
        // The patterns as a case-sensitive file system applies them.
        const QString muster = eintraege[0].section(u'(', 1).chopped(1);
        QStringList gelistet = QDir(ordner.path()).entryList(muster.split(u' '), QDir::Files | QDir::CaseSensitive);
        gelistet.sort();
        QCOMPARE(gelistet, QStringList({"IMG_1234.JPG", "a.jpg", "c.jpeg", "d.JPEG"}));

        // And Qt's own dialog, given the same settings, lists the camera's upper-case name.
        DateiDialog einstellung = dienste.gezeigteDialoge.at(0);
        einstellung.InitDir = ordner.path();
        std::unique_ptr<QFileDialog> dialog(dateiDialogErzeugen(nullptr, einstellung, false));
        dialog->setOption(QFileDialog::DontUseNativeDialog);
        dialog->show();
        auto* liste = dialog->findChild<QAbstractItemView*>(QStringLiteral("listView"));
        QVERIFY(liste);
        const auto namen = [&] {
            QStringList n;
            for (int i = 0; i < liste->model()->rowCount(liste->rootIndex()); ++i)
                n << liste->model()->index(i, 0, liste->rootIndex()).data().toString();
            n.sort();
            return n;
        };
        QTRY_VERIFY(namen().contains(QStringLiteral("IMG_1234.JPG")));
        for (const char* name : {"a.jpg", "c.jpeg", "d.JPEG"})
            QVERIFY(namen().contains(QString::fromUtf8(name)));
        QVERIFY(!namen().contains(QStringLiteral("e.png")));
        QVERIFY(!namen().contains(QStringLiteral("f.JPG.txt")));
    }

    // Bild↓ / Bild↑ load the folder's JPEGs in turn, as the open dialog would; a list
    // with the focus keeps the keys. The remembering window offers the folder again.
    void blaetternImOrdner()
    {
        QTemporaryDir ordner;
        const auto ablegen = [&](const char* name, const QByteArray& inhalt) {
            const QString pfad = ordner.filePath(QString::fromUtf8(name));
            testbilder::schreiben(pfad, inhalt);
            return QDir::toNativeSeparators(pfad);
        };
        const QByteArray foto = testbilder::alsJpeg(testbilder::verlauf(600, 400));
        const QString neun = ablegen("IMG_9.jpg", foto), zehn = ablegen("IMG_10.JPG", foto);
        const QString kaputt = ablegen("kaputt.jpg", "kein JPEG"), zebra = ablegen("Zebra.jpeg", foto);
        ablegen("notiz.txt", "x");
        TestDienste dienste;
        Form1 f(nullptr, Form1::Lage::Gemerkt);
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        const auto taste = [&](Qt::Key k) {
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : &f, k);
            return f.stand().dateiPfad();
        };
        QCOMPARE(taste(Qt::Key_PageDown), QString()); // nothing loaded, nothing to page through
        oeffnen(f, dienste, neun);
        QVERIFY(ansichtBereit(f));
        finde(f, "picZiel")->setFocus();
        QCOMPARE(taste(Qt::Key_PageUp), neun); // the first
        QCOMPARE(taste(Qt::Key_PageDown), zehn);
        QCOMPARE(text(f, "lblQ"), QStringLiteral("600 x 400"));
        QCOMPARE(taste(Qt::Key_PageDown), zehn); // the unreadable one says so and stays behind
        QCOMPARE(dienste.meldungen.size(), 1);
        QVERIFY(dienste.meldungen[0].text.contains(kaputt));
        QCOMPARE(taste(Qt::Key_PageDown), zebra);
        QCOMPARE(taste(Qt::Key_PageDown), zebra); // the last
        QCOMPARE(dienste.meldungen.size(), 1);
        auto* verhaeltnis = finde<Liste>(f, "Combo1");
        verhaeltnis->setzeListIndex(2);
        verhaeltnis->setFocus();
        QCOMPARE(taste(Qt::Key_PageUp), zebra);
        QCOMPARE(verhaeltnis->ListIndex(), 1); // the list went one entry up
        QCOMPARE(dienste.meldungen.size(), 1);
        oeffnen(f, dienste, QString());
        QCOMPARE(dienste.gezeigteDialoge.last().zuletzt.value(0), QDir::cleanPath(ordner.path()));
    }

    // --- pictures that need care ---
    void hochkantAufgenommenWirdAufrechtGezeigt()
    {
        // Stored 300 x 200 with the left half red; orientation 6 turns it a quarter clockwise.
        QImage gespeichert(300, 200, QImage::Format_RGB32);
        gespeichert.fill(qRgb(0, 0, 255));
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 150; ++x)
                gespeichert.setPixel(x, y, qRgb(255, 0, 0));
        const QString pfad = datei(QStringLiteral("hochkant.jpg"),
                                   testbilder::mitOrientierung(testbilder::alsJpeg(gespeichert, 95), 6));
        TestDienste dienste;
        Form1 f;
        oeffnen(f, dienste, pfad);
        QCOMPARE(text(f, "lblQ"), QStringLiteral("200 x 300"));
        const QImage bild = finde<BildFlaeche>(f, "picQuelle")->bild();
        QCOMPARE(bild.size(), QSize(200, 300));
        QVERIFY(qRed(bild.pixel(100, 40)) > 200 && qBlue(bild.pixel(100, 40)) < 60);
        QVERIFY(qBlue(bild.pixel(100, 260)) > 200 && qRed(bild.pixel(100, 260)) < 60);
        QCOMPARE(finde<BildFlaeche>(f, "picZiel")->ScaleWidth(), 200.0f);
        QCOMPARE(finde<BildFlaeche>(f, "picZiel")->ScaleHeight(), 300.0f);
    }

    void adobeRgbWirdNachSrgbUmgerechnet()
    {
        const QRgb adobe = qRgb(40, 160, 60);
        const QString pfad = datei(QStringLiteral("adobe.jpg"), testbilder::adobeRgbJpeg(64, 64, adobe));
        TestDienste dienste;
        Form1 f;
        oeffnen(f, dienste, pfad);
        const QColor geladen = testbilder::mitte(finde<BildFlaeche>(f, "picQuelle")->bild());
        const QColor srgb = QColorSpace(QColorSpace::AdobeRgb).transformationToColorSpace(QColorSpace::SRgb).map(QColor(adobe));
        QVERIFY2(qAbs(geladen.red() - srgb.red()) <= 4 && qAbs(geladen.green() - srgb.green()) <= 4
                     && qAbs(geladen.blue() - srgb.blue()) <= 4,
                 qPrintable(geladen.name() + QStringLiteral(" / ") + srgb.name()));
        // The conversion matters: the stored numbers would show a different colour.
        QVERIFY(qAbs(srgb.red() - 40) + qAbs(srgb.green() - 160) + qAbs(srgb.blue() - 60) > 20);
    }

    void graustufenUndCmyk()
    {
        QImage grau(120, 80, QImage::Format_Grayscale8);
        grau.fill(100);
        const quint8 rot[4] = {255, 0, 0, 255}; // inverted C, M, Y, K: pure red
        TestDienste dienste;
        Form1 f;
        oeffnen(f, dienste, datei(QStringLiteral("grau.jpg"), testbilder::alsJpeg(grau, 95)));
        QCOMPARE(text(f, "lblQ"), QStringLiteral("120 x 80"));
        const QColor g = testbilder::mitte(finde<BildFlaeche>(f, "picQuelle")->bild());
        QVERIFY(qAbs(g.red() - 100) <= 2 && g.red() == g.green() && g.green() == g.blue());

        oeffnen(f, dienste, datei(QStringLiteral("cmyk.jpg"), testbilder::cmykJpeg(64, 48, rot)));
        QCOMPARE(text(f, "lblQ"), QStringLiteral("64 x 48"));
        const QColor c = testbilder::mitte(finde<BildFlaeche>(f, "picQuelle")->bild());
        QVERIFY2(c.red() > 240 && c.green() < 15 && c.blue() < 15, qPrintable(c.name()));
        QVERIFY(dienste.meldungen.isEmpty());
    }

    void unlesbareDateiLaesstAllesWieEsWar_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("inhalt");
        const QByteArray gut = testbilder::alsJpeg(testbilder::verlauf(400, 300));
        QTest::newRow("beschädigt") << "kaputt.jpg" << QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(5000, '\x13');
        QTest::newRow("abgeschnitten") << "halb.jpg" << gut.left(gut.size() / 2);
        QByteArray png;
        {
            QBuffer puffer(&png);
            puffer.open(QIODevice::WriteOnly);
            testbilder::verlauf(50, 50).save(&puffer, "PNG");
        }
        QTest::newRow("PNG mit .jpg") << "eigentlich.jpg" << png;
        QTest::newRow("leer") << "leer.jpg" << QByteArray();
        QTest::newRow("verschwunden") << "" << QByteArray();
        QTest::newRow("über der Grenze") << "riesig.jpg" << mitBehaupteterGroesse(gut, 20000, 10000);
        // Files of more than a megabyte are read and checked off the window's thread.
        const QByteArray gross = testbilder::alsJpeg(testbilder::rauschen(3000, 2000), 90);
        QTest::newRow("beschädigt, groß") << "kaputt-gross.jpg" << QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(3 << 20, '\x13');
        QTest::newRow("abgeschnitten, groß") << "halb-gross.jpg" << gross.left(gross.size() / 2);
        QTest::newRow("über der Grenze, groß") << "riesig-gross.jpg" << mitBehaupteterGroesse(gut, 20000, 10000) + QByteArray(3 << 20, 0);
    }
    void unlesbareDateiLaesstAllesWieEsWar()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, inhalt);
        TestDienste dienste;
        Form1 f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        oeffnen(f, dienste, jpeg(QStringLiteral("vorher.jpg"), 1500, 1000));
        QVERIFY(ansichtBereit(f));
        auto* ziel = finde<BildFlaeche>(f, "picZiel");
        ziehen(ziel, QPoint(40, 40), QPoint(240, 150));
        const Zustand vorher = Zustand::von(f);

        const QString pfad = name.isEmpty() ? m_ordner.filePath(QStringLiteral("gibt-es-nicht.jpg")) : datei(name, inhalt);
        oeffnen(f, dienste, pfad);
        QTRY_COMPARE(dienste.meldungen.size(), 1);
        const QString meldung = dienste.meldungen[0].text;
        QVERIFY2(meldung.startsWith(QStringLiteral("Die Datei „%1“ kann nicht als JPEG-Bild gelesen werden.").arg(QDir::toNativeSeparators(pfad))),
                 qPrintable(meldung));
        QVERIFY(meldung.size() > 80); // the reason follows
        QCOMPARE(dienste.meldungen[0].titel, QStringLiteral("Fotoschliff"));
        QVERIFY(Zustand::von(f) == vorher);
        QVERIFY(vorher.rahmen);
        QVERIFY(ziel->isEnabled());
        QCOMPARE(f.stand().dateiPfad(), vorher.text1);
    }

    // Asked for while the whole picture is still being decoded, a step is kept, with the
    // busy cursor, and carried out once the picture is there: the result is that of the
    // same steps taken after the load.
    void schritteVorDemGanzenBild_data()
    {
        QTest::addColumn<QStringList>("schritte");
        for (const QStringList& s : {QStringList{"Rahmen"}, {"Rahmen", "Qualität"}, {"Rahmen", "Zuschneiden"}, {"ganzes Bild", "Zielgröße"}})
            QTest::newRow(qPrintable(s.join(QStringLiteral(", ")))) << s;
    }
    void schritteVorDemGanzenBild()
    {
        QFETCH(QStringList, schritte);
        const QString pfad = datei(QStringLiteral("frueh.jpg"), testbilder::alsJpeg(testbilder::rauschen(1800, 1200, 90), 90));
        Ladeablauf::ersteAnsichtAb = 1; // any photo larger than the view shows a first view
        QStringList ergebnis[2];
        for (const bool frueh : {true, false}) {
            TestDienste dienste;
            Form1 f;
            f.show();
            QVERIFY(QTest::qWaitForWindowExposed(&f));
            Ladeauftrag::haltepunkt = frueh ? 1 << int(Ladeauftrag::Stufe::Ganz) : 0;
            oeffnen(f, dienste, pfad);
            QTRY_COMPARE_WITH_TIMEOUT(text(f, "lblQ"), QStringLiteral("1800 x 1200"), 60000);
            QVERIFY(ansichtBereit(f));
            QTRY_VERIFY(frueh || !f.stand().quelle().vorlaeufig());
            QCOMPARE(f.stand().quelle().vorlaeufig(), frueh);
            if (frueh) // the first view holds no more pixels than the view shows
                QCOMPARE(f.stand().quelle().bild().size(), finde<BildFlaeche>(f, "picZiel")->gemaltePixel());
            for (const QString& schritt : schritte) {
                if (schritt == u"Rahmen")
                    ziehen(finde<BildFlaeche>(f, "picZiel"), QPoint(40, 30), QPoint(400, 270));
                else if (schritt == u"Qualität")
                    finde<TextFeld>(f, "TextKomp")->setzeText(QStringLiteral("71"));
                else if (schritt == u"Zielgröße")
                    finde<Liste>(f, "List1")->setzeListIndex(5);
                else
                    QTest::mouseClick(finde<QPushButton>(f, schritt == u"Zuschneiden" ? "Command1" : "Command7"), Qt::LeftButton);
            }
            if (frueh) {
                // Nothing waited: the steps are kept for the whole picture.
                QVERIFY(f.stand().quelle().vorlaeufig() && f.stand().letzteMessung().daten.isEmpty());
                QVERIFY(QApplication::overrideCursor() && QApplication::overrideCursor()->shape() == Qt::BusyCursor);
                Ladeauftrag::haltepunkt = 0;
                QTRY_VERIFY(!f.stand().quelle().vorlaeufig() && !QApplication::overrideCursor());
            }
            QVERIFY(dienste.meldungen.isEmpty());
            // Once the coding for the crop is chosen, what is shown is measured in it.
            QTRY_VERIFY(!f.stand().kodierungOffen());
            JpegDienst dienst;
            QCOMPARE(dienst.GdipStarten(1), 0);
            dienst.setzeKodierung(f.stand().kodierung());
            QCOMPARE(dienst.JpegMessen(f.stand().zielbild(), f.stand().jpegQualitaet()).daten, f.stand().letzteMessung().daten);
            QVERIFY(f.stand().letzteMessung().daten.size() > 1000);
            ergebnis[frueh] = {QString::fromLatin1(f.stand().letzteMessung().daten.toBase64()), text(f, "lblKb"), text(f, "lblA"),
                               text(f, "lblZpx"), text(f, "lblZMaßnahme1"), QString::number(finde(f, "Command2")->isEnabled())};
        }
        QCOMPARE(ergebnis[1], ergebnis[0]);
    }

    void bilderUeberHundertMegapixel()
    {
        const QString pfad = m_ordner.filePath(QStringLiteral("gross.jpg"));
        QVERIFY(grosserJpeg(pfad, 11000, 10000));
        TestDienste dienste;
        Form1 f;
        oeffnen(f, dienste, pfad);
        QVERIFY2(dienste.meldungen.isEmpty(), dienste.meldungen.isEmpty() ? "" : qPrintable(dienste.meldungen[0].text));
        QTRY_COMPARE_WITH_TIMEOUT(text(f, "lblQ"), QStringLiteral("11000 x 10000"), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(!f.stand().quelle().vorlaeufig(), 20000);
        QCOMPARE(text(f, "lblAnsicht"), QStringLiteral("verkleinert"));
        QFile::remove(pfad);
    }
};

QTEST_MAIN(TestLaden)
#include "test_laden.moc"
