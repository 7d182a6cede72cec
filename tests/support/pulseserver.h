#ifndef PULSESERVER_H
#define PULSESERVER_H

#include <QProcess>
#include <QString>

class QTemporaryDir;

// A PulseAudio daemon of the test's own with one null sink, in `dir`, so it
// meets no other server on the machine. PULSE_SERVER points the test's own
// process at it. Killed (by pid) by kill() and by the destructor.
class PulseServer
{
public:
    explicit PulseServer(const QTemporaryDir& dir);
    ~PulseServer() { kill(); }

    static bool available();
    // Starts the daemon and waits until its socket is there.
    bool start();
    // SIGKILL: gone at once, as a crashed server is.
    void kill();

private:
    QString m_dir;
    QProcess m_process;
};

#endif
