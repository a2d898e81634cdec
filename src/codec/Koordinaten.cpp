#include "codec/Koordinaten.h"

#include <QByteArray>
#include <QByteArrayAlgorithms>
#include <QString>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace koordinaten {

namespace {

constexpr uchar grad = 0xB0; // the degree sign, as Latin-1 writes it

// The text with each sign of a position in one byte: the degree sign and its look-alikes
// as 0xB0, primes and typographic quotes as ' and ", a no-break space as a space, the
// minus sign as '-'. Other UTF-8 sequences stay whole; a byte that starts none reads as Latin-1.
QByteArray saeubern(QByteArrayView roh)
{
    // Never longer than the text: written in place of a copy, without a byte-wise append.
    QByteArray klar(roh.size(), Qt::Uninitialized);
    char* z = klar.data();
    const auto* d = reinterpret_cast<const uchar*>(roh.data());
    const qsizetype n = roh.size();
    for (qsizetype i = 0; i < n; ++i) {
        const uchar b = d[i];
        if (b < 0x80) {
            *z++ = char(b);
            continue;
        }
        const int folge = b >= 0xC2 && b <= 0xDF ? 1 : b >= 0xE0 && b <= 0xEF ? 2 : b >= 0xF0 && b <= 0xF4 ? 3 : 0;
        bool utf8 = folge > 0 && i + folge < n;
        for (int k = 1; utf8 && k <= folge; ++k)
            utf8 = (d[i + k] & 0xC0) == 0x80;
        if (!utf8) {
            *z++ = char(b == 0xBA ? grad : b == 0xB4 ? '\'' : b == 0xA0 ? ' ' : b);
            continue;
        }
        const quint32 zeichen = folge == 1 ? quint32(b & 0x1F) << 6 | (d[i + 1] & 0x3F)
                              : folge == 2 ? quint32(b & 0x0F) << 12 | (d[i + 1] & 0x3F) << 6 | (d[i + 2] & 0x3F)
                                           : 0;
        switch (zeichen) {
        case 0xB0: case 0xBA: case 0x2DA: *z++ = char(grad); break;            // ° º ˚
        case 0xB4: case 0x2019: case 0x2032: *z++ = '\''; break;              // ´ ’ ′
        case 0x201D: case 0x2033: *z++ = '"'; break;                          // ” ″
        case 0xA0: case 0x202F: *z++ = ' '; break;
        case 0x2212: *z++ = '-'; break;
        default:
            std::memcpy(z, d + i, size_t(folge + 1));
            z += folge + 1;
        }
        i += folge;
    }
    klar.truncate(z - klar.constData());
    return klar;
}

struct Text {
    const uchar* d;
    qsizetype n;
    uchar operator[](qsizetype i) const { return i >= 0 && i < n ? d[i] : 0; }
};

bool ziffer(uchar c) { return c >= '0' && c <= '9'; }
bool asciiBuchstabe(uchar c) { return (c | 0x20) >= 'a' && (c | 0x20) <= 'z'; }
// Bytes of other letters count as letters too, the degree sign does not.
bool buchstabe(uchar c) { return asciiBuchstabe(c) || (c >= 0x80 && c != grad); }
// N, S, E, W, and O for Ost.
bool halbkugel(uchar c) { return c == 'N' || c == 'S' || c == 'E' || c == 'W' || c == 'O'; }

struct Zahl {
    double wert = 0;
    int stellen = 0; // decimals
    char zeichen = 0; // the decimal mark
    qsizetype ende = 0;
};

// A number of at most so many whole digits, with one decimal point or comma.
bool zahl(Text t, qsizetype i, int ganzMax, Zahl& z)
{
    qsizetype j = i;
    z = Zahl();
    while (ziffer(t[j])) {
        if (j - i == ganzMax)
            return false;
        z.wert = z.wert * 10 + (t[j++] - '0');
    }
    if (j == i)
        return false;
    if ((t[j] == '.' || t[j] == ',') && ziffer(t[j + 1])) {
        z.zeichen = char(t[j++]);
        for (double teil = 0.1; ziffer(t[j]); teil /= 10, ++j, ++z.stellen)
            z.wert += (t[j] - '0') * teil;
    }
    // A second point makes it a date or a version number.
    if (t[j] == '.' && ziffer(t[j + 1]))
        return false;
    z.ende = j;
    return true;
}

struct Koordinate {
    double wert = 0;
    char achse = 0;  // 'B' latitude, 'L' longitude, by its letter; 0 without one
    bool grad = false; // with a degree sign, or in degrees and minutes
    bool minuten = false;
    int stellen = 0;  // decimals of its last number
    char zeichen = 0; // the decimal mark of its last number
    qsizetype ende = 0;
};

qsizetype leerzeichen(Text t, qsizetype i, int hoechstens)
{
    for (int k = 0; k < hoechstens && t[i] == ' '; ++k)
        ++i;
    return i;
}

// A hemisphere letter standing alone, followed by no letter.
bool alleinstehendeHalbkugel(Text t, qsizetype i) { return halbkugel(t[i]) && !buchstabe(t[i + 1]) && !buchstabe(t[i - 1]); }

// One coordinate from i: [N|S|E|W|O] [sign] degrees [°|deg] [minutes ['] [seconds ["|'']]] [N|S|E|W|O].
bool lesen(Text t, qsizetype i, Koordinate& k)
{
    k = Koordinate();
    char vorn = 0;
    if (halbkugel(t[i])) {
        if (!alleinstehendeHalbkugel(t, i))
            return false;
        vorn = char(t[i]);
        i = leerzeichen(t, i + 1, 2);
    } else if ((t[i] == '-' || t[i] == '+') && ziffer(t[i + 1])) {
        ++i;
    }
    const bool negativ = t[i - 1] == '-';
    Zahl g;
    if (!zahl(t, i, 3, g))
        return false;
    k.wert = g.wert;
    k.stellen = g.stellen;
    k.zeichen = g.zeichen;
    qsizetype j = g.ende;
    qsizetype p = leerzeichen(t, j, 1);
    if (t[p] == grad) {
        k.grad = true;
        j = p + 1;
    } else if ((t[p] | 0x20) == 'd' && (t[p + 1] | 0x20) == 'e' && (t[p + 2] | 0x20) == 'g' && !buchstabe(t[p + 3])) {
        k.grad = true;
        j = p + 3;
    }
    Zahl m;
    p = leerzeichen(t, j, 1);
    if (k.grad && g.stellen == 0 && zahl(t, p, 2, m) && m.wert < 60) {
        const bool strich = t[m.ende] == '\'' && t[m.ende + 1] != '\'';
        // Minutes without their sign only as a navigator writes them: "N 48° 08.243".
        const bool halbkugelFolgt = alleinstehendeHalbkugel(t, leerzeichen(t, m.ende, 2));
        if (strich || (m.stellen > 0 && (vorn || halbkugelFolgt))) {
            k.wert += m.wert / 60;
            k.minuten = true;
            k.stellen = m.stellen;
            k.zeichen = m.zeichen;
            j = m.ende + (strich ? 1 : 0);
            Zahl s;
            p = leerzeichen(t, j, 1);
            if (strich && m.stellen == 0 && zahl(t, p, 2, s) && s.wert < 60) {
                const int zeichen = t[s.ende] == '"' ? 1 : t[s.ende] == '\'' && t[s.ende + 1] == '\'' ? 2 : 0;
                if (zeichen > 0) {
                    k.wert += s.wert / 3600;
                    k.stellen = s.stellen;
                    k.zeichen = s.zeichen;
                    j = s.ende + zeichen;
                }
            }
        }
    }
    char hinten = 0;
    p = leerzeichen(t, j, 2);
    if (!vorn && alleinstehendeHalbkugel(t, p)) {
        hinten = char(t[p]);
        j = p + 1;
    }
    // "48.1374m", "21.5°C": a measure, not a coordinate; another coordinate's letter may follow.
    if (!hinten && (ziffer(t[j]) || t[j] == '%' || t[j] == grad || (asciiBuchstabe(t[j]) && !alleinstehendeHalbkugel(t, j))))
        return false;
    const char h = vorn ? vorn : hinten;
    if (h)
        k.achse = h == 'N' || h == 'S' ? 'B' : 'L';
    if (negativ || h == 'S' || h == 'W')
        k.wert = -k.wert;
    k.ende = j;
    return k.wert >= -180 && k.wert <= 180;
}

bool trenner(uchar c)
{
    switch (c) {
    case ' ': case '\t': case '\r': case '\n': case ',': case ';': case '/': case '|': case ':': case '=':
    case '(': case ')': case '[': case ']': case '{': case '}': case '"': case '\'':
        return true;
    default:
        return false;
    }
}

// What may stand between the two numbers of a pair: spaces, punctuation, and one label.
qsizetype luecke(Text t, qsizetype i)
{
    static const char* const namen[] = {"lon", "lng", "long", "longitude", "laenge", "lange", "l\xC3\xA4nge", "l\xE4nge"};
    const qsizetype anfang = i;
    bool wort = false;
    while (i - anfang < 24) {
        const uchar c = t[i];
        if (trenner(c)) {
            ++i;
        } else if (buchstabe(c) && !wort && !alleinstehendeHalbkugel(t, i)) {
            qsizetype e = i;
            while (buchstabe(t[e]) && e - i < 12)
                ++e;
            const auto bekannt = [&](const char* n) {
                return qsizetype(qstrlen(n)) == e - i && qstrnicmp(reinterpret_cast<const char*>(t.d + i), n, uint(e - i)) == 0;
            };
            if (std::none_of(std::begin(namen), std::end(namen), bekannt))
                break;
            wort = true;
            i = e;
        } else {
            break;
        }
    }
    return i;
}

bool blosseZahl(const Koordinate& k) { return !k.achse && !k.grad && k.stellen > 0; }

// Whether the number before a pair ends in decimals: then the pair is part of a list.
bool dezimalzahlDavor(Text t, qsizetype anfang)
{
    qsizetype i = anfang;
    while (i > 0 && anfang - i < 24 && trenner(t[i - 1]))
        --i;
    qsizetype ende = i;
    while (i > 0 && ziffer(t[i - 1]))
        --i;
    return i < ende && (t[i - 1] == '.' || t[i - 1] == ',') && ziffer(t[i - 2]);
}

bool paar(Text t, qsizetype anfang, const Koordinate& a)
{
    if (!a.minuten && a.stellen == 0) // whole degrees alone are no position
        return false;
    qsizetype i = luecke(t, a.ende);
    if (i == a.ende && !halbkugel(t[i]) && !(a.achse && ziffer(t[i])))
        return false;
    Koordinate b;
    if (!lesen(t, i, b))
        return false;
    if (a.achse && a.achse == b.achse)
        return false;
    const bool halbkugeln = a.achse || b.achse, zeichen = a.grad || b.grad;
    const auto fein = [&](const Koordinate& k) {
        if (k.minuten)
            return true;
        if (halbkugeln)
            return k.stellen >= 1;
        if (zeichen)
            return k.stellen >= 2;
        // Thousands are grouped by three: "1,500" or "1.500" may be a count.
        return k.stellen >= (k.zeichen == ',' ? 4 : 3);
    };
    if (!fein(a) || !fein(b))
        return false;
    const double x = std::abs(a.wert), y = std::abs(b.wert);
    // Without letters either may be the latitude.
    if (halbkugeln)
        return a.achse == 'B' || b.achse == 'L' ? x <= 90 : y <= 90;
    if (x > 90 && y > 90)
        return false;
    if (zeichen)
        return true;
    if (x <= 1 && y <= 1)
        return false;
    // Three or more decimal numbers in a row are a list: a region, a colour, a curve.
    if (dezimalzahlDavor(t, anfang))
        return false;
    Koordinate c, d;
    const qsizetype ci = luecke(t, b.ende);
    if (ci > b.ende && lesen(t, ci, c) && blosseZahl(c)) {
        const qsizetype di = luecke(t, c.ende);
        if (di > c.ende && lesen(t, di, d) && blosseZahl(d))
            return false;
    }
    return true;
}

} // namespace

