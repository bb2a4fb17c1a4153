#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace skingen {

namespace {
double red(unsigned rgb) {
    return double((rgb >> 16) & 0xFF) / 255.0;
}
double green(unsigned rgb) {
    return double((rgb >> 8) & 0xFF) / 255.0;
}
double blue(unsigned rgb) {
    return double(rgb & 0xFF) / 255.0;
}

// Premultiplied to straight alpha, rounded to nearest.
std::uint8_t unpremultiply(std::uint32_t c, std::uint32_t a) {
    return a == 0 ? 0 : std::uint8_t(std::min<std::uint32_t>(255, (c * 255 + a / 2) / a));
}
} // namespace

Canvas::Canvas(int width, int height, pengui::Scale scale, int anchor_x, int anchor_y)
    : scale_(scale), anchor_x_(anchor_x), anchor_y_(anchor_y),
      box_(scale.device(pengui::Rect{-anchor_x, -anchor_y, width - anchor_x, height - anchor_y})),
      surface_(
          cairo_image_surface_create(CAIRO_FORMAT_ARGB32, box_.x1 - box_.x0, box_.y1 - box_.y0)),
      cr_(cairo_create(surface_)) {
    cairo_set_antialias(cr_, CAIRO_ANTIALIAS_GRAY);
    if (scale != pengui::Scale()) {
        const double s = scale.factor();
        cairo_translate(cr_, -anchor_x * s - box_.x0, -anchor_y * s - box_.y0);
        cairo_scale(cr_, s, s);
    }
}

Canvas::~Canvas() {
    cairo_destroy(cr_);
    cairo_surface_destroy(surface_);
}

RgbaImage Canvas::image() const {
    cairo_surface_flush(surface_);
    const int width = cairo_image_surface_get_width(surface_);
    const int height = cairo_image_surface_get_height(surface_);
    RgbaImage out(width, height);
    const unsigned char* data = cairo_image_surface_get_data(surface_);
    const int stride = cairo_image_surface_get_stride(surface_);
    for (int y = 0; y < height; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(data + y * stride);
        for (int x = 0; x < width; ++x) {
            const std::uint32_t p = row[x];
            const std::uint32_t a = p >> 24;
            out.at(x, y) = {unpremultiply((p >> 16) & 0xFF, a), unpremultiply((p >> 8) & 0xFF, a),
                            unpremultiply(p & 0xFF, a), std::uint8_t(a)};
        }
    }
    return out;
}

void Canvas::paste(const RgbaImage& picture, int x, int y) {
    cairo_surface_t* s =
        cairo_image_surface_create(CAIRO_FORMAT_ARGB32, picture.width, picture.height);
    unsigned char* data = cairo_image_surface_get_data(s);
    const int stride = cairo_image_surface_get_stride(s);
    for (int j = 0; j < picture.height; ++j) {
        auto* row = reinterpret_cast<std::uint32_t*>(data + j * stride);
        for (int i = 0; i < picture.width; ++i) {
            const Rgba& p = picture.at(i, j);
            const auto pm = [&](std::uint8_t c) { return (std::uint32_t(c) * p.a + 127) / 255; };
            row[i] = std::uint32_t(p.a) << 24 | pm(p.r) << 16 | pm(p.g) << 8 | pm(p.b);
        }
    }
    cairo_surface_mark_dirty(s);
    cairo_save(cr_);
    cairo_identity_matrix(cr_);
    cairo_set_source_surface(cr_, s, scale_.device(x - anchor_x_) - box_.x0,
                             scale_.device(y - anchor_y_) - box_.y0);
    cairo_paint(cr_);
    cairo_restore(cr_);
    cairo_surface_destroy(s);
}

void Canvas::snap_origin(int x, int y) const {
    if (scale_ == pengui::Scale()) {
        return;
    }
    const double s = scale_.factor();
    cairo_translate(cr_, (scale_.device(x) - x * s) / s, (scale_.device(y) - y * s) / s);
}

void Canvas::snap(double& x, double& y) const {
    cairo_user_to_device(cr_, &x, &y);
    x = std::round(x);
    y = std::round(y);
    cairo_device_to_user(cr_, &x, &y);
}

