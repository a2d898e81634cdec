#pragma once

#include <QWidget>

// The sign that a surface has the keyboard: a dashed line along its inner edge,
// black on white so that it shows on any picture. It lies over the surface without
// taking the mouse and follows its size.
class Fokusrahmen : public QWidget {
    Q_OBJECT
public:
    explicit Fokusrahmen(QWidget* flaeche);

protected:
    void paintEvent(QPaintEvent*) override;
    bool eventFilter(QObject* objekt, QEvent* ereignis) override;
};
