#include "codec/Bildladen.h"
#include "codec/JpegDienst.h"
#include "output/Meldungen.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cmath>

#include <cerrno>

#ifdef Q_OS_UNIX
#include <csignal>
#include <sys/resource.h>
#include <unistd.h>
#endif

Q_DECLARE_METATYPE(Kodierung)

namespace {

// Something like a photo: smooth shading, a few hard edges and some grain.
QImage testbild(int w = 300, int h = 200)
{
    QImage bild(w, h, QImage::Format_RGB32);
    quint32 zufall = 12345;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            zufall = zufall * 1103515245u + 12345u;
            const int korn = int((zufall >> 16) % 9) - 4;
            const double dx = x - 0.6 * w, dy = y - 0.4 * h;
            const bool kreis = dx * dx + dy * dy < 0.04 * w * w;
            const int r = kreis ? 220 : 40 + 150 * x / w;
            const int g = kreis ? 40 : 60 + 120 * y / h;
            const int b = (x / 25 + y / 25) % 2 ? 170 : 90;
            bild.setPixel(x, y, qRgb(std::clamp(r + korn, 0, 255), std::clamp(g + korn, 0, 255), std::clamp(b + korn, 0, 255)));
        }
    }
    return bild;
}

double mittlererFehler(const QImage& a, const QImage& b)
{
    double summe = 0;
    for (int y = 0; y < a.height(); ++y)
        for (int x = 0; x < a.width(); ++x) {
            const QRgb p = a.pixel(x, y), q = b.pixel(x, y);
            summe += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) + std::abs(qBlue(p) - qBlue(q));
        }
    return summe / (3.0 * a.width() * a.height());
}

// The marker segments of a JPEG file from SOI up to the first SOS.
struct Segment {
    int marker;
    QByteArray inhalt;
};

QList<Segment> segmente(const QByteArray& jpeg)
{
    QList<Segment> liste;
    if (jpeg.size() < 4 || uchar(jpeg[0]) != 0xFF || uchar(jpeg[1]) != 0xD8)
        return liste;
    int i = 2;
    while (i + 4 <= jpeg.size() && uchar(jpeg[i]) == 0xFF) {
        const int marker = uchar(jpeg[i + 1]);
        const int laenge = uchar(jpeg[i + 2]) * 256 + uchar(jpeg[i + 3]);
        liste.append({marker, jpeg.mid(i + 4, laenge - 2)});
        if (marker == 0xDA)
            break;
        i += 2 + laenge;
    }
    return liste;
}

QByteArray lesen(const QString& datei)
{
    QFile f(datei);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<nicht lesbar>");
}

bool schreiben(const QString& datei, const QByteArray& inhalt)
{
    QFile f(datei);
    return f.open(QIODevice::WriteOnly) && f.write(inhalt) == inhalt.size();
}

} // namespace

class TestJpegDienst : public QObject {
    Q_OBJECT

    JpegDienst* m_jpeg = nullptr;

private slots:
    void init()
    {
        m_jpeg = new JpegDienst;
        QCOMPARE(m_jpeg->GdipStarten(1), 0);
        QVERIFY(m_jpeg->bereit());
    }
    void cleanup()
    {
        delete m_jpeg;
    }

    void qualitaetBestimmtGroesse()
    {
        const QImage bild = testbild();
        const JpegMessung hundert = m_jpeg->JpegMessen(bild, 100);
        const JpegMessung fuenfzig = m_jpeg->JpegMessen(bild, 50);
        QVERIFY(fuenfzig.Groesse > 0);
        QVERIFY(hundert.Groesse > fuenfzig.Groesse);
    }

