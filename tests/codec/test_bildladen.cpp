// The decoder's verdicts: a file that is no photo, or a broken one, is refused with
// its reason, quickly; a whole one is decoded upright and complete.
#include "codec/Bildladen.h"
#include "codec/Bildspeicher.h"

#include "TestBilder.h"

#include <QBuffer>
#include <QDir>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTest>
#include <QTransform>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Something like a photo: shading, edges and grain, so that the data is not trivially short.
QImage foto(int b, int h)
{
    QImage bild(b, h, QImage::Format_RGB32);
    quint32 zufall = 99;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < b; ++x) {
            zufall = zufall * 1103515245u + 12345u;
            const int korn = int((zufall >> 16) % 31);
            bild.setPixel(x, y, qRgb((x * 255 / b + korn) & 255, (y * 255 / h + korn) & 255, ((x / 16 + y / 16) % 2) * 200));
        }
    return bild;
}

QByteArray progressiv(const QImage& bild)
{
    QByteArray daten;
    QBuffer puffer(&daten);
    puffer.open(QIODevice::WriteOnly);
    QImageWriter schreiber(&puffer, "jpeg");
    schreiber.setQuality(90);
    schreiber.setProgressiveScanWrite(true);
    schreiber.write(bild);
    return daten;
}

const QByteArray eoi("\xFF\xD9", 2);

// The frame header given another marker, precision or size.
QByteArray rahmen(QByteArray jpeg, int marke, int bits, int breite = -1, int hoehe = -1)
{
    qsizetype sof = 2;
    while (uchar(jpeg[sof + 1]) < 0xC0 || uchar(jpeg[sof + 1]) > 0xCB || uchar(jpeg[sof + 1]) == 0xC4)
        sof += 2 + (uchar(jpeg[sof + 2]) << 8 | uchar(jpeg[sof + 3]));
    jpeg[sof + 1] = char(marke);
    jpeg[sof + 4] = char(bits);
    if (breite >= 0) {
        jpeg[sof + 5] = char(hoehe >> 8);
        jpeg[sof + 6] = char(hoehe & 0xFF);
        jpeg[sof + 7] = char(breite >> 8);
        jpeg[sof + 8] = char(breite & 0xFF);
    }
    return jpeg;
}

// The progressive file up to (not including) its n-th scan, closed with an end marker:
// a file cut between two scans.
QByteArray bisScan(const QByteArray& jpeg, int n)
{
    qsizetype pos = 0;
    for (int i = 0; i < n; ++i)
        pos = jpeg.indexOf(QByteArray("\xFF\xDA", 2), pos + 1);
    return jpeg.left(pos) + eoi;
}

} // namespace

