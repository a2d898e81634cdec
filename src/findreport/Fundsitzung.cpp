#include "findreport/Fundsitzung.h"

#include "findreport/FundortDatenbank.h"
#include "findreport/Vervollstaendigung.h"
#include "platform/Zahlen.h"

#include <QDir>
#include <QFileInfo>

using namespace fundbericht;

Fundsitzung::Fundsitzung(const QString& ordner, QDate heute, QObject* eltern)
    : QObject(eltern)
    , m_data1(nullptr)
    , m_data2(nullptr)
    , m_heute(heute.isValid() ? heute : QDate::currentDate())
{
    m_data2 = new FundortDatenbank(QStringLiteral("Data2"), this, ordner);
    m_data1 = new FundortDatenbank(QStringLiteral("Data1"), this, ordner);
    // At opening only the town, site and author boxes take typing, to no effect yet.
    for (Feld f : {Stadt, Fundort, Autor})
        m_felder[f].gesperrt = false;
}

Fundsitzung::~Fundsitzung() = default;

bool Fundsitzung::speicherOffen() const { return m_data1->offen() && m_data2->offen(); }

bool Fundsitzung::ungespeicherteEingabe() const { return istNeuerFundort() && felder() != m_eingabeBeginn; }

FindRecord Fundsitzung::felder() const
{
    const auto eintrag = [this](Datum liste) { return m_datum[liste].eintraege.value(m_datum[liste].index); };
    FindRecord f;
    f.land = text(Land);
    f.bundesland = text(Bundesland);
    f.stadt = text(Stadt);
    f.fundort = text(Fundort);
    f.fundortbeschreibung = text(Beschreibung);
    f.hoehe = text(Hoehe);
    f.datum = m_datumWieGespeichert ? *m_datumWieGespeichert : datumText(eintrag(Tag), eintrag(Monat), eintrag(Jahr));
    f.bildart = text(Bildart);
    f.autor = text(Autor);
    return f;
}

// --- events ---

void Fundsitzung::oeffnen()
{
    m_modus = Modus::Blaettern;
    Datumsliste& jahre = m_datum[Jahr];
    jahre.eintraege = jahresliste(m_heute.year());
    jahre.index = std::max<int>(0, int(jahre.eintraege.indexOf(QString::number(m_heute.year()))));
    ++jahre.stand;
    m_datum[Monat].eintraege = monatsnamen();
    ++m_datum[Monat].stand;
    datumSetzen(Monat, m_heute.month() - 1);

    Eingabe& bildart = m_felder[Bildart];
    bildart.liste = {QStringLiteral("Foto"), QStringLiteral("Freilandfoto"), QStringLiteral("manipuliertes Freilandfoto"),
                     QStringLiteral("Studiofoto")};
    ++bildart.stand;
    auswaehlen(Bildart, 0);

    // A store that cannot be opened leaves a dialog that composes and copies, but does not save.
    if (speicherOeffnen(true))
        Fundorte_Laden();
    emit geaendert();
}

void Fundsitzung::tippen(Feld feld, const QString& text)
{
    neuesEreignis();
    feldSetzen(feld, text);
    emit geaendert();
}

void Fundsitzung::waehlen(Feld feld, int index)
{
    neuesEreignis();
    Eingabe& e = m_felder[feld];
    if (index >= 0 && index < e.liste.size()) {
        e.index = index;
        e.text = e.liste[index];
        gewaehlt(feld);
    }
    emit geaendert();
}

void Fundsitzung::datumWaehlen(Datum liste, int index)
{
    neuesEreignis();
    if (index >= 0 && index < m_datum[liste].eintraege.size())
        datumSetzen(liste, index);
    emit geaendert();
}

void Fundsitzung::gespeichertenWaehlen(int index)
{
    neuesEreignis();
    if (index >= 0 && index < m_gespeicherte.size()) {
        m_gespeicherterIndex = index;
        fundortAnzeigen();
    }
    emit geaendert();
}

