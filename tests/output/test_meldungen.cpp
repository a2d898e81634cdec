// The words for the JPEG code's status values, character for character.
#include "codec/Bildladen.h"
#include "codec/JpegDienst.h"
#include "output/Meldungen.h"
#include "output/Speichern.h"

#include "TestDienste.h"

#include <QTest>

#include <cerrno>

class TestMeldungen : public QObject {
    Q_OBJECT

private slots:
    void ladefehler_data()
    {
        QTest::addColumn<Ladefehler>("fehler");
        QTest::addColumn<JpegArt>("art");
        QTest::addColumn<qint64>("wert");
        QTest::addColumn<qint64>("grenze");
        QTest::addColumn<QString>("text");
        const auto zeile = [](const char* name, Ladefehler f, const char* text, JpegArt art = JpegArt::Unbenannt, qint64 wert = 0,
                              qint64 grenze = 0) { QTest::newRow(name) << f << art << wert << grenze << QString::fromUtf8(text); };
        zeile("nicht vorhanden", Ladefehler::NichtVorhanden, "Sie ist nicht (mehr) vorhanden.");
        zeile("Leseberechtigung", Ladefehler::KeineLeseberechtigung, "Sie lässt sich nicht öffnen (fehlt die Leseberechtigung?).");
        zeile("nicht zu öffnen", Ladefehler::NichtZuOeffnen, "Sie lässt sich nicht öffnen.");
        zeile("Ordner", Ladefehler::Ordner, "Sie ist ein Ordner.");
        zeile("Pipe", Ladefehler::KeineGewoehnlicheDatei, "Sie ist keine gewöhnliche Datei, sondern ein Gerät, eine Pipe oder ein Socket.");
        zeile("Datei zu groß", Ladefehler::DateiZuGross, "Sie ist mit 1500 MB zu groß; Fotoschliff liest Dateien bis 1024 MB.",
              JpegArt::Unbenannt, (qint64(1500) << 20) + 99, qint64(1) << 30);
        zeile("größer als nötig", Ladefehler::GroesserAlsNoetig, "Sie ist mit 1024 MB weit größer, als ihr Bild je braucht (höchstens 65 MB).",
              JpegArt::Unbenannt, qint64(1) << 30, (qint64(64) << 20) + 36866);
        zeile("Speicher für die Datei", Ladefehler::SpeicherFuerDatei, "Für diese Datei reicht der Speicher nicht.");
        zeile("leer", Ladefehler::Leer, "Sie ist leer oder lässt sich nicht lesen.");
        zeile("kein JPEG", Ladefehler::KeinJpeg, "Sie enthält kein JPEG-Bild.");
        zeile("Art ohne Namen", Ladefehler::NichtUnterstuetzt, "Diese JPEG-Art wird nicht unterstützt.");
        zeile("verlustfrei", Ladefehler::NichtUnterstuetzt, "Diese JPEG-Art wird nicht unterstützt (verlustfrei komprimiert).",
              JpegArt::Verlustfrei);
        zeile("hierarchisch", Ladefehler::NichtUnterstuetzt, "Diese JPEG-Art wird nicht unterstützt (hierarchisch aufgebaut).",
              JpegArt::Hierarchisch);
        zeile("12 Bit", Ladefehler::NichtUnterstuetzt, "Diese JPEG-Art wird nicht unterstützt (12 Bit je Farbkanal).",
              JpegArt::Bittiefe, 12);
        zeile("Höhe am Ende", Ladefehler::NichtUnterstuetzt, "Diese JPEG-Art wird nicht unterstützt (Höhe erst am Ende angegeben).",
              JpegArt::HoeheAmEnde);
        // The count differs from the limit in the message.
        const char* zuGross = "Das Bild ist mit %1 Megapixeln zu groß; Fotoschliff verarbeitet Bilder bis 150 Megapixel.";
        const qint64 grenze = hoechstePixelzahl;
        for (const auto& [pixel, zahl] : {std::pair<qint64, const char*>{15001ll * 10000, "150,01"}, {12247ll * 12248, "150,001"},
                                          {20000ll * 10000, "200"}, {15049ll * 10000, "150,5"}, {65535ll * 65535, "4295"}})
            QTest::newRow(zahl) << Ladefehler::ZuVielePixel << JpegArt::Unbenannt << pixel << grenze
                                << QString::fromUtf8(zuGross).arg(QLatin1String(zahl));
        zeile("Speicher für das Bild", Ladefehler::SpeicherFuerBild, "Für ein Bild dieser Größe reicht der Speicher nicht.");
        zeile("beschädigt", Ladefehler::Unvollstaendig, "Die Bilddaten sind unvollständig oder beschädigt.");
        zeile("kein Fehler", Ladefehler::Keiner, "");
    }
    void ladefehler()
    {
        QFETCH(Ladefehler, fehler);
        QFETCH(JpegArt, art);
        QFETCH(qint64, wert);
        QFETCH(qint64, grenze);
        QFETCH(QString, text);
        Ladeergebnis e;
        e.fehler = fehler;
        e.art = art;
        e.wert = wert;
        e.grenze = grenze;
        QCOMPARE(ladefehlerText(e), text);
    }

