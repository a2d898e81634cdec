#include "findreport/Fundsitzung.h"

#include "Datenbankhilfe.h"
#include "Fundortdaten.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

using namespace fundortdaten;
using S = Fundsitzung;

namespace {

// A session on a store of its own, with the messages it would show.
struct Sitzung {
    QTemporaryDir tmp;
    QString ordner = tmp.filePath(QStringLiteral("daten"));
    std::unique_ptr<Fundsitzung> s;
    QStringList meldungen;

    explicit Sitzung(const QList<FindRecord>& zeilen = {}, QDate heute = QDate(2024, 3, 31))
    {
        if (!zeilen.isEmpty())
            speichern(zeilen, ordner);
        oeffnen(heute);
    }
    void oeffnen(QDate heute)
    {
        s = std::make_unique<Fundsitzung>(ordner, heute);
        QObject::connect(s.get(), &Fundsitzung::meldung, [this](const QString& text) { meldungen << text; });
        s->oeffnen();
    }
    Fundsitzung* operator->() const { return s.get(); }
    QString texte() const
    {
        QStringList t;
        for (S::Feld f : {S::Land, S::Bundesland, S::Stadt, S::Fundort})
            t << s->text(f);
        return t.join(u'|');
    }
    QString listen() const
    {
        QStringList t;
        for (S::Feld f : {S::Bundesland, S::Stadt, S::Fundort})
            t << s->vorschlaege(f).join(u',');
        return t.join(u'|');
    }
    QString datum() const
    {
        return s->datumsliste(S::Jahr).value(s->datumsIndex(S::Jahr)) + u' ' + s->datumsliste(S::Monat).value(s->datumsIndex(S::Monat))
               + u' ' + s->datumsliste(S::Tag).value(s->datumsIndex(S::Tag));
    }
    // The buttons "Fundort speichern", "in die Zwischenablage", "löschen", "alle anzeigen", and the stored list.
    QString knoepfe() const
    {
        return QStringLiteral("%1%2%3%4%5")
            .arg(s->speichernMoeglich())
            .arg(s->kopierenMoeglich())
            .arg(s->loeschenMoeglich())
            .arg(s->alleAnzeigenMoeglich())
            .arg(s->listeAktiv());
    }
};

const QList<FindRecord> bayernUndTirol = {
    fund("Deutschland", "Bayern", "Rosenheim", "Innufer", "450", "15. Juni 2010", "Anna"),
    fund("Deutschland", "Bayern", "Rosenheim", "Auwald", "455", "15. Juni 2010", "Bernd"),
    fund("Deutschland", "Bayern", "Augsburg", "Lech", "490"),
    fund("Deutschland", "Hessen", "Kassel", "Aue", "160"),
    fund("Österreich", "Tirol", "Rosenheim", "Moor", "600"),
};

} // namespace

class TestFundsitzung : public QObject {
    Q_OBJECT

private slots:
    // Opening: today's date, "Foto", the first stored row shown; what can be used.
    void oeffnen_data()
    {
        QTest::addColumn<bool>("mitZeilen");
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<QString>("knoepfe");
        QTest::newRow("leer") << false << "" << "00001";
        QTest::newRow("mit Zeilen") << true << "Deutschland, Bayern, Augsburg, Lech, 490 msm, 15. Juni 2010 (Freilandfoto: N. N.)"
                                    << "01101";
    }
    void oeffnen()
    {
        QFETCH(bool, mitZeilen);
        QFETCH(QString, zeile);
        QFETCH(QString, knoepfe);
        Sitzung s(mitZeilen ? bayernUndTirol : QList<FindRecord>());
        QCOMPARE(s->modus(), S::Modus::Blaettern);
        QCOMPARE(s->gespeicherte().size(), mitZeilen ? 5 : 0);
        QCOMPARE(s->gespeicherterIndex(), mitZeilen ? 0 : -1);
        QCOMPARE(s->zeile(), zeile);
        QCOMPARE(s->zeileVollstaendig(), mitZeilen ? std::optional<bool>(true) : std::nullopt);
        QCOMPARE(s.knoepfe(), knoepfe);
        QCOMPARE(s->vorschlaege(S::Bildart), (QStringList{"Foto", "Freilandfoto", "manipuliertes Freilandfoto", "Studiofoto"}));
        QCOMPARE(s->text(S::Bildart), mitZeilen ? QStringLiteral("Freilandfoto") : QStringLiteral("Foto"));
        QCOMPARE(s.datum(), mitZeilen ? QStringLiteral("2010 Juni 15.") : QStringLiteral("2024 März 31."));
        QCOMPARE(s->datumsliste(S::Jahr).size(), 25);
        QCOMPARE(s->datumsliste(S::Jahr).first(), QStringLiteral("2000"));
        // Read-only, except town, site and author, which take typing to no effect.
        for (S::Feld f : {S::Land, S::Bundesland, S::Beschreibung, S::Hoehe, S::Bildart})
            QVERIFY(s->gesperrt(f));
        for (S::Feld f : {S::Stadt, S::Fundort, S::Autor})
            QVERIFY(!s->gesperrt(f));
        QVERIFY(s->datumGesperrt());
        QVERIFY(s.meldungen.isEmpty());
    }

