#include "codec/Bildspeicher.h"

#include <cstdint>
#include <cstdlib>
#include <mutex>
#include <unordered_map>
#include <vector>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define BILDSPEICHER_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(thread_sanitizer)
#define BILDSPEICHER_SANITIZER 1
#endif
#endif

#if defined(Q_OS_UNIX) && !defined(BILDSPEICHER_SANITIZER)
#define BILDSPEICHER_MMAP 1
#include <sys/mman.h>
#endif

namespace bildspeicher {

namespace {

#ifdef BILDSPEICHER_MMAP

constexpr std::size_t grosseSeite = std::size_t(2) << 20;

std::size_t aufgerundet(std::size_t n) { return (n + grosseSeite - 1) & ~(grosseSeite - 1); }

// A mapping of laenge bytes (a multiple of 2 MB) that starts on a 2 MB boundary, so that
// every one of its pages can be a large one.
void* abbilden(std::size_t laenge)
{
    void* p = mmap(nullptr, laenge + grosseSeite, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (p == MAP_FAILED)
        return nullptr;
    const auto anfang = reinterpret_cast<std::uintptr_t>(p);
    const std::uintptr_t ausgerichtet = (anfang + grosseSeite - 1) & ~std::uintptr_t(grosseSeite - 1);
    if (ausgerichtet > anfang)
        munmap(p, ausgerichtet - anfang);
    const std::uintptr_t ende = anfang + laenge + grosseSeite;
    if (ende > ausgerichtet + laenge)
        munmap(reinterpret_cast<void*>(ausgerichtet + laenge), ende - (ausgerichtet + laenge));
#ifdef MADV_HUGEPAGE
    madvise(reinterpret_cast<void*>(ausgerichtet), laenge, MADV_HUGEPAGE); // a hint; without it 4 KB pages serve
#endif
    return reinterpret_cast<void*>(ausgerichtet);
}

struct Frei {
    void* adresse;
    std::size_t laenge;
};

struct Lager {
    std::mutex sperre;
    std::vector<Frei> frei; // oldest first
    std::unordered_map<void*, std::size_t> vergeben;
    Stand stand;
};

Lager& lager()
{
    static Lager* l = new Lager; // never destroyed: pictures may be released during exit
    return *l;
}

void* holen(std::size_t groesse)
{
    const std::size_t laenge = aufgerundet(groesse);
    Lager& l = lager();
    std::lock_guard<std::mutex> halten(l.sperre);
    // The smallest kept block that fits, unless it would waste more than it serves.
    auto bester = l.frei.end();
    for (auto it = l.frei.begin(); it != l.frei.end(); ++it)
        if (it->laenge >= laenge && it->laenge <= 2 * laenge && (bester == l.frei.end() || it->laenge < bester->laenge))
            bester = it;
    Frei block{nullptr, laenge};
    if (bester != l.frei.end()) {
        block = *bester;
        l.frei.erase(bester);
        l.stand.gehalten -= block.laenge;
        ++l.stand.wiederverwendet;
    } else {
        block.adresse = abbilden(laenge);
        if (!block.adresse)
            return nullptr;
        ++l.stand.neuAngelegt;
    }
    l.vergeben.emplace(block.adresse, block.laenge);
    return block.adresse;
}

void zurueckgeben(void* adresse, bool behalten = true)
{
    Lager& l = lager();
    std::lock_guard<std::mutex> halten(l.sperre);
    const auto it = l.vergeben.find(adresse);
    if (it == l.vergeben.end())
        return;
    const Frei block{adresse, it->second};
    l.vergeben.erase(it);
    if (!behalten || block.laenge > behaltenBis) {
        munmap(block.adresse, block.laenge);
        return;
    }
    l.frei.push_back(block);
    l.stand.gehalten += block.laenge;
    while (l.stand.gehalten > behaltenBis) {
        munmap(l.frei.front().adresse, l.frei.front().laenge);
        l.stand.gehalten -= l.frei.front().laenge;
        l.frei.erase(l.frei.begin());
    }
}

#else

// Under AddressSanitizer every block is its own heap block of the exact size, so that
// the sanitizer sees each access beyond it. Under ThreadSanitizer a reused block would
// still carry the reads of Qt's own worker threads, whose locks it cannot see.
void* holen(std::size_t groesse) { return std::malloc(groesse); }
void zurueckgeben(void* adresse, bool = true) { std::free(adresse); }

#endif

void bildAufgeben(void* adresse) { zurueckgeben(adresse); }
void bildGanzAufgeben(void* adresse) { zurueckgeben(adresse, false); }

} // namespace

QImage rgb32(int breite, int hoehe, bool behalten)
{
    if (breite <= 0 || hoehe <= 0)
        return {};
    const std::size_t zeile = std::size_t(breite) * 4;
    const std::size_t groesse = zeile * std::size_t(hoehe);
    if (groesse < kleinsterBlock)
        return QImage(breite, hoehe, QImage::Format_RGB32);
    void* adresse = holen(groesse);
    if (!adresse)
        return {};
    QImage bild(static_cast<uchar*>(adresse), breite, hoehe, qsizetype(zeile), QImage::Format_RGB32,
                behalten ? bildAufgeben : bildGanzAufgeben, adresse);
    if (bild.isNull())
        zurueckgeben(adresse, behalten);
    return bild;
}

Block::Block(std::size_t groesse)
    : m_adresse(groesse == 0 ? nullptr : groesse < kleinsterBlock ? std::malloc(groesse) : holen(groesse))
    , m_groesse(m_adresse ? groesse : 0)
{
}

Block::~Block()
{
    if (!m_adresse)
        return;
    if (m_groesse < kleinsterBlock)
        std::free(m_adresse);
    else
        zurueckgeben(m_adresse);
}

Block::Block(Block&& anderer) noexcept
    : m_adresse(anderer.m_adresse)
    , m_groesse(anderer.m_groesse)
{
    anderer.m_adresse = nullptr;
    anderer.m_groesse = 0;
}

Block& Block::operator=(Block&& anderer) noexcept
{
    if (this != &anderer) {
        Block alt(std::move(*this));
        m_adresse = anderer.m_adresse;
        m_groesse = anderer.m_groesse;
        anderer.m_adresse = nullptr;
        anderer.m_groesse = 0;
    }
    return *this;
}

Stand stand()
{
#ifdef BILDSPEICHER_MMAP
    Lager& l = lager();
    std::lock_guard<std::mutex> halten(l.sperre);
    return l.stand;
#else
    return {};
#endif
}

void freigeben()
{
#ifdef BILDSPEICHER_MMAP
    Lager& l = lager();
    std::lock_guard<std::mutex> halten(l.sperre);
    for (const Frei& f : l.frei)
        munmap(f.adresse, f.laenge);
    l.frei.clear();
    l.stand.gehalten = 0;
#endif
}

} // namespace bildspeicher
