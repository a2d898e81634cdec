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

    // Progressive instead of baseline encoding. Off: at 900 x 600 and qualities 60..95 it
    // saved 3..8 % on a detailed photo but cost up to 3.4 % more on a smooth one below
    // quality 85, and it more than doubles the time to encode and decode, which the
    // target chain runs on every release of the frame (fotoschliff-bench progressiv).
    void setzeProgressiv(bool progressiv) { m_progressiv = progressiv; }
    bool progressiv() const { return m_progressiv; }

    struct Kodierer;

private:
    struct Gemerkt {
        int qualitaet;
        bool progressiv;
        QByteArray daten;
    };
    qint64 m_gemerktesBild = 0; // QImage::cacheKey of the picture the kept encodes belong to
    std::vector<Gemerkt> m_gemerkt;

    std::unique_ptr<Kodierer> m_kodierer;
    void* m_dekodierer = nullptr; // TurboJPEG handle
    bool m_progressiv = false;
    Speicherfehler m_speicherfehler;
};
