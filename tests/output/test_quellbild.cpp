#include "output/Quellbild.h"

#include <QTest>

#include <cmath>
#include <functional>
#include <numbers>
#include <random>

namespace {

using Grau = std::function<double(int x, int y)>;

// A grey picture from a function of the pixel position (values are rounded and clipped).
QImage graubild(int w, int h, const Grau& wert)
{
    QImage bild(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* zeile = reinterpret_cast<QRgb*>(bild.scanLine(y));
        for (int x = 0; x < w; ++x) {
            const int v = std::clamp(int(std::lround(wert(x, y))), 0, 255);
            zeile[x] = qRgb(v, v, v);
        }
    }
    return bild;
}

QImage zufallsbild(int w, int h, unsigned saat)
{
    std::mt19937 zufall(saat);
    QImage bild(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        auto* zeile = reinterpret_cast<QRgb*>(bild.scanLine(y));
        for (int x = 0; x < w; ++x)
            zeile[x] = 0xff000000u | (zufall() & 0xffffffu);
    }
    return bild;
}

// For each of ziel target pixels of an axis of n source pixels: the first source pixel
// it covers and how much of each one (the weights sum to 1).
struct Abdeckung {
    std::vector<int> von;
    std::vector<std::vector<double>> anteile;
};

Abdeckung abdeckung(int n, int ziel)
{
    Abdeckung a;
    const double s = double(n) / ziel;
    for (int j = 0; j < ziel; ++j) {
        const double anfang = j * s, ende = (j + 1) * s;
        const int von = int(std::floor(anfang)), bis = std::min(n, int(std::ceil(ende)));
        std::vector<double> w;
        for (int i = von; i < bis; ++i)
            w.push_back((std::min(ende, i + 1.0) - std::max(anfang, double(i))) / s);
        a.von.push_back(von);
        a.anteile.push_back(std::move(w));
    }
    return a;
}

// The exact area average of the green channel: every target pixel is the mean of the
// source area it covers. The reference the resampler is judged against.
std::vector<double> flaechenmittel(const QImage& q, QSize ziel)
{
    const Abdeckung h = abdeckung(q.width(), ziel.width()), v = abdeckung(q.height(), ziel.height());
    std::vector<double> zeilen(size_t(q.height()) * ziel.width());
    for (int y = 0; y < q.height(); ++y) {
        const auto* p = reinterpret_cast<const QRgb*>(q.constScanLine(y));
        for (int j = 0; j < ziel.width(); ++j) {
            double s = 0;
            for (size_t k = 0; k < h.anteile[j].size(); ++k)
                s += h.anteile[j][k] * qGreen(p[h.von[j] + int(k)]);
            zeilen[size_t(y) * ziel.width() + j] = s;
        }
    }
    std::vector<double> ergebnis(size_t(ziel.width()) * ziel.height());
    for (int i = 0; i < ziel.height(); ++i)
        for (int j = 0; j < ziel.width(); ++j) {
            double s = 0;
            for (size_t k = 0; k < v.anteile[i].size(); ++k)
                s += v.anteile[i][k] * zeilen[size_t(v.von[i] + int(k)) * ziel.width() + j];
            ergebnis[size_t(i) * ziel.width() + j] = s;
        }
    return ergebnis;
}

// What a careless resampler would do: pick the pixel under each target pixel's centre ...
QImage naechsterNachbar(const QImage& q, QSize ziel)
{
    QImage z(ziel, QImage::Format_RGB32);
    const double sx = double(q.width()) / ziel.width(), sy = double(q.height()) / ziel.height();
    for (int i = 0; i < ziel.height(); ++i)
        for (int j = 0; j < ziel.width(); ++j)
            z.setPixel(j, i, q.pixel(int((j + 0.5) * sx), int((i + 0.5) * sy)));
    return z;
}

// ... or interpolate between the four pixels around it, without filtering first.
QImage bilinear(const QImage& q, QSize ziel)
{
    QImage z(ziel, QImage::Format_RGB32);
    const double sx = double(q.width()) / ziel.width(), sy = double(q.height()) / ziel.height();
    for (int i = 0; i < ziel.height(); ++i) {
        const double y = std::clamp((i + 0.5) * sy - 0.5, 0.0, q.height() - 1.0);
        const int y0 = std::min(int(y), q.height() - 2);
        const double fy = y - y0;
        for (int j = 0; j < ziel.width(); ++j) {
            const double x = std::clamp((j + 0.5) * sx - 0.5, 0.0, q.width() - 1.0);
            const int x0 = std::min(int(x), q.width() - 2);
            const double fx = x - x0;
            const double v = (1 - fy) * ((1 - fx) * qGreen(q.pixel(x0, y0)) + fx * qGreen(q.pixel(x0 + 1, y0)))
                             + fy * ((1 - fx) * qGreen(q.pixel(x0, y0 + 1)) + fx * qGreen(q.pixel(x0 + 1, y0 + 1)));
            const int g = int(std::lround(v));
            z.setPixel(j, i, qRgb(g, g, g));
        }
    }
    return z;
}

// How a reduction of a pattern finer than the target can show compares with the area
// average: such a pattern must come out as an even grey of the average's brightness.
struct Moire {
    double streuung;         // standard deviation of the result
    double helligkeitsfehler; // mean of the result minus mean of the area average
};

Moire moireMessen(const QImage& ergebnis, const std::vector<double>& flaeche)
{
    double summe = 0, quadrate = 0, referenz = 0;
    const double n = double(flaeche.size());
    for (int i = 0; i < ergebnis.height(); ++i) {
        for (int j = 0; j < ergebnis.width(); ++j) {
            const double v = qGreen(ergebnis.pixel(j, i));
            summe += v;
            quadrate += v * v;
            referenz += flaeche[size_t(i) * ergebnis.width() + j];
        }
    }
    const double mittel = summe / n;
    return {std::sqrt(std::max(0.0, quadrate / n - mittel * mittel)), mittel - referenz / n};
}

// The check of the moire tests. The area average's own ripple is not the yardstick:
// it lets some of the pattern through, which a good filter does not.
bool moireFrei(const Moire& m) { return m.streuung <= 3.0 && std::fabs(m.helligkeitsfehler) <= 1.5; }

// Patterns finer than a target a third of their size (or less) can show.
void feineMuster()
{
    QTest::addColumn<QSize>("quelle");
    QTest::addColumn<QSize>("ziel");
    QTest::addColumn<Grau>("muster");
    const Grau senkrecht = [](int x, int) { return x % 2 ? 255.0 : 0.0; };
    const Grau waagrecht = [](int, int y) { return y % 2 ? 255.0 : 0.0; };
    const Grau schach = [](int x, int y) { return (x + y) % 2 ? 255.0 : 0.0; };
    const Grau dreier = [](int x, int) { return x % 3 == 0 ? 255.0 : 0.0; };
    const Grau diagonal = [](int x, int y) { return (x + 2 * y) % 4 < 2 ? 230.0 : 20.0; };
    const Grau welle = [](int x, int y) {
        return 127.5 + 127.5 * std::cos(2 * std::numbers::pi * (x / 2.3 + y / 7.1));
    };
    const QSize gross(3000, 2000);
    QTest::newRow("1-px-Streifen senkrecht") << gross << QSize(900, 600) << senkrecht;
    QTest::newRow("1-px-Streifen waagrecht") << gross << QSize(900, 600) << waagrecht;
    QTest::newRow("Schachbrett") << gross << QSize(900, 600) << schach;
    QTest::newRow("Dreierstreifen") << gross << QSize(900, 600) << dreier;
    QTest::newRow("Diagonale") << gross << QSize(900, 600) << diagonal;
    QTest::newRow("schräge Welle") << gross << QSize(900, 600) << welle;
    // Through the reduced copies: 1/2 and 1/4 of the picture are read.
    QTest::newRow("Dreierstreifen über 1/2") << gross << QSize(600, 400) << dreier;
    QTest::newRow("schräge Welle über 1/2") << gross << QSize(600, 400) << welle;
    QTest::newRow("Schachbrett über 1/4") << gross << QSize(290, 193) << schach;
    QTest::newRow("schräge Welle über 1/4") << gross << QSize(290, 193) << welle;
}

double amplitude(const QImage& bild, int zeile, double periode)
{
    double a = 0, b = 0, mittel = 0;
    const int n = bild.width();
    for (int x = 0; x < n; ++x)
        mittel += qGreen(bild.pixel(x, zeile));
    mittel /= n;
    for (int x = 0; x < n; ++x) {
        const double v = qGreen(bild.pixel(x, zeile)) - mittel;
        a += v * std::cos(2 * std::numbers::pi * (x + 0.5) / periode);
        b += v * std::sin(2 * std::numbers::pi * (x + 0.5) / periode);
    }
    return 2 * std::hypot(a, b) / n;
}

// Brightness-weighted centre of a picture, in pixel coordinates (pixel i spans [i, i+1)).
QPointF schwerpunkt(const QImage& bild)
{
    double sx = 0, sy = 0, s = 0;
    for (int y = 0; y < bild.height(); ++y)
        for (int x = 0; x < bild.width(); ++x) {
            const double v = qGreen(bild.pixel(x, y));
            sx += v * (x + 0.5);
            sy += v * (y + 0.5);
            s += v;
        }
    return {sx / s, sy / s};
}

} // namespace

