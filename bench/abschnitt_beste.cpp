// "beste < 100 KB": one click in the program's window on a 900 x 600 crop of each nature
// photo, next to ImageMagick's and jpegoptim's own searches for a file of at most 100 KB
// on the same crops: the quality each reached, its bytes, its time.

#include "Bench.h"

#include "app/Form1.h"
#include "output/BesteQualitaet.h"
#include "codec/JpegDienst.h"
#include "platform/Dienste.h"
#include "platform/Flaechen.h"
#include "platform/Steuerelemente.h"

#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardPaths>
#include <QTest>

#include <cmath>

using namespace bench;

namespace {

const QString natur = QStringLiteral("/usr/share/backgrounds/mate/nature");
constexpr int klicks = 7;  // per crop, after one warm-up
constexpr int laeufe = 3;  // of each tool per crop

struct Werkzeugergebnis {
    int qualitaet = -1;
    qint64 bytes = -1;
    double ms = -1;
};

// ImageMagick's estimate of the quality a JPEG was written with.
int qualitaetSchaetzen(const QString& identify, const QString& datei)
{
    const Lauf l = starten(identify, {QStringLiteral("-format"), QStringLiteral("%Q"), datei});
    return l.ms < 0 ? -1 : l.ausgabe.trimmed().toInt();
}

Werkzeugergebnis werkzeug(const QString& programm, const QStringList& args, const QString& ausgabe, const QString& identify)
{
    Werkzeugergebnis e;
    std::vector<double> zeiten;
    for (int i = 0; i < laeufe; ++i) {
        QFile::remove(ausgabe);
        const Lauf l = starten(programm, args);
        if (l.ms < 0) {
            zeile("failed: %s: %s", qPrintable(befehlszeile(programm, args)), qPrintable(l.ausgabe.trimmed()));
            return e;
        }
        zeiten.push_back(l.ms);
    }
    e.ms = median(zeiten);
    e.bytes = QFileInfo(ausgabe).size();
    e.qualitaet = qualitaetSchaetzen(identify, ausgabe);
    return e;
}

} // namespace

