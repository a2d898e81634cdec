#pragma once

#include "app/Verlauf.h"
#include "codec/JpegDienst.h"
#include "output/BesteQualitaet.h"
#include "output/Kodierwahl.h"
#include "output/Quellbild.h"
#include "selection/Auswahlrahmen.h"

#include <QImage>
#include <QRectF>
#include <QSizeF>
#include <QString>
#include <QStringList>
#include <Qt>

#include <cstdint>
#include <functional>
#include <optional>

struct SettingsRecord;

// What the main window works on, without a widget: the loaded picture, the
// selection frame and its mapping to source pixels, the target size, the
// quality, the last measurement and the verdicts. It runs the workflow's steps
// in their order (the target chain on every change of frame, width or quality)
// and judges from numbers, rounded exactly as the read-outs show them. The
// window forwards every event here and paints what anzeige() says.
class Arbeitsstand {
public:
    // What the state leaves to the window while a step runs.
    struct Rueckmeldung {
        std::function<void(int)> status;      // a failing status of the JPEG service, shown at once
        std::function<void()> zwischendurch;  // pending window events, between measuring and showing
        // The picture is still a reduced first view and the target chain needs its pixels:
        // the chain is kept (ketteAusstehend) until the window has handed the whole picture
        // over (vollesBild) and runs ausstehendeKetteAusfuehren.
        std::function<void()> ketteAusstehend;
        // Runs arbeit beside the window's thread and then fertig with its result on it;
        // unset: both at once, here.
        std::function<void(std::function<Kodierung()> arbeit, std::function<void(const Kodierung&)> fertig)> nebenher;
    };

    // A verdict's colour: green for "OK", red otherwise; none until first judged.
    enum class Farbe { Keine, Gruen, Rot };

    // Everything the window shows of the work, written from the state's values. Names
    // are those of the controls that show it.
    struct Anzeige {
        QString Text1;
        QString lblQ, lblQKB, lblQpruef, lblQpruef1, lblQMassnahme;
        Farbe lblQpruefFarbe = Farbe::Keine, lblQpruef1Farbe = Farbe::Keine, lblQMassnahmeFarbe = Farbe::Keine;
        QString lblZpx; // also the hidden lblZ
        QString lblKb;  // also lblZkb
        QString lblPruef, lblPruef1, lblPruef2, lblZMassnahme, lblZMassnahme1, lblZMassnahme2;
        Farbe lblPruefFarbe = Farbe::Keine, lblPruef1Farbe = Farbe::Keine, lblPruef2Farbe = Farbe::Keine;
        Farbe lblZMassnahme1Farbe = Farbe::Keine;
        int statusLicht = 1; // Image1: 1 neutral, 2 all target checks passed

        int Combo1 = -1, oColor = -1; // the chosen ratio and colour
        std::optional<std::uint32_t> rahmenFarbe; // frame and handles, 0xRRGGBB, once a colour was chosen
        QStringList List1; // the target sizes
        int List1Index = -1;
        QString TextB, TextH, TextKomp;
        bool eigeneGroesse = false; // TextB, TextH and UpDown1 take input
        // The spin controls' values as the steps last set them; each setting counts, so
        // that the window sets them only then and leaves the arrows' own steps alone.
        int UpDown1 = 10, UpDown2 = 100;
        int UpDown1Gesetzt = 0, UpDown2Gesetzt = 0;

        bool Command1 = false;         // "Zuschneiden"
        bool Command2 = false;         // "Speichern unter ..."
        bool Command3 = false;         // publish; its tool tip is veroeffentlichPfad
        bool Command7 = false;         // "ganzes Bild auswählen"
        bool cmdBesteQualitaet = false; // a target picture to tune
        bool picZiel = false;          // the view shows a picture
    };

    explicit Arbeitsstand(Rueckmeldung rueckmeldung = {});

    Anzeige anzeige() const;

    // --- the JPEG service: 0 = started, else its status ---
    int jpegDienstStarten();
    void jpegDienstBeenden();
    bool gdiplusBereit() const { return m_gdiplusBereit; }

