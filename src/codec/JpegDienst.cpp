#include "codec/JpegDienst.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

#include <algorithm>
#include <cerrno>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <new>

#include <sys/stat.h>
#include <unistd.h>

#include <jerror.h>
#include <jpeglib.h>
#include <turbojpeg.h>

namespace {

enum Status {
    Ok = 0,
    GenericError = 1,
    InvalidParameter = 2,
    OutOfMemory = 3,
    Win32Error = 7,
    AccessDenied = 12,
    GdiplusNotInitialized = 18,
    UnsupportedGdiplusVersion = 17,
};

#if Q_BYTE_ORDER == Q_LITTLE_ENDIAN
// An RGB32 pixel is the 32-bit value 0xffRRGGBB, in memory B, G, R, ff.
constexpr J_COLOR_SPACE rgb32Farbraum = JCS_EXT_BGRX;
constexpr int rgb32Format = TJPF_BGRX;
#else
constexpr J_COLOR_SPACE rgb32Farbraum = JCS_EXT_XRGB;
constexpr int rgb32Format = TJPF_XRGB;
#endif

// The buffer the encoder writes into grows as needed and is kept for the next picture.
constexpr size_t anfangsPuffer = 256 * 1024;
// A buffer grown beyond this by an unusually large picture is not kept.
constexpr size_t behaltenBis = 8 * 1024 * 1024;

} // namespace

// libjpeg reports errors by calling error_exit, which must not return; it jumps back
// into kodierenRoh. Everything libjpeg touches therefore lives in this plain struct,
// and no object with a destructor is alive in the function that calls setjmp.
struct JpegDienst::Kodierer {
    struct Fehler {
        jpeg_error_mgr pub;
        std::jmp_buf sprung;
        int code;
    };
    struct Ziel {
        jpeg_destination_mgr pub;
        unsigned char* puffer;
        size_t groesse;
        size_t benutzt;
    };
    jpeg_compress_struct cinfo;
    Fehler fehler;
    Ziel ziel;
    bool angelegt;
};

namespace {

using Kodierer = JpegDienst::Kodierer;

void fehlerAusgang(j_common_ptr cinfo)
{
    auto* f = reinterpret_cast<Kodierer::Fehler*>(cinfo->err);
    f->code = f->pub.msg_code;
    std::longjmp(f->sprung, 1);
}

void nichtsAusgeben(j_common_ptr) {}

void zielAnfangen(j_compress_ptr cinfo)
{
    auto* z = reinterpret_cast<Kodierer::Ziel*>(cinfo->dest);
    if (!z->puffer) {
        z->puffer = static_cast<unsigned char*>(std::malloc(anfangsPuffer));
        if (!z->puffer)
            ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0);
        z->groesse = anfangsPuffer;
    }
    z->benutzt = 0;
    z->pub.next_output_byte = z->puffer;
    z->pub.free_in_buffer = z->groesse;
}

boolean zielVoll(j_compress_ptr cinfo)
{
    auto* z = reinterpret_cast<Kodierer::Ziel*>(cinfo->dest);
    const size_t alt = z->groesse;
    auto* neu = static_cast<unsigned char*>(std::realloc(z->puffer, 2 * alt));
    if (!neu)
        ERREXIT1(cinfo, JERR_OUT_OF_MEMORY, 0); // the old buffer stays valid and owned
    z->puffer = neu;
    z->groesse = 2 * alt;
    z->pub.next_output_byte = neu + alt;
    z->pub.free_in_buffer = alt;
    return TRUE;
}

void zielBeenden(j_compress_ptr cinfo)
{
    auto* z = reinterpret_cast<Kodierer::Ziel*>(cinfo->dest);
    z->benutzt = z->groesse - z->pub.free_in_buffer;
}

int statusVon(int code) { return code == JERR_OUT_OF_MEMORY ? OutOfMemory : GenericError; }

