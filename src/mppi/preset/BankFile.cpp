#include "mppi/preset/BankFile.h"

#include "basic/BigEndian.h"
#include "mppi/preset/BankManager.h"

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

namespace mppi {

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The payload length from a container header whose magic is checked; 0 on
// success, otherwise -1010.
int parse_header(const unsigned char* header, std::uint32_t& length) {
    if (std::memcmp(header, bank_magic, sizeof bank_magic) != 0)
        return bank_err_magic;
    length = basic::read_u32(header + 4);
    return bank_ok;
}

int decode_payload(const unsigned char* data, std::uint32_t size, BankManager& bank, bool check) {
    if (size > static_cast<std::uint32_t>(INT_MAX))
        return bank_err_decode;
    BankManager decoded;
    if (decoded.read(data, static_cast<int>(size)) != 0)
        return bank_err_decode;
    if (check) {
        if (decoded.get_nbr_progs() != bank.get_nbr_progs())
            return bank_err_prog_count;
        for (int i = 0; i < decoded.get_nbr_progs(); ++i) {
            if (decoded.use_prog(i).get_nbr_values() != bank.use_prog(i).get_nbr_values())
                return bank_err_value_count;
        }
    }
    bank = std::move(decoded);
    return bank_ok;
}

} // namespace

int load_bank_file(const std::string& path, BankManager& bank, bool check) {
    FilePtr file(std::fopen(path.c_str(), "rb"));
    if (!file)
        return bank_err_open;
    unsigned char header[bank_container_header_size];
    if (std::fread(header, 1, sizeof header, file.get()) != sizeof header)
        return bank_err_read_header;
    std::uint32_t length = 0;
    if (const int err = parse_header(header, length); err != bank_ok)
        return err;

    // Read in chunks so that a length claiming more than the file holds costs
    // no more memory than the file itself.
    constexpr std::size_t chunk = 64 * 1024;
    std::vector<unsigned char> payload;
    while (payload.size() < length) {
        const std::size_t want = std::min<std::size_t>(chunk, length - payload.size());
        const std::size_t old_size = payload.size();
        payload.resize(old_size + want);
        if (std::fread(payload.data() + old_size, 1, want, file.get()) != want)
            return bank_err_read_payload;
    }
    return decode_payload(payload.data(), length, bank, check);
}

int load_bank_memory(const void* data, std::size_t size, BankManager& bank, bool check) {
    if (data == nullptr || size < bank_container_header_size)
        return bank_err_read_header;
    const auto* bytes = static_cast<const unsigned char*>(data);
    std::uint32_t length = 0;
    if (const int err = parse_header(bytes, length); err != bank_ok)
        return err;
    if (length > size - bank_container_header_size)
        return bank_err_decode;
    return decode_payload(bytes + bank_container_header_size, length, bank, check);
}

std::string bank_error_text(int code) {
    switch (code) {
    case bank_err_open:
        return "cannot be opened";
    case bank_err_read_header:
        return "is too short to be a bank file";
    case bank_err_magic:
        return "is not a Quevrin bank file";
    case bank_err_read_payload:
        return "is cut short";
    case bank_err_decode:
        return "holds a damaged bank";
    case bank_err_write_header:
    case bank_err_write_payload:
        return "could not be written completely";
    case bank_err_encode:
        return "cannot hold this bank";
    case bank_err_prog_count:
        return "holds another number of programs than the bank it would replace";
    case bank_err_value_count:
        return "holds programs of another number of values than the bank it would replace";
    default:
        return "failed with code " + std::to_string(code);
    }
}

int save_bank_file(const std::string& path, const BankManager& bank) {
    const int length = bank.get_size();
    std::vector<unsigned char> payload(static_cast<std::size_t>(length));
    if (bank.write(payload.data()) != 0)
        return bank_err_encode;

    FilePtr file(std::fopen(path.c_str(), "wb"));
    if (!file)
        return bank_err_open;
    // Unbuffered, so that a short write shows at the write that fell short.
    std::setvbuf(file.get(), nullptr, _IONBF, 0);
    unsigned char header[bank_container_header_size];
    std::memcpy(header, bank_magic, sizeof bank_magic);
    basic::write_u32(header + 4, static_cast<std::uint32_t>(length));
    if (std::fwrite(header, 1, sizeof header, file.get()) != sizeof header)
        return bank_err_write_header;
    if (std::fwrite(payload.data(), 1, payload.size(), file.get()) != payload.size() ||
        std::fclose(file.release()) != 0)
        return bank_err_write_payload;
    return bank_ok;
}

} // namespace mppi
