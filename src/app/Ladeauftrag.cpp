#include "app/Ladeauftrag.h"

#include <QMetaObject>
#include <QObject>

#include <condition_variable>
#include <limits>
#include <system_error>
#include <thread>

namespace {

// The threads still running, counted so that the program's end can let them finish.
// Never destroyed: a thread may end while the program's statics go.
struct Zaehler {
    std::mutex sperre;
    std::condition_variable leer;
    int laufend = 0;
};

Zaehler& zaehler()
{
    static Zaehler* z = new Zaehler;
    return *z;
}

Ladeauftrag::Ergebnis ergebnis(Ladeergebnis geladen, Quellbild quelle)
{
    geladen.bild = QImage();
    return {geladen, std::move(quelle)};
}

} // namespace

std::atomic<int> Ladeauftrag::haltepunkt{0};
std::atomic<int> Ladeauftrag::wartend{0};

void Ladeauftrag::Briefkasten::schliessen()
{
    const std::lock_guard<std::mutex> halten(m_sperre);
    m_empfaenger = nullptr;
}

void Ladeauftrag::Briefkasten::senden(const std::function<void()>& meldung)
{
    // Under the lock the receiver cannot go while the report is posted to it; once it is
    // gone, Qt drops what was posted to it and still waits.
    const std::lock_guard<std::mutex> halten(m_sperre);
    if (m_empfaenger)
        QMetaObject::invokeMethod(m_empfaenger, meldung, Qt::QueuedConnection);
}

Ladeauftrag::Ladeauftrag(Vorgaben vorgaben, std::shared_ptr<Briefkasten> briefkasten, std::function<void()> ersteAnsicht,
                         std::function<void()> fertig)
    : m_vorgaben(std::move(vorgaben))
    , m_briefkasten(std::move(briefkasten))
    , m_ersteAnsichtMelden(std::move(ersteAnsicht))
    , m_fertigMelden(std::move(fertig))
{
}

std::shared_ptr<Ladeauftrag> Ladeauftrag::starten(Vorgaben vorgaben, std::shared_ptr<Briefkasten> briefkasten,
                                                  std::function<void()> ersteAnsicht, std::function<void()> fertig)
{
    std::shared_ptr<Ladeauftrag> auftrag(
        new Ladeauftrag(std::move(vorgaben), std::move(briefkasten), std::move(ersteAnsicht), std::move(fertig)));
    if (!nebenher([auftrag] { auftrag->lesenUndTeilen(); })) {
        auftrag->m_ganz.geladen.fehler = Ladefehler::SpeicherFuerDatei;
        auftrag->melden(auftrag->m_fertigMelden);
    }
    return auftrag;
}

void Ladeauftrag::aufgeben(std::shared_ptr<Ladeauftrag> auftrag)
{
    if (!auftrag)
        return;
    auftrag->m_abbrechen.store(true, std::memory_order_relaxed);
    // The job's threads, still running, hold it too; the last one frees it.
    nebenher([auftrag = std::move(auftrag)]() mutable { auftrag.reset(); });
}

bool Ladeauftrag::nebenher(std::function<void()> arbeit)
{
    // What the thread holds is gone before it counts itself out.
    Zaehler& z = zaehler();
    {
        const std::lock_guard<std::mutex> halten(z.sperre);
        ++z.laufend;
    }
    const auto austragen = [&z] {
        const std::lock_guard<std::mutex> halten(z.sperre);
        if (--z.laufend == 0)
            z.leer.notify_all();
    };
    try {
        std::thread([arbeit = std::move(arbeit), austragen]() mutable {
            arbeit();
            arbeit = nullptr;
            austragen();
        }).detach();
        return true;
    } catch (const std::system_error&) {
        austragen();
        return false;
    }
}

void Ladeauftrag::nebenherFreigeben(Quellbild bild)
{
    if (!bild.isNull())
        nebenher([bild = std::move(bild)]() mutable { bild = Quellbild(); });
}

int Ladeauftrag::laufend()
{
    Zaehler& z = zaehler();
    const std::lock_guard<std::mutex> halten(z.sperre);
    return z.laufend;
}

