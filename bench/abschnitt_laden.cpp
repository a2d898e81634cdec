// The whole program loading the 18 MP photo: from the open dialog's OK to the
// picture shown, next to djpeg decoding the same file; and the program's peak
// memory with that photo loaded and a frame placed, measured in a fresh process.

#include "Bench.h"

#include "app/Form1.h"
#include "platform/Dienste.h"
#include "platform/Flaechen.h"
#include "platform/Steuerelemente.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QTest>

#include <sys/resource.h>

using namespace bench;

namespace {

// The program's main window, its open dialog answered with one photo. The
// program's own settings stay untouched.
struct Programm {
    Oeffner oeffner;
    std::unique_ptr<Form1> fenster;
    explicit Programm(const QString& datei)
    {
        QStandardPaths::setTestModeEnabled(true);
        oeffner.datei = datei;
        diensteSetzen(&oeffner);
        fenster = std::make_unique<Form1>();
        fenster->show();
    }
    ~Programm()
    {
        fenster.reset();
        diensteSetzen(nullptr);
    }
};

double kilobyte(const char* feld)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& zeile : status.readAll().split('\n'))
        if (zeile.startsWith(feld))
            return zeile.mid(int(qstrlen(feld))).trimmed().split(' ').first().toDouble();
    return -1;
}

long seitenfehler()
{
    rusage r{};
    getrusage(RUSAGE_SELF, &r);
    return r.ru_minflt + r.ru_majflt;
}

// One load through the open dialog: from its OK to the first view painted, to the full
// picture in place, and the longest time the event loop went without a turn meanwhile
// (a timer asks for a turn every millisecond).
struct Ladezeiten {
    double ersteAnsicht = -1, ganz = -1, stau = -1;
};

Ladezeiten einmalLaden(Form1& f, Oeffner& oeffner)
{
    auto* ansicht = f.findChild<BildFlaeche*>(QStringLiteral("picZiel"));
    const int vorher = f.stand().zaehler().bilder;
    Ladezeiten z;
    double stau = 0;
    auto letzte = Uhr::now();
    QTimer takt;
    takt.setInterval(1);
    QObject::connect(&takt, &QTimer::timeout, [&] {
        const auto jetzt = Uhr::now();
        stau = std::max(stau, std::chrono::duration<double, std::milli>(jetzt - letzte).count());
        letzte = jetzt;
    });
    takt.start();
    QCoreApplication::processEvents();
    letzte = Uhr::now();
    QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("cmdÖffnen")), Qt::LeftButton);
    if (QTest::qWaitFor([&] { return f.stand().zaehler().bilder > vorher; }, 60000)) {
        ansicht->repaint();
        z.ersteAnsicht = msSeit(oeffner.ok);
    }
    if (QTest::qWaitFor([&] { return !f.stand().quelle().vorlaeufig(); }, 60000)) {
        ansicht->repaint();
        z.ganz = msSeit(oeffner.ok);
    }
    takt.stop();
    const auto jetzt = Uhr::now();
    z.stau = std::max(stau, std::chrono::duration<double, std::milli>(jetzt - letzte).count());
    return z;
}

} // namespace

