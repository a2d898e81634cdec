// The view on a screen of device pixel ratio 2 (QT_SCALE_FACTOR=2): painted
// from the photo at the screen's own resolution, while every geometry of the
// workflow stays in the window's (logical) pixels.
#include "codec/Bildladen.h"
#include "app/Form1.h"
#include "output/Quellbild.h"
#include "platform/Flaechen.h"
#include "selection/Auswahlrahmen.h"

#include "Fensterhilfe.h"

#include <QCheckBox>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

using namespace fensterhilfe;

class TestHiDpi : public QObject {
    Q_OBJECT
private slots:
    void initTestCase()
    {
        testUmgebungEinrichten();
        QVERIFY(m_ordner.isValid());
        m_pfad = m_ordner.filePath(QStringLiteral("wiese.jpg"));
        QVERIFY(testbilder::schreiben(m_pfad, testbilder::alsJpeg(testbilder::verlauf(3000, 2000))));
        QVERIFY(ohneStartmeldung());
    }

    void ansichtInGeraetepixeln()
    {
        TestDienste dienste;
        Form1 f;
        f.show();
        QVERIFY(QTest::qWaitForWindowExposed(&f));
        QCOMPARE(f.devicePixelRatioF(), 2.0);
        oeffnen(f, dienste, m_pfad);
        QVERIFY(ansichtBereit(f));

        auto* ansicht = f.findChild<BildFlaeche*>(QStringLiteral("picZiel"));
        const float flaeche = float(f.findChild<QWidget*>(QStringLiteral("fraTisch"))->width());
        QCOMPARE(ansicht->ScaleWidth(), flaeche);
        QCOMPARE(ansicht->ScaleHeight(), flaeche / 1.5f);
        // Twice the logical width: resampled for the screen, not blown up.
        const QSize geraet(int(2 * flaeche), int(std::ceil(2 * (flaeche / 1.5f))));
        QCOMPARE(ansicht->gemaltePixel(), geraet);

        // And drawn pixel for pixel: what shows is the photo resampled straight to that size.
        const QImage erwartet = Quellbild(jpegLaden(m_pfad).bild).ansicht(geraet);
        QImage schirm = ansicht->grab().toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(schirm.devicePixelRatio(), 2.0);
        schirm.setDevicePixelRatio(1); // compared pixel by pixel
        QCOMPARE(schirm.copy(QRect(QPoint(0, 0), geraet)), erwartet);

        // The frame keeps to the window's pixels, the factors to the logical view:
        // the same drag gives the same frame as the model computes for them.
        QTest::mousePress(ansicht, Qt::LeftButton, {}, QPoint(60, 40));
        QTest::mouseMove(ansicht, QPoint(360, 240));
        QTest::mouseRelease(ansicht, Qt::LeftButton, {}, QPoint(360, 240));
        Auswahlrahmen modell;
        modell.setzeFlaechen(ansicht->ScaleWidth(), ansicht->ScaleHeight(), ansicht->Width(), ansicht->Height(), 3000, 2000);
        modell.druecken(Qt::LeftButton, 60, 40);
        modell.ziehen(Qt::LeftButton, 360, 240);
        QCOMPARE(modell.loslassen(Qt::LeftButton), Auswahlrahmen::Ergebnis::Gesetzt);
        QObject* rahmen = f.findChild<QObject*>(QStringLiteral("Shape1"));
        QCOMPARE(rahmen->property("Left").toFloat(), 60.0f);
        QCOMPARE(rahmen->property("Top").toFloat(), 40.0f);
        QCOMPARE(rahmen->property("Width").toFloat(), modell.shape1.W);
        QCOMPARE(rahmen->property("Height").toFloat(), modell.shape1.H);
        QVERIFY(modell.shape1.W > 290 && modell.shape1.W < 310);
        QCOMPARE(f.findChild<QObject*>(QStringLiteral("RU"))->property("Left").toFloat(), modell.griffe[Auswahlrahmen::RU].L);
        QVERIFY(!modell.lblA().isEmpty());
        QCOMPARE(f.findChild<QLabel*>(QStringLiteral("lblA"))->text(), modell.lblA());

        // The JPEG view shows one JPEG pixel on one device pixel.
        auto* haken = f.findChild<QCheckBox*>(QStringLiteral("chkJpegVorschau"));
        QVERIFY(haken->isEnabled());
        haken->setChecked(true);
        auto* vorschau = f.findChild<PixelAnsicht*>(QStringLiteral("picJpegVorschau"));
        QVERIFY(vorschau->isVisible());
        const QImage gespeichert = QImage::fromData(f.stand().letzteMessung().daten, "JPEG").convertToFormat(QImage::Format_RGB32);
        QCOMPARE(gespeichert.size(), QSize(600, 400));
        const QRectF lage = vorschau->bildRechteck();
        QCOMPARE(lage.size(), QSizeF(300, 200));
        const QRect jpegPixel(qRound(lage.x() * 2), qRound(lage.y() * 2), 600, 400);
        QImage vorschauPixel = vorschau->grab().toImage().convertToFormat(QImage::Format_RGB32);
        vorschauPixel.setDevicePixelRatio(1);
        QCOMPARE(vorschauPixel.copy(jpegPixel), gespeichert);
    }

private:
    QTemporaryDir m_ordner;
    QString m_pfad;
};

QTEST_MAIN(TestHiDpi)
#include "test_hidpi.moc"
