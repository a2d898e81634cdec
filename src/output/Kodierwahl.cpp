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

struct Ycc {
    double y, cb, cr;
};

Ycc ycc(QRgb p)
{
    const double r = qRed(p), g = qGreen(p), b = qBlue(p);
    return {0.299 * r + 0.587 * g + 0.114 * b, -0.168736 * r - 0.331264 * g + 0.5 * b,
            0.5 * r - 0.418688 * g - 0.081312 * b};
}

} // namespace

Fehler fehler(const QImage& original, const QImage& dekodiert)
{
    const QImage a = original.convertToFormat(QImage::Format_RGB32);
    const QImage b = dekodiert.convertToFormat(QImage::Format_RGB32);
    if (a.size() != b.size() || a.isNull())
        return {};
    double luma = 0, chroma = 0;
    for (int y = 0; y < a.height(); ++y) {
        const auto* za = reinterpret_cast<const QRgb*>(a.constScanLine(y));
        const auto* zb = reinterpret_cast<const QRgb*>(b.constScanLine(y));
        for (int x = 0; x < a.width(); ++x) {
            const Ycc p = ycc(za[x]), q = ycc(zb[x]);
            const double dy = p.y - q.y, dcb = p.cb - q.cb, dcr = p.cr - q.cr;
            luma += dy * dy;
            chroma += dcb * dcb + dcr * dcr;
        }
    }
    const double pixel = double(a.width()) * a.height();
    return {luma / pixel, chroma / pixel};
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
