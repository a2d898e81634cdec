// libFuzzer target: the loader's decoding of whatever bytes a file may hold. A refusal
// must say why; an accepted picture must be whole: libjpeg decoding the same bytes on
// its own meets no damage, every coefficient of a progressive file was sent down to its
// last bit, and the pixels are libjpeg's own.
#include "codec/Bildladen.h"

#include <QtGlobal>

#include <csetjmp>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

namespace {

struct Pruefer {
    jpeg_decompress_struct info;
    struct Fehler {
        jpeg_error_mgr pub;
        std::jmp_buf sprung;
        bool schaden;
    } fehler;
    bool angelegt;
};

void abbrechen(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<Pruefer::Fehler*>(info->err)->sprung, 1);
}

// Any warning is damage, but those that say nothing about the pixels: bytes left over
// before a marker that is no restart marker, a sequential scan header with progressive
// fields (ignored), an unknown JFIF version, Adobe transform or colour profile.
void warnung(j_common_ptr info, int stufe)
{
    auto* f = reinterpret_cast<Pruefer::Fehler*>(info->err);
    if (stufe >= 0)
        return;
    const int code = f->pub.msg_code;
    const int marke = f->pub.msg_parm.i[1];
    const bool harmlos = (code == JWRN_EXTRANEOUS_DATA && !(marke >= 0xD0 && marke <= 0xD7)) || code == JWRN_NOT_SEQUENTIAL
                      || code == JWRN_JFIF_MAJOR || code == JWRN_ADOBE_XFORM || code == JWRN_BOGUS_ICC;
    f->schaden = f->schaden || !harmlos;
}

void still(j_common_ptr) {}

// Decodes as libjpeg alone would, into rows of 32-bit pixels. Plain C state only between
// setjmp and longjmp.
int dekodieren(Pruefer* p, const std::uint8_t* daten, std::size_t laenge, unsigned char* ziel, std::size_t zielGroesse,
               int* breite, int* hoehe, bool* vollstaendig)
{
    p->info.err = jpeg_std_error(&p->fehler.pub);
    p->fehler.pub.error_exit = abbrechen;
    p->fehler.pub.emit_message = warnung;
    p->fehler.pub.output_message = still;
    if (setjmp(p->fehler.sprung))
        return 1;
    jpeg_create_decompress(&p->info);
    p->angelegt = true;
    jpeg_mem_src(&p->info, daten, (unsigned long)laenge);
    jpeg_read_header(&p->info, TRUE);
    const J_COLOR_SPACE farben = p->info.jpeg_color_space;
    p->info.out_color_space = farben == JCS_CMYK || farben == JCS_YCCK ? JCS_CMYK : JCS_EXT_BGRX;
    p->info.dct_method = JDCT_ISLOW;
    jpeg_start_decompress(&p->info);
    *breite = int(p->info.output_width);
    *hoehe = int(p->info.output_height);
    *vollstaendig = true;
    if (p->info.progressive_mode)
        for (int c = 0; c < p->info.num_components; ++c)
            for (int k = 0; k < DCTSIZE2; ++k)
                *vollstaendig = *vollstaendig && p->info.coef_bits[c][k] == 0;
    const std::size_t zeile = std::size_t(*breite) * 4;
    if (zeile * std::size_t(*hoehe) != zielGroesse)
        return 2; // another size than the loader's picture
    while (p->info.output_scanline < p->info.output_height) {
        JSAMPROW z = ziel + std::size_t(p->info.output_scanline) * zeile;
        jpeg_read_scanlines(&p->info, &z, 1);
    }
    jpeg_finish_decompress(&p->info);
    return 0;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    // Qt's notes on broken colour profiles would drown the fuzzer's own output.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* daten, std::size_t laenge)
{
    // A lower limit than the program's keeps each run quick; the checks are the same.
    constexpr qint64 pixelGrenze = 4'000'000;
    const QByteArrayView eingabe(daten, qsizetype(laenge));
    const Ladeergebnis e = jpegDekodieren(eingabe, pixelGrenze);
    if (e.bild.isNull()) {
        if (e.fehler == Ladefehler::Keiner)
            __builtin_trap(); // every refusal says why
        return 0;
    }
    if (e.fehler != Ladefehler::Keiner || e.bild.format() != QImage::Format_RGB32
        || qint64(e.bild.width()) * e.bild.height() > pixelGrenze)
        __builtin_trap();

    // The same bytes through libjpeg alone. Where the loader changes nothing (upright,
    // no profile, no CMYK) its pixels must be libjpeg's.
    const JpegKopf kopf = jpegKopfLesen(eingabe);
    const bool gleich = kopf.orientierung == 1 && kopf.icc.isEmpty() && kopf.komponenten != 4;
    std::vector<unsigned char> pixel(std::size_t(e.bild.width()) * e.bild.height() * 4);
    Pruefer p{};
    int breite = 0, hoehe = 0;
    bool vollstaendig = false;
    const int gescheitert = dekodieren(&p, daten, laenge, pixel.data(), pixel.size(), &breite, &hoehe, &vollstaendig);
    if (p.angelegt)
        jpeg_destroy_decompress(&p.info);
    if (gescheitert || p.fehler.schaden || !vollstaendig)
        __builtin_trap(); // accepted, yet damaged or incomplete
    if (gleich) {
        for (int y = 0; y < hoehe; ++y)
            if (std::memcmp(e.bild.constScanLine(y), pixel.data() + std::size_t(y) * breite * 4, std::size_t(breite) * 4) != 0)
                __builtin_trap();
    }
    return 0;
}
