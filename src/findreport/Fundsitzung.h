#pragma once

#include "findreport/Fundbericht.h"
#include "platform/Dienste.h"

#include <QDate>
#include <QObject>
#include <QStringList>

#include <array>
#include <optional>

class FundortDatenbank;

// The working state of the find-location dialog, without widgets: the mode
// (browsing the stored locations, entering a new one, just saved), the texts
// and suggestion lists of the input fields, the date lists, the report line,
// which buttons may be used, and the store behind it all.
//
// Each event of the dialog is one call here; the state then says what the
// dialog shows (geaendert()). A pick from a list refills the lists below it;
// typing only recomposes the line. Setting a field from the program runs its
// change handling as typing does (completion, the line), and a selection by the
// program cascades as a pick does, in the order the dialog relies on.
class Fundsitzung : public QObject {
    Q_OBJECT
public:
    enum class Modus { Blaettern, Eingabe, Gespeichert };
    // The input fields in the order of a stored row (the date has lists of its own).
    enum Feld { Land, Bundesland, Stadt, Fundort, Beschreibung, Hoehe, Bildart, Autor };
    static constexpr int feldAnzahl = 8;
    enum Datum { Jahr, Monat, Tag };

    // ordner: where data.db lives (empty: the per-user data folder); heute: the
    // date the date lists start from.
    Fundsitzung(const QString& ordner, QDate heute, QObject* eltern = nullptr);
    ~Fundsitzung() override;

    // --- what the dialog does ---

    // The opening: date lists, kinds of photo, the store and its rows.
    void oeffnen();
    // The user changed a field's text (typing, deleting, pasting).
    void tippen(Feld feld, const QString& text);
    // The user picked an entry of a field's suggestion list (also the selected one).
    void waehlen(Feld feld, int index);
    // The user chose another entry of a date list.
    void datumWaehlen(Datum liste, int index);
    // The user chose another stored location.
    void gespeichertenWaehlen(int index);
    // "Neuer Fundort"; beibehalten: "im Moment angezeigte Daten beibehalten".
    void neuerFundort(bool beibehalten);
    void speichern();        // "Fundort speichern"
    void loeschen();         // "Fundort löschen"
    void alleAnzeigen();     // "alle bisherigen Fundorte anzeigen"
    // The photo the main window holds (geladen), and the day it was taken (invalid: none said).
    void fotoSetzen(bool geladen, QDate aufnahme);
    // "Aufnahmedatum": the date lists go to the day the photo was taken, as picks would set them.
    void aufnahmedatumWaehlen();

    // Leaving with a new location not stored asks first, however the dialog is closed.
    enum Antwort { Speichern, Verwerfen, Abbrechen };
    struct Schliessfrage {
        QString text;
        QStringList antworten; // by Antwort
        Antwort standard;      // what Return gives
        std::optional<Antwort> gesperrt; // shown, but not to be chosen
    };
    // None: nothing would be lost.
    std::optional<Schliessfrage> schliessfrage() const;
    // The answer; true when the dialog may close (not when storing failed: it was said why).
    bool schliessen(Antwort antwort);

    // --- what the dialog shows ---

    Modus modus() const { return m_modus; }
    bool istNeuerFundort() const { return m_modus == Modus::Eingabe; }
    const QString& text(Feld feld) const { return m_felder[feld].text; }
    // The suggestion list of Land, Bundesland, Stadt, Fundort, Bildart and Autor.
    const QStringList& vorschlaege(Feld feld) const { return m_felder[feld].liste; }
    int vorschlagIndex(Feld feld) const { return m_felder[feld].index; }
    // Counts every refill of the list, so that a view refills only what changed.
    int listenStand(Feld feld) const { return m_felder[feld].stand; }
    // A completed name: the typed letters end here, the rest is to be shown selected.
    std::optional<int> ergaenztAb(Feld feld) const { return m_felder[feld].ergaenztAb; }
    bool gesperrt(Feld feld) const { return m_felder[feld].gesperrt; }

