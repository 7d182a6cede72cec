#include "pulseserver.h"

#include "diewithtest.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>

PulseServer::PulseServer(const QTemporaryDir& dir)
    : m_dir(dir.path())
{
    qputenv("PULSE_SERVER", "unix:" + QFile::encodeName(m_dir + "/native"));
}

bool PulseServer::available()
{
    return !QStandardPaths::findExecutable("pulseaudio").isEmpty();
}

bool PulseServer::start()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", m_dir);
    environment.insert("XDG_RUNTIME_DIR", m_dir);
    m_process.setProcessEnvironment(environment);
    m_process.setStandardErrorFile(QProcess::nullDevice());  // root warnings and the like
    dieWithTest(m_process);
    m_process.start("pulseaudio",
                    {"-n", "--daemonize=no", "--exit-idle-time=-1", "--disallow-exit",
                     "--use-pid-file=no", "-L", "module-null-sink", "-L",
                     "module-native-protocol-unix auth-anonymous=1 socket=" + m_dir + "/native"});
    if (!m_process.waitForStarted())
        return false;
    return QTest::qWaitFor([this] { return QFile::exists(m_dir + "/native"); }, 5000);
}

void PulseServer::kill()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    ::kill(pid_t(m_process.processId()), SIGKILL);
    m_process.waitForFinished();
    QFile::remove(m_dir + "/native");
}
