#include "app/Ladeablauf.h"

#include "TestBilder.h"

#include <QFileInfo>
#include <QHash>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

using Stufe = Ladeauftrag::Stufe;

QString grund(Ladefehler f)
{
    switch (f) {
    case Ladefehler::KeinJpeg: return QStringLiteral("kein JPEG");
    case Ladefehler::NichtVorhanden: return QStringLiteral("fehlt");
    default: return QString::number(int(f));
    }
}

int maske(const QString& stufen)
{
    const QHash<QString, Stufe> namen{{"Lesen", Stufe::Lesen}, {"Erste", Stufe::ErsteAnsicht}, {"Ganz", Stufe::Ganz},
                                      {"Verkleinern", Stufe::Verkleinern}};
    int m = 0;
    for (const QString& s : stufen.split(u'+'))
        m |= 1 << int(namen.value(s));
    return m;
}

} // namespace

// The loading flow as tables of events and what it reports, without a window. The photos:
// "klein" fits the view (read and shown at once), "mittel" is larger but below the first
// view's threshold (decoded whole on a thread), "gross" above it (first view, then whole,
// read on the thread); "kaputt" is refused at once, "kaputtgross" on the thread.
class TestLadeablauf : public QObject {
    Q_OBJECT
    QTemporaryDir m_ordner;
    QStringList m_protokoll;
    std::unique_ptr<Ladeablauf> m_ablauf;
    int m_schritte = 0;

    QString pfad(const QString& name) const { return m_ordner.filePath(name + QStringLiteral(".jpg")); }

    void melden(const Ladeablauf::Meldung& m)
    {
        const QString name = QFileInfo(m.pfad).completeBaseName();
        switch (m.art) {
        case Ladeablauf::Meldung::Art::Bild:
            m_protokoll << (m.quelle.vorlaeufig() ? QStringLiteral("Erste ") : QStringLiteral("Bild ")) + name;
            break;
        case Ladeablauf::Meldung::Art::Ganz: m_protokoll << QStringLiteral("Ganz ") + name; break;
        case Ladeablauf::Meldung::Art::Abgelehnt:
            m_protokoll << QStringLiteral("Abgelehnt %1: %2").arg(name, grund(m.grund.fehler));
            break;
        case Ladeablauf::Meldung::Art::Entfernt: m_protokoll << QStringLiteral("Entfernt"); break;
        }
    }

    void ereignis(const QString& e)
    {
        const QStringList teile = e.split(u' ');
        if (e.startsWith(u'@')) {
            Ladeauftrag::haltepunkt = maske(e.mid(1));
        } else if (e == u"los") {
            Ladeauftrag::haltepunkt = 0;
        } else if (e == u"bis @") {
            QTRY_VERIFY(Ladeauftrag::wartend > 0);
        } else if (e == u"bis erste") {
            QTRY_VERIFY(!m_protokoll.filter(QStringLiteral("Erste ")).isEmpty());
        } else if (e == u"schritt") {
            m_ablauf->spaeter([this, n = ++m_schritte] { m_protokoll << QStringLiteral("Schritt %1").arg(n); });
        } else if (e == u"warten") {
            QTRY_VERIFY(!m_ablauf->laedt() && !m_ablauf->wartet());
        } else if (e == u"ende") {
            m_ablauf.reset();
        } else if (teile.size() == 3 && teile[0] == u"ersetzen") {
            QFile::remove(pfad(teile[1]));
            QVERIFY(QFile::copy(pfad(teile[2]), pfad(teile[1])));
        } else {
            QVERIFY2(QFileInfo::exists(pfad(e)) || e == u"fehlt", qPrintable(e));
            m_ablauf->laden(pfad(e), [](const Jpegdatei&) { return QSize(400, 300); });
        }
    }

private slots:
    void initTestCase()
    {
        Ladeablauf::ersteAnsichtAb = 4'000'000;
        const QByteArray kaputt = QByteArray("\xFF\xD8\xFF\xE0", 4) + QByteArray(5000, '\x13');
        QVERIFY(testbilder::schreiben(pfad("klein"), testbilder::alsJpeg(testbilder::verlauf(600, 400))));
        QVERIFY(testbilder::schreiben(pfad("mittel"), testbilder::alsJpeg(testbilder::verlauf(1800, 1200))));
        QVERIFY(testbilder::schreiben(pfad("vorlage"), testbilder::alsJpeg(testbilder::rauschen(3000, 2000, 90), 90)));
        QVERIFY(testbilder::schreiben(pfad("kaputt"), kaputt));
        QVERIFY(testbilder::schreiben(pfad("kaputtgross"), kaputt + QByteArray(3 << 20, '\x13')));
        QVERIFY(QFileInfo(pfad("mittel")).size() <= Ladeablauf::hierLesenBis);
        QVERIFY(QFileInfo(pfad("vorlage")).size() > Ladeablauf::hierLesenBis);
    }
    void cleanupTestCase() { Ladeablauf::ersteAnsichtAb = Ladeablauf::ersteAnsichtAbStandard; }

