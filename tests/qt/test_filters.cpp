#include "qt/Filters.h"

#include <gtest/gtest.h>

using namespace vcl::qt;

TEST(Filters, ClassicFiltersBecomeQtFilters) {
    EXPECT_EQ(ToQtFilter("Keyboard Layout (*.kly)|*.kly"), "Keyboard Layout (*.kly)");
    EXPECT_EQ(ToQtFilter("Layouts|*.kly"), "Layouts (*.kly)");
    EXPECT_EQ(ToQtFilters("Text|*.txt;*.log|All files (*.*)|*.*"),
              QStringList({"Text (*.txt *.log)", "All files (*)"}));
    EXPECT_EQ(ToQtFilter("Docs (*.doc; *.rtf)|*.doc; *.rtf"), "Docs (*.doc *.rtf)");
    // The description's own parentheses do not hide the real patterns.
    EXPECT_EQ(ToQtFilter("Text (*.txt)|*.txt;*.log"), "Text (*.txt) (*.txt *.log)");
    EXPECT_EQ(ToQtFilter("|*.kly"), "(*.kly)");
}

TEST(Filters, IncompleteFilters) {
    EXPECT_TRUE(ToQtFilters("").isEmpty());
    EXPECT_TRUE(ToQtFilters("Only a description").isEmpty());
    EXPECT_EQ(ToQtFilters("A|*.a|B"), QStringList({"A (*.a)"}));
    EXPECT_EQ(ToQtFilters("A||B|*.b"), QStringList({"B (*.b)"}));
}
