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
#include <cstring>
#include <vector>

#include <jpeglib.h>

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

QString Umgebung::gross150() { return gekachelt(QStringLiteral("gross150.jpg"), 15000, 10000, 6); }

QString Umgebung::gross45() { return gekachelt(QStringLiteral("gross45.jpg"), 8200, 5500, 1); }

QString Umgebung::gekachelt(const QString& name, int breite, int hoehe, int orientierung)
{
    const QString ziel = QDir(ordner).filePath(name);
    if (QFileInfo(ziel).isFile())
        return ziel;
    const QImage quelle = laden(elefanten);
    if (quelle.isNull())
        return {};
    const QString teil = ziel + QStringLiteral(".teil");
    FILE* datei = std::fopen(QFile::encodeName(teil).constData(), "wb");
    if (!datei) {
        uebersprungen(QStringLiteral("cannot write %1").arg(teil));
        return {};
    }
    zeile("making %s: %d x %d tiled from %s, quality 90, EXIF orientation %d", qPrintable(name), breite, hoehe,
          qPrintable(elefanten), orientierung);
    jpeg_compress_struct info;
    jpeg_error_mgr fehler;
    info.err = jpeg_std_error(&fehler);
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, datei);
    info.image_width = JDIMENSION(breite);
    info.image_height = JDIMENSION(hoehe);
    info.input_components = 4;
    info.in_color_space = JCS_EXT_BGRX;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    if (orientierung != 1) {
        // APP1 "Exif", little-endian TIFF, one entry: Orientation (0x0112), SHORT.
        const unsigned char exif[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0, 8, 0, 0, 0, 1, 0,
                                      0x12, 1, 3, 0, 1, 0, 0, 0, (unsigned char)orientierung, 0, 0, 0, 0, 0, 0, 0};
        jpeg_write_marker(&info, JPEG_APP0 + 1, exif, sizeof exif);
    }
    std::vector<unsigned char> zeilenPuffer(size_t(breite) * 4);
    while (info.next_scanline < info.image_height) {
        const uchar* q = quelle.constScanLine(int(info.next_scanline % unsigned(quelle.height())));
        for (int x = 0; x < breite; ++x)
            std::memcpy(zeilenPuffer.data() + 4 * x, q + 4 * (x % quelle.width()), 4);
        JSAMPROW z = zeilenPuffer.data();
        jpeg_write_scanlines(&info, &z, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    std::fclose(datei);
    if (!QFile::rename(teil, ziel)) {
        uebersprungen(QStringLiteral("cannot write %1").arg(ziel));
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