int anlegen(Kodierer* k)
{
    k->cinfo.err = jpeg_std_error(&k->fehler.pub);
    k->fehler.pub.error_exit = fehlerAusgang;
    k->fehler.pub.output_message = nichtsAusgeben;
    k->fehler.code = 0;
    if (setjmp(k->fehler.sprung))
        return statusVon(k->fehler.code);
    jpeg_create_compress(&k->cinfo);
    k->angelegt = true;
    k->ziel.pub.init_destination = zielAnfangen;
    k->ziel.pub.empty_output_buffer = zielVoll;
    k->ziel.pub.term_destination = zielBeenden;
    k->cinfo.dest = &k->ziel.pub;
    return Ok;
}

// N. Robidoux's perceptually tuned base table for 8-bit photographs, one for luma and
// chroma (ImageMagick forum, "Quantization tables for JPEG compression", 2012; table 3
// of mozjpeg's cjpeg -quant-table). Natural order, at the scale of quality 50.
constexpr unsigned int robidoux[DCTSIZE2] = {
    16, 16, 16, 18, 25, 37, 56, 85,
    16, 17, 20, 27, 34, 40, 53, 75,
    16, 20, 24, 31, 43, 62, 91, 135,
    18, 27, 31, 40, 53, 74, 106, 156,
    25, 34, 43, 53, 69, 94, 131, 189,
    37, 40, 62, 74, 94, 124, 169, 238,
    56, 53, 91, 106, 131, 169, 226, 311,
    85, 75, 135, 156, 189, 238, 311, 418,
};

// Optimised Huffman tables, JFIF header and nothing else.
int kodierenRoh(Kodierer* k, const unsigned char* pixel, int breite, int hoehe, qsizetype zeilenabstand,
                int qualitaet, const Kodierung& kodierung)
{
    j_compress_ptr c = &k->cinfo;
    if (setjmp(k->fehler.sprung)) {
        jpeg_abort_compress(c);
        return statusVon(k->fehler.code);
    }
    c->image_width = JDIMENSION(breite);
    c->image_height = JDIMENSION(hoehe);
    c->input_components = 4;
    c->in_color_space = rgb32Farbraum;
    jpeg_set_defaults(c);
    // Forcing baseline quantisation tables keeps very low qualities readable everywhere.
    jpeg_set_quality(c, qualitaet, TRUE);
    if (kodierung.tabellen == Kodierung::Tabellen::Robidoux) {
        // Scaled by the quality exactly as the standard tables are.
        const int faktor = jpeg_quality_scaling(qualitaet);
        jpeg_add_quant_table(c, 0, robidoux, faktor, TRUE);
        jpeg_add_quant_table(c, 1, robidoux, faktor, TRUE);
    }
    c->optimize_coding = TRUE;
    const int lumaFaktor = kodierung.volleFarbe ? 1 : 2;
    c->comp_info[0].h_samp_factor = lumaFaktor;
    c->comp_info[0].v_samp_factor = lumaFaktor;
    for (int i = 1; i < c->num_components; ++i) {
        c->comp_info[i].h_samp_factor = 1;
        c->comp_info[i].v_samp_factor = 1;
    }
    if (kodierung.progressiv)
        jpeg_simple_progression(c);
    jpeg_start_compress(c, TRUE);
    while (c->next_scanline < c->image_height) {
        JSAMPROW zeile = const_cast<JSAMPROW>(pixel + qsizetype(c->next_scanline) * zeilenabstand);
        jpeg_write_scanlines(c, &zeile, 1);
    }
    jpeg_finish_compress(c);
    return Ok;
}

} // namespace

QString Kodierung::name() const
{
    return QStringLiteral("%1 %2 %3")
        .arg(progressiv ? u"progressiv" : u"baseline", volleFarbe ? u"4:4:4" : u"4:2:0",
             tabellen == Tabellen::Robidoux ? u"Robidoux" : u"Standard");
}