bool Ladeauftrag::beendet(std::chrono::milliseconds hoechstens)
{
    Zaehler& z = zaehler();
    std::unique_lock<std::mutex> halten(z.sperre);
    return z.leer.wait_for(halten, hoechstens, [&z] { return z.laufend == 0; });
}

bool Ladeauftrag::anhalten(Stufe stufe)
{
    const int bit = 1 << int(stufe);
    if ((haltepunkt.load() & bit) && !abgebrochen()) {
        ++wartend;
        while ((haltepunkt.load() & bit) && !abgebrochen())
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        --wartend;
    }
    return !abgebrochen();
}

void Ladeauftrag::melden(const std::function<void()>& meldung)
{
    if (!abgebrochen())
        m_briefkasten->senden(meldung);
}

void Ladeauftrag::lesenUndTeilen()
{
    if (!anhalten(Stufe::Lesen))
        return;
    Jpegdatei datei = std::move(m_vorgaben.datei);
    if (datei.laenge == 0) {
        Ladeergebnis geoeffnet = jpegOeffnen(m_vorgaben.pfad, datei, hoechstePixelzahl, &m_abbrechen);
        if (geoeffnet.fehler != Ladefehler::Keiner) {
            {
                const std::lock_guard<std::mutex> halten(m_sperre);
                m_ganz = ergebnis(std::move(geoeffnet), Quellbild());
            }
            melden(m_fertigMelden);
            return;
        }
    }
    const QSize ganz = datei.aufrecht();
    const bool ersteAnsicht = qint64(ganz.width()) * ganz.height() >= m_vorgaben.ersteAnsichtAb && m_vorgaben.ansichtspixel;
    const QSize ansicht = ersteAnsicht ? m_vorgaben.ansichtspixel(datei) : QSize();
    const int nenner = ersteAnsicht ? verkleinerung(datei, ansicht) : 1;
    auto geteilt = std::make_shared<const Jpegdatei>(std::move(datei));
    if (nenner == 1) {
        ganzDekodieren(std::move(geteilt));
        return;
    }
    if (!nebenher([selbst = shared_from_this(), geteilt]() mutable { selbst->ganzDekodieren(std::move(geteilt)); })) {
        ganzDekodieren(std::move(geteilt)); // no first view then
        return;
    }

    if (!anhalten(Stufe::ErsteAnsicht))
        return;
    Ladeergebnis geladen = jpegDekodieren(*geteilt, nenner, &m_abbrechen);
    geteilt.reset();
    // The reduced decode goes at once: the first view holds exactly the view's pixels.
    if (!geladen.bild.isNull() && !ansicht.isEmpty() && geladen.bild.size() != ansicht)
        geladen.bild = Quellbild(std::move(geladen.bild), ganz).ansicht(ansicht);
    Quellbild quelle = geladen.bild.isNull() ? Quellbild() : Quellbild(std::move(geladen.bild), ganz);
    if (abgebrochen())
        return;
    {
        const std::lock_guard<std::mutex> halten(m_sperre);
        m_erste = ergebnis(std::move(geladen), std::move(quelle));
    }
    melden(m_ersteAnsichtMelden);
}

void Ladeauftrag::ganzDekodieren(std::shared_ptr<const Jpegdatei> datei)
{
    if (!anhalten(Stufe::Ganz))
        return;
    Ladeergebnis geladen = jpegDekodieren(*datei, 1, &m_abbrechen);
    datei.reset(); // before the reduced copies take their memory
    if (!anhalten(Stufe::Verkleinern))
        return;
    Quellbild quelle;
    if (!geladen.bild.isNull())
        quelle = Quellbild(std::move(geladen.bild), &m_abbrechen);
    if (abgebrochen())
        return;
    {
        const std::lock_guard<std::mutex> halten(m_sperre);
        m_ganz = ergebnis(std::move(geladen), std::move(quelle));
    }
    melden(m_fertigMelden);
}

Ladeauftrag::Ergebnis Ladeauftrag::ersteAnsicht()
{
    const std::lock_guard<std::mutex> halten(m_sperre);
    return std::move(m_erste);
}

Ladeauftrag::Ergebnis Ladeauftrag::ganz()
{
    const std::lock_guard<std::mutex> halten(m_sperre);
    return std::move(m_ganz);
}
