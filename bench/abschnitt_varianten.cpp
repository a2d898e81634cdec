// The coding variants on 900 x 600 crops of the nature photos: each variant at its best
// quality under the limit, scored with butteraugli against the crop; the variant the
// program chooses, and how it compares with the plain coding, ImageMagick and jpegoptim.

#include "Bench.h"

#include "codec/JpegDienst.h"
#include "output/BesteQualitaet.h"
#include "output/Kodierwahl.h"
#include "output/Quellbild.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>

using namespace bench;

namespace {

const QString natur = QStringLiteral("/usr/share/backgrounds/mate/nature");
constexpr int klicks = 5;

double butteraugli(const QString& programm, const QString& referenz, const QString& datei)
{
    const Lauf l = starten(programm, {referenz, datei});
    if (l.ms < 0)
        return -1;
    const QRegularExpressionMatch m = QRegularExpression(QStringLiteral("([0-9]+\\.[0-9]+)")).match(l.ausgabe);
    return m.hasMatch() ? m.captured(1).toDouble() : -1;
}

bool schreiben(const QString& pfad, const QByteArray& daten)
{
    QFile d(pfad);
    return d.open(QIODevice::WriteOnly) && d.write(daten) == daten.size();
}

struct Ergebnis {
    int qualitaet = 0;
    qint64 bytes = 0;
    double abstand = -1;
};

} // namespace

