#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "FakeWindows.h"
#include "FileConformance.h"
#include "SettingsConformance.h"

namespace tollik {
namespace {

class FakeWorld final : public testing::ConformanceWorld {
public:
    FakeWorld() { windows_.files.AddFolder(u"C:\\conformance"); }

    os::SystemApi& Api() override { return windows_; }
    std::u16string Base() override { return u"C:\\conformance"; }
    void ChangeCurrentDirectory(const std::u16string& path) override {
        windows_.files.paths.currentDirectory = path;
    }
    void AddFolder(const std::u16string& path) override { windows_.files.AddFolder(path); }
    void AddFile(const std::u16string& path, const std::string& bytes) override {
        windows_.files.AddFile(path, bytes);
    }
    void HoldOpenForWriting(const std::u16string& path) override {
        windows_.files.OpenElsewhere(path, os::kGenericWrite, os::kFileShareRead);
    }
    void HoldOpenForReading(const std::u16string& path) override {
        windows_.files.OpenElsewhere(path, os::kGenericRead, os::kFileShareRead);
    }
    void ReleaseHeldFiles() override { windows_.files.CloseHeldElsewhere(); }
    bool IsFolder(const std::u16string& path) override { return windows_.files.IsFolder(path); }
    std::string Content(const std::u16string& path) override {
        return windows_.files.FileContent(path).value_or("<none>");
    }

    int OpenFiles() const { return windows_.files.OpenFiles(); }
    int LocalAllocations() const { return windows_.LocalAllocations(); }

private:
    fake::FakeWindows windows_;
};

TEST(Conformance, TheFakeAnswersTheSharedFileCasesAsWindowsDoes) {
    FakeWorld world;
    const std::vector<std::string> mismatches = testing::ConformanceMismatches(world);
    for (const std::string& line : mismatches) ADD_FAILURE() << line;
    EXPECT_EQ(world.OpenFiles(), 0);
}

TEST(Conformance, TheFakeReadsTheSharedSettingsFilesAsWindowsDoes) {
    FakeWorld world;
    const std::vector<std::string> mismatches = testing::SettingsConformanceMismatches(world);
    for (const std::string& line : mismatches) ADD_FAILURE() << line;
    EXPECT_EQ(world.OpenFiles(), 0);
    EXPECT_EQ(world.LocalAllocations(), 0);
    EXPECT_GE(testing::SettingsFormatCaseCount(), 50);
}

}  // namespace
}  // namespace tollik
