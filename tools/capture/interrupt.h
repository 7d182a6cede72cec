#ifndef INTERRUPT_H
#define INTERRUPT_H

// Ctrl-C and SIGTERM during a capture: the handler only raises a flag, and
// the frame loop stops at the next frame and cleans up after itself.
class Interrupt
{
public:
    static void install();
    static bool requested();
    static int signalNumber();
};

#endif
