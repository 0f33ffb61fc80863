#pragma once
// Names table-driven cases after their `name` field in test listings.

#include <gtest/gtest.h>

#include <string>

namespace tollik::testing {

struct CaseName {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& c) const {
        return c.param.name;
    }
};

}  // namespace tollik::testing
