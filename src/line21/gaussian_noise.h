// Gaussian noise for the drawn waveforms, drawn the same way on every
// platform. The standard library's normal distribution is not: each
// implementation has its own algorithm (and libstdc++'s takes a long-double
// logarithm for every uniform it draws), so the board's lines would differ
// between the Windows and the Linux build of the same profile.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>

namespace orbex::line21 {

class GaussianNoise {
public:
    explicit GaussianNoise(uint32_t seed) : m_random(seed) {}

    // The next value of N(0, 1): Marsaglia's polar method, two values per accepted pair.
    double Next() {
        if (m_haveSpare) {
            m_haveSpare = false;
            return m_spare;
        }
        double u, v, s;
        do {
            u = 2 * Uniform() - 1;
            v = 2 * Uniform() - 1;
            s = u * u + v * v;
        } while (s >= 1 || s == 0);
        const double scale = std::sqrt(-2 * std::log(s) / s);
        m_spare = v * scale;
        m_haveSpare = true;
        return u * scale;
    }

private:
    // Uniform in [0, 1) with 53 random bits from two draws of the generator.
    double Uniform() {
        const uint32_t high = m_random() >> 5, low = m_random() >> 6;
        return (high * 67108864.0 + low) / 9007199254740992.0;
    }

    std::mt19937 m_random;
    double m_spare = 0;
    bool m_haveSpare = false;
};

}  // namespace orbex::line21
