#include "progressbar.h"

#include <unistd.h>

namespace {
const qint64 kRedrawMs = 100;

QString minutesAndSeconds(qint64 seconds)
{
    return QStringLiteral("%1:%2").arg(seconds / 60).arg(seconds % 60, 2, 10, QLatin1Char('0'));
}
}  // namespace

ProgressBar::ProgressBar(int total, bool enabled, FILE* stream)
    : m_total(total), m_enabled(enabled), m_stream(stream)
{
    m_clock.start();
}

bool ProgressBar::stderrIsTerminal()
{
    return isatty(STDERR_FILENO) == 1;
}

QString ProgressBar::line(int done, int total, qint64 elapsedMs, int barWidth)
{
    const int filled = total > 0 ? int(qint64(done) * barWidth / total) : barWidth;
    const QString bar = QString(filled, QLatin1Char('#')) + QString(barWidth - filled, QLatin1Char('-'));
    const int digits = QString::number(total).size();
    QString text = QStringLiteral("[%1] %2/%3 frames").arg(bar).arg(done, digits).arg(total);
    if (done <= 0 || elapsedMs <= 0)
        return text + QStringLiteral("      -- fps  --:-- left");
    const double fps = done * 1000.0 / elapsedMs;
    const qint64 leftSeconds = qint64((total - done) / fps + 0.5);
    return text + QStringLiteral(" %1 fps  %2 left")
                      .arg(fps, 6, 'f', 1)
                      .arg(minutesAndSeconds(leftSeconds), 5);
}

void ProgressBar::update(int done)
{
    const qint64 now = m_clock.elapsed();
    if (!m_enabled || (done < m_total && m_lastDraw >= 0 && now - m_lastDraw < kRedrawMs))
        return;
    m_lastDraw = now;
    // Carriage return and clear-to-end-of-line: the line rewrites itself.
    print(QStringLiteral("\r") + line(done, m_total, now) + QStringLiteral("\033[K"));
}

void ProgressBar::finish(const QString& summary)
{
    if (m_enabled)
        print(QStringLiteral("\r\033[K") + summary + QLatin1Char('\n'));
}

void ProgressBar::print(const QString& text)
{
    std::fputs(text.toLocal8Bit().constData(), m_stream);
    std::fflush(m_stream);
}
