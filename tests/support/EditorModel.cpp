#include "EditorModel.h"

#include <algorithm>
#include <cstring>

#include "PluginApi/HostMessages.h"

namespace tollik::testing {
namespace {

// A position record: a tag naming which position it is, six bytes of value,
// and a check byte, so that a record handed back altered or swapped with
// another is noticed.
struct Record {
    unsigned char bytes[8];
};
static_assert(sizeof(Record) == sizeof(HostPosition));

unsigned char Check(const unsigned char* b) {
    unsigned char c = 0x5A;
    for (int i = 0; i < 7; ++i) c = static_cast<unsigned char>((c << 1 | c >> 7) ^ b[i]);
    return c;
}

}  // namespace

void EditorModel::FillRecord(std::intptr_t lParam, char tag, std::int64_t value) {
    if (lParam == 0) return;
    Record r{};
    r.bytes[0] = static_cast<unsigned char>(tag);
    for (int i = 0; i < 6; ++i) r.bytes[1 + i] = static_cast<unsigned char>(value >> (8 * i));
    r.bytes[7] = Check(r.bytes);
    std::memcpy(reinterpret_cast<void*>(lParam), &r, sizeof r);
}

std::optional<std::int64_t> EditorModel::ReadRecord(std::intptr_t lParam, char tag) {
    if (lParam == 0) {
        ++foreignRecords;
        return std::nullopt;
    }
    Record r;
    std::memcpy(&r, reinterpret_cast<const void*>(lParam), sizeof r);
    if (r.bytes[0] != static_cast<unsigned char>(tag) || r.bytes[7] != Check(r.bytes)) {
        ++foreignRecords;
        return std::nullopt;
    }
    std::int64_t value = 0;
    for (int i = 0; i < 6; ++i) value |= std::int64_t{r.bytes[1 + i]} << (8 * i);
    return value;
}

std::u16string EditorModel::SelectedText() const {
    const auto size = static_cast<std::int64_t>(text.size());
    const std::int64_t from = std::clamp<std::int64_t>(std::min(anchor, caret), 0, size);
    const std::int64_t to = std::clamp<std::int64_t>(std::max(anchor, caret), 0, size);
    return text.substr(static_cast<std::size_t>(from), static_cast<std::size_t>(to - from));
}

std::intptr_t EditorModel::Handle(std::uint32_t message, std::uintptr_t wParam,
                                  std::intptr_t lParam) {
    log.push_back({message, wParam, lParam});
    if (answersNothing) return 0;
    switch (message) {
        case MSG_ENABLE_REDRAW:
            if (wParam == 0) {
                paintingHeld = true;
                ++paintingHolds;
            } else {
                paintingHeld = false;
                ++paintingResumes;
            }
            return 0;
        case MSG_QUERY_ANCHOR:
            FillRecord(lParam, 'A', anchor);
            return 0;
        case MSG_QUERY_CARET:
            FillRecord(lParam, 'C', caret);
            return 0;
        case MSG_QUERY_SCROLL:
            FillRecord(lParam, 'S', scroll);
            return 0;
        case MSG_RUN_HOST_COMMAND:
            if (wParam == CMD_SELECT_ALL) {
                anchor = 0;
                caret = static_cast<std::int64_t>(text.size());
            }
            return 0;
        case MSG_QUERY_SELECTION_TEXT: {
            const std::u16string selected = SelectedText();
            if (wParam == 0 && lParam == 0) {
                return announcedCount ? static_cast<std::intptr_t>(*announcedCount)
                                      : static_cast<std::intptr_t>(selected.size() + 1);
            }
            if (lParam == 0) return 0;
            // The caller gave room for wParam units and a NUL.
            const std::size_t n = std::min<std::size_t>(wParam, selected.size());
            auto* out = reinterpret_cast<char16_t*>(lParam);
            std::copy_n(selected.data(), n, out);
            out[n] = u'\0';
            lastServedText = selected.substr(0, n);
            return static_cast<std::intptr_t>(n);
        }
        case MSG_PLACE_CARET: {
            const char tag = (wParam >> 16) != 0 ? 'C' : 'A';
            if (const auto value = ReadRecord(lParam, tag)) {
                caret = *value;
                if ((wParam >> 16) == 0) anchor = *value;
            }
            return 0;
        }
        case MSG_PLACE_SCROLL:
            if (const auto value = ReadRecord(lParam, 'S')) scroll = *value;
            return 0;
        case MSG_QUERY_DOCUMENT_PATH: {
            if (lParam == 0) return 0;
            auto* out = reinterpret_cast<char16_t*>(lParam);
            const std::size_t room = kDocumentPathCapacity;
            if (terminatePath) {
                const std::size_t n = std::min(path.size(), room - 1);
                std::copy_n(path.data(), n, out);
                out[n] = u'\0';
            } else {
                for (std::size_t i = 0; i < room; ++i) out[i] = path.empty() ? u'x' : path[i % path.size()];
            }
            return 0;
        }
        default:
            return 0;
    }
}

}  // namespace tollik::testing
