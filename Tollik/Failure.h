#pragma once
// The two kinds of failure that end the command. Each carries the Japanese
// message the user is shown; an input/output error also carries a code.
// Nothing inside the plug-in catches them except the export boundary; the
// checker's main catches them as std::exception and prints what().

#include <cstdint>
#include <exception>
#include <string>
#include <utility>

#include "util/Utf8Text.h"

namespace tollik {

class Failure : public std::exception {
public:
    explicit Failure(std::u16string message) : message_(std::move(message)) {}
    Failure(const Failure&) = default;
    Failure& operator=(const Failure&) = default;

    const std::u16string& Message() const noexcept { return message_; }

    // The message in UTF-8, made on first asking: throwing one costs no more
    // memory than its message, which keeps out-of-memory paths as they are.
    const char* what() const noexcept override {
        if (utf8_.empty() && !message_.empty()) {
            try {
                utf8_ = ToUtf8(message_);
            } catch (...) {
                return "tollik: a failure whose message there was no memory to convert";
            }
        }
        return utf8_.c_str();
    }

private:
    std::u16string message_;
    mutable std::string utf8_;
};

class GeneralError : public Failure {
public:
    using Failure::Failure;
};

class IoError : public Failure {
public:
    IoError(std::u16string message, std::int32_t code) : Failure(std::move(message)), code_(code) {}
    std::int32_t Code() const noexcept { return code_; }

private:
    std::int32_t code_;
};

}  // namespace tollik
