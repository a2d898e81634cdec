#pragma once

#include <QByteArray>
#include <QByteArrayView>

// What a camera JPEG says besides its picture, read with Exiv2, and a copy without it.
namespace metadaten {

// The EXIF orientation tag (1 to 8) of an APP1 Exif block, given without its
// "Exif\0\0" prefix; 1 when the block has none or cannot be read.
int exifOrientierung(QByteArrayView tiff);

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

// Where the entropy-coded data that starts at pos ends: at the next marker that
// is neither a stuffed 0xFF00 nor a restart marker, or at n.
qsizetype scanEnde(const uchar* d, qsizetype n, qsizetype pos);

} // namespace metadaten
