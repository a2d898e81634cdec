#pragma once

#include <QString>

class QWidget;

// For status != 0 shows one "GDI Error" box with the JPEG service's status text and
// number; returns status.
int GdipStatusPruefen(int status, QWidget* besitzer = nullptr);
