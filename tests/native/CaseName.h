#pragma once
// Names table-driven cases after their `name` field in test listings, and
// prints them by that name (gtest would otherwise print a case's bytes,
// padding and all, which memcheck rightly calls uninitialised).

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace tollik::testing {

struct CaseName {
    template <class Case>
    std::string operator()(const ::testing::TestParamInfo<Case>& c) const {
        return c.param.name;
    }
};

}  // namespace tollik::testing

namespace tollik {
namespace {  // the cases' own namespace, where gtest looks for PrintTo

template <class Case>
    requires requires(const Case& c) { std::string(c.name); }
void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

}  // namespace
}  // namespace tollik
