#pragma once

#include <QImage>

#include <cstddef>

// Memory for the large picture buffers: the decoded photo, its reduced copies, the crop,
// and the file's bytes while it is decoded.
//
// On virtual machines the first touch of each fresh 4 KB page costs about 12 µs, so the
// 68 MB picture of an 18 MP photo costs some 200 ms before a single pixel is decoded.
// Blocks from here are placed so that the system can back them with 2 MB pages, and a
// block that is given back is kept for the next picture of about its size.
namespace bildspeicher {

// Blocks below this size come from the ordinary heap.
constexpr std::size_t kleinsterBlock = std::size_t(1) << 20;
// At most this much is kept for reuse; a larger block goes back to the system at once.
constexpr std::size_t behaltenBis = std::size_t(256) << 20;

// A Format_RGB32 picture whose pixels are not initialised; null when memory runs out.
// Not behalten: a picture that no later one replaces (a first view), whose memory goes
// straight back to the system.
QImage rgb32(int breite, int hoehe, bool behalten = true);

// Raw bytes, given back when the block is destroyed.
class Block {
public:
    Block() = default;
    explicit Block(std::size_t groesse); // null when memory runs out
    ~Block();
    Block(Block&& anderer) noexcept;
    Block& operator=(Block&& anderer) noexcept;
    Block(const Block&) = delete;
    Block& operator=(const Block&) = delete;

    unsigned char* daten() const { return static_cast<unsigned char*>(m_adresse); }
    std::size_t groesse() const { return m_groesse; }
    bool isNull() const { return m_adresse == nullptr; }

private:
    void* m_adresse = nullptr;
    std::size_t m_groesse = 0;
};

// What the store holds, for tests and benchmarks.
struct Stand {
    std::size_t gehalten = 0;  // bytes kept for reuse
    long long neuAngelegt = 0; // blocks taken from the system so far
    long long wiederverwendet = 0;
};
Stand stand();
// Gives every kept block back to the system.
void freigeben();

} // namespace bildspeicher
