#include "codec/Bildladen.h"

#include "codec/Bildspeicher.h"
#include "codec/Metadaten.h"
#include "codec/Segmente.h"

#include <QColorSpace>
#include <QColorTransform>
#include <QFile>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <map>
#include <vector>

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

// jpeglib.h first: it sets what jerror.h lists.
#include <jpeglib.h>
#include <jerror.h>

namespace {

quint16 be16(const uchar* p) { return quint16((p[0] << 8) | p[1]); }

Ladeergebnis fehler(Ladefehler f, qint64 wert = 0, qint64 grenze = 0)
{
    Ladeergebnis e;
    e.fehler = f;
    e.wert = wert;
    e.grenze = grenze;
    return e;
}

// The kind of JPEG the frame marker names, when it is one libjpeg cannot decode.
Ladeergebnis nichtUnterstuetzt(JpegArt art, qint64 wert = 0)
{
    Ladeergebnis e = fehler(Ladefehler::NichtUnterstuetzt, wert);
    e.art = art;
    return e;
}

bool unterstuetzt(const JpegKopf& kopf, Ladeergebnis& ergebnis)
{
    const int art = kopf.rahmenArt;
    if (art == 0xC3 || art == 0xC7 || art == 0xCB || art == 0xCF)
        ergebnis = nichtUnterstuetzt(JpegArt::Verlustfrei);
    else if (art == 0xC5 || art == 0xC6 || art == 0xCD || art == 0xCE)
        ergebnis = nichtUnterstuetzt(JpegArt::Hierarchisch);
    else if (kopf.bits != 8)
        ergebnis = nichtUnterstuetzt(JpegArt::Bittiefe, kopf.bits);
    else if (kopf.hoehe == 0)
        ergebnis = nichtUnterstuetzt(JpegArt::HoeheAmEnde);
    else
        return true;
    return false;
}

bool huffmanKodiert(int rahmenArt) { return rahmenArt >= 0xC0 && rahmenArt <= 0xC7; }
bool arithmetischKodiert(int rahmenArt) { return rahmenArt >= 0xC9 && rahmenArt <= 0xCF; }

// ---- decoding with libjpeg ----

// libjpeg reports errors by calling error_exit, which must not return: it jumps back into
// the wrapper that made the call. Everything libjpeg touches lives in this plain struct,
// and the wrappers hold no object with a destructor.
struct Dekoder {
    struct Fehler {
        jpeg_error_mgr pub;
        std::jmp_buf sprung;
        int code;         // libjpeg's message code of the failure
        bool beschaedigt; // the data is damaged or incomplete
        bool abgebrochen; // the decode was called off
    };
    // libjpeg calls this between rows, also while a progressive file's scans are taken in
    // before the first row comes out: a decode called off ends there.
    struct Fortschritt {
        jpeg_progress_mgr pub;
        const std::atomic<bool>* abbrechen;
    };
    jpeg_decompress_struct info;
    Fehler fehler;
    Fortschritt fortschritt;
    bool angelegt;
};

void fehlerAusgang(j_common_ptr info)
{
    auto* f = reinterpret_cast<Dekoder::Fehler*>(info->err);
    f->code = f->pub.msg_code;
    std::longjmp(f->sprung, 1);
}

// A warning that says pixels are missing or wrong ends the decode, as a failure would.
// Bytes left over before the end marker or between scans lose nothing.
void warnung(j_common_ptr info, int stufe)
{
    if (stufe >= 0)
        return; // trace messages
    auto* f = reinterpret_cast<Dekoder::Fehler*>(info->err);
    const int code = f->pub.msg_code;
    const bool schaden = code == JWRN_HIT_MARKER || code == JWRN_JPEG_EOF || code == JWRN_MUST_RESYNC
                      || code == JWRN_HUFF_BAD_CODE || code == JWRN_ARITH_BAD_CODE || code == JWRN_BOGUS_PROGRESSION
                      || (code == JWRN_EXTRANEOUS_DATA && f->pub.msg_parm.i[1] >= 0xD0 && f->pub.msg_parm.i[1] <= 0xD7);
    if (!schaden)
        return;
    f->code = code;
    f->beschaedigt = true;
    std::longjmp(f->sprung, 1);
}

void nichtsAusgeben(j_common_ptr) {}

void fortschrittPruefen(j_common_ptr info)
{
    const auto* fortschritt = reinterpret_cast<const Dekoder::Fortschritt*>(info->progress);
    if (!fortschritt->abbrechen->load(std::memory_order_relaxed))
        return;
    auto* f = reinterpret_cast<Dekoder::Fehler*>(info->err);
    f->abgebrochen = true;
    std::longjmp(f->sprung, 1);
}

// The file as libjpeg reads it. With arithmetic coding a run of zero bytes goes before
// the marker that ends each scan's coded data: past the end of its data the decoder
// reads zeros by itself, without a word, and a file cut short shows a flat colour where
// the rest is missing. A scan that ends as it was written needs at most a few of them
// (the coder may leave out its last zero bytes and reads two bytes ahead); a decoder
// that still wants more inside a scan is reading data that is not there.
constexpr int polsterBytes = 64;
const JOCTET nullen[polsterBytes] = {};
const JOCTET endmarke[2] = {0xFF, 0xD9};

struct Quelle {
    jpeg_source_mgr pub;
    const uchar* daten;
    qsizetype laenge;
    const qsizetype* polster; // where the zero runs go, in order
    qsizetype polsterAnzahl;
    qsizetype naechstesPolster;
    qsizetype pos; // where the next part of the file starts
    bool imPolster;
};

void quelleAnfangen(j_decompress_ptr) {}
void quelleBeenden(j_decompress_ptr) {}

boolean quelleFuellen(j_decompress_ptr info)
{
    auto* q = reinterpret_cast<Quelle*>(info->src);
    auto setzen = [&](const JOCTET* anfang, qsizetype anzahl) {
        q->pub.next_input_byte = anfang;
        q->pub.bytes_in_buffer = size_t(anzahl);
        return TRUE;
    };
    if (q->imPolster && info->input_iMCU_row < info->total_iMCU_rows)
        WARNMS(info, JWRN_JPEG_EOF); // the coded data ran out inside a scan
    if (!q->imPolster && q->naechstesPolster < q->polsterAnzahl && q->pos == q->polster[q->naechstesPolster]) {
        ++q->naechstesPolster;
        q->imPolster = true;
        return setzen(nullen, polsterBytes);
    }
    q->imPolster = false;
    if (q->pos >= q->laenge) {
        WARNMS(info, JWRN_JPEG_EOF);
        return setzen(endmarke, 2);
    }
    const qsizetype grenze = q->naechstesPolster < q->polsterAnzahl ? q->polster[q->naechstesPolster] : q->laenge;
    const qsizetype anfang = q->pos;
    q->pos = grenze;
    return setzen(q->daten + anfang, grenze - anfang);
}

void quelleUeberspringen(j_decompress_ptr info, long anzahl)
{
    jpeg_source_mgr* src = info->src;
    while (anzahl > long(src->bytes_in_buffer)) {
        anzahl -= long(src->bytes_in_buffer);
        quelleFuellen(info);
    }
    if (anzahl > 0) {
        src->next_input_byte += anzahl;
        src->bytes_in_buffer -= size_t(anzahl);
    }
}

int kopfLesen(Dekoder* d, Quelle* quelle)
{
    d->info.err = jpeg_std_error(&d->fehler.pub);
    d->fehler.pub.error_exit = fehlerAusgang;
    d->fehler.pub.emit_message = warnung;
    d->fehler.pub.output_message = nichtsAusgeben;
    if (setjmp(d->fehler.sprung))
        return 1;
    jpeg_create_decompress(&d->info);
    d->angelegt = true;
    quelle->pub.init_source = quelleAnfangen;
    quelle->pub.fill_input_buffer = quelleFuellen;
    quelle->pub.skip_input_data = quelleUeberspringen;
    quelle->pub.resync_to_restart = jpeg_resync_to_restart;
    quelle->pub.term_source = quelleBeenden;
    d->info.src = &quelle->pub;
    if (d->fortschritt.abbrechen) {
        d->fortschritt.pub.progress_monitor = fortschrittPruefen;
        d->info.progress = &d->fortschritt.pub;
    }
    jpeg_read_header(&d->info, TRUE);
    return 0;
}

int starten(Dekoder* d, J_COLOR_SPACE ausgabe)
{
    if (setjmp(d->fehler.sprung))
        return 1;
    d->info.out_color_space = ausgabe;
    d->info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&d->info);
    return 0;
}

