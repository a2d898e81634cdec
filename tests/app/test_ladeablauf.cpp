#include "app/Ladeablauf.h"

#include "TestBilder.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace {

// "Erste+Ganz": the stopping points of those steps.
int maske(const QString& stufen)
{
    const QStringList namen{"Lesen", "Erste", "Ganz", "Verkleinern"};
    int m = 0;
    for (const QString& s : stufen.split(u'+'))
        m |= 1 << namen.indexOf(s);
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
        using A = Ladeablauf::Meldung::Art;
        const QString art = m.art == A::Bild ? (m.quelle.vorlaeufig() ? "Erste" : "Bild")
                            : m.art == A::Ganz ? "Ganz" : m.art == A::Abgelehnt ? "Abgelehnt" : "Entfernt";
        m_protokoll << (art + u' ' + QFileInfo(m.pfad).completeBaseName()).trimmed();
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
        QTest::addColumn<QString>("meldungen");
        QTest::addColumn<QString>("stand"); // at the end, unless the flow is gone
        const auto zeile = [](const QString& name, const char* ereignisse, const QString& meldungen, const char* stand) {
            QTest::newRow(qPrintable(name)) << QString::fromUtf8(ereignisse) << meldungen << QString::fromUtf8(stand);
        };
        zeile("klein: sofort", "klein", "Bild klein", "Ganz");
        zeile("mittel: ganz", "mittel, warten", "Bild mittel", "Ganz");
        zeile("groß: erste Ansicht, dann ganz", "gross, warten", "Erste gross, Ganz gross", "Ganz");
        zeile("kaputt: sofort abgelehnt", "kaputt", "Abgelehnt kaputt", "Nichts");
        zeile("kaputt, groß", "kaputtgross, warten", "Abgelehnt kaputtgross", "Nichts");
        zeile("fehlt", "klein, fehlt", "Bild klein, Abgelehnt fehlt", "Ganz");
        // A refused file while a first view is on show: its whole decode runs again ...
        zeile("kaputt während groß", "@Ganz, gross, bis erste, kaputt, los, warten", "Erste gross, Abgelehnt kaputt, Ganz gross", "Ganz");
        zeile("kaputt groß während groß", "@Ganz, gross, bis erste, kaputtgross, los, warten",
              "Erste gross, Abgelehnt kaputtgross, Ganz gross", "Ganz");
        // ... and when the photo on show cannot be read whole any more, the one before returns.
        zeile("weiter gescheitert, das vorige kommt", "klein, @Ganz, gross, bis erste, ersetzen gross kaputt, kaputt, los, warten",
              "Bild klein, Erste gross, Abgelehnt kaputt, Abgelehnt gross, Bild klein", "Ganz");
        zeile("weiter gescheitert, nichts davor", "@Ganz, gross, bis erste, ersetzen gross kaputt, kaputt, los, warten",
              "Erste gross, Abgelehnt kaputt, Abgelehnt gross, Entfernt", "Nichts");
        // Steps that wait for the whole picture: after it, in order; dropped by another photo.
        zeile("Schritte", "@Ganz, gross, bis erste, schritt, schritt, los, warten", "Erste gross, Ganz gross, Schritt 1, Schritt 2", "Ganz");
        zeile("Schritt, dann mittel", "@Ganz, gross, bis erste, schritt, mittel, los, warten", "Erste gross, Bild mittel", "Ganz");
        zeile("Schritt, dann kaputt", "@Ganz, gross, bis erste, schritt, kaputt, los, warten",
              "Erste gross, Abgelehnt kaputt, Ganz gross", "Ganz");
        // Called off at every step of its work, by another photo or by the end: the job
        // ends by itself, reports nothing more, and frees what it held; the other photo shows.
        for (const char* stufe : {"Lesen", "Erste+Ganz", "Ganz", "Verkleinern"}) {
            const bool erste = QByteArray(stufe).startsWith("Ganz") || QByteArray(stufe) == "Verkleinern";
            const QString anfang = QStringLiteral("@%1, gross, %2bis @, ").arg(QString::fromUtf8(stufe), erste ? "bis erste, " : "");
            const QString bisher = erste ? QStringLiteral("Erste gross") : QString();
            zeile(QStringLiteral("bei %1: mittel").arg(stufe), qPrintable(anfang + "mittel, los, warten"),
                  (erste ? bisher + ", " : QString()) + "Bild mittel", "Ganz");
            zeile(QStringLiteral("bei %1: Ende").arg(stufe), qPrintable(anfang + "schritt, ende"), bisher, "");
        }
    }
    void ablauf()
    {
        QFETCH(QString, ereignisse);
        QFETCH(QString, meldungen);
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
        QCOMPARE(m_protokoll.join(QStringLiteral(", ")), meldungen);
        if (m_ablauf) {
            const char* namen[] = {"Nichts", "ErsteAnsicht", "Ganz"};
            QCOMPARE(QString::fromUtf8(namen[int(m_ablauf->stand())]), stand);
        }
        m_ablauf.reset();
        QTRY_COMPARE(Ladeauftrag::laufend(), 0);
        QCOMPARE(m_protokoll.join(QStringLiteral(", ")), meldungen); // nothing came late
    }
};

QTEST_GUILESS_MAIN(TestLadeablauf)
#include "test_ladeablauf.moc"
