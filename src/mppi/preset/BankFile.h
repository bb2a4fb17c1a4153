#pragma once

#include <cstddef>
#include <string>

namespace mppi {

class BankManager;

// The bank container: the magic "VNPB", a big-endian payload length L, then a
// bank payload of L bytes. It is the content of a bank file (".pbk") and of the
// built-in bank resources. Every operation runs on the editor thread,
// may allocate and block on the file system, and reports by one of these codes.
constexpr int bank_ok = 0;
constexpr int bank_err_open = -1002;          // the file cannot be opened
constexpr int bank_err_write_header = -1004;  // writing the 8-byte header fell short
constexpr int bank_err_read_header = -1005;   // fewer than 8 header bytes
constexpr int bank_err_encode = -1006;        // the bank cannot be encoded
constexpr int bank_err_decode = -1007;        // the payload cannot be decoded
constexpr int bank_err_write_payload = -1008; // writing the payload fell short
constexpr int bank_err_read_payload = -1009;  // fewer than L payload bytes in the file
constexpr int bank_err_magic = -1010;         // the magic is not "VNPB"
constexpr int bank_err_prog_count = -1011;    // check: the program count differs
constexpr int bank_err_value_count = -1012;   // check: a program's value count differs

constexpr char bank_magic[4] = {'V', 'N', 'P', 'B'};
constexpr int bank_container_header_size = 8;

// Loads a bank file into `bank`. With `check`, the file must hold as many
// programs as the bank, each with as many values as the bank's program of the
// same index. A failed load leaves the bank unchanged.
int load_bank_file(const std::string& path, BankManager& bank, bool check);
// As load_bank_file, from a container in a memory block of `size` bytes; a
// block shorter than the header is -1005, a length L running past it -1007.
int load_bank_memory(const void* data, std::size_t size, BankManager& bank, bool check);
// What went wrong, in words, as a phrase to follow the file's name ("is cut
// short"); the code of any other failure in figures.
std::string bank_error_text(int code);
// Writes the bank as a container, creating or truncating the file. A bank that
// cannot be encoded is refused before the file is opened, so an existing file
// is never truncated for nothing.
int save_bank_file(const std::string& path, const BankManager& bank);

} // namespace mppi