int zeilenLesen(Dekoder* d, JSAMPARRAY zeilen, int anzahl, int* gelesen)
{
    if (setjmp(d->fehler.sprung))
        return 1;
    *gelesen = int(jpeg_read_scanlines(&d->info, zeilen, JDIMENSION(anzahl)));
    return 0;
}

int abschliessen(Dekoder* d)
{
    if (setjmp(d->fehler.sprung))
        return 1;
    jpeg_finish_decompress(&d->info);
    return 0;
}

// A progressive file cut between two scans ends without complaint, with some detail never
// sent or never refined; an encoder sends every coefficient of every component down to
// its last bit (libjpeg notes for each the lowest bit sent so far, -1 for none).
bool koeffizientenFehlen(const jpeg_decompress_struct& info)
{
    if (!info.progressive_mode || !info.coef_bits)
        return false;
    for (int c = 0; c < info.num_components; ++c)
        for (int k = 0; k < DCTSIZE2; ++k)
            if (info.coef_bits[c][k] != 0)
                return true;
    return false;
}

struct DekoderHalter {
    Dekoder d{};
    ~DekoderHalter()
    {
        if (d.angelegt)
            jpeg_destroy_decompress(&d.info);
    }
};

// Where a stored pixel (x, y) lands in the upright picture: basis + x * sx + y * sy, in
// pixels of the upright picture with z pixels per row.
struct Abbildung {
    qsizetype basis, sx, sy;
    bool quer; // the sides swap (orientations 5 to 8)
};

