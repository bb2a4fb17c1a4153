#pragma once

#include "FontFiles.h"
#include "RgbaImage.h"

#include <cairo.h>

#include <string>

namespace skingen {

constexpr double pi = 3.14159265358979323846;

// A transparent cairo drawing surface of a picture's size, with the few
// drawing helpers the skin needs on top of cairo's own calls.
class Canvas {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    int width() const { return width_; }
    int height() const { return height_; }

    // The drawing so far, with straight alpha.
    RgbaImage image() const;
    // Copies a picture in at (x, y), blended over what is there.
    void paste(const RgbaImage& picture, int x, int y);

    void colour(unsigned rgb, double alpha = 1.0) const;
    void rounded_rect(double x, double y, double w, double h, double r) const;
    // A vertical linear gradient from `top` to `bottom` over [y0, y1] as source.
    void vertical_gradient(double y0, double y1, unsigned top, unsigned bottom) const;
    // A radial gradient centred at (cx, cy) as source: `inner` at the
    // centre offset (ox, oy), `outer` at radius r.
    void radial_gradient(double cx, double cy, double ox, double oy, double r, unsigned inner,
                         unsigned outer) const;

    enum Align { left, centre, right };
    // Text with its baseline at y, placed by `align` about x; hinted for
    // crisp small labels. `tracking` adds space between letters.
    void text(const FontFiles& fonts, FontFiles::Style style, double size, double x, double y,
              Align align, const std::string& utf8, unsigned rgb, double tracking = 0.0) const;
    double text_width(const FontFiles& fonts, FontFiles::Style style, double size,
                      const std::string& utf8, double tracking = 0.0) const;

private:
    void select_font(const FontFiles& fonts, FontFiles::Style style, double size) const;

    int width_;
    int height_;
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

} // namespace skingen
