#include "hsp/CompilerPath.h"

#include <climits>
#include <vector>

namespace tollik::runner {

std::u16string FromAnsi(os::SystemApi& api, std::string_view bytes) { return FromCodePage(api, os::kCpAcp, bytes); }

std::u16string FromCodePage(os::SystemApi& api, std::uint32_t codePage, std::string_view bytes) {
    if (bytes.empty() || bytes.size() > INT_MAX) return {};
    const int length = static_cast<int>(bytes.size());
    const int units = api.MultiByteToWideChar(codePage, 0, bytes.data(), length, nullptr, 0);
    if (units <= 0) return {};
    std::u16string text(static_cast<std::size_t>(units), u'\0');
    const int written = api.MultiByteToWideChar(codePage, 0, bytes.data(), length, text.data(), units);
    text.resize(written > 0 ? static_cast<std::size_t>(written) : 0);
    return text;
}

std::size_t AnsiLength(os::SystemApi& api, std::u16string_view text) {
    if (text.empty() || text.size() > INT_MAX) return 0;
    const int size = api.WideCharToMultiByte(os::kCpAcp, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                             nullptr, nullptr);
    return size > 0 ? static_cast<std::size_t>(size) : 0;
}

std::optional<std::string> ToAnsiExactly(os::SystemApi& api, std::u16string_view text) {
    if (text.empty()) return std::string();
    if (text.size() > INT_MAX) return std::nullopt;
    const int length = static_cast<int>(text.size());
    const int size = api.WideCharToMultiByte(os::kCpAcp, 0, text.data(), length, nullptr, 0, nullptr, nullptr);
    if (size <= 0) return std::nullopt;
    std::string bytes(static_cast<std::size_t>(size), '\0');
    if (api.WideCharToMultiByte(os::kCpAcp, 0, text.data(), length, bytes.data(), size, nullptr, nullptr) != size)
        return std::nullopt;
    // A unit the code page lacks comes out as "?" or a look-alike; only the
    // way back tells.
    if (FromAnsi(api, bytes) != text) return std::nullopt;
    return bytes;
}

namespace {

std::u16string ShortForm(os::RunnerApi& api, std::u16string_view path) {
    const std::u16string terminated(path);
    const std::uint32_t size = api.GetShortPathNameW(terminated.c_str(), nullptr, 0);
    if (size == 0) return {};
    std::vector<char16_t> buffer(size + 1, u'\0');
    const std::uint32_t written = api.GetShortPathNameW(terminated.c_str(), buffer.data(), size);
    if (written == 0 || written >= size) return {};
    return std::u16string(buffer.data(), written);
}

}  // namespace

CompilerPathResult ToCompilerPath(os::RunnerApi& api, std::u16string_view path) {
    CompilerPathResult result;
    std::u16string text(path);
    std::optional<std::string> bytes = ToAnsiExactly(api, text);
    if (!bytes) {
        text = ShortForm(api, path);
        if (!text.empty()) bytes = ToAnsiExactly(api, text);
    }
    if (!bytes) {
        result.problem = PathProblem::NotInCodePage;
    } else if (bytes->size() > kCompilerPathLimit) {
        result.problem = PathProblem::TooLong;
    } else {
        result.bytes = std::move(*bytes);
        result.text = std::move(text);
    }
    return result;
}

}  // namespace tollik::runner
