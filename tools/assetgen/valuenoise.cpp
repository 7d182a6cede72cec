#include "valuenoise.h"

#include "rng.h"

#include <cmath>

namespace {
double smoothstep(double t) { return t * t * (3.0 - 2.0 * t); }
}

ValueNoise::ValueNoise(unsigned seed, int cells)
    : m_cells(cells), m_values(size_t(cells) * size_t(cells))
{
    Rng rng(seed * 2654435761u + 1u);
    for (double& value : m_values)
        value = rng.uniform();
}

double ValueNoise::lattice(int x, int y) const
{
    const int span = m_cells;
    x = ((x % span) + span) % span;
    y = ((y % span) + span) % span;
    return m_values[size_t(y) * size_t(span) + size_t(x)];
}

double ValueNoise::sample(double u, double v, int frequency) const
{
    // Higher octaves reuse the same lattice, offset so they do not line up.
    const double x = u * m_cells * frequency + frequency * 0.37;
    const double y = v * m_cells * frequency + frequency * 0.61;
    const int ix = int(std::floor(x));
    const int iy = int(std::floor(y));
    const double fx = smoothstep(x - ix);
    const double fy = smoothstep(y - iy);
    const double top = lattice(ix, iy) + (lattice(ix + 1, iy) - lattice(ix, iy)) * fx;
    const double bottom = lattice(ix, iy + 1) + (lattice(ix + 1, iy + 1) - lattice(ix, iy + 1)) * fx;
    return top + (bottom - top) * fy;
}

double ValueNoise::fractal(double u, double v, int octaves, int frequency) const
{
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    for (int octave = 0; octave < octaves; ++octave) {
        sum += weight * sample(u, v, frequency << octave);
        total += weight;
        weight *= 0.5;
    }
    return sum / total;
}
