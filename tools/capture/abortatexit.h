#ifndef ABORTATEXIT_H
#define ABORTATEXIT_H

class FrameSink;

// The model reader ends the process with exit(1) on a model it cannot read,
// from deep inside the demo's start-up, and no destructor runs then. While
// one of these lives, such an exit aborts the sink (its temporary files go)
// and says what finished output it leaves. Arm it once the sink is open.
class AbortAtExit
{
public:
    explicit AbortAtExit(FrameSink* sink);
    ~AbortAtExit();

    AbortAtExit(const AbortAtExit&) = delete;
    AbortAtExit& operator=(const AbortAtExit&) = delete;
};

#endif
