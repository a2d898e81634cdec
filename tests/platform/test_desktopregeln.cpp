#include "platform/Fensterlage.h"
#include "platform/Ordnerfolge.h"
#include "platform/Uebergabe.h"

#include <QDir>
#include <QMimeData>
#include <QTemporaryDir>
#include <QTest>
#include <QUrl>

class TestDesktopregeln : public QObject {
    Q_OBJECT
private slots:
    // A secondary window in the middle of its main window, pushed back onto the
    // screen (frame included) where the main window reaches beyond it.
    void zentriertUeber_data()
    {
        QTest::addColumn<QSize>("groesse");
        QTest::addColumn<QRect>("bezug");
        QTest::addColumn<QMargins>("rahmen");
        QTest::addColumn<QPoint>("erwartet");
        const QMargins ohne;
        const QMargins titel(4, 22, 4, 4);
        QTest::newRow("mittig") << QSize(530, 434) << QRect(111, 28, 1058, 743) << ohne << QPoint(375, 182);
        QTest::newRow("ungerade Rest abgerundet") << QSize(101, 51) << QRect(0, 0, 200, 100) << ohne << QPoint(49, 24);
        QTest::newRow("Bezug links draußen") << QSize(400, 300) << QRect(-900, 100, 1000, 600) << titel << QPoint(4, 250);
        QTest::newRow("Bezug rechts unten draußen") << QSize(400, 300) << QRect(1200, 700, 1000, 600) << titel
                                                     << QPoint(1280 - 4 - 400, 800 - 4 - 300);
        QTest::newRow("größer als der Bildschirm: Titel bleibt sichtbar")
            << QSize(1500, 900) << QRect(0, 0, 1280, 800) << titel << QPoint(4, 22);
        QTest::newRow("Bildschirm mit Versatz") << QSize(200, 100) << QRect(1280, 0, 400, 300) << ohne << QPoint(1380, 100);
    }
    void zentriertUeber()
    {
        QFETCH(QSize, groesse);
        QFETCH(QRect, bezug);
        QFETCH(QMargins, rahmen);
        QFETCH(QPoint, erwartet);
        const QRect bildschirm = bezug.x() >= 1280 ? QRect(1280, 0, 1920, 1080) : QRect(0, 0, 1280, 800);
        QCOMPARE(::zentriertUeber(groesse, bezug, bildschirm, rahmen), QRect(erwartet, groesse));
    }

    void lageErreichbar_data()
    {
        QTest::addColumn<QRect>("lage");
        QTest::addColumn<bool>("erreichbar");
        QTest::newRow("ganz sichtbar") << QRect(100, 100, 1058, 743) << true;
        QTest::newRow("auf dem zweiten Bildschirm") << QRect(2000, 100, 800, 600) << true;
        QTest::newRow("hinter allen Bildschirmen") << QRect(5000, 5000, 800, 600) << false;
        QTest::newRow("links daneben") << QRect(-900, 100, 800, 600) << false;
        QTest::newRow("100 x 40 sichtbar") << QRect(-700, 760, 800, 600) << true;
        QTest::newRow("99 breit sichtbar") << QRect(-701, 100, 800, 600) << false;
        QTest::newRow("39 hoch sichtbar") << QRect(100, 761, 800, 600) << false;
        QTest::newRow("in der Lücke unter dem kleineren") << QRect(100, 900, 800, 100) << false;
        QTest::newRow("kleines Fenster ganz sichtbar") << QRect(10, 10, 50, 20) << true;
        QTest::newRow("leer") << QRect() << false;
    }
    void lageErreichbar()
    {
        QFETCH(QRect, lage);
        QFETCH(bool, erreichbar);
        const QList<QRect> bildschirme = {QRect(0, 0, 1280, 800), QRect(1280, 0, 1920, 1080)};
        QCOMPARE(::lageErreichbar(lage, bildschirme), erreichbar);
    }

