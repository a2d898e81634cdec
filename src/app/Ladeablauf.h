#pragma once

#include "app/Ladeauftrag.h"

#include <QObject>
#include <QTimer>

#include <deque>
#include <functional>
#include <memory>

// Loading photos as the window goes through it, without a widget: what is on show
// (nothing, the first view of a photo still being decoded whole, or a whole picture),
// the photo being loaded, and the steps that wait for a whole picture. Asking for
// another photo calls off whatever still decodes; a refused file leaves the picture on
// show as it was, and when that is a first view, its whole decode, called off by the
// refused one, runs again. The flow reports what the window is to show (melden), and
// never waits for a decode: dropped, it calls its job off and reports nothing more.
class Ladeablauf : public QObject {
public:
    enum class Stand { Nichts, ErsteAnsicht, Ganz };

    struct Meldung {
        enum class Art {
            Bild,      // quelle of pfad replaces the picture on show; a first view while vorlaeufig
            Ganz,      // quelle is the whole picture of the first view on show; nothing else changes
            Abgelehnt, // pfad cannot be loaded, for reason grund; the picture on show stays
            Entfernt,  // the first view on show could not be loaded whole, and none comes back in its place
        };
        Art art = Art::Bild;
        QString pfad;
        Quellbild quelle;
        Ladeergebnis grund;
    };

    explicit Ladeablauf(std::function<void(Meldung)> melden, QObject* eltern = nullptr);
    ~Ladeablauf() override;

    // Another photo wanted; ansichtspixel: the view's pixels for it. A file of up to
    // hierLesenBis bytes is read and checked at once, so that a refusal comes before
    // this returns, and so does a picture no larger than the view.
    void laden(const QString& pfad, Ladeauftrag::Ansichtspixel ansichtspixel);
    // A step that needs the whole picture while its first view is on show: run after its
    // report (Ganz), each once the window has caught up, in the order given.
    // Dropped when another photo is asked for or the whole picture cannot come.
    void spaeter(std::function<void()> schritt);

    Stand stand() const { return m_stand; }
    const QString& pfad() const { return m_pfad; } // of the picture on show
    bool laedt() const { return bool(m_auftrag); } // a decode runs
    bool wartet() const { return !m_spaeter.empty(); }

    // Photos from this many pixels show a reduced first view while they are decoded whole;
    // below it the whole decode alone is sooner (see the benchmark "schwelle").
    static constexpr qint64 ersteAnsichtAbStandard = 30'000'000;
    static qint64 ersteAnsichtAb; // for tests and benchmarks
    static constexpr qint64 hierLesenBis = qint64(1) << 20;

    // The file as it is now, for a look at its metadata; nothing for anything but a plain
    // file of up to 256 MB (a pipe would block).
    static QByteArray dateiInhalt(const QString& pfad);

private:
    void starten(const QString& pfad, Jpegdatei datei, Ladeauftrag::Ansichtspixel ansichtspixel, qint64 ersteAnsichtAb,
                 bool fuerGezeigtes);
    void auftragAufgeben();
    void ersteAnsichtDa(int nummer);
    void fertig(int nummer);
    void zeigen(const QString& pfad, Quellbild quelle);
    void ablehnen(const QString& pfad, const Ladeergebnis& grund);
    void fortsetzen();
    void schritteAnstossen();

    std::function<void(Meldung)> m_melden;
    std::shared_ptr<Ladeauftrag::Briefkasten> m_briefkasten;
    std::shared_ptr<Ladeauftrag> m_auftrag;
    int m_nummer = 0;             // of the latest load; a report of an earlier one is not heard
    QString m_ladePfad;           // what the job decodes
    bool m_fuerGezeigtes = false; // its whole picture is that of the first view on show
    Stand m_stand = Stand::Nichts;
    QString m_pfad;
    Quellbild m_gezeigt;          // shared with the window, and freed beside it
    // What was on show before the first view now on show, back should that not load whole.
    QString m_vorigerPfad;
    Quellbild m_vorige;
    std::deque<std::function<void()>> m_spaeter;
    QTimer m_schrittTakt;
};
