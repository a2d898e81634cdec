// Writes the seed corpus of both fuzz targets: tiny JPEGs of every kind the loader meets,
// and with every kind of block that tells a place, also where a strict reader misses it.
//   fuzz_saat FOLDER

#include <QByteArray>
#include <QString>
#include <QColorSpace>
#include <QDir>
#include <QFile>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

struct Art {
    const char* name = "";
    int breite = 16, hoehe = 16;
    J_COLOR_SPACE eingabe = JCS_RGB; // JCS_RGB, JCS_GRAYSCALE or JCS_CMYK
    J_COLOR_SPACE datei = JCS_YCbCr; // colour space stored in the file
    bool progressiv = false;
    bool arithmetisch = false;
    bool voll = false;     // 4:4:4 instead of 4:2:0
    int neustart = 0;      // restart interval in MCU rows
    QByteArray exif;       // APP1 content
    QByteArray icc;        // profile
    std::vector<std::pair<int, QByteArray>> bloecke; // further markers and their content
};

void le16(QByteArray& t, int v) { t += char(v & 0xFF), t += char(v >> 8); }
void le32(QByteArray& t, quint32 v) { le16(t, int(v & 0xFFFF)), le16(t, int(v >> 16)); }
void eintrag(QByteArray& t, int tag, int typ, quint32 anzahl, quint32 wert) { le16(t, tag), le16(t, typ), le32(t, anzahl), le32(t, wert); }

// EXIF with an orientation and a GPS position: IFD0 at 8, the GPS IFD at 38, its
// three rationals at 68.
QByteArray exifMitGps(int orientierung)
{
    QByteArray t("Exif\0\0II*\0\x08\0\0\0", 14);
    le16(t, 2);
    eintrag(t, 0x0112, 3, 1, quint32(orientierung));
    eintrag(t, 0x8825, 4, 1, 38);
    le32(t, 0);
    le16(t, 2);
    eintrag(t, 0x0001, 2, 2, 'N');
    eintrag(t, 0x0002, 5, 3, 68);
    le32(t, 0);
    for (const quint32 zahl : {51u, 1u, 9u, 1u, 2463u, 100u})
        le32(t, zahl);
    return t;
}

QByteArray xmpMitOrt()
{
    return QByteArray("http://ns.adobe.com/xap/1.0/\0", 29)
        + "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
          "<rdf:Description rdf:about=\"\" xmlns:photoshop=\"http://ns.adobe.com/photoshop/1.0/\" "
          "xmlns:exif=\"http://ns.adobe.com/exif/1.0/\" photoshop:City=\"Goerlitz\" exif:GPSLatitude=\"51,9.41N\"/>"
          "</rdf:RDF></x:xmpmeta>";
}

// Photoshop's block with an IPTC record: City (2:90).
QByteArray iptcMitOrt()
{
    const QByteArray iptc = QByteArray("\x1C\x02\x5A\x00\x08", 5) + "Goerlitz";
    QByteArray t = QByteArray("Photoshop 3.0\0" "8BIM\x04\x04\0\0", 22);
    t += char(0), t += char(0), t += char(0), t += char(iptc.size());
    return t + iptc;
}

// EXIF whose GPS IFD hangs elsewhere than at IFD0: at IFD1 (wo 1) or at the Exif IFD (wo 2);
// IFD0 at 8, the second IFD at 26, the GPS IFD at 44, its rationals at 62.
QByteArray exifGpsAn(int wo, const QByteArray& name)
{
    QByteArray t = name + QByteArray("II*\0\x08\0\0\0", 8);
    le16(t, 1);
    eintrag(t, wo == 1 ? 0x0112 : 0x8769, wo == 1 ? 3 : 4, 1, wo == 1 ? 1 : 26);
    le32(t, wo == 1 ? 26 : 0);
    le16(t, 1);
    eintrag(t, 0x8825, 4, 1, 44);
    le32(t, 0);
    le16(t, 1);
    eintrag(t, 0x0002, 5, 3, 62);
    le32(t, 0);
    for (const quint32 zahl : {51u, 1u, 9u, 1u, 2463u, 100u})
        le32(t, zahl);
    return t;
}

