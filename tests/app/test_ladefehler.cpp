// A file that cannot be loaded: one message names it and says why (the reasons
// themselves are the decoder's, tests/codec), and the picture on show stays. A name
// that is no UTF-8 is no reason.
#include "app/Form1.h"
#include "output/Zielformat.h"

#include "Fensterhilfe.h"
#include "TestBilder.h"
#include "TestDienste.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

#include <fcntl.h>
#include <unistd.h>

using namespace fensterhilfe;

class TestLadefehler : public QObject {
    Q_OBJECT

private slots:
    void initTestCase() { testUmgebungEinrichten(); }
    void init() { QVERIFY(ohneStartmeldung()); }

    void meldungNenntDateiUndGrund_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QByteArray>("inhalt");
        QTest::addColumn<QString>("grund");
        const QByteArray gut = testbilder::alsJpeg(testbilder::verlauf(64, 48));
        QTest::newRow("kein JPEG") << "gif.jpg" << QByteArray("GIF89a und so weiter") << "Sie enthält kein JPEG-Bild.";
        QTest::newRow("beschädigt") << "halb.jpg" << gut.left(gut.size() / 2) << "Die Bilddaten sind unvollständig oder beschädigt.";
        QTest::newRow("Ordner") << "ordner.jpg" << QByteArray() << "Sie ist ein Ordner.";
    }
    void meldungNenntDateiUndGrund()
    {
        QFETCH(QString, name);
        QFETCH(QByteArray, inhalt);
        QFETCH(QString, grund);
        QTemporaryDir ordner;
        const QString pfad = ordner.filePath(name);
        QVERIFY(name == u"ordner.jpg" ? QDir().mkdir(pfad) : testbilder::schreiben(pfad, inhalt));
        TestDienste dienste;
        Form1 f;
        oeffnen(f, dienste, pfad);
        QCOMPARE(dienste.meldungen.size(), 1);
        QCOMPARE(dienste.meldungen[0].text,
                 QStringLiteral("Die Datei „%1“ kann nicht als JPEG-Bild gelesen werden.\r\n%2").arg(QDir::toNativeSeparators(pfad), grund));
        QCOMPARE(f.findChild<QLabel*>(QStringLiteral("lblQ"))->text(), QString());
    }

    void nameOhneUtf8()
    {
        QTemporaryDir ordner;
        const QByteArray name = QFile::encodeName(ordner.path()) + "/K\xE4" "fer.jpg";
        const QByteArray jpeg = testbilder::alsJpeg(testbilder::verlauf(64, 48));
        const int fd = ::open(name.constData(), O_WRONLY | O_CREAT, 0600);
        QCOMPARE(::write(fd, jpeg.constData(), size_t(jpeg.size())), ssize_t(jpeg.size()));
        ::close(fd);
        const QString pfad = QFile::decodeName(name); // as a dialog or the command line hands it over
        TestDienste dienste;
        Form1 f;
        oeffnen(f, dienste, pfad);
        QVERIFY(dienste.meldungen.isEmpty());
        QCOMPARE(f.findChild<QLineEdit*>(QStringLiteral("Text1"))->text(), pfad);
        QCOMPARE(f.findChild<QLabel*>(QStringLiteral("lblQ"))->text(), QStringLiteral("64 x 48"));
        QCOMPARE(f.findChild<QLabel*>(QStringLiteral("lblQKB"))->text(), GroessenText(jpeg.size()));
    }
};

QTEST_MAIN(TestLadefehler)
#include "test_ladefehler.moc"
