#pragma once

#include <QByteArray>
#include <QImage>
#include <QString>

#include <memory>
#include <vector>


// One encode-measure-decode round trip.
struct JpegMessung {
    QImage Bild;         // the decoded JPEG (the preview), null when decoding failed
    double Groesse = 0;  // number of bytes of the encoded JPEG
    QByteArray daten;    // the encoded bytes themselves; saving writes exactly these
    int status = 0;      // 0, or the status number of the step that failed
};

// How the JPEG file is written. The quality number scales the quantisation tables in
// every variant alike; the variants differ in what a byte buys.
struct Kodierung {
    // The base quantisation tables. (Mozilla's tables tuned for PSNR-HVS and MS-SSIM were
    // tried too: on the nature photos neither was best often enough to earn a place.)
    enum class Tabellen : unsigned char {
        Standard, // the example tables of the JPEG standard (Annex K)
        Robidoux, // N. Robidoux's perceptual table, for luma and chroma alike
    };
    bool progressiv = false; // progressive scans instead of one baseline scan
    bool volleFarbe = false; // chroma at full resolution (4:4:4) instead of halved both ways (4:2:0)
    Tabellen tabellen = Tabellen::Standard;
    bool operator==(const Kodierung&) const = default;
    // For reports: "progressiv 4:2:0 Robidoux", "baseline 4:4:4 Standard".
    QString name() const;
};

// The plain coding every reader has known for thirty years.
constexpr Kodierung einfacheKodierung{};

// Why the last save failed, for the window to put into words.
struct Speicherfehler {
    enum class Art {
        Keiner,
        NichtsGemessen,         // no measured picture to write
        KeineGewoehnlicheDatei, // pfad names a device, a pipe or a socket
        OrdnerGesperrt,         // no permission to write into the folder pfad
        System,                 // the operating system's reason: fehlernummer (errno) about pfad
    };
    Art art = Art::Keiner;
    int fehlernummer = 0;
    QString pfad; // with the platform's separators
};

// The JPEG codec of the program, in memory, on libjpeg-turbo. Its failures are reported
// with the classic GDI+ status numbers, which is what users of the program know from
// its messages: out of memory 3, invalid parameter 2, file not writable 7, access
// denied 12, codec errors 1, not started 18.
//
// The service shows nothing: every step reports its status, and the window that asked
// turns a failure into its "GDI Error" box (GdipStatusPruefen).
class JpegDienst {
public:
    JpegDienst();
    ~JpegDienst(); // releases the handles if still held
    JpegDienst(const JpegDienst&) = delete;
    JpegDienst& operator=(const JpegDienst&) = delete;

    // Creates the codec handles. Version 1 is the only one; 0 = started, else a status.
    int GdipStarten(int version);
    void GdipBeenden();
    bool bereit() const;

    // Quality is clamped to 0..100. Encodes, counts the bytes and decodes them for the
    // preview. A failing decode keeps Groesse and daten and leaves Bild null. Not started:
    // {null, 0}.
    JpegMessung JpegMessen(const QImage& bild, int qualitaet);
    // Writes exactly messung.daten to datei, atomically: on any failure an existing file
    // stays as it was. 0 = written. A denied write (a read-only file or folder) is
    // status 12, any other failure of the file system 7.
    int JpegSpeichern(const JpegMessung& messung, const QString& datei);
    // Why the last JpegSpeichern failed, as the operating system gave it.
    const Speicherfehler& letzterSpeicherfehler() const { return m_speicherfehler; }

    // The two steps of JpegMessen on their own, without any message box; they return the
    // status. Used where only one half is wanted (and by the benchmarks). The encodes of
    // the latest picture are kept: asked again for one of its qualities, kodieren hands
    // out the same bytes without encoding (the search for the best quality has made
    // the file that the measurement then shows).
    int kodieren(const QImage& bild, int qualitaet, QByteArray& daten);
    int dekodieren(const QByteArray& daten, QImage& bild);

    // The coding of every following encode; measuring and saving use the same.
    void setzeKodierung(const Kodierung& kodierung) { m_kodierung = kodierung; }
    const Kodierung& kodierung() const { return m_kodierung; }
    void setzeProgressiv(bool progressiv) { m_kodierung.progressiv = progressiv; }
    bool progressiv() const { return m_kodierung.progressiv; }

    struct Kodierer;

private:
    struct Gemerkt {
        int qualitaet;
        Kodierung kodierung;
        QByteArray daten;
    };
    qint64 m_gemerktesBild = 0; // QImage::cacheKey of the picture the kept encodes belong to
    std::vector<Gemerkt> m_gemerkt;

    std::unique_ptr<Kodierer> m_kodierer;
    void* m_dekodierer = nullptr; // TurboJPEG handle
    Kodierung m_kodierung;
    Speicherfehler m_speicherfehler;
};
