#pragma once

#include <QByteArray>
#include <QByteArrayView>

// The ICC colour profile of a JPEG: what its texts say, and the same profile without them.
namespace farbprofil {

// The text every text tag of a copy says.
inline constexpr char neutralerText[] = "Farbprofil";


// Whether one of the profile's text tags (description, copyright and every other tag of a
// text type: desc, text, mluc, utf8, ut16) writes a position; the texts of a profile that
// is not readable are read from its bytes as they stand.
bool positionInTexten(QByteArrayView profil);

// The profile as colour needs it: its header, and byte for byte every tag that tells
// colours (the colorants, tone curves, white and black points, lookup tables and the like).
// Every text tag, and a colour tag of a type that tells no colours, says neutralerText in an
// encoding of its type; every other tag goes, and so do bytes no tag points to and the
// header's reserved bytes. The header's size is the new one, and so is its profile ID where
// it had one. Empty when the profile is not readable.
QByteArray ohneTexte(QByteArrayView profil);

// The APP2 segments that carry a profile: "ICC_PROFILE\0", the part's number counted from
// 1, the number of parts, then at most 65519 bytes of the profile. Empty when it needs more
// than 255 parts.
QByteArray alsSegmente(QByteArrayView profil);

} // namespace farbprofil
