#pragma once

#include "codec/Bildladen.h"
#include "output/Quellbild.h"

#include <QSize>
#include <QString>

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <mutex>

class QObject;

// Decoding a photo on threads of its own, so that the window never waits for it. A file
// not yet read is read and checked first. A photo of at least ersteAnsichtAb pixels is
// decoded twice at once from the same bytes: reduced to the view's size for a first view
// (ersteAnsicht reports it), and whole, with its reduced copies (fertig reports it); a
// smaller one only whole. The file's memory goes when both are through.
//
// Called off (aufgeben), every step notices within a few milliseconds of work: reading,
// decoding, turning, colour conversion and the reduced copies. Its threads then end by
// themselves, report nothing more and free what they hold; nobody waits for them.
class Ladeauftrag : public std::enable_shared_from_this<Ladeauftrag> {
public:
    struct Ergebnis {
        Ladeergebnis geladen; // why not, when quelle is null
        Quellbild quelle;
    };

    // The screen pixels the view gives the opened file; it runs on the job's thread.
    using Ansichtspixel = std::function<QSize(const Jpegdatei&)>;

    // Where a job's reports go: queued to the receiver's thread, while it lives. The
    // receiver closes it before it goes; a job still running then reports into nothing.
    class Briefkasten {
    public:
        explicit Briefkasten(QObject* empfaenger)
            : m_empfaenger(empfaenger)
        {
        }
        void schliessen();
        void senden(const std::function<void()>& meldung);

    private:
        std::mutex m_sperre;
        QObject* m_empfaenger;
    };

    struct Vorgaben {
        QString pfad;
        Jpegdatei datei;             // read and checked already, or empty to read pfad
        Ansichtspixel ansichtspixel; // needed only for a first view
        qint64 ersteAnsichtAb = 0;   // pixels from which a first view comes; above any photo: never
    };

    // ersteAnsicht and fertig run on the mailbox's receiver. fertig comes once, with the
    // whole picture or why there is none; ersteAnsicht at most once, in either order.
    static std::shared_ptr<Ladeauftrag> starten(Vorgaben vorgaben, std::shared_ptr<Briefkasten> briefkasten,
                                                std::function<void()> ersteAnsicht, std::function<void()> fertig);
    // Calls the job off and lets go of it, without waiting; what it had finished is
    // freed on a thread of its own.
    static void aufgeben(std::shared_ptr<Ladeauftrag> auftrag);

    // Once reported: the first view (vorlaeufig), or why even it did not decode.
    Ergebnis ersteAnsicht();
    // Once reported: the whole picture, or why the file could not be loaded.
    Ergebnis ganz();

    // A picture given up, unmapped on a thread of its own: at 150 MP that takes longer
    // than a frame of the window.
    static void nebenherFreigeben(Quellbild bild);
    // Runs arbeit on a thread of its own that nobody joins; false when no thread could be
    // had (then nothing runs, and what arbeit holds is freed here).
    static bool nebenher(std::function<void()> arbeit);
    // The threads of jobs and of freeing still running, in the whole program.
    static int laufend();
    // At the program's end: whether they have all ended, waiting at most this long.
    static bool beendet(std::chrono::milliseconds hoechstens);

    // For tests: a job waits before each step of its work whose bit (1 << Stufe) is set
    // here, until it is called off or the bit is cleared; wartend counts the jobs waiting.
    enum class Stufe { Lesen, ErsteAnsicht, Ganz, Verkleinern };
    static std::atomic<int> haltepunkt;
    static std::atomic<int> wartend;

    Ladeauftrag(const Ladeauftrag&) = delete;
    Ladeauftrag& operator=(const Ladeauftrag&) = delete;

private:
    Ladeauftrag(Vorgaben vorgaben, std::shared_ptr<Briefkasten> briefkasten, std::function<void()> ersteAnsicht,
                std::function<void()> fertig);
    void lesenUndTeilen();
    void ganzDekodieren(std::shared_ptr<const Jpegdatei> datei);
    bool anhalten(Stufe stufe);
    bool abgebrochen() const { return m_abbrechen.load(std::memory_order_relaxed); }
    void melden(const std::function<void()>& meldung);

    Vorgaben m_vorgaben;
    std::shared_ptr<Briefkasten> m_briefkasten;
    std::function<void()> m_ersteAnsichtMelden, m_fertigMelden;
    std::atomic<bool> m_abbrechen{false};
    std::mutex m_sperre; // each thread writes its result under it, the receiver takes it under it
    Ergebnis m_erste, m_ganz;
};
