#pragma once

#include "settings/SettingsRecord.h"

#include <QString>
#include <QStringList>
#include <Qt>

// The draft of the preferences dialog, without widgets: ratio and size lists,
// width and height, quality, the two reminders, the file-name proposal, the
// folders and the plain coding, as the dialog shows them, and the record that
// "OK" stores. Each event of the dialog is one call here; the dialog then
// shows anzeige(). Selecting an entry from the program runs that list's click
// handling only when the selection changes, as a pick does; setting the width
// always derives the height. Nothing is validated: what a box shows is stored
// as its leading number.
class Einstellungsstand {
public:
    enum class Ordner { Laden, Speichern };   // Text1, Text2
    enum class Erinnerung { Fundort, Start }; // Check1, Check2

    // What the dialog shows, named by the controls that show it.
    struct Anzeige {
        QString Text1, Text2;
        QStringList Combo1, oColor, List1;
        int Combo1Index = -1, oColorIndex = -1, List1Index = -1;
        QString TextB, TextH, TextKomp;
        bool eigeneGroesse = false; // TextB, TextH and UpDown1 take input
        // The spin controls' values as the rules last set them; each setting counts,
        // so that a view sets them only then and leaves the arrows' own steps alone.
        int UpDown1 = 10, UpDown2 = 92;
        int UpDown1Gesetzt = 0, UpDown2Gesetzt = 0;
        Qt::CheckState Check1 = Qt::Unchecked, Check2 = Qt::Unchecked;
        int Option1 = -1; // the chosen proposal mode; -1 before one is chosen
        QString Text3;
        bool Text3Aktiv = false;
        bool chkEinfacheKodierung = false;
    };

    // --- what the dialog does ---

    // The opening, and the reading again after a record that could not be read at
    // start: the lists for 3:2, then the record. anhang: the main window's suffix;
    // einfacheKodierung: the plain coding as kept in the configuration.
    void laden(const SettingsRecord& d, const QString& anhang, bool einfacheKodierung);

    void verhaeltnisGewaehlt(int index); // Combo1
    void farbeGewaehlt(int index);       // oColor
    void groesseGewaehlt(int index);     // List1
    // The text of a box changed (typing, pasting, a spin control's arrow).
    void breiteGetippt(const QString& text);
    void hoeheGetippt(const QString& text);
    void qualitaetGetippt(const QString& text);
    void ordnerGetippt(Ordner ordner, const QString& text);
    void anhangGetippt(const QString& text);
    // The folder picker's answer; "" (cancelled) leaves the box as it is.
    void ordnerGewaehlt(Ordner ordner, const QString& gewaehlt);
    void vorschlagGewaehlt(int index); // Option1(index)
    void erinnerungGeklickt(Erinnerung erinnerung, Qt::CheckState haken);
    void einfacheKodierungGeklickt(bool an);
    // "Standardeinstellungen": the built-in values into the draft; folders, file
    // names and the proposal mode stay.
    void standardeinstellungen();

    // --- what the dialog shows ---

    const Anzeige& anzeige() const { return m_anzeige; }
    float verhaeltnisB() const { return m_verhaeltnisB; }
    float verhaeltnisH() const { return m_verhaeltnisH; }
    bool fundortmeldungAn() const { return m_fundortmeldungAn; }
    bool startmeldungAn() const { return m_startmeldungAn; }
    // The picker's title and the folder it starts in.
    static QString ordnerTitel(Ordner ordner);
    const QString& ordner(Ordner ordner) const;

    // The record "OK" writes. bisherigerVorschlag: kept when no option is chosen.
    SettingsRecord datensatz(int bisherigerVorschlag) const;

    // The messages of "OK" when the record is not written; datei: the settings file.
    static QString meldungNochUnlesbar(const QString& datei, const QString& grund);
    static QString meldungJetztGelesen(const QString& datei);
    static QString meldungNichtGespeichert(const QString& datei);

private:
    void verhaeltnisWaehlen(int index);
    void groesseWaehlen(int index);
    void breiteSetzen(const QString& text);
    void hoeheSetzen(const QString& text);
    void qualitaetSetzen(const QString& text);
    void erinnerungSetzen(Erinnerung erinnerung, bool an);

    Anzeige m_anzeige;
    // What TextB, TextH and TextKomp read as: their leading numbers, taken when a text is set.
    double m_breite = 0, m_hoehe = 0, m_kompression = 0;
    float m_verhaeltnisB = 3, m_verhaeltnisH = 2;
    bool m_fundortmeldungAn = true;
    bool m_startmeldungAn = true;
};
