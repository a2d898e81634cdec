#include "platform/Eingabelisten.h"

#include <QKeyEvent>
#include <QListView>
#include <QRegularExpression>
#include <QScreen>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTimer>
#include <QStyleOptionButton>
#include <QStyledItemDelegate>
#include <QStylePainter>

namespace {

// Item views hand texts over with their line breaks made QChar::LineSeparator.
QString einzeilig(QString text)
{
    static const QRegularExpression umbruch(QStringLiteral("\r[\n\u2028]|[\r\n\u2028]"));
    return text.replace(umbruch, QStringLiteral(" \u21B5 "));
}

class EinzeiligDelegat : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

protected:
    void initStyleOption(QStyleOptionViewItem* option, const QModelIndex& index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        option->text = einzeilig(option->text);
    }
};

// Keys that would pick another entry of a list.
bool waehltEintrag(const QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_F4:
        return true;
    default:
        return false;
    }
}

} // namespace

SperrListe::SperrListe(QWidget* eltern)
    : Liste(eltern)
{
    // Long lists are not measured entry by entry; the list keeps its designed width.
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (auto* liste = qobject_cast<QListView*>(view()))
        liste->setUniformItemSizes(true);
}

void SperrListe::alleHinzufuegen(const QStringList& eintraege)
{
    const QSignalBlocker stumm(this);
    const int vorher = currentIndex();
    addItems(eintraege);
    if (currentIndex() != vorher)
        setCurrentIndex(vorher);
}

ZeilenListe::ZeilenListe(QWidget* eltern)
    : SperrListe(eltern)
{
    setItemDelegate(new EinzeiligDelegat(this));
    const auto vergessen = [this] { m_breite = -1; };
    connect(model(), &QAbstractItemModel::rowsInserted, this, vergessen);
    connect(model(), &QAbstractItemModel::rowsRemoved, this, vergessen);
    connect(model(), &QAbstractItemModel::modelReset, this, vergessen);
    connect(model(), &QAbstractItemModel::dataChanged, this, vergessen);
}

void ZeilenListe::showPopup()
{
    SperrListe::showPopup();
    QWidget* rahmen = view()->window();
    if (rahmen == window() || !rahmen->isVisible())
        return;
    // Qt measures the entries with their line breaks; the list shows them on one line each.
    if (m_breite < 0) {
        const QFontMetrics masse(view()->font());
        m_breite = 0;
        for (int i = 0; i < count(); ++i)
            m_breite = std::max(m_breite, masse.horizontalAdvance(einzeilig(itemText(i))));
    }
    const int rand = rahmen->width() - view()->viewport()->width() + 4 * style()->pixelMetric(QStyle::PM_FocusFrameHMargin);
    const QRect schirm = screen()->availableGeometry();
    QRect ort = rahmen->geometry();
    ort.setWidth(std::min(std::max(width(), m_breite + rand), schirm.width()));
    if (ort.right() > schirm.right())
        ort.moveRight(schirm.right());
    if (ort.left() < schirm.left())
        ort.moveLeft(schirm.left());
    rahmen->setGeometry(ort);
}