// EXIF with one text tag in IFD0 (ImageDescription, XPComment) or in the Exif IFD
// (UserComment, MakerNote); the text follows the IFDs at 44.
QByteArray exifMitText(int tag, int typ, const QByteArray& text)
{
    QByteArray t("Exif\0\0II*\0\x08\0\0\0", 14);
    const bool exifIfd = tag == 0x9286 || tag == 0x927C;
    le16(t, 1);
    if (exifIfd)
        eintrag(t, 0x8769, 4, 1, 26);
    else
        eintrag(t, tag, typ, quint32(text.size()), 44);
    le32(t, 0);
    le16(t, 1);
    eintrag(t, exifIfd ? tag : 0x0131, exifIfd ? typ : 2, quint32(exifIfd ? text.size() : 4), exifIfd ? 44 : 0x00786966);
    le32(t, 0);
    return t + text;
}

QByteArray utf16(const QString& text, bool klein)
{
    QByteArray b;
    for (const QChar c : text)
        b += char(klein ? c.unicode() & 0xFF : c.unicode() >> 8), b += char(klein ? c.unicode() >> 8 : c.unicode() & 0xFF);
    return b;
}

QByteArray xmpMit(const QByteArray& eigenschaften)
{
    return QByteArray("http://ns.adobe.com/xap/1.0/\0", 29)
        + "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\">"
          "<rdf:Description rdf:about=\"\" xmlns:dc=\"http://purl.org/dc/elements/1.1/\" "
          "xmlns:xmpDM=\"http://ns.adobe.com/xmp/1.0/DynamicMedia/\" xmlns:exif=\"http://ns.adobe.com/exif/1.0/\" "
          "xmlns:Iptc4xmpExt=\"http://iptc.org/std/Iptc4xmpExt/2008-02-29/\">"
        + eigenschaften + "</rdf:Description></rdf:RDF></x:xmpmeta>";
}

// A profile of the given one's tags without its texts, and these text tags after them:
// desc in ICC 2's type with a Unicode part, cprt as text, dmdd as mluc; padded to the given size.
QByteArray profilMitTexten(const QByteArray& basis, const QString& text, int groesse = 0)
{
    const auto be32 = [](QByteArray& t, quint32 v) { for (int s : {24, 16, 8, 0}) t += char(v >> s); };
    const QByteArray ascii = text.toLatin1() + '\0';
    QByteArray desc("desc\0\0\0\0", 8), cprt = QByteArray("text\0\0\0\0", 8) + ascii, mluc("mluc\0\0\0\0", 8);
    be32(desc, quint32(ascii.size()));
    desc += ascii + QByteArray(4, 0);
    be32(desc, quint32(text.size()));
    desc += utf16(text, false) + QByteArray(70, 0);
    be32(mluc, 1), be32(mluc, 12), mluc += "enUS", be32(mluc, quint32(2 * text.size())), be32(mluc, 28), mluc += utf16(text, false);
    std::vector<std::pair<QByteArray, QByteArray>> tags;
    const auto zahl = [&](qsizetype i) { return quint32(uchar(basis[i])) << 24 | uchar(basis[i + 1]) << 16 | uchar(basis[i + 2]) << 8 | uchar(basis[i + 3]); };
    for (quint32 i = 0; i < zahl(128); ++i) {
        const QByteArray signatur = basis.mid(132 + 12 * i, 4);
        if (signatur != "desc" && signatur != "cprt")
            tags.push_back({signatur, basis.mid(zahl(136 + 12 * i), zahl(140 + 12 * i))});
    }
    tags.push_back({"desc", desc});
    tags.push_back({"cprt", cprt});
    tags.push_back({"dmdd", mluc});
    if (groesse > 0)
        tags.push_back({"A2B0", "mft2" + QByteArray(groesse, 0)});
    QByteArray tabelle, daten;
    be32(tabelle, quint32(tags.size()));
    for (const auto& [signatur, inhalt] : tags) {
        tabelle += signatur;
        be32(tabelle, quint32(132 + 12 * tags.size() + daten.size()));
        be32(tabelle, quint32(inhalt.size()));
        daten += inhalt + QByteArray((4 - inhalt.size() % 4) % 4, 0);
    }
    QByteArray profil = basis.left(128) + tabelle + daten;
    profil.remove(0, 4);
    QByteArray laenge;
    be32(laenge, quint32(profil.size() + 4));
    return laenge + profil;
}

QByteArray segment(int marke, const QByteArray& inhalt)
{
    const int n = int(inhalt.size()) + 2;
    return QByteArray("\xFF", 1) + char(marke) + char(n >> 8) + char(n & 0xFF) + inhalt;
}

