#pragma once

class QWidget;

// What the process as a whole needs before its first window.

// A file-size limit (ulimit -f) ends a process by SIGXFSZ as soon as a write would go
// beyond it: the crop lost, no word said. Ignored, the write fails with EFBIG instead,
// and saving reports it like any other failure.
void dateigroessenGrenzeAlsFehler();

// SIGTERM, SIGINT and SIGHUP (a session that ends, Ctrl+C in a terminal) close the main
// window as its close box does, so that its place is kept and the program ends as always.
// A second such signal ends the process at once.
void beendenSignaleSchliessen(QWidget* hauptfenster);