Abbildung abbildung(int orientierung, qsizetype w, qsizetype h, qsizetype z)
{
    switch (orientierung) {
    case 2: return {w - 1, -1, z, false};
    case 3: return {(h - 1) * z + w - 1, -1, -z, false};
    case 4: return {(h - 1) * z, 1, -z, false};
    case 5: return {0, z, 1, true};
    case 6: return {h - 1, z, -1, true};
    case 7: return {(w - 1) * z + h - 1, -z, -1, true};
    case 8: return {(w - 1) * z, -z, 1, true};
    default: return {0, 1, z, false};
    }
}

// Rows as decoded (RGB32 pixels, or CMYK as Adobe writes it: inverted), put into the
// upright picture. For a quarter turn the rows of a strip are taken column by column,
// so that the writes stay close together.
void streifenEinsetzen(const uchar* streifen, qsizetype abstand, int y0, int zeilen, int breite, bool cmyk,
                       const Abbildung& a, quint32* ziel)
{
    const auto pixel = [&](int x, int r) -> quint32 {
        const uchar* p = streifen + r * abstand + 4 * qsizetype(x);
        if (!cmyk) {
            quint32 wert;
            std::memcpy(&wert, p, 4);
            return wert;
        }
        const int k = p[3];
        return qRgb(k * p[0] / 255, k * p[1] / 255, k * p[2] / 255);
    };
    if (a.quer) {
        for (int x = 0; x < breite; ++x) {
            quint32* spalte = ziel + a.basis + x * a.sx + y0 * a.sy;
            for (int r = 0; r < zeilen; ++r)
                spalte[r * a.sy] = pixel(x, r);
        }
    } else {
        for (int r = 0; r < zeilen; ++r) {
            quint32* zeile = ziel + a.basis + (y0 + r) * a.sy;
            for (int x = 0; x < breite; ++x)
                zeile[x * a.sx] = pixel(x, r);
        }
    }
}

