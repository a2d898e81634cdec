#include "output/Quellbild.h"

#include "codec/Bildspeicher.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <numbers>
#include <vector>

namespace {

// The inner loops below are written so that GCC vectorises them at -O2 already; where
// the processor has AVX2 and FMA, a second copy of them uses those. (Not under the
// thread checker: the copy's chooser runs before the checker has started.)
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_THREAD__)
#define VEKTOR_VARIANTEN __attribute__((target_clones("default", "arch=x86-64-v3")))
#else
#define VEKTOR_VARIANTEN
#endif

// Small vectors; GCC maps the arithmetic on them to the target's vector unit (SSE2 on
// any x86-64) at every optimisation level, where plain loops are vectorised only at -O3.
typedef float Pixel __attribute__((vector_size(16)));               // the 4 channels as floats
typedef int Ganzzahlen __attribute__((vector_size(16)));            // ... as 32-bit integers
typedef unsigned char Bytes __attribute__((vector_size(4)));        // one RGB32 pixel
typedef float Paar __attribute__((vector_size(32)));                // two pixels' channels

template<typename V>
V laden(const void* p)
{
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
}

template<typename V>
void speichern(void* p, V v)
{
    std::memcpy(p, &v, sizeof v);
}

// No copy is made with a side shorter than this: such copies are cheap to do without,
// and halving a side of a few pixels would not save a quarter any more.
constexpr int kleinsteStufe = 16;

// The vertical step of halbieren on one row of n bytes: r0 + 3 (r1 + r2) + r3.
VEKTOR_VARIANTEN void senkrechtSummieren(const uchar* __restrict r0, const uchar* __restrict r1,
                                         const uchar* __restrict r2, const uchar* __restrict r3,
                                         quint16* __restrict m, int n)
{
    // Pieces of a fixed length, which GCC vectorises already at -O2.
    constexpr int stueck = 32;
    int i = 0;
    for (; i + stueck <= n; i += stueck)
        for (int k = 0; k < stueck; ++k)
            m[i + k] = quint16(r0[i + k] + 3 * (r1[i + k] + r2[i + k]) + r3[i + k]);
    for (; i < n; ++i)
        m[i] = quint16(r0[i] + 3 * (r1[i] + r2[i]) + r3[i]);
}

// The horizontal step: target pixel x from the summed pixels 2x-1 .. 2x+2, rounded.
VEKTOR_VARIANTEN void waagrechtSummieren(const quint16* __restrict m, uchar* __restrict o, int zw)
{
    for (int x = 0; x < zw; ++x) {
        const quint16* p = m + 8 * x;
#pragma GCC unroll 4
        for (int c = 0; c < 4; ++c)
            o[4 * x + c] = uchar((p[c - 4] + 3 * (p[c] + p[c + 4]) + p[c + 8] + 32) >> 6);
    }
}

// Halves the picture with the separable filter [1 3 3 1] / 8, centred between source
// pixels 2i and 2i+1, so that the copy's pixel i stands where those two stand. Unlike a
// 2 x 2 box it all but removes the finest detail, which would otherwise fold back as
// coarse moire; the price is a little softness, which the target does not show as long
// as enough reduction is left after the copy (Quellbild::mindestFaktor).
// Edge pixels are repeated outside the picture.
QImage halbieren(const QImage& q, const std::atomic<bool>* abbrechen)
{
    const int w = q.width(), h = q.height();
    const int zw = (w + 1) / 2, zh = (h + 1) / 2;
    QImage z = bildspeicher::rgb32(zw, zh);
    if (z.isNull())
        return z;
    // One row summed vertically, with a pixel of margin on the left and up to two on the right.
    std::vector<quint16> summe(size_t(4) * (2 * zw + 2));
    quint16* m = summe.data() + 4;
    for (int y = 0; y < zh; ++y) {
        // Some 64 thousand pixels between two looks: well under a millisecond.
        if (abbrechen && y % std::max(1, (1 << 16) / zw) == 0 && abbrechen->load(std::memory_order_relaxed))
            return {};
        senkrechtSummieren(q.constScanLine(std::max(2 * y - 1, 0)), q.constScanLine(2 * y),
                           q.constScanLine(std::min(2 * y + 1, h - 1)), q.constScanLine(std::min(2 * y + 2, h - 1)),
                           m, 4 * w);
        for (int c = 0; c < 4; ++c) {
            m[c - 4] = m[c];
            for (int k = w; k <= 2 * zw; ++k)
                m[4 * k + c] = m[4 * (w - 1) + c];
        }
        waagrechtSummieren(m, z.scanLine(y), zw);
    }
    return z;
}

