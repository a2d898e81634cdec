#pragma once

#include <QIcon>
#include <QPixmap>

// The program's icon: a framed picture with crop corners, drawn from the
// built-in SVG. Every window carries it; the about box shows it large.
QIcon programmSymbol();
// The icon drawn at kante x kante pixels (for the device pixel ratio of 1).
QPixmap programmSymbolBild(int kante);
