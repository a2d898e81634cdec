#include "platform/Flaechen.h"

#include <QMouseEvent>
#include <QPainter>

#include <cmath>

namespace {
int ganzePixel(float wert) { return wert > 0 ? int(std::ceil(wert)) : 0; }
} // namespace

BildFlaeche::BildFlaeche(QWidget* eltern)
    : QWidget(eltern)
{
    setAttribute(Qt::WA_OpaquePaintEvent, false);
}

void BildFlaeche::bewegen(float links, float oben)
{
    m_links = links;
    m_oben = oben;
    geometrieAnpassen();
}

void BildFlaeche::setzeGroesse(float breite, float hoehe)
{
    m_breite = breite;
    m_hoehe = hoehe;
    geometrieAnpassen();
    emit groesseGeaendert();
}

void BildFlaeche::geometrieAnpassen()
{
    setGeometry(int(std::floor(m_links)), int(std::floor(m_oben)), ganzePixel(m_breite), ganzePixel(m_hoehe));
}

void BildFlaeche::setzeBild(QImage bild, bool selbstGroesse)
{
    m_bild = std::move(bild);
    if (selbstGroesse)
        setzeGroesse(m_bild.isNull() ? 1.0f : float(m_bild.width()), m_bild.isNull() ? 1.0f : float(m_bild.height()));
}

void BildFlaeche::malen(const QImage& gemalt, QSizeF malGroesse)
{
    m_gemalt = QPixmap::fromImage(gemalt);
    m_gemalt.setDevicePixelRatio(devicePixelRatioF());
    m_malGroesse = malGroesse;
    update();
}

QSize BildFlaeche::malPixel(QSizeF malGroesse) const
{
    const qreal verhaeltnis = devicePixelRatioF();
    return QSize(int(std::ceil(malGroesse.width() * verhaeltnis)), int(std::ceil(malGroesse.height() * verhaeltnis)));
}

void BildFlaeche::leeren()
{
    m_gemalt = QPixmap();
    m_malGroesse = QSizeF();
    update();
}

void BildFlaeche::paintEvent(QPaintEvent*)
{
    if (m_gemalt.isNull())
        return;
    QPainter maler(this);
    // The picture comes resampled to the paint size in screen pixels, rounded up
    // to whole pixels; then it is drawn 1:1 and only a fraction of its last row
    // and column shows.
    if (m_gemalt.size() == malPixel(m_malGroesse) && m_gemalt.devicePixelRatio() == devicePixelRatioF())
        maler.drawPixmap(QPointF(0, 0), m_gemalt);
    else
        maler.drawPixmap(QRectF(QPointF(0, 0), m_malGroesse), m_gemalt, QRectF(m_gemalt.rect()));
}

void BildFlaeche::mousePressEvent(QMouseEvent* e)
{
    emit mausGedrueckt(e->button(), e->buttons(), e->position());
}

void BildFlaeche::mouseMoveEvent(QMouseEvent* e)
{
    emit mausBewegt(e->buttons(), e->position());
}

void BildFlaeche::mouseReleaseEvent(QMouseEvent* e)
{
    emit mausLosgelassen(e->button(), e->buttons(), e->position());
}

Umriss::Umriss(BildFlaeche* flaeche)
    : QWidget(flaeche)
{
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setGeometry(flaeche->rect());
    flaeche->installEventFilter(this);
}

bool Umriss::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == parent() && ereignis->type() == QEvent::Resize)
        setGeometry(parentWidget()->rect());
    return false;
}

void Umriss::bewegen(float l, float t, float w, float h)
{
    if (l == m_l && t == m_t && w == m_w && h == m_h)
        return;
    // Only the outline's old and new strips need drawing again, not the picture inside.
    const QRegion alt = linien();
    m_l = l;
    m_t = t;
    m_w = w;
    m_h = h;
    update(alt.united(linien()));
}

QRegion Umriss::linien() const
{
    const int l = int(std::floor(m_l)) - 1, t = int(std::floor(m_t)) - 1;
    const int r = int(std::ceil(m_l + m_w)) + 1, b = int(std::ceil(m_t + m_h)) + 1;
    QRegion region;
    region += QRect(l, t, r - l, 3);
    region += QRect(l, b - 3, r - l, 3);
    region += QRect(l, t, 3, b - t);
    region += QRect(r - 3, t, 3, b - t);
    return region;
}