    // The line is complete when country, state, town, site, altitude, kind and author are
    // filled (a blank counts); then a new location can be saved, any location copied.
    // A location only shown changes nothing with typing.
    void pflichtfelder_data()
    {
        QTest::addColumn<bool>("neu");
        QTest::addColumn<int>("feld");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<QString>("knoepfe");
        const struct {
            S::Feld feld;
            const char* name;
        } felder[] = {{S::Land, "Land"},     {S::Bundesland, "Bundesland"}, {S::Stadt, "Stadt"}, {S::Fundort, "Fundort"},
                      {S::Hoehe, "Höhe"},    {S::Bildart, "Bildart"},       {S::Autor, "Autor"}};
        for (const auto& f : felder) {
            QTest::addRow("%s leer", f.name) << true << int(f.feld) << "" << "00010";
            QTest::addRow("%s ein Blank", f.name) << true << int(f.feld) << " " << "11010";
        }
        QTest::newRow("Beschreibung leer") << true << int(S::Beschreibung) << "" << "11010";
        QTest::newRow("nur gezeigt, Stadt leer") << false << int(S::Stadt) << "" << "01101";
    }
    void pflichtfelder()
    {
        QFETCH(bool, neu);
        QFETCH(int, feld);
        QFETCH(QString, wert);
        QFETCH(QString, knoepfe);
        Sitzung s({fund("Deutschland", "Bayern", "München", "Isarauen", "520", "15. Juni 2010", "N. N.", "am Ufer")});
        if (neu)
            s->neuerFundort(true);
        s->tippen(S::Feld(feld), wert);
        QCOMPARE(s.knoepfe(), knoepfe);
        QCOMPARE(*s->zeileVollstaendig(), knoepfe[1] == u'1');
    }

    // Only a pick refills the lists below it; typing recomposes the line and leaves them.
    void kaskade_data()
    {
        QTest::addColumn<QString>("aktion"); // "wählen" an index, or "tippen" a text
        QTest::addColumn<int>("feld");
        QTest::addColumn<QString>("wert");
        QTest::addColumn<QString>("texte"); // country|state|town|site
        QTest::addColumn<QString>("listen"); // states|towns|sites
        const QString anfang = QStringLiteral("Bayern,Hessen|Augsburg,Rosenheim|Lech");
        QTest::newRow("nichts") << "" << 0 << "" << "Deutschland|Bayern|Augsburg|Lech" << anfang;
        QTest::newRow("Land gewählt") << "wählen" << int(S::Land) << "1" << "Österreich|Tirol|Rosenheim|Auwald"
                                      << "Tirol|Rosenheim|Auwald,Innufer,Moor";
        QTest::newRow("Land getippt") << "tippen" << int(S::Land) << "Österreich" << "Österreich|Bayern|Augsburg|Lech" << anfang;
        QTest::newRow("Bundesland gewählt") << "wählen" << int(S::Bundesland) << "1" << "Deutschland|Hessen|Kassel|Aue"
                                            << "Bayern,Hessen|Kassel|Aue";
        QTest::newRow("Bundesland getippt") << "tippen" << int(S::Bundesland) << "Hessen" << "Deutschland|Hessen|Augsburg|Lech" << anfang;
        QTest::newRow("Stadt gewählt") << "wählen" << int(S::Stadt) << "1" << "Deutschland|Bayern|Rosenheim|Auwald"
                                       << "Bayern,Hessen|Augsburg,Rosenheim|Auwald,Innufer,Moor";
        QTest::newRow("Stadt getippt") << "tippen" << int(S::Stadt) << "Rosenheim" << "Deutschland|Bayern|Rosenheim|Lech" << anfang;
        QTest::newRow("Stadt getippt, dann das Gewählte gewählt") << "tippen,wählen" << int(S::Stadt) << "Kassel,0"
                                                                  << "Deutschland|Bayern|Augsburg|Lech" << anfang;
        QTest::newRow("Fundort gewählt") << "wählen" << int(S::Fundort) << "0" << "Deutschland|Bayern|Augsburg|Lech" << anfang;
    }
    void kaskade()
    {
        QFETCH(QString, aktion);
        QFETCH(int, feld);
        QFETCH(QString, wert);
        QFETCH(QString, texte);
        QFETCH(QString, listen);
        Sitzung s(bayernUndTirol);
        s->neuerFundort(false);
        const QStringList aktionen = aktion.split(u','), werte = wert.split(u',');
        for (int i = 0; i < aktionen.size() && !aktion.isEmpty(); ++i) {
            if (aktionen[i] == u"wählen")
                s->waehlen(S::Feld(feld), werte[i].toInt());
            else
                s->tippen(S::Feld(feld), werte[i]);
        }
        QCOMPARE(s.texte(), texte);
        QCOMPARE(s.listen(), listen);
        // The line follows every change.
        QVERIFY(s->zeile().startsWith(texte.replace(u'|', QStringLiteral(", ")) + QStringLiteral(",  msm, ")));
    }