ABSCHNITT(laden, 25, "load cam18.jpg, a 45 MP and a 150 MP photo in the program: dialog OK to the first view and to "
                     "the full picture, the longest stall of the event loop, next to djpeg")
{
    ueberschrift(QStringLiteral("loading in the program (cam18.jpg, 45 MP, 150 MP with EXIF orientation 6)"));
    const QString djpeg = programmFinden(QStringLiteral("djpeg"));
    if (djpeg.isEmpty())
        uebersprungen(QStringLiteral("djpeg not found (Debian package libjpeg-turbo-progs)"));
    struct Foto {
        const char* name;
        QString datei;
        int laeufe;
    };
    const std::vector<Foto> fotos{{"cam18", umgebung.cam18(), 7}, {"45 MP", umgebung.gross45(), 3},
                                  {"150 MP", umgebung.gross150(), 2}};
    zeile("call: Form1 \"Datei öffnen...\" answered with the photo; first view: until the picture is taken over "
          "and the view has painted; full picture: until the full decode has replaced the first view");
    zeile("stall: the longest gap between turns of a 1 ms timer, from the click to the full picture");
    QStringList schluss;
    for (const Foto& foto : fotos) {
        if (foto.datei.isEmpty())
            continue;
        Programm programm(foto.datei);
        Form1& f = *programm.fenster;
        einmalLaden(f, programm.oeffner); // warm-up: file in the page cache, as for djpeg
        std::vector<double> erste, ganz, stau;
        const long fehlerVorher = seitenfehler();
        for (int i = 0; i < foto.laeufe; ++i) {
            const Ladezeiten z = einmalLaden(f, programm.oeffner);
            erste.push_back(z.ersteAnsicht);
            ganz.push_back(z.ganz);
            stau.push_back(z.stau);
        }
        const double fehlerJeLaden = double(seitenfehler() - fehlerVorher) / foto.laeufe;
        const double hoechsterStau = *std::max_element(stau.begin(), stau.end());
        zeile("%s (%s): first view median %.1f ms, full picture %.1f ms, longest stall %.1f ms (%d runs after one "
              "warm-up); %.0f page faults per load",
              foto.name, qPrintable(foto.datei), median(erste), median(ganz), hoechsterStau, foto.laeufe, fehlerJeLaden);
        if (djpeg.isEmpty())
            continue;
        const QStringList args{QStringLiteral("-outfile"), QStringLiteral("/dev/null"), foto.datei};
        std::vector<double> djpegZeiten;
        for (int i = 0; i < foto.laeufe; ++i)
            djpegZeiten.push_back(starten(djpeg, args).ms);
        const double d = median(djpegZeiten);
        zeile("  command: %s: median %.1f ms", qPrintable(befehlszeile(djpeg, args)), d);
        schluss << QString::asprintf("first view %s: %.2f x djpeg, full picture: %.2f x djpeg, longest stall: %.0f ms",
                                     foto.name, median(erste) / d, median(ganz) / d, hoechsterStau);
    }
    zeile("targets: cam18 first view <= 0.35 x, full <= 1.0 x; 45 MP first view <= 0.3 x; 150 MP stall < 50 ms");
    for (const QString& z : schluss)
        zeile("%s", qPrintable(z));
}

// Peak memory of a fresh process that loads datei and places a frame.
void speicherMessen(Umgebung& umgebung, const QString& datei, const char* ziel)
{
    const QStringList args{QStringLiteral("--ordner"), umgebung.ordner, QStringLiteral("--elefanten"), umgebung.elefanten,
                           QStringLiteral("speicher_kind")};
    QProcess kind;
    QProcessEnvironment umwelt = QProcessEnvironment::systemEnvironment();
    umwelt.insert(QStringLiteral("FOTOSCHLIFF_BENCH_KIND"), datei);
    kind.setProcessEnvironment(umwelt);
    kind.setProcessChannelMode(QProcess::MergedChannels);
    kind.start(QCoreApplication::applicationFilePath(), args);
    kind.waitForFinished(300000);
    const QString ausgabe = QString::fromLocal8Bit(kind.readAll());
    zeile("command: FOTOSCHLIFF_BENCH_KIND=%s %s", qPrintable(datei),
          qPrintable(befehlszeile(QCoreApplication::applicationFilePath(), args)));
    for (const QString& z : ausgabe.split(u'\n'))
        if (z.startsWith(QStringLiteral("peak")) || z.startsWith(QStringLiteral("now")) || z.startsWith(QStringLiteral("raw"))
            || z.startsWith(QStringLiteral("message")))
            zeile("%s%s", qPrintable(z), z.startsWith(QStringLiteral("peak")) ? ziel : "");
}