void Fundsitzung::neuerFundort(bool beibehalten)
{
    neuesEreignis();
    m_modus = Modus::Eingabe;
    m_alleAnzeigenAn = true;
    eingabenSperren(false);
    m_loeschenAn = false;
    m_listeAktiv = false;
    // Kept: every value shown is the start; the line changes with the first change of a field.
    if (!beibehalten) {
        for (Feld f : {Autor, Stadt, Fundort, Beschreibung, Hoehe})
            feldSetzen(f, QString());
        m_eingabeBeginn = felder();
        // The first country, its first state, that state's first town, and the first author.
        const auto laender = speicherOffen() ? m_data2->laender() : std::optional<QStringList>(QStringList());
        if (!laender)
            datenbankFehler(QStringLiteral("Die Vorschläge konnten nicht gelesen werden."), *m_data2);
        else if (!laender->isEmpty() && vorschlaegeFuellen(Land, laender)
                 && vorschlaegeFuellen(Bundesland, m_data2->bundeslaender(text(Land)))
                 && vorschlaegeFuellen(Stadt, m_data2->staedte(text(Bundesland)))
                 && vorschlaegeFuellen(Autor, m_data2->autoren()))
            Zusammenstellung_Anzeigen();
    }
    m_eingabeBeginn = felder();
    emit geaendert();
}

void Fundsitzung::speichern()
{
    neuesEreignis();
    if (!m_speichernAn) {
        emit geaendert();
        return;
    }
    // The store may have become free since the dialog opened (a lock released, say).
    if (!m_data1->offen() && !speicherOeffnen(false)) {
        datenbankFehler(QStringLiteral("Der Fundort konnte nicht gespeichert werden."), m_data2->offen() ? *m_data1 : *m_data2);
    } else if (!m_data1->hinzufuegen(felder())) {
        datenbankFehler(QStringLiteral("Der Fundort konnte nicht gespeichert werden."), *m_data1);
    } else {
        const QString gezeigt = m_zeile;
        m_modus = Modus::Gespeichert;
        Fundorte_Laden();
        // The saved row, found by its line; of identical lines the first.
        const int gleich = int(m_gespeicherte.indexOf(gezeigt));
        if (gleich >= 0)
            gespeichertAuswaehlen(gleich);
    }
    emit geaendert();
}

void Fundsitzung::loeschen()
{
    neuesEreignis();
    if (istNeuerFundort())
        emit meldung(QStringLiteral("Fundort kann nicht gelöscht werden!\r\nKlicken Sie zuerst auf ALLE BISHERIGEN FUNDORTE."),
                     QStringLiteral("Löschen"), Dienste::Symbol::Fehler);
    else if (!m_data1->aktuellLoeschen())
        datenbankFehler(QStringLiteral("Der Fundort konnte nicht gelöscht werden."), *m_data1);
    else
        Fundorte_Laden();
    emit geaendert();
}

void Fundsitzung::alleAnzeigen()
{
    neuesEreignis();
    if (!m_gespeicherte.isEmpty()) {
        m_modus = Modus::Blaettern;
        m_listeAktiv = true;
        // Shown afresh also when the first entry is selected already.
        if (m_gespeicherterIndex == 0)
            fundortAnzeigen();
        else
            gespeichertAuswaehlen(0);
        eingabenSperren(true);
        m_loeschenAn = true;
        Zusammenstellung_Anzeigen();
    }
    emit geaendert();
}

void Fundsitzung::fotoSetzen(bool geladen, QDate aufnahme)
{
    m_fotoGeladen = geladen;
    m_aufnahme = geladen ? aufnahme : QDate();
    emit geaendert();
}

void Fundsitzung::aufnahmedatumWaehlen()
{
    neuesEreignis();
    if (aufnahmedatumMoeglich())
        datumZeigen({m_aufnahme.day(), m_aufnahme.month() - 1, m_aufnahme.year()});
    emit geaendert();
}

