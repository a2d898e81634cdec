// djpeg decoding the 18 MP photo: the yardstick for the time to show a loaded picture.

#include "Bench.h"

using namespace bench;

ABSCHNITT(djpeg, 20, "djpeg -outfile /dev/null cam18.jpg, median of 5")
{
    ueberschrift(QStringLiteral("djpeg (cam18.jpg)"));
    const QString cam18 = umgebung.cam18();
    if (cam18.isEmpty())
        return;
    const QString djpeg = programmFinden(QStringLiteral("djpeg"));
    if (djpeg.isEmpty()) {
        uebersprungen(QStringLiteral("djpeg not found (Debian package libjpeg-turbo-progs)"));
        return;
    }
    const QStringList args{QStringLiteral("-outfile"), QStringLiteral("/dev/null"), cam18};
    std::vector<double> zeiten;
    for (int i = 0; i < 5; ++i) {
        const Lauf lauf = starten(djpeg, args);
        if (lauf.ms < 0) {
            uebersprungen(QStringLiteral("djpeg failed: %1").arg(lauf.ausgabe.trimmed()));
            return;
        }
        zeiten.push_back(lauf.ms);
    }
    zeile("command: %s", qPrintable(befehlszeile(djpeg, args)));
    zeile("djpeg: median %.1f ms (5 runs); 1.3 x djpeg = %.1f ms", median(zeiten), 1.3 * median(zeiten));
}
