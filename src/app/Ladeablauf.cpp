#include "app/Ladeablauf.h"

#include <QFile>
#include <QFileInfo>
#include <QTimer>

#include <limits>
#include <utility>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

qint64 Ladeablauf::ersteAnsichtAb = Ladeablauf::ersteAnsichtAbStandard;

Ladeablauf::Ladeablauf(std::function<void(Meldung)> melden, QObject* eltern)
    : QObject(eltern)
    , m_melden(std::move(melden))
    , m_briefkasten(std::make_shared<Ladeauftrag::Briefkasten>(this))
{
    // A timer of 0 ms runs once the window has caught up with what is pending, its
    // painting included, so that each step comes in a turn of its own.
    m_schrittTakt.setSingleShot(true);
    m_schrittTakt.setInterval(0);
    connect(&m_schrittTakt, &QTimer::timeout, this, [this] {
        if (m_stand != Stand::Ganz || m_spaeter.empty())
            return;
        const std::function<void()> schritt = std::move(m_spaeter.front());
        m_spaeter.pop_front();
        schritt();
        schritteAnstossen();
    });
}

Ladeablauf::~Ladeablauf()
{
    m_briefkasten->schliessen();
    auftragAufgeben();
    m_spaeter.clear();
    Ladeauftrag::nebenherFreigeben(std::exchange(m_gezeigt, Quellbild()));
    Ladeauftrag::nebenherFreigeben(std::exchange(m_vorige, Quellbild()));
}

void Ladeablauf::laden(const QString& pfad, Ladeauftrag::Ansichtspixel ansichtspixel)
{
    // What waited for the picture on show was asked for before this photo was wanted.
    m_spaeter.clear();
    auftragAufgeben();
    ++m_nummer;
    // A small file is read and checked here, so that a refusal comes at once and a
    // picture no larger than the view is shown at once; reading a large one, or a file
    // that memory has to be found for first, could hold the window up noticeably.
    Jpegdatei datei;
    if (QFileInfo(pfad).size() <= hierLesenBis) {
        Ladeergebnis geladen = jpegOeffnen(pfad, datei);
        const bool ganzHier = geladen.fehler == Ladefehler::Keiner && verkleinerung(datei, ansichtspixel(datei)) == 1;
        if (ganzHier)
            geladen = jpegDekodieren(datei);
        if (geladen.fehler != Ladefehler::Keiner || (ganzHier && geladen.bild.isNull())) {
            ablehnen(pfad, geladen);
            return;
        }
        if (ganzHier) {
            zeigen(pfad, Quellbild(std::move(geladen.bild)));
            return;
        }
    }
    starten(pfad, std::move(datei), std::move(ansichtspixel), ersteAnsichtAb, false);
}

void Ladeablauf::spaeter(std::function<void()> schritt)
{
    m_spaeter.push_back(std::move(schritt));
    if (m_stand == Stand::Ganz)
        schritteAnstossen();
}

void Ladeablauf::starten(const QString& pfad, Jpegdatei datei, Ladeauftrag::Ansichtspixel ansichtspixel,
                         qint64 ersteAnsichtAb, bool fuerGezeigtes)
{
    const int nummer = ++m_nummer;
    m_ladePfad = pfad;
    m_fuerGezeigtes = fuerGezeigtes;
    m_auftrag = Ladeauftrag::starten({pfad, std::move(datei), std::move(ansichtspixel), ersteAnsichtAb}, m_briefkasten,
                                     [this, nummer] { ersteAnsichtDa(nummer); }, [this, nummer] { fertig(nummer); });
}

void Ladeablauf::auftragAufgeben() { Ladeauftrag::aufgeben(std::exchange(m_auftrag, nullptr)); }

void Ladeablauf::ersteAnsichtDa(int nummer)
{
    if (nummer != m_nummer || !m_auftrag || m_fuerGezeigtes)
        return;
    Ladeauftrag::Ergebnis erste = m_auftrag->ersteAnsicht();
    if (erste.quelle.isNull()) {
        auftragAufgeben();
        ablehnen(m_ladePfad, erste.geladen);
        return;
    }
    // From now on the job's whole picture is that of the first view on show.
    m_fuerGezeigtes = true;
    zeigen(m_ladePfad, std::move(erste.quelle));
}

