#pragma once

#include <QByteArrayView>

// The one walk over a JPEG file's marker segments, shared by the decoder's header
// reading, the metadata check and the copy without metadata, so that all three see
// the same blocks in the same places.
namespace segmente {

struct Segment {
    uchar marke = 0;          // the byte after 0xFF
    qsizetype anfang = 0;     // where the marker's 0xFF stands (fill bytes before it excluded)
    qsizetype ende = 0;       // the first byte after it; for SOS after its entropy-coded data
    QByteArrayView inhalt;    // what follows the length field, cut at the end of the data
    qsizetype datenAnfang = 0; // SOS: where the entropy-coded data starts
    bool ganz = true;         // the segment lies whole within the data
};

enum class Ende {
    Endmarke,      // the end marker was reached
    Abgeschnitten, // the data ends before it
    Fehlerhaft,    // something that is no marker (or no valid one) stands where a marker must be
    KeinJpeg,      // no start marker
};

// Whether a byte after 0xFF names a marker of the file's structure: 0x01 and 0xC0 to
// 0xFE. 0x00 is a stuffed byte of coded data, 0x02 to 0xBF are reserved.
bool istMarke(uchar marke);
// Whether the marker stands alone, without a length: SOI, EOI, RST0..7, TEM.
bool ohneLaenge(uchar marke);

// Walks the segments one by one, from the one after SOI up to EOI:
//     segmente::Leser leser(daten);
//     while (leser.weiter()) { const Segment& s = leser.segment(); ... }
//     if (leser.ende() == segmente::Ende::Endmarke) ...
// Strict by default: whatever is not a marker where one must stand ends the walk. With
// wiederaufsetzen it is skipped up to the next marker, as libjpeg and other readers do,
// so that a block hidden behind such bytes is seen too.
class Leser {
public:
    explicit Leser(QByteArrayView jpeg, bool wiederaufsetzen = false);
    bool weiter();
    const Segment& segment() const { return m_segment; }
    Ende ende() const { return m_ende; }
    // Where the walk stands: after EOI once it has been reached.
    qsizetype position() const { return m_pos; }

private:
    bool beenden(Ende ende);
    bool naechsteMarke();

    const uchar* m_d;
    qsizetype m_n;
    qsizetype m_pos = 2;
    bool m_wiederaufsetzen;
    bool m_fertig = false;
    Ende m_ende = Ende::Abgeschnitten;
    Segment m_segment;
};

// Where entropy-coded data that starts at pos ends: at the next marker that is neither
// a stuffed 0xFF00 nor a restart marker, or at n.
qsizetype scanEnde(const uchar* d, qsizetype n, qsizetype pos);

} // namespace segmente
