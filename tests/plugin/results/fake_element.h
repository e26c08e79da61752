#pragma once
// An element of this plug-in by test ID: test 1 is the group.

#include "tests/support/fake_container_element.h"

namespace results_test {

class FakeElement : public test_support::FakeContainerElement {
public:
    explicit FakeElement(int32_t testId) : FakeContainerElement(testId == 1) { base->Initialize("Pelmo2", testId, 0); }
};

}  // namespace results_test
