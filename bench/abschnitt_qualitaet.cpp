// How close the reduction comes to a careful Lanczos reference (butteraugli distance).

#include "Bench.h"

#include "output/Quellbild.h"

#include <QDir>
#include <QFileInfo>

using namespace bench;

namespace {

// Runs the scoring tool on a source and our reduction of it; prints its verdict.
void bewerten(const QString& werkzeug, const QString& quelle, const QString& unser, const char* was)
{
    const QStringList args{quelle, unser};
    const Lauf lauf = starten(werkzeug, args);
    zeile("command: %s", qPrintable(befehlszeile(werkzeug, args)));
    if (lauf.ms < 0) {
        uebersprungen(QStringLiteral("%1 failed: %2").arg(werkzeug, lauf.ausgabe.trimmed()));
        return;
    }
    const QStringList zeilen = lauf.ausgabe.trimmed().split(u'\n');
    zeile("%s: butteraugli distance %s (lower is better)", was, qPrintable(zeilen.constLast().trimmed()));
}

} // namespace

ABSCHNITT(qualitaet, 40, "resample-quality of LadyBird.jpg -> 900x562 (and of the cam18 crop -> 900x600)")
{
    ueberschrift(QStringLiteral("resample quality"));
    const QString werkzeug = programmFinden(umgebung.qualitaetWerkzeug);
    if (werkzeug.isEmpty()) {
        uebersprungen(QStringLiteral("%1 not found (give it with --werkzeug PROG)").arg(umgebung.qualitaetWerkzeug));
        return;
    }
    const QImage marienkaefer = umgebung.laden(umgebung.marienkaefer);
    if (!marienkaefer.isNull()) {
        const Quellbild q(marienkaefer);
        const QImage klein = q.ausschnitt(QRectF(0, 0, q.breite(), q.hoehe()), QSize(900, 562));
        const QString png = QDir(umgebung.ordner).filePath(QStringLiteral("ladybird-900x562.png"));
        if (!klein.save(png)) {
            uebersprungen(QStringLiteral("cannot write %1").arg(png));
        } else {
            zeile("call: Quellbild(LadyBird.jpg decoded).ausschnitt(QRectF(0, 0, 2560, 1600), QSize(900, 562)) -> %s",
                  qPrintable(png));
            bewerten(werkzeug, umgebung.marienkaefer, png, "LadyBird 2560x1600 -> 900x562");
        }
    }

    // The 18 MP crop goes through the 1/2 copy; the reference is made from the crop itself.
    const QString cam18 = umgebung.cam18();
    if (cam18.isEmpty())
        return;
    const QImage elefanten = umgebung.laden(cam18);
    if (elefanten.isNull())
        return;
    const QRectF rechteck(570, 86, 4500, 3000);
    const QString quellPng = QDir(umgebung.ordner).filePath(QStringLiteral("cam18-crop-4500x3000.png"));
    if (!QFileInfo(quellPng).isFile() && !elefanten.copy(rechteck.toRect()).save(quellPng, "PNG", 100)) {
        uebersprungen(QStringLiteral("cannot write %1").arg(quellPng));
        return;
    }
    const Quellbild q(elefanten);
    const QString png = QDir(umgebung.ordner).filePath(QStringLiteral("cam18-crop-900x600.png"));
    if (!q.ausschnitt(rechteck, QSize(900, 600)).save(png)) {
        uebersprungen(QStringLiteral("cannot write %1").arg(png));
        return;
    }
    zeile("call: Quellbild(cam18.jpg decoded).ausschnitt(QRectF(570, 86, 4500, 3000), QSize(900, 600)) -> %s; "
          "source for the reference: that crop, lossless",
          qPrintable(png));
    bewerten(werkzeug, quellPng, png, "cam18 crop 4500x3000 -> 900x600");
}