// Decodes into the upright picture. Orientations 1 to 4 decode straight into the picture's
// rows (mirrored in place where needed), the others through a small strip: the picture is
// never held twice, which at 150 megapixels would take another 600 MB.
Ladeergebnis dekodieren(const uchar* daten, qsizetype laenge, const JpegKopf& kopf, int nenner,
                        const std::atomic<bool>* abbrechen)
{
    const auto abgebrochen = [abbrechen] { return abbrechen && abbrechen->load(std::memory_order_relaxed); };
    const int orientierung = kopf.orientierung;
    Ladeergebnis ergebnis;
    DekoderHalter halter;
    Dekoder* d = &halter.d;
    d->fortschritt.abbrechen = abbrechen;
    const auto gescheitert = [&] {
        const int code = d->fehler.code;
        if (d->fehler.abgebrochen)
            ergebnis = fehler(Ladefehler::Abgebrochen);
        else if (d->fehler.beschaedigt)
            ergebnis = fehler(Ladefehler::Unvollstaendig);
        else if (code == JERR_OUT_OF_MEMORY)
            ergebnis = fehler(Ladefehler::SpeicherFuerBild);
        else if (code == JERR_BAD_PRECISION || code == JERR_SOF_UNSUPPORTED || code == JERR_CONVERSION_NOTIMPL
                 || code == JERR_ARITH_NOTIMPL || code == JERR_EMPTY_IMAGE || code == JERR_NOTIMPL
                 || code == JERR_COMPONENT_COUNT || code == JERR_IMAGE_TOO_BIG || code == JERR_WIDTH_OVERFLOW)
            ergebnis = nichtUnterstuetzt(JpegArt::Unbenannt);
        else
            ergebnis = fehler(Ladefehler::Unvollstaendig);
        return ergebnis;
    };

    Quelle quelle{};
    quelle.daten = daten;
    quelle.laenge = laenge;
    if (arithmetischKodiert(kopf.rahmenArt)) {
        quelle.polster = kopf.scanEnden.data();
        quelle.polsterAnzahl = kopf.scanEnden.size();
    }
    if (kopfLesen(d, &quelle) != 0)
        return gescheitert();
    const J_COLOR_SPACE farbraum = d->info.jpeg_color_space;
    const bool cmyk = farbraum == JCS_CMYK || farbraum == JCS_YCCK;
#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
    const J_COLOR_SPACE rgb32 = JCS_EXT_BGRX; // the 32-bit value 0xffRRGGBB is B, G, R, ff in memory
#else
    const J_COLOR_SPACE rgb32 = JCS_EXT_XRGB;
#endif
    // Reduced straight from the DCT coefficients: far less to compute and to hold.
    d->info.scale_num = 1;
    d->info.scale_denom = unsigned(std::clamp(nenner, 1, 8));
    if (starten(d, cmyk ? JCS_CMYK : rgb32) != 0)
        return gescheitert();
    if (koeffizientenFehlen(d->info)) {
        d->fehler.beschaedigt = true;
        return gescheitert();
    }

    const int w = int(d->info.output_width), h = int(d->info.output_height);
    const Abbildung probe = abbildung(orientierung, w, h, 0);
    // A reduced decode is a first view, gone when the full picture comes.
    ergebnis.bild = probe.quer ? bildspeicher::rgb32(h, w, nenner == 1) : bildspeicher::rgb32(w, h, nenner == 1);
    if (ergebnis.bild.isNull())
        return fehler(Ladefehler::SpeicherFuerBild);
    auto* ziel = reinterpret_cast<quint32*>(ergebnis.bild.bits());
    const qsizetype z = ergebnis.bild.bytesPerLine() / 4;
    const Abbildung a = abbildung(orientierung, w, h, z);

    if (!cmyk && !a.quer) {
        // Straight into the rows; upside down where the picture is stored so.
        std::vector<JSAMPROW> zeilen(static_cast<size_t>(h));
        for (int y = 0; y < h; ++y)
            zeilen[size_t(y)] = reinterpret_cast<JSAMPROW>(ziel + a.basis - (a.sx < 0 ? w - 1 : 0) + y * a.sy);
        while (d->info.output_scanline < d->info.output_height) {
            if (abgebrochen())
                return fehler(Ladefehler::Abgebrochen);
            const int y0 = int(d->info.output_scanline);
            int gelesen = 0;
            if (zeilenLesen(d, zeilen.data() + y0, h - y0, &gelesen) != 0)
                return gescheitert();
            if (a.sx < 0)
                for (int y = y0; y < y0 + gelesen; ++y) {
                    auto* zeile = reinterpret_cast<quint32*>(zeilen[size_t(y)]);
                    std::reverse(zeile, zeile + w);
                }
        }
    } else {
        // Each strip of a quarter turn writes columns through the whole picture, so its
        // first one would take in every page of it at once: at 150 MP the system needs a
        // while for that. Taken in here first, a piece at a time, a decode called off still
        // ends within moments.
        if (a.quer) {
            volatile uchar* seite = ergebnis.bild.bits();
            const qsizetype bytes = ergebnis.bild.sizeInBytes();
            constexpr qsizetype seitengroesse = 4096, stueck = qsizetype(8) << 20;
            for (qsizetype i = 0; i < bytes; i += seitengroesse) {
                if (i % stueck == 0 && abgebrochen())
                    return fehler(Ladefehler::Abgebrochen);
                seite[i] = 0;
            }
        }
        constexpr int streifenHoehe = 16;
        const qsizetype abstand = 4 * qsizetype(w);
        std::vector<uchar> streifen(size_t(abstand) * streifenHoehe);
        JSAMPROW zeilen[streifenHoehe];
        for (int r = 0; r < streifenHoehe; ++r)
            zeilen[r] = streifen.data() + r * abstand;
        while (d->info.output_scanline < d->info.output_height) {
            if (abgebrochen())
                return fehler(Ladefehler::Abgebrochen);
            const int y0 = int(d->info.output_scanline);
            int voll = 0;
            while (voll < streifenHoehe && d->info.output_scanline < d->info.output_height) {
                int gelesen = 0;
                if (zeilenLesen(d, zeilen + voll, streifenHoehe - voll, &gelesen) != 0)
                    return gescheitert();
                voll += gelesen;
            }
            streifenEinsetzen(streifen.data(), abstand, y0, voll, w, cmyk, a, ziel);
        }
    }
    if (abschliessen(d) != 0)
        return gescheitert();
    return ergebnis;
}

