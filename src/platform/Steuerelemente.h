#pragma once

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QWidget>

class QToolButton;

// A control of type T, made with the given arguments (its text, say) and
// eltern, named for findChild and placed at ort in the parent's pixels.
template <typename T, typename... Argumente>
T* platzieren(QWidget* eltern, const char* name, QRect ort, Argumente&&... argumente)
{
    auto* steuerelement = new T(std::forward<Argumente>(argumente)..., eltern);
    steuerelement->setObjectName(QString::fromUtf8(name));
    steuerelement->setGeometry(ort);
    return steuerelement;
}

// The main window's narrow face, which the secondary windows take over: the dense
// design's captions stay whole at a readable size.
QFont schmaleSchrift(QFont basis);

// A tool tip that shows text as it is, for paths, file names and what a user typed:
// Qt reads a tip as markup when it looks like some, so that "<b>x</b>.jpg" would show
// as a bold x. Such text is escaped and kept on its lines (umbrechen: wrapped at blanks
// where the tip is too narrow); any other text stays as it is.
QString nurTextTipp(const QString& text, bool umbrechen = false);

// A pick list that selects only what is selected explicitly: filling and
// clearing select nothing and raise nothing; choosing another entry, by the
// user or by code, raises klick() at once; choosing the selected entry raises nothing.
class Liste : public QComboBox {
    Q_OBJECT
    Q_PROPERTY(int ListIndex READ ListIndex WRITE setzeListIndex)
    Q_PROPERTY(int ListCount READ ListCount)

public:
    explicit Liste(QWidget* eltern = nullptr);

    void leeren();
    void hinzufuegen(const QString& eintrag);
    int ListIndex() const { return currentIndex(); }
    int ListCount() const { return count(); }
    void setzeListIndex(int index);
    QString eintrag(int index) const { return itemText(index); }

signals:
    void klick();
};

// A text box whose change handling runs on every assignment from code, also
// when the text stays the same, as the workflow relies on (a width of 600 at
// 3:2 and at 3:4 must give two heights). Typing raises geaendert() once per
// edit, as Qt's textChanged does. Code that sets the text uses setzeText();
// QLineEdit::setText stays Qt's and raises nothing for an unchanged text.
class TextFeld : public QLineEdit {
    Q_OBJECT
    Q_PROPERTY(QString Text READ text WRITE setzeText)

public:
    explicit TextFeld(QWidget* eltern = nullptr);
    TextFeld(const QString& text, QWidget* eltern = nullptr);

    void setzeText(const QString& text);

signals:
    void geaendert();
};

// A spin control bound to a text box: its arrows write the new value into the
// box's text, which runs the box's own change handling. Setting the value from
// code does not touch the box.
class UpDown : public QWidget {
    Q_OBJECT
    Q_PROPERTY(int Value READ Value WRITE setzeWert)
    Q_PROPERTY(int Min READ Min)
    Q_PROPERTY(int Max READ Max)
    Q_PROPERTY(int Increment READ Increment)

public:
    UpDown(QLineEdit* partner, int min, int max, int wert, QWidget* eltern = nullptr);

    int Value() const { return m_wert; }
    int Min() const { return m_min; }
    int Max() const { return m_max; }
    int Increment() const { return 1; }
    void setzeWert(int wert);
    // One click on an arrow: +1 up, -1 down.
    void schritt(int richtung);

protected:
    void resizeEvent(QResizeEvent*) override;

private:
    QLineEdit* m_partner;
    QToolButton* m_auf;
    QToolButton* m_ab;
    int m_min, m_max, m_wert;
};

// A push button whose caption wraps onto further lines instead of being cut off.
class UmbruchKnopf : public QPushButton {
    Q_OBJECT
public:
    explicit UmbruchKnopf(const QString& text, QWidget* eltern = nullptr);

protected:
    void paintEvent(QPaintEvent*) override;
};

// A label that acts as a link: blue, pointing hand, a click raises geklickt().
class KlickLabel : public QLabel {
    Q_OBJECT
public:
    explicit KlickLabel(const QString& text, QWidget* eltern = nullptr);

signals:
    void geklickt();

protected:
    void mouseReleaseEvent(QMouseEvent*) override;
};
