#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace pengui {

class PicDataInterface;

// Makes picture data from "APIC" resources: kind 0 with 8 or 24 bits gives an
// opaque picture, kind 1 with 8 or 24 bits a picture with alpha. Resources
// that fail the checks of ApicImage::parse, and any other kind, give null.
// The picture points into the resource bytes, which must outlive it.
class PicDataFactory {
public:
    // [editor thread] The process-wide factory, made on first use.
    static PicDataFactory& instance();

    // [editor thread] From the module's resource of that name; null when it
    // is missing or refused.
    std::unique_ptr<PicDataInterface> create(const std::string& name) const;
    // [editor thread] From size bytes laid out as an "APIC" resource.
    std::unique_ptr<PicDataInterface> create(const void* data, std::size_t size) const;
};

} // namespace pengui
