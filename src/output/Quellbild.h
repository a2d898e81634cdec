#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>

#include <atomic>
#include <vector>

// The loaded photograph together with filtered copies at 1/2, 1/4, ... of its size.
// Cutting a 900 x 600 picture out of a camera photo then reads a copy that is only a
// little larger than needed instead of all 18 million pixels, which keeps the target
// chain quick enough to run on every release of the selection frame. The copies cost
// at most about a third of the picture's own memory.
class Quellbild {
public:
    Quellbild() = default;
    // The decoded photo; any other format than RGB32 is converted first. When abbrechen is
    // set while the copies are made, making them stops within a few rows (abgebrochen).
    explicit Quellbild(QImage bild, const std::atomic<bool>* abbrechen = nullptr);
    bool abgebrochen() const { return m_abgebrochen; }

    // For the first view while the photo is still being decoded: a reduced decode of a
    // picture of groesse pixels. Its size is the photo's; the view is drawn from the
    // reduced pixels, and a crop of it is only as sharp as those.
    Quellbild(QImage verkleinert, QSize groesse);
    bool vorlaeufig() const { return m_vorlaeufig; }

    bool isNull() const { return m_bild.isNull(); }
    int breite() const { return m_groesse.width(); }
    int hoehe() const { return m_groesse.height(); }
    // The full picture, unchanged (the reduced one while vorlaeufig).
    const QImage& bild() const { return m_bild; }

    // The rectangle r in source pixels (fractions kept; parts outside the picture repeat
    // its edge pixels) resampled to exactly ziel pixels, Format_RGB32. Per axis, reducing
    // filters with Lanczos-3, enlarging and scale 1 repeat the nearest source pixel.
    // A rectangle of zero width or height repeats the nearest pixel. An empty ziel (or
    // one whose raster cannot be allocated) gives a null image.
    QImage ausschnitt(QRectF r, QSize ziel) const;
    // The whole picture resampled to ziel, for the view.
    QImage ansicht(QSize ziel) const;

    // Number of reduced copies and the memory they take, in bytes.
    int stufen() const { return int(m_stufen.size()); }
    qint64 zusatzSpeicher() const;

    // A copy is used only while at least this much reduction is left for the final filter:
    // the softness the copies add then stays above what the target can show anyway.
    // (At 1.5 the butteraugli distance of a photo rises from about 0.8 to 1.0.)
    static constexpr double mindestFaktor = 2.0;
    // The view on the screen may be a shade softer (about 1.0 instead of 0.8 at
    // butteraugli) when that lets a large photo appear sooner after loading.
    static constexpr double ansichtMindestFaktor = 1.5;

private:
    QImage ausschnitt(QRectF r, QSize ziel, double mindest) const;

    QImage m_bild;
    QSize m_groesse;
    bool m_vorlaeufig = false;
    bool m_abgebrochen = false;
    std::vector<QImage> m_stufen; // m_stufen[i] is the picture reduced by 2^(i+1)
};