double sinc(double x)
{
    if (x == 0.0)
        return 1.0;
    const double px = std::numbers::pi * x;
    return std::sin(px) / px;
}

constexpr double lanczosRadius = 3.0;

double lanczos3(double t)
{
    t = std::fabs(t);
    return t < lanczosRadius ? sinc(t) * sinc(t / lanczosRadius) : 0.0;
}

// Which source pixels, with which weights, make up each target pixel along one axis.
struct Achse {
    std::vector<int> anfang;  // first source index of target pixel j
    std::vector<int> anzahl;  // number of source pixels of target pixel j
    std::vector<float> gewichte; // stride weights per target pixel, zero-padded
    int stride = 4;              // a multiple of four
    int von = 0, bis = 0; // source indices [von, bis) that are read at all
};

// Source interval [x0, x0 + laenge) of an axis with n pixels onto ziel pixels. Pixel i
// covers [i, i + 1), so target pixel j is centred at x0 + (j + 0.5) * laenge / ziel.
Achse achsePlanen(double x0, double laenge, int ziel, int n)
{
    Achse a;
    a.anfang.resize(ziel);
    a.anzahl.resize(ziel);
    const double s = laenge / ziel;
    if (s <= 1.0) {
        // Enlarging, scale 1 or an empty interval: the nearest pixel, repeated.
        a.stride = 4;
        a.gewichte.assign(size_t(ziel) * a.stride, 0.0f);
        for (int j = 0; j < ziel; ++j) {
            const double c = x0 + (j + 0.5) * s;
            a.anfang[j] = std::clamp(int(std::floor(c)), 0, n - 1);
            a.anzahl[j] = 1;
            a.gewichte[size_t(j) * a.stride] = 1.0f;
        }
    } else {
        // Lanczos-3 stretched by the reduction, so that it removes what the target cannot show.
        const double radius = lanczosRadius * s;
        a.stride = (std::min(int(std::ceil(2 * radius)) + 2, n) + 3) & ~3;
        a.gewichte.assign(size_t(ziel) * a.stride, 0.0f);
        std::vector<double> w(a.stride);
        for (int j = 0; j < ziel; ++j) {
            const double c = x0 + (j + 0.5) * s;
            const int lo = int(std::floor(c - radius));
            const int hi = int(std::ceil(c + radius));
            const int klo = std::clamp(lo, 0, n - 1);
            const int khi = std::clamp(hi, 0, n - 1);
            std::fill(w.begin(), w.begin() + (khi - klo + 1), 0.0);
            double summe = 0;
            for (int i = lo; i <= hi; ++i) {
                const double g = lanczos3((i + 0.5 - c) / s);
                // Outside the picture the edge pixel stands in.
                w[std::clamp(i, 0, n - 1) - klo] += g;
                summe += g;
            }
            a.anfang[j] = klo;
            a.anzahl[j] = khi - klo + 1;
            float* ziel_w = a.gewichte.data() + size_t(j) * a.stride;
            for (int k = 0; k < a.anzahl[j]; ++k)
                ziel_w[k] = float(w[k] / summe);
        }
    }
    a.von = n;
    a.bis = 0;
    for (int j = 0; j < ziel; ++j) {
        a.von = std::min(a.von, a.anfang[j]);
        a.bis = std::max(a.bis, a.anfang[j] + a.anzahl[j]);
    }
    return a;
}

constexpr int block = 8; // pixels summed in registers at once by the vertical pass

// The source columns [h.von, h.bis) of one row as floats.
VEKTOR_VARIANTEN void zeileWandeln(const uchar* q, const Achse& h, float* __restrict f)
{
    const uchar* __restrict p = q + 4 * h.von;
    const int n = 4 * (h.bis - h.von);
    // Pieces of a fixed length, which GCC vectorises already at -O2.
    constexpr int stueck = 32;
    int i = 0;
    for (; i + stueck <= n; i += stueck)
        for (int k = 0; k < stueck; ++k)
            f[i + k] = p[i + k];
    for (; i < n; ++i)
        f[i] = p[i];
}

