#include "output/Meldungen.h"

#include "codec/Bildladen.h"
#include "codec/JpegDienst.h"

#include <QLocale>

#include <cerrno>
#include <cstring>

QString schwacheQualitaetHinweis(int qualitaet, int untergrenze)
{
    if (qualitaet <= 0 || qualitaet >= untergrenze)
        return {};
    return QStringLiteral("Erst mit der Qualität %1 wird die Datei kleiner als 100 KB; diese Qualität ist bei „Kompr.“ eingetragen. "
                          "Unter %2 sieht das Bild aber deutlich schlechter aus (Blockmuster, verwaschene Kanten und Farben).\r\n"
                          "Mit einer kleineren Zielgröße unter „3. Zielformat festlegen“ sähe es bei weniger als 100 KB besser aus.")
        .arg(qualitaet)
        .arg(untergrenze);
}

QString ladefehlerText(const Ladeergebnis& e)
{
    switch (e.fehler) {
    case Ladefehler::Keiner: return {};
    case Ladefehler::NichtVorhanden: return QStringLiteral("Sie ist nicht (mehr) vorhanden.");
    case Ladefehler::KeineLeseberechtigung: return QStringLiteral("Sie lässt sich nicht öffnen (fehlt die Leseberechtigung?).");
    case Ladefehler::NichtZuOeffnen: return QStringLiteral("Sie lässt sich nicht öffnen.");
    case Ladefehler::Ordner: return QStringLiteral("Sie ist ein Ordner.");
    case Ladefehler::KeineGewoehnlicheDatei:
        return QStringLiteral("Sie ist keine gewöhnliche Datei, sondern ein Gerät, eine Pipe oder ein Socket.");
    case Ladefehler::DateiZuGross:
        return QStringLiteral("Sie ist mit %1 MB zu groß; Fotoschliff liest Dateien bis %2 MB.").arg(e.wert >> 20).arg(e.grenze >> 20);
    case Ladefehler::GroesserAlsNoetig:
        return QStringLiteral("Sie ist mit %1 MB weit größer, als ihr Bild je braucht (höchstens %2 MB).")
            .arg(e.wert >> 20)
            .arg((e.grenze + (1 << 20) - 1) >> 20);
    case Ladefehler::SpeicherFuerDatei: return QStringLiteral("Für diese Datei reicht der Speicher nicht.");
    case Ladefehler::Leer: return QStringLiteral("Sie ist leer oder lässt sich nicht lesen.");
    case Ladefehler::KeinJpeg: return QStringLiteral("Sie enthält kein JPEG-Bild.");
    case Ladefehler::NichtUnterstuetzt: {
        QString art;
        switch (e.art) {
        case JpegArt::Unbenannt: return QStringLiteral("Diese JPEG-Art wird nicht unterstützt.");
        case JpegArt::Verlustfrei: art = QStringLiteral("verlustfrei komprimiert"); break;
        case JpegArt::Hierarchisch: art = QStringLiteral("hierarchisch aufgebaut"); break;
        case JpegArt::Bittiefe: art = QStringLiteral("%1 Bit je Farbkanal").arg(e.wert); break;
        case JpegArt::HoeheAmEnde: art = QStringLiteral("Höhe erst am Ende angegeben"); break;
        }
        return QStringLiteral("Diese JPEG-Art wird nicht unterstützt (%1).").arg(art);
    }
    case Ladefehler::ZuVielePixel:
        return QStringLiteral("Das Bild ist mit %1 Megapixeln zu groß; Fotoschliff verarbeitet Bilder bis %2 Megapixel.")
            .arg(megapixelText(e.wert, e.grenze), QLocale(QLocale::German).toString(double(e.grenze) / 1e6));
    case Ladefehler::SpeicherFuerBild: return QStringLiteral("Für ein Bild dieser Größe reicht der Speicher nicht.");
    case Ladefehler::Unvollstaendig: return QStringLiteral("Die Bilddaten sind unvollständig oder beschädigt.");
    case Ladefehler::Abgebrochen: return {}; // another photo was wanted: nothing to say
    }
    return {};
}

