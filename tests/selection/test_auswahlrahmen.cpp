#include "selection/Auswahlrahmen.h"

#include <QTest>

using R = Auswahlrahmen::Rechteck;
Q_DECLARE_METATYPE(Auswahlrahmen::Rechteck)

namespace {

// A model over a view of ansicht pixels showing a source of quelle pixels, ratio 3 : 2.
Auswahlrahmen modell(float ansichtB, float ansichtH, float quelleB, float quelleH)
{
    Auswahlrahmen m;
    m.setzeFlaechen(ansichtB, ansichtH, ansichtB, ansichtH, quelleB, quelleH);
    return m;
}

// Places the frame (100, 100, 150, 100) on a 600 x 400 view by drawing it.
Auswahlrahmen mitRahmen()
{
    Auswahlrahmen m = modell(600, 400, 600, 400);
    m.druecken(Qt::LeftButton, 100, 100);
    m.ziehen(Qt::LeftButton, 249, 180);
    m.loslassen(Qt::LeftButton);
    return m;
}

// Moves handle h with the given buttons so that its centre lands on (cx, cy); grabbed at its centre.
void griffZiehen(Auswahlrahmen& m, Auswahlrahmen::Griffname h, Qt::MouseButton knopf, float cx, float cy)
{
    m.griffDruecken(h, knopf, 3, 3);
    const float x = cx - m.griffe[h].L; // pointer position relative to the handle
    const float y = cy - m.griffe[h].T;
    m.griffZiehen(h, knopf, x, y);
}

void vergleiche(const R& ist, const R& soll)
{
    QCOMPARE(ist.L, soll.L);
    QCOMPARE(ist.T, soll.T);
    QCOMPARE(ist.W, soll.W);
    QCOMPARE(ist.H, soll.H);
}

void griffeAufEcken(const Auswahlrahmen& m)
{
    const R& r = m.shape1;
    QCOMPARE(m.griffe[Auswahlrahmen::LO].L, r.L - 3);
    QCOMPARE(m.griffe[Auswahlrahmen::LO].T, r.T - 3);
    QCOMPARE(m.griffe[Auswahlrahmen::RO].L, r.L + r.W - 3);
    QCOMPARE(m.griffe[Auswahlrahmen::RO].T, r.T - 3);
    QCOMPARE(m.griffe[Auswahlrahmen::LU].L, r.L - 3);
    QCOMPARE(m.griffe[Auswahlrahmen::LU].T, r.T + r.H - 3);
    QCOMPARE(m.griffe[Auswahlrahmen::RU].L, r.L + r.W - 3);
    QCOMPARE(m.griffe[Auswahlrahmen::RU].T, r.T + r.H - 3);
}

} // namespace

class TestAuswahlrahmen : public QObject {
    Q_OBJECT
private slots:
    // --- the frame model and its mapping ---
    void abbildungBeiHalberGroesse()
    {
        Auswahlrahmen m = modell(500, 400, 1000, 800);
        m.shape1 = {10, 20, 300, 200};
        m.quellrahmenAbgleichen();
        vergleiche(m.shape2, {20, 40, 600, 400});
        QCOMPARE(m.lblA(), QStringLiteral("600 x 400"));
    }

    void anzeigeRundetHalbeAuf()
    {
        Auswahlrahmen m = modell(1000, 1000, 1000, 1000);
        m.shape1 = {0, 0, 599.5f, 0};
        m.quellrahmenAbgleichen();
        QCOMPARE(m.lblA(), QStringLiteral("600 x 0"));
        m.shape1 = {0, 0, 599.49f, 899.5f};
        m.quellrahmenAbgleichen();
        QCOMPARE(m.lblA(), QStringLiteral("599 x 900"));
        m.shape1 = {5, 5, 0, 0};
        m.quellrahmenAbgleichen();
        QCOMPARE(m.lblA(), QStringLiteral("0 x 0"));
    }

    void faktorenJeAchseInEinfacherGenauigkeit()
    {
        // A 3000 x 2000 picture shown 1000 x 667: fx = 3, fy = 2.9985; 200 view pixels are 599.7 source pixels.
        Auswahlrahmen m = modell(1000, 667, 3000, 2000);
        m.shape1 = {0, 0, 300, 200};
        m.quellrahmenAbgleichen();
        QCOMPARE(m.shape2.W, 900.0f);
        QCOMPARE(m.shape2.H, 200.0f * (2000.0f / 667.0f));
        QCOMPARE(m.lblA(), QStringLiteral("900 x 600"));
    }