// Weighted sum of n rows, `breite` pixels (a multiple of block) each, block by block
// with the sums held in registers.
VEKTOR_VARIANTEN void spalteFiltern(const Pixel* const* zeilen, const float* w, int n, int breite, Pixel* aus)
{
    // Two pixels to a vector of eight floats.
    constexpr int paare = block / 2;
    const Paar schwarz = {}, weiss = schwarz + 255.0f;
    for (int x = 0; x < breite; x += block) {
        Paar a[paare] = {}; // kept in registers: the loops over it are unrolled
        for (int k = 0; k < n; ++k) {
            const Paar g = schwarz + w[k];
            const Pixel* r = zeilen[k] + x;
#pragma GCC unroll 4
            for (int i = 0; i < paare; ++i) {
                Paar p;
                std::memcpy(&p, r + 2 * i, sizeof p);
                a[i] += g * p;
            }
        }
        // Overshoot beyond black and white is ringing, not picture; cut off here it does
        // not spread into the horizontal pass as a halo.
#pragma GCC unroll 4
        for (int i = 0; i < paare; ++i) {
            const Paar b = a[i] < schwarz ? schwarz : a[i] > weiss ? weiss : a[i];
            std::memcpy(aus + x + 2 * i, &b, sizeof b);
        }
    }
}

// One vertically filtered row filtered horizontally and written as RGB32. breit holds the
// axis' weights each four times over, so that two neighbouring source pixels are weighed
// with one multiplication of eight floats.
VEKTOR_VARIANTEN void zeileFiltern(const Pixel* span, const Achse& h, const float* breit, uchar* o)
{
    const Pixel schwarz = {}, weiss = schwarz + 255.0f, halb = schwarz + 0.5f;
    const quint32 opak = 0xff000000u;
    const Bytes deckend = laden<Bytes>(&opak); // RGB32 wants the fourth byte opaque
    const int ziel = int(h.anfang.size());
    for (int j = 0; j < ziel; ++j) {
        const Pixel* s = span + (h.anfang[j] - h.von);
        const float* w = breit + size_t(j) * h.stride * 4;
        // Four sums in turn (taps 0, 1, 2, 3 modulo four; two to a vector), so that the
        // additions need not wait for each other; the weights are padded with zeros to a
        // multiple of four.
        Paar a01 = {}, a23 = {};
        for (int k = 0; k < h.anzahl[j]; k += 4) {
            Paar w01, w23, s01, s23;
            std::memcpy(&w01, w + 4 * k, sizeof w01);
            std::memcpy(&w23, w + 4 * k + 8, sizeof w23);
            std::memcpy(&s01, s + k, sizeof s01);
            std::memcpy(&s23, s + k + 2, sizeof s23);
            a01 += w01 * s01;
            a23 += w23 * s23;
        }
        const Pixel a0 = __builtin_shufflevector(a01, a01, 0, 1, 2, 3), a1 = __builtin_shufflevector(a01, a01, 4, 5, 6, 7);
        const Pixel a2 = __builtin_shufflevector(a23, a23, 0, 1, 2, 3), a3 = __builtin_shufflevector(a23, a23, 4, 5, 6, 7);
        Pixel a = (a0 + a1) + (a2 + a3) + halb;
        a = a < schwarz ? schwarz : a > weiss ? weiss : a;
        Bytes b = __builtin_convertvector(__builtin_convertvector(a, Ganzzahlen), Bytes);
        speichern(o + 4 * j, b | deckend);
    }
}

// Separable: each target row first sums source rows (the columns that are needed, as
// floats), then filters that row horizontally. Vertical first because the vertical sum
// reads every row only once, from a ring of converted rows that stays in the cache.
QImage resample(const QImage& q, double x0, double y0, double rw, double rh, QSize ziel)
{
    const int zw = ziel.width(), zh = ziel.height();
    QImage z = bildspeicher::rgb32(zw, zh);
    if (z.isNull())
        return z;

    const Achse h = achsePlanen(x0, rw, zw, q.width());
    const Achse v = achsePlanen(y0, rh, zh, q.height());
    std::vector<float> breit(h.gewichte.size() * 4);
    for (size_t i = 0; i < h.gewichte.size(); ++i)
        std::fill_n(breit.begin() + 4 * i, 4, h.gewichte[i]);

    // Row length padded for the register blocks and for the zero weights that pad the
    // horizontal filter (up to three pixels further).
    const int breite = (h.bis - h.von + 3 + block - 1) / block * block;
    const int ring = *std::max_element(v.anzahl.begin(), v.anzahl.end());
    std::vector<Pixel> zeilen(size_t(ring) * breite);
    std::vector<Pixel> summe(breite);
    std::vector<const Pixel*> auswahl(ring);
    int fertigBis = v.von; // source rows below this are in the ring already

    for (int j = 0; j < zh; ++j) {
        const int a = v.anfang[j], n = v.anzahl[j];
        for (; fertigBis < a + n; ++fertigBis)
            zeileWandeln(q.constScanLine(fertigBis), h,
                         reinterpret_cast<float*>(zeilen.data() + size_t(fertigBis % ring) * breite));
        for (int k = 0; k < n; ++k)
            auswahl[k] = zeilen.data() + size_t((a + k) % ring) * breite;
        const float* w = v.gewichte.data() + size_t(j) * v.stride;
        const Pixel* span = auswahl[0];
        if (n > 1 || w[0] != 1.0f) {
            spalteFiltern(auswahl.data(), w, n, breite, summe.data());
            span = summe.data();
        }
        zeileFiltern(span, h, breit.data(), z.scanLine(j));
    }
    return z;
}

