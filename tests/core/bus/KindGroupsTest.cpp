#include "core/bus/KindGroups.h"

#include <gtest/gtest.h>

#include <string>

namespace {

std::string Joined(TKindGroups<std::string>& groups)
{
    std::string all;
    groups.ForEach([&](const std::string& item) { all += item + " "; });
    return all;
}

} // namespace

TEST(KindGroupsTest, ItemsStayInTheOrderOfTheirKindsWhateverOrderTheyArrive)
{
    TKindGroups<std::string> groups;
    EXPECT_TRUE(groups.Insert(0, KindOutput, "R1"));
    EXPECT_TRUE(groups.Insert(0, KindInput, "T1"));
    EXPECT_TRUE(groups.Insert(1, KindOther, "P"));
    EXPECT_TRUE(groups.Insert(1, KindInput, "T2"));
    EXPECT_TRUE(groups.Insert(groups.Start(KindOther) + groups.Count(KindOther), KindOther, "V"));
    EXPECT_EQ(Joined(groups), "T1 T2 P V R1 ");
    EXPECT_EQ(groups.Size(), 5);
    EXPECT_EQ(groups.Start(KindOutput), 4);
    EXPECT_EQ(groups[3], "V");
    EXPECT_EQ(groups.KindAt(1), KindInput);
    EXPECT_EQ(groups.KindAt(2), KindOther);
    EXPECT_EQ(groups.KindAt(4), KindOutput);

    // An index outside the kind's group, or no kind, inserts nothing.
    EXPECT_FALSE(groups.Insert(0, KindOther, "x"));
    EXPECT_FALSE(groups.Insert(5, KindOther, "x"));
    EXPECT_FALSE(groups.Insert(0, KindNone, "x"));
    EXPECT_EQ(groups.Size(), 5);

    groups.Erase(2);
    EXPECT_EQ(Joined(groups), "T1 T2 V R1 ");
    EXPECT_EQ(groups.Start(KindOutput), 3);
}