    // Country and state names complete while typed, and when set from a stored row.
    void vervollstaendigung_data()
    {
        QTest::addColumn<QString>("land");     // typed into the country field first ("" leaves it)
        QTest::addColumn<int>("feld");
        QTest::addColumn<QString>("getippt");  // successive texts, "|" between them
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("ab");           // where the selected rest begins; -1: nothing completed
        QTest::newRow("D") << "" << int(S::Land) << "D" << "Deutschland" << 1;
        QTest::newRow("d klein") << "" << int(S::Land) << "d" << "d" << -1;
        QTest::newRow("Ö") << "" << int(S::Land) << "Ö" << "Österreich" << 1;
        QTest::newRow("Spanien weitergetippt") << "" << int(S::Land) << "S|Sp|Spa|Spanien" << "Spanien" << -1;
        QTest::newRow("B nichts") << "Deutschland" << int(S::Bundesland) << "B" << "B" << -1;
        QTest::newRow("Ba nichts") << "Deutschland" << int(S::Bundesland) << "Ba" << "Ba" << -1;
        QTest::newRow("Bay") << "Deutschland" << int(S::Bundesland) << "Bay" << "Bayern" << 3;
        QTest::newRow("Be") << "Deutschland" << int(S::Bundesland) << "Be" << "Berlin" << 2;
        QTest::newRow("bay klein") << "Deutschland" << int(S::Bundesland) << "bay" << "bay" << -1;
        QTest::newRow("Bade nichts") << "Deutschland" << int(S::Bundesland) << "Bade" << "Bade" << -1;
        QTest::newRow("T Österreich") << "Österreich" << int(S::Bundesland) << "T" << "Tirol" << 1;
        QTest::newRow("T Deutschland") << "Deutschland" << int(S::Bundesland) << "T" << "Thüringen" << 1;
        QTest::newRow("T Schweiz") << "Schweiz" << int(S::Bundesland) << "T" << "T" << -1;
        QTest::newRow("Th Schweiz") << "Schweiz" << int(S::Bundesland) << "Th" << "Thurgau" << 2;
        QTest::newRow("St Schweiz") << "Schweiz" << int(S::Bundesland) << "St" << "St. Gallen" << 2;
        QTest::newRow("St Österreich") << "Österreich" << int(S::Bundesland) << "St" << "Steiermark" << 2;
        QTest::newRow("Ba Schweiz") << "Schweiz" << int(S::Bundesland) << "Ba" << "Basel-" << 2;
        QTest::newRow("Basel-S") << "Schweiz" << int(S::Bundesland) << "Ba|Basel-S" << "Basel-Stadt" << 7;
        QTest::newRow("Sachsen-Anhalt") << "Deutschland" << int(S::Bundesland) << "Sachsen-" << "Sachsen-Anhalt" << 8;
        QTest::newRow("Appenzell-I") << "Schweiz" << int(S::Bundesland) << "Appenzell-I" << "Appenzell Innerrhoden" << 11;
        QTest::newRow("Zü") << "Schweiz" << int(S::Bundesland) << "Zü" << "Zürich" << 2;
        QTest::newRow("Land klein") << "deutschland" << int(S::Bundesland) << "Bay" << "Bay" << -1;
        QTest::newRow("Land mit Blank") << "Deutschland " << int(S::Bundesland) << "Bay" << "Bay" << -1;
        QTest::newRow("Rest gelöscht ergänzt wieder") << "Deutschland" << int(S::Bundesland) << "Bay|Bay" << "Bayern" << 3;
        QTest::newRow("Stadt nie") << "Deutschland" << int(S::Stadt) << "D" << "D" << -1;
    }
    void vervollstaendigung()
    {
        QFETCH(QString, land);
        QFETCH(int, feld);
        QFETCH(QString, getippt);
        QFETCH(QString, text);
        QFETCH(int, ab);
        Sitzung s;
        s->neuerFundort(false);
        if (!land.isEmpty())
            s->tippen(S::Land, land);
        for (const QString& t : getippt.split(u'|'))
            s->tippen(S::Feld(feld), t);
        QCOMPARE(s->text(S::Feld(feld)), text);
        QCOMPARE(s->ergaenztAb(S::Feld(feld)).value_or(-1), ab);
        QVERIFY(s->zeile().contains(text)); // the line follows the completed name
    }

