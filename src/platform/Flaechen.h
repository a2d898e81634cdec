#pragma once

#include <QImage>
#include <QPixmap>
#include <QWidget>

// Picture surfaces and the overlays laid over them. Their geometry is kept in
// single precision, exactly as computed; widget geometry (whole pixels) only
// follows it for drawing. Tests and debugging read the exact values through
// the Qt properties.

// A picture surface: holds a picture, paints a picture stretched into a
// rectangle, and reports its size. Without a border, outer size = drawing area.
class BildFlaeche : public QWidget {
    Q_OBJECT
    Q_PROPERTY(float Left READ Left)
    Q_PROPERTY(float Top READ Top)
    Q_PROPERTY(float Width READ Width)
    Q_PROPERTY(float Height READ Height)
    Q_PROPERTY(float ScaleWidth READ ScaleWidth)
    Q_PROPERTY(float ScaleHeight READ ScaleHeight)
    Q_PROPERTY(bool Visible READ Visible)

public:
    explicit BildFlaeche(QWidget* eltern = nullptr);

    float Left() const { return m_links; }
    float Top() const { return m_oben; }
    float Width() const { return m_breite; }
    float Height() const { return m_hoehe; }
    float ScaleWidth() const { return m_breite; }
    float ScaleHeight() const { return m_hoehe; }
    bool Visible() const { return !isHidden(); }

    void bewegen(float links, float oben);
    void setzeGroesse(float breite, float hoehe);

    // The surface's picture. With selbstGroesse the surface takes the picture's size.
    void setzeBild(QImage bild, bool selbstGroesse = false);
    const QImage& bild() const { return m_bild; }

    // Drawing on the surface: a picture painted at (0, 0), stretched to malGroesse
    // (in the surface's pixels). The caller hands in the picture already resampled
    // to malPixel(malGroesse), the pixels that size takes on the screen: twice as
    // many per side on a screen of device pixel ratio 2, so that it shows sharp.
    void malen(QImage gemalt, QSizeF malGroesse);
    QSize malPixel(QSizeF malGroesse) const { return malPixel(malGroesse, devicePixelRatioF()); }
    static QSize malPixel(QSizeF malGroesse, qreal pixelVerhaeltnis);
    void leeren();
    QSizeF malGroesse() const { return m_malGroesse; }
    // The painted picture's size in screen (device) pixels.
    QSize gemaltePixel() const { return m_gemalt.size(); }

signals:
    void mausGedrueckt(Qt::MouseButton knopf, Qt::MouseButtons knoepfe, QPointF pos);
    void mausBewegt(Qt::MouseButtons knoepfe, QPointF pos);
    void mausLosgelassen(Qt::MouseButton knopf, Qt::MouseButtons knoepfe, QPointF pos);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    void geometrieAnpassen();

    float m_links = 0, m_oben = 0, m_breite = 0, m_hoehe = 0;
    QImage m_bild;
    QPixmap m_gemalt;
    QSizeF m_malGroesse;
};

// The selection outline over the view: an unfilled rectangle in single precision,
// drawn over the picture without becoming part of it. Mouse input passes through.
class Umriss : public QWidget {
    Q_OBJECT
    Q_PROPERTY(float Left READ Left)
    Q_PROPERTY(float Top READ Top)
    Q_PROPERTY(float Width READ Width)
    Q_PROPERTY(float Height READ Height)
    Q_PROPERTY(bool Visible READ Visible)
    Q_PROPERTY(QColor BorderColor READ BorderColor)

public:
    explicit Umriss(BildFlaeche* flaeche);

    float Left() const { return m_l; }
    float Top() const { return m_t; }
    float Width() const { return m_w; }
    float Height() const { return m_h; }
    bool Visible() const { return !isHidden(); }
    QColor BorderColor() const { return m_farbe; }

    void bewegen(float l, float t, float w, float h);
    void setzeFarbe(const QColor& farbe);

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;

private:
    QRegion linien() const;

    float m_l = 0, m_t = 0, m_w = 0, m_h = 0;
    QColor m_farbe = Qt::white;
};

