#pragma once

#include <QByteArrayView>
#include <QStringView>

// A position written out as text, the way people and programs write one into a
// caption, a comment or a description.
namespace koordinaten {

// Whether the text holds a pair of latitude and longitude:
// - in decimal degrees: "48.1374, 11.5755", "-33.8688 151.2093", "48,13743; 11,57549",
//   "48.1374 N 11.5755 E", "48.1374° N, 11.5755° O";
// - in degrees and minutes, with or without seconds: "48°8'14.6\"N 11°34'31.8\"E",
//   "N 48° 8' 14.6\" E 11° 34' 31.8\"", "N 48° 08.243 E 011° 34.530",
//   "48 deg 8' 14.60\" N, 11 deg 34' 31.80\" E".
// A label may stand between the two ("48.1374, Länge 11.5755"). Camera settings, dates,
// times, version numbers and lists of numbers are no position: a pair without a degree
// sign or a hemisphere letter needs three decimals (four after a decimal comma), lies
// within the earth's ranges, is no pair of fractions between -1 and 1, and stands in no
// longer list of decimal numbers. The bytes are read as UTF-8 or Latin-1. Linear in the
// length of the text.
bool inText(QByteArrayView text);
bool inText(QStringView text);

} // namespace koordinaten
