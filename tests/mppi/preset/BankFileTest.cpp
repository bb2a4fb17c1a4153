// Bank containers in files and memory: the file layout, the structure check,
// every documented code, and failed loads (truncated, corrupted, unopenable)
// that leave the target bank unchanged.
#include "PresetTestData.h"

#include "basic/BigEndian.h"
#include "mppi/preset/BankFile.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <set>
#include <unistd.h>

using namespace mppi;
using namespace preset_test;

namespace {

std::string temp_path(const std::string& name) {
    return ::testing::TempDir() + "quevrin_bank_" + std::to_string(::getpid()) + "_" + name;
}

std::vector<unsigned char> read_file(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void write_file(const std::string& path, const std::vector<unsigned char>& bytes, std::size_t n) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()), n);
}

std::vector<unsigned char> container(const BankManager& bank) {
    std::vector<unsigned char> bytes = {'V', 'N', 'P', 'B', 0, 0, 0, 0};
    basic::write_u32(&bytes[4], static_cast<std::uint32_t>(bank.get_size()));
    const auto payload = encode(bank);
    bytes.insert(bytes.end(), payload.begin(), payload.end());
    return bytes;
}

// The editor's eight memories of 121 values.
BankManager memories() {
    return make_bank(8, 121);
}

} // namespace

TEST(BankFile, saves_eight_programs_of_121_values_in_4496_bytes) {
    BankManager bank = memories();
    bank.use_prog(3).set_prog_name(std::string(70, 'x'));
    bank.use_prog(5).set_value(7, 1.0f / 3.0f);
    bank.use_prog(5).set_value(8, 1e-41f);
    const std::string path = temp_path("eight.pbk");
    ASSERT_EQ(save_bank_file(path, bank), bank_ok);
    const auto bytes = read_file(path);
    ASSERT_EQ(bytes.size(), 4496u);
    const std::vector<unsigned char> head = {'V', 'N', 'P', 'B', 0x00, 0x00, 0x11, 0x88,
                                             0,   0,   0,   8,   0,    0,    0x02, 0x30};
    EXPECT_TRUE(std::equal(head.begin(), head.end(), bytes.begin()));

    BankManager back = make_bank(8, 121);
    ASSERT_EQ(load_bank_file(path, back, true), bank_ok);
    EXPECT_EQ(back.use_prog(3).get_prog_name(), std::string(63, 'x'));
    back.use_prog(3).set_prog_name(bank.use_prog(3).get_prog_name());
    EXPECT_TRUE(same_bank(back, bank));
    std::remove(path.c_str());
}

TEST(BankFile, checks_structure_only_when_asked) {
    BankManager hundred = make_bank(8, 121);
    hundred.use_prog(6).set_nbr_values(100);
    // Records of different sizes cannot be saved, so this container is built
    // record by record.
    std::vector<unsigned char> odd = {'V', 'N', 'P', 'B', 0, 0, 0, 0, 0, 0, 0, 8, 0, 0, 0x02, 0x30};
    for (int i = 0; i < 8; ++i) {
        auto rec = encode(hundred.use_prog(i));
        rec.resize(560, 0);
        odd.insert(odd.end(), rec.begin(), rec.end());
    }
    basic::write_u32(&odd[4], static_cast<std::uint32_t>(odd.size() - 8));
    struct Case {
        const char* what;
        std::vector<unsigned char> bytes;
        int checked;
    };
    const Case cases[] = {
        {"34 programs into 8", container(make_bank(34, 121)), bank_err_prog_count},
        {"a program of 100 values", odd, bank_err_value_count},
        {"an empty bank", container(make_bank(0, 121)), bank_err_prog_count},
    };
    for (const Case& c : cases) {
        BankManager bank = memories();
        const BankManager before = bank;
        EXPECT_EQ(load_bank_memory(c.bytes.data(), c.bytes.size(), bank, true), c.checked)
            << c.what;
        EXPECT_TRUE(same_bank(bank, before)) << c.what;
        const std::string path = temp_path("check.pbk");
        write_file(path, c.bytes, c.bytes.size());
        EXPECT_EQ(load_bank_file(path, bank, true), c.checked) << c.what;
        EXPECT_TRUE(same_bank(bank, before)) << c.what;
        EXPECT_EQ(load_bank_file(path, bank, false), bank_ok) << c.what;
        std::remove(path.c_str());
    }
    BankManager bank = memories();
    ASSERT_EQ(load_bank_memory(odd.data(), odd.size(), bank, false), bank_ok);
    EXPECT_EQ(bank.use_prog(6).get_nbr_values(), 100);
    EXPECT_EQ(bank.use_prog(7).get_nbr_values(), 121);
    ASSERT_EQ(load_bank_memory(cases[2].bytes.data(), cases[2].bytes.size(), bank, false), 0);
    EXPECT_EQ(bank.get_nbr_progs(), 0);
}

