#include "effect/stages/ShelfStage.h"

#include "mppi/ChangeMark.h"

#include "effect/stages/AntiDenormal.h"
#include "effect/stages/LanePair.h"

#include <algorithm>
#include <cmath>

namespace effect {

namespace {

constexpr int shelf_attribute = 3;
constexpr double default_cutoff = 4000.0;
constexpr double default_level = 1.0;
constexpr double max_cutoff_ratio = 0.49;

} // namespace

void ShelfStage::init(int line_index, mppi::PluginInternal& plugin) {
    cutoff_ = std::make_shared<ParamDlyHsCutoff>();
    cutoff_->init_numbered(default_cutoff, shelf_attribute, line_index);
    level_ = std::make_shared<ParamDlyHsLvl>();
    level_->init_numbered(default_level, shelf_attribute, line_index);
    cutoff_->set_target(this);
    level_->set_target(this);
    plugin.add_param(cutoff_);
    plugin.add_param(level_);
    update_coefficients();
}

void ShelfStage::set_defaults() {
    cutoff_->set_internal(default_cutoff);
    level_->set_internal(default_level);
    reset();
}

void ShelfStage::reset() noexcept {
    update_coefficients();
    x1_ = y1_ = 0.0f;
    shelf_changed_.store(false, std::memory_order_relaxed);
}

void ShelfStage::set_sample_rate(float rate) {
    sample_rate_ = rate;
    update_coefficients();
}

void ShelfStage::tick() noexcept {
    if (mppi::take_change(shelf_changed_))
        update_coefficients();
}

void ShelfStage::process(float* block, int count) noexcept {
    if (g_ >= bypass_level) {
        // Left out, it passes the block: its memory follows what passed, so
        // that it goes on from the signal once it shelves again.
        if (count > 0)
            x1_ = y1_ = block[count - 1];
        return;
    }
    float x1 = x1_, y1 = y1_;
    const float b0 = b0_, b1 = b1_, a1 = a1_;
    for (int i = 0; i < count; ++i) {
        const float x = block[i];
        y1 = anti_denormal::added(b0 * x + b1 * x1 - a1 * y1);
        x1 = x;
        block[i] = y1;
    }
    x1_ = x1;
    y1_ = y1;
}

void ShelfStage::process_pair(ShelfStage& a, float* block_a, ShelfStage& b, float* block_b,
                              int count) noexcept {
#if defined(__SSE2__)
    if (a.g_ < bypass_level && b.g_ < bypass_level) {
        using namespace lane_pair;
        __m128 x1 = lanes(a.x1_, b.x1_), y1 = lanes(a.y1_, b.y1_);
        const __m128 b0 = lanes(a.b0_, b.b0_), b1 = lanes(a.b1_, b.b1_), a1 = lanes(a.a1_, b.a1_);
        for (int i = 0; i < count; ++i) {
            const __m128 x = lanes(block_a[i], block_b[i]);
            const __m128 y =
                _mm_sub_ps(_mm_add_ps(_mm_mul_ps(b0, x), _mm_mul_ps(b1, x1)), _mm_mul_ps(a1, y1));
            y1 = anti_denormal::added_pair(y);
            x1 = x;
            block_a[i] = first(y1);
            block_b[i] = second(y1);
        }
        a.x1_ = first(x1);
        a.y1_ = first(y1);
        b.x1_ = second(x1);
        b.y1_ = second(y1);
        return;
    }
#endif
    a.process(block_a, count);
    b.process(block_b, count);
}

void ShelfStage::notify(mppi::NotifierInterface*) noexcept {
    shelf_changed_.store(true, std::memory_order_relaxed);
}

// H(s) = (1 + g·s)/(1 + s), s normalised to f, through the bilinear
// transform prewarped at f.
void ShelfStage::update_coefficients() noexcept {
    const double f = std::min(cutoff_->get_internal(), max_cutoff_ratio * double(sample_rate_));
    const double g = level_->get_internal();
    const double pi = 3.14159265358979323846;
    const double k = 1.0 / std::tan(pi * f / double(sample_rate_));
    const double norm = 1.0 + k;
    f_ = float(f);
    g_ = float(g);
    b0_ = float((1.0 + g * k) / norm);
    b1_ = float((1.0 - g * k) / norm);
    a1_ = float((1.0 - k) / norm);
}

} // namespace effect