    // The main window on the screens: a 1600 x 1000 primary screen and a 1280 x 1024 one
    // right of it, or a small screen of 1366 x 768 whose panel takes the bottom 27 pixels;
    // the window frame 4, 32, 4, 4 and the minimum 760 x 660.
    void fensterPlatz_data()
    {
        QTest::addColumn<QList<QRect>>("bildschirme");
        QTest::addColumn<QRect>("lage");
        QTest::addColumn<QRect>("erwartet");
        const QList<QRect> zwei = {QRect(0, 0, 1600, 1000), QRect(1600, 0, 1280, 1024)};
        const QList<QRect> klein = {QRect(0, 0, 1366, 741)};
        const QRect keine;
        QTest::newRow("erster Start") << zwei << keine << QRect(271, 128, 1058, 743);
        QTest::newRow("erster Start, kleiner Bildschirm") << klein << keine << QRect(154, 32, 1058, 705);
        QTest::newRow("erster Start, zu kleiner Bildschirm: Mindesthöhe, Titel sichtbar")
            << QList<QRect>{QRect(0, 0, 1024, 600)} << keine << QRect(4, 32, 1016, 660);
        QTest::newRow("erster Start, Bildschirm mit Versatz") << QList<QRect>{QRect(0, 24, 1366, 744)} << keine
                                                              << QRect(154, 56, 1058, 708);
        QTest::newRow("ganz sichtbar") << zwei << QRect(100, 100, 1000, 700) << QRect(100, 100, 1000, 700);
        QTest::newRow("über beide Bildschirme") << zwei << QRect(1000, 100, 1200, 700) << QRect(1000, 100, 1200, 700);
        QTest::newRow("Titel über dem oberen Rand") << zwei << QRect(100, 10, 1000, 700) << QRect(100, 32, 1000, 700);
        QTest::newRow("rechts hinaus") << zwei << QRect(2200, 100, 1000, 700) << QRect(1876, 100, 1000, 700);
        QTest::newRow("links hinaus") << zwei << QRect(-300, 100, 1000, 700) << QRect(4, 100, 1000, 700);
        QTest::newRow("unter den kleineren Bildschirm") << zwei << QRect(1700, 400, 1000, 700) << QRect(1700, 320, 1000, 700);
        QTest::newRow("in der Lücke unter dem kleineren") << zwei << QRect(900, 300, 1000, 700) << QRect(596, 296, 1000, 700);
        QTest::newRow("größer als der Bildschirm") << klein << QRect(50, 40, 1500, 900) << QRect(4, 32, 1358, 705);
        QTest::newRow("größer, nicht unter die Mindestgröße") << QList<QRect>{QRect(0, 0, 1024, 600)} << QRect(10, 40, 1000, 700)
                                                              << QRect(10, 32, 1000, 660);
        QTest::newRow("kaum noch sichtbar: vergessen") << zwei << QRect(-950, 100, 1000, 700) << QRect(271, 128, 1058, 743);
    }
    void fensterPlatz()
    {
        QFETCH(QList<QRect>, bildschirme);
        QFETCH(QRect, lage);
        QFETCH(QRect, erwartet);
        QCOMPARE(::fensterPlatz(lage, QSize(1058, 743), QSize(760, 660), bildschirme, QMargins(4, 32, 4, 4)), erwartet);
    }

    // Bild↓ / Bild↑ go through a folder's JPEGs as a German file manager lists them.
    void jpegReihenfolge_data()
    {
        QTest::addColumn<QStringList>("namen");
        QTest::addColumn<QStringList>("erwartet");
        QTest::newRow("Zahlen nach Wert") << QStringList{"IMG_10.jpg", "IMG_100.jpg", "IMG_9.jpg"}
                                          << QStringList{"IMG_9.jpg", "IMG_10.jpg", "IMG_100.jpg"};
        QTest::newRow("Groß und klein") << QStringList{"b.jpg", "C.JPG", "a.jpeg", "img_11.jpg", "IMG_10.JPG"}
                                        << QStringList{"a.jpeg", "b.jpg", "C.JPG", "IMG_10.JPG", "img_11.jpg"};
        QTest::newRow("Umlaute bei ihren Buchstaben") << QStringList{"Zwerg.jpg", "Äpfel.jpg", "Birne.jpg", "Apfel.jpg", "Öl.jpg", "Ofen.jpg"}
                                                      << QStringList{"Apfel.jpg", "Äpfel.jpg", "Birne.jpg", "Ofen.jpg", "Öl.jpg", "Zwerg.jpg"};
        QTest::newRow("nur JPEGs") << QStringList{"notiz.txt", "bild.png", "foto.jpg.bak", "a.jpg", "RAW.CR2", "jpg", "b.JPEG"}
                                   << QStringList{"a.jpg", "b.JPEG"};
    }
    void jpegReihenfolge()
    {
        QFETCH(QStringList, namen);
        QFETCH(QStringList, erwartet);
        QCOMPARE(::jpegReihenfolge(namen), erwartet);
    }