JpegDienst::JpegDienst() = default;

JpegDienst::~JpegDienst() { GdipBeenden(); }

int JpegDienst::GdipStarten(int version)
{
    if (version != 1)
        return UnsupportedGdiplusVersion;
    if (bereit())
        return Ok;
    m_kodierer.reset(new (std::nothrow) Kodierer()); // zeroed: nothing created yet
    if (!m_kodierer)
        return OutOfMemory;
    const int status = anlegen(m_kodierer.get());
    if (status == Ok)
        m_dekodierer = tjInitDecompress();
    if (status != Ok || !m_dekodierer) {
        GdipBeenden();
        return status != Ok ? status : OutOfMemory;
    }
    return Ok;
}

void JpegDienst::GdipBeenden()
{
    if (m_kodierer) {
        if (m_kodierer->angelegt)
            jpeg_destroy_compress(&m_kodierer->cinfo);
        std::free(m_kodierer->ziel.puffer);
        m_kodierer.reset();
    }
    if (m_dekodierer) {
        tjDestroy(m_dekodierer);
        m_dekodierer = nullptr;
    }
}

bool JpegDienst::bereit() const { return m_kodierer && m_dekodierer; }

int JpegDienst::kodieren(const QImage& bild, int qualitaet, QByteArray& daten)
{
    daten.clear();
    if (!bereit())
        return GdiplusNotInitialized;
    if (bild.isNull() || bild.width() <= 0 || bild.height() <= 0)
        return InvalidParameter;
    qualitaet = std::clamp(qualitaet, 0, 100);
    // The key changes with every change of the pixels; a copy that shares them has the same key.
    if (bild.cacheKey() != m_gemerktesBild) {
        m_gemerkt.clear();
        m_gemerktesBild = bild.cacheKey();
    }
    for (const Gemerkt& g : m_gemerkt)
        if (g.qualitaet == qualitaet && g.kodierung == m_kodierung) {
            daten = g.daten;
            return Ok;
        }
    const QImage rgb = bild.format() == QImage::Format_RGB32 ? bild : bild.convertToFormat(QImage::Format_RGB32);
    if (rgb.isNull())
        return OutOfMemory;
    const int status = kodierenRoh(m_kodierer.get(), rgb.constBits(), rgb.width(), rgb.height(), rgb.bytesPerLine(),
                                   qualitaet, m_kodierung);
    Kodierer::Ziel& z = m_kodierer->ziel;
    if (status == Ok) {
        try {
            daten = QByteArray(reinterpret_cast<const char*>(z.puffer), qsizetype(z.benutzt));
            // A search tries up to a dozen qualities in each variant; more are not kept.
            if (m_gemerkt.size() < 64)
                m_gemerkt.push_back({qualitaet, m_kodierung, daten});
        } catch (const std::bad_alloc&) {
            return OutOfMemory;
        }
    }
    if (z.groesse > behaltenBis) {
        std::free(z.puffer);
        z.puffer = nullptr;
        z.groesse = 0;
    }
    return status;
}

int JpegDienst::dekodieren(const QByteArray& daten, QImage& bild)
{
    bild = QImage();
    if (!bereit())
        return GdiplusNotInitialized;
    if (daten.isEmpty())
        return InvalidParameter;
    const auto* jpeg = reinterpret_cast<const unsigned char*>(daten.constData());
    const auto laenge = static_cast<unsigned long>(daten.size());
    int breite = 0, hoehe = 0, unterabtastung = 0, farbraum = 0;
    if (tjDecompressHeader3(m_dekodierer, jpeg, laenge, &breite, &hoehe, &unterabtastung, &farbraum) != 0
        || breite <= 0 || hoehe <= 0)
        return GenericError;
    QImage ergebnis(breite, hoehe, QImage::Format_RGB32);
    if (ergebnis.isNull())
        return OutOfMemory;
    // A warning (damaged data) counts as failure too: the preview must show what was measured.
    if (tjDecompress2(m_dekodierer, jpeg, laenge, ergebnis.bits(), breite, int(ergebnis.bytesPerLine()), hoehe,
                      rgb32Format, 0) != 0)
        return GenericError;
    bild = std::move(ergebnis);
    return Ok;
}

