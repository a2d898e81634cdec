// The whole program loading the 18 MP photo: from the open dialog's OK to the
// picture shown, next to djpeg decoding the same file; and the program's peak
// memory with that photo loaded and a frame placed, measured in a fresh process.

#include "Bench.h"

#include "app/ArbeitsstandPruefung.h"
#include "app/Form1.h"
#include "app/Ladeablauf.h"
#include "app/Ladeauftrag.h"
#include "platform/Dienste.h"
#include "platform/Flaechen.h"
#include "platform/Steuerelemente.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>
#include <QTest>

#include <limits>
#include <string_view>

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

double kilobyte(const char* feld, const QString& prozess = QStringLiteral("self"))
{
    QFile status(QStringLiteral("/proc/%1/status").arg(prozess));
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

// The longest time the event loop goes without a turn while this lives: a timer asks for
// a turn every millisecond.
class Stau {
public:
    Stau()
    {
        m_takt.setInterval(1);
        QObject::connect(&m_takt, &QTimer::timeout, [this] { messen(); });
        QCoreApplication::processEvents();
        m_letzte = Uhr::now();
        m_takt.start();
    }
    double laengste()
    {
        messen();
        return m_laengste;
    }

private:
    void messen()
    {
        const auto jetzt = Uhr::now();
        m_laengste = std::max(m_laengste, std::chrono::duration<double, std::milli>(jetzt - m_letzte).count());
        m_letzte = jetzt;
    }
    QTimer m_takt;
    Uhr::time_point m_letzte;
    double m_laengste = 0;
};

void oeffnen(Form1& f) { QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("cmdÖffnen")), Qt::LeftButton); }

// One load through the open dialog: from its OK to the first view painted, to the full
// picture in place, and the longest time the event loop went without a turn meanwhile.
struct Ladezeiten {
    double ersteAnsicht = -1, ganz = -1, stau = -1;
};

Ladezeiten einmalLaden(Form1& f, Oeffner& oeffner)
{
    auto* ansicht = f.findChild<BildFlaeche*>(QStringLiteral("picZiel"));
    const int vorher = ArbeitsstandPruefung::zaehler(f.stand()).bilder;
    Ladezeiten z;
    Stau stau;
    oeffnen(f);
    if (QTest::qWaitFor([&] { return ArbeitsstandPruefung::zaehler(f.stand()).bilder > vorher; }, 60000)) {
        ansicht->repaint();
        z.ersteAnsicht = msSeit(oeffner.ok);
    }
    if (QTest::qWaitFor([&] { return !f.stand().quelle().vorlaeufig(); }, 60000)) {
        ansicht->repaint();
        z.ganz = msSeit(oeffner.ok);
    }
    z.stau = stau.laengste();
    return z;
}

// The 150 MP photo opened, up to its first view; its whole decode runs on.
bool ersteAnsichtAbwarten(Programm& programm)
{
    Form1& f = *programm.fenster;
    oeffnen(f);
    return QTest::qWaitFor([&] { return ArbeitsstandPruefung::zaehler(f.stand()).bilder > 0 && f.stand().quelle().vorlaeufig(); }, 60000);
}

// Another photo opened while the 150 MP photo decodes whole behind its first view: nach ms
// after that first view, or (nach < 0) 10 ms into making its reduced copies, the job held
// just before that step with the tests' stopping point. The longest stall from that click
// until the other photo is on show whole; laedt: the 150 MP photo was still loading then.
double abbrechenMessen(const QString& gross, const QString& anderes, int nach, bool& laedt)
{
    Programm programm(gross);
    Form1& f = *programm.fenster;
    if (nach < 0)
        Ladeauftrag::haltepunkt = 1 << int(Ladeauftrag::Stufe::Verkleinern);
    const bool erste = ersteAnsichtAbwarten(programm);
    if (nach < 0) {
        (void)QTest::qWaitFor([] { return Ladeauftrag::wartend > 0; }, 60000);
        Ladeauftrag::haltepunkt = 0;
        QTest::qWait(10);
    } else {
        QTest::qWait(nach);
    }
    if (!erste)
        return -1;
    programm.oeffner.datei = anderes;
    laedt = f.stand().quelle().vorlaeufig();
    Stau stau;
    oeffnen(f);
    const bool da = QTest::qWaitFor(
        [&] { return f.stand().dateiPfad() == anderes && !f.stand().quelle().isNull() && !f.stand().quelle().vorlaeufig(); }, 60000);
    return da ? stau.laengste() : -1;
}