void Ladeablauf::fertig(int nummer)
{
    if (nummer != m_nummer || !m_auftrag)
        return;
    Ladeauftrag::Ergebnis ganz = m_auftrag->ganz();
    auftragAufgeben(); // a first view still on its way is not wanted any more
    if (!m_fuerGezeigtes) {
        if (ganz.quelle.isNull())
            ablehnen(m_ladePfad, ganz.geladen);
        else
            zeigen(m_ladePfad, std::move(ganz.quelle));
        return;
    }
    if (!ganz.quelle.isNull()) {
        m_gezeigt = ganz.quelle;
        m_stand = Stand::Ganz;
        Quellbild vorige = std::exchange(m_vorige, Quellbild());
        m_vorigerPfad.clear();
        m_melden({Meldung::Art::Ganz, m_pfad, std::move(ganz.quelle), {}});
        Ladeauftrag::nebenherFreigeben(std::move(vorige));
        schritteAnstossen();
        return;
    }
    // Damage that only the whole decode met: refused, and the picture before comes back.
    m_spaeter.clear();
    const int vorher = m_nummer;
    m_melden({Meldung::Art::Abgelehnt, m_pfad, {}, ganz.geladen});
    if (m_nummer != vorher)
        return; // another photo was asked for meanwhile
    Quellbild vorige = std::exchange(m_vorige, Quellbild());
    const QString vorigerPfad = std::exchange(m_vorigerPfad, QString());
    if (vorige.isNull() || vorige.vorlaeufig()) {
        m_gezeigt = Quellbild();
        m_pfad.clear();
        m_stand = Stand::Nichts;
        m_melden({Meldung::Art::Entfernt, {}, {}, {}});
        return;
    }
    zeigen(vorigerPfad, std::move(vorige));
}

void Ladeablauf::zeigen(const QString& pfad, Quellbild quelle)
{
    Quellbild alt;
    if (quelle.vorlaeufig()) {
        // The picture on show stays at hand until this one has loaded whole.
        alt = std::exchange(m_vorige, std::exchange(m_gezeigt, Quellbild()));
        m_vorigerPfad = m_pfad;
        m_stand = Stand::ErsteAnsicht;
    } else {
        alt = std::exchange(m_gezeigt, Quellbild());
        Ladeauftrag::nebenherFreigeben(std::exchange(m_vorige, Quellbild()));
        m_vorigerPfad.clear();
        m_stand = Stand::Ganz;
    }
    m_gezeigt = quelle;
    m_pfad = pfad;
    m_melden({Meldung::Art::Bild, pfad, std::move(quelle), {}});
    // The window has let go of the old picture by now.
    Ladeauftrag::nebenherFreigeben(std::move(alt));
}

void Ladeablauf::ablehnen(const QString& pfad, const Ladeergebnis& grund)
{
    const int vorher = m_nummer;
    m_melden({Meldung::Art::Abgelehnt, pfad, {}, grund});
    if (m_nummer == vorher)
        fortsetzen();
}

void Ladeablauf::fortsetzen()
{
    // The refused file called off the whole decode of the first view on show: it runs
    // again, from the file. Should that no longer load, the picture before comes back.
    if (m_stand == Stand::ErsteAnsicht && !m_auftrag)
        starten(m_pfad, Jpegdatei(), {}, std::numeric_limits<qint64>::max(), true);
}

void Ladeablauf::schritteAnstossen()
{
    if (!m_spaeter.empty())
        m_schrittTakt.start();
}

QByteArray Ladeablauf::dateiInhalt(const QString& pfad)
{
    // A source published unchanged is below 100 KB; this leaves room for any photo.
    constexpr qint64 hoechstens = 256 * 1024 * 1024;
    const QByteArray name = dateinameImSystem(pfad);
    struct stat info {};
    if (::stat(name.constData(), &info) != 0 || !S_ISREG(info.st_mode) || info.st_size > hoechstens)
        return {};
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    QFile datei;
    if (fd < 0 || !datei.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle)) {
        if (fd >= 0)
            ::close(fd);
        return {};
    }
    return datei.read(hoechstens);
}
