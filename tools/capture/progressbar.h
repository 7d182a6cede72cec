#ifndef PROGRESSBAR_H
#define PROGRESSBAR_H

#include <QElapsedTimer>
#include <QString>

#include <cstdio>

// One self-rewriting line on a terminal: frames done, frames per second and
// the time left. Disabled, it prints nothing at all (output is not a terminal).
class ProgressBar
{
public:
    ProgressBar(int total, bool enabled, FILE* stream = stderr);

    // Redraws at most ten times a second, and always for the last frame.
    void update(int done);
    // Ends the line with a summary.
    void finish(const QString& summary);

    // "[#####-----]  120/2300 frames   48.0 fps   0:45 left"
    static QString line(int done, int total, qint64 elapsedMs, int barWidth = 30);
    // True when standard error is a terminal.
    static bool stderrIsTerminal();

private:
    void print(const QString& text);

    int m_total;
    bool m_enabled;
    FILE* m_stream;
    QElapsedTimer m_clock;
    qint64 m_lastDraw = -1;
};

#endif
