#include "pengui/FontFactory.h"

#include "pengui/ApicImage.h"
#include "pengui/MulticolorFont.h"
#include "pengui/UnicolorFont.h"

namespace pengui {

namespace {
std::unique_ptr<FontInterface> make(const ApicImage& image) {
    if (image.kind == 2 && image.bits == 0) {
        return std::make_unique<UnicolorFont>(image);
    }
    if (image.kind == 1 && image.bits == 8) {
        return std::make_unique<MulticolorFont>(image);
    }
    return nullptr;
}
} // namespace

FontFactory& FontFactory::instance() {
    static FontFactory factory;
    return factory;
}

std::unique_ptr<FontInterface> FontFactory::create(const std::string& name) const {
    ApicImage image;
    return ApicImage::find(name, image) ? make(image) : nullptr;
}

std::unique_ptr<FontInterface> FontFactory::create(const void* data, std::size_t size) const {
    ApicImage image;
    return ApicImage::parse(data, size, image) ? make(image) : nullptr;
}

} // namespace pengui
