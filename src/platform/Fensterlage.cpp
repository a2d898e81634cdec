#include "platform/Fensterlage.h"

#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QStandardPaths>
#include <QWidget>

#include <algorithm>

namespace {

// One axis: centred over the reference, then kept inside the available span,
// the start edge winning when both cannot be had.
int einpassen(int laenge, int bezugAnfang, int bezugLaenge, int anfang, int ende, int rahmenVorn, int rahmenHinten)
{
    int pos = bezugAnfang + (bezugLaenge - laenge) / 2;
    pos = std::min(pos, ende - rahmenHinten - laenge);
    return std::max(pos, anfang + rahmenVorn);
}

QList<QRect> bildschirmFlaechen()
{
    QList<QRect> flaechen;
    const auto bildschirme = QGuiApplication::screens();
    for (const QScreen* s : bildschirme)
        flaechen << s->availableGeometry();
    return flaechen;
}

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

QMargins fensterrahmen(const QWidget* fenster)
{
    const QRect innen = fenster->geometry();
    const QRect aussen = fenster->frameGeometry();
    return QMargins(innen.left() - aussen.left(), innen.top() - aussen.top(), aussen.right() - innen.right(),
                    aussen.bottom() - innen.bottom());
}

QString konfigurationsDatei()
{
    return QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation) + QStringLiteral("/fotoschliff.conf");
}

void fensterlageLaden(QWidget* fenster, const QString& gruppe, QSize groesse)
{
    QSettings einstellungen(konfigurationsDatei(), QSettings::IniFormat);
    einstellungen.beginGroup(gruppe);
    const QRect lage = einstellungen.value(QStringLiteral("Lage")).toRect();
    const bool maximiert = einstellungen.value(QStringLiteral("Maximiert"), false).toBool();
    if (lageErreichbar(lage, bildschirmFlaechen())) {
        fenster->setGeometry(lage);
        if (maximiert)
            fenster->setWindowState(fenster->windowState() | Qt::WindowMaximized);
        return;
    }
    const QScreen* bildschirm = QGuiApplication::primaryScreen();
    if (!bildschirm) {
        fenster->resize(groesse);
        return;
    }
    const QRect verfuegbar = bildschirm->availableGeometry();
    fenster->setGeometry(zentriertUeber(groesse, verfuegbar, verfuegbar));
}

void fensterlageSichern(const QWidget* fenster, const QString& gruppe)
{
    QSettings einstellungen(konfigurationsDatei(), QSettings::IniFormat);
    einstellungen.beginGroup(gruppe);
    einstellungen.setValue(QStringLiteral("Lage"), fenster->normalGeometry());
    einstellungen.setValue(QStringLiteral("Maximiert"), fenster->isMaximized());
}