QByteArray exifMitOrientierung(int orientierung, bool grossEndian)
{
    QByteArray t("Exif\0\0", 6);
    if (grossEndian) {
        t += QByteArray("MM\0*\0\0\0\x08", 8);
        t += QByteArray("\0\x01", 2);
        t += QByteArray("\x01\x12\0\x03\0\0\0\x01", 8);
        t += char(0);
        t += char(orientierung);
        t += QByteArray("\0\0\0\0\0\0", 6);
    } else {
        t += QByteArray("II*\0\x08\0\0\0", 8);
        t += QByteArray("\x01\0", 2);
        t += QByteArray("\x12\x01\x03\0\x01\0\0\0", 8);
        t += char(orientierung);
        t += QByteArray("\0\0\0\0\0\0\0", 7);
    }
    return t;
}

QByteArray schreiben(const Art& art)
{
    jpeg_compress_struct info;
    jpeg_error_mgr fehler;
    info.err = jpeg_std_error(&fehler);
    jpeg_create_compress(&info);
    unsigned char* puffer = nullptr;
    unsigned long groesse = 0;
    jpeg_mem_dest(&info, &puffer, &groesse);
    const int komponenten = art.eingabe == JCS_GRAYSCALE ? 1 : art.eingabe == JCS_CMYK ? 4 : 3;
    info.image_width = JDIMENSION(art.breite);
    info.image_height = JDIMENSION(art.hoehe);
    info.input_components = komponenten;
    info.in_color_space = art.eingabe;
    jpeg_set_defaults(&info);
    jpeg_set_colorspace(&info, art.datei);
    jpeg_set_quality(&info, 75, TRUE);
    info.arith_code = art.arithmetisch ? TRUE : FALSE;
    info.optimize_coding = art.arithmetisch ? FALSE : TRUE;
    info.restart_in_rows = art.neustart;
    if (art.voll)
        for (int i = 0; i < info.num_components; ++i)
            info.comp_info[i].h_samp_factor = info.comp_info[i].v_samp_factor = 1;
    if (art.progressiv)
        jpeg_simple_progression(&info);
    jpeg_start_compress(&info, TRUE);
    if (!art.exif.isEmpty())
        jpeg_write_marker(&info, JPEG_APP0 + 1, reinterpret_cast<const JOCTET*>(art.exif.constData()),
                          unsigned(art.exif.size()));
    if (!art.icc.isEmpty())
        jpeg_write_icc_profile(&info, reinterpret_cast<const JOCTET*>(art.icc.constData()), unsigned(art.icc.size()));
    for (const auto& [marke, inhalt] : art.bloecke)
        jpeg_write_marker(&info, marke, reinterpret_cast<const JOCTET*>(inhalt.constData()), unsigned(inhalt.size()));
    std::vector<unsigned char> zeile(size_t(art.breite) * komponenten);
    while (info.next_scanline < info.image_height) {
        const int y = int(info.next_scanline);
        for (int x = 0; x < art.breite; ++x)
            for (int k = 0; k < komponenten; ++k)
                zeile[size_t(x * komponenten + k)] = (unsigned char)(((x * 255) / art.breite + (y * 97) / art.hoehe * (k + 1)
                                                                      + ((x / 4 + y / 4) % 2) * 40) & 0xFF);
        JSAMPROW z = zeile.data();
        jpeg_write_scanlines(&info, &z, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray daten(reinterpret_cast<const char*>(puffer), qsizetype(groesse));
    std::free(puffer);
    return daten;
}

// The frame header's marker or precision changed: kinds the decoder does not take.
QByteArray rahmenGeaendert(QByteArray jpeg, char marke, char bits)
{
    const qsizetype sof = jpeg.indexOf(QByteArray("\xFF\xC0", 2));
    if (sof >= 0) {
        jpeg[sof + 1] = marke;
        jpeg[sof + 4] = bits;
    }
    return jpeg;
}

} // namespace

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: fuzz_saat FOLDER\n");
        return 2;
    }
    const QString ordner = QString::fromLocal8Bit(argv[1]);
    if (!QDir().mkpath(ordner))
        return 1;
    const QByteArray adobe = QColorSpace(QColorSpace::AdobeRgb).iccProfile();
    const auto art = [](const char* name, int b, int h, J_COLOR_SPACE ein, J_COLOR_SPACE datei) {
        Art a;
        a.name = name;
        a.breite = b;
        a.hoehe = h;
        a.eingabe = ein;
        a.datei = datei;
        return a;
    };
    std::vector<Art> arten;
    arten.push_back(art("baseline", 48, 32, JCS_RGB, JCS_YCbCr));
    arten.push_back(art("baseline_444_ungerade", 17, 13, JCS_RGB, JCS_YCbCr));
    arten.back().voll = true;
    arten.push_back(art("progressiv", 40, 24, JCS_RGB, JCS_YCbCr));
    arten.back().progressiv = true;
    arten.push_back(art("arithmetisch", 40, 24, JCS_RGB, JCS_YCbCr));
    arten.back().arithmetisch = true;
    arten.push_back(art("arithmetisch_progressiv", 24, 40, JCS_RGB, JCS_YCbCr));
    arten.back().arithmetisch = arten.back().progressiv = true;
    arten.push_back(art("grau", 33, 20, JCS_GRAYSCALE, JCS_GRAYSCALE));
    arten.push_back(art("grau_progressiv", 20, 33, JCS_GRAYSCALE, JCS_GRAYSCALE));
    arten.back().progressiv = true;
    arten.push_back(art("rgb_ohne_ycc", 16, 16, JCS_RGB, JCS_RGB));
    arten.back().voll = true;
    arten.push_back(art("cmyk", 24, 16, JCS_CMYK, JCS_CMYK));
    arten.push_back(art("ycck", 16, 24, JCS_CMYK, JCS_YCCK));
    arten.push_back(art("neustart", 64, 48, JCS_RGB, JCS_YCbCr));
    arten.back().neustart = 1;
    arten.push_back(art("exif_o6", 30, 20, JCS_RGB, JCS_YCbCr));
    arten.back().exif = exifMitOrientierung(6, false);
    arten.push_back(art("exif_o8_mm", 20, 30, JCS_RGB, JCS_YCbCr));
    arten.back().exif = exifMitOrientierung(8, true);
    arten.back().progressiv = true;
    arten.push_back(art("exif_o3_cmyk", 12, 10, JCS_CMYK, JCS_CMYK));
    arten.back().exif = exifMitOrientierung(3, false);
    arten.push_back(art("icc_adobergb", 24, 16, JCS_RGB, JCS_YCbCr));
    arten.back().icc = adobe;
    arten.push_back(art("exif_o5_icc", 16, 12, JCS_RGB, JCS_YCbCr));
    arten.back().exif = exifMitOrientierung(5, false);
    arten.back().icc = adobe;
    arten.push_back(art("ort_ueberall", 24, 16, JCS_RGB, JCS_YCbCr));
    arten.back().exif = exifMitGps(6);
    arten.back().bloecke = {{JPEG_APP0 + 1, xmpMitOrt()}, {JPEG_APP0 + 13, iptcMitOrt()}, {JPEG_COM, "Fundort"}};
    arten.push_back(art("ort_im_zweiten_block", 16, 24, JCS_RGB, JCS_YCbCr));
    arten.back().exif = exifMitOrientierung(1, true);
    arten.back().progressiv = true;
    arten.back().bloecke = {{JPEG_APP0 + 1, exifMitGps(8)}, {JPEG_APP0 + 13, iptcMitOrt()}, {JPEG_APP0 + 13, iptcMitOrt()}};

    // Every place a reader finds a position or a place in, one by one.
    const auto ort = [&](const char* name, std::vector<std::pair<int, QByteArray>> bloecke, const QByteArray& icc = {}) {
        arten.push_back(art(name, 16, 16, JCS_RGB, JCS_YCbCr));
        arten.back().bloecke = std::move(bloecke);
        arten.back().icc = icc;
    };
    const QByteArray gps = exifMitGps(1).mid(6);
    ort("exif_name_ff", {{JPEG_APP0 + 1, QByteArray("Exif\0\xFF", 6) + gps}});
    ort("exif_name_klein", {{JPEG_APP0 + 1, QByteArray("exif\0\0", 6) + gps}});
    ort("exif_name_gross", {{JPEG_APP0 + 1, QByteArray("EXIF\0\0", 6) + gps}});
    ort("gps_an_ifd1", {{JPEG_APP0 + 1, exifGpsAn(1, QByteArray("Exif\0\0", 6))}});
    ort("gps_am_exif_ifd", {{JPEG_APP0 + 1, exifGpsAn(2, QByteArray("Exif\0\0", 6))}});
    ort("text_beschreibung", {{JPEG_APP0 + 1, exifMitText(0x010E, 2, "Orchideen 51.1543, 14.9877")}});
    ort("text_xpcomment", {{JPEG_APP0 + 1, exifMitText(0x9C9C, 1, utf16(QStringLiteral("51°9′15.5″N 14°59′15.7″E"), true))}});
    ort("text_usercomment", {{JPEG_APP0 + 1, exifMitText(0x9286, 7, QByteArray("UNICODE\0", 8) + utf16(QStringLiteral("N 51° 09.258 E 014° 59.262"), true))}});
    ort("text_herstellerdaten", {{JPEG_APP0 + 1, exifMitText(0x927C, 7, QByteArray("Nikon\0\x02\x10\0\0", 10) + "GPS 51.15432 14.98771")}});
    ort("text_kommentar", {{JPEG_COM, "Fundort 48\xB0" "8'14.6\"N 11\xB0" "34'31.8\"E"}});
    ort("text_anwendungsblock", {{JPEG_APP0 + 10, "Fundort -33.8688, 151.2093"}});
    ort("xmp_shotlocation", {{JPEG_APP0 + 1, xmpMit("<xmpDM:shotLocation>Landeskrone</xmpDM:shotLocation>")}});
    ort("xmp_coverage", {{JPEG_APP0 + 1, xmpMit("<dc:coverage>Landeskrone</dc:coverage>")}});
    ort("xmp_locationcreated", {{JPEG_APP0 + 1, xmpMit("<Iptc4xmpExt:LocationCreated><rdf:Bag><rdf:li rdf:parseType=\"Resource\">"
                                                       "<Iptc4xmpExt:WorldRegion>Europa</Iptc4xmpExt:WorldRegion><exif:GPSLatitude>51,9.41N</exif:GPSLatitude>"
                                                       "</rdf:li></rdf:Bag></Iptc4xmpExt:LocationCreated>")}});
    ort("xmp_text", {{JPEG_APP0 + 1, xmpMit("<dc:description>48.1374 N 11.5755 E</dc:description>")}});
    ort("icc_texte", {}, profilMitTexten(adobe, QStringLiteral("51°9′15″N 14°59′16″E")));
    ort("icc_zwei_teile", {}, profilMitTexten(adobe, QStringLiteral("Kamera 51.1543, 14.9877"), 70000));
    ort("icc_ohne_ort", {{JPEG_COM, "f/5.6 1/250 s, 01.05.2024 10.30 Uhr"}}, profilMitTexten(adobe, QStringLiteral("Adobe RGB (1998)")));

    int n = 0;
    const auto ablegen = [&](const QString& name, const QByteArray& daten) {
        QFile f(QDir(ordner).filePath(name + QStringLiteral(".jpg")));
        if (f.open(QIODevice::WriteOnly) && f.write(daten) == daten.size())
            ++n;
    };
    for (const Art& art : arten)
        ablegen(QString::fromLatin1(art.name), schreiben(art));
    const QByteArray basis = schreiben(arten.front());
    ablegen(QStringLiteral("verlustfrei"), rahmenGeaendert(basis, char(0xC3), 8));
    ablegen(QStringLiteral("zwoelf_bit"), rahmenGeaendert(basis, char(0xC1), 12));
    // Blocks a strict reader does not see: inside a segment with a marker byte that is
    // none, and between two scans.
    const QByteArray versteckt = segment(0xE1, exifMitGps(3)) + segment(0xED, iptcMitOrt());
    ablegen(QStringLiteral("ort_in_ff00"), basis.left(2) + segment(0x00, versteckt) + basis.mid(2));
    const QByteArray progressiv = schreiben(arten[2]);
    const qsizetype zweiterScan = progressiv.indexOf(QByteArray("\xFF\xDA", 2), progressiv.indexOf(QByteArray("\xFF\xDA", 2)) + 1);
    ablegen(QStringLiteral("ort_zwischen_scans"), progressiv.left(zweiterScan) + versteckt + progressiv.mid(zweiterScan));
    std::printf("%d seed files in %s\n", n, argv[1]);
    return n == int(arten.size()) + 4 ? 0 : 1;
}
