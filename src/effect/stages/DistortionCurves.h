#pragma once

#include "mppi/CubicTable.h"

// The two shaping curves of the distortion, each 16 cubic segments: a tanh
// soft clipper over [-8, 8] and one period of a sine for the wave folder.
// Built once, on first use, and shared by every stage.
class DistortionCurves {
public:
    // Coordinate units of the folder per radian: one period spans 16 segments.
    static constexpr float fold_units_per_radian = 16.0f / 6.28318530717958647692f;

    // [main thread, first call] The tables.
    static const DistortionCurves& instance();

    // About tanh(x); held at tanh(-8) and tanh(8) outside [-8, 8].
    float overdrive(float x) const noexcept;
    // About sin(2π·u/16) for any u: the table repeats every 16 units.
    float puncher(float u) const noexcept;

private:
    DistortionCurves();

    mppi::CubicTable<float> overdrive_;
    mppi::CubicTable<float> puncher_;
    float low_, high_;
};
