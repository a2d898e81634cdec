#include "app/Form1.h"
#include "platform/Flaechen.h"
#include "platform/Steuerelemente.h"

#include "Fensterhilfe.h"
#include "TestBilder.h"
#include "TestDienste.h"

#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

using namespace fensterhilfe;

namespace {

struct Rahmen {
    float l, t, w, h;
};

Rahmen rahmen(const Form1& f)
{
    QObject* s = f.findChild<QObject*>(QStringLiteral("Shape1"));
    return {s->property("Left").toFloat(), s->property("Top").toFloat(), s->property("Width").toFloat(),
            s->property("Height").toFloat()};
}

bool sichtbar(const Form1& f, const char* name) { return f.findChild<QObject*>(QString::fromUtf8(name))->property("Visible").toBool(); }

QString lblA(const Form1& f) { return f.findChild<QLabel*>(QStringLiteral("lblA"))->text(); }

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
        const Rahmen r = rahmen(*m_f);
        const std::pair<const char*, QPointF> ecken[] = {
            {"LO", {r.l - 3, r.t - 3}}, {"RO", {r.l + r.w - 3, r.t - 3}}, {"LU", {r.l - 3, r.t + r.h - 3}}, {"RU", {r.l + r.w - 3, r.t + r.h - 3}}};
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
        QCOMPARE(rahmen(*m_f).t, 10.0f);
        QCOMPARE(rahmen(*m_f).w, 61.0f);
        QCOMPARE(rahmen(*m_f).h, 40.66667f);
        QCOMPARE(lblA(*m_f), QStringLiteral("61 x 41"));
        QTest::mouseRelease(m_ziel, Qt::LeftButton, {}, QPoint(160, 10));
        griffeAufEcken();
        QVERIFY(m_f->findChild<QPushButton*>(QStringLiteral("Command1"))->isEnabled());
        QVERIFY(!m_f->findChild<QPushButton*>(QStringLiteral("Command3"))->isEnabled());
        QCOMPARE(m_f->findChild<QObject*>(QStringLiteral("Shape2"))->property("Width").toFloat(), 61.0f);
    }

    void ueberDenRechtenRandGezogen()
    {
        ziehen(QPoint(450, 100), QPoint(700, 130));
        const Rahmen r = rahmen(*m_f);
        QCOMPARE(r.l + r.w, 600.0f);
        QCOMPARE(r.w, 150.0f);
        QCOMPARE(r.h, 100.0f);
        QCOMPARE(r.w / r.h, 1.5f);
        QCOMPARE(lblA(*m_f), QStringLiteral("150 x 100"));
        griffeAufEcken();
    }

    void rechterKnopfUndBewegungOhneKnopfAendernNichts()
    {
        ziehen(QPoint(100, 100), QPoint(249, 180));
        const QString anzeige = lblA(*m_f);
        QTest::mousePress(m_ziel, Qt::RightButton, {}, QPoint(300, 300));
        QTest::mouseMove(m_ziel, QPoint(400, 350));
        QTest::mouseRelease(m_ziel, Qt::RightButton, {}, QPoint(400, 350));
        QTest::mouseMove(m_ziel, QPoint(20, 20));
        const Rahmen r = rahmen(*m_f);
        QCOMPARE(r.l, 100.0f);
        QCOMPARE(r.w, 150.0f);
        QCOMPARE(lblA(*m_f), anzeige);
        griffeAufEcken();
    }

    void griffZiehenLinksUndVerschiebenRechts()
    {
        ziehen(QPoint(100, 100), QPoint(249, 180));
        griffZiehen(griff("RU"), Qt::LeftButton, QPointF(280, 207), Qt::SizeFDiagCursor);
        Rahmen r = rahmen(*m_f);
        QCOMPARE(r.l, 100.0f);
        QCOMPARE(r.t, 100.0f);
        QCOMPARE(r.w, 180.0f);
        QCOMPARE(r.h, 120.0f);
        QCOMPARE(lblA(*m_f), QStringLiteral("180 x 120"));
        griffeAufEcken();
        QCOMPARE(griff("RU")->cursor().shape(), Qt::SizeFDiagCursor);

        griffZiehen(griff("LO"), Qt::RightButton, QPointF(150, 50), Qt::SizeAllCursor);
        r = rahmen(*m_f);
        QCOMPARE(r.l, 150.0f);
        QCOMPARE(r.t, 50.0f);
        QCOMPARE(r.w, 180.0f);
        QCOMPARE(r.h, 120.0f);
        griffeAufEcken();
        QCOMPARE(griff("LO")->cursor().shape(), Qt::SizeFDiagCursor);
        QCOMPARE(griff("RO")->cursor().shape(), Qt::SizeBDiagCursor);
        QCOMPARE(griff("LU")->cursor().shape(), Qt::SizeBDiagCursor);
        QCOMPARE(m_f->findChild<QObject*>(QStringLiteral("Shape2"))->property("Left").toFloat(), 150.0f);
    }

    void verschobenUeberDenRandKommtZurueck()
    {
        ziehen(QPoint(100, 100), QPoint(249, 180));
        griffZiehen(griff("RU"), Qt::RightButton, QPointF(640, 230), Qt::SizeAllCursor);
        const Rahmen r = rahmen(*m_f);
        QCOMPARE(r.l, 450.0f);
        QCOMPARE(r.t, 130.0f);
        QCOMPARE(r.w, 150.0f);
        griffeAufEcken();
    }

    void beideKnoepfeAmGriffTunNichts()
    {
        ziehen(QPoint(100, 100), QPoint(249, 180));
        Griff* ru = griff("RU");
        QTest::mousePress(ru, Qt::LeftButton, {}, QPoint(3, 3));
        QTest::mousePress(ru, Qt::RightButton, {}, QPoint(3, 3));
        QTest::mouseMove(ru, QPoint(60, 40));
        const Rahmen r = rahmen(*m_f);
        QCOMPARE(r.w, 150.0f);
        QCOMPARE(r.h, 100.0f);
        QCOMPARE(ru->Left(), 247.0f);
        QVERIFY(sichtbar(*m_f, "RU"));
        QTest::mouseRelease(ru, Qt::RightButton, {}, QPoint(60, 40));
        QTest::mouseRelease(ru, Qt::LeftButton, {}, QPoint(60, 40));
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
        QTest::mouseMove(ru, QPoint(3, 3));
        QTest::mouseRelease(ru, Qt::LeftButton, {}, QPoint(3, 3));
        QCOMPARE(rahmen(*m_f).w, 170.0f);
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
        const Rahmen r = rahmen(*m_f);
        QCOMPARE(r.l, 0.0f);
        QCOMPARE(r.w, 600.0f);
        QCOMPARE(r.h, 400.0f);
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
        QCOMPARE(m_f->rahmen().verhaeltnisB, 9.0f);
        QCOMPARE(m_f->rahmen().verhaeltnisH, 16.0f);
        QVERIFY(!sichtbar(*m_f, "Shape1"));
        for (const char* name : {"LO", "RO", "LU", "RU"})
            QVERIFY(!sichtbar(*m_f, name));
        QCOMPARE(lblA(*m_f), QString());
        QVERIFY(!m_f->findChild<QPushButton*>(QStringLiteral("Command1"))->isEnabled());
        QVERIFY(!m_f->findChild<QPushButton*>(QStringLiteral("Command2"))->isEnabled());

        // The next frame has the new proportions.
        ziehen(QPoint(100, 50), QPoint(189, 60));
        QCOMPARE(rahmen(*m_f).w, 90.0f);
        QCOMPARE(rahmen(*m_f).h, 160.0f);
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
        QCOMPARE(rahmen(*m_f).w, 150.0f);
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
