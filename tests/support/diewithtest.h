#ifndef DIEWITHTEST_H
#define DIEWITHTEST_H

#include <QProcess>

#include <csignal>
#include <sys/prctl.h>

// A server the test starts is killed with the test: one that crashes runs no
// destructor, and would leave it running.
inline void dieWithTest(QProcess& process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
}

#endif
