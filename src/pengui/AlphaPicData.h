#pragma once

#include "pengui/ApicImage.h"
#include "pengui/PicDataInterface.h"
#include "pengui/RenderingBufferInterface.h"
#include "pengui/Rotation.h"
#include "pengui/ViewClip.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace pengui {

// A picture with alpha, drawn plainly, at a sub-pixel origin or turned with
// bilinear weights. Pixels (the layout of AlphaPicData8 and AlphaPicData24)
// is the only difference between them: it fetches a pixel's colour bytes and
// alpha, and rounds as its class does, with
//   Pixels(image)                 pointers into the resource;
//   fetch(n, bgr, alpha)          bgr at pixel n's 3 colour bytes (rows of
//                                 width pixels), and its alpha;
//   Pixels::blend(d, s, a)        a buffer pixel under a partial alpha;
//   Pixels::rounds_weights        whether the sub-pixel weights are rounded
//                                 to nearest (else truncated).
template <class Pixels>
class AlphaPicData : public PicDataInterface {
public:
    // [editor thread] image must have passed ApicImage::parse, of the kind
    // and depth of Pixels.
    explicit AlphaPicData(const ApicImage& image)
        : PicDataInterface(image.width, image.height), pixels_(image) {}

    // [editor thread] Alpha 0 keeps the buffer pixel, 255 copies the 4
    // bytes, anything between is Pixels::blend.
    int draw(const Rect& view, RenderingBufferInterface& buffer) const override;
    int draw_rotated(float origin_x, float origin_y, int view_width, int view_height, float angle,
                     RenderingBufferInterface& buffer) const override;
    int draw_at(float origin_x, float origin_y, int view_width, int view_height,
                RenderingBufferInterface& buffer) const override;

private:
    // The colour bytes and alpha of pixel (i, j), inside the picture.
    void texel(int i, int j, const std::uint8_t*& bgr, int& alpha) const {
        pixels_.fetch(static_cast<std::size_t>(j) * width() + i, bgr, alpha);
    }
    // Blends the neighbours (i, j), (i + 1, j), (i, j + 1), (i + 1, j + 1)
    // with weights in 1/256 into the buffer pixel d; neighbours outside the
    // picture count nothing.
    void blend4(int i, int j, const int (&w)[4], std::uint8_t* d) const;
    // The buffer extent a draw may cover: the view size, held to the buffer.
    static int cover(int view, int buffer) { return std::clamp(view, 0, buffer); }

    Pixels pixels_;
};

template <class Pixels>
void AlphaPicData<Pixels>::blend4(int i, int j, const int (&w)[4], std::uint8_t* d) const {
    int sum[3] = {0, 0, 0};
    for (int k = 0; k < 4; ++k) {
        const int pi = i + (k & 1);
        const int pj = j + (k >> 1);
        if (w[k] == 0 || pi < 0 || pj < 0 || pi >= width() || pj >= height()) {
            continue;
        }
        const std::uint8_t* bgr = nullptr;
        int alpha = 0;
        texel(pi, pj, bgr, alpha);
        const int wa = w[k] * alpha;
        for (int c = 0; c < 3; ++c) {
            sum[c] += wa * (bgr[c] - d[c]);
        }
    }
    for (int c = 0; c < 3; ++c) {
        d[c] = static_cast<std::uint8_t>(d[c] + (sum[c] >> 16));
    }
}

template <class Pixels>
int AlphaPicData<Pixels>::draw(const Rect& view, RenderingBufferInterface& buffer) const {
    const ViewClip clip(view, width(), height(), buffer.width(), buffer.height());
    for (int y = clip.src_y0; y < clip.src_y1; ++y) {
        std::uint8_t* d = buffer.pixel(clip.dst_x, clip.dst_row(y));
        for (int x = clip.src_x0; x < clip.src_x1; ++x, d += 4) {
            const std::uint8_t* s = nullptr;
            int a = 0;
            texel(x, y, s, a);
            if (a == 255) {
                std::memcpy(d, s, 4);
            } else if (a != 0) {
                Pixels::blend(d, s, a);
            }
        }
    }
    return 0;
}