    // --- preferences from the settings record that the steps use ---
    struct Vorgaben {
        QString pfadLaden, pfadSpeichern, anhang;
        qint16 vorschlag = 0;
        bool einfacheKodierung = false; // baseline 4:2:0 with standard tables, whatever the picture
    };
    const Vorgaben& vorgaben() const { return m_vorgaben; }
    void setzeVorgaben(const Vorgaben& vorgaben) { m_vorgaben = vorgaben; }
    // The coding preference changed: the crop is coded anew, and measured if it was.
    void einfacheKodierungSetzen(bool einfach);

    // --- start-up: ratio 3 : 2, its sizes, no frame, handles 6 x 6 and their cursors ---
    void starten();

    // --- step 1: loading. A decoded picture replaces the old one (its frame, crop and
    // read-outs go); the window then builds its view and reports its size
    // (ansichtGebaut), and bildGeladen finishes: read-outs, quality back to the
    // stored one, source size and verdict. ---
    void neuesBild(const QString& pfad, QImage bild);
    // The same with the picture ready made, or a first view standing for it (vorlaeufig).
    void neuesBild(const QString& pfad, Quellbild quelle);
    // The full picture for the first view now shown: of the same size, it takes its place
    // and nothing else changes. False when it does not fit (then it is not taken).
    bool vollesBild(Quellbild voll);
    // The target chain met only a first view: nothing measured yet, the chain runs again
    // here once the whole picture is in (and not before).
    bool ketteAusstehend() const { return m_ketteAusstehend; }
    void ausstehendeKetteAusfuehren();
    // No picture any more, as at the start: read-outs, frame, crop and measurement go.
    void bildEntfernen();
    void bildGeladen(double kompression);
    // The view now shows the loaded picture (or the crop) at this size: drawing area
    // and outer size, built for the picture area flaeche. Frames map onto the loaded
    // picture's view only.
    void ansichtGebaut(bool zuschnitt, float breite, float hoehe, float aussenB, float aussenH, QSizeF flaeche = {});

    // The settings record applied at start and after the preferences were saved: folders,
    // ratio, colour, size, width, quality, file-name proposal. Each selection runs its
    // list's handling at once, as a pick does, and only when it changes the selection.
    void datensatzAnwenden(const SettingsRecord& d);

    // --- step 2: a ratio chosen (index into the ratio list); its sizes follow, the frame
    // goes. A colour chosen for the frame. ---
    void verhaeltnisGewaehlt(int index);
    void farbeGewaehlt(int index);

    // --- step 3: a row of the size list chosen; the width typed or set; the height typed
    // (it has no handling of its own: the steps read it as typed until the next width) ---
    void groesseGewaehlt(int index);
    void breiteGeaendert(const QString& text);
    void hoeheGetippt(const QString& text);

    // --- step 4: the frame by mouse, handle, button and keyboard ---
    void rahmenDruecken(Qt::MouseButton knopf, float x, float y);
    void rahmenZiehen(Qt::MouseButtons knoepfe, float x, float y);
    void rahmenLoslassen(Qt::MouseButton knopf);
    void griffDruecken(Auswahlrahmen::Griffname h, Qt::MouseButton knopf, float x, float y);
    void griffZiehen(Auswahlrahmen::Griffname h, Qt::MouseButtons knoepfe, float x, float y);
    void griffLoslassen(Auswahlrahmen::Griffname h, Qt::MouseButton knopf, Qt::MouseButtons noch = Qt::NoButton);
    void ganzesBildAuswaehlen();

