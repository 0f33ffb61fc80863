// Every system call the command makes, made to fail in turn with each error
// it can really return, in every scenario; then, on each path that ends with
// a message, every later call made to fail as well. After each run the host,
// the handles, the error mode and the file system must be as they should.

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "CommandSweep.h"
#include "FakeText.h"
#include "PluginApi/HostMessages.h"

namespace tollik {
namespace {

using namespace os;
using testing::CommandScenarios;
using testing::Ending;
using testing::Scenario;
using testing::SweepRun;

constexpr std::uint32_t kErrorLockViolation = 33;
constexpr std::uint32_t kErrorNetnameDeleted = 64;
constexpr std::uint32_t kSeErrNoAssociation = 31;

// What each call can fail with on a real system. A call that is not listed
// here must be one that cannot fail.
const std::map<std::string, std::vector<std::uint32_t>> kErrors = {
    {"GetModuleFileNameW", {kErrorNotEnoughMemory}},
    {"GetFullPathNameW", {kErrorFilenameExcedRange, kErrorInvalidName}},
    {"GetFileAttributesW",
     {kErrorAccessDenied, kErrorSharingViolation, kErrorPathNotFound, kErrorNotReady}},
    {"FindFirstFileW", {kErrorFileNotFound, kErrorAccessDenied, kErrorNotReady}},
    {"FindClose", {kErrorInvalidHandle}},
    {"CreateFileW",
     {kErrorAccessDenied, kErrorSharingViolation, kErrorPathNotFound, kErrorDiskFull,
      kErrorNotReady, kErrorWriteProtect}},
    {"CloseHandle", {kErrorDiskFull, kErrorNetnameDeleted}},
    {"GetFileType", {kErrorInvalidHandle}},
    {"WriteFile", {kErrorDiskFull, kErrorNotReady, kErrorLockViolation}},
    {"ReadFile", {kErrorNotReady, kErrorLockViolation}},
    {"GetFileSizeEx", {kErrorNotReady, kErrorAccessDenied}},
    {"CreateDirectoryW",
     {kErrorAccessDenied, kErrorPathNotFound, kErrorAlreadyExists, kErrorDiskFull}},
    {"GetTempPathW", {kErrorNotEnoughMemory}},
    {"GetLongPathNameW", {kErrorFileNotFound, kErrorPathNotFound, kErrorAccessDenied}},
    {"GetDriveTypeW", {kErrorInvalidParameter}},
    {"GetDiskFreeSpaceExW", {kErrorNotReady, kErrorAccessDenied, kErrorBadNetpath}},
    {"GetDiskFreeSpaceW", {kErrorNotReady, kErrorAccessDenied}},
    {"WideCharToMultiByte", {kErrorInsufficientBuffer, kErrorInvalidParameter}},
    {"MultiByteToWideChar", {kErrorNoUnicodeTranslation, kErrorInsufficientBuffer}},
    {"FormatMessageW", {kErrorMrMidNotFound, kErrorNotEnoughMemory}},
    {"SendMessageW", {kErrorInvalidWindowHandle, kErrorAccessDenied}},
    {"MessageBoxW", {kErrorInvalidWindowHandle}},
    {"SHGetFolderPathW", {kErrorFileNotFound, kErrorAccessDenied}},
    {"ShellExecuteW", {kErrorFileNotFound, kErrorAccessDenied, kSeErrNoAssociation}},
    {"VirtualAlloc", {kErrorNotEnoughMemory}},
};
const std::set<std::string> kCannotFail = {"GetACP", "GetKeyState", "SetErrorMode", "VirtualFree",
                                           "LocalFree", "CharUpperW",  "CharUpperBuffW"};

// The calls whose failure is taken as an answer ("absent", "present").
const std::set<std::string> kExistenceTests = {"GetFileAttributesW", "FindFirstFileW",
                                               "GetDriveTypeW",      "GetDiskFreeSpaceExW",
                                               "GetDiskFreeSpaceW",  "GetFullPathNameW"};

struct Injection {
    std::string call;
    int occurrence;
    std::uint32_t error;
};

// A run's calls, and where its steps begin.
struct Recording {
    std::vector<std::string> calls;
    std::vector<std::string> arguments;
    std::size_t firstIniCheck;  // the host is confirmed: looking for its settings
    std::size_t firstProbe;     // the plug-in settings: the HSP folder probe
    std::size_t firstSend;      // the capture
    std::size_t lastSend;       // the document path asked
    std::size_t keyRead;        // the launch

