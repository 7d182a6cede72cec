#ifndef SOUNDTRACK_H
#define SOUNDTRACK_H

#include <QByteArray>

// "tavrenQuisk": the demo's original soundtrack, 125 BPM in A minor, about
// 53 seconds. A beat lasts 480 ms and the kick drum falls on every beat at
// 180 + 480k ms of track time; since the player starts the track at engine
// time 5000, the kicks from 9780 ms meet the pulsing boxes of the demo.
namespace soundtrack {

const double kBeatSeconds = 0.48;
const double kFirstBeatSeconds = 0.18;

// The whole piece as a 44.1 kHz, 16-bit stereo WAV file, its peak at -1.5 dBFS
// (MP3 encoding may add a few tenths of a dB; the result stays below -1 dBFS).
QByteArray renderWav();

} // namespace soundtrack

#endif