QString Fundsitzung::aufnahmedatumHinweis() const
{
    if (!m_fotoGeladen)
        return QStringLiteral("Im Hauptfenster ist kein Foto geladen, dessen Aufnahmedatum sich übernehmen ließe.");
    if (!m_aufnahme.isValid())
        return QStringLiteral("Das Foto im Hauptfenster nennt kein Aufnahmedatum.");
    const QString datum =
        datumText(tagEintrag(m_aufnahme.day()), monatsnamen().value(m_aufnahme.month() - 1), QString::number(m_aufnahme.year()));
    if (m_datumGesperrt)
        return QStringLiteral("Aufnahmedatum des Fotos: %1 – übernehmen lässt es sich nach „Neuer Fundort“").arg(datum);
    return QStringLiteral("Aufnahmedatum des Fotos: %1 – als Datum übernehmen").arg(datum);
}

std::optional<Fundsitzung::Schliessfrage> Fundsitzung::schliessfrage() const
{
    if (!ungespeicherteEingabe())
        return std::nullopt;
    Schliessfrage f{QString(), {QStringLiteral("Speichern"), QStringLiteral("Verwerfen"), QStringLiteral("Abbrechen")},
                    Speichern, std::nullopt};
    if (speichernMoeglich()) {
        f.text = QStringLiteral("Der neue Fundort ist noch nicht gespeichert.\r\n\r\n"
                                "Soll er gespeichert werden, bevor die Fundortzusammenstellung geschlossen wird?");
    } else {
        // The same answers, the one that cannot be given shown disabled; Return stays.
        f.text = QStringLiteral("Der neue Fundort ist noch nicht gespeichert. Speichern lässt er sich erst, wenn alle "
                                "Pflichtfelder (*) ausgefüllt sind.\r\n\r\n"
                                "Soll die Fundortzusammenstellung trotzdem geschlossen werden? Die Eingaben gehen dabei verloren.");
        f.standard = Abbrechen;
        f.gesperrt = Speichern;
    }
    return f;
}

bool Fundsitzung::schliessen(Antwort antwort)
{
    if (!ungespeicherteEingabe())
        return true;
    if (antwort == Speichern && speichernMoeglich()) {
        speichern();
        return !istNeuerFundort();
    }
    return antwort == Verwerfen;
}

// --- steps ---

void Fundsitzung::neuesEreignis()
{
    for (Eingabe& e : m_felder)
        e.ergaenztAb.reset();
}

void Fundsitzung::aenderung()
{
    if (istNeuerFundort())
        Zusammenstellung_Anzeigen();
}

void Fundsitzung::Zusammenstellung_Anzeigen()
{
    const FindRecord f = felder();
    m_zeile = vorschauZeile(f);
    m_vollstaendig = istVollstaendig(f);
    m_speichernAn = *m_vollstaendig && istNeuerFundort();
    m_kopierenAn = *m_vollstaendig;
}

// A text set into a field, typed or by the program: country and state complete first.
void Fundsitzung::feldSetzen(Feld feld, const QString& text)
{
    Eingabe& e = m_felder[feld];
    e.text = text;
    std::optional<vervollstaendigung::Treffer> treffer;
    if (feld == Land)
        treffer = vervollstaendigung::land(text);
    else if (feld == Bundesland)
        treffer = vervollstaendigung::bundesland(m_felder[Land].text, text);
    if (treffer) {
        e.text = treffer->name;
        e.ergaenztAb = int(std::min(treffer->getippt.size(), treffer->name.size()));
    }
    aenderung();
}

// An entry selected by the program: like a pick, but only when it is another one.
void Fundsitzung::auswaehlen(Feld feld, int index)
{
    Eingabe& e = m_felder[feld];
    if (index == e.index || index < 0 || index >= e.liste.size())
        return;
    e.index = index;
    e.text = e.liste[index];
    gewaehlt(feld);
}

