#include "stereobuffer.h"

#include <cmath>

StereoBuffer::StereoBuffer(double seconds)
    : left(size_t(std::ceil(seconds * kSampleRate)), 0.0f), right(left.size(), 0.0f)
{
}

void StereoBuffer::add(int frame, float value, float pan)
{
    if (frame < 0 || frame >= frames())
        return;
    left[size_t(frame)] += value * std::sqrt(0.5f * (1.0f - pan));
    right[size_t(frame)] += value * std::sqrt(0.5f * (1.0f + pan));
}

void StereoBuffer::mix(const StereoBuffer& other, const std::vector<float>& gain)
{
    for (size_t i = 0; i < left.size() && i < other.left.size(); ++i) {
        left[i] += other.left[i] * gain[i];
        right[i] += other.right[i] * gain[i];
    }
}

