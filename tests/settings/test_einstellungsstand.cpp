// The preferences dialog's draft without a window: what the opening shows, what
// each pick and each typed box changes, the defaults, and the record "OK" stores.

#include "settings/Einstellungsstand.h"

#include <QTest>

#include <functional>

using E = Einstellungsstand;
using Schritt = std::function<void(E&)>;
Q_DECLARE_METATYPE(Schritt)
// Steps on a draft, as a table cell.
#define SCHRITT(...) Schritt([]([[maybe_unused]] E& s) { __VA_ARGS__; })

namespace {

using Aenderung = std::function<void(SettingsRecord&)>;

// Opens the draft on a record with this ratio, size row, width and height; the rest as built in.
void laden(E& s, int rahmen, int format, double breite = 600, double hoehe = 400, const Aenderung& mehr = {})
{
    SettingsRecord d;
    d.rahmen = rahmen;
    d.Format = format;
    d.breite = breite;
    d.hoehe = hoehe;
    if (mehr)
        mehr(d);
    s.laden(d, d.dateiname, true);
}

QString zahl(double z) { return QString::number(z); }

// Ratio parts, ratio and size rows, width x height, whether they take input, the width's
// spin value and how often the rules set it.
QString groessenBild(const E& s)
{
    const E::Anzeige& a = s.anzeige();
    return QStringLiteral("%1:%2 %3 %4 %5 x %6 %7 %8/%9")
        .arg(s.verhaeltnisB())
        .arg(s.verhaeltnisH())
        .arg(a.Combo1Index)
        .arg(a.List1Index)
        .arg(a.TextB, a.TextH, a.eigeneGroesse ? QStringLiteral("eigene") : QStringLiteral("fest"))
        .arg(a.UpDown1)
        .arg(a.UpDown1Gesetzt);
}

// The quality box and its spin value | width, height and quality as "OK" stores them.
QString zahlenBild(const E& s)
{
    const SettingsRecord d = s.datensatz(0);
    return s.anzeige().TextKomp + u' ' + zahl(s.anzeige().UpDown2) + QStringLiteral(" | ") + zahl(d.breite) + u' '
           + zahl(d.hoehe) + u' ' + zahl(d.kompression);
}

// The boxes' ticks (0, 1 greyed, 2 ticked) | the reminders as stored.
QString erinnerungsBild(const E& s)
{
    const SettingsRecord d = s.datensatz(0);
    const E::Anzeige& a = s.anzeige();
    return QStringLiteral("%1 %2 | %3 %4").arg(a.Check1).arg(a.Check2).arg(d.fundortmeldung).arg(d.startmeldung);
}

// The option chosen and whether the suffix takes input | proposal and suffix as stored (1 before).
QString vorschlagsBild(const E& s)
{
    const SettingsRecord d = s.datensatz(1);
    return QStringLiteral("%1 %2 | %3 %4").arg(s.anzeige().Option1).arg(s.anzeige().Text3Aktiv).arg(d.vorschlag).arg(d.dateiname);
}

// Everything "Standardeinstellungen" touches or leaves.
QString gesamtBild(const E& s)
{
    const SettingsRecord d = s.datensatz(0);
    return QStringList{groessenBild(s), zahlenBild(s), erinnerungsBild(s), vorschlagsBild(s), d.laden, d.speichern, zahl(d.farbe),
                       zahl(s.anzeige().chkEinfacheKodierung)}
        .join(u',');
}

void spalten()
{
    QTest::addColumn<Schritt>("schritte");
    QTest::addColumn<QString>("erwartet");
}

void pruefen(QString (*ablesen)(const E&))
{
    QFETCH(Schritt, schritte);
    QFETCH(QString, erwartet);
    E s;
    schritte(s);
    QCOMPARE(ablesen(s), erwartet);
}

} // namespace

class TestEinstellungsstand : public QObject {
    Q_OBJECT
private slots:
    // The ratio is picked first and picks the fifth size; a custom size shows the stored height as it stands.
    void oeffnen_data()
    {
        spalten();
        QTest::newRow("3:2, 600 x 400") << SCHRITT(laden(s, 0, 4)) << "3:2 0 4 600 x 400 fest 600/1";
        QTest::newRow("2:3, 600 x 900") << SCHRITT(laden(s, 1, 5)) << "2:3 1 5 600 x 900 fest 600/2";
        QTest::newRow("16:9, letzte") << SCHRITT(laden(s, 4, 6)) << "16:9 4 6 6400 x 3600 fest 6400/2";
        QTest::newRow("eigene") << SCHRITT(laden(s, 0, 0, 750, 123)) << "3:2 0 0 750 x 123 eigene 600/1";
        QTest::newRow("eigene, 3:4") << SCHRITT(laden(s, 3, 0, 750.5, 0.25)) << "3:4 3 0 750.5 x 0.25 eigene 600/1";
        QTest::newRow("ohne Eintrag") << SCHRITT(laden(s, 0, 7, 750, 500)) << "3:2 0 -1 600 x 400 fest 600/1";
    }
    void oeffnen() { pruefen(groessenBild); }