// ---- reading the file ----

// The bound of jpegHoechstgroesse, walked as the file's bytes come in.
class Groessengrenze {
public:
    // d holds the first n bytes of the file; true once the bound is known (grenze).
    bool weiter(const uchar* d, qsizetype n)
    {
        while (m_pos < n) {
            if (m_pos > nachDemBild)
                return festlegen(0);
            // Bytes that are no marker are passed over, as libjpeg does.
            if (d[m_pos] != 0xFF) {
                ++m_pos;
                continue;
            }
            if (m_pos + 2 > n)
                return false;
            const uchar marke = d[m_pos + 1];
            if (marke == 0xFF) {
                ++m_pos;
                continue;
            }
            if (marke == 0xDA || marke == 0xD9)
                return festlegen(0); // a scan or the end before any frame header
            if (!segmente::istMarke(marke) || segmente::ohneLaenge(marke)) {
                m_pos += 2;
                continue;
            }
            if (m_pos + 4 > n)
                return false;
            const qsizetype laenge = be16(d + m_pos + 2);
            const bool rahmen = marke >= 0xC0 && marke <= 0xCF && marke != 0xC4 && marke != 0xC8 && marke != 0xCC;
            if (!rahmen) {
                m_pos += 2 + laenge;
                continue;
            }
            if (m_pos + 2 + laenge > n)
                return false;
            return festlegen(abtastwerte(d + m_pos + 4, laenge - 2));
        }
        return false;
    }
    qint64 grenze() const { return m_grenze; }

private:
    bool festlegen(qint64 abtastwerte)
    {
        m_grenze = qint64(m_pos) + abtastwerte * bytesJeAbtastwert + nachDemBild;
        return true;
    }

    // The samples of a frame header's components, counted in whole MCUs; 0 when it is unusable.
    static qint64 abtastwerte(const uchar* inhalt, qsizetype laenge)
    {
        if (laenge < 6)
            return 0;
        const qint64 hoehe = be16(inhalt + 1), breite = be16(inhalt + 3);
        const int komponenten = inhalt[5];
        if (laenge < 6 + 3 * komponenten)
            return 0;
        int hmax = 0, vmax = 0;
        for (int c = 0; c < komponenten; ++c) {
            hmax = std::max(hmax, inhalt[6 + 3 * c + 1] >> 4);
            vmax = std::max(vmax, inhalt[6 + 3 * c + 1] & 15);
        }
        if (hmax == 0 || vmax == 0)
            return 0;
        const qint64 mcuSpalten = (breite + 8 * hmax - 1) / (8 * hmax), mcuZeilen = (hoehe + 8 * vmax - 1) / (8 * vmax);
        qint64 summe = 0;
        for (int c = 0; c < komponenten; ++c)
            summe += mcuSpalten * (inhalt[6 + 3 * c + 1] >> 4) * mcuZeilen * (inhalt[6 + 3 * c + 1] & 15) * 64;
        return summe;
    }

    qsizetype m_pos = 2;
    qint64 m_grenze = 0;
};


Ladefehler oeffnenFehler(int fehlernummer)
{
    switch (fehlernummer) {
    case ENOENT:
    case ENOTDIR:
        return Ladefehler::NichtVorhanden;
    case EACCES:
    case EPERM:
        return Ladefehler::KeineLeseberechtigung;
    default:
        return Ladefehler::NichtZuOeffnen;
    }
}

Ladefehler artFehler(mode_t art) { return S_ISDIR(art) ? Ladefehler::Ordner : Ladefehler::KeineGewoehnlicheDatei; }

