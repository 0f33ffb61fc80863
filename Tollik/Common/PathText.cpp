#include "Common/PathText.h"

namespace tollik {
namespace {

constexpr std::u16string_view kFolderDelimiters = u"\\:";
constexpr std::u16string_view kExtensionDelimiters = u".\\:";

// Units before the last delimiter of `set`, counting the delimiter itself;
// 0 when there is none. A NUL unit is never a delimiter.
std::size_t LastDelimiter(std::u16string_view path, std::u16string_view set) {
    const std::size_t found = path.find_last_of(set);
    return found == std::u16string_view::npos ? 0 : found + 1;
}

}  // namespace

std::u16string DirPart(std::u16string_view path) {
    return std::u16string(path.substr(0, LastDelimiter(path, kFolderDelimiters)));
}

std::u16string DirPartTrimmed(std::u16string_view path) {
    std::size_t i = LastDelimiter(path, kFolderDelimiters);
    // A backslash after a drive colon, after another backslash, or standing
    // first belongs to a root and stays.
    if (i > 1 && path[i - 1] == u'\\' && path[i - 2] != u'\\' && path[i - 2] != u':') --i;
    return std::u16string(path.substr(0, i));
}

std::u16string NamePart(std::u16string_view path) {
    return std::u16string(path.substr(LastDelimiter(path, kFolderDelimiters)));
}

std::u16string ReplaceExtension(std::u16string_view path, std::u16string_view extension) {
    const std::size_t i = LastDelimiter(path, kExtensionDelimiters);
    std::u16string result(i == 0 || path[i - 1] != u'.' ? path : path.substr(0, i - 1));
    result += extension;
    return result;
}

std::u16string AddTrailingDelimiter(std::u16string_view path) {
    std::u16string result(path);
    if (result.empty() || result.back() != u'\\') result += u'\\';
    return result;
}

std::u16string FoldAsciiCase(std::u16string_view name) {
    std::u16string folded(name);
    for (char16_t& unit : folded)
        if (unit >= u'A' && unit <= u'Z') unit = static_cast<char16_t>(unit - u'A' + u'a');
    return folded;
}

}  // namespace tollik