    // --- drawing ---
    void ziehenNachRechtsOben()
    {
        Auswahlrahmen m = modell(600, 400, 600, 400);
        m.druecken(Qt::LeftButton, 100, 50);
        QVERIFY(m.shape1Sichtbar);
        vergleiche(m.shape1, {100, 50, 1, 1});
        QCOMPARE(m.lblA(), QStringLiteral("0 x 0"));
        m.ziehen(Qt::LeftButton, 160, 10);
        vergleiche(m.shape1, {100, 10, 61, 40.66667f});
        QCOMPARE(m.shape1.H, 61.0f * 2.0f / 3.0f);
        QCOMPARE(m.lblA(), QStringLiteral("61 x 41"));
    }

    void ziehenNachLinksUnten()
    {
        Auswahlrahmen m = modell(600, 400, 600, 400);
        m.druecken(Qt::LeftButton, 100, 50);
        m.ziehen(Qt::LeftButton, 40, 80);
        vergleiche(m.shape1, {40, 50, 61, 40.66667f});
    }

    void nurDerWaagrechteAbstandZaehlt()
    {
        Auswahlrahmen m = modell(600, 400, 600, 400);
        m.druecken(Qt::LeftButton, 100, 50);
        m.ziehen(Qt::LeftButton, 100, 300);
        QCOMPARE(m.shape1.W, 1.0f);
        QCOMPARE(m.shape1.H, 0.6666667f);
        QCOMPARE(m.shape1.T, 50.0f);
    }

    void klickOhneBewegungSetztEinenPixel()
    {
        Auswahlrahmen m = modell(600, 400, 600, 400);
        m.druecken(Qt::LeftButton, 100, 50);
        QCOMPARE(m.loslassen(Qt::LeftButton), Auswahlrahmen::Ergebnis::Gesetzt);
        vergleiche(m.shape1, {100, 50, 1, 1});
        for (const auto& g : m.griffe)
            QVERIFY(g.sichtbar);
        griffeAufEcken(m);
    }

    void andereKnoepfeZeichnenNicht()
    {
        Auswahlrahmen m = mitRahmen();
        const R vorher = m.shape1;
        const QString anzeige = m.lblA();
        m.druecken(Qt::RightButton, 10, 10);
        m.ziehen(Qt::RightButton, 300, 300);
        m.ziehen(Qt::LeftButton | Qt::RightButton, 300, 300);
        QCOMPARE(m.loslassen(Qt::RightButton), Auswahlrahmen::Ergebnis::Nichts);
        vergleiche(m.shape1, vorher);
        QCOMPARE(m.lblA(), anzeige);
        QVERIFY(m.griffe[Auswahlrahmen::RU].sichtbar);
    }

    void einDruckVerwirftDenAltenRahmen()
    {
        Auswahlrahmen m = mitRahmen();
        m.druecken(Qt::LeftButton, 300, 300);
        for (const auto& g : m.griffe)
            QVERIFY(!g.sichtbar);
        vergleiche(m.shape1, {300, 300, 1, 1});
    }

    void ueberDenRandGezogenEndetAmRand()
    {
        Auswahlrahmen m = modell(600, 400, 3000, 2000);
        m.druecken(Qt::LeftButton, 450, 100);
        m.ziehen(Qt::LeftButton, 700, 150);
        QCOMPARE(m.shape1.W, 251.0f); // not clamped while dragging
        m.loslassen(Qt::LeftButton);
        QCOMPARE(m.shape1.L + m.shape1.W, 600.0f);
        QCOMPARE(m.shape1.W, 150.0f);
        QCOMPARE(m.shape1.H, 100.0f);
        QCOMPARE(m.lblA(), QStringLiteral("750 x 500"));
        griffeAufEcken(m);
    }

    // --- handles ---
    void griffPositionenNachDemSetzen()
    {
        Auswahlrahmen m = mitRahmen();
        vergleiche(m.shape1, {100, 100, 150, 100});
        griffeAufEcken(m);
        QCOMPARE(m.griffe[Auswahlrahmen::RU].W, 6.0f);
    }