    // The system's reasons in plain German.
    void speicherfehlerTexte_data()
    {
        QTest::addColumn<int>("fehlernummer");
        QTest::addColumn<QString>("text");
        QTest::newRow("voll") << ENOSPC << "Der Datenträger ist voll.";
        QTest::newRow("Kontingent") << EDQUOT << "Der Ihnen zugeteilte Platz auf dem Datenträger ist aufgebraucht.";
        QTest::newRow("Datei zu groß") << EFBIG << "Die Datei wäre größer, als das System erlaubt.";
        QTest::newRow("schreibgeschützter Datenträger") << EROFS << "Der Datenträger ist schreibgeschützt.";
        QTest::newRow("keine Berechtigung") << EACCES << "Keine Schreibberechtigung für „/web/falter.jpg“.";
        QTest::newRow("kein Ordner") << ENOENT << "Der Ordner existiert nicht.";
        QTest::newRow("ein Ordner") << EISDIR << "„/web/falter.jpg“ ist ein Ordner.";
        QTest::newRow("E/A-Fehler") << EIO << "Beim Schreiben auf den Datenträger ist ein Fehler aufgetreten.";
    }
    void speicherfehlerTexte()
    {
        QFETCH(int, fehlernummer);
        QFETCH(QString, text);
        QCOMPARE(speicherfehlerText(fehlernummer, QStringLiteral("/web/falter.jpg")), text);
    }

    void speicherfehlerArten_data()
    {
        QTest::addColumn<Speicherfehler>("fehler");
        QTest::addColumn<QString>("text");
        using Art = Speicherfehler::Art;
        QTest::newRow("keiner") << Speicherfehler{} << "";
        QTest::newRow("nichts gemessen") << Speicherfehler{Art::NichtsGemessen, 0, {}} << "Es gibt noch kein gemessenes Bild zum Speichern.";
        QTest::newRow("Gerät") << Speicherfehler{Art::KeineGewoehnlicheDatei, EINVAL, "/dev/null"} << "„/dev/null“ ist keine gewöhnliche Datei.";
        QTest::newRow("Ordner gesperrt") << Speicherfehler{Art::OrdnerGesperrt, EACCES, "/web"} << "Keine Schreibberechtigung für den Ordner „/web“.";
        QTest::newRow("System") << Speicherfehler{Art::System, EISDIR, "/web"} << "„/web“ ist ein Ordner.";
    }
    void speicherfehlerArten()
    {
        QFETCH(Speicherfehler, fehler);
        QFETCH(QString, text);
        QCOMPARE(speicherfehlerText(fehler), text);
    }

    // "beste < 100 KB" below the arrows' lowest quality: set, but with a word of warning.
    void schwacheQualitaet_data()
    {
        QTest::addColumn<int>("qualitaet");
        QTest::addColumn<bool>("hinweis");
        QTest::newRow("nichts passt") << 0 << false;
        QTest::newRow("1") << 1 << true;
        QTest::newRow("13") << 13 << true;
        QTest::newRow("49") << 49 << true;
        QTest::newRow("50") << 50 << false;
        QTest::newRow("100") << 100 << false;
    }
    void schwacheQualitaet()
    {
        QFETCH(int, qualitaet);
        QFETCH(bool, hinweis);
        const QString text = schwacheQualitaetHinweis(qualitaet, 50);
        if (!hinweis) {
            QCOMPARE(text, QString());
            return;
        }
        QCOMPARE(text, QStringLiteral("Erst mit der Qualität %1 wird die Datei kleiner als 100 KB; diese Qualität ist bei „Kompr.“ "
                                      "eingetragen. Unter 50 sieht das Bild aber deutlich schlechter aus (Blockmuster, verwaschene "
                                      "Kanten und Farben).\r\nMit einer kleineren Zielgröße unter „3. Zielformat festlegen“ sähe es "
                                      "bei weniger als 100 KB besser aus.")
                           .arg(qualitaet));
    }

    void fehlertexte_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("1") << 1 << "Generic Error.";
        QTest::newRow("3") << 3 << "Out Of Memory.";
        QTest::newRow("7") << 7 << "Win32 Error.";
        QTest::newRow("12") << 12 << "Access Denied.";
        QTest::newRow("14") << 14 << "FontFamily Not Found.";
        QTest::newRow("18") << 18 << "Gdiplus Not Initialized.";
        QTest::newRow("20") << 20 << "Property Not Supported.";
        QTest::newRow("0") << 0 << "Unknown GDI+ Error.";
        QTest::newRow("21") << 21 << "Unknown GDI+ Error.";
        QTest::newRow("-1") << -1 << "Unknown GDI+ Error.";
    }
    void fehlertexte()
    {
        QFETCH(int, status);
        QFETCH(QString, text);
        QCOMPARE(GdipFehlertext(status), text);
    }

    void statusPruefenZeigtEineMeldung_data()
    {
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("text");
        QTest::newRow("0") << 0 << "";
        QTest::newRow("3") << 3 << "Out Of Memory. GDI+ Error:3";
        QTest::newRow("12") << 12 << "Access Denied. GDI+ Error:12";
        QTest::newRow("21") << 21 << "Unknown GDI+ Error. GDI+ Error:21";
    }
    void statusPruefenZeigtEineMeldung()
    {
        QFETCH(int, status);
        QFETCH(QString, text);
        TestDienste dienste;
        QCOMPARE(GdipStatusPruefen(status), status);
        QCOMPARE(dienste.meldungen.size(), status == 0 ? 0 : 1);
        if (status == 0)
            return;
        QCOMPARE(dienste.meldungen[0].text, text);
        QCOMPARE(dienste.meldungen[0].titel, QStringLiteral("GDI Error"));
        QCOMPARE(dienste.meldungen[0].symbol, Dienste::Symbol::Fehler);
    }
};

QTEST_MAIN(TestMeldungen)
#include "test_meldungen.moc"
