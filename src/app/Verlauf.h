#pragma once

#include "codec/JpegDienst.h"
#include "output/Bewertung.h"
#include "selection/Auswahlrahmen.h"

#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>

#include <deque>
#include <optional>

// What the target's read-outs and the buttons of steps 5 to 7 say after a step, as
// values: the read-outs are written from them.
struct Zielstand {
    // The last judging, and which of its checks it showed: the selection only while a
    // picture was on show, the size only once something was measured.
    struct Urteil {
        bewertung::Ziel ziel;
        bool auswahlGezeigt = false, groesseGezeigt = false;
    };
    std::optional<Urteil> urteil; // none before the first judging
    // The line beside the selection: what the judging says there, the next step once
    // everything passed, the save that happened, or nothing (a new picture).
    enum class Weiter { Nichts, Urteil, Zuschneiden, Speichern, Gespeichert } weiter = Weiter::Nichts;
    int statusLicht = 1; // 2: every target check passed
    bool Command1 = false, Command2 = false, Command3 = false, cmdBesteQualitaet = false;
};

// What a step changes, small enough to keep many: the pictures are made again from
// the loaded picture and the measured bytes.
struct Schnappschuss {
    Auswahlrahmen rahmen;
    Zielstand ziel;
    QRectF zielRechteck;
    QSize zielGroesse;
    enum class Vorschau { Keine, Messung, Zielbild } vorschau = Vorschau::Keine;
    QSize vorschauGroesse;
    JpegMessung messung; // without its decoded picture, which is decoded again
    bool messungMitBild = false;
    std::optional<qint64> angezeigteBytes;
    int jpegQualitaet = 0;
    Kodierung kodierung;
    bool messungZumBild = false;
    QString veroeffentlichPfad;
    bool zuschnittGezeigt = false;
    QSizeF quellFlaeche;
    // Target width, height and quality then: settings, which undo leaves as they are now.
    double breite = 0, hoehe = 0, qualitaet = 0;
};

// Undo and redo. Every change of the frame (drawn, at a handle, the whole picture, by
// keys: a held key is one step) and "Zuschneiden" is a step, kept up to tiefe deep; the
// oldest goes first. A step that changed neither frame, view nor the crop's buttons is
// none. Going back or forth brings a step's state back; when the target size or the
// quality changed in between, the target chain runs for them instead of bringing back
// the measurement.
class Verlauf {
public:
    static constexpr int tiefe = 30;

    // A step begins before its change, with the state as it stood; while the mouse
    // holds the frame it is under way.
    void beginnen(Schnappschuss vorher) { m_begonnen = std::move(vorher); }
    bool begonnen() const { return m_begonnen.has_value(); }
    // A press that came to nothing.
    void verwerfen() { m_begonnen.reset(); }
    // The step is over: kept if jetzt differs from how it began, and what lay ahead goes.
    void abschliessen(const Schnappschuss& jetzt);
    // A new picture or ratio: nothing to go back or forth to.
    void leeren();

    int zurueck() const { return int(m_zurueck.size()); }
    int vor() const { return int(m_vor.size()); }
    // Whether undo (redo) can go now: something is kept and no step is under way.
    bool kannZurueck() const { return !m_begonnen && !m_zurueck.empty(); }
    bool kannVor() const { return !m_begonnen && !m_vor.empty(); }

    struct Ziel {
        Schnappschuss schritt;
        bool kette = false; // the target chain runs instead of bringing back the measurement
    };
    // jetzt is kept on the other side; the step to bring back, when kannZurueck (kannVor).
    std::optional<Ziel> zurueckgehen(Schnappschuss jetzt);
    std::optional<Ziel> vorgehen(Schnappschuss jetzt);

private:
    std::deque<Schnappschuss> m_zurueck, m_vor;
    std::optional<Schnappschuss> m_begonnen;
};
