#include "Quantizer.h"

#include <libimagequant.h>

#include <memory>

namespace skingen {

namespace {
struct LiqFree {
    void operator()(liq_attr* p) const { liq_attr_destroy(p); }
    void operator()(liq_image* p) const { liq_image_destroy(p); }
    void operator()(liq_result* p) const { liq_result_destroy(p); }
};
} // namespace

bool quantize(const RgbaImage& picture, bool with_alpha, IndexedImage& out, std::string& error) {
    // Fully transparent pixels carry no colour; one transparent entry takes them all.
    std::vector<Rgba> input = picture.pixels;
    for (Rgba& p : input) {
        if (!with_alpha)
            p.a = 255;
        else if (p.a == 0)
            p = {0, 0, 0, 0};
    }
    std::unique_ptr<liq_attr, LiqFree> attr(liq_attr_create());
    liq_set_max_colors(attr.get(), 256);
    liq_set_speed(attr.get(), 1);
    liq_set_quality(attr.get(), 0, 100);
    std::unique_ptr<liq_image, LiqFree> image(
        liq_image_create_rgba(attr.get(), input.data(), picture.width, picture.height, 0.0));
    liq_result* raw = nullptr;
    if (!image || liq_image_quantize(image.get(), attr.get(), &raw) != LIQ_OK) {
        error = "libimagequant could not reduce the picture";
        return false;
    }
    std::unique_ptr<liq_result, LiqFree> result(raw);
    liq_set_dithering_level(result.get(), 0.0f);
    out.width = picture.width;
    out.height = picture.height;
    out.index.assign(input.size(), 0);
    if (liq_write_remapped_image(result.get(), image.get(), out.index.data(), out.index.size()) !=
        LIQ_OK) {
        error = "libimagequant could not remap the picture";
        return false;
    }
    const liq_palette* pal = liq_get_palette(result.get());
    out.palette.clear();
    for (unsigned i = 0; i < pal->count; ++i)
        out.palette.push_back({pal->entries[i].r, pal->entries[i].g, pal->entries[i].b, 255});
    const std::size_t size = with_alpha ? std::max<std::size_t>(2, out.palette.size()) : 256;
    out.palette.resize(size, Rgba{0, 0, 0, 255});
    out.alpha.clear();
    if (with_alpha)
        for (const Rgba& p : picture.pixels)
            out.alpha.push_back(p.a);
    return true;
}

} // namespace skingen
