// What the window says after a solve in an interval, per result code of the search.
#include <gtest/gtest.h>

#include "qt_text.h"
#include "range_solve_outcome.h"

namespace {

TEST(RangeSolveOutcome, EveryCodeHasItsBoxAndStatus) {
    using Box = RangeSolveOutcome::Box;
    const char* const advice = "\n建议通过'知x求1'进行单变量图分析";
    struct Case {
        int rc;
        Box box;
        const char* title;
        QString text;
        bool finished;
    } cases[] = {
        {0, Box::None, "", QString(), true},
        {-1, Box::Information, "提示：在指定区间未能找到合适参数",
         u8("未在限定次数内找到解") + u8(advice), true},
        {-2, Box::Critical, "未获得有效解", u8("请提高精度(增大PDE中M)再试"), false},
        {-3, Box::Critical, "求解错误：", u8("错误的目标变量"), false},
        {-4, Box::Information, "提示：在指定区间未能找到合适参数",
         u8("求解区间非单调，或目标不在区间内") + u8(advice), true},
        {-9, Box::Information, "提示：在指定区间未能找到合适参数", u8(advice), true},
    };
    for (const Case& c : cases) {
        const RangeSolveOutcome outcome = rangeSolveOutcome(c.rc);
        EXPECT_EQ(outcome.box, c.box) << c.rc;
        EXPECT_EQ(outcome.title, u8(c.title)) << c.rc;
        EXPECT_EQ(outcome.text, c.text) << c.rc;
        EXPECT_EQ(outcome.finished, c.finished) << c.rc;
    }
}

}  // namespace
