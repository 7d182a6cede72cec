#ifndef INSTRUMENTS_H
#define INSTRUMENTS_H

#include "stereobuffer.h"

#include <vector>

class Rng;

// The voices of the soundtrack. Each one renders a single hit or note into a
// buffer, starting at `time` seconds; noise comes from the caller's Rng so the
// whole piece is reproducible.
namespace instruments {

const int kSampleRate = StereoBuffer::kSampleRate;

double noteFrequency(int midiNote);

void kick(StereoBuffer& out, double time, float gain);
void clap(StereoBuffer& out, double time, float gain, Rng& rng);
void hat(StereoBuffer& out, double time, float gain, bool open, Rng& rng);
void bass(StereoBuffer& out, double time, double length, int note, float gain);
void pad(StereoBuffer& out, double time, double length, const std::vector<int>& notes, float gain, float brightness);
void lead(StereoBuffer& out, double time, double length, int note, float gain, float pan);

// A ping-pong echo: `delay` seconds, each repeat `feedback` as loud.
void echo(StereoBuffer& buffer, double delay, float feedback, float wet);

} // namespace instruments

#endif
