#include "soundtrack.h"

#include "instruments.h"
#include "rng.h"

#include <QDataStream>
#include <QIODevice>

#include <cmath>

namespace soundtrack {

namespace {

using namespace instruments;

const double kLengthSeconds = 53.0;
const int kBars = 27; // the last bar holds only the closing chord and kick

double beatTime(double beat) { return kFirstBeatSeconds + beat * kBeatSeconds; }

// Am - F - C - G, one chord a bar: pad voicings, bass roots, arpeggio tones.
struct Chord { std::vector<int> pad; int root; std::vector<int> arpeggio; };
const Chord kChords[4] = {
    {{57, 60, 64}, 45, {69, 72, 76, 81}},
    {{57, 60, 65}, 41, {69, 72, 77, 81}},
    {{55, 60, 64}, 48, {67, 72, 76, 79}},
    {{55, 59, 62}, 43, {67, 71, 74, 79}},
};

// The hook: eight eighth notes a bar over the four chords (0 is a rest).
const int kHook[4][8] = {
    {81, 0, 76, 79, 0, 76, 72, 74},
    {77, 0, 76, 72, 0, 69, 72, 76},
    {79, 0, 76, 72, 0, 67, 72, 76},
    {74, 0, 79, 78, 79, 0, 83, 81},
};

// Which parts play in a bar: the arrangement.
struct Section { bool hats, clap, openHats, bass, arpeggio, hook, roll; float padBrightness; };

Section sectionOf(int bar)
{
    if (bar < 2)   // title screen: kick, pad, a few hats
        return {true, false, false, false, false, false, false, 0.1f};
    if (bar < 5)   // bouncing boxes: the groove arrives
        return {true, true, true, true, false, false, false, 0.25f};
    if (bar < 9)   // pulsing boxes and credits: arpeggio on top
        return {true, true, true, true, true, false, false, 0.35f};
    if (bar < 16)  // credits and scenery: the hook
        return {true, true, true, true, false, true, false, 0.45f};
    if (bar < 18)  // cogwheels: a breakdown over the kick, a roll into the climax
        return {false, false, false, false, true, false, bar == 17, 0.9f};
    if (bar < 22)  // box trail: everything
        return {true, true, true, true, true, true, false, 0.6f};
    if (bar < 26)  // outro: the groove thins out
        return {bar < 24, bar < 24, false, true, false, false, false, 0.3f - 0.05f * (bar - 22)};
    return {false, false, false, false, false, false, false, 0.1f};
}

void drums(StereoBuffer& out, int bar, const Section& s, Rng& rng)
{
    for (int beat = 0; beat < 4; ++beat) {
        const double at = bar * 4 + beat;
        if (bar < kBars - 1 || beat == 0)
            kick(out, beatTime(at), 0.95f);
        if (s.clap && beat % 2 == 1)
            clap(out, beatTime(at), 0.45f, rng);
        if (s.openHats)
            hat(out, beatTime(at + 0.5), 0.22f, true, rng);
        for (int sixteenth = 0; s.hats && sixteenth < 4; ++sixteenth) {
            if (sixteenth != 2 || !s.openHats)
                hat(out, beatTime(at + sixteenth * 0.25), sixteenth % 2 ? 0.12f : 0.2f, false, rng);
        }
    }
    for (int step = 0; s.roll && step < 16; ++step) // a clap roll growing louder
        clap(out, beatTime(bar * 4 + step * 0.25), 0.12f + 0.02f * step, rng);
}

void harmony(StereoBuffer& bassBus, StereoBuffer& padBus, int bar, const Section& s)
{
    if (bar == kBars - 1)
        return; // the closing chord is played on its own
    const Chord& chord = kChords[bar % 4];
    pad(padBus, beatTime(bar * 4), 4 * kBeatSeconds - 0.1, chord.pad, 0.22f, s.padBrightness);
    for (int eighth = 0; s.bass && eighth < 8; ++eighth) {
        if (eighth % 2 == 0)
            continue; // off-beat bass, out of the kick's way
        const int note = chord.root + (eighth == 7 ? 12 : 0);
        bass(bassBus, beatTime(bar * 4 + eighth * 0.5), kBeatSeconds * 0.42, note - 12, 0.42f);
    }
}

void melody(StereoBuffer& leadBus, int bar, const Section& s)
{
    const Chord& chord = kChords[bar % 4];
    for (int step = 0; s.arpeggio && step < 16; ++step) {
        const int pattern[8] = {0, 1, 2, 3, 2, 1, 2, 0};
        lead(leadBus, beatTime(bar * 4 + step * 0.25), kBeatSeconds * 0.2, chord.arpeggio[pattern[step % 8]],
             s.hook ? 0.06f : 0.1f, step % 2 ? 0.3f : -0.3f);
    }
    for (int eighth = 0; s.hook && eighth < 8; ++eighth) {
        const int note = kHook[bar % 4][eighth];
        if (note)
            lead(leadBus, beatTime(bar * 4 + eighth * 0.5), kBeatSeconds * 0.45, note - 12, 0.16f, 0.0f);
    }
}

// The kick ducks the other parts for a moment: the pumping of dance music.
std::vector<float> sidechain(int frames)
{
    std::vector<float> gain(size_t(frames), 1.0f);
    for (int i = 0; i < frames; ++i) {
        const double t = double(i) / kSampleRate - kFirstBeatSeconds;
        if (t < 0)
            continue;
        const double sinceKick = std::fmod(t, kBeatSeconds);
        gain[size_t(i)] = float(1.0 - 0.6 * std::exp(-sinceKick / 0.09));
    }
    return gain;
}

float peakOf(const StereoBuffer& mix)
{
    float peak = 1e-9f;
    for (int i = 0; i < mix.frames(); ++i)
        peak = std::fmax(peak, std::fmax(std::fabs(mix.left[size_t(i)]), std::fabs(mix.right[size_t(i)])));
    return peak;
}

// A gentle soft clipper on the master: rounds off the drum transients so the
// piece can be louder under the same peak.
void saturate(StereoBuffer& mix)
{
    const float scale = 1.0f / peakOf(mix);
    const float drive = 1.6f;
    for (std::vector<float>* channel : {&mix.left, &mix.right}) {
        for (float& sample : *channel)
            sample = std::tanh(drive * sample * scale) / std::tanh(drive);
    }
}

QByteArray wavFile(const StereoBuffer& mix, float scale)
{
    QByteArray bytes;
    QDataStream out(&bytes, QIODevice::WriteOnly);
    out.setByteOrder(QDataStream::LittleEndian);
    const quint32 dataSize = quint32(mix.frames()) * 4;
    out.writeRawData("RIFF", 4);
    out << quint32(36 + dataSize);
    out.writeRawData("WAVEfmt ", 8);
    out << quint32(16) << quint16(1) << quint16(2) << quint32(kSampleRate) << quint32(kSampleRate * 4)
        << quint16(4) << quint16(16);
    out.writeRawData("data", 4);
    out << dataSize;
    for (int i = 0; i < mix.frames(); ++i) {
        for (float sample : {mix.left[size_t(i)], mix.right[size_t(i)]})
            out << qint16(std::lround(double(sample) * scale * 32767.0));
    }
    return bytes;
}

} // namespace

QByteArray renderWav()
{
    Rng rng(0x7A5E4);
    StereoBuffer drumBus(kLengthSeconds), bassBus(kLengthSeconds), padBus(kLengthSeconds), leadBus(kLengthSeconds);
    for (int bar = 0; bar < kBars; ++bar) {
        const Section section = sectionOf(bar);
        drums(drumBus, bar, section, rng);
        harmony(bassBus, padBus, bar, section);
        melody(leadBus, bar, section);
    }
    pad(padBus, beatTime(kBars * 4 - 4), 1.2, kChords[0].pad, 0.18f, 0.2f); // the closing chord
    instruments::echo(leadBus, 0.36, 0.35f, 0.45f);
    instruments::echo(padBus, 0.72, 0.25f, 0.3f);

    StereoBuffer mix(kLengthSeconds);
    const std::vector<float> duck = sidechain(mix.frames());
    const std::vector<float> unity(size_t(mix.frames()), 1.0f);
    mix.mix(drumBus, unity);
    mix.mix(bassBus, duck);
    mix.mix(padBus, duck);
    mix.mix(leadBus, duck);

    saturate(mix);
    const float target = float(std::pow(10.0, -1.5 / 20.0));
    return wavFile(mix, target / peakOf(mix));
}

} // namespace soundtrack