ABSCHNITT(beste, 40, "\"beste < 100 KB\": one click on 900x600 crops of the 12 nature photos, next to "
                     "convert -define jpeg:extent=100KB and jpegoptim --size=100")
{
    ueberschrift(QStringLiteral("best quality below 100 KB (900 x 600 crops of the nature photos)"));
    const QStringList fotos = QDir(natur).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    if (fotos.isEmpty()) {
        uebersprungen(QStringLiteral("no photos in %1 (Debian package mate-backgrounds)").arg(natur));
        return;
    }
    const QString convert = programmFinden(umgebung.convert);
    const QString identify = programmFinden(QStringLiteral("identify"));
    const QString jpegoptim = programmFinden(QStringLiteral("jpegoptim"));
    if (convert.isEmpty() || identify.isEmpty())
        uebersprungen(QStringLiteral("ImageMagick's convert or identify not found (Debian package imagemagick)"));
    if (jpegoptim.isEmpty())
        uebersprungen(QStringLiteral("jpegoptim not found (Debian package jpegoptim)"));
    const QDir ordner(umgebung.ordner);
    ordner.mkpath(QStringLiteral("beste"));
    const QString jpegoptimOrdner = ordner.filePath(QStringLiteral("beste"));

    QStandardPaths::setTestModeEnabled(true);
    Oeffner oeffner;
    diensteSetzen(&oeffner);
    {
        Form1 f;
        f.show();
        auto* ansicht = f.findChild<BildFlaeche*>(QStringLiteral("picZiel"));
        auto* knopf = f.findChild<QPushButton*>(QStringLiteral("cmdBesteQualitaet"));
        auto* kompression = f.findChild<QLineEdit*>(QStringLiteral("TextKomp"));
        f.findChild<Liste*>(QStringLiteral("List1"))->setzeListIndex(5); // 900 x 600
        JpegDienst dienst;
        dienst.GdipStarten(1);

        zeile("program: load through \"Datei öffnen...\", the largest centred 3:2 frame drawn with the mouse, "
              "target 900 x 600;");
        zeile("         then per click: TextKomp set to 92 and the frame drawn again (not timed), click on "
              "cmdBesteQualitaet until the events are through; median of %d clicks after one warm-up", klicks);
        if (!convert.isEmpty())
            zeile("command: %s", qPrintable(befehlszeile(convert, {QStringLiteral("CROP.png"), QStringLiteral("-define"),
                                                                   QStringLiteral("jpeg:extent=100KB"), QStringLiteral("OUT.jpg")})));
        if (!jpegoptim.isEmpty())
            zeile("command: %s   (CROP_q100.jpg: the crop at quality 100 by the program's encoder)",
                  qPrintable(befehlszeile(jpegoptim, {QStringLiteral("--size=100"), QStringLiteral("-o"), QStringLiteral("-d"),
                                                      QStringLiteral("DIR"), QStringLiteral("CROP_q100.jpg")})));
        zeile("quality of the tools' files: identify -format %%Q; times: median of %d runs", laeufe);
        zeile("%s", "");
        zeile("%-17s | %-28s | %-26s | %-26s", "crop", "program: q   bytes    ms enc", "convert extent: q bytes ms",
              "jpegoptim --size: q bytes ms");

        struct Summe {
            int ueber = 0, anzahl = 0, hoeher = 0, gleich = 0;
            std::vector<double> ms;
        } wir, im, jo;
        int schlechterAlsIm = 0;
        for (const QString& name : fotos) {
            oeffner.datei = QDir(natur).filePath(name);
            QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("cmdÖffnen")), Qt::LeftButton);
            (void)QTest::qWaitFor([ansicht] { return ansicht->isEnabled(); });
            const float sw = ansicht->ScaleWidth(), sh = ansicht->ScaleHeight();
            const int breite = int(std::floor(std::min(sw, sh * 1.5f))) - 1;
            const int x0 = int((sw - float(breite)) / 2), y0 = int((sh - float(breite) * 2 / 3) / 2);
            const auto rahmenZiehen = [&] {
                QTest::mousePress(ansicht, Qt::LeftButton, {}, QPoint(x0, y0));
                QTest::mouseMove(ansicht, QPoint(x0 + breite - 1, y0));
                QTest::mouseRelease(ansicht, Qt::LeftButton, {}, QPoint(x0 + breite - 1, y0));
            };
            rahmenZiehen();
            const QImage ausschnitt = f.findChild<BildFlaeche*>(QStringLiteral("picTemp"))->bild();
            if (ausschnitt.size() != QSize(900, 600) || !knopf->isEnabled()) {
                uebersprungen(QStringLiteral("%1: no 900 x 600 target").arg(name));
                continue;
            }

            std::vector<double> zeiten;
            for (int i = 0; i <= klicks; ++i) {
                // A fresh target each time (the frame drawn again), as after a user's release:
                // nothing of an earlier click's encodes is left to reuse.
                kompression->setText(QStringLiteral("92"));
                rahmenZiehen();
                QCoreApplication::processEvents();
                const auto anfang = Uhr::now();
                QTest::mouseClick(knopf, Qt::LeftButton);
                QCoreApplication::processEvents();
                if (i > 0)
                    zeiten.push_back(msSeit(anfang));
            }
            const int q = kompression->text().toInt();
            const qint64 bytes = f.stand().letzteMessung().daten.size();
            const int kodierungen = beste::suchen(dienst, ausschnitt).kodierungen;
            wir.ms.push_back(median(zeiten));
            wir.ueber += bytes >= 102400;
            ++wir.anzahl;

            const QString stamm = QFileInfo(name).completeBaseName();
            const QString png = ordner.filePath(stamm + QStringLiteral("_crop.png"));
            const QString q100 = ordner.filePath(stamm + QStringLiteral("_q100.jpg"));
            ausschnitt.save(png);
            QByteArray daten;
            dienst.kodieren(ausschnitt, 100, daten);
            QFile d(q100);
            if (d.open(QIODevice::WriteOnly))
                d.write(daten);
            d.close();

            Werkzeugergebnis ri, rj;
            if (!convert.isEmpty() && !identify.isEmpty()) {
                const QString aus = ordner.filePath(stamm + QStringLiteral("_im.jpg"));
                ri = werkzeug(convert, {png, QStringLiteral("-define"), QStringLiteral("jpeg:extent=100KB"), aus}, aus, identify);
            }
            if (!jpegoptim.isEmpty() && !identify.isEmpty())
                rj = werkzeug(jpegoptim, {QStringLiteral("--size=100"), QStringLiteral("-o"), QStringLiteral("-d"), jpegoptimOrdner, q100},
                              QDir(jpegoptimOrdner).filePath(QFileInfo(q100).fileName()), identify);
            for (auto [r, s] : {std::pair{&ri, &im}, std::pair{&rj, &jo}}) {
                if (r->bytes < 0)
                    continue;
                ++s->anzahl;
                s->ueber += r->bytes >= 102400;
                s->ms.push_back(r->ms);
                s->hoeher += q > r->qualitaet;
                s->gleich += q == r->qualitaet;
            }
            schlechterAlsIm += ri.qualitaet >= 0 && q < ri.qualitaet;
            zeile("%-17s | %3d %7lld %6.1f %2d | %3d %7lld %6.1f      | %3d %7lld %6.1f", qPrintable(name), q, (long long)bytes,
                  median(zeiten), kodierungen, ri.qualitaet, (long long)ri.bytes, ri.ms, rj.qualitaet, (long long)rj.bytes, rj.ms);
        }
        zeile("%s", "");
        zeile("program:   %d crops, median %.1f ms per click (max %.1f), files >= 102400 bytes: %d", wir.anzahl,
              median(wir.ms), wir.ms.empty() ? 0.0 : *std::max_element(wir.ms.begin(), wir.ms.end()), wir.ueber);
        for (auto [name, s] : {std::pair{"convert", &im}, std::pair{"jpegoptim", &jo}})
            if (s->anzahl)
                zeile("%-10s %d crops, median %.1f ms, files >= 102400 bytes: %d; program's quality higher on %d, equal on %d",
                      name, s->anzahl, median(s->ms), s->ueber, s->hoeher, s->gleich);
        zeile("program's quality below ImageMagick's: %d crops (target 0; click target < 100 ms)", schlechterAlsIm);
    }
    diensteSetzen(nullptr);
}
