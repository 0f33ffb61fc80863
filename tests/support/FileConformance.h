#pragma once
// The same file-system cases run against the fake Windows (natively) and
// against the real one (under Wine), so the fake cannot drift from what
// Windows does for the cases the plug-in meets: path expansion, presence
// tests, folder creation and the script file's bytes and failures.

#include <string>
#include <vector>

#include "os/SystemApi.h"

namespace tollik::testing {

// A place to run the cases in: an empty folder on a fixed drive.
class ConformanceWorld {
public:
    virtual ~ConformanceWorld() = default;
    virtual os::SystemApi& Api() = 0;
    // Full path of the empty folder the cases work in, without a final backslash.
    virtual std::u16string Base() = 0;
    virtual void ChangeCurrentDirectory(const std::u16string& path) = 0;
    virtual void AddFolder(const std::u16string& path) = 0;
    virtual void AddFile(const std::u16string& path, const std::string& bytes) = 0;
    // Another process opens the file for writing (sharing reads) and keeps it open.
    virtual void HoldOpenForWriting(const std::u16string& path) = 0;
    // Another process opens the file for reading only, sharing reads.
    virtual void HoldOpenForReading(const std::u16string& path) = 0;
    virtual void ReleaseHeldFiles() = 0;
    virtual bool IsFolder(const std::u16string& path) = 0;
    // The file's bytes, or "<none>" when there is no file.
    virtual std::string Content(const std::u16string& path) = 0;
};

// Runs every case; returns one line per disagreement, empty when all agree.
std::vector<std::string> ConformanceMismatches(ConformanceWorld& world);

}  // namespace tollik::testing
