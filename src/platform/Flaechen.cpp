#include "platform/Flaechen.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>

#include <algorithm>
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

void BildFlaeche::malen(QImage gemalt, QSizeF malGroesse)
{
    // A picture handed over alone becomes the pixmap in its own memory, without a copy.
    m_gemalt = QPixmap::fromImage(std::move(gemalt));
    m_gemalt.setDevicePixelRatio(devicePixelRatioF());
    m_malGroesse = malGroesse;
    update();
}

QSize BildFlaeche::malPixel(QSizeF malGroesse, qreal verhaeltnis)
{
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
    // surface below; while held, the square only stops being drawn, and the
    // picture below must then be drawn in its place.
    setAttribute(Qt::WA_OpaquePaintEvent, sichtbar);
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
    verschieben(m_versatz);
}

void PixelAnsicht::setzeEingepasst(const QImage& gemalt)
{
    m_eingepasst = gemalt;
    zeigerSetzen();
    update();
}

void PixelAnsicht::setzeBereich(const QRect& bereich)
{
    m_bereich = bereich;
    verschieben(m_versatz);
}

void PixelAnsicht::setzeHundertProzent(bool hundert)
{
    m_hundert = hundert;
    verschieben({});
}

QRectF PixelAnsicht::bildRechteck() const
{
    // Counted in device pixels, so that the picture starts on a whole one.
    const qreal v = devicePixelRatioF();
    const QImage& b = gezeigt();
    const QPointF versatz = hundertProzent() ? m_versatz : QPointF();
    const qreal x = std::round(m_bereich.x() * v) + std::floor((std::round(m_bereich.width() * v) - b.width()) / 2) + versatz.x();
    const qreal y = std::round(m_bereich.y() * v) + std::floor((std::round(m_bereich.height() * v) - b.height()) / 2) + versatz.y();
    return QRectF(x / v, y / v, b.width() / v, b.height() / v);
}

void PixelAnsicht::verschieben(QPointF versatz)
{
    // Per axis: a picture larger than the area keeps it covered, a smaller one stays centred.
    const qreal v = devicePixelRatioF();
    const auto achse = [](qreal wunsch, qreal flaeche, qreal bild) {
        if (bild <= flaeche)
            return 0.0;
        const qreal mitte = std::floor((flaeche - bild) / 2);
        return std::clamp(std::round(wunsch), flaeche - bild - mitte, -mitte);
    };
    m_versatz = QPointF(achse(versatz.x(), std::round(m_bereich.width() * v), m_bild.width()),
                        achse(versatz.y(), std::round(m_bereich.height() * v), m_bild.height()));
    zeigerSetzen();
    update();
}

void PixelAnsicht::zeigerSetzen()
{
    const qreal v = devicePixelRatioF();
    const bool groesser = m_bild.width() > std::round(m_bereich.width() * v) || m_bild.height() > std::round(m_bereich.height() * v);
    if (!hundertProzent())
        setCursor(Qt::PointingHandCursor);
    else if (groesser)
        setCursor(m_gedrueckt ? Qt::ClosedHandCursor : Qt::OpenHandCursor);
    else if (!m_eingepasst.isNull())
        setCursor(Qt::PointingHandCursor);
    else
        unsetCursor();
}

void PixelAnsicht::mousePressEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton)
        return;
    m_gedrueckt = true;
    m_gezogen = false;
    m_druck = e->position();
    m_druckVersatz = m_versatz;
    zeigerSetzen();
}

void PixelAnsicht::mouseMoveEvent(QMouseEvent* e)
{
    if (!m_gedrueckt)
        return;
    const QPointF weg = e->position() - m_druck;
    if (weg.manhattanLength() >= QApplication::startDragDistance())
        m_gezogen = true;
    if (m_gezogen && hundertProzent())
        verschieben(m_druckVersatz + weg * devicePixelRatioF());
}

void PixelAnsicht::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() != Qt::LeftButton || !m_gedrueckt)
        return;
    m_gedrueckt = false;
    if (m_gezogen || m_eingepasst.isNull()) {
        zeigerSetzen();
        return;
    }
    // A click: to 100 % with the clicked point of the picture staying under the pointer, or back.
    const QRectF vorher = bildRechteck();
    m_hundert = !m_hundert;
    if (m_hundert && !vorher.isEmpty()) {
        const qreal v = devicePixelRatioF();
        const QPointF anteil((e->position().x() - vorher.x()) / vorher.width(), (e->position().y() - vorher.y()) / vorher.height());
        m_versatz = {};
        const QRectF mittig = bildRechteck();
        verschieben(QPointF(e->position().x() * v - std::clamp(anteil.x(), 0.0, 1.0) * m_bild.width() - mittig.x() * v,
                            e->position().y() * v - std::clamp(anteil.y(), 0.0, 1.0) * m_bild.height() - mittig.y() * v));
    } else {
        verschieben({});
    }
    emit massstabGeaendert();
}

void PixelAnsicht::paintEvent(QPaintEvent*)
{
    QPainter maler(this);
    maler.fillRect(rect(), QColor(0x80, 0x80, 0x80));
    const QImage& b = gezeigt();
    if (b.isNull())
        return;
    maler.setClipRect(m_bereich);
    maler.drawImage(bildRechteck(), b, QRectF(b.rect()));
}
