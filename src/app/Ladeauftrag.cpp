#include "app/Ladeauftrag.h"

#include <QMetaObject>
#include <QObject>

#include <chrono>

namespace {

Ladeauftrag::Ergebnis ergebnis(Ladeergebnis geladen, QSize ganz, bool vorlaeufig)
{
    Ladeauftrag::Ergebnis e;
    if (!geladen.bild.isNull())
        e.quelle = vorlaeufig ? Quellbild(std::move(geladen.bild), ganz) : Quellbild(std::move(geladen.bild));
    geladen.bild = QImage();
    e.geladen = geladen;
    return e;
}

} // namespace

std::atomic<bool> Ladeauftrag::ganzesAnhalten{false};

Ladeauftrag::Ladeauftrag(const QString& pfad, Jpegdatei datei, Ansichtspixel ansichtspixel, QObject* empfaenger,
                         std::function<void()> ersteAnsicht, std::function<void()> fertig)
    : m_empfaenger(empfaenger)
{
    // Each thread writes only its own result, and the window reads it only after the report.
    m_ersteFaden = std::thread([this, pfad, datei = std::move(datei), ansichtspixel = std::move(ansichtspixel),
                                ersteAnsicht = std::move(ersteAnsicht), fertig = std::move(fertig)]() mutable {
        if (datei.laenge == 0) {
            Ladeergebnis geoeffnet = jpegOeffnen(pfad, datei);
            if (geoeffnet.fehler != Ladefehler::Keiner) {
                m_erste.geladen = geoeffnet;
                m_ganz.geladen = geoeffnet;
                melden(ersteAnsicht);
                return;
            }
        }
        if (m_abbrechen.load(std::memory_order_relaxed))
            return;
        const QSize ganz = datei.aufrecht();
        const QSize ansicht = ansichtspixel(datei);
        const int nenner = verkleinerung(datei, ansicht);
        if (nenner == 1) {
            m_ganz = ergebnis(jpegDekodieren(datei, 1, &m_abbrechen), ganz, false);
            melden(fertig);
            return;
        }
        auto geteilt = std::make_shared<const Jpegdatei>(std::move(datei));
        m_ganzFaden = std::thread([this, ganz, fertig = std::move(fertig), geteilt]() mutable {
            while (ganzesAnhalten.load() && !m_abbrechen.load())
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            Ladeergebnis geladen = jpegDekodieren(*geteilt, 1, &m_abbrechen);
            geteilt.reset(); // before the reduced copies take their memory
            m_ganz = ergebnis(std::move(geladen), ganz, false);
            melden(fertig);
        });
        Ladeergebnis geladen = jpegDekodieren(*geteilt, nenner, &m_abbrechen);
        geteilt.reset();
        if (!geladen.bild.isNull() && !ansicht.isEmpty() && geladen.bild.size() != ansicht) // the reduced decode goes at once
            geladen.bild = Quellbild(std::move(geladen.bild), ganz).ansicht(ansicht);
        m_erste = ergebnis(std::move(geladen), ganz, true);
        melden(ersteAnsicht);
    });
}

void Ladeauftrag::melden(const std::function<void()>& meldung)
{
    if (!m_abbrechen.load(std::memory_order_relaxed))
        QMetaObject::invokeMethod(m_empfaenger, meldung, Qt::QueuedConnection);
}

Ladeauftrag::~Ladeauftrag()
{
    m_abbrechen.store(true, std::memory_order_relaxed);
    for (std::thread* faden : {&m_ersteFaden, &m_ganzFaden})
        if (faden->joinable())
            faden->join();
}

Ladeauftrag::Ergebnis Ladeauftrag::ersteAnsicht()
{
    if (m_ersteFaden.joinable())
        m_ersteFaden.join();
    return std::move(m_erste);
}

Ladeauftrag::Ergebnis Ladeauftrag::abwarten()
{
    for (std::thread* faden : {&m_ersteFaden, &m_ganzFaden})
        if (faden->joinable())
            faden->join();
    return std::move(m_ganz);
}