ABSCHNITT(speicher, 26, "peak memory with cam18.jpg, and with a 150 MP picture turned by its EXIF tag, loaded and a frame placed, each in a fresh process")
{
    ueberschrift(QStringLiteral("peak memory (cam18.jpg loaded, frame placed)"));
    const QString cam18 = umgebung.cam18();
    if (!cam18.isEmpty())
        speicherMessen(umgebung, cam18, " (target < 3 x raw)");

    ueberschrift(QStringLiteral("peak memory (15000 x 10000, EXIF orientation 6, loaded, frame placed)"));
    const QString gross = umgebung.gross150();
    if (!gross.isEmpty())
        speicherMessen(umgebung, gross, " (target < 850 MB)");
}

ABSCHNITT(freigabe, 15, "a frame release in the program's window on cam18.jpg (whole chain incl. judging and repaint), median of 20")
{
    ueberschrift(QStringLiteral("frame release in the window (cam18.jpg, 4500 source pixels wide -> 900 x 600, quality 92)"));
    const QString cam18 = umgebung.cam18();
    if (cam18.isEmpty())
        return;
    Programm programm(cam18);
    Form1& f = *programm.fenster;
    einmalLaden(f, programm.oeffner);
    f.findChild<Liste*>(QStringLiteral("List1"))->setzeListIndex(5); // 900 x 600
    auto* ansicht = f.findChild<BildFlaeche*>(QStringLiteral("picZiel"));
    (void)QTest::qWaitFor([ansicht] { return ansicht->isEnabled(); });
    // 4500 source pixels of the 5640 wide photo, as seen on the view.
    const int breite = int(4500.0f * ansicht->ScaleWidth() / 5640.0f);
    std::vector<double> zeiten;
    for (int i = 0; i < 21; ++i) {
        const QPoint von(40 + i % 3, 10), bis(40 + i % 3 + breite - 1, 200);
        QTest::mousePress(ansicht, Qt::LeftButton, {}, von);
        QTest::mouseMove(ansicht, bis);
        const Uhr::time_point anfang = Uhr::now();
        QTest::mouseRelease(ansicht, Qt::LeftButton, {}, bis);
        ansicht->repaint();
        if (i > 0)
            zeiten.push_back(msSeit(anfang));
    }
    zeile("call: press, move, release on picZiel (frame %s source pixels; release to repainted view)",
          qPrintable(f.findChild<QWidget*>(QStringLiteral("lblA"))->property("text").toString()));
    zeile("release: median %.2f ms (20 runs after one warm-up; target < 30 ms)", median(zeiten));
}

// Runs only as the child of "speicher": one load and one frame in a fresh process.
ABSCHNITT(speicher_kind, 27, "(child of speicher)")
{
    Q_UNUSED(umgebung);
    const QString datei = qEnvironmentVariable("FOTOSCHLIFF_BENCH_KIND");
    if (datei.isEmpty())
        return;
    Programm programm(datei);
    Form1& f = *programm.fenster;
    einmalLaden(f, programm.oeffner);
    auto* ansicht = f.findChild<BildFlaeche*>(QStringLiteral("picZiel"));
    (void)QTest::qWaitFor([ansicht] { return ansicht->isEnabled(); }); // the view takes the mouse 100 ms after a load
    QTest::mousePress(ansicht, Qt::LeftButton, {}, QPoint(80, 10));
    QTest::mouseMove(ansicht, QPoint(400, 200));
    QTest::mouseMove(ansicht, QPoint(744, 300));
    QTest::mouseRelease(ansicht, Qt::LeftButton, {}, QPoint(744, 300));
    QCoreApplication::processEvents();
    const QImage& bild = f.findChild<BildFlaeche*>(QStringLiteral("picQuelle"))->bild();
    const double roh = double(bild.sizeInBytes()) / (1024.0 * 1024.0);
    std::printf("raw RGBA of the picture: %.1f MB; selection %s; 3 x raw = %.1f MB\n", roh,
                qPrintable(f.findChild<QWidget*>(QStringLiteral("lblA"))->property("text").toString()), 3 * roh);
    std::printf("peak (VmHWM): %.1f MB\n", kilobyte("VmHWM:") / 1024.0);
    std::printf("now (VmRSS): %.1f MB\n", kilobyte("VmRSS:") / 1024.0);
    std::fflush(stdout);
}
