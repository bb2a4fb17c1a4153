#pragma once

#include "FontFiles.h"
#include "RgbaImage.h"
#include "pengui/Scale.h"

#include <cairo.h>

#include <string>

namespace skingen {

constexpr double pi = 3.14159265358979323846;

// A transparent cairo drawing surface of a picture's size, with the few
// drawing helpers the skin needs on top of cairo's own calls. Drawing is in
// the picture's logical pixels; at a scale the surface holds the device
// pixels the editor gives the picture: its logical box, anchor at the
// origin, turned into device pixels by the scale's rule, the logical anchor
// point falling exactly on the device anchor.
class Canvas {
public:
    Canvas(int width, int height, pengui::Scale scale = {}, int anchor_x = 0, int anchor_y = 0);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return cr_; }
    pengui::Scale scale() const { return scale_; }

    // The drawing so far (device pixels), with straight alpha.
    RgbaImage image() const;
    // Copies a picture of the same scale in, its top-left on the device
    // pixel of logical point (x, y), blended over what is there.
    void paste(const RgbaImage& picture, int x, int y);
    // Moves the drawing so that logical point (x, y) falls on its device
    // pixel: what is drawn about a control then sits where its pictures do.
    // Undone by cairo_restore after a cairo_save.
    void snap_origin(int x, int y) const;

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

    // A user-space point moved onto the nearest device pixel corner.
    void snap(double& x, double& y) const;

    pengui::Scale scale_;
    int anchor_x_;
    int anchor_y_;
    pengui::Rect box_; // the device box, the anchor at the origin
    cairo_surface_t* surface_;
    cairo_t* cr_;
};

} // namespace skingen
