#include "platform/Prozess.h"

#include <csignal>

void dateigroessenGrenzeAlsFehler() { std::signal(SIGXFSZ, SIG_IGN); }
