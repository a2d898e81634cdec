#include "platform/Fensterlage.h"
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
