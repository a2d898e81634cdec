// What a newly loaded picture costs the output core: building the reduced copies and the
// first view, and the memory the copies take.

#include "Bench.h"

#include "output/Quellbild.h"

using namespace bench;

ABSCHNITT(ansicht, 30, "Quellbild construction + ansicht(833x468) on cam18.jpg, memory of the copies")
{
    ueberschrift(QStringLiteral("Quellbild construction + ansicht(833x468) (cam18.jpg)"));
    const QString cam18 = umgebung.cam18();
    if (cam18.isEmpty())
        return;
    const QImage bild = umgebung.laden(cam18);
    if (bild.isNull())
        return;
    constexpr int laeufe = 11;
    std::vector<double> bauen, ansicht, gesamt;
    qint64 zusatz = 0;
    int stufen = 0;
    for (int i = 0; i <= laeufe; ++i) {
        const auto t0 = Uhr::now();
        const Quellbild q(bild);
        const double tBauen = msSeit(t0);
        const auto t1 = Uhr::now();
        const QImage a = q.ansicht(QSize(833, 468));
        const double tAnsicht = msSeit(t1);
        const double tGesamt = msSeit(t0);
        if (a.isNull()) {
            uebersprungen(QStringLiteral("ansicht gave no picture"));
            return;
        }
        zusatz = q.zusatzSpeicher();
        stufen = q.stufen();
        if (i == 0)
            continue;
        bauen.push_back(tBauen);
        ansicht.push_back(tAnsicht);
        gesamt.push_back(tGesamt);
    }
    zeile("calls: Quellbild q(decoded %dx%d RGB32); q.ansicht(QSize(833, 468))", bild.width(), bild.height());
    zeile("construction + view: median %.2f ms (construction %.2f, view %.2f; %d runs after one warm-up)",
          median(gesamt), median(bauen), median(ansicht), laeufe);
    zeile("reduced copies: %d, %.1f MB = %.1f %% of the picture's %.1f MB", stufen, zusatz / 1048576.0,
          100.0 * double(zusatz) / double(bild.sizeInBytes()), bild.sizeInBytes() / 1048576.0);
}