void Canvas::colour(unsigned rgb, double alpha) const {
    cairo_set_source_rgba(cr_, red(rgb), green(rgb), blue(rgb), alpha);
}

void Canvas::rounded_rect(double x, double y, double w, double h, double r) const {
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x + w - r, y + r, r, -pi / 2, 0);
    cairo_arc(cr_, x + w - r, y + h - r, r, 0, pi / 2);
    cairo_arc(cr_, x + r, y + h - r, r, pi / 2, pi);
    cairo_arc(cr_, x + r, y + r, r, pi, 3 * pi / 2);
    cairo_close_path(cr_);
}

void Canvas::vertical_gradient(double y0, double y1, unsigned top, unsigned bottom) const {
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y0, 0, y1);
    cairo_pattern_add_color_stop_rgb(p, 0, red(top), green(top), blue(top));
    cairo_pattern_add_color_stop_rgb(p, 1, red(bottom), green(bottom), blue(bottom));
    cairo_set_source(cr_, p);
    cairo_pattern_destroy(p);
}

void Canvas::radial_gradient(double cx, double cy, double ox, double oy, double r, unsigned inner,
                             unsigned outer) const {
    cairo_pattern_t* p = cairo_pattern_create_radial(cx + ox, cy + oy, 0, cx, cy, r);
    cairo_pattern_add_color_stop_rgb(p, 0, red(inner), green(inner), blue(inner));
    cairo_pattern_add_color_stop_rgb(p, 1, red(outer), green(outer), blue(outer));
    cairo_set_source(cr_, p);
    cairo_pattern_destroy(p);
}

void Canvas::select_font(const FontFiles& fonts, FontFiles::Style style, double size) const {
    cairo_set_font_face(cr_, fonts.cairo_face(style));
    cairo_set_font_size(cr_, size);
    cairo_font_options_t* o = cairo_font_options_create();
    cairo_font_options_set_antialias(o, CAIRO_ANTIALIAS_GRAY);
    cairo_font_options_set_hint_style(o, CAIRO_HINT_STYLE_FULL);
    cairo_font_options_set_hint_metrics(o, CAIRO_HINT_METRICS_ON);
    cairo_set_font_options(cr_, o);
    cairo_font_options_destroy(o);
}

double Canvas::text_width(const FontFiles& fonts, FontFiles::Style style, double size,
                          const std::string& utf8, double tracking) const {
    select_font(fonts, style, size);
    cairo_text_extents_t e;
    cairo_text_extents(cr_, utf8.c_str(), &e);
    // tracking counts between letters, not after the last one
    std::size_t letters = 0;
    for (unsigned char c : utf8)
        letters += (c & 0xC0) != 0x80;
    return e.x_advance + tracking * double(letters > 0 ? letters - 1 : 0);
}

void Canvas::text(const FontFiles& fonts, FontFiles::Style style, double size, double x, double y,
                  Align align, const std::string& utf8, unsigned rgb, double tracking) const {
    const double w = text_width(fonts, style, size, utf8, tracking);
    double pen = align == left ? x : align == centre ? x - w / 2 : x - w;
    double base = y;
    // Letters start on whole device pixels, for crisp hinted text.
    snap(pen, base);
    colour(rgb);
    if (tracking == 0.0) {
        cairo_move_to(cr_, pen, base);
        cairo_show_text(cr_, utf8.c_str());
        return;
    }
    for (std::size_t i = 0; i < utf8.size();) {
        std::size_t n = 1;
        while (i + n < utf8.size() && (static_cast<unsigned char>(utf8[i + n]) & 0xC0) == 0x80)
            ++n;
        const std::string letter = utf8.substr(i, n);
        cairo_text_extents_t e;
        cairo_text_extents(cr_, letter.c_str(), &e);
        double at = pen;
        double line = base;
        snap(at, line);
        cairo_move_to(cr_, at, line);
        cairo_show_text(cr_, letter.c_str());
        pen += e.x_advance + tracking;
        i += n;
    }
}

} // namespace skingen