class TestBildladen : public QObject {
    Q_OBJECT

private slots:
    // Each way a file is refused, with what the message needs.
    void ablehnung_data()
    {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<Ladefehler>("fehler");
        QTest::addColumn<JpegArt>("art");
        QTest::addColumn<qint64>("wert");
        const QByteArray gut = testbilder::alsJpeg(foto(640, 480), 90);
        const auto kaputt = Ladefehler::Unvollstaendig;
        // Data that reports damage or a gap is refused like a cut-off file, never shown grey.
        QTest::newRow("auf 10 % gekürzt, Endmarke angehängt") << gut.left(gut.size() / 10) + eoi << kaputt << JpegArt::Unbenannt << 0ll;
        QByteArray marke = gut;
        marke.replace(gut.size() / 2, 2, QByteArray("\xFF\xE0", 2));
        QTest::newRow("eine Marke mitten in den Bilddaten") << marke << kaputt << JpegArt::Unbenannt << 0ll;
        QTest::newRow("ohne Endmarke") << gut.chopped(2) << kaputt << JpegArt::Unbenannt << 0ll;
        const QByteArray prog = progressiv(foto(640, 480));
        QTest::newRow("progressiv, nach dem 3. Scan abgeschnitten") << bisScan(prog, 3) << kaputt << JpegArt::Unbenannt << 0ll;
        QTest::newRow("progressiv, mitten im 3. Scan abgeschnitten")
            << prog.left(prog.indexOf(QByteArray("\xFF\xDA", 2), prog.indexOf(QByteArray("\xFF\xDA", 2)) + 1) + 300) + eoi
            << kaputt << JpegArt::Unbenannt << 0ll;
        // 161 bytes whose header claims 144 megapixels: no JPEG holds that in so little.
        const QByteArray winzig = testbilder::alsJpeg(QImage(8, 8, QImage::Format_Grayscale8), 10);
        QTest::newRow("12000 x 12000 in wenigen Bytes") << rahmen(winzig, 0xC0, 8, 12000, 12000) << kaputt << JpegArt::Unbenannt << 0ll;
        // A kind of JPEG the decoder does not handle is named as such, not as damage.
        const QByteArray klein = testbilder::alsJpeg(foto(64, 48), 90);
        const auto nicht = Ladefehler::NichtUnterstuetzt;
        QTest::newRow("verlustfrei") << rahmen(klein, 0xC3, 8) << nicht << JpegArt::Verlustfrei << 0ll;
        QTest::newRow("12 Bit") << rahmen(klein, 0xC1, 12) << nicht << JpegArt::Bittiefe << 12ll;
        QTest::newRow("hierarchisch") << rahmen(klein, 0xC5, 8) << nicht << JpegArt::Hierarchisch << 0ll;
        QTest::newRow("Höhe erst am Ende") << rahmen(klein, 0xC0, 8, 64, 0) << nicht << JpegArt::HoeheAmEnde << 0ll;
        QTest::newRow("kein JPEG") << QByteArray("GIF89a und so weiter") << Ladefehler::KeinJpeg << JpegArt::Unbenannt << 0ll;
        QTest::newRow("nur der Anfang") << QByteArray("\xFF\xD8", 2) << Ladefehler::KeinJpeg << JpegArt::Unbenannt << 0ll;
        QTest::newRow("leer") << QByteArray() << Ladefehler::Leer << JpegArt::Unbenannt << 0ll;
        // Above the limit; the message names the count.
        const auto zuGross = Ladefehler::ZuVielePixel;
        QTest::newRow("15001 x 10000") << rahmen(klein, 0xC0, 8, 15001, 10000) << zuGross << JpegArt::Unbenannt << 150'010'000ll;
        QTest::newRow("65535 x 65535") << rahmen(klein, 0xC0, 8, 65535, 65535) << zuGross << JpegArt::Unbenannt << 4'294'836'225ll;
    }
    void ablehnung()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(Ladefehler, fehler);
        QFETCH(JpegArt, art);
        QFETCH(qint64, wert);
        const Ladeergebnis e = jpegDekodieren(inhalt);
        QVERIFY(e.bild.isNull());
        QCOMPARE(e.fehler, fehler);
        QCOMPARE(e.art, art);
        QCOMPARE(e.wert, wert);
        QCOMPARE(e.grenze, fehler == Ladefehler::ZuVielePixel ? hoechstePixelzahl : 0);
    }

    // Arithmetic coding and progressive scans cut short are refused like a cut Huffman
    // file, at every scan boundary and at points inside the data; whole, they load.
    void abgeschnitten_data()
    {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<bool>("ganz");
        const QImage bild = foto(320, 240);
        for (const bool arithmetisch : {false, true})
            for (const bool progressiv : {false, true}) {
                const QByteArray datei = testbilder::libjpeg(bild, {90, progressiv, arithmetisch});
                const QString art = QStringLiteral("%1%2, ").arg(arithmetisch ? "arithmetisch" : "Huffman",
                                                                progressiv ? " progressiv" : "");
                QTest::newRow(qPrintable(art + "ganz")) << datei << true;
                const int scans = int(datei.count(QByteArray("\xFF\xDA", 2)));
                for (int n = 1; progressiv && n <= scans; ++n)
                    QTest::newRow(qPrintable(art + QStringLiteral("vor Scan %1 von %2").arg(n).arg(scans))) << bisScan(datei, n) << false;
                const qsizetype daten = datei.indexOf(QByteArray("\xFF\xDA", 2)) + 14;
                for (const int prozent : {25, 50, 90, 99})
                    QTest::newRow(qPrintable(art + QStringLiteral("bei %1 % der Daten").arg(prozent)))
                        << datei.left(daten + (datei.size() - 2 - daten) * prozent / 100) + eoi << false;
            }
        // A hundred bytes claiming 144 megapixels.
        const QByteArray winzig = testbilder::libjpeg(foto(8, 8), {90, false, true});
        QTest::newRow("arithmetisch, 12000 x 12000 in wenigen Bytes") << rahmen(winzig, 0xC9, 8, 12000, 12000) << false;
        // One flat colour takes a few bytes of arithmetic coding whatever its size: below a
        // byte per megapixel it is taken for such a claim.
        for (const int seite : {1024, 4096}) {
            QImage flach(seite, seite, QImage::Format_RGB888);
            flach.fill(qRgb(90, 140, 200));
            QTest::newRow(qPrintable(QStringLiteral("arithmetisch, eine Farbe, %1 x %1").arg(seite)))
                << testbilder::libjpeg(flach, {90, false, true}) << (seite == 1024);
        }
    }
    void abgeschnitten()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(bool, ganz);
        const Ladeergebnis e = jpegDekodieren(inhalt);
        QCOMPARE(e.fehler, ganz ? Ladefehler::Keiner : Ladefehler::Unvollstaendig);
        QCOMPARE(e.bild.isNull(), !ganz);
    }

    // A file that does not begin as a JPEG is not read beyond its first bytes, however large.
    void grosseDateiOhneJpeg()
    {
        QTemporaryDir ordner;
        QFile datei(ordner.filePath(QStringLiteral("film.jpg")));
        QVERIFY(datei.open(QIODevice::WriteOnly));
        datei.write("GIF89a");
        QVERIFY(datei.resize(qint64(1000) << 20)); // sparse: takes no room on disk
        datei.close();
        const bildspeicher::Stand vorher = bildspeicher::stand();
        QCOMPARE(jpegLaden(datei.fileName()).fehler, Ladefehler::KeinJpeg);
        QCOMPARE(bildspeicher::stand().neuAngelegt + bildspeicher::stand().wiederverwendet,
                 vorher.neuAngelegt + vorher.wiederverwendet); // no buffer for its bytes
    }

    // How large a file may be for the picture its frame header describes, judged from its
    // first bytes: SOI, what stands before the frame header, then it.
    void hoechstgroesse_data()
    {
        QTest::addColumn<QByteArray>("anfang");
        QTest::addColumn<qint64>("grenze");
        const auto sof = [](int breite, int hoehe, QList<int> abtastung) {
            QByteArray inhalt{"\x08"};
            inhalt += char(hoehe >> 8), inhalt += char(hoehe), inhalt += char(breite >> 8), inhalt += char(breite);
            inhalt += char(abtastung.size());
            for (int i = 0; i < abtastung.size(); ++i)
                inhalt += char(i + 1), inhalt += char(abtastung[i]), inhalt += char(0);
            return QByteArray("\xFF\xD8", 2) + testbilder::segment(0xC0, inhalt);
        };
        const qint64 danach = qint64(64) << 20;
        const QByteArray app2 = testbilder::segment(0xE2, QByteArray(65533, 'm')), sos = testbilder::segment(0xDA, "x");
        // 4:2:0, 64 x 48: 4 x 3 MCUs of 16 x 16; 4 blocks of luma, 1 of each chroma: 4608 samples.
        QTest::newRow("4:2:0") << sof(64, 48, {0x22, 0x11, 0x11}) << 2 + 4608 * 8 + danach;
        QTest::newRow("4:4:4") << sof(64, 48, {0x11, 0x11, 0x11}) << 2 + 3 * 3072 * 8 + danach;
        QTest::newRow("grau, ungerade Seiten") << sof(65, 1, {0x11}) << 2 + 9 * 64 * 8 + danach;
        QTest::newRow("hinter 3 MB Metadaten") << sof(64, 48, {0x22, 0x11, 0x11}).insert(2, app2.repeated(48))
                                                << 2 + 48 * 65537 + 4608 * 8 + danach;
        QTest::newRow("Füllbytes davor") << sof(65, 1, {0x11}).insert(2, QByteArray(10, '\x13')) << 12 + 9 * 64 * 8 + danach;
        QTest::newRow("Scan davor") << sof(64, 48, {0x11}).insert(2, sos) << 2 + danach;
        QTest::newRow("Abtastung 0") << sof(64, 48, {0x00}) << 2 + danach;
        QTest::newRow("Rahmen noch nicht ganz da") << sof(64, 48, {0x22, 0x11, 0x11}).chopped(3) << qint64(0);
        QTest::newRow("nichts als Metadaten") << QByteArray("\xFF\xD8", 2) + app2 << qint64(0);
    }
    void hoechstgroesse()
    {
        QFETCH(QByteArray, anfang);
        QFETCH(qint64, grenze);
        QCOMPARE(jpegHoechstgroesse(anfang), grenze);
    }

    // A file far larger than its picture can need is refused before it is read whole;
    // what may follow a picture (more pictures, a video) up to that bound still loads.
    void grosseDateiFruehAbgelehnt_data()
    {
        QTest::addColumn<qint64>("nachspann");
        QTest::addColumn<bool>("zuGross");
        QTest::newRow("Video von 20 MB dahinter") << (qint64(20) << 20) << false;
        QTest::newRow("900 MB dahinter") << (qint64(900) << 20) << true;
    }
    void grosseDateiFruehAbgelehnt()
    {
        QFETCH(qint64, nachspann);
        QFETCH(bool, zuGross);
        QTemporaryDir ordner;
        QFile datei(ordner.filePath(QStringLiteral("film.jpg")));
        const QByteArray jpeg = testbilder::alsJpeg(foto(64, 48));
        QVERIFY(datei.open(QIODevice::WriteOnly) && datei.write(jpeg) == jpeg.size());
        QVERIFY(datei.resize(jpeg.size() + nachspann)); // sparse: takes no room on disk
        datei.close();
        Jpegdatei gelesen;
        const Ladeergebnis e = jpegOeffnen(datei.fileName(), gelesen);
        QCOMPARE(e.fehler, zuGross ? Ladefehler::GroesserAlsNoetig : Ladefehler::Keiner);
        QCOMPARE(gelesen.laenge, zuGross ? 0 : datei.size());
        if (zuGross)
            QCOMPARE(std::pair(e.wert, e.grenze), std::pair(datei.size(), jpegHoechstgroesse(jpeg)));
    }

    // Called off, reading ends at its first look at the flag, and so does decoding, also
    // while a progressive file's scans are taken in before its first row comes out: damage
    // in its last scan, which a decode meets there, shows that it stops before.
    void abgebrochen_data()
    {
        QTest::addColumn<QByteArray>("jpeg");
        QTest::addColumn<bool>("lesen");
        const QImage bild = foto(320, 240);
        const auto hintenBeschaedigt = [](QByteArray jpeg) {
            return jpeg.insert((jpeg.lastIndexOf(QByteArray("\xFF\xDA", 2)) + jpeg.size()) / 2, QByteArray("\xFF\xD3", 2));
        };
        QTest::newRow("lesen") << testbilder::alsJpeg(bild) + QByteArray(3 << 20, 0) << true;
        QTest::newRow("progressiv") << hintenBeschaedigt(progressiv(bild)) << false;
        QTest::newRow("arithmetisch, progressiv") << hintenBeschaedigt(testbilder::libjpeg(bild, {90, true, true})) << false;
    }
    void abgebrochen()
    {
        QFETCH(QByteArray, jpeg);
        QFETCH(bool, lesen);
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("a.jpg"));
        QVERIFY(testbilder::schreiben(pfad, jpeg));
        const std::atomic<bool> ab{true};
        Jpegdatei datei;
        QCOMPARE(jpegOeffnen(pfad, datei, hoechstePixelzahl, lesen ? &ab : nullptr).fehler,
                 lesen ? Ladefehler::Abgebrochen : Ladefehler::Keiner);
        if (lesen)
            return;
        QCOMPARE(jpegDekodieren(datei).fehler, Ladefehler::Unvollstaendig);
        QCOMPARE(jpegDekodieren(datei, 1, &ab).fehler, Ladefehler::Abgebrochen);
    }

    // Names that are no UTF-8 reach the program with replacement characters; the file
    // they stand for loads all the same.
    void nameOhneUtf8_data()
    {
        QTest::addColumn<QByteArray>("ordner");
        QTest::addColumn<QByteArrayList>("dateien"); // the first is the one asked for
        QTest::addColumn<bool>("geladen");
        QTest::newRow("Latin-1-Name") << QByteArray() << QByteArrayList{"K\xE4" "fer.jpg"} << true;
        QTest::newRow("auch der Ordner") << QByteArray("\xDC" "bersicht") << QByteArrayList{"K\xE4" "fer.jpg"} << true;
        QTest::newRow("zwei Namen lesen sich gleich") << QByteArray() << QByteArrayList{"K\xE4" "fer.jpg", "K\xF6" "fer.jpg"} << false;
        QTest::newRow("echtes Ersatzzeichen im Namen") << QByteArray() << QByteArrayList{"K\xEF\xBF\xBD" "fer.jpg"} << true;
    }
    void nameOhneUtf8()
    {
        QFETCH(QByteArray, ordner);
        QFETCH(QByteArrayList, dateien);
        QFETCH(bool, geladen);
        QTemporaryDir basis;
        QByteArray pfad = QFile::encodeName(basis.path()) + '/';
        if (!ordner.isEmpty()) {
            pfad += ordner + '/';
            QCOMPARE(::mkdir(pfad.constData(), 0700), 0);
        }
        const QByteArray jpeg = testbilder::alsJpeg(foto(64, 48));
        for (const QByteArray& name : dateien) {
            const int fd = ::open((pfad + name).constData(), O_WRONLY | O_CREAT, 0600);
            QVERIFY(fd >= 0);
            QCOMPARE(::write(fd, jpeg.constData(), size_t(jpeg.size())), ssize_t(jpeg.size()));
            ::close(fd);
        }
        const QString angezeigt = QFile::decodeName(pfad + dateien.first());
        QVERIFY(angezeigt.contains(QChar::ReplacementCharacter));
        QCOMPARE(dateinameImSystem(angezeigt) == pfad + dateien.first(), geladen);
        QCOMPARE(jpegLaden(angezeigt).fehler, geladen ? Ladefehler::Keiner : Ladefehler::NichtVorhanden);
    }

    void ganzeDatenSindGut()
    {
        // The same files whole load, so the refusals above are the damage's doing.
        const Ladeergebnis e = jpegDekodieren(progressiv(foto(640, 480)));
        QCOMPARE(e.fehler, Ladefehler::Keiner);
        QCOMPARE(e.bild.size(), QSize(640, 480));
        // Bytes after the end marker, as some cameras leave them, do no harm.
        QCOMPARE(jpegDekodieren(testbilder::alsJpeg(foto(64, 48)) + "Nachspann").fehler, Ladefehler::Keiner);
    }

    // What lies behind the end marker never decides whether a photo loads or how: the
    // copy without metadata leaves it out and must load as the original does.
    void nachspannEntscheidetNicht_data()
    {
        QTest::addColumn<QByteArray>("bild");
        const QByteArray gut = testbilder::alsJpeg(foto(33, 20));
        QTest::newRow("ganz") << gut;
        // Coded data that goes on after the picture is complete: libjpeg-turbo finds
        // it or not depending on how many bytes follow.
        QTest::newRow("Daten vor der Endmarke") << gut.chopped(2) + QByteArray(80, 'O') + eoi;
        QTest::newRow("progressiv, Daten vor der Endmarke")
            << progressiv(foto(33, 20)).chopped(2) + QByteArray(80, 'O') + eoi;
        // Codes no table has: libjpeg-turbo's fast path passes over them, its careful
        // path, taken near the end of the data, reports them.
        for (const int anteil : {2, 4}) {
            for (const bool grau : {false, true}) {
                QImage f = foto(33, 20);
                if (grau)
                    f = f.convertToFormat(QImage::Format_Grayscale8);
                QByteArray falsch = testbilder::alsJpeg(f);
                const qsizetype daten = falsch.indexOf(QByteArray("\xFF\xDA", 2)) + 14;
                const qsizetype von = daten + (falsch.size() - 2 - daten) * (anteil - 1) / anteil;
                for (qsizetype i = von; i < von + 6 && i < falsch.size() - 2; ++i)
                    falsch[i] = char(0xFE);
                QTest::addRow("falsche Codes bei %d/%d, %s", anteil - 1, anteil, grau ? "grau" : "farbig") << falsch;
            }
        }
    }
    void nachspannEntscheidetNicht()
    {
        QFETCH(QByteArray, bild);
        const Ladeergebnis allein = jpegDekodieren(bild);
        for (const qsizetype laenge : {1, 100, 700, 5000}) {
            QByteArray nachspann(laenge, '2');
            for (qsizetype i = 0; i < laenge; i += 7)
                nachspann[i] = char(i * 37);
            const Ladeergebnis mit = jpegDekodieren(bild + nachspann);
            QCOMPARE(mit.fehler, allein.fehler);
            QCOMPARE(mit.bild, allein.bild);
        }
    }

    void vollstaendigkeit_data()
    {
        QTest::addColumn<QByteArray>("daten");
        QTest::addColumn<bool>("vollstaendig");
        const QByteArray gut = testbilder::alsJpeg(testbilder::verlauf(64, 64));
        QTest::newRow("ganz") << gut << true;
        QTest::newRow("Anhang einer Kamera") << gut + QByteArray("Anhang einer Kamera") << true;
        QTest::newRow("mit EXIF") << testbilder::mitOrientierung(gut, 6) << true;
        QTest::newRow("ohne Endmarke") << gut.chopped(2) << false;
        QTest::newRow("im Scan abgeschnitten") << gut.left(gut.indexOf(QByteArray("\xFF\xDA", 2)) + 40) << false;
        QTest::newRow("nur SOI") << QByteArray("\xFF\xD8", 2) << false;
        QTest::newRow("leer") << QByteArray() << false;
    }
    void vollstaendigkeit()
    {
        QFETCH(QByteArray, daten);
        QFETCH(bool, vollstaendig);
        QCOMPARE(jpegVollstaendig(daten), vollstaendig);
    }

    // Anything but a regular file is refused before it is opened: a pipe would hold the
    // program until someone writes into it, a device would be read without end.
    void nurGewoehnlicheDateien_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<Ladefehler>("fehler");
        QTest::newRow("Pipe") << "pipe" << Ladefehler::KeineGewoehnlicheDatei;
        QTest::newRow("Verknüpfung auf /dev/zero") << "zero" << Ladefehler::KeineGewoehnlicheDatei;
        QTest::newRow("Ordner") << "ordner" << Ladefehler::Ordner;
        QTest::newRow("Verknüpfung auf einen Ordner") << "ordnerlink" << Ladefehler::Ordner;
        QTest::newRow("Verknüpfung ins Leere") << "leer" << Ladefehler::NichtVorhanden;
    }
    void nurGewoehnlicheDateien()
    {
        QFETCH(QString, art);
        QFETCH(Ladefehler, fehler);
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(art == u"ordner" ? QStringLiteral(".jpg") : QStringLiteral("x.jpg"));
        const QByteArray name = QFile::encodeName(pfad);
        if (art == u"pipe")
            QCOMPARE(mkfifo(name.constData(), 0600), 0);
        else if (art == u"zero")
            QCOMPARE(symlink("/dev/zero", name.constData()), 0);
        else if (art == u"ordner")
            QVERIFY(QDir().mkdir(pfad));
        else if (art == u"ordnerlink")
            QCOMPARE(symlink(QFile::encodeName(ordner.path()).constData(), name.constData()), 0);
        else
            QCOMPARE(symlink("gibt-es-nicht.jpg", name.constData()), 0);

        // Should the pipe be opened for reading after all, a writer lets it go after a while.
        std::atomic<bool> fertig = false;
        std::thread schreiber([&] {
            for (int i = 0; i < 300 && !fertig; ++i) {
                const int fd = art == u"pipe" ? ::open(name.constData(), O_WRONLY | O_NONBLOCK) : -1;
                if (fd >= 0) {
                    ::close(fd);
                    return;
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(10));
            }
        });
        const Ladeergebnis e = jpegLaden(pfad);
        fertig = true;
        schreiber.join();
        QCOMPARE(e.fehler, fehler);
    }

    // Turned while decoding, the picture is exactly the stored one turned afterwards.
    void drehenBeimDekodierenIstExakt_data()
    {
        QTest::addColumn<int>("orientierung");
        QTest::addColumn<bool>("cmyk");
        for (int o = 1; o <= 8; ++o) {
            QTest::newRow(qPrintable(QStringLiteral("RGB %1").arg(o))) << o << false;
            QTest::newRow(qPrintable(QStringLiteral("CMYK %1").arg(o))) << o << true;
        }
    }
    void drehenBeimDekodierenIstExakt()
    {
        QFETCH(int, orientierung);
        QFETCH(bool, cmyk);
        const quint8 farbe[4] = {30, 200, 90, 250};
        // Odd sides, and more than one strip of rows.
        const QByteArray jpeg = cmyk ? testbilder::cmykJpeg(37, 53, farbe) : testbilder::alsJpeg(foto(301, 203), 90);
        const Ladeergebnis aufrecht = jpegDekodieren(jpeg);
        const Ladeergebnis gedreht = jpegDekodieren(testbilder::mitOrientierung(jpeg, quint16(orientierung)));
        QVERIFY(!aufrecht.bild.isNull());
        static const QTransform drehung[9] = {
            {}, {}, QTransform::fromScale(-1, 1), QTransform::fromScale(-1, -1), QTransform::fromScale(1, -1),
            QTransform::fromScale(1, -1) * QTransform().rotate(90), QTransform().rotate(90),
            QTransform::fromScale(-1, 1) * QTransform().rotate(90), QTransform().rotate(270)};
        QCOMPARE(gedreht.bild, aufrecht.bild.transformed(drehung[orientierung]).convertToFormat(QImage::Format_RGB32));
    }

    // A reduced decode is the full picture made smaller: same orientation, same proportions,
    // each side rounded up; and calling it off ends it without a picture.
    void verkleinertWieGanz_data()
    {
        QTest::addColumn<int>("orientierung");
        QTest::addColumn<int>("nenner");
        QTest::addColumn<bool>("cmyk");
        for (int o = 1; o <= 8; ++o)
            QTest::newRow(qPrintable(QStringLiteral("RGB %1, 1/4").arg(o))) << o << 4 << false;
        QTest::newRow("RGB 6, 1/2") << 6 << 2 << false;
        QTest::newRow("RGB 8, 1/8") << 8 << 8 << false;
        QTest::newRow("CMYK 6, 1/4") << 6 << 4 << true;
        QTest::newRow("CMYK 3, 1/8") << 3 << 8 << true;
    }
    void verkleinertWieGanz()
    {
        QFETCH(int, orientierung);
        QFETCH(int, nenner);
        QFETCH(bool, cmyk);
        const quint8 farbe[4] = {30, 200, 90, 250};
        // Odd sides, so that the rounding shows; the ramps show a wrong turn.
        const QByteArray jpeg = cmyk ? testbilder::cmykJpeg(301, 203, farbe) : testbilder::alsJpeg(testbilder::verlauf(301, 203), 90);
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("v.jpg"));
        QVERIFY(testbilder::schreiben(pfad, testbilder::mitOrientierung(jpeg, quint16(orientierung))));
        Jpegdatei datei;
        QCOMPARE(jpegOeffnen(pfad, datei).fehler, Ladefehler::Keiner);
        const QImage ganz = jpegDekodieren(datei).bild;
        const QImage klein = jpegDekodieren(datei, nenner).bild;
        QCOMPARE(ganz.size(), orientierung >= 5 ? QSize(203, 301) : QSize(301, 203));
        QCOMPARE(klein.size(), QSize((ganz.width() + nenner - 1) / nenner, (ganz.height() + nenner - 1) / nenner));
        const QImage erwartet = ganz.scaled(klein.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
                                    .convertToFormat(QImage::Format_RGB32);
        double abweichung = 0;
        for (int y = 0; y < klein.height(); ++y)
            for (int x = 0; x < klein.width(); ++x) {
                const QRgb a = klein.pixel(x, y), b = erwartet.pixel(x, y);
                abweichung += qAbs(qRed(a) - qRed(b)) + qAbs(qGreen(a) - qGreen(b)) + qAbs(qBlue(a) - qBlue(b));
            }
        abweichung /= 3.0 * klein.width() * klein.height();
        QVERIFY2(abweichung < 4, qPrintable(QString::number(abweichung)));

        const std::atomic<bool> abgebrochen{true};
        const Ladeergebnis ab = jpegDekodieren(datei, nenner, &abgebrochen);
        QCOMPARE(ab.fehler, Ladefehler::Abgebrochen);
        QVERIFY(ab.bild.isNull());
    }

    // The largest reduction that still covers the view, counted on the upright picture.
    void verkleinerung_data()
    {
        QTest::addColumn<QSize>("gespeichert");
        QTest::addColumn<int>("orientierung");
        QTest::addColumn<QSize>("mindestens");
        QTest::addColumn<int>("nenner");
        const QSize ansicht(900, 600);
        QTest::newRow("1/8 knapp") << QSize(7193, 4800) << 1 << ansicht << 8;     // 900 x 600
        QTest::newRow("1/8 zu klein") << QSize(7192, 4800) << 1 << ansicht << 4;  // 899 wide
        QTest::newRow("Höhe entscheidet") << QSize(9000, 4792) << 1 << ansicht << 4; // 599 high
        QTest::newRow("hochkant gespeichert, quer gezeigt") << QSize(4800, 7200) << 6 << ansicht << 8;
        QTest::newRow("hochkant ohne Drehung") << QSize(4800, 7200) << 1 << ansicht << 4;
        QTest::newRow("Drehung 8") << QSize(4800, 7200) << 8 << ansicht << 8;
        QTest::newRow("1/2") << QSize(1800, 1200) << 1 << ansicht << 2;
        QTest::newRow("ganz") << QSize(1798, 1200) << 1 << ansicht << 1;
        QTest::newRow("doppelte Pixeldichte") << QSize(7200, 4800) << 1 << QSize(1800, 1200) << 4;
    }
    void verkleinerung()
    {
        QFETCH(QSize, gespeichert);
        QFETCH(int, orientierung);
        QFETCH(QSize, mindestens);
        QFETCH(int, nenner);
        Jpegdatei datei;
        const QByteArray jpeg = rahmen(testbilder::alsJpeg(foto(16, 16)), 0xC0, 8, gespeichert.width(), gespeichert.height());
        datei.kopf = jpegKopfLesen(testbilder::mitOrientierung(jpeg, quint16(orientierung)));
        QCOMPARE(::verkleinerung(datei, mindestens), nenner);
    }

    // Every orientation a camera can write ends upright, as Qt's own reader turns it.
    void wieQtsLeserAufrecht_data()
    {
        QTest::addColumn<int>("orientierung");
        for (int o = 1; o <= 8; ++o)
            QTest::newRow(qPrintable(QString::number(o))) << o;
    }
    void wieQtsLeserAufrecht()
    {
        QFETCH(int, orientierung);
        QImage gespeichert(300, 200, QImage::Format_RGB32);
        const QRgb farben[4] = {qRgb(230, 20, 20), qRgb(20, 230, 20), qRgb(20, 20, 230), qRgb(240, 240, 240)};
        for (int y = 0; y < 200; ++y)
            for (int x = 0; x < 300; ++x)
                gespeichert.setPixel(x, y, farben[(y >= 100) * 2 + (x >= 150)]);
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(QStringLiteral("o.jpg"));
        QVERIFY(testbilder::schreiben(pfad, testbilder::mitOrientierung(testbilder::alsJpeg(gespeichert, 95), quint16(orientierung))));
        QImageReader qt(pfad);
        qt.setAutoTransform(true);
        const QImage erwartet = qt.read();
        const Ladeergebnis geladen = jpegLaden(pfad);
        QCOMPARE(geladen.bild.size(), erwartet.size());
        QCOMPARE(geladen.bild.size(), orientierung >= 5 ? QSize(200, 300) : QSize(300, 200));
        const int b = erwartet.width(), h = erwartet.height();
        for (QPoint p : {QPoint(b / 4, h / 4), QPoint(3 * b / 4, h / 4), QPoint(b / 4, 3 * h / 4), QPoint(3 * b / 4, 3 * h / 4)}) {
            const QColor ist(geladen.bild.pixel(p)), soll(erwartet.pixel(p));
            QVERIFY2(qAbs(ist.red() - soll.red()) < 8 && qAbs(ist.green() - soll.green()) < 8 && qAbs(ist.blue() - soll.blue()) < 8,
                     qPrintable(ist.name() + QStringLiteral(" / ") + soll.name()));
        }
    }
};

QTEST_GUILESS_MAIN(TestBildladen)
#include "test_bildladen.moc"
