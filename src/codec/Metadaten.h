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

// Whether a JPEG file tells where it was taken: GPS coordinates in EXIF or XMP,
// or a named place in XMP or IPTC (city, state, country, sublocation).
bool standortEnthalten(QByteArrayView jpeg);

// The same JPEG without EXIF, XMP, IPTC and Photoshop blocks, comments, other
// application blocks and whatever follows the end of the picture (further
// pictures of the file with metadata of their own). The JFIF header, the colour
// profile, the Adobe colour marker, the tables and the picture data stay byte for
// byte. An orientation other than 1 is kept in an EXIF block of that one tag, so
// that the photo stays upright. Empty when the data is not a complete JPEG.
QByteArray ohneMetadaten(QByteArrayView jpeg);

} // namespace metadaten
