#include "rtl/Lists.h"

#include <gtest/gtest.h>

using namespace vcl;

TEST(TList, OrderAndIndexErrors) {
    TList l;
    int a = 1, b = 2, c = 3;
    l.Add(&a);
    l.Add(&b);
    l.Insert(0, &c);
    ASSERT_EQ(l.Count(), 3);
    EXPECT_EQ(l.Get(0), &c);
    EXPECT_EQ(l.IndexOf(&b), 2);
    l.Add(&b);
    EXPECT_EQ(l.Remove(&b), 2); // the first entry only
    EXPECT_EQ(l.IndexOf(&b), 2);
    EXPECT_EQ(l.Count(), 3);
    for (int bad : {-1, 3}) {
        try {
            l.Get(bad);
            FAIL();
        } catch (const EListError& e) {
            EXPECT_EQ(e.Message(), "List index out of bounds (" + std::to_string(bad) + ")");
        }
        EXPECT_THROW(l.Delete(bad), EListError);
    }
    EXPECT_THROW(l.Insert(4, &a), EListError);
    l.Clear();
    EXPECT_EQ(l.Count(), 0);
    EXPECT_EQ(l.IndexOf(&a), -1);
}
