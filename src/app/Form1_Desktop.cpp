// The main window as a desktop program: photos handed over by the desktop
// (dropped onto the window; the command line goes through main), keyboard
// shortcuts, and a look at the JPEG file that a save would write. None of it
// changes a caption, position or state of the workflow's own controls.
#include "app/Form1.h"

#include "app/Ansicht.h"
#include "hilfe/HilfeTexte.h"
#include "output/Quellbild.h"
#include "platform/Flaechen.h"
#include "platform/Steuerelemente.h"
#include "platform/Uebergabe.h"

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>

#include <functional>

namespace {

// Reports holding and releasing the space bar that reaches the window
// unused, that is on the picture area or where no control takes it; losing
// the keyboard counts as releasing.
class Leertaste : public QObject {
public:
    Leertaste(QWidget* fenster, std::function<void(bool)> gehalten)
        : QObject(fenster)
        , m_gehalten(std::move(gehalten))
    {
        fenster->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject*, QEvent* ereignis) override
    {
        switch (ereignis->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const auto* e = static_cast<QKeyEvent*>(ereignis);
            if (e->key() != Qt::Key_Space || e->modifiers() != Qt::NoModifier)
                return false;
            if (!e->isAutoRepeat())
                m_gehalten(ereignis->type() == QEvent::KeyPress);
            return true;
        }
        case QEvent::WindowDeactivate:
        case QEvent::EnabledChange:
        case QEvent::Hide:
            m_gehalten(false);
            return false;
        default:
            return false;
        }
    }

private:
    std::function<void(bool)> m_gehalten;
};

} // namespace

void Form1::desktopVerbinden()
{
    new DateiAblage(this, [this](const QString& pfad) { dateiUebernehmen(pfad); });

    const auto kurzwahl = [this](QKeySequence tasten, auto handler) {
        connect(new QShortcut(tasten, this), &QShortcut::activated, this, handler);
    };
    // A click on a disabled button does nothing, so each key does what its button may do now.
    kurzwahl(QKeySequence(Qt::CTRL | Qt::Key_O), [this] {
        if (isEnabled())
            cmdOeffnen->click();
    });
    kurzwahl(QKeySequence(Qt::CTRL | Qt::Key_S), [this] {
        if (isEnabled())
            Command2->click();
    });
    kurzwahl(QKeySequence(Qt::Key_F1), [this] {
        if (isEnabled())
            Command4[size_t(hilfeIndexFuer(QApplication::focusWidget()))]->click();
    });
    // Undo and redo of the frame and the crop. A text box being typed in keeps these keys
    // for its own typing (Qt gives a focused line edit the first claim); everywhere else in
    // the window they are the window's.
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_Z), this), &QShortcut::activated, this, [this] { rueckgaengig(false); });
    connect(new QShortcut(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), this), &QShortcut::activated, this,
            [this] { rueckgaengig(true); });
    // Closing the main window ends the program; the secondary windows pass the key on.
    kurzwahl(QKeySequence(Qt::CTRL | Qt::Key_Q), [this] { close(); });

    // The JPEG view: a check box in the free space below step 7, and the space
    // bar held on the picture area, which takes the keyboard when clicked.
    chkJpegVorschau = platzieren<QCheckBox>(this, "chkJpegVorschau", {16, 527, 190, 17},
                                            QStringLiteral("Vorschau der JPEG-Datei"));
    chkJpegVorschau->setToolTip(QStringLiteral("Zeigt die JPEG-Datei, die „Speichern unter ...“ schreiben würde, ganz. "
                                               "Ein Klick darauf zeigt sie in 100 % (ein Pixel der Datei auf einem Pixel "
                                               "des Bildschirms), verschiebbar mit gedrückter Maustaste; ein zweiter Klick "
                                               "wieder ganz. Auch: Leertaste auf dem Bild gedrückt halten."));
    chkJpegVorschau->setEnabled(false);
    connect(chkJpegVorschau, &QCheckBox::toggled, this, [this] { jpegVorschauAbgleichen(); });
    picJpegVorschau = new PixelAnsicht(this);
    picJpegVorschau->setObjectName(QStringLiteral("picJpegVorschau"));
    picJpegVorschau->hide();
    connect(picJpegVorschau, &PixelAnsicht::massstabGeaendert, this, &Form1::ansichtBeschriften);
    if (picZiel->focusPolicy() == Qt::NoFocus)
        picZiel->setFocusPolicy(Qt::ClickFocus);
    m_leertasteWaechter = new Leertaste(this, [this](bool gehalten) {
        if (m_leertaste == gehalten)
            return;
        m_leertaste = gehalten;
        jpegVorschauAbgleichen();
    });
}