    void ablauf_data()
    {
        QTest::addColumn<QString>("ereignisse");
        QTest::addColumn<QStringList>("meldungen");
        QTest::addColumn<QString>("stand"); // at the end, unless the flow is gone

        QTest::newRow("klein: sofort") << "klein" << QStringList{"Bild klein"} << "Ganz";
        QTest::newRow("mittel: ganz") << "mittel, warten" << QStringList{"Bild mittel"} << "Ganz";
        QTest::newRow("groß: erste Ansicht, dann ganz") << "gross, warten" << QStringList{"Erste gross", "Ganz gross"} << "Ganz";
        QTest::newRow("kaputt: sofort abgelehnt") << "kaputt" << QStringList{"Abgelehnt kaputt: kein JPEG"} << "Nichts";
        QTest::newRow("kaputt, groß") << "kaputtgross, warten" << QStringList{"Abgelehnt kaputtgross: kein JPEG"} << "Nichts";
        QTest::newRow("fehlt") << "klein, fehlt" << QStringList{"Bild klein", "Abgelehnt fehlt: fehlt"} << "Ganz";


        // A refused file while a first view is on show: its whole decode runs again.
        QTest::newRow("kaputt während groß ganz dekodiert")
            << "@Ganz, gross, bis erste, kaputt, los, warten"
            << QStringList{"Erste gross", "Abgelehnt kaputt: kein JPEG", "Ganz gross"} << "Ganz";
        QTest::newRow("kaputt groß während groß ganz dekodiert")
            << "@Ganz, gross, bis erste, kaputtgross, los, warten"
            << QStringList{"Erste gross", "Abgelehnt kaputtgross: kein JPEG", "Ganz gross"} << "Ganz";
        // ... and when the photo on show cannot be read whole any more, the one before returns.
        QTest::newRow("weiter gescheitert, das vorige kommt")
            << "klein, @Ganz, gross, bis erste, ersetzen gross kaputt, kaputt, los, warten"
            << QStringList{"Bild klein", "Erste gross", "Abgelehnt kaputt: kein JPEG", "Abgelehnt gross: kein JPEG", "Bild klein"}
            << "Ganz";
        QTest::newRow("weiter gescheitert, nichts davor")
            << "@Ganz, gross, bis erste, ersetzen gross kaputt, kaputt, los, warten"
            << QStringList{"Erste gross", "Abgelehnt kaputt: kein JPEG", "Abgelehnt gross: kein JPEG", "Entfernt"}
            << "Nichts";

        // Steps that wait for the whole picture: after it, in order; dropped by another photo.
        QTest::newRow("Schritte nach dem ganzen Bild")
            << "@Ganz, gross, bis erste, schritt, schritt, los, warten"
            << QStringList{"Erste gross", "Ganz gross", "Schritt 1", "Schritt 2"} << "Ganz";
        QTest::newRow("Schritt, dann anderes Bild") << "@Ganz, gross, bis erste, schritt, mittel, los, warten"
                                                    << QStringList{"Erste gross", "Bild mittel"} << "Ganz";
        QTest::newRow("Schritt, dann kaputt") << "@Ganz, gross, bis erste, schritt, kaputt, los, warten"
                                              << QStringList{"Erste gross", "Abgelehnt kaputt: kein JPEG", "Ganz gross"}
                                              << "Ganz";

        // Called off at every step of its work, by another photo or by the end: the job
        // ends by itself, reports nothing more, and frees what it held; the other photo shows.
        const std::pair<const char*, const char*> stufen[] = {
            {"Lesen", ""}, {"Erste+Ganz", ""}, {"Ganz", "Erste gross"}, {"Verkleinern", "Erste gross"}};
        for (const auto& [stufe, vorher] : stufen) {
            QStringList bisher;
            if (*vorher)
                bisher << QString::fromUtf8(vorher);
            const QString anfang = QStringLiteral("@%1, gross, %2bis @, ").arg(QString::fromUtf8(stufe), *vorher ? "bis erste, " : "");
            QTest::addRow("bei %s: anderes Bild", stufe) << anfang + "mittel, los, warten" << bisher + QStringList{"Bild mittel"} << "Ganz";
            QTest::addRow("bei %s: Ende", stufe) << anfang + "schritt, ende" << bisher << "";
        }
    }
    void ablauf()
    {
        QFETCH(QString, ereignisse);
        QFETCH(QStringList, meldungen);
        QFETCH(QString, stand);
        ereignis(QStringLiteral("ersetzen gross vorlage"));
        m_protokoll.clear();
        m_schritte = 0;
        m_ablauf = std::make_unique<Ladeablauf>([this](Ladeablauf::Meldung m) { melden(m); });
        for (const QString& e : ereignisse.split(QStringLiteral(", "))) {
            ereignis(e);
            if (QTest::currentTestFailed())
                break;
        }
        Ladeauftrag::haltepunkt = 0;
        QCOMPARE(m_protokoll, meldungen);
        if (m_ablauf) {
            const char* namen[] = {"Nichts", "ErsteAnsicht", "Ganz"};
            QCOMPARE(QString::fromUtf8(namen[int(m_ablauf->stand())]), stand);
        }
        m_ablauf.reset();
        QTRY_COMPARE(Ladeauftrag::laufend(), 0);
        QCOMPARE(m_protokoll, meldungen); // nothing came late
    }
};

QTEST_GUILESS_MAIN(TestLadeablauf)
#include "test_ladeablauf.moc"
