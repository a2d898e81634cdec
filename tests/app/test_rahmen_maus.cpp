// The selection frame through the real window: the mouse on the view and on the
// handles reaches the frame, and the overlays show it. Its geometry is tested on
// the frame model (test_auswahlrahmen).

#include "platform/Steuerelemente.h"

#include "Fensterhilfe.h"

using namespace fensterhilfe;

namespace {

QString lblA(const Form1& f) { return text(f, "lblA"); }

} // namespace

class TestRahmenMaus : public QObject {
    Q_OBJECT
    QTemporaryDir m_ordner;
    std::unique_ptr<TestDienste> m_dienste;
    std::unique_ptr<Form1> m_f;
    BildFlaeche* m_ziel = nullptr;

    Griff* griff(const char* name) const { return m_f->findChild<Griff*>(QString::fromUtf8(name)); }

    void ziehen(QPoint von, QPoint bis)
    {
        QTest::mousePress(m_ziel, Qt::LeftButton, {}, von);
        QTest::mouseMove(m_ziel, (von + bis) / 2);
        QTest::mouseMove(m_ziel, bis);
        QTest::mouseRelease(m_ziel, Qt::LeftButton, {}, bis);
    }

    // Grabs handle g at its centre and lets go with its centre at ziel (view pixels).
    void griffZiehen(Griff* g, Qt::MouseButton knopf, QPointF ziel, Qt::CursorShape waehrend)
    {
        const QPoint mitte = QPointF(g->Left() + 3 - g->x(), g->Top() + 3 - g->y()).toPoint();
        QTest::mousePress(g, knopf, {}, mitte);
        QCOMPARE(g->cursor().shape(), waehrend);
        // Positions are relative to the handle, which moves with the drag.
        const QPointF start = QPointF(g->pos()) + mitte;
        const auto relativ = [g](QPointF p) { return (p - QPointF(g->pos())).toPoint(); };
        QTest::mouseMove(g, relativ((start + ziel) / 2));
        QTest::mouseMove(g, relativ(ziel));
        QCOMPARE(g->cursor().shape(), waehrend);
        QTest::mouseRelease(g, knopf, {}, relativ(ziel));
    }

    void griffeAufEcken()
    {
        const QRectF r = rahmen(*m_f);
        const std::pair<const char*, QPointF> ecken[] = {
            {"LO", {float(r.left()) - 3, float(r.top()) - 3}}, {"RO", {float(r.left()) + float(r.width()) - 3, float(r.top()) - 3}}, {"LU", {float(r.left()) - 3, float(r.top()) + float(r.height()) - 3}}, {"RU", {float(r.left()) + float(r.width()) - 3, float(r.top()) + float(r.height()) - 3}}};
        for (const auto& [name, ecke] : ecken) {
            Griff* g = griff(name);
            QVERIFY2(g->Visible() && g->isVisible(), name);
            QCOMPARE(g->Left(), float(ecke.x()));
            QCOMPARE(g->Top(), float(ecke.y()));
            QCOMPARE(g->Width(), 6.0f);
        }
    }

private slots:
    void initTestCase()
    {
        testUmgebungEinrichten();
        testbilder::schreiben(m_ordner.filePath(QStringLiteral("bild.jpg")), testbilder::alsJpeg(testbilder::verlauf(600, 400)));
    }

