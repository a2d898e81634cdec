// Files that are no photo, or a broken one: each is refused with its reason, quickly,
// and the picture on show stays as it was.
#include "codec/Bildladen.h"
#include "app/Form1.h"
#include "platform/Flaechen.h"

#include "Fensterhilfe.h"
#include "TestBilder.h"
#include "TestDienste.h"

#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QImageWriter>
#include <QLabel>
#include <QTemporaryDir>
#include <QTest>
#include <QTransform>

#include <atomic>
#include <thread>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

using namespace fensterhilfe;

namespace {

QString nachricht(const QString& pfad, const QString& grund)
{
    return QStringLiteral("Die Datei „%1“ kann nicht als JPEG-Bild gelesen werden.\r\n%2").arg(QDir::toNativeSeparators(pfad), grund);
}

const QString beschaedigt = QStringLiteral("Die Bilddaten sind unvollständig oder beschädigt.");

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

// Where the baseline frame header starts, found by walking the marker segments.
qsizetype sofPosition(const QByteArray& jpeg)
{
    qsizetype pos = 2;
    while (pos + 4 <= jpeg.size() && uchar(jpeg[pos]) == 0xFF) {
        if (uchar(jpeg[pos + 1]) == 0xC0)
            return pos;
        pos += 2 + (uchar(jpeg[pos + 2]) << 8 | uchar(jpeg[pos + 3]));
    }
    return -1;
}

// The frame header given another marker, precision or size.
QByteArray rahmen(QByteArray jpeg, int marke, int bits, int breite = -1, int hoehe = -1)
{
    const qsizetype sof = sofPosition(jpeg);
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

class TestLadefehler : public QObject {
    Q_OBJECT
    QTemporaryDir m_ordner;

    QString datei(const QString& name, const QByteArray& daten)
    {
        const QString pfad = m_ordner.filePath(name);
        testbilder::schreiben(pfad, daten);
        return pfad;
    }

private slots:
    void initTestCase() { testUmgebungEinrichten(); }
    void init() { QVERIFY(ohneStartmeldung()); }

    // Anything but a regular file is refused before it is opened: a pipe would hold the
    // program until someone writes into it, a device would be read without end.
    void nurGewoehnlicheDateien_data()
    {
        QTest::addColumn<QString>("art");
        QTest::addColumn<QString>("grund");
        const QString keine = QStringLiteral("Sie ist keine gewöhnliche Datei, sondern ein Gerät, eine Pipe oder ein Socket.");
        QTest::newRow("Pipe") << "pipe" << keine;
        QTest::newRow("Verknüpfung auf /dev/zero") << "zero" << keine;
        QTest::newRow("Ordner") << "ordner" << QStringLiteral("Sie ist ein Ordner.");
        QTest::newRow("Verknüpfung auf einen Ordner") << "ordnerlink" << QStringLiteral("Sie ist ein Ordner.");
        QTest::newRow("Verknüpfung ins Leere") << "leer" << QStringLiteral("Sie ist nicht (mehr) vorhanden.");
    }
    void nurGewoehnlicheDateien()
    {
        QFETCH(QString, art);
        QFETCH(QString, grund);
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
        TestDienste dienste;
        Form1 f;
        QElapsedTimer uhr;
        uhr.start();
        oeffnen(f, dienste, pfad);
        const qint64 dauer = uhr.elapsed();
        fertig = true;
        schreiber.join();
        QCOMPARE(dienste.meldungen.size(), 1);
        QCOMPARE(dienste.meldungen[0].text, nachricht(pfad, grund));
        QVERIFY2(dauer < 2000, qPrintable(QString::number(dauer)));
        QCOMPARE(f.findChild<QLabel*>(QStringLiteral("lblQ"))->text(), QString());
    }

    // Data that reports damage or a gap is refused like a cut-off file, never shown grey.
    void beschaedigteDaten_data()
    {
        QTest::addColumn<QByteArray>("inhalt");
        const QByteArray gut = testbilder::alsJpeg(foto(640, 480), 90);
        QTest::newRow("auf 10 % gekürzt, Endmarke angehängt") << gut.left(gut.size() / 10) + eoi;
        QByteArray marke = gut;
        marke.replace(gut.size() / 2, 2, QByteArray("\xFF\xE0", 2));
        QTest::newRow("eine Marke mitten in den Bilddaten") << marke;
        const QByteArray prog = progressiv(foto(640, 480));
        QTest::newRow("progressiv, nach dem 3. Scan abgeschnitten") << bisScan(prog, 3);
        QTest::newRow("progressiv, mitten im 3. Scan abgeschnitten")
            << prog.left(prog.indexOf(QByteArray("\xFF\xDA", 2), prog.indexOf(QByteArray("\xFF\xDA", 2)) + 1) + 300) + eoi;
        // 161 bytes whose header claims 144 megapixels: no JPEG holds that in so little.
        const QByteArray winzig = testbilder::alsJpeg(QImage(8, 8, QImage::Format_Grayscale8), 10);
        QTest::newRow("12000 x 12000 in wenigen Bytes") << rahmen(winzig, 0xC0, 8, 12000, 12000);
    }
    void beschaedigteDaten()
    {
        QFETCH(QByteArray, inhalt);
        const QString pfad = datei(QStringLiteral("kaputt.jpg"), inhalt);
        const Ladeergebnis e = jpegLaden(pfad);
        QVERIFY(e.bild.isNull());
        QCOMPARE(e.grund, beschaedigt);
    }

    void ganzeDatenSindGut()
    {
        // The same files whole load, so the refusals above are the damage's doing.
        const QByteArray prog = progressiv(foto(640, 480));
        const Ladeergebnis e = jpegLaden(datei(QStringLiteral("ganz.jpg"), prog));
        QCOMPARE(e.grund, QString());
        QCOMPARE(e.bild.size(), QSize(640, 480));
        // Bytes after the end marker, as some cameras leave them, do no harm.
        const Ladeergebnis f = jpegLaden(datei(QStringLiteral("anhang.jpg"), testbilder::alsJpeg(foto(64, 48)) + "Nachspann"));
        QCOMPARE(f.grund, QString());
    }

    // A kind of JPEG the decoder does not handle is named as such, not as damage.
    void nichtUnterstuetzteArten_data()
    {
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QString>("grund");
        const QByteArray gut = testbilder::alsJpeg(foto(64, 48), 90);
        QTest::newRow("verlustfrei") << rahmen(gut, 0xC3, 8) << QStringLiteral("Diese JPEG-Art wird nicht unterstützt (verlustfrei komprimiert).");
        QTest::newRow("12 Bit") << rahmen(gut, 0xC1, 12) << QStringLiteral("Diese JPEG-Art wird nicht unterstützt (12 Bit je Farbkanal).");
        QTest::newRow("hierarchisch") << rahmen(gut, 0xC5, 8) << QStringLiteral("Diese JPEG-Art wird nicht unterstützt (hierarchisch aufgebaut).");
        QTest::newRow("Höhe erst am Ende") << rahmen(gut, 0xC0, 8, 64, 0)
                                            << QStringLiteral("Diese JPEG-Art wird nicht unterstützt (Höhe erst am Ende angegeben).");
        QTest::newRow("kein JPEG") << QByteArray("GIF89a und so weiter") << QStringLiteral("Sie enthält kein JPEG-Bild.");
    }
    void nichtUnterstuetzteArten()
    {
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, grund);
        const QString pfad = datei(QStringLiteral("art.jpg"), inhalt);
        TestDienste dienste;
        Form1 f;
        oeffnen(f, dienste, pfad);
        QCOMPARE(dienste.meldungen.size(), 1);
        QCOMPARE(dienste.meldungen[0].text, nachricht(pfad, grund));
    }

    // The count of a picture above the limit differs from the limit in the message.
    void megapixelUeberDerGrenze_data()
    {
        QTest::addColumn<int>("breite");
        QTest::addColumn<int>("hoehe");
        QTest::addColumn<QString>("zahl");
        QTest::newRow("150,01") << 15001 << 10000 << QStringLiteral("150,01");
        QTest::newRow("knapp darüber") << 12247 << 12248 << QStringLiteral("150,001");
        QTest::newRow("weit darüber") << 20000 << 10000 << QStringLiteral("200");
        QTest::newRow("gerundet") << 15049 << 10000 << QStringLiteral("150,5");
        QTest::newRow("ganz oben") << 65535 << 65535 << QStringLiteral("4295");
    }
    void megapixelUeberDerGrenze()
    {
        QFETCH(int, breite);
        QFETCH(int, hoehe);
        QFETCH(QString, zahl);
        const QByteArray kopf = rahmen(testbilder::alsJpeg(foto(64, 48), 90), 0xC0, 8, breite, hoehe);
        const Ladeergebnis e = jpegLaden(datei(QStringLiteral("gross.jpg"), kopf));
        QVERIFY(e.bild.isNull());
        QCOMPARE(e.grund, QStringLiteral("Das Bild ist mit %1 Megapixeln zu groß; Fotoschliff verarbeitet Bilder bis 150 Megapixel.").arg(zahl));
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
};

QTEST_MAIN(TestLadefehler)
#include "test_ladefehler.moc"
