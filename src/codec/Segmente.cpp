#include "codec/Segmente.h"

#include <algorithm>
#include <cstring>

namespace segmente {

bool istMarke(uchar marke) { return marke == 0x01 || (marke >= 0xC0 && marke != 0xFF); }

bool ohneLaenge(uchar marke) { return marke == 0x01 || (marke >= 0xD0 && marke <= 0xD9); }

Leser::Leser(QByteArrayView jpeg, bool wiederaufsetzen)
    : m_d(reinterpret_cast<const uchar*>(jpeg.data()))
    , m_n(jpeg.size())
    , m_wiederaufsetzen(wiederaufsetzen)
{
    if (m_n < 4 || m_d[0] != 0xFF || m_d[1] != 0xD8)
        beenden(Ende::KeinJpeg);
}

bool Leser::beenden(Ende ende)
{
    m_fertig = true;
    m_ende = ende;
    return false;
}

// Puts m_pos on the 0xFF of the next marker; false when the walk ends here.
bool Leser::naechsteMarke()
{
    for (;;) {
        if (m_pos + 1 >= m_n)
            return beenden(Ende::Abgeschnitten);
        if (m_d[m_pos] == 0xFF) {
            while (m_pos + 1 < m_n && m_d[m_pos + 1] == 0xFF)
                ++m_pos; // fill bytes
            if (m_pos + 1 >= m_n)
                return beenden(Ende::Abgeschnitten);
            if (istMarke(m_d[m_pos + 1]))
                return true;
        }
        if (!m_wiederaufsetzen)
            return beenden(Ende::Fehlerhaft);
        const void* ff = std::memchr(m_d + m_pos + 1, 0xFF, size_t(m_n - m_pos - 1));
        m_pos = ff ? static_cast<const uchar*>(ff) - m_d : m_n;
    }
}

bool Leser::weiter()
{
    while (!m_fertig && naechsteMarke()) {
        const qsizetype anfang = m_pos;
        const uchar marke = m_d[anfang + 1];
        if (marke == 0xD9) {
            m_pos += 2;
            return beenden(Ende::Endmarke);
        }
        Segment s;
        s.marke = marke;
        s.anfang = anfang;
        if (ohneLaenge(marke)) {
            if (marke == 0xD8 && !m_wiederaufsetzen)
                return beenden(Ende::Fehlerhaft); // a second start
            s.ende = m_pos = anfang + 2;
            m_segment = s;
            return true;
        }
        if (anfang + 4 > m_n)
            return beenden(Ende::Abgeschnitten);
        const qsizetype laenge = (m_d[anfang + 2] << 8) | m_d[anfang + 3];
        if (laenge < 2) {
            if (!m_wiederaufsetzen)
                return beenden(Ende::Fehlerhaft);
            m_pos = anfang + 2;
            continue;
        }
        s.ende = anfang + 2 + laenge;
        s.ganz = s.ende <= m_n;
        s.inhalt = QByteArrayView(m_d + anfang + 4, std::min(laenge - 2, m_n - anfang - 4));
        if (marke == 0xDA) {
            s.datenAnfang = std::min(s.ende, m_n);
            s.ende = std::max(s.ende, scanEnde(m_d, m_n, s.datenAnfang));
        }
        m_pos = s.ende;
        m_segment = s;
        return true;
    }
    return false;
}

qsizetype scanEnde(const uchar* d, qsizetype n, qsizetype pos)
{
    // memchr keeps this quick on large files.
    while (pos + 1 < n) {
        const void* ff = std::memchr(d + pos, 0xFF, size_t(n - pos - 1));
        if (!ff)
            return n;
        pos = static_cast<const uchar*>(ff) - d;
        const uchar folge = d[pos + 1];
        if (folge != 0x00 && folge != 0xFF && !(folge >= 0xD0 && folge <= 0xD7))
            return pos;
        pos += folge == 0xFF ? 1 : 2;
    }
    return pos;
}

} // namespace segmente
