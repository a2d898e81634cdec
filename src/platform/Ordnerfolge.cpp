#include "platform/Ordnerfolge.h"

#include "platform/Fensterlage.h"

#include <QCollator>
#include <QDir>
#include <QFileInfo>
#include <QSettings>

#include <algorithm>

namespace {

const QString verlaufSchluessel = QStringLiteral("Oeffnen/Ordnerverlauf");

// German order with numbers by value; names that differ only in case keep one fixed order.
struct DateimanagerOrdnung {
    QCollator collator;
    DateimanagerOrdnung()
        : collator(QLocale(QLocale::German, QLocale::Germany))
    {
        collator.setNumericMode(true);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
    }
    int vergleich(const QString& a, const QString& b) const
    {
        const int c = collator.compare(a, b);
        return c != 0 ? c : a.compare(b);
    }
};

} // namespace

bool istJpegName(const QString& name)
{
    return name.endsWith(QLatin1String(".jpg"), Qt::CaseInsensitive) || name.endsWith(QLatin1String(".jpeg"), Qt::CaseInsensitive);
}

QStringList jpegReihenfolge(const QStringList& namen)
{
    QStringList jpegs;
    for (const QString& n : namen)
        if (istJpegName(n))
            jpegs << n;
    const DateimanagerOrdnung ordnung;
    std::sort(jpegs.begin(), jpegs.end(), [&](const QString& a, const QString& b) { return ordnung.vergleich(a, b) < 0; });
    return jpegs;
}

QString nachbarName(const QStringList& geordnet, const QString& name, int richtung)
{
    const DateimanagerOrdnung ordnung;
    if (richtung > 0) {
        for (const QString& n : geordnet)
            if (ordnung.vergleich(n, name) > 0)
                return n;
    } else {
        for (auto n = geordnet.crbegin(); n != geordnet.crend(); ++n)
            if (ordnung.vergleich(*n, name) < 0)
                return *n;
    }
    return {};
}

QString nachbarJpeg(const QString& pfad, int richtung)
{
    const QFileInfo datei(pfad);
    const QDir ordner = datei.absoluteDir();
    const QStringList namen = ordner.entryList(QDir::Files | QDir::Readable);
    const QString name = nachbarName(jpegReihenfolge(namen), datei.fileName(), richtung);
    return name.isEmpty() ? QString() : QDir::toNativeSeparators(ordner.filePath(name));
}

QStringList ordnerVerlauf(QStringList bisher, const QString& ordner, int hoechstens)
{
    const QString sauber = QDir::cleanPath(ordner);
    if (sauber.isEmpty() || sauber == u'.')
        return bisher;
    bisher.removeIf([&](const QString& o) { return QDir::cleanPath(o) == sauber; });
    bisher.prepend(sauber);
    while (bisher.size() > hoechstens)
        bisher.removeLast();
    return bisher;
}

QStringList ordnerVerlaufLaden()
{
    return QSettings(konfigurationsDatei(), QSettings::IniFormat).value(verlaufSchluessel).toStringList();
}

void ordnerVerlaufMerken(const QString& ordner)
{
    QSettings einstellungen(konfigurationsDatei(), QSettings::IniFormat);
    einstellungen.setValue(verlaufSchluessel, ordnerVerlauf(einstellungen.value(verlaufSchluessel).toStringList(), ordner));
}
