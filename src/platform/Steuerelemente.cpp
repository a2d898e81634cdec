#include "platform/Steuerelemente.h"

#include "platform/Zahlen.h"

#include <QMouseEvent>
#include <QTextDocument>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QToolButton>

#include <algorithm>

Liste::Liste(QWidget* eltern)
    : QComboBox(eltern)
{
    connect(this, &QComboBox::currentIndexChanged, this, [this] { emit klick(); });
}

void Liste::leeren()
{
    const QSignalBlocker stumm(this);
    clear();
}

void Liste::hinzufuegen(const QString& eintrag)
{
    const QSignalBlocker stumm(this);
    const int vorher = currentIndex();
    addItem(eintrag);
    if (currentIndex() != vorher)
        setCurrentIndex(vorher);
}

void Liste::setzeListIndex(int index)
{
    if (index < -1 || index >= count())
        index = -1;
    setCurrentIndex(index);
}

TextFeld::TextFeld(QWidget* eltern)
    : TextFeld(QString(), eltern)
{
}

TextFeld::TextFeld(const QString& text, QWidget* eltern)
    : QLineEdit(text, eltern)
{
    connect(this, &QLineEdit::textChanged, this, [this] { emit geaendert(); });
}

void TextFeld::setzeText(const QString& text)
{
    if (text == this->text())
        emit geaendert();
    else
        setText(text);
}

UpDown::UpDown(QLineEdit* partner, int min, int max, int wert, QWidget* eltern)
    : QWidget(eltern)
    , m_partner(partner)
    , m_auf(new QToolButton(this))
    , m_ab(new QToolButton(this))
    , m_min(min)
    , m_max(max)
    , m_wert(wert)
{
    for (QToolButton* pfeil : {m_auf, m_ab}) {
        pfeil->setAutoRepeat(true);
        pfeil->setFocusPolicy(Qt::NoFocus);
    }
    m_auf->setArrowType(Qt::UpArrow);
    m_ab->setArrowType(Qt::DownArrow);
    m_auf->setObjectName(QStringLiteral("auf"));
    m_ab->setObjectName(QStringLiteral("ab"));
    connect(m_auf, &QToolButton::clicked, this, [this] { schritt(+1); });
    connect(m_ab, &QToolButton::clicked, this, [this] { schritt(-1); });
}

void UpDown::setzeWert(int wert) { m_wert = std::clamp(wert, m_min, m_max); }

void UpDown::schritt(int richtung)
{
    // Start from what the box shows, so that a typed value is stepped on, not replaced.
    long long basis = m_wert;
    const QString text = m_partner->text().trimmed();
    if (!text.isEmpty() && (text[0].isDigit() || text[0] == u'.' || text[0] == u'-' || text[0] == u'+'))
        basis = zahlen::RundeGerade(zahlen::Val(text));
    // A box beyond the arrows' range (a quality found below it, say): the arrow towards
    // the range enters it at its near end; the other one has nowhere to go in it.
    if ((richtung < 0 && basis <= m_min) || (richtung > 0 && basis >= m_max))
        return;
    setzeWert(int(std::clamp<long long>(basis + richtung, m_min, m_max)));
    m_partner->setText(zahlen::Kurz(double(m_wert)));
}

void UpDown::resizeEvent(QResizeEvent*)
{
    const int halb = height() / 2;
    m_auf->setGeometry(0, 0, width(), halb);
    m_ab->setGeometry(0, halb, width(), height() - halb);
}

UmbruchKnopf::UmbruchKnopf(const QString& text, QWidget* eltern)
    : QPushButton(text, eltern)
{
}

void UmbruchKnopf::paintEvent(QPaintEvent*)
{
    QStylePainter maler(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString text = option.text;
    option.text.clear();
    maler.drawControl(QStyle::CE_PushButton, option);
    const QRect flaeche = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(2, 0, -2, 0);
    maler.drawItemText(flaeche, Qt::AlignCenter | Qt::TextWordWrap, option.palette, isEnabled(), text,
                       QPalette::ButtonText);
}

KlickLabel::KlickLabel(const QString& text, QWidget* eltern)
    : QLabel(text, eltern)
{
    setCursor(Qt::PointingHandCursor);
    // Blue and underlined like a link; in a disabled window it greys like any text.
    QPalette farben = palette();
    farben.setColor(QPalette::Active, QPalette::WindowText, QColor(0, 0, 255));
    farben.setColor(QPalette::Inactive, QPalette::WindowText, QColor(0, 0, 255));
    setPalette(farben);
    QFont unterstrichen; // only the underline; everything else still comes from the parent
    unterstrichen.setUnderline(true);
    setFont(unterstrichen);
}

void KlickLabel::mouseReleaseEvent(QMouseEvent* e)
{
    if (e->button() == Qt::LeftButton && rect().contains(e->position().toPoint()))
        emit geklickt();
}

QFont schmaleSchrift(QFont basis)
{
    basis.setFamilies({QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("Liberation Sans Narrow"),
                       QStringLiteral("Arial Narrow"), QStringLiteral("DejaVu Sans")});
    basis.setPixelSize(11);
    return basis;
}

QString nurTextTipp(const QString& text, bool umbrechen)
{
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style=\"white-space:%1\">%2</p>")
        .arg(umbrechen ? QStringLiteral("pre-wrap") : QStringLiteral("pre"), text.toHtmlEscaped());
}