    // A stored typed text is shown completed, a full name stays; a picked entry is never completed.
    void gespeicherteNamen()
    {
        Sitzung s({fund("D", "Bay", "X", "Y"), fund("Schweiz", "Basel-", "Basel", "Rhein")});
        QCOMPARE(s.texte(), QStringLiteral("Deutschland|Bayern|X|Y"));
        s->gespeichertenWaehlen(1);
        QCOMPARE(s->text(S::Bundesland), QStringLiteral("Basel-"));
        s->neuerFundort(false);
        QCOMPARE(s->text(S::Land), QStringLiteral("D"));
        QCOMPARE(s->text(S::Bundesland), QStringLiteral("Bay"));
        s->waehlen(S::Land, 1);
        s->waehlen(S::Land, 0);
        QCOMPARE(s->text(S::Land), QStringLiteral("D"));
    }

    // The date lists: year × month × day. A day the month of that year does not have
    // becomes its last; a stored date the lists cannot show is shown as stored.
    void datum_data()
    {
        QTest::addColumn<QDate>("heute");
        QTest::addColumn<QString>("vorher"); // the stored dates ("|" between rows; the last shown), "" for an empty store
        QTest::addColumn<QString>("schritte");    // after "Neuer Fundort" with the data kept: J year, M month, T day, H altitude,
                                                  // A "Aufnahmedatum" of a photo taken that day
        QTest::addColumn<QString>("listen");      // year month day as the lists show them
        QTest::addColumn<int>("tage");
        QTest::addColumn<QString>("datum");       // in the line and the stored row
        const QDate d31(2024, 3, 31);
        QTest::newRow("heute") << QDate(2031, 7, 4) << "" << "" << "2031 Juli 4." << 31 << "4. Juli 2031";
        QTest::newRow("Jahr nach der Liste") << QDate(2031, 7, 4) << "2. Mai 2035" << "" << "2035 Mai 2." << 31 << "2. Mai 2035";
        QTest::newRow("Jahr vor der Liste") << QDate(2031, 7, 4) << "2. Februar 1996" << "" << "1996 Februar 2." << 29 << "2. Februar 1996";
        QTest::newRow("29. Februar, Februar gewählt") << QDate(2013, 2, 10) << "29. Februar 2012" << "" << "2012 Februar 29." << 29
                                                      << "29. Februar 2012";
        QTest::newRow("28. Februar, Februar gewählt") << QDate(2012, 2, 29) << "28. Februar 2013" << "" << "2013 Februar 28." << 28
                                                      << "28. Februar 2013";
        QTest::newRow("30. April am 31.") << d31 << "30. April 2020" << "" << "2020 April 30." << 30 << "30. April 2020";
        QTest::newRow("1. Februar am 31.") << QDate(2024, 1, 31) << "1. Februar 2023" << "" << "2023 Februar 1." << 28
                                           << "1. Februar 2023";
        QTest::newRow("April gewählt am 31.") << d31 << "15. März 2024" << "M3" << "2024 April 30." << 30 << "30. April 2024";
        QTest::newRow("Februar gewählt am 31.") << d31 << "15. März 2024" << "M1" << "2024 Februar 29." << 29 << "29. Februar 2024";
        QTest::newRow("Dezember gewählt") << d31 << "15. März 2024" << "M11" << "2024 Dezember 31." << 31 << "31. Dezember 2024";
        QTest::newRow("29. Februar 2012, Jahr 2013") << d31 << "29. Februar 2012" << "J2013" << "2013 Februar 28." << 28
                                                     << "28. Februar 2013";
        QTest::newRow("und zurück nach 2012") << d31 << "29. Februar 2012" << "J2013 J2012" << "2012 Februar 28." << 29
                                              << "28. Februar 2012";
        QTest::newRow("15. Februar, Jahr 2013") << d31 << "15. Februar 2012" << "J2013" << "2013 Februar 15." << 28
                                                << "15. Februar 2013";
        QTest::newRow("Tag gewählt") << d31 << "1. März 2024" << "T14" << "2024 März 15." << 31 << "15. März 2024";
        QTest::newRow("unlesbar: Zahlenform") << d31 << "15.06.2010" << "" << "2024 März 31." << 31 << "15.06.2010";
        QTest::newRow("unlesbar: englisch") << d31 << "15. June 2010" << "" << "2024 März 31." << 31 << "15. June 2010";
        QTest::newRow("unlesbar: 31. April") << d31 << "31. April 2020" << "" << "2024 März 31." << 31 << "31. April 2020";
        QTest::newRow("unlesbar, Höhe getippt") << d31 << "15.06.2010" << "H0" << "2024 März 31." << 31 << "15.06.2010";
        QTest::newRow("unlesbar, Jahr gewählt") << d31 << "15.06.2010" << "J2013" << "2013 März 31." << 31 << "31. März 2013";
        QTest::newRow("unlesbar nach einer lesbaren Zeile") << d31 << "15. Juni 2010|15.06.2010" << "" << "2024 März 31." << 31
                                                            << "15.06.2010";
        QTest::newRow("Aufnahmedatum nach der Liste") << d31 << "15. März 2024" << "A2026-06-14" << "2026 Juni 14." << 30
                                                      << "14. Juni 2026";
        QTest::newRow("Aufnahmedatum, Februar eines anderen Jahres") << d31 << "15. Februar 2012" << "A2013-02-28" << "2013 Februar 28."
                                                                    << 28 << "28. Februar 2013";
    }
    void datum()
    {
        QFETCH(QDate, heute);
        QFETCH(QString, vorher);
        QFETCH(QString, schritte);
        QFETCH(QString, listen);
        QFETCH(int, tage);
        QFETCH(QString, datum);
        QList<FindRecord> zeilen;
        for (const QString& d : vorher.split(u'|', Qt::SkipEmptyParts))
            zeilen << fund(QString(QChar(char16_t(u'A' + zeilen.size()))), "B", "C", "D", "1", d);
        Sitzung s(zeilen, heute);
        s->gespeichertenWaehlen(int(zeilen.size()) - 1);
        s->neuerFundort(true);
        for (const QString& schritt : schritte.split(u' ', Qt::SkipEmptyParts)) {
            const QString wert = schritt.mid(1);
            if (schritt[0] == u'J')
                s->datumWaehlen(S::Jahr, int(s->datumsliste(S::Jahr).indexOf(wert)));
            else if (schritt[0] == u'M')
                s->datumWaehlen(S::Monat, wert.toInt());
            else if (schritt[0] == u'T')
                s->datumWaehlen(S::Tag, wert.toInt());
            else if (schritt[0] == u'A') {
                s->fotoSetzen(true, QDate::fromString(wert, Qt::ISODate));
                s->aufnahmedatumWaehlen();
            }
            else
                s->tippen(S::Hoehe, s->text(S::Hoehe) + wert);
        }
        QCOMPARE(s.datum(), listen);
        QCOMPARE(s->datumsliste(S::Tag).size(), tage);
        QCOMPARE(s->felder().datum, datum);
        QVERIFY(vorher.isEmpty() || s->zeile().contains(QStringLiteral(" msm, %1 (").arg(datum)));
        if (schritte.isEmpty())
            return;
        // What is shown is what is stored.
        s->tippen(S::Land, QStringLiteral("Neu"));
        const QString zeile = s->zeile();
        s->speichern();
        QVERIFY(gespeichert(s.ordner).contains(zeile));
        QCOMPARE(s->gespeicherte().value(s->gespeicherterIndex()), zeile);
    }

