#pragma once

#include <QByteArrayView>
#include <QDate>
#include <QString>
#include <QStringView>

// The day a photo was taken, as the photo itself says.
namespace aufnahmedatum {

// From the metadata blocks before a JPEG's first scan, the first of these that names a
// day: EXIF DateTimeOriginal, EXIF DateTimeDigitized (CreateDate), XMP exif:DateTimeOriginal,
// XMP photoshop:DateCreated, IPTC Date Created (2:55), XMP xmp:CreateDate. A value that
// names no real day ("0000:00:00 00:00:00") counts as none. Invalid when there is none.
QDate ausJpeg(QByteArrayView jpeg);

// The same from a file, reading its header blocks only; anything but a regular file
// (a pipe would block) and a file that cannot be read give none.
QDate ausDatei(const QString& pfad);

// A date as cameras and programs write it: "2026:06:14 10:03:00", "2026-06-14T10:03",
// "20260614". Invalid for anything else and for days before photography.
QDate lesen(QStringView text);

} // namespace aufnahmedatum
