#pragma once

#include <QList>
#include <QMargins>
#include <QRect>
#include <QString>

class QWidget;

// Where windows appear: secondary windows over the window they belong to, the
// main window where the user left it last time.

// A window of groesse (without its frame) centred over bezug, then moved into
// verfuegbar as far as it fits there with its frame rahmen; a window larger than
// verfuegbar keeps its top-left corner (the title bar) inside.
QRect zentriertUeber(QSize groesse, const QRect& bezug, const QRect& verfuegbar, const QMargins& rahmen = {});

// Whether a window at lage can still be reached on one of the screens: some
// screen shows a piece of it at least 100 x 40 pixels large (or the whole width
// or height of a smaller window).
bool lageErreichbar(const QRect& lage, const QList<QRect>& bildschirme);

// Where the main window goes on the screens' available areas (the primary screen
// first), with its window frame rahmen. lage is the stored place (without the frame),
// invalid on the first start. A place that no screen shows enough of (lageErreichbar)
// counts as none: then groesse, made smaller where the primary screen is smaller (not
// below minimum), centred on that screen with its title bar inside. A stored place that
// the screens show wholly stays; one that reaches beyond them moves (and shrinks, not
// below minimum) into the screen that shows most of it.
QRect fensterPlatz(const QRect& lage, QSize groesse, QSize minimum, const QList<QRect>& bildschirme,
                   const QMargins& rahmen);

// The thickness of the window system's frame around a shown top-level window.
QMargins fensterrahmen(const QWidget* fenster);

// The per-user settings that the settings record has no field for; empty when something
// other than a file (or a link to one) stands in its place.
QString konfigurationsDatei();

// The main window's size, position and maximised state, kept under gruppe in
// the configuration file. Laden puts the window where it was when it was last
// saved, moved onto the present screens as far as needed (fensterPlatz).
void fensterlageLaden(QWidget* fenster, const QString& gruppe, QSize groesse);
void fensterlageSichern(const QWidget* fenster, const QString& gruppe);