    // "Aufnahmedatum": usable where the date lists are, for a photo that names its day; the tool tip says which day, or why not.
    void aufnahmedatumKnopf_data()
    {
        QTest::addColumn<bool>("foto");
        QTest::addColumn<QDate>("aufnahme");
        QTest::addColumn<bool>("neu");
        QTest::addColumn<QString>("hinweis");
        const QDate tag(2026, 6, 14);
        QTest::newRow("kein Foto") << false << tag << true << "Im Hauptfenster ist kein Foto geladen, dessen Aufnahmedatum sich übernehmen ließe.";
        QTest::newRow("Foto ohne Datum") << true << QDate() << true << "Das Foto im Hauptfenster nennt kein Aufnahmedatum.";
        QTest::newRow("Blättern") << true << tag << false << "Aufnahmedatum des Fotos: 14. Juni 2026 – übernehmen lässt es sich nach „Neuer Fundort“";
        QTest::newRow("neuer Fundort") << true << tag << true << "Aufnahmedatum des Fotos: 14. Juni 2026 – als Datum übernehmen";
    }
    void aufnahmedatumKnopf()
    {
        QFETCH(bool, foto);
        QFETCH(QDate, aufnahme);
        QFETCH(bool, neu);
        QFETCH(QString, hinweis);
        Sitzung s;
        s->fotoSetzen(foto, aufnahme);
        if (neu)
            s->neuerFundort(true);
        QCOMPARE(s->aufnahmedatumHinweis(), hinweis);
        s->aufnahmedatumWaehlen();
        QCOMPARE(s.datum(), s->aufnahmedatumMoeglich() ? QStringLiteral("2026 Juni 14.") : QStringLiteral("2024 März 31."));
        QCOMPARE(s->aufnahmedatumMoeglich(), hinweis.endsWith(QStringLiteral("übernehmen")));
    }