    void griffZiehenMitLinks_data()
    {
        QTest::addColumn<int>("griff");
        QTest::addColumn<float>("cx");
        QTest::addColumn<float>("cy");
        QTest::addColumn<float>("l");
        QTest::addColumn<float>("t");
        QTest::addColumn<float>("w");
        QTest::addColumn<float>("h");
        QTest::newRow("RU: die senkrechte Bewegung zählt nicht") << int(Auswahlrahmen::RU) << 280.f << 207.f << 100.f << 100.f << 180.f << 120.f;
        QTest::newRow("RO: unterer Rand bleibt") << int(Auswahlrahmen::RO) << 250.f << 80.f << 100.f << 80.f << 180.f << 120.f;
        QTest::newRow("LO: Ecke rechts unten bleibt") << int(Auswahlrahmen::LO) << 120.f << 130.f << 145.f << 130.f << 105.f << 70.f;
        QTest::newRow("LU: Ecke rechts oben bleibt") << int(Auswahlrahmen::LU) << 130.f << 260.f << 130.f << 100.f << 120.f << 80.f;
    }
    void griffZiehenMitLinks()
    {
        QFETCH(int, griff);
        QFETCH(float, cx);
        QFETCH(float, cy);
        QFETCH(float, l);
        QFETCH(float, t);
        QFETCH(float, w);
        QFETCH(float, h);
        Auswahlrahmen m = mitRahmen();
        const auto g = Auswahlrahmen::Griffname(griff);
        griffZiehen(m, g, Qt::LeftButton, cx, cy);
        QCOMPARE(m.griffe[g].cursor, Auswahlrahmen::groessenCursor(g));
        vergleiche(m.shape1, {l, t, w, h});
        for (const auto& gr : m.griffe)
            QVERIFY(!gr.sichtbar);
        // The read-out follows live.
        QCOMPARE(m.lblA(), QStringLiteral("%1 x %2").arg(qRound(w)).arg(qRound(h)));

        QCOMPARE(m.griffLoslassen(g, Qt::LeftButton), Auswahlrahmen::Ergebnis::Gesetzt);
        m.griffLoslassenAbschliessen(g);
        vergleiche(m.shape1, {l, t, w, h});
        griffeAufEcken(m);
        for (const auto& gr : m.griffe)
            QVERIFY(gr.sichtbar);
    }

    void nachbargriffeFolgenDemGezogenen()
    {
        Auswahlrahmen m = mitRahmen();
        griffZiehen(m, Auswahlrahmen::RU, Qt::LeftButton, 280, 207);
        QCOMPARE(m.griffe[Auswahlrahmen::RO].L, m.griffe[Auswahlrahmen::RU].L);
        QCOMPARE(m.griffe[Auswahlrahmen::RO].T, 97.0f);
        QCOMPARE(m.griffe[Auswahlrahmen::LU].T, m.griffe[Auswahlrahmen::RU].T);
        QCOMPARE(m.griffe[Auswahlrahmen::LU].L, 97.0f);
    }

    // Both buttons on one handle: the first let go ends its own gesture, and the handle
    // keeps the drag for the one still held, whose release ends the drag.
    void zweiKnoepfeAufEinemGriff_data()
    {
        QTest::addColumn<int>("zuerstLos"); // the button let go first; the other one drags on
        QTest::addColumn<float>("cx");      // where the handle's centre is taken by the other one
        QTest::addColumn<float>("cy");
        QTest::addColumn<R>("erwartet");
        // Frame (100, 100, 150, 100); RU's centre at (250, 200).
        QTest::newRow("rechts los, links vergrößert") << int(Qt::RightButton) << 280.0f << 207.0f << R{100, 100, 180, 120};
        QTest::newRow("links los, rechts verschiebt") << int(Qt::LeftButton) << 290.0f << 225.0f << R{140, 125, 150, 100};
        QTest::newRow("links los, rechts schiebt hinaus") << int(Qt::LeftButton) << 700.0f << 450.0f << R{450, 300, 150, 100};
    }
    void zweiKnoepfeAufEinemGriff()
    {
        QFETCH(int, zuerstLos);
        QFETCH(float, cx);
        QFETCH(float, cy);
        QFETCH(R, erwartet);
        const auto los = Qt::MouseButton(zuerstLos);
        const auto weiter = los == Qt::LeftButton ? Qt::RightButton : Qt::LeftButton;
        Auswahlrahmen m = mitRahmen();
        const auto ru = Auswahlrahmen::RU;
        m.griffDruecken(ru, weiter, 3, 3);
        m.griffDruecken(ru, los, 3, 3);
        m.griffZiehen(ru, Qt::LeftButton | Qt::RightButton, 40, 40); // several buttons: nothing
        vergleiche(m.shape1, {100, 100, 150, 100});
        QCOMPARE(m.griffLoslassen(ru, los), Auswahlrahmen::Ergebnis::Gesetzt);
        m.griffLoslassenAbschliessen(ru, weiter);
        griffeAufEcken(m);
        m.griffZiehen(ru, weiter, cx - m.griffe[ru].L, cy - m.griffe[ru].T);
        QCOMPARE(m.griffLoslassen(ru, weiter), Auswahlrahmen::Ergebnis::Gesetzt);
        m.griffLoslassenAbschliessen(ru);
        vergleiche(m.shape1, erwartet);
        griffeAufEcken(m);
        QCOMPARE(m.griffLoslassen(ru, weiter), Auswahlrahmen::Ergebnis::Nichts); // not held any more
    }