    // A key on the picture: arrows move the frame by one view pixel, with Shift by ten;
    // + and - make it one pixel wider or narrower. Keys with Ctrl, Alt or Meta, and any
    // other key, are none of the frame's.
    struct Rahmenschritt {
        float dx = 0, dy = 0, dw = 0;
        bool operator==(const Rahmenschritt&) const = default;
    };
    static std::optional<Rahmenschritt> rahmenschritt(int taste, Qt::KeyboardModifiers modifikatoren);
    // Applies a step to a placed frame; whether it moved. A single step runs the target
    // chain at once; a repeating key leaves it open (tastenketteOffen) until
    // tastenketteAusfuehren.
    bool rahmenTaste(const Rahmenschritt& schritt, bool wiederholt);
    bool tastenketteOffen() const { return m_tastenKetteOffen; }
    void tastenketteAusfuehren();

    // --- step 5: the quality typed or set, and the best quality below 100 KB ---
    void qualitaetGeaendert(const QString& text);
    // None when there is no target picture or no JPEG service. Otherwise the search's
    // result; when it found a quality, that is set as if typed.
    std::optional<beste::Ergebnis> besteQualitaet();

    // --- step 6: cropping (BildZuschneiden, then the window shows the crop, then
    // zuschnittFertig) and saving ---
    void BildZuschneiden();
    void zuschnittFertig();
    // Writes the measured JPEG; 0 = written, then it is what step 7 publishes.
    int speichern(const QString& pfad);
    // Writes a copy of the loaded file without its place; 0 = written, then it is published.
    int kopieSpeichern(const QByteArray& daten, const QString& pfad);
    const Speicherfehler& letzterSpeicherfehler() const { return m_jpeg.letzterSpeicherfehler(); }

    // --- undo (Verlauf): loading a picture or choosing a ratio starts afresh. Going back
    // or forth shows the frame, buttons, read-outs, verdicts and measurement as they
    // were. False: nothing to go to, or the mouse holds the frame. ---
    bool rueckgaengig();
    bool wiederholen();
    bool kannRueckgaengig() const { return m_verlauf.zurueck() > 0; }
    bool kannWiederholen() const { return m_verlauf.vor() > 0; }
    // The last step left the cropped picture on show (else the loaded one, built for quellFlaeche).
    bool zuschnittGezeigt() const { return m_zuschnittGezeigt; }
    QSizeF quellFlaeche() const { return m_quellFlaeche; }

    // --- what the steps work on ---
    const Quellbild& quelle() const { return m_quelle; }
    const QString& dateiPfad() const { return m_dateiPfad; }
    const Auswahlrahmen& rahmen() const { return m_rahmen; }
    // The cropped and resampled target raster (picTemp), null when there is none.
    const QImage& zielbild() const { return m_zielbild; }
    // The preview (picPreview): the decoded JPEG of the last measurement, and its surface's size.
    const QImage& vorschau() const { return m_vorschau; }
    QSize vorschauGroesse() const { return m_vorschauGroesse; }
    const JpegMessung& letzteMessung() const { return m_letzteMessung; }
    // How the crop is coded: chosen for it when it was made, or the plain coding.
    const Kodierung& kodierung() const { return m_jpeg.kodierung(); }
    // The coding for the crop is still being chosen beside: what is measured and shown is
    // the coding chosen before; should the choice differ, the crop is measured again.
    bool kodierungOffen() const { return m_wahlOffen != 0; }
    // A measurement lets the window catch up (zwischendurch): what changes the work has to
    // wait until it is through.
    bool mittenImSchritt() const { return m_zwischendurch; }
    // The last measurement belongs to the picture now loaded.
    bool messungZumBild() const { return m_messungZumBild; }
    int jpegQualitaet() const { return m_jpegQualitaet; }
    float zielHoehe() const { return m_zielHoehe; }
    const QString& veroeffentlichPfad() const { return m_veroeffentlichPfad; }

    // The routines of the chain, in their order: map and crop, measure, judge.
    void AuswahlUebertragen();
    void ZielgroesseMessen();
    void ZielBewerten();
    void QuellgroesseAnzeigen(const QString& datei);
    void QuelleBewerten();

private:
    // Tests and benchmarks read the counters (ArbeitsstandPruefung.h).
    friend struct ArbeitsstandPruefung;
    // How often each part of the target chain ran, and the chain as a whole.
    struct Zaehler {
        int uebertragen = 0, gemessen = 0, bewertet = 0, ketten = 0;
        int bilder = 0; // pictures (or first views) taken over
    };

