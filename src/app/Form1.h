#pragma once

#include "app/Arbeitsstand.h"
#include "app/Ladeablauf.h"
#include "hilfe/Form3.h"
#include "platform/Dienste.h"
#include "platform/Nebenfenster.h"

#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>

class BildFlaeche;
class Fokusrahmen;
class Griff;
class KlickLabel;
class Liste;
class PixelAnsicht;
class QCheckBox;
class QFrame;
class QGroupBox;
class QKeyEvent;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTimer;
class Rechteck;
class SettingsStore;
class TextFeld;
class UmbruchKnopf;
class UpDown;
class Umriss;

// The main window: seven step frames down the left, the read-out strip
// "Bilddaten" across the top, the picture area, and the "Extras" frame. It is
// the view of its working state (Arbeitsstand): each handler forwards its
// event there and paints what the state then says. Every control carries its
// name as objectName, for findChild.
struct Ladeergebnis;

class Form1 : public QWidget {
    Q_OBJECT
public:
    // Where the window appears: at its design size (as tests and benchmarks
    // want it), or where the user left it when the program last ended.
    enum class Lage { Entwurf, Gemerkt };
    explicit Form1(QWidget* eltern = nullptr, Lage lage = Lage::Entwurf);
    ~Form1() override;

    // What the window works on.
    const Arbeitsstand& stand() const { return m_stand; }

    // Loads a file that the desktop hands over (command line, drop) exactly as
    // if it had been chosen in the open dialog.
    void dateiUebernehmen(const QString& pfad);
    // The "?" whose help F1 shows when fokus has the keyboard focus: the step
    // the control belongs to, the start help for anything else.
    int hilfeIndexFuer(const QWidget* fokus) const;
    // The help window, while it exists.
    Form3* hilfe() const;

    // Reads the settings record and applies it: ratio, colour, size, width, quality, folders.
    void Daten_Laden();

protected:
    void resizeEvent(QResizeEvent*) override;
    void closeEvent(QCloseEvent*) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
    void keyPressEvent(QKeyEvent* taste) override;

private:
    void aufbauen();
    void Form_Load();
    void Form_Resize();
    void Combo1_Click();
    void oColor_Click();
    void List1_Click();
    void TextB_Change();
    void TextH_Change();
    void TextKomp_Change();
    void Timer1_Timer();

    // Paints what the state says: read-outs, verdicts, boxes, lists, buttons,
    // surfaces and the frame. Touches only what differs from what is shown.
    void anzeigen();
    void rahmenZeigen();
    void statusLichtSetzen(int bild);

    // Sizes the view for the loaded picture or the crop and paints it there, at its
    // own size or reduced, and tells the state how large it came out. The picture
    // area is fraTisch as it is now, or the one a step that is undone was shown in.
    enum class Ansichtsquelle { Quelle, Zuschnitt };
    void AnsichtAufbauen(Ansichtsquelle quelle, QSizeF tisch = {});
    // After cropping, the view shows the loaded picture again before a new frame.
    void zuschnittAusblenden();
    // Strg+Z and Strg+Umschalt+Z: a step of the frame or "Zuschneiden" back or forth.
    void rueckgaengig(bool vor);

    // Loading a picture.
    void cmdOeffnen_Click();
    void oeffnenVorbereiten();
    // Loads the file the open dialog holds as chosen.
    void gewaehltLaden();
    // Bild↓ / Bild↑: the next or previous JPEG of the folder, loaded as if chosen.
    void naechstesBild(int richtung);
    // Loads a photo through the loading flow, which reports what to show (ladeMeldung).
    void bildLaden(const QString& pfad);
    void ladeMeldung(const Ladeablauf::Meldung& meldung);
    void ladefehlerMelden(const QString& pfad, const Ladeergebnis& geladen);
    // The loaded picture (or its first view) replaces the current one: read-outs, view, verdicts.
    void bildZeigen(const QString& pfad, Quellbild quelle);
    // A button's step that needs the whole picture while only its first view is there:
    // kept for when it comes (true), with the busy cursor meanwhile.
    bool aufGanzesBildWarten(QPushButton* knopf, void (Form1::*schritt)());
    // The state ran the target chain on a first view: it runs again on the whole picture.
    void ketteAusstehend();
    // What a report of a load or of work beside brings in waits while a step of the state
    // lets the window catch up.
    void nachDemSchritt(std::function<void()> aktion);
    // For the state: arbeit on a thread of its own, then fertig with its result here.
    void nebenherRechnen(std::function<Kodierung()> arbeit, std::function<void(const Kodierung&)> fertig);
    // The busy cursor and "Bild wird geladen …" while a step waits or a load takes long.
    void ladeHinweisAbgleichen();
    void ladeHinweis(bool an);
    void ansichtNeuMalen();

    // The selection frame: mouse on the view and on the handles, and the whole picture.
    void picZiel_MouseDown(Qt::MouseButton knopf, QPointF pos);
    void picZiel_MouseMove(Qt::MouseButtons knoepfe, QPointF pos);
    void picZiel_MouseUp(Qt::MouseButton knopf);
    void Griff_MouseDown(Auswahlrahmen::Griffname h, Qt::MouseButton knopf, QPointF pos);
    void Griff_MouseMove(Auswahlrahmen::Griffname h, Qt::MouseButtons knoepfe, QPointF pos);
    void Griff_MouseUp(Auswahlrahmen::Griffname h, Qt::MouseButton knopf, Qt::MouseButtons noch);
    void Command7_Click();

