// Competing writers: a lower priority is locked out for 0.5 s after a higher
// one changed a parameter, and only the owner can release its claim.
#include "mppi/ParamPriorityList.h"

#include <gtest/gtest.h>

using mppi::ParamPriorityList;

TEST(ParamPriority, a_fresh_list_accepts_every_priority) {
    ParamPriorityList list;
    list.resize(3);
    for (int p : {1, 50, 150, 200})
        EXPECT_TRUE(list.may_change(2, p, 0.0));
    EXPECT_EQ(list.get_owner(2), 0);
}

TEST(ParamPriority, a_lower_writer_waits_for_the_hold_time) {
    ParamPriorityList list;
    list.resize(1);
    ASSERT_TRUE(list.claim(0, 200, 10.0));
    EXPECT_FALSE(list.may_change(0, 50, 10.3));
    EXPECT_FALSE(list.claim(0, 50, 10.3));
    EXPECT_EQ(list.get_owner(0), 200);
    EXPECT_FALSE(list.claim(0, 50, 10.5)); // the hold includes its end
    EXPECT_TRUE(list.claim(0, 50, 10.6));
    EXPECT_EQ(list.get_owner(0), 50);
}

TEST(ParamPriority, an_equal_or_higher_writer_always_gets_through) {
    ParamPriorityList list;
    list.resize(1);
    ASSERT_TRUE(list.claim(0, 150, 1.0));
    EXPECT_TRUE(list.claim(0, 150, 1.01));
    EXPECT_TRUE(list.claim(0, 200, 1.02));
    EXPECT_EQ(list.get_owner(0), 200);
    EXPECT_FALSE(list.claim(0, 150, 1.03));
}

TEST(ParamPriority, only_the_owner_releases) {
    ParamPriorityList list;
    list.resize(1);
    ASSERT_TRUE(list.claim(0, 200, 1.0));
    list.release(0, 50);
    EXPECT_EQ(list.get_owner(0), 200);
    EXPECT_FALSE(list.may_change(0, 50, 1.1));
    list.release(0, 200);
    EXPECT_EQ(list.get_owner(0), 0);
    EXPECT_TRUE(list.claim(0, 50, 1.1));
}

TEST(ParamPriority, may_change_claims_nothing) {
    ParamPriorityList list;
    list.resize(1);
    EXPECT_TRUE(list.may_change(0, 200, 1.0));
    EXPECT_EQ(list.get_owner(0), 0);
    EXPECT_TRUE(list.claim(0, 50, 1.1));
}

TEST(ParamPriority, indices_outside_the_list_are_refused) {
    ParamPriorityList list;
    list.resize(2);
    EXPECT_FALSE(list.may_change(-1, 200, 0.0));
    EXPECT_FALSE(list.claim(2, 200, 0.0));
    list.release(5, 200);
    EXPECT_EQ(list.size(), 2);
}
