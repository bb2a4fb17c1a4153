#pragma once

namespace basic {

// An object that encodes itself as a self-contained byte record.
class SerializableInterface {
public:
    virtual ~SerializableInterface() = default;
    // Decodes a record of at most `size` bytes; 0 on success. A failed read
    // leaves the object as it was.
    virtual int read(const unsigned char* data, int size) = 0;
    // Encodes into a buffer of at least get_size() bytes; 0 on success.
    virtual int write(unsigned char* buffer) const = 0;
    // Number of bytes write() produces.
    virtual int get_size() const = 0;
};

} // namespace basic
