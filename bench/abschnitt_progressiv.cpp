// Baseline or progressive: file sizes at equal quality (the same quantisation, so the same
// decoded pixels) and what each costs to encode and decode.

#include "Bench.h"

#include "codec/JpegDienst.h"
#include "output/Quellbild.h"

using namespace bench;

namespace {

struct Probe {
    const char* name;
    QImage raster;
};

double zeitMessen(const std::function<void()>& f)
{
    std::vector<double> t;
    for (int i = 0; i < 7; ++i) {
        const auto t0 = Uhr::now();
        f();
        t.push_back(msSeit(t0));
    }
    return median(t);
}

} // namespace

ABSCHNITT(progressiv, 50, "JPEG sizes baseline vs progressive at qualities 60..95 (900x600 crops)")
{
    ueberschrift(QStringLiteral("baseline vs progressive (optimised Huffman, 4:2:0, 900x600)"));
    std::vector<Probe> proben;
    const QImage marienkaefer = umgebung.laden(umgebung.marienkaefer);
    if (!marienkaefer.isNull())
        proben.push_back({"LadyBird crop 2400x1600+80+0",
                          Quellbild(marienkaefer).ausschnitt(QRectF(80, 0, 2400, 1600), QSize(900, 600))});
    const QString cam18 = umgebung.cam18();
    if (!cam18.isEmpty()) {
        const QImage elefanten = umgebung.laden(cam18);
        if (!elefanten.isNull())
            proben.push_back({"cam18 crop 4500x3000+570+86",
                              Quellbild(elefanten).ausschnitt(QRectF(570, 86, 4500, 3000), QSize(900, 600))});
    }
    if (proben.empty())
        return;
    JpegDienst dienst;
    if (dienst.GdipStarten(1) != 0) {
        uebersprungen(QStringLiteral("the JPEG service did not start"));
        return;
    }
    zeile("calls: JpegDienst::kodieren(raster, q, bytes) with setzeProgressiv(false / true); "
          "progressive = libjpeg's simple progression script");
    for (const Probe& p : proben) {
        zeile("%s:", p.name);
        zeile("  quality  baseline  progressive  difference");
        for (int q = 60; q <= 95; q += 5) {
            QByteArray b, pr;
            dienst.setzeProgressiv(false);
            dienst.kodieren(p.raster, q, b);
            dienst.setzeProgressiv(true);
            dienst.kodieren(p.raster, q, pr);
            zeile("  %7d  %8d  %11d  %+9.1f %%", q, int(b.size()), int(pr.size()),
                  100.0 * (double(pr.size()) - double(b.size())) / double(b.size()));
        }
        for (bool progressiv : {false, true}) {
            dienst.setzeProgressiv(progressiv);
            QByteArray daten;
            const double kodieren = zeitMessen([&] { dienst.kodieren(p.raster, 85, daten); });
            QImage bild;
            const double dekodieren = zeitMessen([&] { dienst.dekodieren(daten, bild); });
            zeile("  %-11s quality 85: encode %.2f ms, decode %.2f ms (medians of 7)",
                  progressiv ? "progressive" : "baseline", kodieren, dekodieren);
        }
    }
    dienst.setzeProgressiv(false);
}