    void ueberDieGegeneckeGezogenBleibtDieLetzteGueltigeGroesse()
    {
        Auswahlrahmen m = mitRahmen();
        m.griffDruecken(Auswahlrahmen::RU, Qt::LeftButton, 3, 3);
        // First to a valid size, then past the kept corner at x = 100.
        m.griffZiehen(Auswahlrahmen::RU, Qt::LeftButton, 3 + (200 - 250), 3);
        vergleiche(m.shape1, {100, 100, 100, 66.66667f});
        m.griffZiehen(Auswahlrahmen::RU, Qt::LeftButton, 3 + (60 - 200), 3);
        vergleiche(m.shape1, {100, 100, 100, 66.66667f});
        QCOMPARE(m.griffe[Auswahlrahmen::RU].L + 3, 60.0f);
        m.griffLoslassen(Auswahlrahmen::RU, Qt::LeftButton);
        m.griffLoslassenAbschliessen(Auswahlrahmen::RU);
        griffeAufEcken(m);
    }

    void verschiebenMitRechts()
    {
        Auswahlrahmen m = mitRahmen();
        const QString anzeige = m.lblA();
        const R quelleVorher = m.shape2;
        griffZiehen(m, Auswahlrahmen::RU, Qt::RightButton, 290, 225);
        QCOMPARE(m.griffe[Auswahlrahmen::RU].cursor, int(Auswahlrahmen::Verschieben));
        vergleiche(m.shape1, {140, 125, 150, 100});
        // Neither the source rectangle nor the read-out follow while moving.
        QCOMPARE(m.lblA(), anzeige);
        vergleiche(m.shape2, quelleVorher);
        m.griffLoslassen(Auswahlrahmen::RU, Qt::RightButton);
        m.griffLoslassenAbschliessen(Auswahlrahmen::RU);
        QCOMPARE(m.griffe[Auswahlrahmen::RU].cursor, int(Auswahlrahmen::GroesseLORU));
        vergleiche(m.shape2, {140, 125, 150, 100});
        griffeAufEcken(m);
    }

    void verschiebenUeberDenRandSchiebtZurueck()
    {
        Auswahlrahmen m = mitRahmen();
        griffZiehen(m, Auswahlrahmen::LO, Qt::RightButton, 520, -40);
        QCOMPARE(m.griffe[Auswahlrahmen::LO].cursor, int(Auswahlrahmen::Verschieben));
        vergleiche(m.shape1, {520, -40, 150, 100});
        m.griffLoslassen(Auswahlrahmen::LO, Qt::RightButton);
        m.griffLoslassenAbschliessen(Auswahlrahmen::LO);
        vergleiche(m.shape1, {450, 0, 150, 100});
        QCOMPARE(m.griffe[Auswahlrahmen::LO].cursor, int(Auswahlrahmen::GroesseLORU));
        griffeAufEcken(m);
    }

    void beideKnoepfeBewegenNichts()
    {
        Auswahlrahmen m = mitRahmen();
        m.griffDruecken(Auswahlrahmen::RU, Qt::LeftButton, 3, 3);
        m.griffZiehen(Auswahlrahmen::RU, Qt::LeftButton | Qt::RightButton, 50, 50);
        m.griffZiehen(Auswahlrahmen::RU, Qt::NoButton, 50, 50);
        m.griffZiehen(Auswahlrahmen::RU, Qt::MiddleButton, 50, 50);
        vergleiche(m.shape1, {100, 100, 150, 100});
        griffeAufEcken(m);
        QVERIFY(m.griffe[Auswahlrahmen::RU].sichtbar);
    }

