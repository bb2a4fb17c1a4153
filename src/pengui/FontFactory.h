#pragma once

#include <cstddef>
#include <memory>
#include <string>

namespace pengui {

class FontInterface;

// Makes fonts from "APIC" resources: kind 2 with 0 bits a single-colour font,
// kind 1 with 8 bits a multicolour one. Resources that fail the checks of
// ApicImage::parse, and any other kind, give null. The font points into the
// resource bytes, which must outlive it.
class FontFactory {
public:
    // [editor thread] The process-wide factory, made on first use.
    static FontFactory& instance();

    // [editor thread] From the module's resource of that name; null when it
    // is missing or refused.
    std::unique_ptr<FontInterface> create(const std::string& name) const;
    // [editor thread] From size bytes laid out as an "APIC" resource.
    std::unique_ptr<FontInterface> create(const void* data, std::size_t size) const;
};

} // namespace pengui
