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

// Whether a JPEG file tells where it was taken: a GPS position, height or area, or
// a named place (city, sublocation, state, country) in any EXIF, XMP or IPTC block of
// the file, also in a second block of a kind and in pictures embedded in the file.
bool standortEnthalten(QByteArrayView jpeg);

// The same JPEG built from what the picture needs: the frame, the tables (DQT, DHT,
// DRI, DAC), the scans with their coded data and restart markers, the JFIF header,
// the colour profile and the Adobe colour marker, byte for byte. Everything else goes:
// EXIF, XMP, IPTC and Photoshop blocks, comments, other application blocks, and
// whatever follows the end of the picture. An orientation other than 1 is kept in an
// EXIF block of that one tag, so that the photo stays upright. Empty when the bytes do
// not parse as a complete JPEG of this structure.
QByteArray ohneMetadaten(QByteArrayView jpeg);

} // namespace metadaten
