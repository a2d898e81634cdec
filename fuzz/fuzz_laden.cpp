// libFuzzer target: the loader's decoding of whatever bytes a file may hold.
#include "codec/Bildladen.h"

#include <QtGlobal>

#include <cstddef>
#include <cstdint>

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
    const Ladeergebnis e = jpegDekodieren(QByteArrayView(daten, qsizetype(laenge)), pixelGrenze);
    if (e.bild.isNull()) {
        if (e.fehler == Ladefehler::Keiner)
            __builtin_trap(); // every refusal says why
        return 0;
    }
    if (e.fehler != Ladefehler::Keiner || e.bild.format() != QImage::Format_RGB32
        || qint64(e.bild.width()) * e.bild.height() > pixelGrenze)
        __builtin_trap();
    // Every pixel was written: reading them all lets the sanitizers see the whole buffer.
    quint32 summe = 0;
    for (int y = 0; y < e.bild.height(); ++y) {
        const auto* zeile = reinterpret_cast<const quint32*>(e.bild.constScanLine(y));
        for (int x = 0; x < e.bild.width(); ++x)
            summe += zeile[x];
    }
    volatile quint32 senke = summe;
    (void)senke;
    return 0;
}