// What a pick does: country, state and town refill the list below them.
void Fundsitzung::gewaehlt(Feld feld)
{
    if (feld == Land)
        vorschlaegeFuellen(Bundesland, speicherOffen() ? m_data2->bundeslaender(text(Land)) : std::nullopt);
    else if (feld == Bundesland)
        vorschlaegeFuellen(Stadt, speicherOffen() ? m_data2->staedte(text(Bundesland)) : std::nullopt);
    else if (feld == Stadt)
        vorschlaegeFuellen(Fundort, speicherOffen() ? m_data2->fundorte(text(Stadt)) : std::nullopt);
    aenderung();
}

// A suggestion list filled afresh (its text emptied with it), then its first entry selected.
bool Fundsitzung::vorschlaegeFuellen(Feld feld, const std::optional<QStringList>& werte)
{
    if (!speicherOffen())
        return false; // said once at opening; the lists stay as they are
    if (!werte) {
        datenbankFehler(QStringLiteral("Die Vorschläge konnten nicht gelesen werden."), *m_data2);
        return false;
    }
    Eingabe& e = m_felder[feld];
    e.liste = *werte;
    e.index = -1;
    e.text.clear();
    ++e.stand;
    auswaehlen(feld, 0);
    return true;
}

void Fundsitzung::eingabenSperren(bool gesperrt)
{
    for (Eingabe& e : m_felder)
        e.gesperrt = gesperrt;
    m_datumGesperrt = gesperrt;
}

// --- dates ---

int Fundsitzung::jahr() const { return int(zahlen::Val(m_datum[Jahr].eintraege.value(m_datum[Jahr].index))); }

// A date list's entry selected: by the program only when it is another one.
void Fundsitzung::datumSetzen(Datum liste, int index)
{
    if (index == m_datum[liste].index)
        return;
    m_datum[liste].index = index;
    m_datumWieGespeichert.reset();
    if (liste == Monat) {
        Tagesliste_Aufbauen();
        return;
    }
    // The days follow the year too (February), keeping the chosen day where the month has it.
    if (liste == Jahr && m_datum[Monat].index >= 0
        && m_datum[Tag].eintraege.size() != tageImMonat(jahr(), m_datum[Monat].index))
        tageAufbauen(tagImMonat(m_datum[Tag].index + 1, jahr(), m_datum[Monat].index));
    aenderung();
}

void Fundsitzung::tageAufbauen(int tag)
{
    Datumsliste& tage = m_datum[Tag];
    tage.eintraege.clear();
    for (int t = 1; t <= tageImMonat(jahr(), m_datum[Monat].index); ++t)
        tage.eintraege << tagEintrag(t);
    tage.index = -1;
    ++tage.stand;
    datumSetzen(Tag, tag - 1);
}

void Fundsitzung::Tagesliste_Aufbauen()
{
    // Today's day, or the month's last where the month is shorter.
    tageAufbauen(tagImMonat(m_heute.day(), jahr(), m_datum[Monat].index));
    aenderung();
}

void Fundsitzung::datumAnzeigen(const QString& datum)
{
    if (const auto d = datumLesen(datum)) {
        datumZeigen(*d);
        return;
    }
    // Not in the stored form: the line shows the date as stored, the lists today's
    // rather than another row's.
    datumZeigen({m_heute.day(), m_heute.month() - 1, m_heute.year()});
    m_datumWieGespeichert = datum;
}

// Year, month and day selected as picks select them, so that the day list follows.
void Fundsitzung::datumZeigen(const fundbericht::Datum& d)
{
    m_datumWieGespeichert.reset();
    Datumsliste& jahre = m_datum[Jahr];
    const QString jahrText = QString::number(d.jahr);
    int index = int(jahre.eintraege.indexOf(jahrText));
    if (index < 0) {
        // A year outside the list is shown all the same, in its place among the others.
        index = 0;
        while (index < jahre.eintraege.size() && zahlen::Val(jahre.eintraege[index]) < d.jahr)
            ++index;
        jahre.eintraege.insert(index, jahrText);
        if (jahre.index >= index)
            ++jahre.index;
        ++jahre.stand;
    }
    datumSetzen(Jahr, index);
    datumSetzen(Monat, d.monatIndex);
    if (m_datum[Tag].eintraege.size() != tageImMonat(d.jahr, d.monatIndex))
        Tagesliste_Aufbauen();
    datumSetzen(Tag, d.tag - 1);
}

