#pragma once

// The main window as the window tests drive it: the settings they start with, the
// dialogs answered, its controls found by objectName, a picture loaded and a frame
// drawn as a user would.

#include "app/Form1.h"
#include "platform/Flaechen.h"
#include "settings/SettingsStore.h"

#include "Einstellungsdatei.h"
#include "TestBilder.h"
#include "TestDienste.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
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

// The usual start: defaults (3:2, 600 x 400, quality 92, suffix _web, proposal 2),
// without the reminder before publishing and without the start message.
inline const QString ohneMeldungen = QStringLiteral("NULL, NULL, 0, 0, 4, 600, 400, 92, 0, 0, '_web', 2");
inline bool ohneStartmeldung() { return einstellungenSchreiben(ohneMeldungen); }

// A control of the window by its objectName; a warning when there is none.
template <typename T = QWidget>
T* finde(const QWidget& fenster, const QString& name)
{
    T* w = fenster.findChild<T*>(name);
    if (!w)
        qWarning("control %s missing", qPrintable(name));
    return w;
}
template <typename T = QWidget>
T* finde(const QWidget& fenster, const char* name)
{
    return finde<T>(fenster, QString::fromUtf8(name));
}

// The text of a label or a box.
inline QString text(const QWidget& fenster, const char* name)
{
    const QObject* o = finde<QObject>(fenster, name);
    return o ? o->property("text").toString() : QString();
}

inline QColor farbe(const QWidget& fenster, const char* name)
{
    return finde(fenster, name)->palette().color(QPalette::WindowText);
}

// Whether an overlay (Shape1, a handle) is set to show.
inline bool sichtbar(const QWidget& fenster, const char* name)
{
    return finde<QObject>(fenster, name)->property("Visible").toBool();
}

// Shape1 in the view's pixels, exactly as the frame keeps it.
inline QRectF rahmen(const QWidget& fenster)
{
    const QObject* s = finde<QObject>(fenster, "Shape1");
    return QRectF(s->property("Left").toFloat(), s->property("Top").toFloat(), s->property("Width").toFloat(),
                  s->property("Height").toFloat());
}

// The status light's picture: 1 neutral, 2 all target checks passed.
inline int statusLicht(const QWidget& fenster) { return finde(fenster, "Image1")->property("Bild").toInt(); }

// Loads a file through "Datei öffnen..." as a user would, the dialog answered with pfad.
inline void oeffnen(Form1& f, TestDienste& dienste, const QString& pfad)
{
    dienste.oeffnenAntworten << pfad;
    QTest::mouseClick(finde<QPushButton>(f, "cmdÖffnen"), Qt::LeftButton);
}

// Waits until the view takes mouse input again after a load.
inline bool ansichtBereit(Form1& f)
{
    QWidget* ansicht = finde(f, "picZiel");
    return QTest::qWaitFor([ansicht] { return ansicht->isEnabled(); }, 2000);
}

// Press, move and release of the left button on the view.
inline void ziehen(QWidget* ansicht, QPoint von, QPoint bis)
{
    QTest::mousePress(ansicht, Qt::LeftButton, {}, von);
    QTest::mouseMove(ansicht, bis);
    QTest::mouseRelease(ansicht, Qt::LeftButton, {}, bis);
}

// A main window started with the given settings, its dialogs answered, shown, with a
// scratch folder for its pictures.
class Fenster {
    bool m_einstellungen; // written before the window reads them
    bool m_gezeigt = false;

public:
    explicit Fenster(const QString& einstellungen = ohneMeldungen)
        : m_einstellungen(einstellungenSchreiben(einstellungen))
    {
        f.show();
        m_gezeigt = QTest::qWaitForWindowExposed(&f);
    }
    bool bereit() const { return m_einstellungen && m_gezeigt; }

    TestDienste dienste;
    Form1 f;
    QTemporaryDir ordner;

    template <typename T = QLabel>
    T* w(const char* name) const
    {
        return finde<T>(f, name);
    }
    QString t(const char* name) const { return text(f, name); }
    BildFlaeche* ansicht() const { return w<BildFlaeche>("picZiel"); }
    void klick(const char* knopf) { QTest::mouseClick(w<QPushButton>(knopf), Qt::LeftButton); }
    void ziehen(QPoint von, QPoint bis) { fensterhilfe::ziehen(ansicht(), von, bis); }

    // A file in the scratch folder: the picture as JPEG, or the bytes as they are.
    QString datei(const QString& name, const QImage& bild, int qualitaet = 90)
    {
        return datei(name, testbilder::alsJpeg(bild, qualitaet));
    }
    QString datei(const QString& name, const QByteArray& inhalt)
    {
        const QString pfad = ordner.filePath(name);
        testbilder::schreiben(pfad, inhalt);
        return pfad;
    }
    // Through the open dialog; true once the view takes the mouse again.
    bool laden(const QString& pfad)
    {
        oeffnen(f, dienste, pfad);
        return ansichtBereit(f);
    }
};

} // namespace fensterhilfe