    // Leaving with a new location not stored asks, with the same three answers however much
    // is typed; it stores only a complete one, and stays when storing fails.
    void schliessen_data()
    {
        QTest::addColumn<QString>("eingabe");
        QTest::addColumn<int>("antwort");
        QTest::addColumn<QString>("ergebnis"); // the answer Return gives and the one disabled ("--": nothing asked), closed, rows stored
        QTest::newRow("nichts getippt") << "nichts" << int(S::Abbrechen) << "-- zu 1";
        QTest::newRow("gespeichert") << "gespeichert" << int(S::Abbrechen) << "-- zu 2";
        for (auto [antwort, name] : {std::pair{S::Speichern, "Speichern"}, {S::Verwerfen, "Verwerfen"}, {S::Abbrechen, "Abbrechen"}}) {
            QTest::addRow("unvollständig, %s", name) << "unvollständig" << int(antwort) << (antwort == S::Verwerfen ? "20 zu 1" : "20 offen 1");
            QTest::addRow("vollständig, %s", name) << "vollständig" << int(antwort)
                                                   << QStringLiteral("0- %1 %2").arg(antwort == S::Abbrechen ? "offen" : "zu").arg(antwort ? 1 : 2);
        }
        QTest::newRow("vollständig, Speichern, Datei gesperrt") << "gesperrt" << int(S::Speichern) << "0- offen 1";
    }
    void schliessen()
    {
        QFETCH(QString, eingabe);
        QFETCH(int, antwort);
        QFETCH(QString, ergebnis);
        Sitzung s({fund("Deutschland", "Bayern", "München", "Isarauen")});
        s->neuerFundort(eingabe != u"unvollständig" && eingabe != u"nichts");
        if (eingabe != u"nichts") // the altitude still missing, or a new one
            s->tippen(eingabe == u"unvollständig" ? S::Beschreibung : S::Hoehe, QStringLiteral("480"));
        if (eingabe == u"gespeichert")
            s->speichern();
        QString ist = QStringLiteral("--");
        {
            datenbankhilfe::Sperre sperre(eingabe == u"gesperrt" ? QDir(s.ordner).filePath(QStringLiteral("data.db")) : QString());
            if (const auto frage = s->schliessfrage()) {
                QCOMPARE(frage->antworten, (QStringList{"Speichern", "Verwerfen", "Abbrechen"}));
                ist = QString::number(frage->standard) + (frage->gesperrt ? QString::number(*frage->gesperrt) : QStringLiteral("-"));
            }
            ist += s->schliessen(S::Antwort(antwort)) ? QStringLiteral(" zu") : QStringLiteral(" offen");
        }
        QCOMPARE(ist + u' ' + QString::number(gespeichert(s.ordner).size()), ergebnis);
        QCOMPARE(s.meldungen.size(), eingabe == u"gesperrt" ? 1 : 0);
    }

