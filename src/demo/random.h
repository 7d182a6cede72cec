#ifndef RANDOM_H
#define RANDOM_H

// Random values for building the demo, drawn from the standard rand()
// generator that the timeline seeds once: the same seed and the same order of
// calls give the same demo on every run.

// An int in [a, b]: a + rand() % (b - a + 1). Reversed bounds are swapped.
int get_rand(int a, int b);
// A float in [lo, hi], drawn on a grid of 2^-31 steps. Reversed bounds are swapped.
float get_rand_float(float lo, float hi);

#endif
