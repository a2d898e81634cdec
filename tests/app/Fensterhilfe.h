#pragma once

#include "app/Form1.h"
#include "settings/SettingsStore.h"

#include "Einstellungsdatei.h"
#include "TestDienste.h"

#include <QDir>
#include <QPushButton>
#include <QTest>

namespace fensterhilfe {

inline QString datenOrdner() { return SettingsStore::standardOrdner(); }

// Writes set.db afresh as another program (or an older version) might have left
// it; werte is the SQL value list of the twelve fields in their order.
inline bool einstellungenSchreiben(const QString& werte)
{
    QDir(datenOrdner()).removeRecursively();
    einstellungsdatei::schreiben(werte);
    return !QTest::currentTestFailed();
}

// The usual start: defaults, but without the start message.
inline bool ohneStartmeldung()
{
    return einstellungenSchreiben(QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 0, 0, '_web', 2"));
}

// Loads a file through "Datei öffnen..." as a user would, the dialog answered with pfad.
inline void oeffnen(Form1& f, TestDienste& dienste, const QString& pfad)
{
    dienste.oeffnenAntworten << pfad;
    QTest::mouseClick(f.findChild<QPushButton*>(QStringLiteral("cmdÖffnen")), Qt::LeftButton);
}

// Waits until the view takes mouse input again after a load.
inline bool ansichtBereit(Form1& f)
{
    QWidget* ansicht = f.findChild<QWidget*>(QStringLiteral("picZiel"));
    return QTest::qWaitFor([ansicht] { return ansicht->isEnabled(); }, 2000);
}

} // namespace fensterhilfe
