#ifndef BENCHMAIN_H
#define BENCHMAIN_H

#include <functional>

// The main of every benchmark program: makes the QGuiApplication that GL
// contexts need, silences the engine's debug lines ("loading file" for each
// of the 400 props would drown the table), records the machine's load in the
// report's context and runs the registered benchmarks. Programs that draw
// nothing ask for no display and make a QCoreApplication instead. A program
// whose rows come from one long run makes that run in `prepare`, which is
// called once the application exists and registers its benchmarks.
enum class DisplayUse { Needed, NotNeeded };
int runBenchmarks(int argc, char** argv, DisplayUse display = DisplayUse::Needed,
                  const std::function<void()>& prepare = {});

#endif
