#include "GlyphStrip.h"

#include <algorithm>
#include <cmath>

namespace skingen {

namespace {
bool is_placeholder(int code) {
    return code < 32 || (code >= 127 && code < 160);
}

// Glyph widths that sum to the strip width: the natural widths clamped to the
// range; the placeholders take up the difference first, then the letters in
// `order` one pixel at a time.
bool fit_widths(const GlyphStripSpec& spec, std::vector<int>& widths, std::string& error) {
    std::vector<int> order;
    for (int c = '0'; c <= '9'; ++c)
        order.push_back(c);
    for (int c = 160; c < 256; ++c)
        order.push_back(c);
    for (int c = 33; c < 127; ++c)
        if (c < '0' || c > '9')
            order.push_back(c);
    std::vector<int> placeholders;
    for (int c = 0; c < 256; ++c)
        if (is_placeholder(c))
            placeholders.push_back(c);
    int diff = spec.width;
    for (int w : widths)
        diff -= w;
    for (const std::vector<int>* list : {&placeholders, &order}) {
        bool moved = true;
        while (diff != 0 && moved) {
            moved = false;
            for (int c : *list) {
                if (diff == 0)
                    break;
                const int step = diff > 0 ? 1 : -1;
                const int w = widths[std::size_t(c)] + step;
                if (w >= spec.min_glyph && w <= spec.max_glyph) {
                    widths[std::size_t(c)] = w;
                    diff -= step;
                    moved = true;
                }
            }
        }
    }
    if (diff != 0) {
        error = std::string(spec.name) + ": the glyph widths cannot fill the strip";
        return false;
    }
    return true;
}

// The typeface at the strip's pixel size, and each code's natural (hinted)
// advance; false with `error` set when a character is missing.
bool natural_widths(const FontFiles& fonts, const GlyphStripSpec& spec, std::vector<int>& natural,
                    std::string& error) {
    FT_Face face = fonts.face(spec.style);
    FT_Set_Char_Size(face, 0, FT_F26Dot6(std::lround(spec.pixel_size * 64)), 72, 72);
    natural.assign(256, spec.min_glyph);
    for (int c = 32; c < 256; ++c) {
        if (is_placeholder(c))
            continue;
        if (FT_Load_Char(face, FT_ULong(c), FT_LOAD_DEFAULT) != 0) {
            error = std::string(spec.name) + ": the typeface has no glyph for code " +
                    std::to_string(c);
            return false;
        }
        natural[std::size_t(c)] = int((face->glyph->advance.x + 32) >> 6);
    }
    return true;
}

// Draws the 256 glyphs into cells of `widths` (the face set to the strip's size).
void draw_glyphs(const FontFiles& fonts, const GlyphStripSpec& spec,
                 const std::vector<int>& natural, const std::vector<int>& widths, GlyphStrip& out) {
    FT_Face face = fonts.face(spec.style);
    int strip_width = 0;
    for (int w : widths)
        strip_width += w;
    out.width = strip_width;
    out.height = spec.height;
    out.glyph_widths = widths;
    out.coverage.assign(std::size_t(strip_width) * std::size_t(spec.height), 0);
    const int ink_rows = spec.height - 1;
    auto put = [&](int x, int y, int v) {
        std::uint8_t& p = out.coverage[std::size_t(y) * std::size_t(strip_width) + std::size_t(x)];
        p = std::uint8_t(std::max<int>(p, v));
    };
    int x0 = 0;
    for (int c = 0; c < 256; ++c) {
        const int w = widths[std::size_t(c)];
        // separator row: runs alternate 0 and 255, one run per glyph
        for (int x = x0; x < x0 + w; ++x)
            out.coverage[std::size_t(ink_rows) * std::size_t(strip_width) + std::size_t(x)] =
                std::uint8_t(c % 2 == 0 ? 0 : 255);
        if (is_placeholder(c)) {
            const int top = spec.baseline - int(std::lround(spec.pixel_size * 0.6));
            for (int x = x0 + 1; x < x0 + w - 1; ++x) {
                put(x, top, 110);
                put(x, spec.baseline - 1, 110);
            }
            for (int y = top; y < spec.baseline; ++y) {
                put(x0 + 1, y, 110);
                put(x0 + w - 2, y, 110);
            }
        } else if (c != 32) {
            // a glyph narrower or wider than its cell is centred in it; one
            // wider than the largest cell is squeezed to fit, and one that
            // rises above the strip (capitals with accents) is made shorter
            const int nat = natural[std::size_t(c)];
            const double sx = nat > spec.max_glyph ? double(spec.max_glyph) / nat : 1.0;
            FT_Load_Char(face, FT_ULong(c), FT_LOAD_DEFAULT);
            const double top = double(face->glyph->metrics.horiBearingY) / 64.0;
            const double sy = top > spec.baseline ? spec.baseline / top : 1.0;
            if (sx != 1.0 || sy != 1.0) {
                FT_Matrix m{FT_Fixed(65536.0 * sx), 0, 0, FT_Fixed(65536.0 * sy)};
                FT_Set_Transform(face, &m, nullptr);
            }
            FT_Load_Char(face, FT_ULong(c), FT_LOAD_RENDER);
            FT_Set_Transform(face, nullptr, nullptr);
            const FT_Bitmap& bm = face->glyph->bitmap;
            const int adv = int((face->glyph->advance.x + 32) >> 6);
            const int pen = x0 + (w - adv) / 2;
            for (unsigned r = 0; r < bm.rows; ++r) {
                const int y = spec.baseline - face->glyph->bitmap_top + int(r);
                if (y < 0 || y >= ink_rows)
                    continue;
                for (unsigned i = 0; i < bm.width; ++i) {
                    const int x = pen + face->glyph->bitmap_left + int(i);
                    if (x >= x0 && x < x0 + w)
                        put(x, y, bm.buffer[std::size_t(r) * std::size_t(bm.pitch) + i]);
                }
            }
        }
        x0 += w;
    }
}
} // namespace

bool build_glyph_strip(const FontFiles& fonts, const GlyphStripSpec& spec, GlyphStrip& out,
                       std::string& error) {
    std::vector<int> natural;
    if (!natural_widths(fonts, spec, natural, error))
        return false;
    std::vector<int> widths(256);
    for (int c = 0; c < 256; ++c)
        widths[std::size_t(c)] =
            std::clamp(natural[std::size_t(c)], spec.min_glyph, spec.max_glyph);
    if (!fit_widths(spec, widths, error))
        return false;
    draw_glyphs(fonts, spec, natural, widths, out);
    return true;
}

GlyphStrip scaled_glyph_strip(const FontFiles& fonts, const GlyphStripSpec& spec,
                              const GlyphStrip& at_1, pengui::Scale scale) {
    const double s = scale.factor();
    GlyphStripSpec at_scale = spec;
    at_scale.height = scale.device(spec.height);
    at_scale.max_glyph = int(std::ceil(spec.max_glyph * s));
    at_scale.pixel_size = spec.pixel_size * s;
    at_scale.baseline = int(std::floor(spec.baseline * s));
    std::vector<int> widths(256);
    for (std::size_t c = 0; c < widths.size(); ++c)
        widths[c] = int(std::floor(at_1.glyph_widths[c] * s));
    std::vector<int> natural;
    std::string unused;
    // Every character was found at scale 1.
    natural_widths(fonts, at_scale, natural, unused);
    GlyphStrip out;
    draw_glyphs(fonts, at_scale, natural, widths, out);
    return out;
}

} // namespace skingen
