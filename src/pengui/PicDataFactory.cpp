#include "pengui/PicDataFactory.h"

#include "pengui/AlphaPicData24.h"
#include "pengui/AlphaPicData8.h"
#include "pengui/ApicImage.h"
#include "pengui/PicData24.h"
#include "pengui/PicData8.h"

namespace pengui {

namespace {
std::unique_ptr<PicDataInterface> make(const ApicImage& image) {
    if (image.kind == 0) {
        if (image.bits == 8) {
            return std::make_unique<PicData8>(image);
        }
        return std::make_unique<PicData24>(image);
    }
    if (image.kind == 1) {
        if (image.bits == 8) {
            return std::make_unique<AlphaPicData8>(image);
        }
        return std::make_unique<AlphaPicData24>(image);
    }
    return nullptr;
}
} // namespace

PicDataFactory& PicDataFactory::instance() {
    static PicDataFactory factory;
    return factory;
}

std::unique_ptr<PicDataInterface> PicDataFactory::create(const std::string& name) const {
    ApicImage image;
    return ApicImage::find(name, image) ? make(image) : nullptr;
}

std::unique_ptr<PicDataInterface> PicDataFactory::create(const void* data, std::size_t size) const {
    ApicImage image;
    return ApicImage::parse(data, size, image) ? make(image) : nullptr;
}

} // namespace pengui