    void qualitaetWirdBegrenzt_data()
    {
        QTest::addColumn<int>("gegeben");
        QTest::addColumn<int>("gemessen");
        QTest::newRow("120 wie 100") << 120 << 100;
        QTest::newRow("101 wie 100") << 101 << 100;
        QTest::newRow("-5 wie 0") << -5 << 0;
    }
    void qualitaetWirdBegrenzt()
    {
        QFETCH(int, gegeben);
        QFETCH(int, gemessen);
        const QImage bild = testbild();
        const JpegMessung a = m_jpeg->JpegMessen(bild, gegeben);
        const JpegMessung b = m_jpeg->JpegMessen(bild, gemessen);
        QCOMPARE(a.status, 0);
        QCOMPARE(a.Groesse, b.Groesse);
        QCOMPARE(a.daten, b.daten);
    }

    void qualitaetNullGeht()
    {
        const QImage bild = testbild();
        const JpegMessung null = m_jpeg->JpegMessen(bild, 0);
        QCOMPARE(null.status, 0);
        QVERIFY(!null.Bild.isNull());
        QVERIFY(null.Groesse > 0);
        QVERIFY(null.Groesse < m_jpeg->JpegMessen(bild, 50).Groesse);
    }

    void groesseIstDatenlaenge_data()
    {
        QTest::addColumn<int>("qualitaet");
        for (int q : {0, 1, 25, 50, 75, 85, 95, 100})
            QTest::newRow(qPrintable(QString::number(q))) << q;
    }
    void groesseIstDatenlaenge()
    {
        QFETCH(int, qualitaet);
        const JpegMessung m = m_jpeg->JpegMessen(testbild(), qualitaet);
        QCOMPARE(m.Groesse, double(m.daten.size()));
        QVERIFY(m.daten.endsWith("\xFF\xD9"));
    }

    void vorschauIstDasDekodierteBild_data()
    {
        QTest::addColumn<QSize>("groesse");
        QTest::addColumn<int>("qualitaet");
        QTest::addColumn<double>("hoechstensFehler");
        // The grain of the test picture is mostly lost, hence the errors of a few levels.
        QTest::newRow("900 x 600, 85") << QSize(900, 600) << 85 << 6.0;
        QTest::newRow("300 x 200, 95") << QSize(300, 200) << 95 << 5.0;
        QTest::newRow("300 x 200, 50") << QSize(300, 200) << 50 << 8.0;
        QTest::newRow("ungerade 17 x 9") << QSize(17, 9) << 90 << 14.0;
        QTest::newRow("ein Pixel") << QSize(1, 1) << 90 << 8.0;
    }
    void vorschauIstDasDekodierteBild()
    {
        QFETCH(QSize, groesse);
        QFETCH(int, qualitaet);
        QFETCH(double, hoechstensFehler);
        const QImage bild = testbild(groesse.width(), groesse.height());
        const JpegMessung m = m_jpeg->JpegMessen(bild, qualitaet);
        QCOMPARE(m.status, 0);
        QCOMPARE(m.Bild.size(), groesse);
        QCOMPARE(m.Bild.format(), QImage::Format_RGB32);
        const double fehler = mittlererFehler(bild, m.Bild);
        QVERIFY2(fehler <= hoechstensFehler, qPrintable(QString::number(fehler)));
        for (int y = 0; y < groesse.height(); ++y)
            for (int x = 0; x < groesse.width(); ++x)
                QCOMPARE(qAlpha(m.Bild.pixel(x, y)), 255);
        // The preview is what the bytes decode to, not the raster that went in.
        QImage wieder;
        QCOMPARE(m_jpeg->dekodieren(m.daten, wieder), 0);
        QCOMPARE(m.Bild, wieder);
        if (groesse.width() > 100)
            QVERIFY(m.Bild != bild);
    }