TEST(BankFile, refuses_a_wrong_magic_and_changes_nothing) {
    auto bytes = container(memories());
    bytes[3] = 'X';
    BankManager bank = make_bank(2, 5);
    const BankManager before = bank;
    EXPECT_EQ(load_bank_memory(bytes.data(), bytes.size(), bank, false), bank_err_magic);
    const std::string path = temp_path("magic.pbk");
    write_file(path, bytes, bytes.size());
    EXPECT_EQ(load_bank_file(path, bank, false), bank_err_magic);
    EXPECT_TRUE(same_bank(bank, before));
    std::remove(path.c_str());
}

// File: a short header is -1005, a short payload -1009. Memory: a short
// header is -1005, a length past the block -1007.
TEST(BankFile, every_prefix_fails_with_its_code_and_changes_nothing) {
    const auto bytes = container(make_bank(3, 6));
    const std::string path = temp_path("prefix.pbk");
    BankManager bank = make_bank(2, 5);
    const BankManager before = bank;
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        const bool short_header = n < 8;
        EXPECT_EQ(load_bank_memory(bytes.data(), n, bank, false),
                  short_header ? bank_err_read_header : bank_err_decode)
            << n;
        write_file(path, bytes, n);
        EXPECT_EQ(load_bank_file(path, bank, false),
                  short_header ? bank_err_read_header : bank_err_read_payload)
            << n;
        ASSERT_TRUE(same_bank(bank, before)) << n;
    }
    EXPECT_EQ(load_bank_memory(nullptr, 100, bank, false), bank_err_read_header);
    std::remove(path.c_str());
}

TEST(BankFile, random_byte_flips_load_or_fail_with_a_load_code) {
    const std::set<int> load_codes = {bank_ok, bank_err_decode, bank_err_magic, bank_err_prog_count,
                                      bank_err_value_count};
    const auto valid = container(make_bank(4, 10));
    std::mt19937 rng(20261207);
    int loaded = 0;
    for (int round = 0; round < 3000; ++round) {
        auto bytes = valid;
        const int flips = 1 + static_cast<int>(rng() % 4);
        for (int f = 0; f < flips; ++f) {
            const std::size_t at = rng() % (round % 2 ? 16 : bytes.size());
            bytes[at] ^= static_cast<unsigned char>(1u << (rng() % 8));
        }
        BankManager bank = make_bank(4, 10);
        bank.use_prog(0).set_prog_name("Target");
        const BankManager before = bank;
        const int code = load_bank_memory(bytes.data(), bytes.size(), bank, round % 3 == 0);
        ASSERT_EQ(load_codes.count(code), 1u) << round << " " << code;
        if (code == bank_ok)
            ++loaded;
        else
            ASSERT_TRUE(same_bank(bank, before)) << round;
    }
    // Flips in names and values leave a loadable bank; flips in lengths do not.
    EXPECT_GT(loaded, 0);
    EXPECT_LT(loaded, 3000);
}

TEST(BankFile, unopenable_paths_give_minus_1002) {
    const std::string path = temp_path("no_such_dir") + "/bank.pbk";
    BankManager bank = memories();
    const BankManager before = bank;
    EXPECT_EQ(load_bank_file(path, bank, false), bank_err_open);
    EXPECT_TRUE(same_bank(bank, before));
    EXPECT_EQ(save_bank_file(path, bank), bank_err_open);
}

TEST(BankFile, a_bank_that_cannot_be_encoded_is_refused_before_touching_the_file) {
    const std::string path = temp_path("keep.pbk");
    write_file(path, {1, 2, 3}, 3);
    BankManager bank = memories();
    bank.use_prog(4).set_nbr_values(120);
    EXPECT_EQ(save_bank_file(path, bank), bank_err_encode);
    EXPECT_EQ(read_file(path), (std::vector<unsigned char>{1, 2, 3}));
    std::remove(path.c_str());
}

TEST(BankFile, a_full_device_gives_a_short_header_write) {
    if (!std::ifstream("/dev/full"))
        GTEST_SKIP() << "no /dev/full";
    EXPECT_EQ(save_bank_file("/dev/full", memories()), bank_err_write_header);
}
