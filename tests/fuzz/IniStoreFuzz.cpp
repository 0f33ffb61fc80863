// Settings files: any bytes give a store (never a crash), every read gives
// a value, one leading byte-order mark changes nothing, and the numbers and
// flags agree with the text they come from.

#include <string>

#include "FakeWindows.h"
#include "FuzzInput.h"
#include "settings/IniStore.h"
#include "settings/NumberText.h"

using namespace tollik;

namespace {

const std::u16string kPath = u"C:\\Plugins\\Tollik\\Tollik.ini";

// One Windows for every input, its settings file rewritten each time: the
// store reads the file once and keeps nothing of the system's.
fake::FakeWindows& WindowsHolding(std::string_view bytes) {
    static fake::FakeWindows windows;
    windows.ForgetCalls();
    windows.files.AddFile(kPath, bytes);
    return windows;
}

std::vector<std::u16string> SectionNames(std::string_view bytes) {
    const IniStore store(WindowsHolding(bytes), kPath, kUtf8Encoding);
    std::vector<std::u16string> names;
    for (const IniSection& section : store.Sections()) names.emplace_back(section.name);
    return names;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const IniStore store(WindowsHolding(bytes), kPath, kUtf8Encoding);

    // The three keys the plug-in reads, then names the file itself offers.
    std::vector<std::pair<std::u16string, std::u16string>> names = {
        {u"Tollik", u"HSPDirName"}, {u"Tollik", u"Mode"}, {u"tollik", u"DEBUGWINDOW"}};
    for (const IniSection& section : store.Sections())
        for (const std::u16string_view line : section.lines) {
            std::u16string_view key, value;
            if (SplitIniEntry(line, key, value)) names.emplace_back(section.name, key);
        }
    for (const auto& [section, key] : names) {
        const std::u16string text = store.ReadText(section, key, u"\uFFFF");
        const std::int32_t number = store.ReadNumber(section, key, 7);
        fuzz::Require(number == ConvertSettingsNumber(text == u"\uFFFF" ? u"" : text).value_or(7),
                      "a number is its text converted");
        fuzz::Require(
            store.ReadFlag(section, key, true) == (store.ReadNumber(section, key, 1) != 0),
            "a flag is its number not being zero");
    }
    fuzz::Require(store.ReadText(u"\uFFFE", u"Mode", u"d") == u"d",
                  "a missing section gives the default");

    // One leading mark is skipped, and nothing else changes.
    if (!bytes.starts_with("\xEF\xBB\xBF"))
        fuzz::Require(SectionNames("\xEF\xBB\xBF" + std::string(bytes)) == SectionNames(bytes),
                      "a byte-order mark changes nothing");
    return 0;
}