    Schnappschuss festhalten() const;
    void wiederherstellen(const Verlauf::Ziel& ziel);
    // A step begins before its change and is kept at its end if it changed anything.
    void schrittBeginnen() { m_verlauf.beginnen(festhalten()); }
    void schrittAbschliessen();

    void zielkette();
    // The crop of m_zielRechteck at m_zielGroesse.
    QImage ausschneiden();
    void kodierungWaehlen();
    void kodierungGewaehlt(qint64 bild, const Kodierung& kodierung);
    // Before a step that needs the coding chosen for the crop: chosen here when still open.
    void kodierungEntscheiden();
    // Before a step reads the picture's pixels; false while only a first view is there,
    // and the chain is then kept for the whole picture.
    bool pixelDa();
    void rahmenGesetzt();
    void keinRahmen();
    void zielVorhanden(bool vorhanden) { m_ziel.cmdBesteQualitaet = vorhanden; }
    // Width and height as set or typed: the text shown, and its leading number taken at once.
    void breiteSetzen(const QString& text);
    void hoeheSetzen(const QString& text);
    void veroeffentlichen(const QString& pfad, bool freigeben);

    Rueckmeldung m_rueckmeldung;
    Vorgaben m_vorgaben;
    JpegDienst m_jpeg;
    bool m_gdiplusBereit = false;

    // The settings of steps 2, 3 and 5, as chosen and typed: undo and a new picture keep them.
    struct Eingaben {
        int verhaeltnis = -1, farbe = -1; // the entries of Combo1 and oColor
        std::optional<std::uint32_t> rahmenFarbe;
        QStringList groessen; // List1
        int groesse = -1;
        QString breiteText, hoeheText, qualitaetText = QStringLiteral("100 "); // TextB, TextH, TextKomp
        double breite = 0, hoehe = 0, qualitaet = 100; // their leading numbers
        QString zielText; // lblZpx: width and height as they read at the last change of the width
        int upDown1 = 10, upDown1Gesetzt = 0, upDown2 = 100, upDown2Gesetzt = 0;
    } m_eingaben;

    QString m_dateiPfad;
    Quellbild m_quelle;
    // The loaded picture as judged: its size, its file's bytes, the verdicts.
    std::optional<QSize> m_quellMasse;
    std::optional<qint64> m_quelleBytes;
    std::optional<bewertung::Quelle> m_quellUrteil;
    bool m_bildGeladen = false; // a picture is on show and can be framed whole (picZiel, Command7)
    Auswahlrahmen m_rahmen;
    Zielstand m_ziel;

    float m_zielHoehe = 0;
    QImage m_zielbild;
    QImage m_vorschau;
    QSize m_vorschauGroesse{1, 1};
    JpegMessung m_letzteMessung;
    std::optional<qint64> m_angezeigteBytes; // the bytes whose size text step 5 shows
    int m_jpegQualitaet = 0;
    bool m_messungZumBild = false;
    QString m_veroeffentlichPfad;

    bool m_tastenKetteOffen = false;
    bool m_ketteAusstehend = false;
    qint64 m_wahlOffen = 0; // the crop whose coding is being chosen beside
    bool m_schonGewaehlt = false; // a coding has been chosen for a crop before
    bool m_zwischendurch = false;
    Zaehler m_zaehler;

    QRectF m_zielRechteck; // the source rectangle and size the target raster was painted from
    QSize m_zielGroesse;
    // The last crop made, and the coding chosen for it.
    struct Ausschnitt {
        qint64 quelle = 0;
        QRectF rechteck;
        QSize groesse;
        QImage bild;
        std::optional<Kodierung> kodierung;
    } m_ausschnitt;
    bool m_zuschnittGezeigt = false;
    QSizeF m_quellFlaeche;
    Verlauf m_verlauf;
};