void ZeilenListe::paintEvent(QPaintEvent*)
{
    QStylePainter maler(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = einzeilig(option.currentText);
    maler.drawComplexControl(QStyle::CC_ComboBox, option);
    maler.drawControl(QStyle::CE_ComboBoxLabel, option);
}

void SperrListe::showPopup()
{
    if (!m_gesperrt)
        Liste::showPopup();
}

void SperrListe::keyPressEvent(QKeyEvent* e)
{
    // Locked: only moving on with Tab gets through.
    if (m_gesperrt && e->key() != Qt::Key_Tab && e->key() != Qt::Key_Backtab)
        e->ignore();
    else
        Liste::keyPressEvent(e);
}

void SperrListe::wheelEvent(QWheelEvent* e)
{
    if (m_gesperrt)
        e->ignore();
    else
        Liste::wheelEvent(e);
}

EingabeListe::EingabeListe(QWidget* eltern)
    : QComboBox(eltern)
{
    setEditable(true);
    setCompleter(nullptr);
    setInsertPolicy(QComboBox::NoInsert);
    setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (auto* liste = qobject_cast<QListView*>(view()))
        liste->setUniformItemSizes(true);
    lineEdit()->installEventFilter(this);
    // When the box loses the focus (Tab, a click elsewhere, its own list opening)
    // or gets Return, Qt selects by itself the entry that equals the text. That
    // is no pick, and the program would take it for one.
    disconnect(lineEdit(), &QLineEdit::editingFinished, this, nullptr);
    connect(lineEdit(), &QLineEdit::textChanged, this, [this] {
        // Qt sets the text of a selected entry before it reports the new index:
        // that text is no typing, however the entry was selected.
        const bool auswahl = m_auswahlText || currentIndex() != m_index;
        // A long text set by the program or by a selection shows its beginning, not its end.
        if (m_programmText || auswahl)
            lineEdit()->setCursorPosition(0);
        if (!auswahl)
            emit geaendert();
    });
    connect(this, &QComboBox::currentIndexChanged, this, [this] {
        m_index = currentIndex();
        m_auswahlText = false;
        m_geklickt = true;
        emit klick();
    });
    connect(this, &QComboBox::activated, this, [this] {
        m_auswahlText = false;
        if (!m_geklickt)
            emit klick(); // the entry picked was the one selected already
        m_geklickt = false;
    });
}

QString EingabeListe::Text() const { return lineEdit()->text(); }

void EingabeListe::setzeText(const QString& text)
{
    if (lineEdit()->text() == text) {
        emit geaendert();
        return;
    }
    const QScopedValueRollback vomProgramm(m_programmText, true);
    lineEdit()->setText(text);
}

void EingabeListe::leeren()
{
    const QSignalBlocker stumm(this);
    const QScopedValueRollback auswahl(m_auswahlText, true);
    clear();
    lineEdit()->clear();
    m_index = currentIndex();
}

void EingabeListe::hinzufuegen(const QStringList& eintraege)
{
    // Qt selects the first entry of an empty list by itself; the text stays as it is.
    const QSignalBlocker stumm(this);
    const QScopedValueRollback auswahl(m_auswahlText, true);
    const int vorher = currentIndex();
    const QString text = lineEdit()->text();
    addItems(eintraege);
    if (currentIndex() != vorher) {
        setCurrentIndex(vorher);
        lineEdit()->setText(text);
    }
    m_index = currentIndex();
}

void EingabeListe::setzeListIndex(int index)
{
    if (index < -1 || index >= count())
        index = -1;
    if (index == currentIndex())
        return;
    m_auswahlText = true;
    setCurrentIndex(index);
    m_auswahlText = false;
}

void EingabeListe::setzeGesperrt(bool gesperrt)
{
    m_gesperrt = gesperrt;
    lineEdit()->setReadOnly(gesperrt);
}

void EingabeListe::showPopup()
{
    if (m_gesperrt)
        return;
    m_geklickt = false;
    QComboBox::showPopup();
}

void EingabeListe::hidePopup()
{
    // A pick from the list follows at once; when none does, typing counts again.
    QComboBox::hidePopup();
    m_auswahlText = true;
    QTimer::singleShot(0, this, [this] { m_auswahlText = false; });
}

void EingabeListe::keyPressEvent(QKeyEvent* e)
{
    // Return would pick the entry that matches the text regardless of case.
    if (e->key() == Qt::Key_Return || e->key() == Qt::Key_Enter || (m_gesperrt && waehltEintrag(e))) {
        e->ignore();
        return;
    }
    if (!waehltEintrag(e)) {
        QComboBox::keyPressEvent(e);
        return;
    }
    m_geklickt = false;
    const QScopedValueRollback auswahl(m_auswahlText, true);
    QComboBox::keyPressEvent(e);
}

void EingabeListe::wheelEvent(QWheelEvent* e)
{
    if (m_gesperrt) {
        e->ignore();
        return;
    }
    m_geklickt = false;
    const QScopedValueRollback auswahl(m_auswahlText, true);
    QComboBox::wheelEvent(e);
}

bool EingabeListe::eventFilter(QObject* objekt, QEvent* ereignis)
{
    if (objekt == lineEdit() && ereignis->type() == QEvent::KeyPress) {
        const auto* taste = static_cast<QKeyEvent*>(ereignis);
        if (taste->key() == Qt::Key_Return || taste->key() == Qt::Key_Enter)
            return true;
    }
    return QComboBox::eventFilter(objekt, ereignis);
}

EingabeText::EingabeText(QWidget* eltern)
    : QPlainTextEdit(eltern)
{
    setTabChangesFocus(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    connect(this, &QPlainTextEdit::textChanged, this, [this] {
        m_text = toPlainText().replace(u'\n', QStringLiteral("\r\n"));
        emit geaendert();
    });
}

void EingabeText::setzeText(const QString& text)
{
    {
        const QSignalBlocker stumm(this);
        setPlainText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    }
    m_text = text;
    emit geaendert();
}

UmbruchKasten::UmbruchKasten(const QString& text, QWidget* eltern)
    : QCheckBox(text, eltern)
{
}

void UmbruchKasten::paintEvent(QPaintEvent*)
{
    QStylePainter maler(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString text = option.text;
    option.text.clear();
    maler.drawControl(QStyle::CE_CheckBox, option);
    const QRect flaeche = style()->subElementRect(QStyle::SE_CheckBoxContents, &option, this);
    maler.drawItemText(flaeche, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextWordWrap, option.palette, isEnabled(), text,
                       QPalette::WindowText);
}

bool UmbruchKasten::hitButton(const QPoint& pos) const { return rect().contains(pos); }