Q_DECLARE_METATYPE(Grau)

class TestQuellbild : public QObject {
    Q_OBJECT
private slots:
    void leer()
    {
        const Quellbild leer;
        QVERIFY(leer.isNull());
        QVERIFY(leer.ausschnitt(QRectF(0, 0, 10, 10), QSize(5, 5)).isNull());
        QVERIFY(leer.ansicht(QSize(5, 5)).isNull());

        const Quellbild q(zufallsbild(40, 30, 1));
        QVERIFY(q.ausschnitt(QRectF(0, 0, 40, 30), QSize(0, 10)).isNull());
        QVERIFY(q.ausschnitt(QRectF(0, 0, 40, 30), QSize(10, -1)).isNull());
        QVERIFY(q.ansicht(QSize()).isNull());
    }

    void bildBleibtUnveraendert()
    {
        const QImage original = zufallsbild(301, 203, 2);
        const Quellbild q(original);
        QCOMPARE(q.breite(), 301);
        QCOMPARE(q.hoehe(), 203);
        QCOMPARE(q.bild(), original);
        q.ausschnitt(QRectF(3, 4, 200, 100), QSize(50, 25));
        QCOMPARE(q.bild(), original);
    }

    void andereFormateWerdenUmgewandelt()
    {
        QImage rgb(64, 48, QImage::Format_RGB888);
        rgb.fill(QColor(10, 120, 230));
        const Quellbild q(rgb);
        QCOMPARE(q.bild().format(), QImage::Format_RGB32);
        const QImage klein = q.ansicht(QSize(16, 12));
        QCOMPARE(klein.format(), QImage::Format_RGB32);
        QCOMPARE(klein.pixel(7, 5), qRgb(10, 120, 230));
    }