JpegMessung JpegDienst::JpegMessen(const QImage& bild, int qualitaet)
{
    JpegMessung m;
    if (!bereit()) {
        m.status = GdiplusNotInitialized;
        return m;
    }
    m.status = kodieren(bild, qualitaet, m.daten);
    if (m.status != Ok)
        return m;
    m.Groesse = double(m.daten.size());
    m.status = dekodieren(m.daten, m.Bild);
    return m;
}

int JpegDienst::JpegSpeichern(const JpegMessung& messung, const QString& datei)
{
    m_speicherfehler = {};
    if (!bereit())
        return GdiplusNotInitialized;
    if (messung.daten.isEmpty() || datei.isEmpty()) {
        m_speicherfehler.art = Speicherfehler::Art::NichtsGemessen;
        return InvalidParameter;
    }

    const QString pfad = QDir::toNativeSeparators(datei);
    const auto scheitern = [&](int fehlernummer, Speicherfehler::Art art = Speicherfehler::Art::System,
                               const QString& wo = {}) {
        m_speicherfehler = {art, fehlernummer, wo.isEmpty() ? pfad : wo};
        return fehlernummer == EACCES || fehlernummer == EPERM ? AccessDenied : Win32Error;
    };

    // What is there already, and the folder, are checked first: afterwards the
    // operating system's reason is no longer to be had.
    const QByteArray name = QFile::encodeName(datei);
    struct stat vorhanden {};
    if (::stat(name.constData(), &vorhanden) == 0) {
        if (S_ISDIR(vorhanden.st_mode))
            return scheitern(EISDIR);
        if (!S_ISREG(vorhanden.st_mode))
            return scheitern(EINVAL, Speicherfehler::Art::KeineGewoehnlicheDatei);
        // A file marked read-only is not replaced, whoever asks.
        const int zugriff = ::access(name.constData(), W_OK) == 0 ? 0 : errno;
        if ((vorhanden.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || zugriff != 0)
            return scheitern(zugriff == EROFS ? EROFS : EACCES);
    } else if (errno != ENOENT) {
        return scheitern(errno);
    }
    const QString ordner = QFileInfo(datei).absolutePath();
    const QByteArray ordnerName = QFile::encodeName(ordner);
    struct stat ordnerStat {};
    if (::stat(ordnerName.constData(), &ordnerStat) != 0 || !S_ISDIR(ordnerStat.st_mode))
        return scheitern(ENOENT);
    if (::access(ordnerName.constData(), W_OK | X_OK) != 0) {
        const int fehlernummer = errno;
        if (fehlernummer == EACCES || fehlernummer == EPERM)
            return scheitern(fehlernummer, Speicherfehler::Art::OrdnerGesperrt, QDir::toNativeSeparators(ordner));
        return scheitern(fehlernummer);
    }

    QSaveFile ziel(datei);
    errno = 0;
    if (!ziel.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return scheitern(errno ? errno : EIO);
    // Written past Qt, so that the system's reason of a write cut short (a full disk) is kept.
    const char* p = messung.daten.constData();
    qsizetype rest = messung.daten.size();
    while (rest > 0) {
        const ssize_t n = ::write(ziel.handle(), p, size_t(rest));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            const int fehlernummer = n < 0 ? errno : ENOSPC;
            ziel.cancelWriting();
            return scheitern(fehlernummer);
        }
        p += n;
        rest -= n;
    }
    errno = 0;
    if (!ziel.commit())
        return scheitern(errno ? errno : EIO);
    return Ok;
}
