#include "SkinSheet.h"

#include "Canvas.h"
#include "Theme.h"

#include <algorithm>

namespace skingen {

namespace {
constexpr int sheet_width = 1180;
constexpr int column = 530; // small pictures start here

RgbaImage zoom(const RgbaImage& in, int f) {
    RgbaImage out(in.width * f, in.height * f);
    for (int y = 0; y < out.height; ++y)
        for (int x = 0; x < out.width; ++x)
            out.at(x, y) = in.at(x / f, y / f);
    return out;
}

void checkerboard(const Canvas& c, int x0, int y0, int w, int h) {
    for (int y = 0; y < h; y += 6)
        for (int x = 0; x < w; x += 6) {
            cairo_rectangle(c.cr(), x0 + x, y0 + y, std::min(6, w - x), std::min(6, h - y));
            c.colour(((x + y) / 6) % 2 == 0 ? 0xFFFFFF : 0xC8C8C8);
            cairo_fill(c.cr());
        }
}

// A glyph strip as an opaque picture: black ink on white, separator row red.
RgbaImage strip_picture(const GlyphStrip& s, int x0, int x1) {
    RgbaImage out(x1 - x0, s.height);
    for (int y = 0; y < s.height; ++y)
        for (int x = x0; x < x1; ++x) {
            const std::uint8_t v =
                s.coverage[std::size_t(y) * std::size_t(s.width) + std::size_t(x)];
            const auto g = std::uint8_t(255 - v);
            out.at(x - x0, y) = y == s.height - 1 ? Rgba{255, g, g, 255} : Rgba{g, g, g, 255};
        }
    return out;
}
} // namespace

RgbaImage skin_sheet(const FontFiles& fonts,
                     const std::vector<std::pair<std::string, RgbaImage>>& pictures,
                     const std::vector<std::pair<std::string, GlyphStrip>>& strips) {
    // place everything first, then draw
    struct Place {
        const std::pair<std::string, RgbaImage>* picture;
        int x, y, zoom;
    };
    std::vector<Place> places;
    int left_y = 20, x = column, y = 20, row_h = 0;
    for (const auto& p : pictures) {
        if (p.second.width >= 500) {
            places.push_back({&p, 10, left_y, 1});
            left_y += p.second.height + 24;
            continue;
        }
        const int w = std::max(p.second.width * 2, 64), h = p.second.height * 2 + 16;
        if (x + w > sheet_width - 10) {
            x = column;
            y += row_h + 8;
            row_h = 0;
        }
        places.push_back({&p, x, y, 2});
        x += w + 10;
        row_h = std::max(row_h, h);
    }
    int strip_y = std::max(left_y, y + row_h + 10) + 10;
    const int height = strip_y + int(strips.size()) * 4 * 40 + 20;

    Canvas c(sheet_width, height);
    cairo_rectangle(c.cr(), 0, 0, sheet_width, height);
    c.colour(0x8A8F94);
    cairo_fill(c.cr());
    for (const Place& pl : places) {
        const RgbaImage& img = pl.picture->second;
        c.text(fonts, FontFiles::condensed, 9.0, pl.x, pl.y - 3, Canvas::left, pl.picture->first,
               0x101010);
        checkerboard(c, pl.x, pl.y, img.width * pl.zoom, img.height * pl.zoom);
        c.paste(pl.zoom == 1 ? img : zoom(img, pl.zoom), pl.x, pl.y);
    }
    for (const auto& s : strips) {
        const GlyphStrip& g = s.second;
        int gx = 0;
        for (int part = 0; part < 4; ++part) {
            int end = gx;
            for (int i = 64 * part; i < 64 * (part + 1); ++i)
                end += g.glyph_widths[std::size_t(i)];
            if (part == 0)
                c.text(fonts, FontFiles::condensed, 9.0, 10, strip_y - 3, Canvas::left,
                       s.first + " (codes 0-255, 64 a row; last row: glyph runs)", 0x101010);
            c.paste(zoom(strip_picture(g, gx, end), 2), 10, strip_y);
            strip_y += g.height * 2 + 8;
            gx = end;
        }
        strip_y += 10;
    }
    return c.image();
}

} // namespace skingen