    void kopienKostenHoechstensEinDrittel_data()
    {
        QTest::addColumn<QSize>("groesse");
        QTest::newRow("3000 x 2000") << QSize(3000, 2000);
        QTest::newRow("ungerade") << QSize(2999, 1999);
        QTest::newRow("schmal") << QSize(4000, 40);
    }
    void kopienKostenHoechstensEinDrittel()
    {
        QFETCH(QSize, groesse);
        QImage bild(groesse, QImage::Format_RGB32);
        bild.fill(Qt::gray);
        const Quellbild q(bild);
        QVERIFY(q.stufen() >= 1);
        QVERIFY2(q.zusatzSpeicher() <= bild.sizeInBytes() * 0.34,
                 qPrintable(QStringLiteral("%1 of %2 bytes").arg(q.zusatzSpeicher()).arg(bild.sizeInBytes())));
        // Called off, making the copies stops at its first look.
        const std::atomic<bool> ab{true};
        const Quellbild abgebrochen(bild, &ab);
        QVERIFY(abgebrochen.abgebrochen());
        QCOMPARE(abgebrochen.stufen(), 0);
        QVERIFY(!q.abgebrochen());
    }

    // The check must be able to fail: plain sampling of the same patterns, without
    // filtering first, fails it.
    void keinMoire_data() { feineMuster(); }
    void keinMoire()
    {
        QFETCH(QSize, quelle);
        QFETCH(QSize, ziel);
        QFETCH(Grau, muster);
        const QImage bild = graubild(quelle.width(), quelle.height(), muster);
        const std::vector<double> flaeche = flaechenmittel(bild, ziel);
        const QImage klein = Quellbild(bild).ausschnitt(QRectF(QPointF(0, 0), QSizeF(quelle)), ziel);
        QCOMPARE(klein.size(), ziel);
        const Moire m = moireMessen(klein, flaeche);
        QVERIFY2(moireFrei(m), qPrintable(QStringLiteral("Streuung %1, Helligkeitsfehler %2")
                                              .arg(m.streuung).arg(m.helligkeitsfehler)));
        QVERIFY(!moireFrei(moireMessen(naechsterNachbar(bild, ziel), flaeche)));
        QVERIFY(!moireFrei(moireMessen(bilinear(bild, ziel), flaeche)));
    }

