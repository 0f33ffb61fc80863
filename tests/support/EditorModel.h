#pragma once
// A model of the host editor as the plug-in sees it: one document with a
// selection, a caret and a scroll position, answering the host messages the
// plug-in sends. Shared by the native fake Windows and the Windows stand-in
// host, so both answer exactly alike. It logs every message it receives and
// can be told to misbehave the ways real hosts might.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace tollik::testing {

struct ReceivedMessage {
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;

    bool operator==(const ReceivedMessage&) const = default;
};

class EditorModel {
public:
    // The document.
    std::u16string text;
    std::u16string path;  // empty: never saved
    std::int64_t anchor = 0;
    std::int64_t caret = 0;
    std::int64_t scroll = 0;

    // Misbehaviour.
    std::optional<std::int64_t> announcedCount;  // answer the size query with this
    bool terminatePath = true;                    // false: fill all room, no NUL
    bool answersNothing = false;                  // ignore every message

    // What was observed.
    std::vector<ReceivedMessage> log;
    bool paintingHeld = false;
    int paintingHolds = 0;       // times painting was held
    int paintingResumes = 0;     // times it was resumed
    int foreignRecords = 0;      // positions handed back that this editor never wrote
    std::u16string lastServedText;  // what the last text query wrote

    // Answers one message as the host does.
    std::intptr_t Handle(std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);

    // The selected text, from the lesser of anchor and caret.
    std::u16string SelectedText() const;

private:
    void FillRecord(std::intptr_t lParam, char tag, std::int64_t value);
    std::optional<std::int64_t> ReadRecord(std::intptr_t lParam, char tag);
};

}  // namespace tollik::testing