// A rectangle without a picture of its own, in the source surface's pixels (never shown).
class Rechteck : public QObject {
    Q_OBJECT
    Q_PROPERTY(float Left READ Left)
    Q_PROPERTY(float Top READ Top)
    Q_PROPERTY(float Width READ Width)
    Q_PROPERTY(float Height READ Height)
    Q_PROPERTY(bool Visible READ Visible)

public:
    explicit Rechteck(QObject* eltern) : QObject(eltern) {}
    float Left() const { return m_l; }
    float Top() const { return m_t; }
    float Width() const { return m_w; }
    float Height() const { return m_h; }
    bool Visible() const { return false; }
    void bewegen(float l, float t, float w, float h)
    {
        m_l = l;
        m_t = t;
        m_w = w;
        m_h = h;
    }

private:
    float m_l = 0, m_t = 0, m_w = 0, m_h = 0;
};

// A small filled square with its own mouse cursor. Mouse positions are reported
// relative to its exact (single-precision) top-left corner. While a button is
// held it keeps the mouse, even when it is told to hide in the meantime.
class Griff : public QWidget {
    Q_OBJECT
    Q_PROPERTY(float Left READ Left)
    Q_PROPERTY(float Top READ Top)
    Q_PROPERTY(float Width READ Width)
    Q_PROPERTY(float Height READ Height)
    Q_PROPERTY(bool Visible READ Visible)
    Q_PROPERTY(QColor FillColor READ FillColor)

public:
    explicit Griff(BildFlaeche* flaeche);

    float Left() const { return m_l; }
    float Top() const { return m_t; }
    float Width() const { return m_w; }
    float Height() const { return m_h; }
    bool Visible() const { return m_sichtbar; }
    QColor FillColor() const { return m_farbe; }

    void bewegen(float l, float t);
    void bewegen(float l, float t, float w, float h);
    void setzeSichtbar(bool sichtbar);
    void setzeFarbe(const QColor& farbe);

signals:
    void gedrueckt(Qt::MouseButton knopf, Qt::MouseButtons knoepfe, QPointF pos);
    void bewegt(Qt::MouseButtons knoepfe, QPointF pos);
    void losgelassen(Qt::MouseButton knopf, Qt::MouseButtons knoepfe, QPointF pos);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    QPointF relativ(const QMouseEvent* e) const;
    void geometrieAnpassen();

    float m_l = 0, m_t = 0, m_w = 6, m_h = 6;
    bool m_sichtbar = false;
    bool m_gehalten = false;
    QColor m_farbe = Qt::white;
};

// The JPEG file as a save would write it, over the picture area: whole, reduced to
// fit (a copy resampled to the screen's device pixels, so that it shows sharp), or at
// 100 %, one file pixel on one device pixel, centred in an area of the widget and cut
// off where it is larger. A click switches between the two where they differ; at 100 %
// dragging moves a larger picture around. The rest is the picture area's grey. It
// takes the mouse, so that nothing below it reacts while it shows.
class PixelAnsicht : public QWidget {
    Q_OBJECT
public:
    explicit PixelAnsicht(QWidget* eltern = nullptr);

    // The file's picture, shown at 100 %.
    void setzeBild(const QImage& bild);
    const QImage& bild() const { return m_bild; }
    // The whole picture reduced to fit, resampled to the device pixels it takes; a null
    // picture when the file fits at 100 %.
    void setzeEingepasst(const QImage& gemalt);
    // The area to centre in, in the widget's pixels.
    void setzeBereich(const QRect& bereich);
    // Shown at 100 % (also when the file fits at that size); switching centres the picture.
    bool hundertProzent() const { return m_hundert || m_eingepasst.isNull(); }
    void setzeHundertProzent(bool hundert);
    // Where the picture lies, in the widget's pixels (on whole device pixels).
    QRectF bildRechteck() const;

signals:
    // A click switched between fitted and 100 %.
    void massstabGeaendert();

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    const QImage& gezeigt() const { return hundertProzent() ? m_bild : m_eingepasst; }
    // The shift from the centred place, in device pixels, kept so that a larger picture covers the area.
    void verschieben(QPointF versatz);
    void zeigerSetzen();

    QImage m_bild;
    QImage m_eingepasst;
    QRect m_bereich;
    bool m_hundert = false;
    QPointF m_versatz;
    QPointF m_druck, m_druckVersatz;
    bool m_gedrueckt = false, m_gezogen = false;
};