ABSCHNITT(varianten, 45, "coding variants: butteraugli of each variant at its best quality under 100 KB on 900x600 "
                         "crops of the 12 nature photos, the program's choice, ImageMagick and jpegoptim")
{
    ueberschrift(QStringLiteral("coding variants under 100 KB (centred 3:2 crops of the nature photos, 900 x 600)"));
    const QStringList fotos = QDir(natur).entryList({QStringLiteral("*.jpg")}, QDir::Files, QDir::Name);
    if (fotos.isEmpty()) {
        uebersprungen(QStringLiteral("no photos in %1 (Debian package mate-backgrounds)").arg(natur));
        return;
    }
    const QString ba = programmFinden(QStringLiteral("butteraugli"));
    if (ba.isEmpty()) {
        uebersprungen(QStringLiteral("butteraugli not found (Debian package butteraugli)"));
        return;
    }
    const QString convert = programmFinden(umgebung.convert);
    const QString jpegoptim = programmFinden(QStringLiteral("jpegoptim"));
    const QDir ordner(umgebung.ordner);
    ordner.mkpath(QStringLiteral("varianten"));
    const QDir aus(ordner.filePath(QStringLiteral("varianten")));

    JpegDienst dienst;
    dienst.GdipStarten(1);
    // The plain coding is the first candidate; each candidate progressive after it.
    std::vector<Kodierung> varianten(kodierwahl::kandidaten.begin(), kodierwahl::kandidaten.end());
    for (Kodierung k : kodierwahl::kandidaten) {
        k.progressiv = true;
        varianten.push_back(k);
    }
    const size_t kandidaten = kodierwahl::kandidaten.size();

    zeile("per crop: beste::suchen(dienst, crop) with each coding (setzeKodierung), the file written, then");
    zeile("  %s CROP.png FILE", qPrintable(ba));
    zeile("program: kodierwahl::waehlen(dienst, crop) (on frame release), then beste::suchenMitProgressiv");
    zeile("  (the click on \"beste < 100 KB\"); ratio: its butteraugli / the plain coding's (%s)",
          qPrintable(einfacheKodierung.name()));
    zeile("  match: the chosen coding is the best of the %zu baseline candidates by butteraugli", kandidaten);
    zeile("  choice and click timed on a fresh copy of the crop, median of %d", klicks);
    if (!convert.isEmpty())
        zeile("command: %s CROP.png -define jpeg:extent=100KB OUT.jpg", qPrintable(convert));
    if (!jpegoptim.isEmpty())
        zeile("command: %s --size=100 -o -d DIR CROP_q100.jpg", qPrintable(jpegoptim));
    zeile("%s", "");

    std::vector<double> verhaeltnisse, klickZeiten, wahlZeiten;
    std::vector<double> imVerhaeltnisse, joVerhaeltnisse;
    int ueber = 0, getroffen = 0;
    double schlechtestes = 0;
    for (const QString& name : fotos) {
        const QImage foto = umgebung.laden(QDir(natur).filePath(name));
        if (foto.isNull())
            continue;
        const Quellbild quelle(foto);
        const double b = std::min<double>(foto.width(), foto.height() * 1.5), h = b / 1.5;
        const QImage crop =
            quelle.ausschnitt(QRectF((foto.width() - b) / 2, (foto.height() - h) / 2, b, h), QSize(900, 600));
        const QString stamm = QFileInfo(name).completeBaseName();
        const QString png = aus.filePath(stamm + QStringLiteral(".png"));
        crop.save(png);

        std::vector<Ergebnis> ergebnisse;
        QString zeileText = QStringLiteral("%1").arg(name, -17);
        for (size_t i = 0; i < varianten.size(); ++i) {
            dienst.setzeKodierung(varianten[i]);
            Ergebnis e;
            e.qualitaet = beste::suchen(dienst, crop).qualitaet;
            QByteArray daten;
            dienst.kodieren(crop, e.qualitaet, daten);
            e.bytes = daten.size();
            ueber += e.bytes >= 102349;
            const QString datei = aus.filePath(QStringLiteral("%1_%2.jpg").arg(stamm).arg(i));
            if (schreiben(datei, daten))
                e.abstand = butteraugli(ba, png, datei);
            ergebnisse.push_back(e);
        }
        const kodierwahl::Wahl wahl = kodierwahl::waehlen(dienst, crop);
        const size_t gewaehlt =
            size_t(std::find(varianten.begin(), varianten.end(), wahl.kodierung) - varianten.begin());
        size_t bester = 0;
        for (size_t i = 1; i < kandidaten; ++i)
            if (ergebnisse[i].abstand < ergebnisse[bester].abstand)
                bester = i;
        getroffen += gewaehlt == bester;
        // What the click leaves: the chosen coding, perhaps progressive, at its quality.
        dienst.setzeKodierung(wahl.kodierung);
        const beste::Ergebnis klick = beste::suchenMitProgressiv(dienst, crop);
        const Kodierung ergebnisKodierung = dienst.kodierung();
        const size_t programm =
            size_t(std::find(varianten.begin(), varianten.end(), ergebnisKodierung) - varianten.begin());
        QByteArray klickDaten;
        dienst.kodieren(crop, klick.qualitaet, klickDaten);
        ueber += klickDaten.size() >= 102349;
        double abstand = -1;
        const QString klickDatei = aus.filePath(stamm + QStringLiteral("_programm.jpg"));
        if (schreiben(klickDatei, klickDaten))
            abstand = butteraugli(ba, png, klickDatei);
        const double verhaeltnis = abstand / ergebnisse[0].abstand;
        verhaeltnisse.push_back(verhaeltnis);
        schlechtestes = std::max(schlechtestes, verhaeltnis);

        // The release's choice, and the click: the choice for a new crop and the search.
        std::vector<double> zeiten, wahlen;
        for (int k = 0; k <= klicks; ++k) {
            const QImage frisch = crop.copy();
            const auto anfang = Uhr::now();
            dienst.setzeKodierung(kodierwahl::waehlen(dienst, frisch).kodierung);
            const double w = msSeit(anfang);
            const auto klickAnfang = Uhr::now();
            beste::suchenMitProgressiv(dienst, frisch);
            if (k > 0) {
                zeiten.push_back(msSeit(klickAnfang));
                wahlen.push_back(w);
            }
        }
        klickZeiten.push_back(median(zeiten));
        wahlZeiten.push_back(median(wahlen));

        Ergebnis im, jo;
        if (!convert.isEmpty()) {
            const QString datei = aus.filePath(stamm + QStringLiteral("_im.jpg"));
            if (starten(convert, {png, QStringLiteral("-define"), QStringLiteral("jpeg:extent=100KB"), datei}).ms >= 0) {
                im.bytes = QFileInfo(datei).size();
                im.abstand = butteraugli(ba, png, datei);
                imVerhaeltnisse.push_back(im.abstand / ergebnisse[0].abstand);
            }
        }
        if (!jpegoptim.isEmpty()) {
            const QString q100 = aus.filePath(stamm + QStringLiteral("_q100.jpg"));
            dienst.setzeKodierung(einfacheKodierung);
            QByteArray daten;
            dienst.kodieren(crop, 100, daten);
            const QString joOrdner = aus.filePath(QStringLiteral("jpegoptim"));
            QDir().mkpath(joOrdner);
            const QString datei = QDir(joOrdner).filePath(QFileInfo(q100).fileName());
            QFile::remove(datei);
            if (schreiben(q100, daten)
                && starten(jpegoptim, {QStringLiteral("--size=100"), QStringLiteral("-o"), QStringLiteral("-d"), joOrdner, q100}).ms >= 0) {
                jo.bytes = QFileInfo(datei).size();
                jo.abstand = butteraugli(ba, png, datei);
                joVerhaeltnisse.push_back(jo.abstand / ergebnisse[0].abstand);
            }
        }

        zeile("%s", qPrintable(name));
        for (size_t i = 0; i < varianten.size(); ++i) {
            const Ergebnis& e = ergebnisse[i];
            QString probe;
            if (i < kandidaten) {
                const kodierwahl::Bewertung& w = wahl.bewertungen[i];
                probe = QStringLiteral("sample: luma %1 chroma %2 bytes %3 value %4")
                            .arg(w.fehler.luma, 0, 'f', 2).arg(w.fehler.chroma, 0, 'f', 2).arg(w.bytes, 0, 'f', 0).arg(w.wert, 0, 'f', 3);
            }
            zeile("  %-28s q %3d %7lld bytes  butteraugli %6.3f %s%s", qPrintable(varianten[i].name()), e.qualitaet,
                  (long long)e.bytes, e.abstand, i == gewaehlt ? "chosen " : "", qPrintable(probe));
        }
        zeile("  convert extent: %lld bytes, butteraugli %.3f; jpegoptim: %lld bytes, butteraugli %.3f",
              (long long)im.bytes, im.abstand, (long long)jo.bytes, jo.abstand);
        zeile("  chosen: %s, best: %s, %s; after the click: %s q %d, %lld bytes, butteraugli %.3f, ratio %.2f;",
              qPrintable(varianten[gewaehlt].name()), qPrintable(varianten[bester].name()),
              gewaehlt == bester ? "match" : "no match", qPrintable(varianten[programm].name()), klick.qualitaet,
              (long long)klickDaten.size(), abstand, verhaeltnis);
        zeile("  choice %.1f ms, click %.1f ms", wahlZeiten.back(), klickZeiten.back());
    }
    zeile("%s", "");
    zeile("choice matched butteraugli's best candidate on %d of %zu crops; median choice %.1f ms", getroffen,
          verhaeltnisse.size(), median(wahlZeiten));
    if (!imVerhaeltnisse.empty())
        zeile("convert -define jpeg:extent=100KB: median butteraugli ratio %.2f", median(imVerhaeltnisse));
    if (!joVerhaeltnisse.empty())
        zeile("jpegoptim --size=100: median butteraugli ratio %.2f", median(joVerhaeltnisse));
    zeile("median butteraugli ratio: %.2f, worst crop ratio: %.2f, files over the limit: %d, median click: %.1f ms",
          median(verhaeltnisse), schlechtestes, ueber, median(klickZeiten));
}