template <class Pixels>
int AlphaPicData<Pixels>::draw_rotated(float origin_x, float origin_y, int view_width,
                                       int view_height, float angle,
                                       RenderingBufferInterface& buffer) const {
    if (!std::isfinite(angle) ||
        !(std::fabs(origin_x) < far_away && std::fabs(origin_y) < far_away)) {
        return 0;
    }
    // On the rotation's grid every sample position below is exact, stepping
    // included.
    const double ox = Rotation::snap(origin_x);
    const double oy = Rotation::snap(origin_y);
    const Rotation turn(angle);
    const double c = turn.c;
    const double s = turn.s;
    // The picture's corners in buffer space give the box worth visiting.
    double min_x = far_away, max_x = -far_away, min_y = far_away, max_y = -far_away;
    for (int k = 0; k < 4; ++k) {
        const double px = (k & 1) ? width() : 0;
        const double py = (k & 2) ? height() : 0;
        const double bx = std::floor((px - ox) * c + (py - oy) * s);
        const double by = std::floor((py - oy) * c - (px - ox) * s);
        min_x = std::min(min_x, bx);
        max_x = std::max(max_x, bx);
        min_y = std::min(min_y, by);
        max_y = std::max(max_y, by);
    }
    const int w = cover(view_width, buffer.width());
    const int h = cover(view_height, buffer.height());
    const int x0 = static_cast<int>(std::clamp(min_x - 1, 0.0, double(w)));
    const int x1 = static_cast<int>(std::clamp(max_x + 2, 0.0, double(w)));
    const int y0 = static_cast<int>(std::clamp(min_y - 1, 0.0, double(h)));
    const int y1 = static_cast<int>(std::clamp(max_y + 2, 0.0, double(h)));
    for (int y = y0; y < y1; ++y) {
        double u = x0 * c - y * s + ox;
        double v = x0 * s + y * c + oy;
        std::uint8_t* d = buffer.pixel(x0, y);
        for (int x = x0; x < x1; ++x, u += c, v += s, d += 4) {
            // Only points within a pixel of the picture touch it.
            if (!(u > -1.0 && v > -1.0 && u < width() && v < height())) {
                continue;
            }
            const double fi = std::floor(u);
            const double fj = std::floor(v);
            const int fx = static_cast<int>((u - fi) * 256);
            const int fy = static_cast<int>((v - fj) * 256);
            const int w11 = (fx * fy) >> 8;
            const int weights[4] = {256 - fx - fy + w11, fx - w11, fy - w11, w11};
            blend4(static_cast<int>(fi), static_cast<int>(fj), weights, d);
        }
    }
    return 0;
}

template <class Pixels>
int AlphaPicData<Pixels>::draw_at(float origin_x, float origin_y, int view_width, int view_height,
                                  RenderingBufferInterface& buffer) const {
    const double ox = origin_x;
    const double oy = origin_y;
    if (!(std::fabs(ox) < far_away && std::fabs(oy) < far_away)) {
        return 0;
    }
    const double fi = std::floor(ox);
    const double fj = std::floor(oy);
    const double fx = ox - fi;
    const double fy = oy - fj;
    auto weight = [](double x) {
        return static_cast<int>(Pixels::rounds_weights ? std::floor(x + 0.5) : x);
    };
    const int w11 = weight(fx * fy * 256);
    const int w10 = weight(fx * 256) - w11;
    const int w01 = weight(fy * 256) - w11;
    const int weights[4] = {256 - w11 - w10 - w01, w10, w01, w11};
    const auto i0 = static_cast<std::int64_t>(fi);
    const auto j0 = static_cast<std::int64_t>(fj);
    // Buffer pixel (x, y) blends picture pixels (x + i0, y + j0) to
    // (x + i0 + 1, y + j0 + 1): only x in [-1 - i0, width - i0) touch it.
    const int w = cover(view_width, buffer.width());
    const int h = cover(view_height, buffer.height());
    const int x0 = static_cast<int>(std::clamp<std::int64_t>(-1 - i0, 0, w));
    const int x1 = static_cast<int>(std::clamp<std::int64_t>(width() - i0, 0, w));
    const int y0 = static_cast<int>(std::clamp<std::int64_t>(-1 - j0, 0, h));
    const int y1 = static_cast<int>(std::clamp<std::int64_t>(height() - j0, 0, h));
    for (int y = y0; y < y1; ++y) {
        std::uint8_t* d = buffer.pixel(x0, y);
        for (int x = x0; x < x1; ++x, d += 4) {
            blend4(static_cast<int>(x + i0), static_cast<int>(y + j0), weights, d);
        }
    }
    return 0;
}

} // namespace pengui