QString megapixelText(qint64 pixel, qint64 grenze)
{
    QLocale deutsch(QLocale::German);
    deutsch.setNumberOptions(QLocale::OmitGroupSeparator);
    const double mp = double(pixel) / 1e6;
    for (int stellen = 0; stellen < 6; ++stellen) {
        const QString text = deutsch.toString(mp, 'f', stellen);
        if (deutsch.toDouble(text) * 1e6 > double(grenze))
            return text;
    }
    return deutsch.toString(mp, 'f', 6);
}

QString speicherfehlerText(const Speicherfehler& fehler)
{
    switch (fehler.art) {
    case Speicherfehler::Art::Keiner: return {};
    case Speicherfehler::Art::NichtsGemessen: return QStringLiteral("Es gibt noch kein gemessenes Bild zum Speichern.");
    case Speicherfehler::Art::KeineGewoehnlicheDatei: return QStringLiteral("„%1“ ist keine gewöhnliche Datei.").arg(fehler.pfad);
    case Speicherfehler::Art::OrdnerGesperrt: return QStringLiteral("Keine Schreibberechtigung für den Ordner „%1“.").arg(fehler.pfad);
    case Speicherfehler::Art::System: return speicherfehlerText(fehler.fehlernummer, fehler.pfad);
    }
    return {};
}

QString speicherfehlerText(int fehlernummer, const QString& datei)
{
    switch (fehlernummer) {
    case ENOSPC: return QStringLiteral("Der Datenträger ist voll.");
    case EDQUOT: return QStringLiteral("Der Ihnen zugeteilte Platz auf dem Datenträger ist aufgebraucht.");
    case EFBIG: return QStringLiteral("Die Datei wäre größer, als das System erlaubt.");
    case EROFS: return QStringLiteral("Der Datenträger ist schreibgeschützt.");
    case EACCES:
    case EPERM: return QStringLiteral("Keine Schreibberechtigung für „%1“.").arg(datei);
    case ENOENT:
    case ENOTDIR: return QStringLiteral("Der Ordner existiert nicht.");
    case EISDIR: return QStringLiteral("„%1“ ist ein Ordner.").arg(datei);
    case ENAMETOOLONG: return QStringLiteral("Der Dateiname ist zu lang.");
    case EIO: return QStringLiteral("Beim Schreiben auf den Datenträger ist ein Fehler aufgetreten.");
    case EMFILE:
    case ENFILE: return QStringLiteral("Es sind zu viele Dateien gleichzeitig geöffnet.");
    default:
        return QStringLiteral("Das Betriebssystem meldet: %1 (Fehler %2).")
            .arg(QString::fromLocal8Bit(std::strerror(fehlernummer)))
            .arg(fehlernummer);
    }
}

QString GdipFehlertext(int status)
{
    switch (status) {
    case 1: return QStringLiteral("Generic Error.");
    case 2: return QStringLiteral("Invalid Parameter.");
    case 3: return QStringLiteral("Out Of Memory.");
    case 4: return QStringLiteral("Object Busy.");
    case 5: return QStringLiteral("Insufficient Buffer.");
    case 6: return QStringLiteral("Not Implemented.");
    case 7: return QStringLiteral("Win32 Error.");
    case 8: return QStringLiteral("Wrong State.");
    case 9: return QStringLiteral("Aborted.");
    case 10: return QStringLiteral("File Not Found.");
    case 11: return QStringLiteral("Value Overflow.");
    case 12: return QStringLiteral("Access Denied.");
    case 13: return QStringLiteral("Unknown Image Format.");
    case 14: return QStringLiteral("FontFamily Not Found.");
    case 15: return QStringLiteral("FontStyle Not Found.");
    case 16: return QStringLiteral("Not TrueType Font.");
    case 17: return QStringLiteral("Unsupported Gdiplus Version.");
    case 18: return QStringLiteral("Gdiplus Not Initialized.");
    case 19: return QStringLiteral("Property Not Found.");
    case 20: return QStringLiteral("Property Not Supported.");
    default: return QStringLiteral("Unknown GDI+ Error.");
    }
}
