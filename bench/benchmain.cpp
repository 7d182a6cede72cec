#include "benchmain.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QFile>

#include <clocale>
#include <cstdio>
#include <memory>

namespace {

// Debug lines are dropped; warnings and worse still reach standard error.
void quietHandler(QtMsgType type, const QMessageLogContext&, const QString& message)
{
    if (type == QtDebugMsg || type == QtInfoMsg)
        return;
    fprintf(stderr, "%s\n", qPrintable(message));
}

QString loadAverage()
{
    QFile file(QStringLiteral("/proc/loadavg"));
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    return QString::fromLatin1(file.readLine()).trimmed();
}

}  // namespace

int runBenchmarks(int argc, char** argv, DisplayUse display, const std::function<void()>& prepare)
{
    qInstallMessageHandler(quietHandler);
    // Google Benchmark takes its own flags out of argv first; Qt sees the rest.
    benchmark::Initialize(&argc, argv);
    std::unique_ptr<QCoreApplication> app;
    if (display == DisplayUse::Needed)
        app = std::make_unique<QGuiApplication>(argc, argv);
    else
        app = std::make_unique<QCoreApplication>(argc, argv);
    // QGuiApplication adopts the user's locale; the readers and the report
    // expect a point as the decimal separator.
    setlocale(LC_NUMERIC, "C");
    benchmark::AddCustomContext("load_average_at_start", loadAverage().toStdString());
    if (prepare)
        prepare();
    benchmark::AddCustomContext("load_average_after_prepare", loadAverage().toStdString());
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
