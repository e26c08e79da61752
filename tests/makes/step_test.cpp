// The make library's step runner passes over a failing statement but never a
// stalled wait or a failing test harness.
#include "makes/step.h"

#include <gtest/gtest.h>

namespace {

class Stall : public plat::AbortError {
public:
    using AbortError::AbortError;
};

TEST(RunStep, FailingStatementIsSkippedButAnAbortGoesOnUp) {
    int ran = 0;
    EXPECT_TRUE(makes::RunStep("Module", "Proc", 1, [&] { ++ran; }));
    EXPECT_FALSE(makes::RunStep("Module", "Proc", 2, [] { throw std::runtime_error("bad"); }));
    EXPECT_FALSE(makes::RunStep("Module", "Proc", 3, [] { throw 7; }));
    EXPECT_EQ(ran, 1);
    EXPECT_THROW(makes::RunStep("Module", "Proc", 4, [] { throw Stall("modal stalled"); }), Stall);
}

}  // namespace