// The file's bytes, read without ever waiting for a writer and never beyond the size it
// had when it was checked. Anything but a regular file is refused before it is opened.
// Read piece by piece: a decode called off stops here too, and a file far larger than
// the picture its header describes is refused before it is read on.
bildspeicher::Block dateiLesen(const QString& pfad, qsizetype& gelesen, Ladeergebnis& grund,
                               const std::atomic<bool>* abbrechen)
{
    gelesen = 0;
    const QByteArray name = dateinameImSystem(pfad);
    struct stat vorher {};
    if (name.isEmpty() || ::stat(name.constData(), &vorher) != 0) {
        grund = fehler(oeffnenFehler(name.isEmpty() ? ENOENT : errno));
        return {};
    }
    if (!S_ISREG(vorher.st_mode)) {
        grund = fehler(artFehler(vorher.st_mode));
        return {};
    }
    if (vorher.st_size > hoechsteDateigroesse) {
        grund = fehler(Ladefehler::DateiZuGross, qint64(vorher.st_size), hoechsteDateigroesse);
        return {};
    }
    // Non-blocking: should a pipe have taken the file's place since the check, the
    // open does not wait for a writer, and the second check refuses it.
    const int fd = ::open(name.constData(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        grund = fehler(oeffnenFehler(errno));
        return {};
    }
    struct stat offen {};
    if (::fstat(fd, &offen) != 0 || !S_ISREG(offen.st_mode)) {
        grund = fehler(artFehler(offen.st_mode));
        ::close(fd);
        return {};
    }
    // Shorter now than when checked: what is there is judged as it is.
    const auto lesen = [fd](uchar* ziel, qsizetype anzahl) { return ganzLesen(fd, ziel, anzahl); };
    // The first bytes tell a JPEG; anything else is not read on, however large.
    uchar anfang[2] = {};
    const qsizetype amAnfang = lesen(anfang, 2);
    if (amAnfang < 2 || anfang[0] != 0xFF || anfang[1] != 0xD8) {
        grund = fehler(amAnfang == 0 ? Ladefehler::Leer : Ladefehler::KeinJpeg);
        ::close(fd);
        return {};
    }
    const qsizetype groesse = std::max<qsizetype>(qsizetype(vorher.st_size), 2);
    bildspeicher::Block puffer{size_t(groesse)};
    if (puffer.isNull()) {
        grund = fehler(Ladefehler::SpeicherFuerDatei);
        ::close(fd);
        return {};
    }
    std::memcpy(puffer.daten(), anfang, 2);
    gelesen = 2;
    // A megabyte takes well under a millisecond from the page cache.
    constexpr qsizetype stueck = qsizetype(1) << 20;
    Groessengrenze grenze;
    bool beurteilt = false;
    while (gelesen < groesse) {
        if (abbrechen && abbrechen->load(std::memory_order_relaxed)) {
            grund = fehler(Ladefehler::Abgebrochen);
            break;
        }
        const qsizetype gewollt = std::min(stueck, groesse - gelesen);
        const qsizetype n = lesen(puffer.daten() + gelesen, gewollt);
        gelesen += n;
        if (!beurteilt && grenze.weiter(puffer.daten(), gelesen)) {
            beurteilt = true;
            if (groesse > grenze.grenze()) {
                grund = fehler(Ladefehler::GroesserAlsNoetig, groesse, grenze.grenze());
                break;
            }
        }
        if (n < gewollt)
            break;
    }
    ::close(fd);
    if (grund.fehler != Ladefehler::Keiner) {
        gelesen = 0;
        return {};
    }
    return puffer;
}

} // namespace

qsizetype ganzLesen(int fd, void* ziel, qsizetype anzahl)
{
    auto* bytes = static_cast<char*>(ziel);
    qsizetype zusammen = 0;
    while (zusammen < anzahl) {
        const ssize_t n = ::read(fd, bytes + zusammen, size_t(anzahl - zusammen));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        zusammen += n;
    }
    return zusammen;
}