    void init()
    {
        QVERIFY(ohneStartmeldung());
        m_dienste = std::make_unique<TestDienste>();
        m_f = std::make_unique<Form1>();
        m_f->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_f.get()));
        oeffnen(*m_f, *m_dienste, m_ordner.filePath(QStringLiteral("bild.jpg")));
        QVERIFY(ansichtBereit(*m_f));
        m_ziel = m_f->findChild<BildFlaeche*>(QStringLiteral("picZiel"));
        QCOMPARE(m_ziel->ScaleWidth(), 600.0f); // shown 1:1: view pixels are source pixels
    }

    void cleanup()
    {
        m_f.reset();
        m_dienste.reset();
    }

    void rahmenZiehen()
    {
        QTest::mousePress(m_ziel, Qt::LeftButton, {}, QPoint(100, 50));
        QVERIFY(sichtbar(*m_f, "Shape1"));
        QVERIFY(!sichtbar(*m_f, "RU"));
        QCOMPARE(lblA(*m_f), QStringLiteral("0 x 0"));
        QTest::mouseMove(m_ziel, QPoint(160, 10));
        QCOMPARE(float(rahmen(*m_f).top()), 10.0f);
        QCOMPARE(float(rahmen(*m_f).width()), 61.0f);
        QCOMPARE(float(rahmen(*m_f).height()), 40.66667f);
        QCOMPARE(lblA(*m_f), QStringLiteral("61 x 41"));
        QTest::mouseRelease(m_ziel, Qt::LeftButton, {}, QPoint(160, 10));
        griffeAufEcken();
        QVERIFY(m_f->findChild<QPushButton*>(QStringLiteral("Command1"))->isEnabled());
        QVERIFY(!m_f->findChild<QPushButton*>(QStringLiteral("Command3"))->isEnabled());
        QCOMPARE(m_f->findChild<QObject*>(QStringLiteral("Shape2"))->property("Width").toFloat(), 61.0f);
    }

    void griffZiehenLinksUndVerschiebenRechts()
    {
        ziehen(QPoint(100, 100), QPoint(249, 180));
        griffZiehen(griff("RU"), Qt::LeftButton, QPointF(280, 207), Qt::SizeFDiagCursor);
        QRectF r = rahmen(*m_f);
        QCOMPARE(float(r.left()), 100.0f);
        QCOMPARE(float(r.top()), 100.0f);
        QCOMPARE(float(r.width()), 180.0f);
        QCOMPARE(float(r.height()), 120.0f);
        QCOMPARE(lblA(*m_f), QStringLiteral("180 x 120"));
        griffeAufEcken();
        QCOMPARE(griff("RU")->cursor().shape(), Qt::SizeFDiagCursor);

        griffZiehen(griff("LO"), Qt::RightButton, QPointF(150, 50), Qt::SizeAllCursor);
        r = rahmen(*m_f);
        QCOMPARE(float(r.left()), 150.0f);
        QCOMPARE(float(r.top()), 50.0f);
        QCOMPARE(float(r.width()), 180.0f);
        QCOMPARE(float(r.height()), 120.0f);
        griffeAufEcken();
        QCOMPARE(griff("LO")->cursor().shape(), Qt::SizeFDiagCursor);
        QCOMPARE(griff("RO")->cursor().shape(), Qt::SizeBDiagCursor);
        QCOMPARE(griff("LU")->cursor().shape(), Qt::SizeBDiagCursor);
        QCOMPARE(m_f->findChild<QObject*>(QStringLiteral("Shape2"))->property("Left").toFloat(), 150.0f);
    }

    void griffBehaeltDieMausAuchVerborgen()
    {
        ziehen(QPoint(100, 100), QPoint(249, 180));
        Griff* ru = griff("RU");
        QTest::mousePress(ru, Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mouseMove(ru, QPoint(23, 3));
        // Hidden while dragged, but still the receiver of the drag.
        QVERIFY(!ru->Visible());
        QVERIFY(ru->isVisible());
        // Not drawn either: where it was grabbed, the picture shows through.
        const QPoint ecke = ru->geometry().topLeft(); // outside the frame's outline
        QImage ohneGriffe(m_ziel->size(), QImage::Format_ARGB32);
        m_ziel->render(&ohneGriffe, {}, {}, QWidget::DrawWindowBackground);
        QCOMPARE(m_ziel->grab().toImage().pixel(ecke), ohneGriffe.pixel(ecke));
        QTest::mouseMove(ru, QPoint(3, 3));
        QTest::mouseRelease(ru, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(float(rahmen(*m_f).width()), 170.0f);
        griffeAufEcken();
    }

    void ganzUeberDemBildLosgelassenIstKeinRahmen()
    {
        // The view starts below the read-out strip, so the pointer can leave it upwards.
        ziehen(QPoint(100, 100), QPoint(249, 180));
        ziehen(QPoint(300, 2), QPoint(320, -120));
        QVERIFY(!sichtbar(*m_f, "Shape1"));
        for (const char* name : {"LO", "RO", "LU", "RU"})
            QVERIFY(!sichtbar(*m_f, name));
        QCOMPARE(lblA(*m_f), QString());
        QVERIFY(!m_f->findChild<QPushButton*>(QStringLiteral("Command1"))->isEnabled());
    }

    void ganzesBildAuswaehlen()
    {
        QTest::mouseClick(m_f->findChild<QPushButton*>(QStringLiteral("Command7")), Qt::LeftButton);
        const QRectF r = rahmen(*m_f);
        QCOMPARE(float(r.left()), 0.0f);
        QCOMPARE(float(r.width()), 600.0f);
        QCOMPARE(float(r.height()), 400.0f);
        QCOMPARE(griff("RU")->Left(), 597.0f);
        QCOMPARE(griff("RU")->Top(), 397.0f);
        QCOMPARE(griff("LO")->Left(), -3.0f);
        QVERIFY(sichtbar(*m_f, "Shape1") && sichtbar(*m_f, "LO"));
        QVERIFY(m_f->findChild<QPushButton*>(QStringLiteral("Command1"))->isEnabled());
        QCOMPARE(lblA(*m_f), QStringLiteral("600 x 400"));
    }

    void seitenverhaeltnisVerwirftDenRahmen()
    {
        ziehen(QPoint(100, 100), QPoint(249, 180));
        auto* verhaeltnis = m_f->findChild<Liste*>(QStringLiteral("Combo1"));
        verhaeltnis->setCurrentIndex(5); // as the user picks "9:16 (Hoch)"
        auto* groessen = m_f->findChild<Liste*>(QStringLiteral("List1"));
        QStringList eintraege;
        for (int i = 0; i < groessen->count(); ++i)
            eintraege << groessen->itemText(i);
        QCOMPARE(eintraege, QStringList({"benutzerdefiniert", "180 x 320", "270 x 480", "360 x 640", "1800 x 3200", "2700 x 4800", "3600 x 6400"}));
        QCOMPARE(groessen->ListIndex(), 4);
        QCOMPARE(m_f->stand().rahmen().verhaeltnisB, 9.0f);
        QCOMPARE(m_f->stand().rahmen().verhaeltnisH, 16.0f);
        QVERIFY(!sichtbar(*m_f, "Shape1"));
        for (const char* name : {"LO", "RO", "LU", "RU"})
            QVERIFY(!sichtbar(*m_f, name));
        QCOMPARE(lblA(*m_f), QString());
        QVERIFY(!m_f->findChild<QPushButton*>(QStringLiteral("Command1"))->isEnabled());
        QVERIFY(!m_f->findChild<QPushButton*>(QStringLiteral("Command2"))->isEnabled());

        // The next frame has the new proportions.
        ziehen(QPoint(100, 50), QPoint(189, 60));
        QCOMPARE(float(rahmen(*m_f).width()), 90.0f);
        QCOMPARE(float(rahmen(*m_f).height()), 160.0f);
    }

    void farbeWechselnLaesstDenRahmen()
    {
        ziehen(QPoint(100, 100), QPoint(249, 180));
        const QString anzeige = lblA(*m_f);
        m_f->findChild<Liste*>(QStringLiteral("oColor"))->setCurrentIndex(7);
        QCOMPARE(m_f->findChild<QObject*>(QStringLiteral("Shape1"))->property("BorderColor").value<QColor>(), QColor(0xFF00FF));
        for (const char* name : {"LO", "RO", "LU", "RU"})
            QCOMPARE(griff(name)->FillColor(), QColor(0xFF00FF));
        QCOMPARE(lblA(*m_f), anzeige);
        QCOMPARE(float(rahmen(*m_f).width()), 150.0f);
        griffeAufEcken();
        QVERIFY(m_f->findChild<QPushButton*>(QStringLiteral("Command1"))->isEnabled());
        // The frame is drawn over the picture in its colour, never into it.
        const QImage gezeigt = m_ziel->grab().toImage();
        QCOMPARE(QColor(gezeigt.pixel(100, 140)), QColor(0xFF00FF));
        QVERIFY(QColor(m_f->findChild<BildFlaeche*>(QStringLiteral("picQuelle"))->bild().pixel(100, 140)) != QColor(0xFF00FF));
    }
};

QTEST_MAIN(TestRahmenMaus)
#include "test_rahmen_maus.moc"
