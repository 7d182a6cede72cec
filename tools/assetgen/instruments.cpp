#include "instruments.h"

#include "rng.h"

#include <cmath>

namespace instruments {

namespace {

const double kTwoPi = 6.283185307179586;

// Topology-preserving state-variable filter (one sample at a time).
class Filter
{
public:
    void set(double cutoff, double resonance)
    {
        m_g = std::tan(M_PI * std::fmin(cutoff, 18000.0) / kSampleRate);
        m_k = 2.0 - 2.0 * resonance;
    }
    // Returns the low-pass output; band and high pass are kept for the caller.
    double process(double x)
    {
        const double v3 = x - m_ic2;
        const double v1 = (m_g * v3 + m_ic1) / (1.0 + m_g * (m_g + m_k));
        const double v2 = m_ic2 + m_g * v1;
        m_ic1 = 2.0 * v1 - m_ic1;
        m_ic2 = 2.0 * v2 - m_ic2;
        band = v1;
        high = x - m_k * v1 - v2;
        return v2;
    }
    double band = 0.0, high = 0.0;

private:
    double m_g = 0.0, m_k = 2.0, m_ic1 = 0.0, m_ic2 = 0.0;
};

// A band-limited sawtooth (polyBLEP), phase in [0, 1).
class Saw
{
public:
    explicit Saw(double frequency, double phase = 0.0) : m_step(frequency / kSampleRate), m_phase(phase) {}
    double next()
    {
        double value = 2.0 * m_phase - 1.0;
        value -= blep(m_phase);
        m_phase += m_step;
        if (m_phase >= 1.0)
            m_phase -= 1.0;
        return value;
    }

private:
    double blep(double t) const
    {
        if (t < m_step) {
            t /= m_step;
            return t + t - t * t - 1.0;
        }
        if (t > 1.0 - m_step) {
            t = (t - 1.0) / m_step;
            return t * t + t + t + 1.0;
        }
        return 0.0;
    }
    double m_step, m_phase;
};

int frameAt(double time) { return int(std::lround(time * kSampleRate)); }

// Attack, then hold at 1, then a release that starts at `length`.
double envelope(double t, double attack, double length, double release)
{
    if (t < attack)
        return t / attack;
    if (t < length)
        return 1.0;
    return std::fmax(0.0, 1.0 - (t - length) / release);
}

} // namespace

double noteFrequency(int midiNote) { return 440.0 * std::pow(2.0, (midiNote - 69) / 12.0); }

void kick(StereoBuffer& out, double time, float gain)
{
    const int start = frameAt(time);
    const int length = kSampleRate * 45 / 100;
    double phase = 0.0;
    for (int i = 0; i < length; ++i) {
        const double t = double(i) / kSampleRate;
        // The pitch falls from about 160 Hz to 46 Hz in the first 100 ms.
        phase += kTwoPi * (46.0 + 115.0 * std::exp(-t / 0.03)) / kSampleRate;
        const double body = std::sin(phase) * std::exp(-t / 0.3) * std::fmin(1.0, t / 0.0015);
        const double click = t < 0.004 ? std::sin(kTwoPi * 1800 * t) * (1.0 - t / 0.004) * 0.3 : 0.0;
        out.add(start + i, gain * float(std::tanh(1.6 * body) + click));
    }
}

void clap(StereoBuffer& out, double time, float gain, Rng& rng)
{
    const int start = frameAt(time);
    const int length = kSampleRate / 4;
    Filter filter;
    filter.set(1300.0, 0.45);
    for (int i = 0; i < length; ++i) {
        const double t = double(i) / kSampleRate;
        // Three quick slaps, then a short decaying tail, plus a low snare body.
        double env = std::exp(-t / 0.07) * 0.6;
        for (double slap : {0.0, 0.011, 0.022}) {
            if (t >= slap)
                env += std::exp(-(t - slap) / 0.006);
        }
        filter.process(rng.bipolar() * env);
        const double body = std::sin(kTwoPi * 185.0 * t) * std::exp(-t / 0.05) * 0.5;
        const float value = gain * float(filter.band * 1.8 + body);
        out.add(start + i, value, 0.05f);
    }
}

void hat(StereoBuffer& out, double time, float gain, bool open, Rng& rng)
{
    const int start = frameAt(time);
    const double decay = open ? 0.16 : 0.03;
    const int length = int(decay * 6 * kSampleRate);
    Filter filter;
    filter.set(7500.0, 0.2);
    for (int i = 0; i < length; ++i) {
        const double t = double(i) / kSampleRate;
        filter.process(rng.bipolar());
        out.add(start + i, gain * float(filter.high * std::exp(-t / decay)), 0.35f);
    }
}

void bass(StereoBuffer& out, double time, double length, int note, float gain)
{
    const int start = frameAt(time);
    const double release = 0.03;
    const int frames = int((length + release) * kSampleRate);
    const double frequency = noteFrequency(note);
    Saw saw(frequency);
    Filter filter;
    for (int i = 0; i < frames; ++i) {
        const double t = double(i) / kSampleRate;
        filter.set(180.0 + 1500.0 * std::exp(-t / 0.09), 0.55);
        const double tone = filter.process(saw.next()) + 0.5 * std::sin(kTwoPi * frequency * t);
        out.add(start + i, gain * float(tone * envelope(t, 0.004, length, release)));
    }
}

void pad(StereoBuffer& out, double time, double length, const std::vector<int>& notes, float gain, float brightness)
{
    const int start = frameAt(time);
    const double attack = 0.35, release = 0.6;
    const int frames = int((length + release) * kSampleRate);
    const double detune[3] = {-0.006, 0.0, 0.0065};
    const float pans[3] = {-0.7f, 0.0f, 0.7f};
    for (size_t n = 0; n < notes.size(); ++n) {
        for (int d = 0; d < 3; ++d) {
            Saw saw(noteFrequency(notes[n]) * (1.0 + detune[d]), 0.31 * d + 0.17 * n);
            Filter filter;
            filter.set(500.0 + 2200.0 * brightness, 0.2);
            for (int i = 0; i < frames; ++i) {
                const double t = double(i) / kSampleRate;
                const double value = filter.process(saw.next()) * envelope(t, attack, length, release);
                out.add(start + i, gain * float(value) / 3.0f, pans[d]);
            }
        }
    }
}

void lead(StereoBuffer& out, double time, double length, int note, float gain, float pan)
{
    const int start = frameAt(time);
    const double release = 0.08;
    const int frames = int((length + release) * kSampleRate);
    const double frequency = noteFrequency(note);
    Saw a(frequency), b(frequency, 0.5); // their difference is a square wave
    Filter filter;
    for (int i = 0; i < frames; ++i) {
        const double t = double(i) / kSampleRate;
        filter.set(900.0 + 3500.0 * std::exp(-t / 0.12), 0.35);
        const double square = 0.5 * (a.next() - b.next());
        const double level = envelope(t, 0.005, length, release) * (0.7 + 0.3 * std::exp(-t / 0.1));
        out.add(start + i, gain * float(filter.process(square) * level), pan);
    }
}

void echo(StereoBuffer& buffer, double delay, float feedback, float wet)
{
    const size_t offset = size_t(delay * kSampleRate);
    std::vector<float> tapLeft(buffer.left.size(), 0.0f), tapRight(buffer.left.size(), 0.0f);
    // Each repeat crosses to the other side.
    for (size_t i = offset; i < buffer.left.size(); ++i) {
        tapLeft[i] = buffer.right[i - offset] * wet + tapRight[i - offset] * feedback;
        tapRight[i] = buffer.left[i - offset] * wet + tapLeft[i - offset] * feedback;
    }
    for (size_t i = 0; i < buffer.left.size(); ++i) {
        buffer.left[i] += tapLeft[i];
        buffer.right[i] += tapRight[i];
    }
}

} // namespace instruments
