// The settings checker against the plug-in's reader: for any file the
// checker's own line-by-line reading never fails, it resolves the very values
// the command would use, and its UTF-8 validator calls a file ill-formed
// exactly when the system's strict decoding refuses it.

#include <string>

#include "FakeWindows.h"
#include "FuzzInput.h"
#include "InstallCheck.h"
#include "LibraryState.h"
#include "SettingsLint.h"

using namespace tollik;

namespace {

const std::u16string kHostSettings = u"C:\\Pellam\\Pellam.ini";
const std::u16string kPath = u"C:\\Pellam\\Plugins\\Tollik\\Tollik.ini";

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    static fake::FakeWindows windows;
    static const LibraryState library = InitializeLibrary(windows, nullptr);
    windows.ForgetCalls();
    windows.files.AddFile(kPath, bytes);

    const RunSettings plugin = LoadRunSettings(windows, library.diskSpace, kHostSettings);
    check::Report report;
    const RunSettings checker =
        check::CheckSettingsFile(windows, kPath, kPath, plugin.HspDirectory, report);
    fuzz::Require(checker.HspDirectory == plugin.HspDirectory &&
                      checker.RunMode == plugin.RunMode &&
                      checker.ShowDebugWindow == plugin.ShowDebugWindow,
                  "the checker resolves the values the plug-in reads");

    const std::string_view body = bytes.starts_with("\xEF\xBB\xBF") ? bytes.substr(3) : bytes;
    const bool refused = !body.empty() && windows.MultiByteToWideChar(
                                              os::kCpUtf8, os::kMbErrInvalidChars, body.data(),
                                              static_cast<int>(body.size()), nullptr, 0) <= 0;
    bool reported = false;
    for (const check::ReportItem& item : report.items)
        reported |= item.id == check::MessageId::NotUtf8;
    fuzz::Require(reported == refused, "not UTF-8 exactly when the strict decoding refuses it");
    return 0;
}