// A frame drawn on the first view of the 150 MP photo while it decodes whole: the longest
// stall from the press until the frame's crop is measured on the whole picture.
double rahmenMessen(const QString& gross)
{
    Programm programm(gross);
    Form1& f = *programm.fenster;
    auto* ansicht = f.findChild<BildFlaeche*>(QStringLiteral("picZiel"));
    if (!ersteAnsichtAbwarten(programm) || !QTest::qWaitFor([ansicht] { return ansicht->isEnabled(); }))
        return -1;
    Stau stau;
    QTest::mousePress(ansicht, Qt::LeftButton, {}, QPoint(80, 10));
    QTest::mouseMove(ansicht, QPoint(400, 200));
    QTest::mouseRelease(ansicht, Qt::LeftButton, {}, QPoint(400, 200));
    if (!f.stand().quelle().vorlaeufig())
        zeile("  (the whole picture came before the frame was released)");
    const bool gemessen = QTest::qWaitFor(
        [&] { return !f.stand().quelle().vorlaeufig() && !f.stand().ketteAusstehend() && !f.stand().letzteMessung().daten.isEmpty(); },
        60000);
    return gemessen ? stau.laengste() : -1;
}

// The program itself (FOTOSCHLIFF_PROGRAMM) started with the 150 MP photo, with settings
// of its own in the scratch folder, and sent SIGTERM, which closes its window as the close
// box does, while it decodes: once its memory has grown by mehr MB beyond the file's bytes.
// From the signal to the end of the process; -1 when it did not end by itself.
double beendenMessen(const Umgebung& umgebung, const QString& gross, int mehr)
{
    QProcess kind;
    QProcessEnvironment umwelt = QProcessEnvironment::systemEnvironment();
    umwelt.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    umwelt.insert(QStringLiteral("XDG_CONFIG_HOME"), QDir(umgebung.ordner).filePath(QStringLiteral("kind/config")));
    umwelt.insert(QStringLiteral("XDG_DATA_HOME"), QDir(umgebung.ordner).filePath(QStringLiteral("kind/daten")));
    kind.setProcessEnvironment(umwelt);
    kind.setStandardOutputFile(QProcess::nullDevice());
    kind.setStandardErrorFile(QProcess::nullDevice());
    kind.start(QStringLiteral(FOTOSCHLIFF_PROGRAMM), {gross});
    if (!kind.waitForStarted())
        return -1;
    const QString nummer = QString::number(kind.processId());
    const double schwelle = double(QFileInfo(gross).size()) / 1024 + mehr * 1024.0;
    while (kilobyte("VmRSS:", nummer) < schwelle) {
        if (kind.state() == QProcess::NotRunning)
            return -1;
        QThread::msleep(1);
    }
    const Uhr::time_point anfang = Uhr::now();
    kind.terminate();
    if (!kind.waitForFinished(10000)) {
        kind.kill();
        kind.waitForFinished();
        return -1;
    }
    const double ms = msSeit(anfang);
    return kind.exitStatus() == QProcess::NormalExit && kind.exitCode() == 0 ? ms : -1;
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
    double grossErste = -1, grossGanz = -1; // the 150 MP photo's medians
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
        if (foto.datei == umgebung.gross150()) {
            grossErste = median(erste);
            grossGanz = median(ganz);
        }
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
    // While the 150 MP photo decodes: another photo, a frame, the program's end.
    const QString gross = umgebung.gross150(), cam18 = umgebung.cam18();
    if (!gross.isEmpty() && !cam18.isEmpty() && grossErste > 0 && grossGanz > grossErste) {
        zeile("cancel: the 150 MP photo opened; 20 and 50 %% of its whole decode's time (%.0f ms) after its first view, "
              "and 10 ms into making its reduced copies, cam18.jpg opened; stall from that click until cam18.jpg is whole "
              "on show; longest of the three",
              grossGanz - grossErste);
        double abbrechen = 0;
        for (const double anteil : {0.2, 0.5, -1.0}) {
            bool laedt = false;
            const double ms = abbrechenMessen(gross, cam18, anteil < 0 ? -1 : int(anteil * (grossGanz - grossErste)), laedt);
            const QString wann = anteil < 0 ? QStringLiteral("the copies") : QString::asprintf("%.0f %%", anteil * 100);
            zeile("  at %s: longest stall %.1f ms%s", qPrintable(wann), ms, laedt ? "" : " (the whole picture was in already)");
            abbrechen = ms < 0 || abbrechen < 0 ? -1 : std::max(abbrechen, ms);
        }
        zeile("frame during decode: a frame drawn on the 150 MP photo's first view; stall from the press until its crop "
              "is measured on the whole picture");
        const double rahmen = rahmenMessen(gross);
        zeile("quit: %s with the 150 MP photo, SIGTERM (closes the window as its close box does) once its memory has "
              "grown 128, 384 or 640 MB beyond the file; to the end of the process; longest of the three",
              FOTOSCHLIFF_PROGRAMM);
        double beenden = 0;
        for (const int mehr : {128, 384, 640}) {
            const double ms = beendenMessen(umgebung, gross, mehr);
            zeile("  at +%d MB: %.0f ms", mehr, ms);
            beenden = ms < 0 || beenden < 0 ? -1 : std::max(beenden, ms);
        }
        schluss << QString::asprintf("cancel 150 MP: longest stall %.0f ms, frame during decode: longest stall %.0f ms, "
                                     "quit during decode: %.0f ms",
                                     abbrechen, rahmen, beenden);
    }
    zeile("targets: cam18 full <= 1.05 x djpeg; 45 MP first view <= 0.8 x; stalls < 50 ms; quit < 500 ms "
          "(-1: not measured, or the program did not end by itself)");
    for (const QString& z : schluss)
        zeile("%s", qPrintable(z));
}