    // Detail the target can show is kept, not smoothed away with the fine pattern.
    void sichtbaresBleibt_data()
    {
        QTest::addColumn<int>("faktor");
        QTest::newRow("1/2") << 2;
        QTest::newRow("1/3") << 3;
        QTest::newRow("1/4, über eine Kopie") << 4;
        QTest::newRow("1/8, über zwei Kopien") << 8;
        QTest::newRow("1/13") << 13;
    }
    void sichtbaresBleibt()
    {
        QFETCH(int, faktor);
        // Five target pixels per period: well below what the target can show.
        const double periode = 5.0 * faktor;
        const QImage bild = graubild(120 * faktor, 4 * faktor, [&](int x, int) {
            return 127.5 + 100 * std::cos(2 * std::numbers::pi * (x + 0.5) / periode);
        });
        const QImage klein = Quellbild(bild).ansicht(QSize(120, 4));
        const double a = amplitude(klein, 2, 5.0);
        QVERIFY2(a >= 85 && a <= 103, qPrintable(QString::number(a)));
    }

    void vergroessernWiederholtPixel()
    {
        const QImage bild = zufallsbild(300, 200, 3);
        const QImage gross = Quellbild(bild).ausschnitt(QRectF(0, 0, 300, 200), QSize(600, 400));
        QCOMPARE(gross.size(), QSize(600, 400));
        QCOMPARE(gross.format(), QImage::Format_RGB32);
        for (int y = 0; y < 400; ++y)
            for (int x = 0; x < 600; ++x)
                if (gross.pixel(x, y) != bild.pixel(x / 2, y / 2))
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2").arg(x).arg(y)));
    }

    void massstabEinsKopiertGenau_data()
    {
        QTest::addColumn<QRect>("rechteck");
        QTest::newRow("ganz") << QRect(0, 0, 300, 200);
        QTest::newRow("Mitte") << QRect(17, 23, 120, 80);
        QTest::newRow("Ecke oben links") << QRect(0, 0, 31, 7);
        QTest::newRow("Ecke unten rechts") << QRect(250, 150, 50, 50);
        QTest::newRow("ein Pixel") << QRect(99, 98, 1, 1);
    }
    void massstabEinsKopiertGenau()
    {
        QFETCH(QRect, rechteck);
        const QImage bild = zufallsbild(300, 200, 4);
        const QImage teil = Quellbild(bild).ausschnitt(QRectF(rechteck), rechteck.size());
        QCOMPARE(teil, bild.copy(rechteck));
    }