    void andereFormate_data()
    {
        QTest::addColumn<int>("format");
        QTest::newRow("ARGB32") << int(QImage::Format_ARGB32);
        QTest::newRow("RGB888") << int(QImage::Format_RGB888);
        QTest::newRow("Graustufen") << int(QImage::Format_Grayscale8);
    }
    void andereFormate()
    {
        QFETCH(int, format);
        const QImage bild = testbild().convertToFormat(QImage::Format(format));
        const JpegMessung m = m_jpeg->JpegMessen(bild, 90);
        QCOMPARE(m.status, 0);
        QCOMPARE(m.Bild.size(), bild.size());
        QVERIFY(mittlererFehler(bild.convertToFormat(QImage::Format_RGB32), m.Bild) < 6.0);
    }

    // Red stays red: the byte order of the raster and of the codec agree.
    void farbenBleiben_data()
    {
        QTest::addColumn<QColor>("farbe");
        QTest::newRow("rot") << QColor(220, 20, 30);
        QTest::newRow("grün") << QColor(30, 200, 40);
        QTest::newRow("blau") << QColor(20, 40, 210);
        QTest::newRow("weiß") << QColor(255, 255, 255);
        QTest::newRow("schwarz") << QColor(0, 0, 0);
    }
    void farbenBleiben()
    {
        QFETCH(QColor, farbe);
        QImage bild(64, 48, QImage::Format_RGB32);
        bild.fill(farbe);
        const QImage vorschau = m_jpeg->JpegMessen(bild, 90).Bild;
        QCOMPARE(vorschau.size(), bild.size());
        const QColor mitte = vorschau.pixelColor(32, 24);
        QVERIFY2(std::abs(mitte.red() - farbe.red()) <= 3 && std::abs(mitte.green() - farbe.green()) <= 3
                     && std::abs(mitte.blue() - farbe.blue()) <= 3,
                 qPrintable(mitte.name()));
    }

    // A plain JFIF file: no Exif, no comment; baseline; 4:2:0; tables made for the picture.
    void dateiaufbau_data()
    {
        QTest::addColumn<int>("qualitaet");
        for (int q : {0, 50, 85, 100})
            QTest::newRow(qPrintable(QString::number(q))) << q;
    }
    void dateiaufbau()
    {
        QFETCH(int, qualitaet);
        const JpegMessung m = m_jpeg->JpegMessen(testbild(), qualitaet);
        const QList<Segment> liste = segmente(m.daten);
        QVERIFY(!liste.isEmpty());
        QCOMPARE(liste.constLast().marker, 0xDA);
        int sof0 = 0;
        for (const Segment& s : liste) {
            QVERIFY2(s.marker != 0xFE, "comment marker");
            QVERIFY2(s.marker < 0xE1 || s.marker > 0xEF, qPrintable(QStringLiteral("APP%1").arg(s.marker - 0xE0)));
            if (s.marker == 0xE0)
                QVERIFY(s.inhalt.startsWith(QByteArray("JFIF\0", 5)));
            // Baseline is SOF0; SOF1..SOF15 (other than DHT, JPG, DAC) would be something else.
            if (s.marker >= 0xC1 && s.marker <= 0xCF && s.marker != 0xC4 && s.marker != 0xC8 && s.marker != 0xCC)
                QFAIL(qPrintable(QStringLiteral("SOF marker %1").arg(s.marker, 2, 16)));
            if (s.marker == 0xC0) {
                ++sof0;
                const QByteArray& f = s.inhalt;
                QCOMPARE(int(uchar(f[0])), 8);                          // precision
                QCOMPARE(uchar(f[1]) * 256 + uchar(f[2]), 200);         // height
                QCOMPARE(uchar(f[3]) * 256 + uchar(f[4]), 300);         // width
                QCOMPARE(int(uchar(f[5])), 3);                          // components
                QCOMPARE(int(uchar(f[6 + 1])), 0x22);                   // Y: 2 x 2
                QCOMPARE(int(uchar(f[9 + 1])), 0x11);                   // Cb: 1 x 1
                QCOMPARE(int(uchar(f[12 + 1])), 0x11);                  // Cr: 1 x 1
            }
        }
        QCOMPARE(sof0, 1);
    }

