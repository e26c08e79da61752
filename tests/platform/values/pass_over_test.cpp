// A passed-over step swallows its own failure, never one that must end the
// whole wait or test.
#include "platform/values/pass_over.h"

#include <gtest/gtest.h>

#include <string>

namespace plat {
namespace {

class HarnessFailure : public AbortError {
public:
    using AbortError::AbortError;
};

TEST(PassOver, SwallowsAStepsFailureButLetsAnAbortThrough) {
    int done = 0;
    EXPECT_TRUE(PassOver([&] { ++done; }));
    EXPECT_FALSE(PassOver([&] {
        ++done;
        throw std::runtime_error("bad step");
    }));
    EXPECT_FALSE(PassOver([] { throw 42; }));
    EXPECT_EQ(done, 2);
    try {
        PassOver([] { throw HarnessFailure("operator cannot act"); });
        FAIL() << "swallowed";
    } catch (const AbortError& e) {
        EXPECT_STREQ(e.what(), "operator cannot act");
    }
}

TEST(PassOver, GivesTheStepsResultOrTheFallback) {
    EXPECT_EQ(PassOver([] { return std::string("read"); }, std::string("none")), "read");
    EXPECT_EQ(PassOver([]() -> std::string { throw std::runtime_error("bad"); }, std::string("none")), "none");
    EXPECT_THROW(PassOver([]() -> int { throw HarnessFailure("stall"); }, 0), HarnessFailure);
}

TEST(RethrowAbort, InsideACatchAllRethrowsOnlyAnAbort) {
    auto swallow = [](auto thrower) {
        try {
            thrower();
        } catch (...) {
            RethrowAbort();
            return true;
        }
        return false;
    };
    EXPECT_TRUE(swallow([] { throw std::logic_error("x"); }));
    EXPECT_TRUE(swallow([] { throw "text"; }));
    EXPECT_THROW(swallow([] { throw HarnessFailure("stall"); }), HarnessFailure);
}

}  // namespace
}  // namespace plat
