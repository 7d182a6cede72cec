#ifndef STEREOBUFFER_H
#define STEREOBUFFER_H

#include <vector>

// A stereo signal at 44.1 kHz, as two float channels.
struct StereoBuffer
{
    static const int kSampleRate = 44100;

    explicit StereoBuffer(double seconds);
    int frames() const { return int(left.size()); }
    // Adds a mono sample at `frame`, placed by `pan` (-1 left .. +1 right).
    void add(int frame, float value, float pan = 0.0f);
    void mix(const StereoBuffer& other, const std::vector<float>& gain);

    std::vector<float> left, right;
};

#endif