    // Each coding writes what it says and decodes back close to the picture.
    void varianten_data()
    {
        QTest::addColumn<Kodierung>("kodierung");
        QTest::addColumn<int>("sof");
        QTest::addColumn<int>("lumaAbtastung");
        QTest::addColumn<int>("zweiterLumaSchritt"); // DQT, zigzag position 1, at quality 50
        using T = Kodierung::Tabellen;
        QTest::newRow("einfach") << einfacheKodierung << 0xC0 << 0x22 << 11;
        QTest::newRow("progressiv") << Kodierung{true, false, T::Standard} << 0xC2 << 0x22 << 11;
        QTest::newRow("4:4:4") << Kodierung{false, true, T::Standard} << 0xC0 << 0x11 << 11;
        QTest::newRow("Robidoux") << Kodierung{false, false, T::Robidoux} << 0xC0 << 0x22 << 16;
        QTest::newRow("progressiv 4:4:4 Robidoux") << Kodierung{true, true, T::Robidoux} << 0xC2 << 0x11 << 16;
    }
    void varianten()
    {
        QFETCH(Kodierung, kodierung);
        QFETCH(int, sof);
        QFETCH(int, lumaAbtastung);
        QFETCH(int, zweiterLumaSchritt);
        m_jpeg->setzeKodierung(kodierung);
        const QImage bild = testbild();
        const JpegMessung m50 = m_jpeg->JpegMessen(bild, 50);
        int rahmen = 0;
        for (const Segment& s : segmente(m50.daten)) {
            if (s.marker >= 0xC0 && s.marker <= 0xC2) {
                ++rahmen;
                QCOMPARE(s.marker, sof);
                QCOMPARE(int(uchar(s.inhalt[7])), lumaAbtastung);
                QCOMPARE(int(uchar(s.inhalt[10])), 0x11);
            }
            if (s.marker == 0xDB && uchar(s.inhalt[0]) == 0x00)
                QCOMPARE(int(uchar(s.inhalt[2])), zweiterLumaSchritt);
        }
        QCOMPARE(rahmen, 1);
        const JpegMessung m90 = m_jpeg->JpegMessen(bild, 90);
        QCOMPARE(m90.status, 0);
        QVERIFY2(mittlererFehler(bild, m90.Bild) < 4.5, qPrintable(QString::number(mittlererFehler(bild, m90.Bild))));
        // The program's own loader takes the file as it is (a progressive one is complete).
        QCOMPARE(jpegDekodieren(m90.daten).bild, m90.Bild);
        // Kept encodes belong to their coding.
        m_jpeg->setzeKodierung(einfacheKodierung);
        QByteArray einfach;
        QCOMPARE(m_jpeg->kodieren(bild, 90, einfach), 0);
        QCOMPARE(einfach == m90.daten, kodierung == einfacheKodierung);
    }

    // Huffman tables made for the picture, not the example tables of the JPEG standard.
    void huffmanTabellenOptimiert()
    {
        const QByteArray standardAcLuminanz("\x00\x02\x01\x03\x03\x02\x04\x03\x05\x05\x04\x04\x00\x00\x01\x7d", 16);
        const JpegMessung m = m_jpeg->JpegMessen(testbild(), 85);
        int tabellen = 0;
        for (const Segment& s : segmente(m.daten)) {
            if (s.marker != 0xC4)
                continue;
            // A DHT segment may hold several tables: class/id byte, 16 counts, the values.
            int i = 0;
            while (i + 17 <= s.inhalt.size()) {
                const int klasseId = uchar(s.inhalt[i]);
                const QByteArray anzahlen = s.inhalt.mid(i + 1, 16);
                int werte = 0;
                for (char c : anzahlen)
                    werte += uchar(c);
                if (klasseId == 0x10)
                    QVERIFY(anzahlen != standardAcLuminanz);
                ++tabellen;
                i += 17 + werte;
            }
        }
        QCOMPARE(tabellen, 4);
    }

