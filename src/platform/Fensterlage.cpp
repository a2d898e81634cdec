#include "platform/Fensterlage.h"
#include "platform/SqliteDatei.h"

#include <QGuiApplication>
#include <QRegion>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>

namespace {

// One axis: a position kept inside the available span, frame included, the start
// edge winning when both cannot be had.
int imBereich(int pos, int laenge, int anfang, int ende, int rahmenVorn, int rahmenHinten)
{
    pos = std::min(pos, ende - rahmenHinten - laenge);
    return std::max(pos, anfang + rahmenVorn);
}

// One axis: centred over the reference, then kept inside the available span.
int einpassen(int laenge, int bezugAnfang, int bezugLaenge, int anfang, int ende, int rahmenVorn, int rahmenHinten)
{
    return imBereich(bezugAnfang + (bezugLaenge - laenge) / 2, laenge, anfang, ende, rahmenVorn, rahmenHinten);
}

// The primary screen first.
QList<QRect> bildschirmFlaechen()
{
    QList<QRect> flaechen;
    const QScreen* erster = QGuiApplication::primaryScreen();
    if (erster)
        flaechen << erster->availableGeometry();
    const auto bildschirme = QGuiApplication::screens();
    for (const QScreen* s : bildschirme)
        if (s != erster)
            flaechen << s->availableGeometry();
    return flaechen;
}

// A length that fits into platz, but not below mindest.
int hoechstens(int laenge, int platz, int mindest) { return std::max(std::min(laenge, platz), mindest); }

// Until a window has been shown its frame is unknown; common frames are about this thick.
constexpr QMargins ueblicherRahmen(4, 32, 4, 4);

} // namespace

QRect zentriertUeber(QSize groesse, const QRect& bezug, const QRect& verfuegbar, const QMargins& rahmen)
{
    const int x = einpassen(groesse.width(), bezug.x(), bezug.width(), verfuegbar.left(), verfuegbar.left() + verfuegbar.width(),
                            rahmen.left(), rahmen.right());
    const int y = einpassen(groesse.height(), bezug.y(), bezug.height(), verfuegbar.top(), verfuegbar.top() + verfuegbar.height(),
                            rahmen.top(), rahmen.bottom());
    return QRect(QPoint(x, y), groesse);
}

bool lageErreichbar(const QRect& lage, const QList<QRect>& bildschirme)
{
    if (!lage.isValid())
        return false;
    const int mindestBreite = std::min(100, lage.width());
    const int mindestHoehe = std::min(40, lage.height());
    return std::any_of(bildschirme.begin(), bildschirme.end(), [&](const QRect& bildschirm) {
        const QRect sichtbar = bildschirm.intersected(lage);
        return sichtbar.width() >= mindestBreite && sichtbar.height() >= mindestHoehe;
    });
}

QRect fensterPlatz(const QRect& lage, QSize groesse, QSize minimum, const QList<QRect>& bildschirme, const QMargins& rahmen)
{
    if (bildschirme.isEmpty())
        return lage.isValid() ? lage : QRect(QPoint(0, 0), groesse);
    const auto eingepasst = [&](QSize g, const QRect& flaeche) {
        return QSize(hoechstens(g.width(), flaeche.width() - rahmen.left() - rahmen.right(), minimum.width()),
                     hoechstens(g.height(), flaeche.height() - rahmen.top() - rahmen.bottom(), minimum.height()));
    };
    if (!lageErreichbar(lage, bildschirme)) {
        const QRect& erster = bildschirme.constFirst();
        return zentriertUeber(eingepasst(groesse, erster), erster, erster, rahmen);
    }
    const QRect aussen = lage.marginsAdded(rahmen);
    QRegion draussen(aussen);
    for (const QRect& b : bildschirme)
        draussen -= b;
    if (draussen.isEmpty())
        return lage;
    // Into the screen that shows most of it, as little moved as it can be.
    const QRect* bester = &bildschirme.constFirst();
    qint64 besteFlaeche = -1;
    for (const QRect& b : bildschirme) {
        const QRect teil = b.intersected(aussen);
        const qint64 flaeche = teil.isEmpty() ? 0 : qint64(teil.width()) * teil.height();
        if (flaeche > besteFlaeche) {
            besteFlaeche = flaeche;
            bester = &b;
        }
    }
    const QSize g = eingepasst(lage.size(), *bester);
    const int x = imBereich(lage.x(), g.width(), bester->left(), bester->left() + bester->width(), rahmen.left(), rahmen.right());
    const int y = imBereich(lage.y(), g.height(), bester->top(), bester->top() + bester->height(), rahmen.top(), rahmen.bottom());
    return QRect(QPoint(x, y), g);
}

QMargins fensterrahmen(const QWidget* fenster)
{
    const QRect innen = fenster->geometry();
    const QRect aussen = fenster->frameGeometry();
    return QMargins(innen.left() - aussen.left(), innen.top() - aussen.top(), aussen.right() - innen.right(),
                    aussen.bottom() - innen.bottom());
}

QString konfigurationsDatei()
{
    const QString pfad =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/fotoschliff.conf");
    // A pipe or a device in its place would hold the program up at the first read: what
    // would be kept there is then kept nowhere, and the program runs on its defaults.
    return Dateibefund::ansehen(pfad).art == Dateibefund::Art::Gewoehnlich ? pfad : QString();
}

void fensterlageLaden(QWidget* fenster, const QString& gruppe, QSize groesse)
{
    QSettings einstellungen(konfigurationsDatei(), QSettings::IniFormat);
    einstellungen.beginGroup(gruppe);
    const QRect lage = einstellungen.value(QStringLiteral("Lage")).toRect();
    const bool maximiert = einstellungen.value(QStringLiteral("Maximiert"), false).toBool();
    const QList<QRect> bildschirme = bildschirmFlaechen();
    const QMargins bekannt = fensterrahmen(fenster);
    const QMargins rahmen = bekannt.isNull() ? ueblicherRahmen : bekannt;
    fenster->setGeometry(fensterPlatz(lage, groesse, fenster->minimumSize(), bildschirme, rahmen));
    if (maximiert && lageErreichbar(lage, bildschirme))
        fenster->setWindowState(fenster->windowState() | Qt::WindowMaximized);
}

void fensterlageSichern(const QWidget* fenster, const QString& gruppe)
{
    QSettings einstellungen(konfigurationsDatei(), QSettings::IniFormat);
    einstellungen.beginGroup(gruppe);
    einstellungen.setValue(QStringLiteral("Lage"), fenster->normalGeometry());
    einstellungen.setValue(QStringLiteral("Maximiert"), fenster->isMaximized());
}
