// The target chain as it runs on every release of the selection frame, on an 18 MP photo,
// against ImageMagick doing the same crop, resize and encode from the file.

#include "Bench.h"

#include "codec/JpegDienst.h"
#include "output/Quellbild.h"

#include <QDir>
#include <QRectF>

using namespace bench;

namespace {

constexpr int laeufe = 20;
constexpr int qualitaet = 85;

// The crop in source pixels, as the frame on an 833 x 468 view maps to it (single precision).
QRectF rahmenAbbilden(float qw, float qh, float vw, float vh, float l, float t, float w, float h)
{
    const float fx = qw / vw, fy = qh / vh;
    return QRectF(l * fx, t * fy, w * fx, h * fy);
}

} // namespace

ABSCHNITT(kette, 10, "map + ausschnitt 4500x3000 -> 900x600 + encode + decode on cam18.jpg, and ImageMagick")
{
    ueberschrift(QStringLiteral("target chain (cam18.jpg, crop 4500x3000+570+86 -> 900x600, quality 85)"));
    const QString cam18 = umgebung.cam18();
    if (cam18.isEmpty())
        return;
    const QImage bild = umgebung.laden(cam18);
    if (bild.isNull())
        return;
    const Quellbild quelle(bild);
    JpegDienst dienst;
    if (dienst.GdipStarten(1) != 0) {
        uebersprungen(QStringLiteral("the JPEG service did not start"));
        return;
    }
    const float qw = float(quelle.breite()), qh = float(quelle.hoehe()), vw = 833, vh = 468;
    const float l = 570 / (qw / vw), t = 86 / (qh / vh), w = 4500 / (qw / vw), h = 3000 / (qh / vh);
    const QSize ziel(900, 600);

    std::vector<double> gesamt, skalieren, jpeg;
    JpegMessung m;
    for (int i = 0; i <= laeufe; ++i) { // the first run only warms up
        const auto t0 = Uhr::now();
        const QRectF r = rahmenAbbilden(qw, qh, vw, vh, l, t, w, h);
        const QImage ausschnitt = quelle.ausschnitt(r, ziel);
        const double tSkalieren = msSeit(t0);
        const auto t1 = Uhr::now();
        m = dienst.JpegMessen(ausschnitt, qualitaet);
        const double tJpeg = msSeit(t1);
        const double tGesamt = msSeit(t0);
        if (m.Bild.isNull()) {
            uebersprungen(QStringLiteral("JpegMessen failed with status %1").arg(m.status));
            return;
        }
        if (i == 0)
            continue;
        gesamt.push_back(tGesamt);
        skalieren.push_back(tSkalieren);
        jpeg.push_back(tJpeg);
    }
    const QRectF r = rahmenAbbilden(qw, qh, vw, vh, l, t, w, h);
    zeile("calls: Quellbild(cam18 decoded); per run: rect = frame (%.3f, %.3f, %.3f, %.3f) on an 833x468 view "
          "mapped in float = (%.2f, %.2f, %.2f, %.2f);",
          l, t, w, h, r.x(), r.y(), r.width(), r.height());
    zeile("       ausschnitt(rect, 900x600); JpegDienst::JpegMessen(raster, %d) (encode + decode), "
          "%s, optimised Huffman, 4:2:0",
          qualitaet, dienst.progressiv() ? "progressive" : "baseline");
    zeile("chain:    median %7.2f ms  (min %.2f, max %.2f; %d runs after one warm-up)", median(gesamt),
          *std::min_element(gesamt.begin(), gesamt.end()), *std::max_element(gesamt.begin(), gesamt.end()), laeufe);
    zeile("  of it resample %7.2f ms, encode + decode %.2f ms (medians); JPEG %d bytes", median(skalieren),
          median(jpeg), int(m.daten.size()));

    // The same chain with progressive encoding, for the choice between the two.
    dienst.setzeProgressiv(!dienst.progressiv());
    std::vector<double> anders;
    for (int i = 0; i <= laeufe; ++i) {
        const auto t0 = Uhr::now();
        const QImage ausschnitt = quelle.ausschnitt(rahmenAbbilden(qw, qh, vw, vh, l, t, w, h), ziel);
        if (dienst.JpegMessen(ausschnitt, qualitaet).Bild.isNull()) {
            uebersprungen(QStringLiteral("JpegMessen failed"));
            return;
        }
        if (i > 0)
            anders.push_back(msSeit(t0));
    }
    zeile("  (the same chain %s: median %.2f ms)", dienst.progressiv() ? "progressive" : "baseline", median(anders));
    dienst.setzeProgressiv(!dienst.progressiv());

    const QString convert = programmFinden(umgebung.convert);
    if (convert.isEmpty()) {
        uebersprungen(QStringLiteral("ImageMagick's convert not found (%1; Debian package imagemagick)").arg(umgebung.convert));
        return;
    }
    const QString aus = QDir(umgebung.ordner).filePath(QStringLiteral("im-out.jpg"));
    const QStringList args{cam18, QStringLiteral("-crop"), QStringLiteral("4500x3000+570+86"), QStringLiteral("+repage"),
                           QStringLiteral("-resize"), QStringLiteral("900x600!"), QStringLiteral("-quality"),
                           QString::number(qualitaet), aus};
    std::vector<double> im;
    for (int i = 0; i < 3; ++i) {
        const Lauf lauf = starten(convert, args);
        if (lauf.ms < 0) {
            uebersprungen(QStringLiteral("convert failed: %1").arg(lauf.ausgabe.trimmed()));
            return;
        }
        im.push_back(lauf.ms);
    }
    zeile("command: %s", qPrintable(befehlszeile(convert, args)));
    zeile("ImageMagick: median %7.1f ms (3 runs); ratio ImageMagick / chain = %.1f", median(im),
          median(im) / median(gesamt));
}
