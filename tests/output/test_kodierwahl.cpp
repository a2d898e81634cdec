// The choice of coding for a crop: made by measuring a sample, it must follow what the
// picture needs, and leave the service's coding as it was.
#include "output/Kodierwahl.h"

#include <QTest>

#include <algorithm>
#include <cmath>

namespace {

// One-pixel stripes of saturated red on green-grey: detail that lives in the colour.
QImage roteStreifen(QSize groesse)
{
    QImage bild(groesse, QImage::Format_RGB32);
    for (int y = 0; y < groesse.height(); ++y)
        for (int x = 0; x < groesse.width(); ++x)
            bild.setPixel(x, y, (x + y / 3) % 2 ? qRgb(220, 20, 30) : qRgb(90, 110, 90));
    return bild;
}

QImage grauerVerlauf(QSize groesse)
{
    QImage bild(groesse, QImage::Format_RGB32);
    for (int y = 0; y < groesse.height(); ++y)
        for (int x = 0; x < groesse.width(); ++x) {
            const int g = 40 + 170 * (x + y) / (groesse.width() + groesse.height());
            bild.setPixel(x, y, qRgb(g, g, g));
        }
    return bild;
}

} // namespace

class TestKodierwahl : public QObject {
    Q_OBJECT
    JpegDienst m_dienst;

private slots:
    void initTestCase() { QCOMPARE(m_dienst.GdipStarten(1), 0); }

    void farbaufloesung_data()
    {
        QTest::addColumn<QImage>("bild");
        QTest::addColumn<bool>("volleFarbe");
        QTest::newRow("feine rote Streifen 900x600") << roteStreifen({900, 600}) << true;
        QTest::newRow("feine rote Streifen 200x150, ohne Probe") << roteStreifen({200, 150}) << true;
        QTest::newRow("grauer Verlauf 900x600") << grauerVerlauf({900, 600}) << false;
        QTest::newRow("grauer Verlauf 200x150, ohne Probe") << grauerVerlauf({200, 150}) << false;
    }
    void farbaufloesung()
    {
        QFETCH(QImage, bild);
        QFETCH(bool, volleFarbe);
        const Kodierung vorher{false, true, Kodierung::Tabellen::Robidoux};
        m_dienst.setzeKodierung(vorher);
        const kodierwahl::Wahl wahl = kodierwahl::waehlen(m_dienst, bild);
        QCOMPARE(wahl.status, 0);
        QCOMPARE(wahl.kodierung.volleFarbe, volleFarbe);
        QVERIFY(m_dienst.kodierung() == vorher);
        // The choice is the candidate with the lowest value.
        const auto bester = std::min_element(wahl.bewertungen.begin(), wahl.bewertungen.end(),
                                             [](const auto& a, const auto& b) { return a.wert < b.wert; });
        QVERIFY(kodierwahl::kandidaten[size_t(bester - wahl.bewertungen.begin())] == wahl.kodierung);
    }

    void probeAufBlockgrenzen()
    {
        // Pieces of a picture whose 16 x 16 blocks are numbered keep whole blocks.
        QImage bild(900, 600, QImage::Format_RGB32);
        for (int y = 0; y < 600; ++y)
            for (int x = 0; x < 900; ++x)
                bild.setPixel(x, y, qRgb(x / 16, y / 16, 0));
        const QImage p = kodierwahl::probe(bild);
        QCOMPARE(p.size(), QSize(256, 256));
        for (int y = 0; y < 256; y += 16)
            for (int x = 0; x < 256; x += 16)
                for (const QPoint d : {QPoint(0, 0), QPoint(15, 15)})
                    QCOMPARE(p.pixel(QPoint(x, y) + d), p.pixel(x, y));
        QCOMPARE(kodierwahl::probe(QImage(287, 600, QImage::Format_RGB32)).size(), QSize(287, 600));
    }

    void fehlerInLumaUndChroma()
    {
        QImage a(4, 4, QImage::Format_RGB32), b(4, 4, QImage::Format_RGB32);
        a.fill(qRgb(100, 100, 100));
        b.fill(qRgb(110, 110, 110)); // luma only: 10 per pixel
        QCOMPARE(kodierwahl::fehler(a, b).luma, 100.0);
        QVERIFY(std::abs(kodierwahl::fehler(a, b).chroma) < 1e-9);
        QCOMPARE(kodierwahl::fehler(a, QImage(3, 4, QImage::Format_RGB32)).luma, -1.0);
    }
};

QTEST_GUILESS_MAIN(TestKodierwahl)
#include "test_kodierwahl.moc"