ABSCHNITT(schwelle, 28, "from which size a reduced first view pays: photos of 12 to 45 MP loaded with it and without it")
{
    ueberschrift(QStringLiteral("first view or the whole picture at once (cam18.jpg, and photos tiled from the elephants at quality 90)"));
    struct Groesse {
        const char* name;
        int breite, hoehe;
    };
    const Groesse groessen[] = {{"cam18", 5640, 3172}, {"12 MP", 4240, 2832}, {"18 MP", 5640, 3172}, {"24 MP", 6000, 4000},
                                {"30 MP", 6720, 4480}, {"36 MP", 7360, 4912}, {"45 MP", 8200, 5500}};
    zeile("each: Form1 \"Datei öffnen...\", median of 3 loads after one warm-up; 'first sight': dialog OK until a "
          "picture of the photo is on show (its first view, or the whole one), 'whole': until the whole picture is");
    for (const Groesse& g : groessen) {
        const QString datei = g.name == std::string_view("cam18") ? umgebung.cam18()
                              : g.breite == 8200 ? umgebung.gross45()
                                                 : umgebung.gekachelt(QStringLiteral("kachel%1x%2.jpg").arg(g.breite).arg(g.hoehe),
                                                                      g.breite, g.hoehe, 1);
        if (datei.isEmpty())
            continue;
        double erste[2] = {}, ganz[2] = {};
        for (const int mit : {1, 0}) {
            Ladeablauf::ersteAnsichtAb = mit ? 1 : std::numeric_limits<qint64>::max();
            Programm programm(datei);
            einmalLaden(*programm.fenster, programm.oeffner);
            std::vector<double> e, z;
            for (int i = 0; i < 3; ++i) {
                const Ladezeiten l = einmalLaden(*programm.fenster, programm.oeffner);
                e.push_back(l.ersteAnsicht);
                z.push_back(l.ganz);
            }
            erste[mit] = median(e);
            ganz[mit] = median(z);
        }
        zeile("%s (%d x %d): with a first view: first sight %.0f ms, whole %.0f ms; whole at once: %.0f ms -> "
              "first sight sooner by %.0f ms, whole later by %.0f ms",
              g.name, g.breite, g.hoehe, erste[1], ganz[1], ganz[0], ganz[0] - erste[1], ganz[1] - ganz[0]);
    }
    Ladeablauf::ersteAnsichtAb = Ladeablauf::ersteAnsichtAbStandard;
    zeile("the program shows a first view from %.0f MP", double(Ladeablauf::ersteAnsichtAbStandard) / 1e6);
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
    std::vector<double> zeiten, gewaehlt;
    for (int i = 0; i < 21; ++i) {
        const QPoint von(40 + i % 3, 10), bis(40 + i % 3 + breite - 1, 200);
        QTest::mousePress(ansicht, Qt::LeftButton, {}, von);
        QTest::mouseMove(ansicht, bis);
        const Uhr::time_point anfang = Uhr::now();
        QTest::mouseRelease(ansicht, Qt::LeftButton, {}, bis);
        ansicht->repaint();
        const double freigabe = msSeit(anfang);
        (void)QTest::qWaitFor([&f] { return !f.stand().kodierungOffen(); });
        if (i > 0) {
            zeiten.push_back(freigabe);
            gewaehlt.push_back(msSeit(anfang));
        }
    }
    zeile("call: press, move, release on picZiel (frame %s source pixels; release to repainted view; then until the "
          "coding chosen beside for the crop is in, and measured when it differs from the one before)",
          qPrintable(f.findChild<QWidget*>(QStringLiteral("lblA"))->property("text").toString()));
    zeile("release: median %.2f ms (20 runs after one warm-up; target < 30 ms); coding chosen: median %.2f ms", median(zeiten),
          median(gewaehlt));
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