    // Kept encodes stand for the picture as it is: a change of its pixels, or another
    // picture in between, never hands out old bytes.
    void gemerkteKodierungen()
    {
        QImage bild = testbild();
        const auto frisch = [](const QImage& b, int q) {
            JpegDienst neu;
            neu.GdipStarten(1);
            QByteArray d;
            neu.kodieren(b, q, d);
            return d;
        };
        QByteArray d;
        for (int q : {80, 60, 80}) {
            QCOMPARE(m_jpeg->kodieren(bild, q, d), 0);
            QCOMPARE(d, frisch(bild, q));
        }
        QImage kopie = bild; // shares the pixels
        QCOMPARE(m_jpeg->kodieren(kopie, 80, d), 0);
        QCOMPARE(d, frisch(bild, 80));
        bild.setPixel(150, 100, qRgb(255, 0, 255));
        QCOMPARE(m_jpeg->kodieren(bild, 80, d), 0);
        QCOMPARE(d, frisch(bild, 80));
        QVERIFY(d != frisch(kopie, 80));
        m_jpeg->setzeProgressiv(true);
        QCOMPARE(m_jpeg->kodieren(bild, 80, d), 0);
        QCOMPARE(d, [&] {
            JpegDienst neu;
            neu.GdipStarten(1);
            neu.setzeProgressiv(true);
            QByteArray p;
            neu.kodieren(bild, 80, p);
            return p;
        }());
    }

    void leeresBildIstUngueltig()
    {
        const JpegMessung m = m_jpeg->JpegMessen(QImage(), 85);
        QCOMPARE(m.status, 2);
        QVERIFY(m.Bild.isNull());
        QCOMPARE(m.Groesse, 0.0);
    }

    // JPEG ends at 65500 pixels a side: libjpeg refuses, the status says so, and the service
    // works on afterwards.
    void kodiererFehlerUndWeiter()
    {
        QImage zuBreit(70000, 2, QImage::Format_RGB32);
        zuBreit.fill(Qt::darkGreen);
        const JpegMessung m = m_jpeg->JpegMessen(zuBreit, 85);
        QCOMPARE(m.status, 1);
        QVERIFY(m.Bild.isNull());
        QCOMPARE(m.Groesse, 0.0);
        QVERIFY(m.daten.isEmpty());

        const JpegMessung danach = m_jpeg->JpegMessen(testbild(), 85);
        QCOMPARE(danach.status, 0);
        QCOMPARE(danach.daten, m_jpeg->JpegMessen(testbild(), 85).daten);
    }

    void kaputteDatenDekodierenNicht_data()
    {
        QTest::addColumn<QByteArray>("daten");
        QTest::newRow("kein JPEG") << QByteArray("das ist kein Bild, nur Text");
        QTest::newRow("leer") << QByteArray();
        QTest::newRow("nur der Anfang") << QByteArray("\xFF\xD8\xFF\xE0\x00\x10JFIF", 11);
    }
    void kaputteDatenDekodierenNicht()
    {
        QFETCH(QByteArray, daten);
        QImage bild = testbild();
        QCOMPARE(m_jpeg->dekodieren(daten, bild), daten.isEmpty() ? 2 : 1);
        QVERIFY(bild.isNull());
    }

    void abgeschnitteneDatenDekodierenNicht()
    {
        const QByteArray ganz = m_jpeg->JpegMessen(testbild(), 90).daten;
        QImage bild;
        QCOMPARE(m_jpeg->dekodieren(ganz.left(ganz.size() / 2), bild), 1);
        QVERIFY(bild.isNull());
    }

