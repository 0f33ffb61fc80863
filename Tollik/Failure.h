#pragma once
// The two kinds of failure that end the command. Each carries the Japanese
// message the user is shown; an input/output error also carries a code.
// Nothing inside the plug-in catches them except the export boundary.

#include <cstdint>
#include <string>
#include <utility>

namespace tollik {

class Failure {
public:
    explicit Failure(std::u16string message) : message_(std::move(message)) {}
    virtual ~Failure() = default;
    Failure(const Failure&) = default;
    Failure& operator=(const Failure&) = default;

    const std::u16string& Message() const noexcept { return message_; }

private:
    std::u16string message_;
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