    // --- fitting and clamping on a 600 x 400 view ---
    void einpassen_data()
    {
        QTest::addColumn<R>("vorher");
        QTest::addColumn<R>("nachher");
        QTest::newRow("rechts") << R{500, 100, 150, 100} << R{500, 100, 100, 66.66667f};
        QTest::newRow("unten") << R{100, 350, 150, 100} << R{100, 350, 75, 50};
        QTest::newRow("oben, dann links nichts mehr") << R{-30, -20, 150, 100} << R{0, 0, 120, 80};
        QTest::newRow("links") << R{-30, 50, 150, 100} << R{0, 70, 120, 80};
        QTest::newRow("genau am Rand") << R{0, 0, 600, 400} << R{0, 0, 600, 400};
    }
    void einpassen()
    {
        QFETCH(R, vorher);
        QFETCH(R, nachher);
        Auswahlrahmen m = modell(600, 400, 600, 400);
        m.shape1 = vorher;
        m.anzeige = Auswahlrahmen::Anzeige{-1, -1}; // a read-out the fitting must not touch
        QVERIFY(m.rahmenEinpassen());
        vergleiche(m.shape1, nachher);
        if (vorher == nachher) {
            // A frame inside the picture is not touched: neither handles nor read-out are rewritten.
            QCOMPARE(m.lblA(), QStringLiteral("-1 x -1"));
            QCOMPARE(m.griffe[Auswahlrahmen::LO].L, 0.0f);
        } else {
            griffeAufEcken(m);
            QCOMPARE(m.lblA(), QStringLiteral("%1 x %2").arg(qRound(nachher.W)).arg(qRound(nachher.H)));
        }
    }

    void einpassenBehaeltDieUntereRechteEcke()
    {
        Auswahlrahmen m = modell(600, 400, 600, 400);
        m.shape1 = {-30, 50, 150, 100};
        m.rahmenEinpassen();
        QCOMPARE(m.shape1.L + m.shape1.W, 120.0f);
        QCOMPARE(m.shape1.T + m.shape1.H, 150.0f);
    }

    void ganzUeberDemBildIstKeinRahmen()
    {
        Auswahlrahmen m = modell(600, 400, 600, 400);
        m.druecken(Qt::LeftButton, 100, 10);
        m.ziehen(Qt::LeftButton, 130, -200);
        QVERIFY(m.shape1.T + m.shape1.H < 0);
        QCOMPARE(m.loslassen(Qt::LeftButton), Auswahlrahmen::Ergebnis::Leer);
        QVERIFY(!m.shape1Sichtbar);
        for (const auto& g : m.griffe)
            QVERIFY(!g.sichtbar);
        QCOMPARE(m.lblA(), QString());
    }

    void zurueckschieben()
    {
        Auswahlrahmen m = modell(600, 400, 600, 400);
        m.shape1 = {550, -10, 120, 80};
        m.rahmenZurueckschieben();
        vergleiche(m.shape1, {480, 0, 120, 80});
        QCOMPARE(m.lblA(), QStringLiteral("120 x 80"));
    }