    void nichtGestartet()
    {
        JpegDienst aus;
        QVERIFY(!aus.bereit());
        const JpegMessung m = aus.JpegMessen(testbild(), 85);
        QVERIFY(m.Bild.isNull());
        QCOMPARE(m.Groesse, 0.0);
        QCOMPARE(m.status, 18);
        const JpegMessung gut = m_jpeg->JpegMessen(testbild(), 85);
        QTemporaryDir ordner;
        const QString datei = ordner.filePath(QStringLiteral("nie.jpg"));
        QCOMPARE(aus.JpegSpeichern(gut, datei), 18);
        QVERIFY(!QFile::exists(datei));
    }

    void beendenUndNeuStarten()
    {
        const QByteArray vorher = m_jpeg->JpegMessen(testbild(), 70).daten;
        m_jpeg->GdipBeenden();
        QVERIFY(!m_jpeg->bereit());
        QCOMPARE(m_jpeg->JpegMessen(testbild(), 70).status, 18);
        m_jpeg->GdipBeenden(); // twice does no harm
        QCOMPARE(m_jpeg->GdipStarten(1), 0);
        QCOMPARE(m_jpeg->GdipStarten(1), 0); // already started
        QCOMPARE(m_jpeg->JpegMessen(testbild(), 70).daten, vorher);
    }

    void nurVersionEins()
    {
        JpegDienst dienst;
        QCOMPARE(dienst.GdipStarten(2), 17);
        QVERIFY(!dienst.bereit());
    }

