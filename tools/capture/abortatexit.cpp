#include "abortatexit.h"

#include "framesink.h"

#include <QString>

#include <cstdio>
#include <cstdlib>

namespace {

FrameSink* g_armed = nullptr;

void abortArmedSink()
{
    FrameSink* sink = g_armed;
    g_armed = nullptr;
    if (!sink)
        return;
    sink->abort();
    const QString left = sink->leftBehind();
    if (!left.isEmpty())
        std::fprintf(stderr, "quenvarix-capture: %s\n", qPrintable(left));
}

}  // namespace

AbortAtExit::AbortAtExit(FrameSink* sink)
{
    // Registered after the sink has started its encoder, so the handler runs
    // before whatever the toolkit tore down for that process is gone.
    static const bool registered = std::atexit(abortArmedSink) == 0;
    if (registered)
        g_armed = sink;
}

AbortAtExit::~AbortAtExit()
{
    g_armed = nullptr;
}