    // Another ratio builds the sizes anew and picks the fifth; one without an entry keeps the parts.
    void verhaeltnisGewaehlt_data()
    {
        spalten();
        const auto nach = [](int i) { return Schritt([i](E& s) { laden(s, 0, 0, 750, 500), s.verhaeltnisGewaehlt(i); }); };
        QTest::newRow("dasselbe") << nach(0) << "3:2 0 0 750 x 500 eigene 600/1";
        QTest::newRow("2:3") << nach(1) << "2:3 1 4 400 x 600 fest 400/2";
        QTest::newRow("16:9") << nach(4) << "16:9 4 4 3200 x 1800 fest 3200/2";
        QTest::newRow("9:16") << nach(5) << "9:16 5 4 1800 x 3200 fest 1800/2";
        QTest::newRow("hinter dem letzten") << nach(6) << "3:2 -1 4 600 x 400 fest 600/2";
        QTest::newRow("keins") << nach(-1) << "3:2 -1 4 600 x 400 fest 600/2";
    }
    void verhaeltnisGewaehlt() { pruefen(groessenBild); }

    // "benutzerdefiniert" opens the boxes as they are; a preset writes its width and sets the spin value.
    void groesseGewaehlt_data()
    {
        spalten();
        const auto nach = [](int index) { return Schritt([index](E& s) { laden(s, 0, 4), s.groesseGewaehlt(index); }); };
        QTest::newRow("benutzerdefiniert") << nach(0) << "3:2 0 0 600 x 400 eigene 600/1";
        QTest::newRow("erste") << nach(1) << "3:2 0 1 60 x 40 fest 60/2";
        QTest::newRow("letzte") << nach(6) << "3:2 0 6 1200 x 800 fest 1200/2";
        QTest::newRow("dieselbe") << nach(4) << "3:2 0 4 600 x 400 fest 600/1";
        QTest::newRow("ohne Eintrag") << nach(7) << "3:2 0 -1 600 x 400 fest 600/1";
    }
    void groesseGewaehlt() { pruefen(groessenBild); }

    // The height: whole part of width / width part, times height part. Both boxes are stored as
    // their leading numbers, however they read.
    void breiteGetippt_data()
    {
        spalten();
        QTest::newRow("750") << SCHRITT(laden(s, 0, 0), s.breiteGetippt("750")) << "92 92 | 750 500 92";
        QTest::newRow("749") << SCHRITT(laden(s, 0, 0), s.breiteGetippt("749")) << "92 92 | 749 498 92";
        QTest::newRow("751") << SCHRITT(laden(s, 0, 0), s.breiteGetippt("751")) << "92 92 | 751 500 92";
        QTest::newRow("16:9, 1000") << SCHRITT(laden(s, 4, 0), s.breiteGetippt("1000")) << "92 92 | 1000 558 92";
        QTest::newRow("Einheit") << SCHRITT(laden(s, 4, 0), s.breiteGetippt("1024 Pixel")) << "92 92 | 1024 576 92";
        QTest::newRow("Blanks, Punkt") << SCHRITT(laden(s, 0, 0), s.breiteGetippt(" 12.9")) << "92 92 | 12.9 8 92";
        QTest::newRow("ohne Zahl") << SCHRITT(laden(s, 0, 0), s.breiteGetippt("breit")) << "92 92 | 0 0 92";
        QTest::newRow("Exponent") << SCHRITT(laden(s, 0, 0), s.breiteGetippt("1e-05")) << "92 92 | 1 0 92";
        QTest::newRow("Höhe getippt") << SCHRITT(laden(s, 0, 0), s.hoeheGetippt("3,5 px")) << "92 92 | 600 3 92";
    }
    void breiteGetippt() { pruefen(zahlenBild); }