void Form1::jpegVorschauAbgleichen()
{
    const JpegMessung& messung = m_stand.letzteMessung();
    const bool vorhanden = m_stand.messungZumBild() && !messung.Bild.isNull();
    chkJpegVorschau->setEnabled(vorhanden);
    if (!vorhanden && chkJpegVorschau->isChecked()) {
        const QSignalBlocker still(chkJpegVorschau);
        chkJpegVorschau->setChecked(false);
    }
    if (!vorhanden || !(chkJpegVorschau->isChecked() || m_leertaste)) {
        picJpegVorschau->hide();
        ansichtBeschriften();
        return;
    }
    // Over the picture area and the view, which may reach beyond it; the frame
    // and its handles lie under it untouched.
    QRect flaeche = fraTisch->geometry();
    if (!picZiel->isHidden())
        flaeche = flaeche.united(picZiel->geometry());
    picJpegVorschau->setGeometry(flaeche);
    picJpegVorschau->setzeBereich(fraTisch->geometry().translated(-flaeche.topLeft()));
    if (picJpegVorschau->bild().cacheKey() != messung.Bild.cacheKey())
        picJpegVorschau->setzeBild(messung.Bild);
    // Whole by default, reduced for the screen's own pixels when it does not fit at 100 %.
    const Vorschaumass mass = vorschauEinpassen(messung.Bild.size(), QSizeF(fraTisch->size()), picJpegVorschau->devicePixelRatioF());
    m_vorschauProzent = mass.prozent;
    const std::pair<qint64, QSize> eingepasst{messung.Bild.cacheKey(), mass.pixel};
    if (m_vorschauEingepasst != eingepasst) {
        m_vorschauEingepasst = eingepasst;
        picJpegVorschau->setzeEingepasst(mass.prozent < 100 ? Quellbild(messung.Bild).ansicht(mass.pixel) : QImage());
    }
    if (picJpegVorschau->isHidden())
        picJpegVorschau->setzeHundertProzent(false);
    picJpegVorschau->show();
    picJpegVorschau->raise();
    ansichtBeschriften();
}

void Form1::ansichtBeschriften()
{
    // While the JPEG file is up, the read-out says how it is shown.
    const QString text = m_ladeHinweisAn               ? QStringLiteral("Bild wird geladen …")
                         : picJpegVorschau->isHidden() ? m_ansichtBeschriftung
                             : vorschauBeschriftung(picJpegVorschau->hundertProzent() ? 100 : m_vorschauProzent);
    if (lblAnsicht->text() != text)
        lblAnsicht->setText(text);
}

int Form1::hilfeIndexFuer(const QWidget* fokus) const
{
    // The control itself first, then the frame it stands in.
    const std::pair<const QWidget*, int> zuordnung[] = {
        {Command7, 14}, {Command1, 8}, {Command2, 9}, {Command5, 11}, {Command6, 12}, {chkJpegVorschau, 7},
        {picZiel, 6}, {fraTisch, 6}, {Frame9, 13}, {Frame6, 4}, {Frame7, 5}, {Frame4, 6}, {Frame3, 7},
        {Frame5, 8}, {Frame8, 10}, {fraEinstellungen, 11}, {Frame10, 0}};
    for (const QWidget* w = fokus; w && w != this; w = w->parentWidget()) {
        for (size_t i = 0; i < Command4.size(); ++i)
            if (w == Command4[i])
                return int(i);
        for (const auto& [steuerelement, index] : zuordnung)
            if (w == steuerelement)
                return index;
    }
    return 0;
}