    // Red rises by 1 per column, green by 4 per row: a linear ramp comes out of a symmetric
    // filter as the value at the target pixel's centre, which shows where it sampled.
    void bruchteilRechteck_data()
    {
        QTest::addColumn<QRectF>("rechteck");
        QTest::addColumn<QSize>("ziel");
        QTest::newRow("halbiert") << QRectF(10.5, 13.25, 100, 20) << QSize(50, 10);
        QTest::newRow("gedrittelt") << QRectF(20.75, 12.5, 90, 21) << QSize(30, 7);
        QTest::newRow("krumm") << QRectF(30.3, 14.7, 77.7, 17.9) << QSize(31, 8);
        QTest::newRow("vergrößert") << QRectF(10.25, 13.5, 25, 5) << QSize(100, 20);
    }
    void bruchteilRechteck()
    {
        QFETCH(QRectF, rechteck);
        QFETCH(QSize, ziel);
        QImage bild(256, 64, QImage::Format_RGB32);
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 256; ++x)
                bild.setPixel(x, y, qRgb(x, 4 * y, 100));
        const QImage teil = Quellbild(bild).ausschnitt(rechteck, ziel);
        QCOMPARE(teil.size(), ziel);
        const double sx = rechteck.width() / ziel.width(), sy = rechteck.height() / ziel.height();
        for (int i = 0; i < ziel.height(); ++i) {
            for (int j = 0; j < ziel.width(); ++j) {
                const double cx = rechteck.x() + (j + 0.5) * sx, cy = rechteck.y() + (i + 0.5) * sy;
                // Enlarging repeats the pixel under the centre; reducing filters around it.
                const double rot = sx <= 1 ? std::floor(cx) : cx - 0.5;
                const double gruen = sy <= 1 ? 4 * std::floor(cy) : 4 * (cy - 0.5);
                const QRgb p = teil.pixel(j, i);
                if (std::fabs(qRed(p) - rot) > 0.51 || std::fabs(qGreen(p) - gruen) > 0.51 || qBlue(p) != 100)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2: %3,%4 expected %5,%6")
                                         .arg(j).arg(i).arg(qRed(p)).arg(qGreen(p)).arg(rot).arg(gruen)));
            }
        }
    }

    // A smooth spot stays where it was, also when reduced copies are read.
    void lageBleibtErhalten_data()
    {
        QTest::addColumn<QRectF>("rechteck");
        QTest::addColumn<QSize>("ziel");
        QTest::newRow("1/2") << QRectF(0, 0, 2000, 1200) << QSize(1000, 600);
        QTest::newRow("1/4") << QRectF(0, 0, 2000, 1200) << QSize(500, 300);
        QTest::newRow("1/6") << QRectF(0, 0, 2000, 1200) << QSize(333, 200);
        QTest::newRow("1/8") << QRectF(0, 0, 2000, 1200) << QSize(250, 150);
        QTest::newRow("1/16") << QRectF(0, 0, 2000, 1200) << QSize(125, 75);
        QTest::newRow("Ausschnitt 1/4") << QRectF(100.5, 50.25, 1600, 960) << QSize(400, 240);
        QTest::newRow("Ausschnitt 1/5,3") << QRectF(333.3, 111.1, 1500, 1000) << QSize(283, 189);
    }
    void lageBleibtErhalten()
    {
        QFETCH(QRectF, rechteck);
        QFETCH(QSize, ziel);
        const double mx = 977.3, my = 555.7, sigma = 40;
        const QImage bild = graubild(2000, 1200, [&](int x, int y) {
            const double dx = x + 0.5 - mx, dy = y + 0.5 - my;
            return 255 * std::exp(-(dx * dx + dy * dy) / (2 * sigma * sigma));
        });
        const QPointF quelle = schwerpunkt(bild); // the spot's centre after rounding to 8 bits
        const QPointF erwartet((quelle.x() - rechteck.x()) * ziel.width() / rechteck.width(),
                               (quelle.y() - rechteck.y()) * ziel.height() / rechteck.height());
        const QPointF ist = schwerpunkt(Quellbild(bild).ausschnitt(rechteck, ziel));
        QVERIFY2(std::fabs(ist.x() - erwartet.x()) < 0.03 && std::fabs(ist.y() - erwartet.y()) < 0.03,
                 qPrintable(QStringLiteral("%1,%2 expected %3,%4").arg(ist.x()).arg(ist.y()).arg(erwartet.x()).arg(erwartet.y())));
    }

    void einfarbigBleibtGenau_data()
    {
        QTest::addColumn<QSize>("quelle");
        QTest::addColumn<QRectF>("rechteck");
        QTest::addColumn<QSize>("ziel");
        QTest::addColumn<QRgb>("farbe");
        const QList<QRgb> farben{qRgb(0, 0, 0), qRgb(255, 255, 255), qRgb(12, 200, 77), qRgb(1, 254, 128)};
        for (const QRgb f : farben) {
            const QString name = QColor(f).name();
            QTest::newRow(qPrintable(name + " 1/3")) << QSize(1001, 667) << QRectF(0, 0, 1001, 667) << QSize(300, 200) << f;
            QTest::newRow(qPrintable(name + " ungerade, stark verkleinert"))
                << QSize(3001, 2001) << QRectF(0, 0, 3001, 2001) << QSize(97, 61) << f;
            QTest::newRow(qPrintable(name + " Rand überragt"))
                << QSize(640, 480) << QRectF(-100.5, -50.5, 840, 580) << QSize(211, 146) << f;
            QTest::newRow(qPrintable(name + " vergrößert")) << QSize(50, 30) << QRectF(0, 0, 50, 30) << QSize(173, 91) << f;
            QTest::newRow(qPrintable(name + " gemischt")) << QSize(400, 40) << QRectF(0, 0, 400, 40) << QSize(100, 160) << f;
        }
    }
    void einfarbigBleibtGenau()
    {
        QFETCH(QSize, quelle);
        QFETCH(QRectF, rechteck);
        QFETCH(QSize, ziel);
        QFETCH(QRgb, farbe);
        QImage bild(quelle, QImage::Format_RGB32);
        bild.fill(farbe);
        const QImage klein = Quellbild(bild).ausschnitt(rechteck, ziel);
        QCOMPARE(klein.size(), ziel);
        for (int y = 0; y < ziel.height(); ++y)
            for (int x = 0; x < ziel.width(); ++x)
                if (klein.pixel(x, y) != farbe)
                    QFAIL(qPrintable(QStringLiteral("pixel %1,%2 is %3").arg(x).arg(y).arg(klein.pixel(x, y), 8, 16)));
    }

    // Outside the picture its edge pixels stand in: a rectangle wholly outside shows the
    // nearest corner or edge.
    void ausserhalbZeigtRandpixel_data()
    {
        QTest::addColumn<QRectF>("rechteck");
        QTest::addColumn<QSize>("ziel");
        QTest::addColumn<QPoint>("pixel");
        QTest::newRow("links oben, verkleinert") << QRectF(-500, -400, 60, 30) << QSize(20, 10) << QPoint(0, 0);
        QTest::newRow("rechts unten, vergrößert") << QRectF(500, 300, 5, 5) << QSize(20, 20) << QPoint(79, 59);
        QTest::newRow("rechts oben") << QRectF(1000, -1000, 21, 21) << QSize(7, 7) << QPoint(79, 0);
        QTest::newRow("links, Höhe 1:1") << QRectF(-90, 10, 30, 40) << QSize(10, 40) << QPoint(-1, -1);
    }
    void ausserhalbZeigtRandpixel()
    {
        QFETCH(QRectF, rechteck);
        QFETCH(QSize, ziel);
        QFETCH(QPoint, pixel);
        const QImage bild = zufallsbild(80, 60, 5);
        const QImage teil = Quellbild(bild).ausschnitt(rechteck, ziel);
        QCOMPARE(teil.size(), ziel);
        for (int y = 0; y < ziel.height(); ++y)
            for (int x = 0; x < ziel.width(); ++x)
                QCOMPARE(teil.pixel(x, y), bild.pixel(pixel.x() < 0 ? 0 : pixel.x(), pixel.x() < 0 ? 10 + y : pixel.y()));
    }

    // Strongly reduced, the reduced copies are read, whose edge pixels are those of the
    // picture only where the picture's edge is even; the result is even as well.
    void weitAusserhalbStarkVerkleinert()
    {
        // A random picture inside a 40-pixel border of one colour.
        QImage rahmen = zufallsbild(400, 300, 10);
        for (int y = 0; y < 300; ++y)
            for (int x = 0; x < 400; ++x)
                if (x < 40 || x >= 360 || y < 40 || y >= 260)
                    rahmen.setPixel(x, y, qRgb(30, 160, 90));
        const Quellbild q(rahmen);
        const QImage teil = q.ausschnitt(QRectF(-5000, -4000, 1000, 500), QSize(20, 10));
        QVERIFY(q.stufen() >= 3);
        for (int y = 0; y < 10; ++y)
            for (int x = 0; x < 20; ++x)
                QCOMPARE(teil.pixel(x, y), qRgb(30, 160, 90));
        // Half outside: the outside half is the edge colour, the picture's inside is not.
        const QImage halb = q.ausschnitt(QRectF(-400, 0, 800, 300), QSize(40, 15));
        QCOMPARE(halb.pixel(5, 7), qRgb(30, 160, 90));
        QVERIFY(halb.pixel(30, 7) != qRgb(30, 160, 90));
    }

    void teilweiseAusserhalb()
    {
        const QImage bild = zufallsbild(80, 60, 6);
        const Quellbild q(bild);
        const QImage teil = q.ausschnitt(QRectF(-50.5, -30.25, 180, 120), QSize(45, 30));
        QCOMPARE(teil.size(), QSize(45, 30));
        // The part outside repeats the corner pixel, in both directions.
        QCOMPARE(q.ausschnitt(QRectF(-50, -40, 40, 20), QSize(20, 10)).pixel(3, 1), bild.pixel(0, 0));
    }

    void nullGroesseWiederholtNaechstesPixel()
    {
        const QImage bild = zufallsbild(80, 60, 7);
        const Quellbild q(bild);
        const QImage punkt = q.ausschnitt(QRectF(10.7, 20.2, 0, 0), QSize(7, 5));
        QCOMPARE(punkt.size(), QSize(7, 5));
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x)
                QCOMPARE(punkt.pixel(x, y), bild.pixel(10, 20));
        // Zero width, height 1:1: one column, repeated across.
        const QImage spalte = q.ausschnitt(QRectF(33.9, 10, 0, 40), QSize(5, 40));
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 5; ++x)
                QCOMPARE(spalte.pixel(x, y), bild.pixel(33, 10 + y));
    }

    void seltsameRechteckeStuerzenNichtAb()
    {
        const QImage bild = zufallsbild(80, 60, 8);
        const Quellbild q(bild);
        // Given from the other corner: the same rectangle.
        QCOMPARE(q.ausschnitt(QRectF(60, 50, -40, -30), QSize(20, 15)), q.ausschnitt(QRectF(20, 20, 40, 30), QSize(20, 15)));
        const double nan = std::numeric_limits<double>::quiet_NaN(), inf = std::numeric_limits<double>::infinity();
        QCOMPARE(q.ausschnitt(QRectF(nan, 0, 10, nan), QSize(5, 5)).size(), QSize(5, 5));
        QCOMPARE(q.ausschnitt(QRectF(-inf, inf, inf, 10), QSize(5, 5)).size(), QSize(5, 5));
        QCOMPARE(q.ausschnitt(QRectF(1e12, -1e12, 1e9, 1e9), QSize(3, 3)).size(), QSize(3, 3));
        QCOMPARE(q.ausschnitt(QRectF(0, 0, 80, 60), QSize(1, 1)).size(), QSize(1, 1));
        QCOMPARE(q.ausschnitt(QRectF(0, 0, 1, 1), QSize(1000, 1)).size(), QSize(1000, 1));
    }

    void ansichtHatGenauDieGroesse_data()
    {
        QTest::addColumn<QSize>("quelle");
        QTest::addColumn<QSize>("ziel");
        QTest::newRow("Fenster") << QSize(2000, 1125) << QSize(833, 468);
        QTest::newRow("nicht maßstäblich") << QSize(2000, 1125) << QSize(300, 500);
        QTest::newRow("ein Pixel") << QSize(2000, 1125) << QSize(1, 1);
        QTest::newRow("eine Zeile") << QSize(2000, 1125) << QSize(2000, 1);
        QTest::newRow("größer als das Bild") << QSize(300, 200) << QSize(833, 468);
        QTest::newRow("gleich groß") << QSize(300, 200) << QSize(300, 200);
    }
    void ansichtHatGenauDieGroesse()
    {
        QFETCH(QSize, quelle);
        QFETCH(QSize, ziel);
        const QImage bild = zufallsbild(quelle.width(), quelle.height(), 9);
        const QImage ansicht = Quellbild(bild).ansicht(ziel);
        QCOMPARE(ansicht.size(), ziel);
        QCOMPARE(ansicht.format(), QImage::Format_RGB32);
        for (int y = 0; y < ziel.height(); y += 7)
            for (int x = 0; x < ziel.width(); x += 7)
                QCOMPARE(qAlpha(ansicht.pixel(x, y)), 255);
        if (quelle == ziel)
            QCOMPARE(ansicht, bild);
    }
};

QTEST_GUILESS_MAIN(TestQuellbild)
#include "test_quellbild.moc"
