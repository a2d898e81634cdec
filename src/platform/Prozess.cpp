#include "platform/Prozess.h"

#include <QSocketNotifier>
#include <QWidget>

#include <csignal>

#include <fcntl.h>
#include <unistd.h>

namespace {

// A signal handler may do next to nothing: it writes a byte that the event loop reads.
int signalRohr[2] = {-1, -1};

void signalEmpfangen(int nummer)
{
    std::signal(nummer, SIG_DFL);
    const char zeichen = 1;
    [[maybe_unused]] const ssize_t n = ::write(signalRohr[1], &zeichen, 1);
}

} // namespace

void dateigroessenGrenzeAlsFehler() { std::signal(SIGXFSZ, SIG_IGN); }

void beendenSignaleSchliessen(QWidget* hauptfenster)
{
    if (signalRohr[0] >= 0 || ::pipe2(signalRohr, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    auto* melder = new QSocketNotifier(signalRohr[0], QSocketNotifier::Read, hauptfenster);
    QObject::connect(melder, &QSocketNotifier::activated, hauptfenster, [hauptfenster] {
        char zeichen[16];
        while (::read(signalRohr[0], zeichen, sizeof zeichen) > 0) {
        }
        hauptfenster->close();
    });
    struct sigaction aktion {};
    aktion.sa_handler = signalEmpfangen;
    sigemptyset(&aktion.sa_mask);
    aktion.sa_flags = SA_RESTART;
    for (const int nummer : {SIGTERM, SIGINT, SIGHUP})
        ::sigaction(nummer, &aktion, nullptr);
}
