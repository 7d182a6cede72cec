#ifndef BENCHMAIN_H
#define BENCHMAIN_H

// The main of every benchmark program: makes the QApplication that GL
// contexts need, silences the engine's debug lines ("loading file" for each
// of the 400 props would drown the table), records the machine's load in the
// report's context and runs the registered benchmarks. Programs that draw
// nothing ask for no display and make a QCoreApplication instead.
enum class Display { Needed, NotNeeded };
int runBenchmarks(int argc, char** argv, Display display = Display::Needed);

#endif