QByteArray dateinameImSystem(const QString& pfad)
{
    const QByteArray name = QFile::encodeName(pfad);
    struct stat st {};
    if (!pfad.contains(QChar::ReplacementCharacter) || ::lstat(name.constData(), &st) == 0)
        return name;
    // A name that is no UTF-8 reaches the program with replacement characters: the
    // entry of its folder that reads the same is meant. Part by part, since a folder's
    // name may be such a name too; where none or more than one entry fits, the name
    // stays as it came.
    QByteArray ergebnis = pfad.startsWith(u'/') ? QByteArray("/") : QByteArray();
    const QStringList teile = pfad.split(u'/', Qt::SkipEmptyParts);
    for (const QString& teil : teile) {
        const QByteArray ordner = ergebnis.isEmpty() ? QByteArray(".") : ergebnis;
        const QByteArray trenner = ergebnis.isEmpty() || ergebnis.endsWith('/') ? QByteArray() : QByteArray("/");
        QByteArray gefunden = QFile::encodeName(teil);
        if (teil.contains(QChar::ReplacementCharacter) && ::lstat((ergebnis + trenner + gefunden).constData(), &st) != 0) {
            int passend = 0;
            if (DIR* verzeichnis = ::opendir(ordner.constData())) {
                while (const dirent* eintrag = ::readdir(verzeichnis))
                    if (QFile::decodeName(eintrag->d_name) == teil && ++passend == 1)
                        gefunden = eintrag->d_name;
                ::closedir(verzeichnis);
            }
            if (passend != 1)
                return name;
        }
        ergebnis += trenner + gefunden;
    }
    return ergebnis;
}

JpegKopf jpegKopfLesen(QByteArrayView daten)
{
    JpegKopf kopf;
    std::map<int, QByteArray> iccTeile;
    // As libjpeg reads it: bytes that are no marker are passed over up to the next one.
    segmente::Leser leser(daten, true);
    const auto* d = reinterpret_cast<const uchar*>(daten.data());
    while (leser.weiter()) {
        const segmente::Segment& s = leser.segment();
        const auto* inhalt = reinterpret_cast<const uchar*>(s.inhalt.data());
        const qsizetype laenge = s.inhalt.size();
        const bool rahmen = s.marke >= 0xC0 && s.marke <= 0xCF && s.marke != 0xC4 && s.marke != 0xC8 && s.marke != 0xCC;
        if (rahmen && kopf.komponenten == 0 && laenge >= 6) {
            kopf.rahmenArt = s.marke;
            kopf.bits = inhalt[0];
            kopf.hoehe = be16(inhalt + 1);
            kopf.breite = be16(inhalt + 3);
            kopf.komponenten = inhalt[5];
        } else if (s.marke == 0xE1) {
            metadaten::orientierungBeachten(s, kopf.orientierung);
        } else if (s.marke == 0xE2 && laenge > 14 && std::memcmp(inhalt, "ICC_PROFILE\0", 12) == 0) {
            iccTeile[inhalt[12]] = QByteArray(reinterpret_cast<const char*>(inhalt + 14), laenge - 14);
        } else if (s.marke == 0xDA) {
            const qsizetype ende = std::min(s.ende, daten.size());
            kopf.datenBytes += ende - s.datenAnfang;
            qsizetype nachDaten = ende; // before the fill bytes of the marker that follows
            while (nachDaten > s.datenAnfang && d[nachDaten - 1] == 0xFF)
                --nachDaten;
            kopf.scanEnden.push_back(nachDaten);
        }
    }
    kopf.vollstaendig = leser.ende() == segmente::Ende::Endmarke;
    if (kopf.vollstaendig)
        kopf.laenge = leser.position();
    for (const auto& [nummer, teil] : iccTeile)
        kopf.icc += teil;
    return kopf;
}

