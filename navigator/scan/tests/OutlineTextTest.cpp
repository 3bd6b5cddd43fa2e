#include <gtest/gtest.h>
#include <cstring>
#include "OutlineText.h"

namespace {

TEST(OutlineText, FieldsInToolOrder) {
    qv::OutlineItem item;
    item.line = 12; item.topLine = 10; item.startColumn = 5; item.endColumn = 9; item.category = 4;
    std::strcpy(item.text, "Draw()");
    std::strcpy(item.qualifier, "CView::");
    EXPECT_EQ(qv::FormatItem("a.cpp", item), "a.cpp\t12\t10\t5\t9\t4\tCView::\tDraw()");
}

TEST(OutlineText, UnterminatedBuffersStopAtTheirSize) {
    qv::OutlineItem item;
    std::memset(item.text, 'x', sizeof item.text);
    std::memset(item.qualifier, 'q', sizeof item.qualifier);
    std::string line = qv::FormatItem("f", item);
    EXPECT_EQ(line.size(), std::string("f\t0\t0\t0\t0\t0\t\t").size() + sizeof item.text + sizeof item.qualifier);
}

}  // namespace
