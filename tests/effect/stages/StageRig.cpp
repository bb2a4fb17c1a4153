#include "StageRig.h"

#include <cmath>

std::vector<float> impulse(std::size_t length) {
    std::vector<float> x(length, 0.0f);
    x[0] = 1.0f;
    return x;
}

std::vector<float> sine(std::size_t length, double freq, double rate, double amplitude) {
    std::vector<float> x(length);
    const double w = 2.0 * M_PI * freq / rate;
    for (std::size_t i = 0; i < length; ++i)
        x[i] = float(amplitude * std::sin(w * double(i)));
    return x;
}

double rms(const float* x, std::size_t n) {
    double s = 0.0;
    for (std::size_t i = 0; i < n; ++i)
        s += double(x[i]) * x[i];
    return std::sqrt(s / double(n));
}

double gain_db(const std::vector<float>& h, double freq, double rate) {
    const std::complex<double> rot = std::polar(1.0, -2.0 * M_PI * freq / rate);
    std::complex<double> phasor = 1.0, sum = 0.0;
    for (float v : h) {
        sum += double(v) * phasor;
        phasor *= rot;
    }
    return 20.0 * std::log10(std::abs(sum));
}
