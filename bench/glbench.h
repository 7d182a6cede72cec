#ifndef GLBENCH_H
#define GLBENCH_H

#include <QString>

class OffscreenTarget;

// The GL side shared by the benchmarks that draw: one offscreen llvmpipe
// context of 1280 x 720 (QUENVARIX_BENCH_SIZE=WxH for another size), made once and kept current for the process, with
// a WidgetRenderer installed in the engine and initialised on it, as
// Engine::Init does. Null target (and a message) when no context can be made.
class GlBench
{
public:
    static OffscreenTarget* target(QString* error);
    // Installs a fresh WidgetRenderer sized to the target; false without GL.
    static bool installWidgetRenderer(QString* error);
};

#endif