    void speichernSchreibtGenauDieDaten()
    {
        QTemporaryDir ordner;
        const JpegMessung m = m_jpeg->JpegMessen(testbild(), 80);
        const QString datei = ordner.filePath(QStringLiteral("falter.jpg"));
        QCOMPARE(m_jpeg->JpegSpeichern(m, datei), 0);
        QCOMPARE(lesen(datei), m.daten);
        // An existing file is replaced.
        const JpegMessung zweite = m_jpeg->JpegMessen(testbild(), 60);
        QCOMPARE(m_jpeg->JpegSpeichern(zweite, datei), 0);
        QCOMPARE(lesen(datei), zweite.daten);
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("falter.jpg")});
    }

    void speichernOhneDatenIstUngueltig()
    {
        QTemporaryDir ordner;
        const QString datei = ordner.filePath(QStringLiteral("leer.jpg"));
        QCOMPARE(m_jpeg->JpegSpeichern(JpegMessung(), datei), 2);
        QVERIFY(!QFile::exists(datei));
    }

    // A save that cannot succeed reports it with its status and the system's reason, and
    // changes nothing on disk.
    void speichernScheitertOhneSchaden_data()
    {
        QTest::addColumn<QString>("ziel"); // relative to a scratch folder holding vorhanden.jpg and ordner/drin.jpg
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("grund"); // %1: the full path of ziel, %2: of the scratch folder
        QTest::newRow("fehlender Ordner") << "gibtsnicht/neu.jpg" << 7 << "Der Ordner existiert nicht.";
        QTest::newRow("Pfad ist ein Ordner") << "ordner" << 7 << "„%1“ ist ein Ordner.";
        QTest::newRow("Ordner ist eine Datei") << "vorhanden.jpg/neu.jpg" << 7 << "Der Ordner existiert nicht.";
        QTest::newRow("schreibgeschützte Datei") << "nurlesen.jpg" << 12 << "Keine Schreibberechtigung für „%1“.";
        QTest::newRow("schreibgeschützter Ordner") << "zu/neu.jpg" << 12 << "Keine Schreibberechtigung für den Ordner „%2/zu“.";
    }
    void speichernScheitertOhneSchaden()
    {
        QFETCH(QString, ziel);
        QFETCH(int, status);
        QFETCH(QString, grund);
        if (ziel.startsWith(u"zu/") && geteuid() == 0)
            QSKIP("the administrator may write into any folder");
        QTemporaryDir ordner;
        const QDir dir(ordner.path());
        QVERIFY(schreiben(dir.filePath(QStringLiteral("vorhanden.jpg")), "ALTER INHALT"));
        QVERIFY(dir.mkdir(QStringLiteral("ordner")));
        QVERIFY(schreiben(dir.filePath(QStringLiteral("ordner/drin.jpg")), "DRIN"));
        QVERIFY(schreiben(dir.filePath(QStringLiteral("nurlesen.jpg")), "NUR LESEN"));
        QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("nurlesen.jpg")), QFile::ReadOwner | QFile::ReadGroup));
        QVERIFY(dir.mkdir(QStringLiteral("zu")));
        QVERIFY(QFile::setPermissions(dir.filePath(QStringLiteral("zu")), QFile::ReadOwner | QFile::ExeOwner));
        const auto vorher = [&] {
            QStringList alles = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            for (const QString& u : {QStringLiteral("ordner"), QStringLiteral("zu")})
                alles << QDir(dir.filePath(u)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
            return alles;
        }();

        const JpegMessung m = m_jpeg->JpegMessen(testbild(), 80);
        QCOMPARE(m_jpeg->JpegSpeichern(m, dir.filePath(ziel)), status);
        // The service only reports; the window shows the box.
        QCOMPARE(speicherfehlerText(m_jpeg->letzterSpeicherfehler()), grund.arg(dir.filePath(ziel), dir.path()));

        QCOMPARE(lesen(dir.filePath(QStringLiteral("vorhanden.jpg"))), QByteArray("ALTER INHALT"));
        QCOMPARE(lesen(dir.filePath(QStringLiteral("nurlesen.jpg"))), QByteArray("NUR LESEN"));
        QCOMPARE(lesen(dir.filePath(QStringLiteral("ordner/drin.jpg"))), QByteArray("DRIN"));
        QStringList nachher = dir.entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        for (const QString& u : {QStringLiteral("ordner"), QStringLiteral("zu")})
            nachher << QDir(dir.filePath(u)).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot);
        QCOMPARE(nachher, vorher);
        QFile::setPermissions(dir.filePath(QStringLiteral("zu")), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    // The disk fills up while the new file is written: the old one stays as it was.
    // A small file fills up in one piece, a large one after a first part.
    void speichernVolleFestplatte_data()
    {
        QTest::addColumn<int>("qualitaet");
        QTest::newRow("klein") << 20;
        QTest::newRow("groß") << 95;
    }
    void speichernVolleFestplatte()
    {
#ifdef Q_OS_UNIX
        QFETCH(int, qualitaet);
        QTemporaryDir ordner;
        const QString datei = ordner.filePath(QStringLiteral("falter.jpg"));
        QVERIFY(schreiben(datei, "ALTER INHALT"));
        const JpegMessung m = m_jpeg->JpegMessen(testbild(), qualitaet);
        QVERIFY(m.daten.size() > 1000);

        // A file size limit stands in for the full disk: writing beyond it fails with EFBIG.
        rlimit vorher{};
        QCOMPARE(getrlimit(RLIMIT_FSIZE, &vorher), 0);
        const auto signalVorher = std::signal(SIGXFSZ, SIG_IGN);
        rlimit eng = vorher;
        eng.rlim_cur = rlim_t(m.daten.size() / 2);
        QCOMPARE(setrlimit(RLIMIT_FSIZE, &eng), 0);
        const int status = m_jpeg->JpegSpeichern(m, datei);
        setrlimit(RLIMIT_FSIZE, &vorher);
        std::signal(SIGXFSZ, signalVorher);

        QCOMPARE(status, 7);
        QCOMPARE(m_jpeg->letzterSpeicherfehler().art, Speicherfehler::Art::System);
        QCOMPARE(m_jpeg->letzterSpeicherfehler().fehlernummer, EFBIG);
        QCOMPARE(lesen(datei), QByteArray("ALTER INHALT"));
        QCOMPARE(QDir(ordner.path()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("falter.jpg")});
#else
        QSKIP("needs a file size limit");
#endif
    }
};

QTEST_MAIN(TestJpegDienst)
#include "test_jpegdienst.moc"
