#include "Bench.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageReader>
#include <QProcess>
#include <QStandardPaths>

#include <algorithm>
#include <cstdarg>
#include <cstdio>

namespace bench {

std::vector<Abschnitt>& abschnitte()
{
    static std::vector<Abschnitt> liste;
    return liste;
}

Anmeldung::Anmeldung(const char* name, int reihenfolge, const char* beschreibung, void (*f)(Umgebung&))
{
    abschnitte().push_back({QString::fromUtf8(name), reihenfolge, QString::fromUtf8(beschreibung), f});
}

double median(std::vector<double> werte)
{
    if (werte.empty())
        return 0;
    std::sort(werte.begin(), werte.end());
    const size_t n = werte.size();
    return n % 2 ? werte[n / 2] : (werte[n / 2 - 1] + werte[n / 2]) / 2;
}

QString programmFinden(const QString& programm)
{
    if (programm.contains(u'/')) {
        const QFileInfo f(programm);
        return f.isFile() && f.isExecutable() ? f.absoluteFilePath() : QString();
    }
    return QStandardPaths::findExecutable(programm);
}

QString befehlszeile(const QString& programm, const QStringList& argumente)
{
    QStringList teile{programm};
    for (const QString& a : argumente)
        teile << (a.contains(u' ') || a.contains(u'!') ? u'\'' + a + u'\'' : a);
    return teile.join(u' ');
}

Lauf starten(const QString& programm, const QStringList& argumente, int zeitlimitMs)
{
    Lauf lauf;
    QProcess p;
    p.setProcessChannelMode(QProcess::MergedChannels);
    QElapsedTimer uhr;
    uhr.start();
    p.start(programm, argumente);
    if (!p.waitForStarted())
        return lauf;
    p.waitForFinished(zeitlimitMs);
    const qint64 ns = uhr.nsecsElapsed();
    lauf.ausgabe = QString::fromLocal8Bit(p.readAll());
    if (p.exitStatus() != QProcess::NormalExit)
        return lauf;
    lauf.code = p.exitCode();
    if (lauf.code == 0)
        lauf.ms = double(ns) / 1e6;
    return lauf;
}

void zeile(const char* format, ...)
{
    va_list args;
    va_start(args, format);
    std::vprintf(format, args);
    va_end(args);
    std::printf("\n");
    std::fflush(stdout);
}

void ueberschrift(const QString& titel) { zeile("\n== %s ==", qPrintable(titel)); }

void uebersprungen(const QString& grund) { zeile("SKIPPED: %s", qPrintable(grund)); }

QString Umgebung::cam18()
{
    const QString ziel = QDir(ordner).filePath(QStringLiteral("cam18.jpg"));
    if (QFileInfo(ziel).isFile())
        return ziel;
    if (!QFileInfo(elefanten).isFile()) {
        uebersprungen(QStringLiteral("%1 is missing (Debian package mate-backgrounds, or --elefanten FILE)").arg(elefanten));
        return {};
    }
    const QString jpegtran = programmFinden(QStringLiteral("jpegtran"));
    if (jpegtran.isEmpty()) {
        uebersprungen(QStringLiteral("jpegtran is missing (Debian package libjpeg-turbo-progs)"));
        return {};
    }
    const QStringList args{QStringLiteral("-outfile"), ziel, elefanten};
    zeile("making cam18.jpg: %s", qPrintable(befehlszeile(jpegtran, args)));
    const Lauf l = starten(jpegtran, args);
    if (l.ms < 0) {
        uebersprungen(QStringLiteral("jpegtran failed: %1").arg(l.ausgabe.trimmed()));
        QFile::remove(ziel);
        return {};
    }
    return ziel;
}

QImage Umgebung::laden(const QString& datei)
{
    if (!QFileInfo(datei).isFile()) {
        uebersprungen(QStringLiteral("%1 is missing").arg(datei));
        return {};
    }
    QImageReader leser(datei);
    leser.setAllocationLimit(1024);
    QImage bild = leser.read();
    if (bild.isNull()) {
        uebersprungen(QStringLiteral("%1 cannot be read: %2").arg(datei, leser.errorString()));
        return {};
    }
    return bild.convertToFormat(QImage::Format_RGB32);
}

} // namespace bench
