// The stock rule on its own: which products move by how much, and when the limit is asked.
#include "stock/stock_rule.h"
#include <gtest/gtest.h>

using namespace stock;

namespace {

struct PlanCase {
    const char* name;
    StockPlan plan;
    std::vector<std::pair<int, double>> moves; // product, change
    bool checkLimit;
};

void PrintTo(const PlanCase& c, std::ostream* os) {
    *os << c.name;
}

class Plans : public testing::TestWithParam<PlanCase> {};

TEST_P(Plans, MoveTheRightProductsByTheRightAmounts) {
    const PlanCase& c = GetParam();
    ASSERT_EQ(c.plan.moves.size(), c.moves.size());
    for (size_t i = 0; i < c.moves.size(); ++i) {
        EXPECT_EQ(c.plan.moves[i].product.toInt(), c.moves[i].first) << i;
        EXPECT_DOUBLE_EQ(c.plan.moves[i].change, c.moves[i].second) << i;
    }
    EXPECT_EQ(c.plan.checkLimit, c.checkLimit);
}

const PlanCase kPlans[] = {
    {"EntryNew", planNew(Kind::Entry, {1, 5}), {{1, 5}}, true},
    {"ExitNew", planNew(Kind::Exit, {1, 5}), {{1, -5}}, true},
    {"EntryMoreOnTheSameProduct", planChange(Kind::Entry, {1, 5}, {1, 8}), {{1, 3}}, true},
    {"ExitLessOnTheSameProduct", planChange(Kind::Exit, {1, 5}, {1, 2}), {{1, 3}}, true},
    {"SameProductAndQuantity", planChange(Kind::Entry, {1, 5}, {1, 5}), {}, false},
    {"EntryMovedToAnotherProduct",
     planChange(Kind::Entry, {1, 5}, {2, 5}),
     {{1, -5}, {2, 5}},
     true},
    {"ExitMovedToAnotherProduct", planChange(Kind::Exit, {1, 5}, {2, 7}), {{1, 5}, {2, -7}}, true},
    {"EntryDeleted", planDelete(Kind::Entry, {1, 5}), {{1, -5}}, false},
    {"ExitDeleted", planDelete(Kind::Exit, {1, 5}), {{1, 5}}, false},
};

INSTANTIATE_TEST_SUITE_P(Cases, Plans, testing::ValuesIn(kPlans),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(LimitQuestion, EntryPassesTheMaximumExitTheMinimum) {
    struct Case {
        Kind kind;
        double stock, minimum, maximum;
        bool due;
    };
    const Case cases[] = {
        {Kind::Entry, 15, 0, 15, false}, {Kind::Entry, 16, 0, 15, true},
        {Kind::Entry, 1, 0, 0, true},    {Kind::Entry, -3, 5, 10, false},
        {Kind::Exit, 5, 5, 0, false},    {Kind::Exit, 4, 5, 0, true},
        {Kind::Exit, -1, 0, 0, true},    {Kind::Exit, 50, 5, 10, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(limitQuestionDue(c.kind, c.stock, c.minimum, c.maximum), c.due)
            << int(c.kind) << " " << c.stock << " " << c.minimum << " " << c.maximum;
}

} // namespace