bool inText(QByteArrayView text)
{
    // Plain ASCII needs no cleaning.
    const bool ascii = std::all_of(text.begin(), text.end(), [](char c) { return uchar(c) < 0x80; });
    const QByteArray klar = ascii ? QByteArray() : saeubern(text);
    const Text t = ascii ? Text{reinterpret_cast<const uchar*>(text.data()), text.size()}
                         : Text{reinterpret_cast<const uchar*>(klar.constData()), klar.size()};
    for (qsizetype i = 0; i < t.n;) {
        const uchar c = t[i];
        // Where a coordinate may start: a hemisphere letter, a sign, or the first digit
        // of a number that is not a piece of a word or of another number.
        const bool anfang = halbkugel(c) ? !buchstabe(t[i - 1])
                          : c == '-' || c == '+' ? ziffer(t[i + 1]) && !ziffer(t[i - 1]) && !asciiBuchstabe(t[i - 1])
                          : ziffer(c) && !ziffer(t[i - 1]) && !asciiBuchstabe(t[i - 1]) && !(t[i - 1] == '.' && ziffer(t[i - 2]))
                                && !(t[i - 1] == '-' || t[i - 1] == '+');
        Koordinate a;
        if (!anfang || !lesen(t, i, a)) {
            ++i;
            continue;
        }
        if (paar(t, i, a))
            return true;
        i = std::max(a.ende, i + 1);
    }
    return false;
}

bool inText(QStringView text) { return inText(QByteArrayView(text.toUtf8())); }

} // namespace koordinaten
