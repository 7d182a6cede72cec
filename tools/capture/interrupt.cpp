#include "interrupt.h"

#include <csignal>

namespace {
volatile std::sig_atomic_t g_signal = 0;

extern "C" void raiseFlag(int signal)
{
    g_signal = signal;
}
}  // namespace

void Interrupt::install()
{
    struct sigaction action = {};
    action.sa_handler = raiseFlag;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;  // a blocking write resumes; the loop checks the flag
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
    // An encoder that gives up closes its end of the frame pipe; the next
    // write must fail with EPIPE and be reported, not kill the capture.
    std::signal(SIGPIPE, SIG_IGN);
}

bool Interrupt::requested()
{
    return g_signal != 0;
}

int Interrupt::signalNumber()
{
    return int(g_signal);
}
