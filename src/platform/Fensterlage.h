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

// The thickness of the window system's frame around a shown top-level window.
QMargins fensterrahmen(const QWidget* fenster);

// The per-user settings that the settings record has no field for.
QString konfigurationsDatei();

// The main window's size, position and maximised state, kept under gruppe in
// the configuration file. Laden puts the window where it was when it was last
// saved; without a stored place, or with one that no present screen shows, the
// window gets groesse, centred on the primary screen.
void fensterlageLaden(QWidget* fenster, const QString& gruppe, QSize groesse);
void fensterlageSichern(const QWidget* fenster, const QString& gruppe);
