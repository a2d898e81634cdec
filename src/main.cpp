#include "app/Form1.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication programm(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Fotoschliff"));
    QApplication::setStyle(QStringLiteral("Fusion"));
    Form1 hauptfenster;
    hauptfenster.show();
    return programm.exec();
}
