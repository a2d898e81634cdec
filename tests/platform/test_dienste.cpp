// Qt's own message boxes, and what the process does when a file-size limit is reached.
#include "codec/JpegDienst.h"
#include "platform/Dienste.h"
#include "platform/Prozess.h"

#include "TestBilder.h"

#include <QAbstractButton>
#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cerrno>

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

class TestDienste : public QObject {
    Q_OBJECT

private slots:
    // A name with markup is shown as it is called; the box names no other file.
    void meldungenOhneAuszeichnung_data()
    {
        QTest::addColumn<int>("art");
        QTest::newRow("meldung") << 0;
        QTest::newRow("meldungMitDetails") << 1;
        QTest::newRow("frage") << 2;
        QTest::newRow("frage, eine Antwort gesperrt") << 3;
    }
    void meldungenOhneAuszeichnung()
    {
        QFETCH(int, art);
        const QString text = QStringLiteral("Die Datei „/home/anna/<b>Käfer</b>.jpg“ kann nicht als JPEG-Bild gelesen werden.");
        QString gezeigt;
        Qt::TextFormat format = Qt::RichText;
        QStringList gesperrt;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box);
            const auto* beschriftung = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
            QVERIFY(beschriftung);
            gezeigt = beschriftung->text();
            format = beschriftung->textFormat();
            for (const QAbstractButton* knopf : box->buttons())
                if (!knopf->isEnabled())
                    gesperrt << knopf->text();
            box->reject();
        });
        if (art == 0)
            meldung(nullptr, text);
        else if (art == 1)
            meldungMitDetails(nullptr, text, QStringLiteral("<i>Grund</i>"));
        else if (art == 2)
            dienste().frage(nullptr, text, programmTitel(), {QStringLiteral("Ja"), QStringLiteral("Nein")});
        else
            dienste().frageMitSperre(nullptr, text, programmTitel(), {QStringLiteral("Ja"), QStringLiteral("Nein")}, 1, 0);
        QCOMPARE(gezeigt, text);
        QCOMPARE(gesperrt, art == 3 ? QStringList{QStringLiteral("Ja")} : QStringList());
        QCOMPARE(format, Qt::PlainText);
    }

    // Under "ulimit -f" a save beyond the limit fails with EFBIG instead of ending the
    // program; tried in a child process, which the signal would otherwise kill.
    void dateigroessenGrenze()
    {
        QTemporaryDir ordner;
        const QString datei = ordner.filePath(QStringLiteral("falter.jpg"));
        JpegDienst jpeg;
        QCOMPARE(jpeg.GdipStarten(1), 0);
        const JpegMessung m = jpeg.JpegMessen(testbilder::verlauf(600, 400), 95);
        QVERIFY(m.daten.size() > 16 * 1024);
        const pid_t kind = fork();
        if (kind == 0) {
            dateigroessenGrenzeAlsFehler();
            const rlimit grenze{16 * 1024, 16 * 1024};
            setrlimit(RLIMIT_FSIZE, &grenze);
            const int status = jpeg.JpegSpeichern(m, datei);
            _exit(status == 7 && jpeg.letzterSpeicherfehler().fehlernummer == EFBIG ? 0 : 1);
        }
        QVERIFY(kind > 0);
        int ende = 0;
        QCOMPARE(waitpid(kind, &ende, 0), kind);
        QVERIFY2(!WIFSIGNALED(ende), "ended by a signal");
        QCOMPARE(WEXITSTATUS(ende), 0);
        QVERIFY(!QFile::exists(datei));
    }
};

QTEST_MAIN(TestDienste)
#include "test_dienste.moc"
