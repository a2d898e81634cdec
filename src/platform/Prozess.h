#pragma once

// What the process as a whole needs before its first window.

// A file-size limit (ulimit -f) ends a process by SIGXFSZ as soon as a write would go
// beyond it: the crop lost, no word said. Ignored, the write fails with EFBIG instead,
// and saving reports it like any other failure.
void dateigroessenGrenzeAlsFehler();
