#include "output/Speichern.h"

#include "output/Meldungen.h"
#include "platform/Dienste.h"

int GdipStatusPruefen(int status, QWidget* besitzer)
{
    if (status != 0)
        meldung(besitzer, GdipFehlertext(status) + QStringLiteral(" GDI+ Error:") + QString::number(status),
                QStringLiteral("GDI Error"), Dienste::Symbol::Fehler);
    return status;
}
