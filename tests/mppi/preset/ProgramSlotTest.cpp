// Program records: layout, name truncation, exact float round trips, bounded
// decoding, and slot copies that keep their header word.
#include "PresetTestData.h"

#include "basic/BigEndian.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <limits>

using mppi::ProgramSlot;
using namespace preset_test;

TEST(ProgramSlot, writes_the_big_endian_record_layout) {
    ProgramSlot prog = make_prog("Echo", 121);
    prog.set_value(0, 0.5f);
    prog.set_value(120, 1.0f);
    prog.set_extra_size(3);
    prog.extra()[2] = 0x7E;
    prog.set_header_word(0x01020304);
    const auto rec = encode(prog);
    ASSERT_EQ(rec.size(), 560u + 3u);
    EXPECT_EQ(basic::read_u32(&rec[0]), 0x01020304u);
    EXPECT_EQ(basic::read_u16(&rec[4]), 64);
    EXPECT_EQ(basic::read_u16(&rec[6]), 121);
    EXPECT_EQ(basic::read_u32(&rec[8]), 3u);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(&rec[12])), "Echo");
    EXPECT_EQ(basic::read_u32(&rec[76]), 0x3F000000u);
    EXPECT_EQ(basic::read_u32(&rec[76 + 4 * 120]), 0x3F800000u);
    EXPECT_EQ(rec.back(), 0x7E);
}

TEST(ProgramSlot, names_keep_at_most_63_characters) {
    for (std::size_t length : {0u, 1u, 63u, 64u, 70u, 300u}) {
        const std::string name(length, 'n');
        const auto rec = encode(make_prog(name, 2));
        EXPECT_EQ(rec[75], 0) << length;
        ProgramSlot back;
        ASSERT_EQ(back.read(rec.data(), static_cast<int>(rec.size())), 0);
        EXPECT_EQ(back.get_prog_name(), name.substr(0, 63)) << length;
    }
}

TEST(ProgramSlot, float_bit_patterns_round_trip_exactly) {
    const std::uint32_t quiet_nan_with_payload = 0x7FC01234;
    float nan;
    std::memcpy(&nan, &quiet_nan_with_payload, 4);
    const float values[] = {1.0f / 3.0f, 1e-40f, std::numeric_limits<float>::denorm_min(), -0.0f,
                            0.0f,        1.0f,   std::numeric_limits<float>::max(),        nan};
    ProgramSlot prog;
    prog.set_nbr_values(static_cast<int>(std::size(values)));
    for (int i = 0; i < prog.get_nbr_values(); ++i)
        prog.set_value(i, values[i]);
    ProgramSlot back;
    const auto rec = encode(prog);
    ASSERT_EQ(back.read(rec.data(), static_cast<int>(rec.size())), 0);
    EXPECT_TRUE(same_prog(back, prog));
}

// A record whose name field is not 64 bytes long: N is taken from the record.
TEST(ProgramSlot, reads_the_name_field_length_from_the_record) {
    struct Case {
        std::uint16_t name_field;
        const char* name_bytes;
        const char* expected;
    };
    const Case cases[] = {{0, "", ""}, {4, "abc", "abc"}, {4, "abcd", "abcd"}, {8, "ab\0cd", "ab"}};
    for (const Case& c : cases) {
        std::vector<unsigned char> rec(12 + c.name_field + 4, 0);
        basic::write_u16(&rec[4], c.name_field);
        basic::write_u16(&rec[6], 1);
        std::memcpy(&rec[12], c.name_bytes, std::min<std::size_t>(c.name_field, 5));
        basic::write_f32(&rec[12 + c.name_field], 0.25f);
        ProgramSlot prog;
        ASSERT_EQ(prog.read(rec.data(), static_cast<int>(rec.size())), 0) << c.name_field;
        EXPECT_EQ(prog.get_prog_name(), c.expected);
        ASSERT_EQ(prog.get_nbr_values(), 1);
        EXPECT_EQ(prog.get_value(0), 0.25f);
    }
}

TEST(ProgramSlot, refuses_records_running_past_their_bytes_and_stays_unchanged) {
    ProgramSlot source = make_prog("Source", 5);
    source.set_extra_size(2);
    const auto rec = encode(source);
    const ProgramSlot original = make_prog("Kept", 3);
    for (std::size_t size = 0; size < rec.size(); ++size) {
        ProgramSlot prog = original;
        EXPECT_EQ(prog.read(rec.data(), static_cast<int>(size)), -1) << size;
        EXPECT_TRUE(same_prog(prog, original)) << size;
    }
    ProgramSlot prog = original;
    EXPECT_EQ(prog.read(nullptr, 1000), -1);
    auto huge = rec;
    basic::write_u32(&huge[8], 0xFFFFFFFF); // extra length near 4 GiB
    EXPECT_EQ(prog.read(huge.data(), static_cast<int>(huge.size())), -1);
    EXPECT_TRUE(same_prog(prog, original));
    // Trailing bytes after a record are not part of it.
    auto padded = rec;
    padded.resize(rec.size() + 10, 0xFF);
    ASSERT_EQ(prog.read(padded.data(), static_cast<int>(padded.size())), 0);
    EXPECT_TRUE(same_prog(prog, source));
}

TEST(ProgramSlot, copy_keeps_the_target_header_word) {
    ProgramSlot source = make_prog("Source", 4);
    source.set_extra_size(2);
    source.extra()[1] = 9;
    source.set_header_word(7);
    ProgramSlot target = make_prog("Target", 9);
    target.set_header_word(42);
    target.copy_from(source);
    EXPECT_EQ(target.get_header_word(), 42u);
    target.set_header_word(7);
    EXPECT_TRUE(same_prog(target, source));
}

TEST(ProgramSlot, value_and_extra_counts_grow_with_zeros_and_shrink_from_the_end) {
    ProgramSlot prog = make_prog("p", 3);
    const std::vector<float> first(prog.values());
    prog.set_nbr_values(5);
    EXPECT_EQ(prog.values(), (std::vector<float>{first[0], first[1], first[2], 0.0f, 0.0f}));
    prog.set_nbr_values(2);
    EXPECT_EQ(prog.values(), (std::vector<float>{first[0], first[1]}));
    prog.set_extra_size(2);
    prog.extra()[0] = 5;
    prog.set_extra_size(3);
    EXPECT_EQ(prog.extra(), (std::vector<unsigned char>{5, 0, 0}));
    prog.set_extra_size(1);
    EXPECT_EQ(prog.extra(), (std::vector<unsigned char>{5}));
    EXPECT_EQ(prog.get_size(), 76 + 4 * 2 + 1);
}

TEST(ProgramSlot, refuses_to_write_more_values_than_a_record_can_count) {
    ProgramSlot prog;
    prog.set_nbr_values(0x10000);
    EXPECT_FALSE(prog.fits_record());
    std::vector<unsigned char> rec(static_cast<std::size_t>(prog.get_size()));
    EXPECT_EQ(prog.write(rec.data()), -1);
    prog.set_nbr_values(0xFFFF);
    EXPECT_EQ(prog.write(rec.data()), 0);
}