    // --- the keyboard on a placed frame of a 600 x 400 view: it moves or grows, and stays inside ---
    void tasten_data()
    {
        QTest::addColumn<R>("vorher");
        QTest::addColumn<float>("dx");
        QTest::addColumn<float>("dy");
        QTest::addColumn<float>("dw");
        QTest::addColumn<R>("nachher"); // equal to vorher: nothing changed
        const R r{100, 100, 150, 100};
        QTest::newRow("rechts") << r << 1.f << 0.f << 0.f << R{101, 100, 150, 100};
        QTest::newRow("links um zehn") << r << -10.f << 0.f << 0.f << R{90, 100, 150, 100};
        QTest::newRow("hoch") << r << 0.f << -1.f << 0.f << R{100, 99, 150, 100};
        QTest::newRow("runter um zehn") << r << 0.f << 10.f << 0.f << R{100, 110, 150, 100};
        QTest::newRow("breiter um die Mitte") << r << 0.f << 0.f << 1.f << R{99.5f, 99.666664f, 151, 100.666664f};
        QTest::newRow("schmaler um die Mitte") << r << 0.f << 0.f << -1.f << R{100.5f, 100.333336f, 149, 99.333336f};
        QTest::newRow("am rechten Rand") << R{450, 100, 150, 100} << 10.f << 0.f << 0.f << R{450, 100, 150, 100};
        QTest::newRow("bis an den Rand") << R{445, 100, 150, 100} << 10.f << 0.f << 0.f << R{450, 100, 150, 100};
        QTest::newRow("am oberen Rand") << R{100, 0, 150, 100} << 0.f << -1.f << 0.f << R{100, 0, 150, 100};
        QTest::newRow("ganzes Bild wächst nicht") << R{0, 0, 600, 400} << 0.f << 0.f << 1.f << R{0, 0, 600, 400};
        QTest::newRow("in der Ecke nach innen") << R{450, 300, 150, 100} << 0.f << 0.f << 1.f << R{449, 299.333333f, 151, 100.666664f};
        QTest::newRow("nicht unter 1 Pixel") << R{100, 100, 1, 0.6666667f} << 0.f << 0.f << -1.f << R{100, 100, 1, 0.6666667f};
    }
    void tasten()
    {
        QFETCH(R, vorher);
        QFETCH(float, dx);
        QFETCH(float, dy);
        QFETCH(float, dw);
        QFETCH(R, nachher);
        Auswahlrahmen m = mitRahmen();
        m.shape1 = vorher;
        m.griffeSetzen();
        m.quellrahmenAbgleichen();
        QVERIFY(m.platziert());
        const bool geaendert = dw != 0 ? m.tastenGroesse(dw) : m.tastenSchieben(dx, dy);
        QCOMPARE(geaendert, !(vorher == nachher));
        vergleiche(m.shape1, nachher);
        griffeAufEcken(m);
        QCOMPARE(m.anzeige, Auswahlrahmen::anzeigeFuer(m.shape2));
        vergleiche(m.shape2, nachher);
        QVERIFY(m.platziert());
    }

    void tastenNurAufPlatziertemRahmen()
    {
        Auswahlrahmen m = modell(600, 400, 600, 400);
        QVERIFY(!m.tastenSchieben(1, 0) && !m.tastenGroesse(1));
        m.druecken(Qt::LeftButton, 100, 100);
        m.ziehen(Qt::LeftButton, 249, 180);
        QVERIFY(!m.platziert() && !m.tastenSchieben(1, 0)); // still drawing
        m.loslassen(Qt::LeftButton);
        m.griffDruecken(Auswahlrahmen::RU, Qt::LeftButton, 3, 3);
        QVERIFY(!m.platziert() && !m.tastenGroesse(1)); // a handle held
        m.griffLoslassen(Auswahlrahmen::RU, Qt::LeftButton);
        m.griffLoslassenAbschliessen(Auswahlrahmen::RU);
        QVERIFY(m.platziert() && m.tastenSchieben(1, 0));
        m.verbergen();
        QVERIFY(!m.platziert() && !m.tastenSchieben(1, 0));
    }

    void ganzesBild()
    {
        Auswahlrahmen m = modell(600, 400, 3000, 2000);
        m.ganzesBild();
        vergleiche(m.shape1, {0, 0, 600, 400});
        QVERIFY(m.shape1Sichtbar);
        QCOMPARE(m.griffe[Auswahlrahmen::LO].L, -3.0f);
        QCOMPARE(m.griffe[Auswahlrahmen::LO].T, -3.0f);
        QCOMPARE(m.griffe[Auswahlrahmen::RO].L, 597.0f);
        QCOMPARE(m.griffe[Auswahlrahmen::RO].T, -3.0f);
        QCOMPARE(m.griffe[Auswahlrahmen::LU].L, -3.0f);
        QCOMPARE(m.griffe[Auswahlrahmen::LU].T, 397.0f);
        QCOMPARE(m.griffe[Auswahlrahmen::RU].L, 597.0f);
        QCOMPARE(m.griffe[Auswahlrahmen::RU].T, 397.0f);
        for (const auto& g : m.griffe)
            QVERIFY(g.sichtbar);

        // The ratio does not matter: 2:3 still covers the whole landscape picture.
        Auswahlrahmen hoch = modell(600, 400, 3000, 2000);
        hoch.verhaeltnisB = 2;
        hoch.verhaeltnisH = 3;
        hoch.ganzesBild();
        vergleiche(hoch.shape1, {0, 0, 600, 400});
    }
};

QTEST_GUILESS_MAIN(TestAuswahlrahmen)
#include "test_auswahlrahmen.moc"