    void nachbarName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("richtung");
        QTest::addColumn<QString>("erwartet");
        QTest::newRow("nächstes") << "IMG_9.jpg" << +1 << "IMG_10.jpg";
        QTest::newRow("voriges") << "IMG_10.jpg" << -1 << "IMG_9.jpg";
        QTest::newRow("nach dem letzten") << "IMG_11.jpg" << +1 << "";
        QTest::newRow("vor dem ersten") << "IMG_9.jpg" << -1 << "";
        QTest::newRow("gelöschte Datei") << "IMG_9b.jpg" << +1 << "IMG_10.jpg";
        QTest::newRow("Name zwischen zwei JPEGs") << "IMG_10.png" << -1 << "IMG_10.jpg";
    }
    void nachbarName()
    {
        QFETCH(QString, name);
        QFETCH(int, richtung);
        QFETCH(QString, erwartet);
        const QStringList ordner{"IMG_9.jpg", "IMG_10.jpg", "IMG_11.jpg"};
        QCOMPARE(::nachbarName(ordner, name, richtung), erwartet);
    }

    // The open dialog's recent folders: the last one in front, each once, eight at most.
    void ordnerVerlauf_data()
    {
        QTest::addColumn<QStringList>("bisher");
        QTest::addColumn<QString>("ordner");
        QTest::addColumn<QStringList>("erwartet");
        const QStringList acht{"/1", "/2", "/3", "/4", "/5", "/6", "/7", "/8"};
        QTest::newRow("neu") << QStringList{"/a", "/b"} << "/c" << QStringList{"/c", "/a", "/b"};
        QTest::newRow("schon da") << QStringList{"/a", "/b"} << "/b" << QStringList{"/b", "/a"};
        QTest::newRow("mit Schrägstrich am Ende") << QStringList{"/a", "/b"} << "/b/" << QStringList{"/b", "/a"};
        QTest::newRow("der älteste fällt weg") << acht << "/9" << QStringList{"/9", "/1", "/2", "/3", "/4", "/5", "/6", "/7"};
        QTest::newRow("leer") << QStringList{"/a"} << "" << QStringList{"/a"};
    }
    void ordnerVerlauf()
    {
        QFETCH(QStringList, bisher);
        QFETCH(QString, ordner);
        QFETCH(QStringList, erwartet);
        QCOMPARE(::ordnerVerlauf(bisher, ordner), erwartet);
    }

    void dateiAusArgument_data()
    {
        QTest::addColumn<QString>("argument");
        QTest::addColumn<QString>("pfad");
        const QString hier = QDir::currentPath();
        QTest::newRow("absoluter Pfad") << "/home/anna/Bilder/falter.jpg" << "/home/anna/Bilder/falter.jpg";
        QTest::newRow("relativer Pfad") << "bilder/../falter.JPG" << hier + "/falter.JPG";
        QTest::newRow("file-URL mit Blank und Umlaut") << "file:///home/anna/Gr%C3%BCne%20Wiese.jpg"
                                                        << QString::fromUtf8("/home/anna/Grüne Wiese.jpg");
        QTest::newRow("FILE groß geschrieben") << "FILE:///tmp/a.jpg" << "/tmp/a.jpg";
        QTest::newRow("file://localhost") << "file://localhost/tmp/a.jpg" << "/tmp/a.jpg";
        QTest::newRow("file://LOCALHOST") << "file://LOCALHOST/tmp/a.jpg" << "/tmp/a.jpg";
        QTest::newRow("Prozent im Pfad bleibt") << "/tmp/100%20.jpg" << "/tmp/100%20.jpg";
        QTest::newRow("andere URL wird ein Pfad") << "https://example.org/a.jpg" << hier + "/https:/example.org/a.jpg";
        QTest::newRow("leer") << "" << "";
    }
    void dateiAusArgument()
    {
        QFETCH(QString, argument);
        QFETCH(QString, pfad);
        QCOMPARE(::dateiAusArgument(argument), pfad);
    }

    void startDateiIstDasErsteArgument()
    {
        QCOMPARE(startDatei({QStringLiteral("fotoschliff")}), QString());
        QCOMPARE(startDatei({QStringLiteral("fotoschliff"), QStringLiteral("/a/eins.jpg"), QStringLiteral("/a/zwei.jpg")}),
                 QStringLiteral("/a/eins.jpg"));
        QCOMPARE(startDatei({}), QString());
    }

    void abgelegteDatei()
    {
        QTemporaryDir ordner;
        const QString datei = ordner.filePath(QStringLiteral("käfer.jpg"));
        QFile(datei).open(QIODevice::WriteOnly);
        const auto mit = [](const QList<QUrl>& urls) {
            auto* daten = new QMimeData;
            daten->setUrls(urls);
            return std::unique_ptr<QMimeData>(daten);
        };
        QCOMPARE(::abgelegteDatei(mit({QUrl::fromLocalFile(datei)}).get()), datei);
        QUrl localhost = QUrl::fromLocalFile(datei);
        localhost.setHost(QStringLiteral("localhost"));
        QCOMPARE(::abgelegteDatei(mit({localhost}).get()), datei);
        QCOMPARE(::abgelegteDatei(mit({QUrl::fromLocalFile(datei), QUrl(QStringLiteral("https://x.org/b.jpg"))}).get()), datei);
        QCOMPARE(::abgelegteDatei(mit({QUrl(QStringLiteral("https://x.org/b.jpg")), QUrl::fromLocalFile(datei)}).get()), QString());
        QCOMPARE(::abgelegteDatei(mit({QUrl::fromLocalFile(ordner.path())}).get()), QString());
        QCOMPARE(::abgelegteDatei(mit({}).get()), QString());
        QMimeData nurText;
        nurText.setText(datei);
        QCOMPARE(::abgelegteDatei(&nurText), QString());
        QCOMPARE(::abgelegteDatei(nullptr), QString());
    }
};

QTEST_GUILESS_MAIN(TestDesktopregeln)
#include "test_desktopregeln.moc"