    // The spin value is the whole number, halves to even; nothing is validated.
    void qualitaet_data()
    {
        spalten();
        const auto mit = [](double k) {
            return Schritt([k](E& s) { laden(s, 0, 4, 600, 400, [k](SettingsRecord& d) { d.kompression = k; }); });
        };
        QTest::newRow("92.5") << mit(92.5) << "92.5 92 | 600 400 92.5";
        QTest::newRow("93.5") << mit(93.5) << "93.5 94 | 600 400 93.5";
        QTest::newRow("92.51") << mit(92.51) << "92.51 93 | 600 400 92.51";
        QTest::newRow("über 100") << SCHRITT(laden(s, 0, 4), s.qualitaetGetippt("120")) << "120 92 | 600 400 120";
        QTest::newRow("leer") << SCHRITT(laden(s, 0, 4), s.qualitaetGetippt("")) << " 92 | 600 400 0";
        QTest::newRow("Komma") << SCHRITT(laden(s, 0, 4), s.qualitaetGetippt("77,5 %")) << "77,5 % 92 | 600 400 77";
    }
    void qualitaet() { pruefen(zahlenBild); }

    // The boxes say "no more reminders": ticked turns one off, the greyed state changes nothing.
    void erinnerungen_data()
    {
        spalten();
        using F = E::Erinnerung;
        // Both reminders stored as an, then one box clicked into the state haken.
        const auto klick = [](bool an, F welche, Qt::CheckState haken) {
            return Schritt([=](E& s) {
                laden(s, 0, 4, 600, 400, [an](SettingsRecord& d) { d.fundortmeldung = d.startmeldung = an; });
                s.erinnerungGeklickt(welche, haken);
            });
        };
        QTest::newRow("an, Haken weg") << klick(true, F::Fundort, Qt::Unchecked) << "0 0 | 1 1";
        QTest::newRow("aus, abgehakt") << klick(false, F::Start, Qt::Checked) << "2 2 | 0 0";
        QTest::newRow("Fundort abgehakt") << klick(true, F::Fundort, Qt::Checked) << "2 0 | 0 1";
        QTest::newRow("Start abgehakt") << klick(true, F::Start, Qt::Checked) << "0 2 | 1 0";
        QTest::newRow("Fundort Haken weg") << klick(false, F::Fundort, Qt::Unchecked) << "0 2 | 1 0";
        QTest::newRow("grau, an") << klick(true, F::Start, Qt::PartiallyChecked) << "0 1 | 1 1";
        QTest::newRow("grau, aus") << klick(false, F::Start, Qt::PartiallyChecked) << "2 1 | 0 0";
    }
    void erinnerungen() { pruefen(erinnerungsBild); }

    // Only the third option lets the suffix be typed; the suffix is stored whatever the option.
    void vorschlag_data()
    {
        spalten();
        const auto mit = [](int v, int gewaehlt = -1) {
            return Schritt([v, gewaehlt](E& s) {
                laden(s, 0, 4, 600, 400, [v](SettingsRecord& d) { d.vorschlag = v; });
                if (gewaehlt >= 0)
                    s.vorschlagGewaehlt(gewaehlt);
            });
        };
        QTest::newRow("keiner") << mit(0) << "0 0 | 0 _web";
        QTest::newRow("Name") << mit(1) << "1 0 | 1 _web";
        QTest::newRow("Name mit Anhang") << mit(2) << "2 1 | 2 _web";
        QTest::newRow("mit Anhang, dann Name") << mit(2, 1) << "1 0 | 1 _web";
        QTest::newRow("keiner, dann mit Anhang") << mit(0, 2) << "2 1 | 2 _web";
        QTest::newRow("ohne Option bleibt der alte") << mit(3) << "-1 0 | 1 _web";
    }
    void vorschlag() { pruefen(vorschlagsBild); }

    // The built-in values; folders, suffix and proposal stay. At 3:2 with a custom size only
    // the size list's own handling puts 600 x 400 back.
    void standardeinstellungen_data()
    {
        spalten();
        // A record with nothing at its default, then "Standardeinstellungen".
        const auto ab = [](int rahmen, int format, double breite, double hoehe) {
            return Schritt([=](E& s) {
                laden(s, rahmen, format, breite, hoehe, [](SettingsRecord& d) {
                    d.laden = QStringLiteral("/a");
                    d.farbe = 3;
                    d.kompression = 70;
                    d.fundortmeldung = d.startmeldung = false;
                    d.vorschlag = 1;
                });
                s.standardeinstellungen();
            });
        };
        const QString vorgabe = QStringLiteral("3:2 0 4 600 x 400 fest 600/2,92 92 | 600 400 92,0 0 | 1 1,1 0 | 1 _web,/a,,0,0");
        QTest::newRow("4:3, eigene") << ab(2, 0, 750, 500) << vorgabe;
        QTest::newRow("3:2, eigene") << ab(0, 0, 750, 500) << vorgabe;
        QTest::newRow("3:4, 600 x 800") << ab(3, 4, 600, 800) << vorgabe;
    }
    void standardeinstellungen() { pruefen(gesamtBild); }
};

QTEST_GUILESS_MAIN(TestEinstellungsstand)
#include "test_einstellungsstand.moc"
