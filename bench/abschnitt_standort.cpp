// The location check and the copy without metadata, as publishing an original runs them:
// on the 18 MP photo, and on the same photo carrying 24 MB of text blocks full of
// numbers, degree signs and hemisphere letters that form no position (the most work
// the search for coordinates in text can get).

#include "Bench.h"

#include "codec/Metadaten.h"

#include <QFile>

using namespace bench;

namespace {

constexpr int laeufe = 5;

QByteArray segment(int marke, const QByteArray& inhalt)
{
    const qsizetype n = inhalt.size() + 2;
    return QByteArray("\xFF", 1) + char(marke) + char(n >> 8) + char(n & 0xFF) + inhalt;
}

void messen(const char* was, const QByteArray& datei)
{
    std::vector<double> pruefen, kopieren;
    bool standort = false;
    qsizetype kopie = 0;
    for (int i = 0; i < laeufe; ++i) {
        auto t = Uhr::now();
        standort = metadaten::standortEnthalten(datei);
        pruefen.push_back(msSeit(t));
        t = Uhr::now();
        kopie = metadaten::ohneMetadaten(datei).size();
        kopieren.push_back(msSeit(t));
    }
    zeile("%-44s %6.1f MB   check %7.1f ms (%s)   copy %7.1f ms (%.1f MB)", was, datei.size() / 1048576.0, median(pruefen),
          standort ? "place" : "none", median(kopieren), kopie / 1048576.0);
}

} // namespace

ABSCHNITT(standort, 60, "location check and copy without metadata on cam18.jpg, and with 24 MB of text blocks, median of 5")
{
    ueberschrift(QStringLiteral("location check (metadaten::standortEnthalten) and copy (metadaten::ohneMetadaten), median of %1").arg(laeufe));
    const QString cam18 = umgebung.cam18();
    if (cam18.isEmpty())
        return;
    QFile f(cam18);
    if (!f.open(QIODevice::ReadOnly)) {
        uebersprungen(QStringLiteral("%1 cannot be read").arg(cam18));
        return;
    }
    const QByteArray foto = f.readAll();
    messen("cam18.jpg", foto);
    // Each line starts many coordinates and pairs, none of them complete.
    QByteArray text;
    while (text.size() < 65000)
        text += "12.34 56.78, 1.2.3 -0.5x 48.13 Nord 11.5755m 01.05.2024 10.30 f/5.6 1/250 N 48\xB0 8' E 011\xB0 34.5x 1 2 3 4\n";
    text.truncate(65000);
    QByteArray bloecke;
    for (int i = 0; bloecke.size() < 24 * 1048576; ++i)
        bloecke += segment(i % 2 ? 0xFE : 0xEA, text);
    messen("cam18.jpg with 24 MB of comments and APP10", foto.left(2) + bloecke + foto.mid(2));
}
