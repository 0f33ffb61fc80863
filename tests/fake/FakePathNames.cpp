#include "FakePathNames.h"

#include <array>
#include <vector>

#include "FakeText.h"

namespace tollik::fake {
namespace {

bool IsLetter(char16_t unit) {
    return (unit >= u'A' && unit <= u'Z') || (unit >= u'a' && unit <= u'z');
}

// The reserved device names, which stand for the device wherever they are.
bool IsDeviceName(std::u16string_view name) {
    static const std::array<std::u16string_view, 22> kNames = {
        u"CON",  u"PRN",  u"AUX",  u"NUL",  u"COM1", u"COM2", u"COM3", u"COM4",
        u"COM5", u"COM6", u"COM7", u"COM8", u"COM9", u"LPT1", u"LPT2", u"LPT3",
        u"LPT4", u"LPT5", u"LPT6", u"LPT7", u"LPT8", u"LPT9"};
    for (const auto candidate : kNames)
        if (EqualNoCase(name, candidate)) return true;
    return false;
}

// Length of the root of a path whose slashes are already backslashes.
std::size_t RootLength(std::u16string_view path) {
    if (path.size() >= 4 && path[0] == u'\\' && path[1] == u'\\' &&
        (path[2] == u'?' || path[2] == u'.') && path[3] == u'\\')
        return 4;
    if (path.size() >= 2 && path[0] == u'\\' && path[1] == u'\\') {
        // \\server\share: up to the backslash after the share, or the end.
        std::size_t i = 2;
        for (int part = 0; part < 2; ++part) {
            while (i < path.size() && path[i] != u'\\') ++i;
            if (part == 0 && i < path.size()) ++i;
        }
        return i;
    }
    if (path.size() >= 3 && path[1] == u':' && path[2] == u'\\') return 3;
    return 0;
}

// Removes "." and "..", doubled backslashes and trailing dots (and, on the
// last name, trailing blanks) after the root.
std::u16string Collapse(std::u16string_view path) {
    const std::size_t rootLength = RootLength(path);
    std::u16string root(path.substr(0, rootLength));
    const std::u16string_view rest = path.substr(rootLength);

    std::vector<std::u16string> names;
    bool trailing = false;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find(u'\\', start);
        const bool last = end == std::u16string_view::npos;
        if (last) end = rest.size();
        std::u16string name(rest.substr(start, end - start));
        start = end + 1;
        if (name.empty()) {
            trailing = last && end > 0;
            if (last) break;
            continue;
        }
        trailing = false;
        if (name == u".") continue;
        if (name == u"..") {
            if (!names.empty()) names.pop_back();
            continue;
        }
        while (!name.empty() && (name.back() == u'.' || (last && name.back() == u' ')))
            name.pop_back();
        if (name.empty()) {
            trailing = last;
            continue;
        }
        names.push_back(std::move(name));
        if (last) break;
    }

    std::u16string result = root;
    for (std::size_t i = 0; i < names.size(); ++i) {
        if (!result.empty() && result.back() != u'\\') result += u'\\';
        result += names[i];
    }
    if (trailing && !result.empty() && result.back() != u'\\') result += u'\\';
    return result;
}

}  // namespace

std::u16string_view RootOf(std::u16string_view fullPath) {
    return fullPath.substr(0, RootLength(fullPath));
}

std::optional<std::u16string> FullPathName(std::u16string_view path, const PathContext& context) {
    if (path.empty()) return std::nullopt;
    std::u16string text(path);
    for (char16_t& unit : text)
        if (unit == u'/') unit = u'\\';
    const std::u16string_view current = context.currentDirectory;

    std::u16string absolute;
    if (text.size() >= 2 && text[0] == u'\\' && text[1] == u'\\') {
        absolute = text;  // network or device path
    } else if (text.size() >= 2 && IsLetter(text[0]) && text[1] == u':') {
        if (text.size() >= 3 && text[2] == u'\\') {
            absolute = text;
        } else {
            // Drive-relative: against that drive's own current directory.
            std::u16string base;
            if (current.size() >= 2 && EqualNoCase(current.substr(0, 1), text.substr(0, 1)) &&
                current[1] == u':') {
                base = current;
            } else if (const auto found = context.driveDirectories.find(UpperUnit(text[0]));
                       found != context.driveDirectories.end()) {
                base = found->second;
            } else {
                base = text.substr(0, 2);
            }
            absolute = base + u'\\' + text.substr(2);
        }
    } else if (text[0] == u'\\') {
        std::u16string_view root = RootOf(current);
        if (!root.empty() && root.back() == u'\\') root.remove_suffix(1);
        absolute = std::u16string(root) + text;
    } else {
        absolute = std::u16string(current) + u'\\' + text;
    }

    // A device name in a drive or relative path names the device itself.
    if (!(text.size() >= 2 && text[0] == u'\\' && text[1] == u'\\')) {
        const std::size_t lastSlash = absolute.find_last_of(u'\\');
        const std::u16string_view name = std::u16string_view(absolute).substr(lastSlash + 1);
        if (IsDeviceName(name)) return u"\\\\.\\" + std::u16string(name);
    }
    std::u16string full = Collapse(absolute);
    if (full.size() > 32767) return std::nullopt;
    return full;
}

}  // namespace tollik::fake
