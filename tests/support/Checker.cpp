#include "Checker.h"

namespace tollik::testing {

std::string ShowBytes(const std::string& bytes) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char byte : bytes) {
        const auto b = static_cast<unsigned char>(byte);
        if (b >= 0x20 && b < 0x7F) {
            out += static_cast<char>(b);
        } else {
            out.push_back('\\');
            out.push_back('x');
            out.push_back(kHex[b >> 4]);
            out.push_back(kHex[b & 0xF]);
        }
    }
    return out;
}

}  // namespace tollik::testing
