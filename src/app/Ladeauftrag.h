#pragma once

#include "codec/Bildladen.h"
#include "output/Quellbild.h"

#include <atomic>
#include <functional>
#include <memory>
#include <thread>

#include <QString>

class QObject;

// Decoding a large photo on threads of their own, so that the window never freezes: a
// decode reduced to the view's size for a first view (ersteAnsicht reports it) beside
// the full one, which also makes the reduced copies (fertig reports it). Both read the
// same bytes at once; the file's memory goes when both are through. A file not yet read
// is read and checked first, on the first view's thread; when it cannot be loaded, or
// needs no reduction, only one of the two reports comes. Reports run on empfaenger's
// thread, queued, and never after the job was called off.
class Ladeauftrag {
public:
    struct Ergebnis {
        Ladeergebnis geladen; // the picture moved into quelle once decoded
        Quellbild quelle;
    };

    // The screen pixels the view gives the opened file; it runs on a worker thread.
    using Ansichtspixel = std::function<QSize(const Jpegdatei&)>;

    // datei: the file read and checked already, or empty to read pfad here. The first
    // view is made to the view's pixels, and takes no more memory than they do.
    Ladeauftrag(const QString& pfad, Jpegdatei datei, Ansichtspixel ansichtspixel, QObject* empfaenger,
                std::function<void()> ersteAnsicht, std::function<void()> fertig);
    // Calls the decodes off and waits for the threads, which stop within a few rows.
    ~Ladeauftrag();
    Ladeauftrag(const Ladeauftrag&) = delete;
    Ladeauftrag& operator=(const Ladeauftrag&) = delete;

    // The reduced first view, once ersteAnsicht has been reported (vorlaeufig, or null
    // with the reason when the file could not be read or even it not decoded).
    Ergebnis ersteAnsicht();
    // Waits until the full decode is through (at once when it is) and hands out its result,
    // or why the file could not even be read.
    Ergebnis abwarten();

    // For tests: while set, a full decode waits before it starts (calling the job off still
    // ends it), so that the first view is on show alone for certain.
    static std::atomic<bool> ganzesAnhalten;

private:
    void melden(const std::function<void()>& meldung);

    QObject* m_empfaenger; // outlives the job, which its owner ends first
    std::atomic<bool> m_abbrechen{false};
    Ergebnis m_erste, m_ganz;
    // The full decode's thread is started by the first one, which is therefore joined first.
    std::thread m_ersteFaden, m_ganzFaden; // last: started when everything above is in place
};
