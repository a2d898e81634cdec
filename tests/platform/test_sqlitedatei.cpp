#include "platform/Fensterlage.h"
#include "platform/SqliteDatei.h"

#include "Datenbankhilfe.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QSqlError>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

using namespace datenbankhilfe;

Q_DECLARE_METATYPE(Dateibefund)


class TestSqliteDatei : public QObject {
    Q_OBJECT

private slots:
    // The reason told for each failure: SQLite's code first where it is plain,
    // the file system where only it knows (a full disk, a folder without rights).
    void grund_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<Dateibefund>("befund");
        QTest::addColumn<QString>("grund");
        const Dateibefund datei{.dateiDa = true};
        const Dateibefund keineDatei{};
        const auto mit = [](Dateibefund b, int Dateibefund::*feld, int fehler) {
            b.*feld = fehler;
            return b;
        };
        QTest::newRow("Ordner statt Datei") << 14 << Dateibefund{.art = Dateibefund::Art::Ordner} << "An ihrer Stelle liegt ein Ordner.";
        QTest::newRow("gesperrt") << 5 << datei << "Die Datei wird gerade von einem anderen Programm benutzt.";
        QTest::newRow("gesperrt, erweitert") << (5 | (2 << 8)) << datei << "Die Datei wird gerade von einem anderen Programm benutzt.";
        QTest::newRow("Tabelle gesperrt") << 6 << datei << "Die Datei wird gerade von einem anderen Programm benutzt.";
        QTest::newRow("Ordner nicht anlegbar") << 14 << Dateibefund{.ordnerDa = false}
                                               << "Der Ordner „/daten“ lässt sich nicht anlegen.";
        QTest::newRow("nicht lesbar") << 14 << mit(mit(datei, &Dateibefund::lesen, EACCES), &Dateibefund::schreiben, EACCES)
                                      << "Es fehlt die Berechtigung, die Datei zu lesen.";
        QTest::newRow("voll") << 13 << datei << "Der Datenträger ist voll.";
        QTest::newRow("voll beim Anlegen") << 14 << mit(keineDatei, &Dateibefund::ordnerSchreiben, ENOSPC) << "Der Datenträger ist voll.";
        QTest::newRow("Kontingent erschöpft") << 10 << mit(datei, &Dateibefund::ordnerSchreiben, EDQUOT) << "Der Datenträger ist voll.";
        QTest::newRow("Datenträger schreibgeschützt") << 8 << mit(mit(datei, &Dateibefund::schreiben, EROFS), &Dateibefund::ordnerSchreiben, EROFS)
                                                      << "Der Datenträger ist schreibgeschützt.";
        QTest::newRow("Ordner schreibgeschützt, keine Datei") << 14 << mit(keineDatei, &Dateibefund::ordnerSchreiben, EACCES)
                                                              << "Der Ordner „/daten“ ist nicht beschreibbar.";
        QTest::newRow("Ordner schreibgeschützt, Datei beschreibbar") << (8 | (6 << 8)) << mit(datei, &Dateibefund::ordnerSchreiben, EACCES)
                                                                     << "Der Ordner „/daten“ ist nicht beschreibbar.";
        QTest::newRow("Datei schreibgeschützt") << 8 << mit(datei, &Dateibefund::schreiben, EACCES) << "Die Datei ist schreibgeschützt.";
        QTest::newRow("Datei und Ordner schreibgeschützt")
            << 8 << mit(mit(datei, &Dateibefund::schreiben, EACCES), &Dateibefund::ordnerSchreiben, EACCES) << "Die Datei ist schreibgeschützt.";
        QTest::newRow("beschädigt") << 11 << datei << "Die Datei ist beschädigt.";
        QTest::newRow("keine Datenbank") << 26 << datei << "Die Datei ist beschädigt.";
        QTest::newRow("Ein-/Ausgabe") << (10 | (3 << 8)) << datei << "Beim Lesen oder Schreiben der Datei ist ein Fehler aufgetreten.";
        QTest::newRow("nicht zu öffnen") << 14 << datei << "Die Datei lässt sich nicht öffnen.";
        QTest::newRow("anderes") << 1 << datei << "Die Datenbank meldet: no such table: data";
    }
    void grund()
    {
        QFETCH(int, code);
        QFETCH(Dateibefund, befund);
        QFETCH(QString, grund);
        QCOMPARE(SqliteDatei::grund(code, QStringLiteral("no such table: data"), befund, QStringLiteral("/daten")), grund);
    }

    // The same with real files, also where opening works and only writing fails
    // (the causes of a store that cannot be opened are tried with the dialog's session).
    void echteUrsachen_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<QString>("grund"); // of the first write; "" when it works
        QTest::newRow("gesund") << "" << "";
        QTest::newRow("Ordner schreibgeschützt, Datei beschreibbar") << "ordner" << "Der Ordner „%1“ ist nicht beschreibbar.";
        QTest::newRow("Datei schreibgeschützt") << "datei" << "Die Datei ist schreibgeschützt.";
    }
    void echteUrsachen()
    {
        QFETCH(QString, fall);
        QFETCH(QString, grund);
        QTemporaryDir tmp;
        offenFuerAlle(tmp.path());
        const QString ordner = tmp.filePath(QStringLiteral("daten"));
        const QString pfad = QDir(ordner).filePath(QStringLiteral("data.db"));
        QVERIFY(QDir().mkpath(ordner));
        QVERIFY(roh(pfad, {QStringLiteral("CREATE TABLE data (a TEXT)")}));
        const auto lesbar = QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther;
        const auto betretbar = QFile::ExeOwner | QFile::ExeGroup | QFile::ExeOther;
        QVERIFY(QFile::setPermissions(pfad, fall == u"datei" ? lesbar : QFile::Permissions(0x6666)));
        if (fall == u"ordner")
            QVERIFY(QFile::setPermissions(ordner, lesbar | betretbar));
        else
            offenFuerAlle(ordner);
        AlsGast gast;
        if (!gast.wirksam())
            QSKIP("file permissions cannot be tried as this user");
        SqliteDatei datei(QStringLiteral("probe"), pfad);
        QCOMPARE(datei.oeffnen().stand, SqliteDatei::Stand::Offen);
        QSqlQuery q(datei.db());
        QCOMPARE(q.exec(QStringLiteral("INSERT INTO data VALUES ('x')")) ? QString() : datei.grund(q.lastError()),
                 QString(grund).replace(QStringLiteral("%1"), QDir::toNativeSeparators(ordner)));
    }

    // Only a regular file, also behind a link, is opened: anything else stands where the
    // file belongs is told as it is, waits for nothing, and is neither renamed nor replaced.
    void keineGewoehnlicheDatei_data()
    {
        QTest::addColumn<QString>("ziel"); // what is made: pipe, socket, ordner, datei, muell, or a path as it is
        QTest::addColumn<bool>("verknuepft"); // data.db is a link to it
        QTest::addColumn<QString>("grund"); // "" when it opens; %1 stands for the link's target
        QTest::newRow("Pipe") << "pipe" << false << "An ihrer Stelle liegt eine benannte Pipe (FIFO).";
        QTest::newRow("Socket") << "socket" << false << "An ihrer Stelle liegt ein Socket.";
        QTest::newRow("Ordner") << "ordner" << false << "An ihrer Stelle liegt ein Ordner.";
        QTest::newRow("Verknüpfung auf /dev/null") << "/dev/null" << true << "Die Datei ist eine Verknüpfung auf das Gerät „%1“.";
        QTest::newRow("Verknüpfung auf /dev/zero") << "/dev/zero" << true << "Die Datei ist eine Verknüpfung auf das Gerät „%1“.";
        QTest::newRow("Verknüpfung auf eine Pipe") << "pipe" << true << "Die Datei ist eine Verknüpfung auf die benannte Pipe (FIFO) „%1“.";
        QTest::newRow("Verknüpfung auf einen Ordner") << "ordner" << true << "Die Datei ist eine Verknüpfung auf den Ordner „%1“.";
        QTest::newRow("Verknüpfung ins Leere") << "" << true << "Die Datei ist eine Verknüpfung auf „%1“; dort liegt nichts.";
        QTest::newRow("Verknüpfung auf eine Datei") << "datei" << true << "";
        QTest::newRow("Verknüpfung auf eine beschädigte Datei")
            << "muell" << true << "Die Datei ist beschädigt. Sie ist eine Verknüpfung auf „%1“ und bleibt, wie sie ist.";
    }
    void keineGewoehnlicheDatei()
    {
        QFETCH(QString, ziel);
        QFETCH(bool, verknuepft);
        QFETCH(QString, grund);
        QTemporaryDir tmp;
        const QString pfad = tmp.filePath(QStringLiteral("data.db"));
        const QString ding = ziel.startsWith(u'/') ? ziel : verknuepft ? tmp.filePath(QStringLiteral("ziel")) : pfad;
        sockaddr_un adresse{AF_UNIX, {}};
        qstrncpy(adresse.sun_path, QFile::encodeName(ding).constData(), sizeof adresse.sun_path);
        const int s = ::socket(AF_UNIX, SOCK_STREAM, 0);
        QVERIFY(ziel == u"pipe"     ? ::mkfifo(adresse.sun_path, 0600) == 0
                : ziel == u"socket" ? ::bind(s, reinterpret_cast<const sockaddr*>(&adresse), sizeof adresse) == 0
                : ziel == u"ordner" ? QDir().mkdir(ding)
                : ziel == u"datei"  ? roh(ding, {QStringLiteral("CREATE TABLE data (a TEXT)")})
                : ziel == u"muell"  ? QFile(ding).open(QIODevice::WriteOnly) && QFile(ding).resize(3000)
                                    : true);
        ::close(s);
        QVERIFY(!verknuepft || QFile::link(ding, pfad));
        const auto stand = [&] {
            struct stat st {};
            return QDir(tmp.path()).entryList(QDir::AllEntries | QDir::System | QDir::Hidden | QDir::NoDotAndDotDot)
                   << QString::number(::lstat(QFile::encodeName(pfad).constData(), &st) == 0 ? st.st_mode : 0);
        };
        const QStringList vorher = stand();

        ::alarm(20); // a store that waits ends the run instead of hanging it
        SqliteDatei datei(QStringLiteral("fremd"), pfad);
        const SqliteDatei::Oeffnung o = datei.oeffnen();
        (void)Dateibefund::von(pfad); // what a failed statement asks about the file
        ::alarm(0);
        QCOMPARE(o.grund, grund.replace(QStringLiteral("%1"), ding));
        QCOMPARE(o.stand, grund.isEmpty() ? SqliteDatei::Stand::Offen : SqliteDatei::Stand::Fehlgeschlagen);
        QCOMPARE(stand(), vorher); // nothing renamed, replaced or added
    }

    // The configuration file beside the stores: read through QSettings, which would wait on a pipe.
    void konfigurationsdatei_data()
    {
        QTest::addColumn<QString>("ziel");
        QTest::addColumn<bool>("genommen");
        QTest::newRow("keine") << "" << true;
        QTest::newRow("Datei") << "datei" << true;
        QTest::newRow("Pipe") << "pipe" << false;
        QTest::newRow("Verknüpfung auf /dev/zero") << "/dev/zero" << false;
    }
    void konfigurationsdatei()
    {
        QFETCH(QString, ziel);
        QFETCH(bool, genommen);
        QStandardPaths::setTestModeEnabled(true);
        const QString ordner = QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
        const QString pfad = ordner + QStringLiteral("/fotoschliff.conf");
        QVERIFY(QDir().mkpath(ordner));
        QFile::remove(pfad);
        const QByteArray name = QFile::encodeName(pfad);
        QVERIFY(ziel == u"pipe"   ? ::mkfifo(name.constData(), 0600) == 0
                : ziel == u"datei" ? QFile(pfad).open(QIODevice::WriteOnly)
                : ziel.isEmpty()   ? true
                                   : QFile::link(ziel, pfad));
        ::alarm(20);
        QCOMPARE(konfigurationsDatei(), genommen ? pfad : QString());
        QSettings einstellungen(konfigurationsDatei(), QSettings::IniFormat);
        QCOMPARE(einstellungen.value(QStringLiteral("x"), 7).toInt(), 7);
        einstellungen.setValue(QStringLiteral("x"), 8);
        einstellungen.sync();
        ::alarm(0);
        QCOMPARE(QFileInfo(pfad).isFile(), genommen);
        QFile::remove(pfad);
    }
};

QTEST_GUILESS_MAIN(TestSqliteDatei)
#include "test_sqlitedatei.moc"