    explicit Recording(const fake::FakeWindows& w) : calls(w.calls), arguments(w.callArguments) {
        const auto first = [&](auto matches) {
            for (std::size_t i = 0; i < calls.size(); ++i)
                if (matches(i)) return i;
            return calls.size();
        };
        firstIniCheck = first([&](std::size_t i) { return arguments[i].ends_with("Pellam.ini"); });
        firstProbe = first([&](std::size_t i) { return arguments[i] == "C:\\hsp37\\"; });
        firstSend = first([&](std::size_t i) { return calls[i] == "SendMessageW"; });
        keyRead = first([&](std::size_t i) { return calls[i] == "GetKeyState"; });
        lastSend = firstSend;
        for (std::size_t i = firstSend; i < keyRead; ++i)
            if (calls[i] == "SendMessageW") lastSend = i;
    }

    int Occurrence(std::size_t index) const {
        int n = 0;
        for (std::size_t i = 0; i <= index; ++i) n += calls[i] == calls[index];
        return n;
    }

    bool ResumesPainting(std::size_t index) const {
        char expected[48];
        std::snprintf(expected, sizeof expected, "message=%X wParam=1", MSG_ENABLE_REDRAW);
        return calls[index] == "SendMessageW" && arguments[index] == expected;
    }
};

// How a run may end when call `i` of a clean run fails, by the step it belongs to.
std::set<Ending> EndingsAllowed(const Scenario& scenario, const Recording& r, std::size_t i) {
    const std::string& call = r.calls[i];
    if (i < r.firstProbe) {
        // Finding the host settings file: only an unnamed per-user folder has
        // a message, and only an unconfirmed host ends the command silently.
        if (call == "SHGetFolderPathW") return {Ending::RelativeFolder};
        if (i < r.firstIniCheck) return {Ending::Launched, Ending::Silent};
        return {Ending::Launched};
    }
    if (i < r.firstSend) {
        const bool opening =
            call == "CreateFileW" && r.arguments[i] == testing::Utf8(scenario.settingsFile);
        return {opening ? Ending::SettingsOpen : Ending::Launched};
    }
    // The launch: a host whose path is lost by now starts nothing.
    if (i >= r.keyRead) return {call == "GetModuleFileNameW" ? Ending::Silent : Ending::Launched};
    if (call == "VirtualAlloc") return {Ending::OutOfMemory};  // no room for the text
    if (i <= r.lastSend) return {Ending::Launched};
    // Saving the script.
    if (call == "CreateDirectoryW") return {Ending::ScriptFolder};
    if (call == "CreateFileW" || call == "GetFileType" || call == "WriteFile" ||
        call == "WideCharToMultiByte" || call == "CloseHandle")
        return {Ending::ScriptWrite};
    // A folder test that fails either way: taken as present, the file's
    // creation reports it; taken as absent, the folder is made or refused.
    if (call == "GetFileAttributesW")
        return {Ending::Launched, Ending::ScriptFolder, Ending::ScriptWrite};
    return {Ending::Launched};
}

// The whole text of a message that names a file or folder of the scenario;
// empty for the messages whose text is fixed (EndingOf matched them whole).
std::u16string ExpectedText(const Scenario& scenario, Ending ending, const SweepRun& run,
                            std::uint32_t error) {
    if (ending == Ending::ScriptFolder)
        return u"ディレクトリ" + scenario.scriptFolder + u"を作成できません。";
    if (ending != Ending::SettingsOpen) return {};
    // The system's own words for the error, without their full stop and line break.
    std::u16string reason = run.editor.windows.systemMessages.at(error);
    reason.resize(reason.size() - 3);
    return u"ファイル " + scenario.settingsFile + u" は開けません。 " + reason + u" ";
}

std::string Describe(const std::vector<Injection>& injections) {
    std::string text;
    for (const Injection& f : injections)
        text += f.call + " #" + std::to_string(f.occurrence) + " error " + std::to_string(f.error) +
                "; ";
    return text;
}

std::unique_ptr<SweepRun> RunWith(const Scenario& scenario,
                                  const std::vector<Injection>& injections) {
    auto run = std::make_unique<SweepRun>(scenario);
    for (const Injection& f : injections)
        run->editor.windows.FailCall(f.call, f.error, f.occurrence);
    run->OnCommand();
    return run;
}

// Checks one run; true when it holds.
bool Holds(const SweepRun& run, const std::set<Ending>& allowed, bool resumeFailed,
           const std::string& what) {
    const Ending ending = testing::EndingOf(run);
    bool ok = true;
    if (!allowed.contains(ending)) {
        ADD_FAILURE() << what << ": ended with " << testing::Describe(ending);
        ok = false;
    }
    for (const std::string& broken : testing::BrokenInvariants(run, resumeFailed)) {
        ADD_FAILURE() << what << ": " << broken;
        ok = false;
    }
    return ok;
}

TEST(FaultSweep, EveryCallFailingLeavesTheHostAndTheSystemAsTheyShouldBe) {
    int points = 0, secondPoints = 0, failures = 0;
    for (const Scenario& scenario : CommandScenarios()) {
        SCOPED_TRACE(scenario.name);
        const auto clean = RunWith(scenario, {});
        ASSERT_TRUE(Holds(*clean, {Ending::Launched}, false, "clean run"));
        const Recording recording(clean->editor.windows);
        ASSERT_LT(recording.keyRead, recording.calls.size());

        for (std::size_t i = 0; i < recording.calls.size() && failures < 10; ++i) {
            const std::string& call = recording.calls[i];
            const auto errors = kErrors.find(call);
            if (errors == kErrors.end()) {
                EXPECT_TRUE(kCannotFail.contains(call)) << call << " has no errors listed";
                continue;
            }
            const std::set<Ending> allowed = EndingsAllowed(scenario, recording, i);
            for (const std::uint32_t error : errors->second) {
                const Injection first{call, recording.Occurrence(i), error};
                const auto run = RunWith(scenario, {first});
                ++points;
                if (!Holds(*run, allowed, recording.ResumesPainting(i), Describe({first}))) {
                    ++failures;
                    continue;
                }
                const Ending ending = testing::EndingOf(*run);
                if (ending == Ending::Launched || ending == Ending::Silent) continue;
                const std::u16string expectedText = ExpectedText(scenario, ending, *run, error);
                if (!expectedText.empty()) {
                    EXPECT_EQ(testing::Utf8(run->editor.windows.messageBoxes.at(0).text),
                              testing::Utf8(expectedText))
                        << Describe({first});
                }

                // The failure path: every later call failing too.
                const Recording failing(run->editor.windows);
                for (std::size_t j = i + 1; j < failing.calls.size() && failures < 10; ++j) {
                    const auto more = kErrors.find(failing.calls[j]);
                    if (more == kErrors.end()) continue;
                    const std::vector<Injection> both = {
                        first, {failing.calls[j], failing.Occurrence(j), more->second.front()}};
                    const auto second = RunWith(scenario, both);
                    ++secondPoints;
                    std::set<Ending> expected = {ending};
                    if (failing.calls[j] == "MessageBoxW") expected = {Ending::Silent};
                    // An existence test that fails can steer the command
                    // past what failed first (a folder taken as present).
                    if (kExistenceTests.contains(failing.calls[j]))
                        expected.insert(Ending::Launched);
                    if (!Holds(*second, expected, failing.ResumesPainting(j), Describe(both)))
                        ++failures;
                }
            }
        }
    }
    std::printf("fault sweep: %zu scenarios, %d single faults, %d second faults on failure paths\n",
                CommandScenarios().size(), points, secondPoints);
    RecordProperty("single_faults", points);
    RecordProperty("second_faults", secondPoints);
    EXPECT_GT(points, 0);
}

}  // namespace
}  // namespace tollik
