#include "output/Kodierwahl.h"

#include <QPainter>

#include <algorithm>
#include <cmath>

namespace kodierwahl {

namespace {

// The quality the sample is coded at: where 900 x 600 crops of photographs land near
// 100 KB, so the variants are compared where the forum's limit puts them.
constexpr int probenQualitaet = 80;
constexpr int stueck = 128;
// Error falls with the bytes spent roughly as bytes^-k; weighing both this way
// compares variants as at equal size.
constexpr double bytesGewicht = 1.6;
constexpr double chromaGewicht = 0.6;

} // namespace

Fehler fehler(const QImage& original, const QImage& dekodiert)
{
    const QImage a = original.convertToFormat(QImage::Format_RGB32);
    const QImage b = dekodiert.convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size() || a.isNull())
        return {};
    // The differences of R, G and B enter Y, Cb and Cr linearly: the squared errors follow
    // exactly from six sums of their products, counted in integers (a piece of a row at a
    // time, so that 32 bits hold it).
    enum { RR, GG, BB, RG, RB, GB };
    qint64 summe[6] = {};
    constexpr int zeilenstueck = 16384;
    for (int y = 0; y < a.height(); ++y) {
        const auto* za = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* zb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x0 = 0; x0 < a.width(); x0 += zeilenstueck) {
            const int x1 = std::min(a.width(), x0 + zeilenstueck);
            int rr = 0, gg = 0, bb = 0, rg = 0, rb = 0, gb = 0;
            for (int x = x0; x < x1; ++x) {
                const int dr = qRed(za[x]) - qRed(zb[x]), dg = qGreen(za[x]) - qGreen(zb[x]), db = qBlue(za[x]) - qBlue(zb[x]);
                rr += dr * dr;
                gg += dg * dg;
                bb += db * db;
                rg += dr * dg;
                rb += dr * db;
                gb += dg * db;
            }
            summe[RR] += rr, summe[GG] += gg, summe[BB] += bb, summe[RG] += rg, summe[RB] += rb, summe[GB] += gb;
        }
    }
    // The squared error of the channel c1 R + c2 G + c3 B (BT.601, 0..255).
    const auto quadrate = [&summe](double c1, double c2, double c3) {
        return c1 * c1 * double(summe[RR]) + c2 * c2 * double(summe[GG]) + c3 * c3 * double(summe[BB])
             + 2 * (c1 * c2 * double(summe[RG]) + c1 * c3 * double(summe[RB]) + c2 * c3 * double(summe[GB]));
    };
    const double pixel = double(a.width()) * a.height();
    return {quadrate(0.299, 0.587, 0.114) / pixel,
            (quadrate(-0.168736, -0.331264, 0.5) + quadrate(0.5, -0.418688, -0.081312)) / pixel};
}

QImage probe(const QImage& bild)
{
    if (bild.width() < 2 * stueck + 32 || bild.height() < 2 * stueck + 32)
        return bild;
    QImage p(2 * stueck, 2 * stueck, QImage::Format_RGB32);
    QPainter maler(&p);
    for (int i = 0; i < 4; ++i) {
        // Centred on the quarter points, rounded to 16 so that the pieces' blocks are the picture's.
        const int mx = (i % 2 ? 3 : 1) * bild.width() / 4, my = (i / 2 ? 3 : 1) * bild.height() / 4;
        const int x = (mx - stueck / 2) / 16 * 16, y = (my - stueck / 2) / 16 * 16;
        maler.drawImage(QPoint((i % 2) * stueck, (i / 2) * stueck), bild, QRect(x, y, stueck, stueck));
    }
    return p;
}

Wahl waehlen(JpegDienst& dienst, const QImage& bild)
{
    Wahl wahl;
    const Kodierung vorher = dienst.kodierung();
    const QImage p = probe(bild);
    double bester = 0;
    for (size_t i = 0; i < kandidaten.size(); ++i) {
        dienst.setzeKodierung(kandidaten[i]);
        const JpegMessung m = dienst.JpegMessen(p, probenQualitaet);
        if (m.status != 0 || m.Bild.isNull()) {
            dienst.setzeKodierung(vorher);
            return {einfacheKodierung, {}, m.status != 0 ? m.status : 1};
        }
        Bewertung& b = wahl.bewertungen[i];
        b.fehler = fehler(p, m.Bild);
        b.bytes = m.Groesse;
        const double gesamt = std::max(b.fehler.luma + chromaGewicht * b.fehler.chroma, 1e-3);
        b.wert = std::log(gesamt) + bytesGewicht * std::log(b.bytes);
        if (i == 0 || b.wert < bester) {
            bester = b.wert;
            wahl.kodierung = kandidaten[i];
        }
    }
    dienst.setzeKodierung(vorher);
    return wahl;
}

} // namespace kodierwahl
