// Bank payloads: resizing, whole-program copies, the payload layout, and
// decoding that is bounded by the payload and leaves the bank unchanged on
// failure.
#include "PresetTestData.h"

#include "basic/BigEndian.h"

#include <gtest/gtest.h>

using mppi::BankManager;
using mppi::ProgramSlot;
using namespace preset_test;

TEST(BankManager, grows_with_default_programs_and_shrinks_from_the_end) {
    BankManager bank;
    ASSERT_EQ(bank.get_nbr_progs(), 1);
    bank.set_prog(0, make_prog("First", 3));
    bank.set_nbr_progs(8);
    ASSERT_EQ(bank.get_nbr_progs(), 8);
    EXPECT_EQ(bank.use_prog(0).get_prog_name(), "First");
    for (int i = 1; i < 8; ++i) {
        EXPECT_EQ(bank.use_prog(i).get_prog_name(), "Default");
        EXPECT_EQ(bank.use_prog(i).get_nbr_values(), 0);
    }
    bank.use_prog(3).set_prog_name("Fourth");
    bank.set_nbr_progs(4);
    ASSERT_EQ(bank.get_nbr_progs(), 4);
    EXPECT_EQ(bank.use_prog(3).get_prog_name(), "Fourth");
}

TEST(BankManager, get_and_set_prog_copy_whole_programs) {
    BankManager bank = make_bank(2, 4);
    bank.use_prog(1).set_header_word(5);
    ProgramSlot slot = make_prog("Stored", 4, 9);
    const ProgramSlot stored = slot;
    bank.set_prog(1, slot);
    slot.set_value(0, 0.75f);
    slot.set_prog_name("Changed");
    EXPECT_EQ(bank.use_prog(1).get_header_word(), 5u);
    bank.use_prog(1).set_header_word(0);
    EXPECT_TRUE(same_prog(bank.use_prog(1), stored));

    ProgramSlot out;
    bank.get_prog(1, out);
    out.set_value(1, 0.125f);
    EXPECT_TRUE(same_prog(bank.use_prog(1), stored));
}

TEST(BankManager, writes_count_stride_and_records_at_the_stride) {
    const BankManager bank = make_bank(3, 121);
    const auto payload = encode(bank);
    ASSERT_EQ(payload.size(), 8u + 3u * 560u);
    EXPECT_EQ(basic::read_u32(&payload[0]), 3u);
    EXPECT_EQ(basic::read_u32(&payload[4]), 560u);
    for (int i = 0; i < 3; ++i) {
        const auto rec = encode(bank.use_prog(i));
        EXPECT_TRUE(std::equal(rec.begin(), rec.end(), payload.begin() + 8 + i * 560)) << i;
    }
    BankManager back;
    ASSERT_EQ(back.read(payload.data(), static_cast<int>(payload.size())), 0);
    EXPECT_TRUE(same_bank(back, bank));
}

TEST(BankManager, reads_records_at_a_stride_longer_than_the_record) {
    const BankManager bank = make_bank(2, 3);
    const int record = bank.use_prog(0).get_size();
    const int stride = record + 5;
    std::vector<unsigned char> payload(8 + 2 * stride, 0xEE);
    basic::write_u32(&payload[0], 2);
    basic::write_u32(&payload[4], stride);
    for (int i = 0; i < 2; ++i)
        bank.use_prog(i).write(&payload[8 + i * stride]);
    BankManager back;
    ASSERT_EQ(back.read(payload.data(), static_cast<int>(payload.size())), 0);
    EXPECT_TRUE(same_bank(back, bank));
}

TEST(BankManager, a_zero_or_top_bit_count_gives_an_empty_bank) {
    for (std::uint32_t count : {0u, 0x80000000u, 0xFFFFFFFFu}) {
        BankManager bank = make_bank(2, 3);
        unsigned char payload[8];
        basic::write_u32(payload, count);
        basic::write_u32(payload + 4, 560);
        EXPECT_EQ(bank.read(payload, 8), 0) << count;
        EXPECT_EQ(bank.get_nbr_progs(), 0) << count;
    }
    BankManager empty;
    empty.set_nbr_progs(0);
    const auto payload = encode(empty);
    EXPECT_EQ(payload, (std::vector<unsigned char>(8, 0)));
}

TEST(BankManager, refuses_payloads_whose_lengths_run_past_the_data) {
    const BankManager valid = make_bank(2, 3);
    const auto good = encode(valid);
    const int stride = valid.use_prog(0).get_size();
    struct Case {
        const char* what;
        std::uint32_t count;
        std::uint32_t stride;
        int size;
    };
    const Case cases[] = {
        {"no header", 2, std::uint32_t(stride), 7},
        {"records past the payload", 3, std::uint32_t(stride), int(good.size())},
        {"huge count", 0x7FFFFFFF, std::uint32_t(stride), int(good.size())},
        {"huge stride", 2, 0xFFFFFFFF, int(good.size())},
        {"stride below a record header", 0x7FFFFFFF, 0, int(good.size())},
        {"record past its stride", 2, std::uint32_t(stride - 1), int(good.size())},
    };
    for (const Case& c : cases) {
        auto payload = good;
        basic::write_u32(&payload[0], c.count);
        basic::write_u32(&payload[4], c.stride);
        BankManager bank = make_bank(4, 2);
        const BankManager before = bank;
        EXPECT_EQ(bank.read(payload.data(), c.size), -1) << c.what;
        EXPECT_TRUE(same_bank(bank, before)) << c.what;
    }
}

TEST(BankManager, refuses_to_encode_programs_of_different_sizes) {
    BankManager bank = make_bank(3, 4);
    bank.use_prog(2).set_nbr_values(5);
    std::vector<unsigned char> buffer(static_cast<std::size_t>(bank.get_size()) + 64, 0xAA);
    EXPECT_EQ(bank.write(buffer.data()), -1);
    EXPECT_EQ(buffer, std::vector<unsigned char>(buffer.size(), 0xAA));
    bank.use_prog(2).set_nbr_values(4);
    bank.use_prog(1).set_extra_size(1);
    EXPECT_EQ(bank.write(buffer.data()), -1);
}