namespace {

// The refusals that need only the markers.
Ladeergebnis pruefen(const JpegKopf& kopf, qint64 pixelGrenze)
{
    if (kopf.komponenten == 0 || kopf.breite == 0)
        return fehler(Ladefehler::KeinJpeg);
    Ladeergebnis ergebnis;
    if (!unterstuetzt(kopf, ergebnis))
        return ergebnis;
    const qint64 pixel = qint64(kopf.breite) * kopf.hoehe;
    if (pixel > pixelGrenze)
        return fehler(Ladefehler::ZuVielePixel, pixel, pixelGrenze);
    if (!kopf.vollstaendig)
        return fehler(Ladefehler::Unvollstaendig);
    // With Huffman codes every 8 x 8 block of the full-size component takes at least one
    // bit; data too short for the size the header claims is no picture of that size.
    // (Arithmetic coding can be far denser, so it is not judged this way.)
    const qint64 bloecke = qint64((kopf.breite + 7) / 8) * ((kopf.hoehe + 7) / 8);
    if (huffmanKodiert(kopf.rahmenArt) && kopf.datenBytes * 8 < bloecke)
        return fehler(Ladefehler::Unvollstaendig);
    // Arithmetic coding is far denser: a picture of one flat colour takes a few bytes
    // whatever its size. One byte for 16 384 blocks (a megapixel) is still far below any
    // photograph, and keeps a hundred bytes from claiming 144 megapixels.
    if (arithmetischKodiert(kopf.rahmenArt) && kopf.datenBytes * 16384 < bloecke)
        return fehler(Ladefehler::Unvollstaendig);
    return ergebnis;
}

Ladeergebnis geprueftDekodieren(QByteArrayView daten, const JpegKopf& kopf, int nenner, const std::atomic<bool>* abbrechen)
{
    // Only the picture's own bytes: whether libjpeg-turbo notices coded data that ends
    // early can depend on what lies behind the end marker, and a trailer (a preview, a
    // video, the metadata a copy leaves out) must not decide whether a photo loads.
    Ladeergebnis ergebnis = dekodieren(reinterpret_cast<const uchar*>(daten.data()), kopf.laenge, kopf, nenner, abbrechen);
    if (ergebnis.bild.isNull())
        return ergebnis;

    // The published file carries no profile: what the photographer saw must be in sRGB values.
    // Converted in bands of rows, so that a decode called off ends here too within moments.
    QImage& bild = ergebnis.bild;
    const QColorSpace profil = kopf.icc.isEmpty() ? QColorSpace() : QColorSpace::fromIccProfile(kopf.icc);
    if (profil.isValid() && profil != QColorSpace(QColorSpace::SRgb)) {
        const QColorTransform wandlung = profil.transformationToColorSpace(QColorSpace(QColorSpace::SRgb));
        const int band = std::max(1, (1 << 18) / std::max(1, bild.width()));
        for (int y = 0; y < bild.height(); y += band) {
            if (abbrechen && abbrechen->load(std::memory_order_relaxed))
                return fehler(Ladefehler::Abgebrochen);
            QImage teil(bild.scanLine(y), bild.width(), std::min(band, bild.height() - y), bild.bytesPerLine(), bild.format());
            teil.applyColorTransform(wandlung);
        }
    }
    bild.setColorSpace(QColorSpace());
    return ergebnis;
}

} // namespace

Ladeergebnis jpegDekodieren(QByteArrayView daten, qint64 pixelGrenze)
{
    if (daten.isEmpty())
        return fehler(Ladefehler::Leer);
    const JpegKopf kopf = jpegKopfLesen(daten);
    const Ladeergebnis geprueft = pruefen(kopf, pixelGrenze);
    if (geprueft.fehler != Ladefehler::Keiner)
        return geprueft;
    return geprueftDekodieren(daten, kopf, 1, nullptr);
}

qint64 jpegHoechstgroesse(QByteArrayView anfang)
{
    Groessengrenze grenze;
    return grenze.weiter(reinterpret_cast<const uchar*>(anfang.data()), anfang.size()) ? grenze.grenze() : 0;
}

QSize Jpegdatei::aufrecht() const
{
    return kopf.orientierung >= 5 ? QSize(kopf.hoehe, kopf.breite) : QSize(kopf.breite, kopf.hoehe);
}

Ladeergebnis jpegOeffnen(const QString& pfad, Jpegdatei& datei, qint64 pixelGrenze, const std::atomic<bool>* abbrechen)
{
    Ladeergebnis ergebnis;
    datei = Jpegdatei();
    datei.inhalt = dateiLesen(pfad, datei.laenge, ergebnis, abbrechen);
    if (ergebnis.fehler != Ladefehler::Keiner)
        return ergebnis;
    if (datei.laenge == 0)
        return fehler(Ladefehler::Leer);
    datei.kopf = jpegKopfLesen(datei.daten());
    return pruefen(datei.kopf, pixelGrenze);
}

Ladeergebnis jpegDekodieren(const Jpegdatei& datei, int nenner, const std::atomic<bool>* abbrechen)
{
    return geprueftDekodieren(datei.daten(), datei.kopf, nenner, abbrechen);
}

int verkleinerung(const Jpegdatei& datei, QSize mindestens)
{
    const QSize ganz = datei.aufrecht();
    for (const int nenner : {8, 4, 2})
        if ((ganz.width() + nenner - 1) / nenner >= mindestens.width() && (ganz.height() + nenner - 1) / nenner >= mindestens.height())
            return nenner;
    return 1;
}

Ladeergebnis jpegLaden(const QString& pfad)
{
    Jpegdatei datei;
    const Ladeergebnis geoeffnet = jpegOeffnen(pfad, datei);
    if (geoeffnet.fehler != Ladefehler::Keiner)
        return geoeffnet;
    return jpegDekodieren(datei);
}
