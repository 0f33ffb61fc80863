#pragma once
// Collects disagreements as readable lines instead of stopping at the first,
// so one run of the shared cases shows everything the fake and Windows do
// differently.

#include <string>
#include <vector>

#include "Utf8.h"

namespace tollik::testing {

// Bytes with everything outside printable ASCII as \xHH.
std::string ShowBytes(const std::string& bytes);

class Checker {
public:
    explicit Checker(std::vector<std::string>& mismatches) : mismatches_(mismatches) {}

    template <class T>
    void Expect(const std::string& what, const T& actual, const T& expected) {
        if (!(actual == expected))
            mismatches_.push_back(what + ": got " + Show(actual) + ", expected " + Show(expected));
    }

private:
    static std::string Show(bool value) { return value ? "true" : "false"; }
    static std::string Show(int value) { return std::to_string(value); }
    static std::string Show(const std::string& value) { return Quoted(ShowBytes(value)); }
    static std::string Show(const std::u16string& value) { return Quoted(Utf8(value)); }
    static std::string Quoted(std::string text) { return '"' + std::move(text) + '"'; }

    std::vector<std::string>& mismatches_;
};

}  // namespace tollik::testing
