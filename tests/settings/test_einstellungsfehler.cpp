// A settings file that could not be read at start: the user is told, and the
// preferences dialog never puts the defaults over the record stored there.
#include "platform/Steuerelemente.h"
#include "settings/Form2.h"
#include "settings/SettingsStore.h"

#include "Einstellungsdatei.h"
#include "TestDienste.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTest>

namespace {

// The user's own record, nothing in it a default.
const QString eigene = QStringLiteral("'/bilder/roh', '/bilder/web', 3, 5, 0, 750, 1000, 80, 0, 0, '_lf', 1");

// A stand-in for the main window: its settings connection, opened at its start, and
// each record it was made to read again since.
struct Hauptfenster : QWidget {
    SettingsStore store;
    QList<SettingsRecord> geladen;
    // An open dialog goes with the main window.
    Nebenfenster dialog;

    Hauptfenster() { store.oeffnen(this); }

    // Opens the preferences as the main window's button does.
    Form2* oeffnen()
    {
        auto* d = new Form2(store, this, [this] { geladen << store.datensatz(); }, store.datensatz().dateiname);
        dialog.setzen(d);
        setEnabled(false);
        d->zeigen();
        return d;
    }
};

void ok(Form2* d) { QTest::mouseClick(d->findChild<QPushButton*>(QStringLiteral("Command3")), Qt::LeftButton); }

QString text(QWidget* w, const char* name) { return w->findChild<QLineEdit*>(QString::fromUtf8(name))->text(); }

} // namespace

class TestEinstellungsfehler : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { testUmgebungEinrichten(); }
    void init() { QDir(einstellungsdatei::ordner()).removeRecursively(); }

    // Locked at start, free when the dialog is confirmed: the dialog shows the stored
    // record first, and only the next "OK" writes.
    void gesperrtBeimStartFreiBeimSpeichern()
    {
        einstellungsdatei::schreiben(eigene);
        const SettingsRecord gespeichert = einstellungsdatei::lesen();
        TestDienste dienste;
        einstellungsdatei::Sperre sperre;
        QVERIFY(sperre.gesperrt());
        Hauptfenster f;
        f.show();
        QCOMPARE(dienste.meldungen.size(), 1);
        QVERIFY2(dienste.meldungen[0].text.contains(QStringLiteral("Die Datei wird gerade von einem anderen Programm benutzt.")),
                 qPrintable(dienste.meldungen[0].text));
        QCOMPARE(dienste.meldungen[0].titel, QStringLiteral("Fotoschliff"));
        QCOMPARE(f.store.datensatz().kompression, 92.0); // the defaults stand in
        sperre.freigeben();

        QPointer<Form2> d = f.oeffnen();
        QVERIFY(d);
        QCOMPARE(text(d, "TextKomp"), QStringLiteral("92"));
        ok(d);
        QCOMPARE(dienste.meldungen.size(), 2);
        QVERIFY(dienste.meldungen[1].text.startsWith(QStringLiteral("Die Einstellungsdatei „")));
        QVERIFY(dienste.meldungen[1].text.endsWith(
            QStringLiteral("ließ sich beim Start nicht lesen, jetzt aber schon. Dieser Dialog zeigt nun die gespeicherten "
                           "Einstellungen; bitte prüfen Sie sie und klicken Sie dann erneut auf „OK“.")));
        QCOMPARE(einstellungsdatei::lesen(), gespeichert); // nothing written yet
        QVERIFY(d && d->isVisible());
        // The dialog shows the stored record, and the main window was made to read it.
        QCOMPARE(text(d, "TextKomp"), QStringLiteral("80"));
        QCOMPARE(text(d, "Text1"), QStringLiteral("/bilder/roh"));
        QCOMPARE(text(d, "Text3"), QStringLiteral("_lf"));
        QCOMPARE(d->findChild<Liste*>(QStringLiteral("Combo1"))->ListIndex(), 3);
        QCOMPARE(f.geladen.size(), 1);
        QCOMPARE(f.geladen[0], gespeichert);

        // Confirmed once more, the record is written as shown: the user's values stay.
        ok(d);
        QTRY_VERIFY(!d);
        QCOMPARE(dienste.meldungen.size(), 2);
        const SettingsRecord nachher = einstellungsdatei::lesen();
        QCOMPARE(nachher.laden, gespeichert.laden);
        QCOMPARE(nachher.speichern, gespeichert.speichern);
        QCOMPARE(nachher.rahmen, gespeichert.rahmen);
        QCOMPARE(nachher.farbe, gespeichert.farbe);
        QCOMPARE(nachher.kompression, gespeichert.kompression);
        QCOMPARE(nachher.dateiname, gespeichert.dateiname);
        QCOMPARE(nachher.vorschlag, gespeichert.vorschlag);
        QCOMPARE(nachher.startmeldung, gespeichert.startmeldung);
    }

    // Still locked when the dialog is confirmed: nothing is written, and the user is told why.
    void nochImmerGesperrtBeimSpeichern()
    {
        einstellungsdatei::schreiben(eigene);
        const SettingsRecord gespeichert = einstellungsdatei::lesen();
        TestDienste dienste;
        einstellungsdatei::Sperre sperre;
        Hauptfenster f;
        f.show();
        QPointer<Form2> d = f.oeffnen();
        QVERIFY(d);
        ok(d);
        QCOMPARE(dienste.meldungen.size(), 2);
        QVERIFY(dienste.meldungen[1].text.startsWith(QStringLiteral("Die Einstellungen wurden nicht gespeichert.\r\n\r\n")));
        QVERIFY(dienste.meldungen[1].text.contains(QStringLiteral("Die Datei wird gerade von einem anderen Programm benutzt.")));
        QCOMPARE(dienste.meldungen[1].symbol, Dienste::Symbol::Fehler);
        QVERIFY(d && d->isVisible());
        sperre.freigeben();
        QCOMPARE(einstellungsdatei::lesen(), gespeichert);
    }
};

QTEST_MAIN(TestEinstellungsfehler)
#include "test_einstellungsfehler.moc"
