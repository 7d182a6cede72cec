#ifndef VALUENOISE_H
#define VALUENOISE_H

#include <vector>

// Tileable value noise on a square lattice, smoothly interpolated, summed
// over octaves (fractal noise). Coordinates are in [0, 1) texture space; the
// lattice wraps, so textures built from it repeat without seams.
class ValueNoise
{
public:
    ValueNoise(unsigned seed, int cells);

    // One octave: a smooth value in [0, 1] at (u, v), `cells` lattice cells
    // across times `frequency`.
    double sample(double u, double v, int frequency = 1) const;
    // Sum of `octaves` octaves, each twice the frequency and half the weight
    // of the one before; normalised to [0, 1].
    double fractal(double u, double v, int octaves, int frequency = 1) const;

private:
    double lattice(int x, int y) const;

    int m_cells;
    std::vector<double> m_values;
};

#endif