    const QStringList& datumsliste(Datum liste) const { return m_datum[liste].eintraege; }
    int datumsIndex(Datum liste) const { return m_datum[liste].index; }
    int datumsStand(Datum liste) const { return m_datum[liste].stand; }
    bool datumGesperrt() const { return m_datumGesperrt; }

    const QStringList& gespeicherte() const { return m_gespeicherte; }
    int gespeicherterIndex() const { return m_gespeicherterIndex; }
    int gespeicherteStand() const { return m_gespeicherteStand; }
    bool listeAktiv() const { return m_listeAktiv; }

    // The report line; none before it was first composed, then whether it is complete.
    const QString& zeile() const { return m_zeile; }
    std::optional<bool> zeileVollstaendig() const { return m_vollstaendig; }

    bool speichernMoeglich() const { return m_speichernAn; }   // "Fundort speichern"
    bool kopierenMoeglich() const { return m_kopierenAn; }     // "Fundort in die Zwischenablage"
    bool loeschenMoeglich() const { return m_loeschenAn; }     // "Fundort löschen"
    bool alleAnzeigenMoeglich() const { return m_alleAnzeigenAn; } // "alle bisherigen Fundorte anzeigen"

    // The store could be opened; otherwise the dialog composes and copies, but does not save.
    bool speicherOffen() const;
    // A new location has input that "Neuer Fundort" did not put there and that is not saved.
    bool ungespeicherteEingabe() const;

    // The "Aufnahmedatum" button, and its tool tip: which day, or why there is none to take.
    bool aufnahmedatumMoeglich() const { return m_aufnahme.isValid() && !m_datumGesperrt; }
    QString aufnahmedatumHinweis() const;

    // The location as the fields show it; the date as composed, or as stored when the lists cannot show it.
    FindRecord felder() const;

    // The two connections, for inspection.
    const FundortDatenbank& datensaetze() const { return *m_data1; }

signals:
    void geaendert();
    // A message the dialog shows in a box.
    void meldung(const QString& text, const QString& titel, Dienste::Symbol symbol);

private:
    struct Eingabe {
        QString text;
        QStringList liste;
        int index = -1;
        int stand = 0;
        std::optional<int> ergaenztAb;
        bool gesperrt = true;
    };
    struct Datumsliste {
        QStringList eintraege;
        int index = -1;
        int stand = 0;
    };

    // The steps the events are made of, in the dialog's order.
    void neuesEreignis();
    void Fundorte_Laden();
    void Zusammenstellung_Anzeigen();
    void aenderung();
    void gespeichertAuswaehlen(int index);
    void fundortAnzeigen();
    void feldSetzen(Feld feld, const QString& text);
    void auswaehlen(Feld feld, int index);
    void gewaehlt(Feld feld);
    bool vorschlaegeFuellen(Feld feld, const std::optional<QStringList>& werte);
    void eingabenSperren(bool gesperrt);
    void datumSetzen(Datum liste, int index);
    void datumAnzeigen(const QString& datum);
    void datumZeigen(const fundbericht::Datum& datum);
    void tageAufbauen(int tag);
    void Tagesliste_Aufbauen();
    int jahr() const;
    bool speicherOeffnen(bool fehlerMelden);
    void datenbankFehler(const QString& was, const FundortDatenbank& db);

    FundortDatenbank* m_data1;
    FundortDatenbank* m_data2;
    QDate m_heute;
    bool m_fotoGeladen = false;
    QDate m_aufnahme;
    Modus m_modus = Modus::Blaettern;
    std::array<Eingabe, feldAnzahl> m_felder;
    std::array<Datumsliste, 3> m_datum;
    bool m_datumGesperrt = true;
    // A stored date that the lists cannot show: the line shows it as stored until a date list changes.
    std::optional<QString> m_datumWieGespeichert;
    QStringList m_gespeicherte;
    int m_gespeicherterIndex = -1;
    int m_gespeicherteStand = 0;
    bool m_listeAktiv = true;
    QString m_zeile;
    std::optional<bool> m_vollstaendig;
    bool m_speichernAn = false, m_kopierenAn = false, m_loeschenAn = false, m_alleAnzeigenAn = false;
    FindRecord m_eingabeBeginn;
};
