#pragma once

#include <QLocale>
#include <QString>

// A byte count as the read-outs show it: "#.0 KB" below 1024 KB, else "#.0 MB"
// (1 KB = 1024 bytes), one decimal rounded half away from zero, no leading
// zero, the locale's decimal separator: 102400 -> "100,0 KB" on a German system.
QString GroessenText(qint64 bytes, const QLocale& gebietsschema = QLocale());