void Umriss::setzeFarbe(const QColor& farbe)
{
    m_farbe = farbe;
    update();
}

void Umriss::paintEvent(QPaintEvent*)
{
    if (m_w <= 0 || m_h <= 0)
        return;
    QPainter maler(this);
    maler.setPen(QPen(m_farbe, 1));
    maler.setBrush(Qt::NoBrush);
    // The outline lies inside the rectangle, as a one-pixel border of it.
    const int l = int(std::lround(m_l)), t = int(std::lround(m_t));
    const int r = int(std::lround(m_l + m_w)) - 1, b = int(std::lround(m_t + m_h)) - 1;
    maler.drawRect(QRect(QPoint(l, t), QPoint(std::max(l, r), std::max(t, b))).adjusted(0, 0, -1, -1));
}

Griff::Griff(BildFlaeche* flaeche)
    : QWidget(flaeche)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
    hide();
    geometrieAnpassen();
}

void Griff::bewegen(float l, float t)
{
    m_l = l;
    m_t = t;
    geometrieAnpassen();
}

void Griff::bewegen(float l, float t, float w, float h)
{
    m_l = l;
    m_t = t;
    m_w = w;
    m_h = h;
    geometrieAnpassen();
}

void Griff::geometrieAnpassen()
{
    setGeometry(int(std::lround(m_l)), int(std::lround(m_t)), ganzePixel(m_w), ganzePixel(m_h));
}

void Griff::setzeSichtbar(bool sichtbar)
{
    m_sichtbar = sichtbar;
    // Hiding the widget that holds the mouse would hand the drag over to the
    // surface below; while held, the square only stops being drawn.
    if (m_gehalten)
        update();
    else
        setVisible(sichtbar);
}

void Griff::setzeFarbe(const QColor& farbe)
{
    m_farbe = farbe;
    update();
}

void Griff::paintEvent(QPaintEvent*)
{
    if (!m_sichtbar)
        return;
    QPainter maler(this);
    maler.fillRect(rect(), m_farbe);
}

QPointF Griff::relativ(const QMouseEvent* e) const
{
    return QPointF(pos()) + e->position() - QPointF(m_l, m_t);
}

void Griff::mousePressEvent(QMouseEvent* e)
{
    m_gehalten = true;
    emit gedrueckt(e->button(), e->buttons(), relativ(e));
}

void Griff::mouseMoveEvent(QMouseEvent* e)
{
    emit bewegt(e->buttons(), relativ(e));
}

void Griff::mouseReleaseEvent(QMouseEvent* e)
{
    const QPointF pos = relativ(e);
    if (e->buttons() == Qt::NoButton) {
        m_gehalten = false;
        if (isVisible() != m_sichtbar)
            setVisible(m_sichtbar);
    }
    emit losgelassen(e->button(), e->buttons(), pos);
}

PixelAnsicht::PixelAnsicht(QWidget* eltern)
    : QWidget(eltern)
{
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void PixelAnsicht::setzeBild(const QImage& bild)
{
    m_bild = bild;
    update();
}

void PixelAnsicht::setzeBereich(const QRect& bereich)
{
    m_bereich = bereich;
    update();
}

QRectF PixelAnsicht::bildRechteck() const
{
    // Counted in device pixels, so that the picture starts on a whole one.
    const qreal v = devicePixelRatioF();
    const qreal x = std::round(m_bereich.x() * v) + std::floor((std::round(m_bereich.width() * v) - m_bild.width()) / 2);
    const qreal y = std::round(m_bereich.y() * v) + std::floor((std::round(m_bereich.height() * v) - m_bild.height()) / 2);
    return QRectF(x / v, y / v, m_bild.width() / v, m_bild.height() / v);
}

void PixelAnsicht::paintEvent(QPaintEvent*)
{
    QPainter maler(this);
    maler.fillRect(rect(), QColor(0x80, 0x80, 0x80));
    if (m_bild.isNull())
        return;
    maler.setClipRect(m_bereich);
    maler.drawImage(bildRechteck(), m_bild, QRectF(m_bild.rect()));
}
