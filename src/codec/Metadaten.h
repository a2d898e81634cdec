#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace segmente {
struct Segment;
}

// What a camera JPEG says besides its picture, read with Exiv2, and a copy without it.
namespace metadaten {

// The EXIF orientation tag (1 to 8) of an APP1 Exif block, given without its
// "Exif\0\0" prefix; 1 when the block has none or cannot be read.
int exifOrientierung(QByteArrayView tiff);

// The orientation a file's segments give, one segment after the other: the first
// EXIF block with an orientation other than 1 decides.
void orientierungBeachten(const segmente::Segment& segment, int& orientierung);

// Where a file tells where it was taken, and what it tells there:
//
//   block (where readers find it)                    placement                               what
//   EXIF: APP1 "Exif\0" and any byte, in any case,    GPS IFD linked from IFD0, IFD1, the     position (latitude, longitude,
//     also up to four bytes in; a second block too       Exif IFD or any IFD below them          altitude, destination); place (area)
//                                                    every tag Exiv2 names as a place        place
//                                                    any text: description, artist, user     position
//                                                      comment, maker note; XP tags and
//                                                      Unicode comments as UCS-2
//   XMP: standard, extended, or not even well-formed  exif:GPS*, photoshop:City/State/        position (GPS), place (the others)
//                                                      Country, Iptc4xmpCore:Location and
//                                                      CountryCode, Iptc4xmpExt:Location-
//                                                      Created/LocationShown and every part,
//                                                      xmpDM:shotLocation and its parts,
//                                                      dc:coverage
//                                                    any text                                position
//   IPTC in Photoshop's APP13, joined or one by one   City, SubLocation, ProvinceState,       place
//                                                      Country, LocationName/Code
//                                                    any text                                position
//   comment (COM)                                    its text                                position
//   ICC profile, put together as the loader does     every text tag (desc, cprt, ...)        position
//   any other application or unknown segment         its bytes as text                       position
//
// Every picture of the file counts: the first, one after its end marker, and previews
// inside its blocks. A position in text is a pair of coordinates (koordinaten::inText).
enum class Block { Keiner, Exif, Xmp, Iptc, Kommentar, Farbprofil, Anderer };
enum class Angabe { Keine, Position, Ort };
struct Fund {
    Block block = Block::Keiner;
    Angabe angabe = Angabe::Keine;
    bool operator==(const Fund&) const = default;
};

// The first place or position the table above finds, in this order: what Exiv2 reads from
// the file as a whole, then block by block.
Fund standortSuchen(QByteArrayView jpeg);
bool standortEnthalten(QByteArrayView jpeg);

// The same JPEG built from what the picture needs: the frame, the tables (DQT, DHT,
// DRI, DAC), the scans with their coded data and restart markers byte for byte; the JFIF
// header and the Adobe colour marker without what follows their fields (a JFIF thumbnail);
// the colour profile without its texts (farbprofil::ohneTexte), where it is one. Everything
// else goes: EXIF, XMP, IPTC and Photoshop blocks, comments, other application blocks, and
// whatever follows the end of the picture. An orientation other than 1 is kept in an
// EXIF block of that one tag, so that the photo stays upright. Empty when the bytes do
// not parse as a complete JPEG of this structure, or when the location check still finds
// something in the copy.
QByteArray ohneMetadaten(QByteArrayView jpeg);

} // namespace metadaten