    // "Neuer Fundort": the first country, state, town, site and author, or the data shown kept.
    void neuerFundort_data()
    {
        QTest::addColumn<bool>("mitZeilen");
        QTest::addColumn<bool>("beibehalten");
        QTest::addColumn<QString>("texte");
        QTest::addColumn<QString>("zeile");
        QTest::addColumn<QString>("knoepfe");
        QTest::newRow("Vorschläge") << true << false << "Deutschland|Bayern|Augsburg|Lech"
                                    << "Deutschland, Bayern, Augsburg, Lech,  msm, 15. Juni 2010 (Freilandfoto: Anna)" << "00010";
        QTest::newRow("beibehalten") << true << true << "Deutschland|Bayern|Augsburg|Lech"
                                     << "Deutschland, Bayern, Augsburg, Lech, 490 msm, 15. Juni 2010 (Freilandfoto: N. N.)" << "01010";
        QTest::newRow("leere Tabelle") << false << false << "|||" << ", , , ,  msm, 31. März 2024 (Foto: )" << "00010";
    }
    void neuerFundort()
    {
        QFETCH(bool, mitZeilen);
        QFETCH(bool, beibehalten);
        QFETCH(QString, texte);
        QFETCH(QString, zeile);
        QFETCH(QString, knoepfe);
        Sitzung s(mitZeilen ? bayernUndTirol : QList<FindRecord>());
        s->tippen(S::Beschreibung, QStringLiteral("alt"));
        s->neuerFundort(beibehalten);
        QVERIFY(s->istNeuerFundort());
        QCOMPARE(s.texte(), texte);
        QCOMPARE(s->zeile(), zeile);
        QCOMPARE(s.knoepfe(), knoepfe);
        QCOMPARE(s->text(S::Beschreibung), beibehalten ? QStringLiteral("alt") : QString());
        const bool vorschlaege = mitZeilen && !beibehalten;
        QCOMPARE(s->vorschlaege(S::Land).join(u','), vorschlaege ? QStringLiteral("Deutschland,Österreich") : QString());
        QCOMPARE(s->vorschlaege(S::Autor).join(u','), vorschlaege ? QStringLiteral("Anna,Bernd,N. N.") : QString());
        for (int f = 0; f < S::feldAnzahl; ++f)
            QVERIFY(!s->gesperrt(S::Feld(f)));
        QVERIFY(!s->ungespeicherteEingabe());
        // "alle bisherigen Fundorte anzeigen" with nothing stored changes nothing.
        if (!mitZeilen) {
            s->alleAnzeigen();
            QVERIFY(s->istNeuerFundort());
        }
        s->tippen(S::Hoehe, QStringLiteral("1"));
        QVERIFY(s->ungespeicherteEingabe());
    }

    // Saving: the saved row selected (of identical lines the first), then back to the list.
    void speichernUndZurueck()
    {
        Sitzung s({fund("Deutschland", "Bayern", "München", "Isarauen"), fund("Deutschland", "Bayern", "München", "Zoo")}, QDate(2024, 3, 15));
        s->neuerFundort(true);
        QVERIFY(!s->speichernMoeglich());
        s->datumWaehlen(S::Monat, 6);
        s->datumWaehlen(S::Monat, 5); // June again: an identical line
        QVERIFY(s->speichernMoeglich());
        s->speichern();
        QCOMPARE(s->gespeicherte().size(), 3);
        QCOMPARE(s->gespeicherte()[0], s->gespeicherte()[1]);
        QCOMPARE(s->gespeicherterIndex(), 0);
        QCOMPARE(s->datensaetze().aktuellePosition(), 0);
        QCOMPARE(s->modus(), S::Modus::Gespeichert);
        QCOMPARE(s.knoepfe(), QStringLiteral("01110"));
        QVERIFY(!s->ungespeicherteEingabe());
        // Changes now have no effect on the line.
        const QString zeile = s->zeile();
        s->tippen(S::Hoehe, QStringLiteral("1"));
        QCOMPARE(s->zeile(), zeile);
        s->alleAnzeigen();
        QCOMPARE(s->modus(), S::Modus::Blaettern);
        QCOMPARE(s.knoepfe(), QStringLiteral("01111"));
        QCOMPARE(s->text(S::Hoehe), QStringLiteral("520"));
        QVERIFY(s->gesperrt(S::Land) && s->datumGesperrt());
        QVERIFY(s.meldungen.isEmpty());
    }

    void loeschen()
    {
        Sitzung s({fund("A", "B", "C", "D"), fund("E", "F", "G", "H")});
        s->neuerFundort(true);
        s->loeschen(); // the button is disabled; the rule guards all the same
        QCOMPARE(s.meldungen,
                 QStringList{QStringLiteral("Fundort kann nicht gelöscht werden!\r\nKlicken Sie zuerst auf ALLE BISHERIGEN FUNDORTE.")});
        s->alleAnzeigen();
        s->gespeichertenWaehlen(1);
        s->loeschen();
        QCOMPARE(s->gespeicherte(), QStringList{QStringLiteral("A, B, C, D, 520 msm, 15. Juni 2010 (Freilandfoto: N. N.)")});
        s->loeschen();
        QVERIFY(s->gespeicherte().isEmpty());
        QVERIFY(!s->loeschenMoeglich());
        QCOMPARE(gespeichert(s.ordner), QStringList());
    }

