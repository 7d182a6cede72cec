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
    // Exit handlers and static destructors run in the reverse order of their
    // registration: registered once the sink has started ffmpeg, the handler
    // runs while the toolkit's statics behind that process still exist.
    static const bool registered = std::atexit(abortArmedSink) == 0;
    if (registered)
        g_armed = sink;
}

AbortAtExit::~AbortAtExit()
{
    g_armed = nullptr;
}
