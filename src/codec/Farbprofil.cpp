#include "codec/Farbprofil.h"

#include "codec/Koordinaten.h"

#include <QCryptographicHash>
#include <QString>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

namespace farbprofil {

namespace {

constexpr quint32 sig(const char (&s)[5]) { return quint32(uchar(s[0])) << 24 | uchar(s[1]) << 16 | uchar(s[2]) << 8 | uchar(s[3]); }

quint32 be32(QByteArrayView d, qsizetype i)
{
    if (i < 0 || i + 4 > d.size())
        return 0;
    const auto* p = reinterpret_cast<const uchar*>(d.data() + i);
    return quint32(p[0]) << 24 | p[1] << 16 | p[2] << 8 | p[3];
}

void be32Setzen(QByteArray& d, qsizetype i, quint32 wert)
{
    for (int k = 0; k < 4; ++k)
        d[i + k] = char(wert >> (24 - 8 * k));
}

struct Eintrag {
    quint32 signatur, anfang, laenge;
};

constexpr qsizetype kopfLaenge = 128;

std::optional<std::vector<Eintrag>> tagTabelle(QByteArrayView d)
{
    if (d.size() < kopfLaenge + 4 || be32(d, 36) != sig("acsp"))
        return std::nullopt;
    const quint32 groesse = be32(d, 0), anzahl = be32(d, kopfLaenge);
    if (groesse < kopfLaenge + 4 || groesse > d.size() || anzahl > (groesse - kopfLaenge - 4) / 12)
        return std::nullopt;
    const quint32 datenAnfang = kopfLaenge + 4 + 12 * anzahl;
    std::vector<Eintrag> tabelle;
    for (quint32 i = 0; i < anzahl; ++i) {
        const qsizetype stelle = kopfLaenge + 4 + 12 * qsizetype(i);
        const Eintrag e{be32(d, stelle), be32(d, stelle + 4), be32(d, stelle + 8)};
        if (e.anfang < datenAnfang || e.anfang > groesse || e.laenge < 12 || e.laenge > groesse - e.anfang || (e.anfang & 3))
            return std::nullopt;
        tabelle.push_back(e);
    }
    return tabelle;
}

bool textTyp(quint32 typ)
{
    return typ == sig("desc") || typ == sig("text") || typ == sig("mluc") || typ == sig("utf8") || typ == sig("ut16")
        || typ == sig("zut8");
}

// The tags a colour-managed reader needs for the colours, and the types that hold their numbers.
bool farbSignatur(quint32 signatur)
{
    static const quint32 signaturen[] = {
        sig("A2B0"), sig("A2B1"), sig("A2B2"), sig("A2B3"), sig("B2A0"), sig("B2A1"), sig("B2A2"), sig("B2A3"),
        sig("D2B0"), sig("D2B1"), sig("D2B2"), sig("D2B3"), sig("B2D0"), sig("B2D1"), sig("B2D2"), sig("B2D3"),
        sig("rXYZ"), sig("gXYZ"), sig("bXYZ"), sig("rTRC"), sig("gTRC"), sig("bTRC"), sig("kTRC"),
        sig("aarg"), sig("aagg"), sig("aabg"), sig("wtpt"), sig("bkpt"), sig("chad"), sig("chrm"), sig("lumi"),
        sig("gamt"), sig("pre0"), sig("pre1"), sig("pre2"), sig("meas"), sig("view"), sig("tech"), sig("rig0"),
        sig("rig2"), sig("ciis"), sig("cicp"), sig("arts"),
    };
    return std::find(std::begin(signaturen), std::end(signaturen), signatur) != std::end(signaturen);
}

bool farbTyp(quint32 typ)
{
    static const quint32 typen[] = {
        sig("XYZ "), sig("curv"), sig("para"), sig("mft1"), sig("mft2"), sig("mAB "), sig("mBA "), sig("sf32"),
        sig("chrm"), sig("sig "), sig("meas"), sig("view"), sig("cicp"), sig("mpet"),
    };
    return std::find(std::begin(typen), std::end(typen), typ) != std::end(typen);
}

QByteArray utf16be(QStringView text)
{
    QByteArray b;
    for (const QChar c : text)
        b += char(c.unicode() >> 8), b += char(c.unicode() & 0xFF);
    return b;
}

QString ausUtf16be(QByteArrayView b)
{
    QString text;
    for (qsizetype i = 0; i + 1 < b.size(); i += 2)
        text += QChar(char16_t(uchar(b[i]) << 8 | uchar(b[i + 1])));
    return text;
}

// The neutral text in the encoding of a text type; textType for any other type.
QByteArray neutral(quint32 typ)
{
    const QByteArray text(neutralerText);
    const QByteArray n4(4, 0);
    QByteArray t = n4;
    if (typ == sig("desc")) {
        // ASCII with its length and zero byte, no Unicode, no ScriptCode (67 zero bytes).
        be32Setzen(t, 0, sig("desc"));
        t += n4;
        t += n4;
        be32Setzen(t, 8, quint32(text.size() + 1));
        t += text + '\0' + n4 + n4 + QByteArray(3 + 67, 0);
    } else if (typ == sig("mluc")) {
        // One record, en-US, right after the record table.
        be32Setzen(t, 0, sig("mluc"));
        t += QByteArray(12, 0) + "enUS" + QByteArray(8, 0) + utf16be(QString::fromLatin1(text));
        be32Setzen(t, 8, 1);
        be32Setzen(t, 12, 12);
        be32Setzen(t, 20, quint32(2 * text.size()));
        be32Setzen(t, 24, 28);
    } else if (typ == sig("ut16")) {
        be32Setzen(t, 0, typ);
        t += n4 + utf16be(QString::fromLatin1(text));
    } else {
        be32Setzen(t, 0, typ == sig("utf8") || typ == sig("zut8") ? sig("utf8") : sig("text"));
        t += n4 + text + '\0';
    }
    return t;
}

} // namespace

bool positionInTexten(QByteArrayView profil)
{
    const auto tabelle = tagTabelle(profil);
    if (!tabelle)
        return koordinaten::inText(profil);
    for (const Eintrag& e : *tabelle) {
        const QByteArrayView tag = profil.sliced(e.anfang, e.laenge);
        const quint32 typ = be32(tag, 0);
        if (!textTyp(typ))
            continue;
        // The ASCII of desc, text and utf8, and desc's ScriptCode, read as they stand.
        if (typ != sig("mluc") && typ != sig("ut16") && koordinaten::inText(tag.sliced(8)))
            return true;
        if (typ == sig("ut16") && koordinaten::inText(ausUtf16be(tag.sliced(8))))
            return true;
        if (typ == sig("desc")) {
            const qsizetype unicode = 12 + qsizetype(be32(tag, 8)) + 4;
            const qsizetype zeichen = be32(tag, unicode);
            if (unicode + 4 <= tag.size() && zeichen <= (tag.size() - unicode - 4) / 2
                && koordinaten::inText(ausUtf16be(tag.sliced(unicode + 4, 2 * zeichen))))
                return true;
        }
        if (typ == sig("mluc")) {
            const quint32 saetze = be32(tag, 8), satzLaenge = be32(tag, 12);
            for (quint32 i = 0; satzLaenge >= 12 && i < saetze && 16 + qsizetype(i) * satzLaenge + 12 <= tag.size(); ++i) {
                const qsizetype satz = 16 + qsizetype(i) * satzLaenge;
                const qsizetype laenge = be32(tag, satz + 4), ab = be32(tag, satz + 8);
                if (ab <= tag.size() && laenge <= tag.size() - ab && koordinaten::inText(ausUtf16be(tag.sliced(ab, laenge))))
                    return true;
            }
        }
    }
    return false;
}

QByteArray ohneTexte(QByteArrayView profil)
{
    const auto tabelle = tagTabelle(profil);
    if (!tabelle)
        return {};
    // Data places counted from the end of the new tag table; tags that share their data keep sharing it.
    std::vector<Eintrag> neu;
    QByteArray daten;
    std::map<std::pair<quint32, quint32>, Eintrag> schon;
    for (const Eintrag& e : *tabelle) {
        const quint32 typ = be32(profil, e.anfang);
        const bool farbe = farbSignatur(e.signatur) && farbTyp(typ);
        // A colour tag of another type stays, saying nothing, so that a reader fails on it as before.
        if (!farbe && !textTyp(typ) && !farbSignatur(e.signatur))
            continue;
        auto [stelle, neuAngelegt] = schon.try_emplace({e.anfang, e.laenge}, Eintrag{});
        if (neuAngelegt) {
            const QByteArray tag = farbe ? profil.sliced(e.anfang, e.laenge).toByteArray() : neutral(typ);
            stelle->second = {e.signatur, quint32(daten.size()), quint32(tag.size())};
            daten += tag;
            daten += QByteArray((4 - daten.size() % 4) % 4, 0);
        }
        neu.push_back({e.signatur, stelle->second.anfang, stelle->second.laenge});
    }
    const quint32 datenAnfang = quint32(kopfLaenge + 4 + 12 * neu.size());
    QByteArray ergebnis = profil.first(kopfLaenge).toByteArray();
    std::fill(ergebnis.begin() + 100, ergebnis.end(), 0); // reserved
    ergebnis += QByteArray(4, 0);
    be32Setzen(ergebnis, kopfLaenge, quint32(neu.size()));
    for (const Eintrag& e : neu) {
        ergebnis += QByteArray(12, 0);
        be32Setzen(ergebnis, ergebnis.size() - 12, e.signatur);
        be32Setzen(ergebnis, ergebnis.size() - 8, datenAnfang + e.anfang);
        be32Setzen(ergebnis, ergebnis.size() - 4, e.laenge);
    }
    ergebnis += daten;
    be32Setzen(ergebnis, 0, quint32(ergebnis.size()));
    // The ID is the MD5 of the profile with flags, intent and ID itself zeroed.
    if (ergebnis.mid(84, 16).count('\0') != 16) {
        QByteArray ohneId = ergebnis;
        for (const auto& [ab, n] : {std::pair{44, 4}, std::pair{64, 4}, std::pair{84, 16}})
            std::fill_n(ohneId.begin() + ab, n, 0);
        ergebnis.replace(84, 16, QCryptographicHash::hash(ohneId, QCryptographicHash::Md5));
    }
    return ergebnis;
}

QByteArray alsSegmente(QByteArrayView profil)
{
    constexpr qsizetype teilLaenge = 0xFFFF - 2 - 14;
    const qsizetype teile = (profil.size() + teilLaenge - 1) / teilLaenge;
    if (teile > 255)
        return {};
    QByteArray segmente;
    for (qsizetype i = 0; i < teile; ++i) {
        const QByteArrayView teil = profil.sliced(i * teilLaenge, std::min(teilLaenge, profil.size() - i * teilLaenge));
        const qsizetype laenge = 2 + 14 + teil.size();
        segmente += QByteArray("\xFF\xE2", 2) + char(laenge >> 8) + char(laenge & 0xFF);
        segmente += QByteArray("ICC_PROFILE\0", 12) + char(i + 1) + char(teile);
        segmente += teil.toByteArray();
    }
    return segmente;
}

} // namespace farbprofil