    // Cropping, saving, publishing and the JPEG service.
    void BildZuschneiden();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void jpegDienstStarten();

    // --- the best quality below 100 KB, the location question, framing by keyboard ---
    void cmdBesteQualitaet_Click();
    // Before the loaded original is published: asks when it tells where it was taken,
    // and may write a copy without that. False: publish nothing. pfad may change to the copy.
    bool standortPruefen(QString& pfad);
    void speichernDialogVorbereiten();
    bool picZiel_Taste(QKeyEvent* taste);
    void picZiel_TasteLos(QKeyEvent* taste);
    void tastenketteAusfuehren();
    void fokusrahmenZeigen();

    // --- secondary windows: help, preferences, about box (Form1_Fenster.cpp) ---
    void fensterVerbinden();
    void HilfeZeigen(int index);
    // The one help window, created when first needed; it knows the find-location dialog.
    Form3* hilfeFenster();
    void Command5_Click();
    void Command6_Click();
    void lblKontakt_Click();

    // --- the desktop: drops, shortcuts, the window's place, the JPEG view (Form1_Desktop.cpp) ---
    void desktopVerbinden();
    // Shows or hides the JPEG view as the check box, the space bar and the measurement say.
    void jpegVorschauAbgleichen();
    // The view read-out: how the view shows the picture, or the JPEG file while it is up.
    void ansichtBeschriften();

    // --- controls, named as the workflow's descriptions name them ---
    QGroupBox *Frame9, *Frame6, *Frame7, *Frame4, *Frame3, *Frame5, *Frame8, *fraEinstellungen, *Frame10;
    QGroupBox *Frame1, *Frame2;
    QFrame* fraTisch;
    QPushButton* cmdOeffnen;
    Liste *Combo1, *oColor, *List1;
    TextFeld *TextB, *TextH, *TextKomp;
    QLineEdit* Text1;
    UpDown *UpDown1, *UpDown2;
    std::array<QLabel*, 1> Label1; // "x" between width and height
    QPushButton *Command7, *Command1, *Command2, *Command5, *Command6;
    UmbruchKnopf* Command3;
    KlickLabel* lblKontakt;
    QLabel* Image1;
    QLabel *lblKb, *lblQ, *lblQpruef, *lblQKB, *lblQpruef1, *lblQMassnahme, *lblZpx, *lblPruef, *lblZMassnahme;
    QLabel *lblZkb, *lblPruef2, *lblZMassnahme2, *lblA, *lblPruef1, *lblZMassnahme1, *lblAnsicht;
    QLabel *lblJpgQuality, *lblJpgFileSize, *lblZ;
    std::array<QRadioButton*, 2> optGroesse;
    std::array<QPushButton*, 15> Command4;
    BildFlaeche *picZiel, *picQuelle, *picTemp, *picPreview;
    Umriss* Shape1;
    Rechteck* Shape2;
    Griff *LO, *RO, *LU, *RU;
    QTimer* Timer1;
    SettingsStore* Data1;
    // Beside the workflow: the JPEG that a save would write, at 100 %; the best
    // quality below 100 KB in one click; the sign that the picture has the keyboard;
    // the pause after which a held key's chain runs.
    QCheckBox* chkJpegVorschau;
    PixelAnsicht* picJpegVorschau = nullptr;
    QPushButton* cmdBesteQualitaet;
    Fokusrahmen* fokusrahmen;
    QTimer* tastenTimer;

    Arbeitsstand m_stand;
    Ladeablauf m_ablauf; // after the state, which it hands the pictures
    // Where the state's work beside the window reports, while the window lives.
    std::shared_ptr<Ladeauftrag::Briefkasten> m_briefkasten = std::make_shared<Ladeauftrag::Briefkasten>(this);
    QTimer* m_ladeHinweisTimer = nullptr;
    bool m_ladeHinweisFaellig = false; // the load has taken half a second
    bool m_ladeHinweisAn = false;
    DateiDialog m_dateiDialog; // the one file dialog object of opening and saving
    int m_statusLicht = 0;
    int m_UpDown1Gesetzt = 0;  // the state's settings of UpDown1 and UpDown2 painted so far
    int m_UpDown2Gesetzt = 0;
    QPointer<Form3> m_hilfe;
    Nebenfenster m_form2;
    Nebenfenster m_about;
    Nebenfenster m_fund;
    Lage m_lage;
    QString m_blaetterPfad; // the file last chosen or paged to, where paging goes on
    bool m_fokusSichtbar = false;   // Tab brought the focus, or a key was used since the last click
    bool m_leertaste = false;       // the space bar is held on the picture area
    QString m_ansichtBeschriftung = QStringLiteral("automatisch"); // how the view shows its picture
    int m_vorschauProzent = 100;    // the JPEG file fitted into the picture area
    std::pair<qint64, QSize> m_vorschauEingepasst; // the file and size of the fitted copy
    QObject* m_leertasteWaechter = nullptr; // gone before the window, which still hides while it dies
};
