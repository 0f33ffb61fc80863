// The shared file-system cases against the real Windows: the plug-in's own
// logic through its real seam, in a fresh folder under the temporary folder.

#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Common/FileSystem.h"
#include "FileConformance.h"
#include "SettingsConformance.h"
#include "HSPCmp/ScriptWriter.h"
#include "os/Win32SystemApi.h"

namespace tollik {
namespace {

const wchar_t* Wide(const std::u16string& text) {
    return reinterpret_cast<const wchar_t*>(text.c_str());
}

std::u16string Narrow(const std::wstring& text) {
    return std::u16string(reinterpret_cast<const char16_t*>(text.data()), text.size());
}

// Removes a folder and everything below it, links included (not followed).
void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found{};
    const HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
                !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
                RemoveTree(path);
            } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveDirectoryW(path.c_str());
            } else {
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

class RealWorld final : public testing::ConformanceWorld {
public:
    RealWorld() {
        wchar_t temp[MAX_PATH + 1] = {};
        GetTempPathW(MAX_PATH + 1, temp);
        wchar_t longTemp[MAX_PATH + 1] = {};
        if (GetLongPathNameW(temp, longTemp, MAX_PATH + 1) == 0) lstrcpynW(longTemp, temp, MAX_PATH);
        base_ = std::wstring(longTemp) + L"tollik-conformance-" + std::to_wstring(GetCurrentProcessId());
        RemoveTree(base_);
        CreateDirectoryW(base_.c_str(), nullptr);
        wchar_t current[MAX_PATH + 1] = {};
        GetCurrentDirectoryW(MAX_PATH + 1, current);
        previousDirectory_ = current;
    }
    ~RealWorld() override {
        ReleaseHeldFiles();
        ::SetCurrentDirectoryW(previousDirectory_.c_str());
        RemoveTree(base_);
    }

    os::SystemApi& Api() override { return api_; }
    std::u16string Base() override { return Narrow(base_); }
    void ChangeCurrentDirectory(const std::u16string& path) override {
        ASSERT_TRUE(::SetCurrentDirectoryW(Wide(path)));
    }
    void AddFolder(const std::u16string& path) override {
        ASSERT_TRUE(CreateDirectoryW(Wide(path), nullptr));
    }
    void AddFile(const std::u16string& path, const std::string& bytes) override {
        const HANDLE file = CreateFileW(Wide(path), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                        FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        DWORD written = 0;
        WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
        CloseHandle(file);
    }
    void HoldOpenForWriting(const std::u16string& path) override {
        const HANDLE file = CreateFileW(Wide(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        held_.push_back(file);
    }
    void HoldOpenForReading(const std::u16string& path) override {
        const HANDLE file = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                        OPEN_EXISTING, 0, nullptr);
        ASSERT_NE(file, INVALID_HANDLE_VALUE);
        held_.push_back(file);
    }
    void ReleaseHeldFiles() override {
        for (const HANDLE file : held_) CloseHandle(file);
        held_.clear();
    }
    bool IsFolder(const std::u16string& path) override {
        const DWORD attributes = GetFileAttributesW(Wide(path));
        return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
    }
    std::string Content(const std::u16string& path) override {
        const HANDLE file = CreateFileW(Wide(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                        nullptr, OPEN_EXISTING, 0, nullptr);
        if (file == INVALID_HANDLE_VALUE) return "<none>";
        std::string bytes;
        char chunk[4096];
        DWORD read = 0;
        while (ReadFile(file, chunk, sizeof chunk, &read, nullptr) && read > 0) bytes.append(chunk, read);
        CloseHandle(file);
        return bytes;
    }

private:
    os::Win32SystemApi api_;
    std::wstring base_;
    std::wstring previousDirectory_;
    std::vector<HANDLE> held_;
};

TEST(Conformance, RealWindowsAnswersTheSharedFileCases) {
    RealWorld world;
    for (const std::string& line : testing::ConformanceMismatches(world)) ADD_FAILURE() << line;
}

TEST(Conformance, RealWindowsReadsTheSharedSettingsFiles) {
    RealWorld world;
    for (const std::string& line : testing::SettingsConformanceMismatches(world)) ADD_FAILURE() << line;
}

TEST(Conformance, HostExecutablePathNamesTheProgramNotALibrary) {
    os::Win32SystemApi api;
    wchar_t expected[MAX_PATH + 1] = {};
    const DWORD length = GetModuleFileNameW(nullptr, expected, MAX_PATH + 1);
    ASSERT_GT(length, 0u);
    EXPECT_EQ(HostExecutablePath(api), Narrow(std::wstring(expected, length)));
}

// The system's ANSI code page is the one the plug-in's users have: the test
// environment runs Wine under a Japanese locale.
TEST(Conformance, TheSystemCodePageWritesShiftJis) {
    ASSERT_EQ(GetACP(), 932u) << "run under LANG=ja_JP.UTF-8";
    RealWorld world;
    os::Win32SystemApi api;
    const std::u16string script = world.Base() + u"\\hsptmp";
    SaveScriptFile(api, api.GetACP(), script, u"mes \"こんにちは\"");
    EXPECT_EQ(world.Content(script), "mes \"\x82\xB1\x82\xF1\x82\xC9\x82\xBF\x82\xCD\"\r\n");
}

}  // namespace
}  // namespace tollik