// An interval of an axis of n pixels, kept within eight times the picture's extent on
// either side, which bounds the work of the filter; further out than that there is only
// edge colour to see anyway. Not a number counts as 0.
void begrenzen(double& anfang, double& laenge, int n)
{
    double a = std::isnan(anfang) ? 0.0 : anfang;
    double b = a + laenge;
    if (std::isnan(b))
        b = a;
    if (b < a) // a rectangle given from its other corner
        std::swap(a, b);
    a = std::clamp(a, -8.0 * n, 9.0 * n);
    b = std::clamp(b, -8.0 * n, 9.0 * n);
    anfang = a;
    laenge = b - a;
}

} // namespace

Quellbild::Quellbild(QImage bild, const std::atomic<bool>* abbrechen)
    : m_bild(bild.format() == QImage::Format_RGB32 ? std::move(bild) : bild.convertToFormat(QImage::Format_RGB32))
{
    if (m_bild.isNull())
        return;
    m_groesse = m_bild.size();
    QImage vorige = m_bild; // shared, not copied
    try {
        while (std::min(vorige.width(), vorige.height()) >= 2 * kleinsteStufe) {
            QImage stufe = halbieren(vorige, abbrechen);
            m_abgebrochen = abbrechen && abbrechen->load(std::memory_order_relaxed);
            if (stufe.isNull() || m_abgebrochen)
                break;
            m_stufen.push_back(stufe);
            vorige = std::move(stufe);
        }
    } catch (const std::bad_alloc&) {
        // Out of memory: the copies made so far (or the picture alone) still serve.
    }
}

Quellbild::Quellbild(QImage verkleinert, QSize groesse)
    : m_bild(verkleinert.format() == QImage::Format_RGB32 ? std::move(verkleinert)
                                                         : verkleinert.convertToFormat(QImage::Format_RGB32))
    , m_groesse(m_bild.isNull() ? QSize() : groesse)
    , m_vorlaeufig(true)
{
}

qint64 Quellbild::zusatzSpeicher() const
{
    qint64 summe = 0;
    for (const QImage& s : m_stufen)
        summe += s.sizeInBytes();
    return summe;
}

QImage Quellbild::ausschnitt(QRectF r, QSize ziel) const { return ausschnitt(r, ziel, mindestFaktor); }

QImage Quellbild::ausschnitt(QRectF r, QSize ziel, double mindest) const
{
    if (m_bild.isNull() || ziel.isEmpty())
        return {};
    double x = r.x(), w = r.width(), y = r.y(), h = r.height();
    begrenzen(x, w, breite());
    begrenzen(y, h, hoehe());

    // The coarsest copy that still leaves a reduction of mindest on both axes.
    const double sx = w / ziel.width(), sy = h / ziel.height();
    int stufe = 0;
    double f = 1.0;
    while (stufe < int(m_stufen.size()) && sx / (2 * f) >= mindest && sy / (2 * f) >= mindest) {
        ++stufe;
        f *= 2;
    }
    const QImage& quelle = stufe == 0 ? m_bild : m_stufen[stufe - 1];
    // A first view stands for the whole picture, each side reduced by its own rounding.
    const double fx = m_vorlaeufig ? double(breite()) / m_bild.width() : f;
    const double fy = m_vorlaeufig ? double(hoehe()) / m_bild.height() : f;
    try {
        return resample(quelle, x / fx, y / fy, w / fx, h / fy, ziel);
    } catch (const std::bad_alloc&) {
        return {};
    }
}

QImage Quellbild::ansicht(QSize ziel) const
{
    return ausschnitt(QRectF(0, 0, breite(), hoehe()), ziel, ansichtMindestFaktor);
}
