#pragma once

#include <QString>
#include <Qt>

#include <array>
#include <optional>

// The selection frame as a model: the display rectangle on the view, its
// mirror in source pixels, the four corner handles, the press anchors and the
// size read-out. Every coordinate is single precision and is never rounded;
// only the read-out rounds. The window draws this state and forwards mouse
// events; it never computes geometry itself.
class Auswahlrahmen {
public:
    struct Rechteck {
        float L = 0, T = 0, W = 0, H = 0;
        bool operator==(const Rechteck&) const = default;
    };

    enum Griffname { LO = 0, RO = 1, LU = 2, RU = 3 };

    // Cursor pictures: 1 resizes along RO-LU, 2 along LO-RU, 3 moves.
    enum Cursor { GroesseROLU = 1, GroesseLORU = 2, Verschieben = 3 };

    struct Griff {
        float L = 0, T = 0, W = 6, H = 6;
        bool sichtbar = false;
        int cursor = GroesseLORU;
        float griffX = 0, griffY = 0; // press point relative to the handle's top-left corner
        bool gehalten = false;
    };

    Auswahlrahmen();

    // --- state, read by the window for drawing and by the crop ---
    Rechteck shape1;             // the frame on the view
    bool shape1Sichtbar = false;
    Rechteck shape2;             // the frame in source pixels
    std::array<Griff, 4> griffe;
    float startX = 0, startY = 0;
    float verhaeltnisB = 3, verhaeltnisH = 2;
    // The read-out lblA in numbers: the frame's size in source pixels as shown,
    // halves rounded up; 0 x 0 while a new frame is started; none without a frame.
    struct Anzeige {
        long long breite = 0, hoehe = 0;
        bool operator==(const Anzeige&) const = default;
    };
    std::optional<Anzeige> anzeige;
    // The read-out's text: "600 x 400", or "" without a frame.
    QString lblA() const;
    // The read-out for a rectangle in source pixels.
    static Anzeige anzeigeFuer(const Rechteck& quelle);

    // Sizes of the surfaces, as they are now: the view's drawing area and
    // outer size, and the source picture.
    void setzeFlaechen(float ansichtB, float ansichtH, float aussenB, float aussenH, float quelleB, float quelleH);

    // Resize cursor of a handle's own diagonal.
    static int groessenCursor(Griffname h) { return (h == LO || h == RU) ? GroesseLORU : GroesseROLU; }

    // --- the steps that end every frame change ---
    void quellrahmenAbgleichen();
    void griffeSetzen();
    // The display rectangle mapped to source pixels with the current factors.
    Rechteck quellrechteck() const;

    // --- fitting and clamping ---
    // Shrinks a frame that reaches beyond the picture, keeping the ratio.
    // Returns false when nothing of the frame is left (it lay wholly outside).
    bool rahmenEinpassen();
    void rahmenZurueckschieben();

    // --- drawing a frame on the view (left button only) ---
    void druecken(Qt::MouseButton knopf, float x, float y);
    void ziehen(Qt::MouseButtons knoepfe, float x, float y);
    // Release: the handles go on the corners, the frame is fitted and the
    // handles are shown. Result: whether the release placed a frame (then the
    // window enables cropping and runs the target chain).
    enum class Ergebnis { Nichts, Gesetzt, Leer };
    Ergebnis loslassen(Qt::MouseButton knopf);

    // --- the corner handles ---
    void griffDruecken(Griffname h, Qt::MouseButton knopf, float x, float y);
    void griffZiehen(Griffname h, Qt::MouseButtons knoepfe, float x, float y);
    // First half of a handle's release: fitting (left) or pushing back (right).
    // Gesetzt means the target chain runs next; then griffLoslassenAbschliessen.
    Ergebnis griffLoslassen(Griffname h, Qt::MouseButton knopf);
    // noch: the buttons still held, with which the handle keeps its drag.
    void griffLoslassenAbschliessen(Griffname h, Qt::MouseButtons noch = Qt::NoButton);

    // "ganzes Bild auswählen": the whole picture as shown, handles on the outer corners.
    void ganzesBild();

    // --- the keyboard, on a placed frame ---
    // A frame lies on the picture with its handles shown, and no mouse button holds it.
    bool platziert() const;
    // Moves the frame by (dx, dy) view pixels; it stays inside the picture.
    // Returns whether it moved; if so, the handles and the read-out follow.
    bool tastenSchieben(float dx, float dy);
    // Makes the frame wider by dw view pixels (narrower when negative), its height
    // from the ratio, around the same centre, pushed back inside the picture. Nothing
    // changes when the new frame would be narrower than 1 pixel or would not fit.
    bool tastenGroesse(float dw);

    // Hides the frame and its handles (a new ratio or picture discards the frame).
    void verbergen();
    // The frame as after a load: hidden, 1 x 1 pixel, read-out empty.
    void zuruecksetzen();
    void griffeZeigen(bool sichtbar);

private:
    void bewegen(float l, float t, float w, float h);
    void setzen(Griffname g, float l, float t); // a handle's position, size 6 x 6
    bool tastenAbschliessen(const Rechteck& vorher);
    // Pushes the frame back inside the picture at its size.
    void inBildSchieben();
    void leeren();

    float m_sw = 0, m_sh = 0, m_ow = 0, m_oh = 0, m_qw = 0, m_qh = 0;
    bool m_zeichnet = false;
};