// --- stored locations ---

void Fundsitzung::Fundorte_Laden()
{
    const auto leeren = [this] {
        m_loeschenAn = false;
        m_gespeicherte.clear();
        m_gespeicherterIndex = -1;
        ++m_gespeicherteStand;
    };
    if (!m_data1->offen())
        return leeren();
    if (!m_data1->allesLaden())
        return datenbankFehler(QStringLiteral("Die gespeicherten Fundorte konnten nicht gelesen werden."), *m_data1);
    if (m_data1->anzahl() == 0)
        return leeren();
    m_loeschenAn = true;
    m_gespeicherte.clear();
    m_gespeicherte.reserve(m_data1->anzahl());
    for (int i = 0; i < m_data1->anzahl(); ++i)
        m_gespeicherte << gespeicherteZeile(m_data1->zeile(i));
    m_gespeicherterIndex = -1;
    ++m_gespeicherteStand;
    gespeichertAuswaehlen(0);
}

void Fundsitzung::gespeichertAuswaehlen(int index)
{
    if (index == m_gespeicherterIndex)
        return;
    m_gespeicherterIndex = index;
    fundortAnzeigen();
}

void Fundsitzung::fundortAnzeigen()
{
    if (!m_data1->positionieren(m_gespeicherterIndex))
        return;
    const FindRecord r = m_data1->aktuell();
    feldSetzen(Land, r.land);
    feldSetzen(Bundesland, r.bundesland);
    feldSetzen(Stadt, r.stadt);
    feldSetzen(Fundort, r.fundort);
    feldSetzen(Beschreibung, r.fundortbeschreibung);
    feldSetzen(Hoehe, r.hoehe);
    datumAnzeigen(r.datum);
    feldSetzen(Bildart, r.bildart);
    feldSetzen(Autor, r.autor);
    Zusammenstellung_Anzeigen();
}

// --- the store ---

bool Fundsitzung::speicherOeffnen(bool fehlerMelden)
{
    // The lookup connection first; it is the one that sets up or puts aside the file.
    const bool offen = m_data2->oeffnen() && m_data1->oeffnen();
    const QString beiseite = m_data2->beiseitegelegt().isEmpty() ? m_data1->beiseitegelegt() : m_data2->beiseitegelegt();
    if (!beiseite.isEmpty())
        emit meldung(QStringLiteral("Die Fundortdatei „%1“ ließ sich nicht lesen. Sie wurde unverändert als „%2“ "
                                    "aufbewahrt; die Fundortzusammenstellung beginnt mit einer leeren Liste.")
                         .arg(QDir::toNativeSeparators(m_data2->dateipfad()), QFileInfo(beiseite).fileName()),
                     programmTitel(), Dienste::Symbol::Info);
    if (!offen && fehlerMelden) {
        const FundortDatenbank& db = m_data2->offen() ? *m_data1 : *m_data2;
        emit meldung(QStringLiteral("Die Fundortdatei „%1“ kann nicht geöffnet werden.\r\n\r\n%2\r\n\r\nFundorte lassen sich "
                                    "zusammenstellen und kopieren, aber nicht speichern.")
                         .arg(QDir::toNativeSeparators(db.dateipfad()), db.letzterFehler()),
                     programmTitel(), Dienste::Symbol::Fehler);
    }
    return offen;
}

void Fundsitzung::datenbankFehler(const QString& was, const FundortDatenbank& db)
{
    emit meldung(QStringLiteral("%1\r\n\r\n%2\r\nDatei: „%3“\r\n\r\nDie bisher gespeicherten Fundorte bleiben erhalten.")
                     .arg(was, db.letzterFehler(), QDir::toNativeSeparators(db.dateipfad())),
                 programmTitel(), Dienste::Symbol::Fehler);
}
