// fotoschliff-bench: figures for the output core on real photographs.
//
//   fotoschliff-bench [options] [section ...]
//
// Runs the named sections (all when none is named) and prints each figure with the
// command or call that produced it. Sections live in their own files (abschnitt_*.cpp)
// and register themselves; add a file to bench/CMakeLists.txt to add one.

#include "Bench.h"

#include <QApplication>
#include <QDir>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

namespace {

void hilfe(const bench::Umgebung& u)
{
    std::printf(
        "usage: fotoschliff-bench [options] [section ...]\n\n"
        "options:\n"
        "  --ordner DIR         scratch folder (default %s)\n"
        "  --elefanten FILE     18 MP photo (default %s)\n"
        "  --marienkaefer FILE  2560x1600 photo (default %s)\n"
        "  --convert PROG       ImageMagick's convert (default: convert from PATH)\n"
        "  --werkzeug PROG      resample-quality (default: from PATH)\n"
        "  --liste              list the sections and stop\n\n",
        qPrintable(u.ordner), qPrintable(u.elefanten), qPrintable(u.marienkaefer));
}

} // namespace

int main(int argc, char** argv)
{
    // The program's own window is measured too; it needs no screen.
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fotoschliff"));
    bench::Umgebung u;
    u.ordner = QDir::temp().filePath(QStringLiteral("fotoschliff-bench"));
    u.elefanten = QStringLiteral("/usr/share/backgrounds/mate/abstract/Elephants_5640x3172.jpg");
    u.marienkaefer = QStringLiteral("/usr/share/backgrounds/mate/nature/LadyBird.jpg");
    u.convert = QStringLiteral("convert");
    u.qualitaetWerkzeug = QStringLiteral("resample-quality");

    auto& alle = bench::abschnitte();
    std::sort(alle.begin(), alle.end(), [](const auto& a, const auto& b) { return a.reihenfolge < b.reihenfolge; });

    QStringList gewaehlt;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        const QString& a = args[i];
        auto wert = [&](QString& ziel) {
            if (i + 1 >= args.size()) {
                std::fprintf(stderr, "%s needs a value\n", qPrintable(a));
                std::exit(2);
            }
            ziel = args[++i];
        };
        if (a == u"--ordner")
            wert(u.ordner);
        else if (a == u"--elefanten")
            wert(u.elefanten);
        else if (a == u"--marienkaefer")
            wert(u.marienkaefer);
        else if (a == u"--convert")
            wert(u.convert);
        else if (a == u"--werkzeug")
            wert(u.qualitaetWerkzeug);
        else if (a == u"--liste") {
            for (const auto& s : alle)
                std::printf("%-12s %s\n", qPrintable(s.name), qPrintable(s.beschreibung));
            return 0;
        } else if (a == u"-h" || a == u"--help") {
            hilfe(u);
            for (const auto& s : alle)
                std::printf("  %-12s %s\n", qPrintable(s.name), qPrintable(s.beschreibung));
            return 0;
        } else if (a.startsWith(u'-')) {
            std::fprintf(stderr, "unknown option %s\n", qPrintable(a));
            hilfe(u);
            return 2;
        } else {
            gewaehlt << a;
        }
    }
    for (const QString& name : gewaehlt) {
        if (std::none_of(alle.begin(), alle.end(), [&](const auto& s) { return s.name == name; })) {
            std::fprintf(stderr, "unknown section %s (see --liste)\n", qPrintable(name));
            return 2;
        }
    }
    if (!QDir().mkpath(u.ordner)) {
        std::fprintf(stderr, "cannot create scratch folder %s\n", qPrintable(u.ordner));
        return 1;
    }
    bench::zeile("scratch folder: %s", qPrintable(u.ordner));
    for (const auto& s : alle) {
        if (gewaehlt.isEmpty() || gewaehlt.contains(s.name))
            s.ausfuehren(u);
    }
    return 0;
}