    // A store that cannot be opened: one message with the true reason; every button then
    // works or says why it cannot. The disk that is full has its reason in the store's table.
    void speicherNichtZuOeffnen_data()
    {
        QTest::addColumn<QString>("fall");
        QTest::addColumn<QString>("grund");
        QTest::newRow("gesperrt") << "gesperrt" << "Die Datei wird gerade von einem anderen Programm benutzt.";
        QTest::newRow("keine Leserechte") << "000" << "Es fehlt die Berechtigung, die Datei zu lesen.";
        QTest::newRow("Ordner statt Datei") << "ordner" << "An ihrer Stelle liegt ein Ordner.";
        QTest::newRow("Pipe statt Datei") << "pipe" << "An ihrer Stelle liegt eine benannte Pipe (FIFO).";
        QTest::newRow("Ordner schreibgeschützt") << "ordner555" << "Der Ordner „%1“ ist nicht beschreibbar.";
    }
    void speicherNichtZuOeffnen()
    {
        QFETCH(QString, fall);
        QFETCH(QString, grund);
        QTemporaryDir tmp;
        datenbankhilfe::offenFuerAlle(tmp.path());
        const QString ordner = tmp.filePath(QStringLiteral("daten"));
        const QString pfad = QDir(ordner).filePath(QStringLiteral("data.db"));
        QVERIFY(QDir().mkpath(ordner));
        datenbankhilfe::offenFuerAlle(ordner);
        grund = grund.arg(QDir::toNativeSeparators(ordner));
        if (fall == u"ordner") {
            QVERIFY(QDir().mkdir(pfad));
        } else if (fall == u"pipe") {
            QCOMPARE(::mkfifo(QFile::encodeName(pfad).constData(), 0666), 0);
        } else if (fall == u"ordner555") {
            QVERIFY(QFile::setPermissions(ordner, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadOther | QFile::ExeOther));
        } else {
            speichern({fund("A", "B", "C", "D")}, ordner);
            QVERIFY(QFile::setPermissions(pfad, fall == u"000" ? QFile::Permissions() : QFile::Permissions(0x6666)));
        }
        datenbankhilfe::Sperre sperre(fall == u"gesperrt" ? pfad : QString());
        datenbankhilfe::AlsGast gast;
        if (!gast.wirksam())
            QSKIP("file permissions cannot be tried as this user");
        QStringList meldungen;
        Fundsitzung s(ordner, QDate(2024, 3, 31));
        connect(&s, &Fundsitzung::meldung, [&meldungen](const QString& text) { meldungen << text; });
        s.oeffnen();
        QCOMPARE(meldungen, QStringList{QStringLiteral("Die Fundortdatei „%1“ kann nicht geöffnet werden.\r\n\r\n%2\r\n\r\nFundorte "
                                                       "lassen sich zusammenstellen und kopieren, aber nicht speichern.")
                                            .arg(QDir::toNativeSeparators(pfad), grund)});
        QVERIFY(!s.speicherOffen());
        QVERIFY(s.gespeicherte().isEmpty() && !s.loeschenMoeglich());

        s.alleAnzeigen();
        s.neuerFundort(false);
        for (auto [feld, text] : {std::pair{S::Land, "Ö"}, {S::Bundesland, "T"}, {S::Stadt, "Innsbruck"}, {S::Fundort, "Alpenzoo"},
                                  {S::Hoehe, "750"}, {S::Autor, "Maria"}})
            s.tippen(feld, QString::fromUtf8(text));
        const QString zeile = QStringLiteral("Österreich, Tirol, Innsbruck, Alpenzoo, 750 msm, 31. März 2024 (Foto: Maria)");
        QCOMPARE(s.zeile(), zeile);
        QVERIFY(s.kopierenMoeglich() && s.speichernMoeglich());
        s.alleAnzeigen();
        s.loeschen();
        QCOMPARE(meldungen.size(), 2); // deleting while entering: its own message
        s.speichern();
        QCOMPARE(meldungen.size(), 3);
        QVERIFY2(meldungen[2].startsWith(QStringLiteral("Der Fundort konnte nicht gespeichert werden.\r\n\r\n%1\r\n").arg(grund)),
                 qPrintable(meldungen[2]));
        QCOMPARE(s.zeile(), zeile);
        QVERIFY(s.istNeuerFundort() && s.speichernMoeglich());
        // Free again (the other program let go): the next try stores it.
        if (fall == u"gesperrt") {
            sperre.freigeben();
            s.speichern();
            QCOMPARE(meldungen.size(), 3);
            QCOMPARE(s.gespeicherte().value(s.gespeicherterIndex()), zeile);
        }
    }
};

QTEST_GUILESS_MAIN(TestFundsitzung)
#include "test_fundsitzung.moc"
