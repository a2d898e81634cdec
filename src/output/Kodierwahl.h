#pragma once

#include "codec/JpegDienst.h"

#include <QImage>

#include <array>

// Which coding shows a target picture best for the bytes it takes. Chosen once per
// crop, by coding a sample of the picture in each variant and weighing the error of
// what comes back against the bytes it took; then used for every quality.
namespace kodierwahl {

// The variants chosen among: halved or full chroma, standard or Robidoux tables. All
// baseline: the choice runs on every release of the frame, and progressive coding
// takes twice the time for the same pixels; "beste < 100 KB" tries it on top.
using T = Kodierung::Tabellen;
constexpr std::array<Kodierung, 4> kandidaten{{
    {false, false, T::Standard},
    {false, true, T::Standard},
    {false, false, T::Robidoux},
    {false, true, T::Robidoux},
}};

// Mean squared error per pixel of the decoded picture against the original, in Y and in
// Cb plus Cr (BT.601, 0..255); -1 when the sizes differ.
struct Fehler {
    double luma = -1, chroma = -1;
};
Fehler fehler(const QImage& original, const QImage& dekodiert);

// Up to four 128 x 128 pieces of the picture, spread over it, on block boundaries;
// the whole picture when it is smaller than that.
QImage probe(const QImage& bild);

struct Bewertung {
    Fehler fehler;
    double bytes = 0, wert = 0; // wert: lower is better
};

// The variant for this picture, and each candidate's figures; dienst keeps its
// coding. status: 0, or the JPEG service's status (then the plain coding).
struct Wahl {
    Kodierung kodierung = einfacheKodierung;
    std::array<Bewertung, kandidaten.size()> bewertungen{};
    int status = 0;
};
Wahl waehlen(JpegDienst& dienst, const QImage& bild);

} // namespace kodierwahl
