#pragma once

#include <QtGlobal>

#include <functional>

class JpegDienst;
class QImage;

// "Beste Qualität unter 100 KB": the highest quality 1..100 whose JPEG passes
// the size verdict of the read-outs.
namespace beste {

struct Ergebnis {
    int qualitaet = 0;   // 0 when not even quality 1 passes
    int kodierungen = 0; // how many encodes the search made
    int status = 0;      // 0, or the status of the encode that failed (then qualitaet is 0)
};

// The size verdict on a byte count, exactly as the read-out judges it: the size
// text shown for these bytes reads below 100 KB. 102348 bytes pass ("99,9 KB"),
// 102349 do not ("100,0 KB").
bool groesseGeeignet(qint64 bytes);

// The search on its own: groesse(q) gives the bytes at quality q (or a negative
// status), passt judges them. Halves the range 1..100, then confirms that the
// next three qualities above the boundary fail too, so that the answer is that of
// trying all hundred.
Ergebnis suchen(const std::function<qint64(int)>& groesse, const std::function<bool(qint64)>& passt);

// For a target picture, with the program's own encoder in its present coding, exactly
// as a save would write it.
Ergebnis suchen(JpegDienst& dienst, const QImage& bild);

// As suchen, then the same coding progressive: it codes the same pixels in fewer bytes
// and may let a higher quality pass. The service is left in the coding of the answer
// (baseline where progressive gains nothing, being quicker to code and to show).
Ergebnis suchenMitProgressiv(JpegDienst& dienst, const QImage& bild);

} // namespace beste
