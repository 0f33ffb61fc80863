#pragma once
// The file system of the fake Windows: drives and network shares, folders,
// files with attributes, symbolic links (also dangling), devices, open
// handles with their share modes, and the process error mode. Operations
// follow Windows' rules and error codes; where Windows and Wine were seen to
// differ, Windows' documented behaviour is kept.

#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "FakePathNames.h"
#include "WindowsTestConstants.h"
#include "os/SystemApi.h"

namespace tollik::fake {

struct DriveDescription {
    std::uint32_t type = os::kDriveFixed;
    bool ready = true;      // media in the drive; for a network drive, the share reachable
    bool readOnly = false;  // write-protected media, such as a pressed disc
    std::uint64_t totalBytes = std::uint64_t{512} << 30;
    std::uint64_t freeBytes = std::uint64_t{128} << 30;
};

class FakeFileSystem {
public:
    FakeFileSystem();  // drive C: holding the current directory C:\Users\tollik
    ~FakeFileSystem();
    FakeFileSystem(const FakeFileSystem&) = delete;
    FakeFileSystem& operator=(const FakeFileSystem&) = delete;

    PathContext paths;
    std::uint32_t errorMode = 0;
    // System error boxes Windows would have shown: a drive without media
    // touched while the error mode lets critical errors through.
    mutable int criticalErrorBoxes = 0;
    std::vector<std::u16string> createdFolders;  // by CreateDirectoryW, in order

    // Setting up the world. Paths are full paths; missing parents are made.
    DriveDescription& AddDrive(char16_t letter, DriveDescription description = {});
    DriveDescription& AddShare(std::u16string_view root, DriveDescription description = {os::kDriveRemote});
    void AddFolder(std::u16string_view path, std::uint32_t attributes = 0);
    void AddFile(std::u16string_view path, std::string_view bytes = {},
                 std::uint32_t attributes = os::kFileAttributeArchive);
    void AddLink(std::u16string_view path, std::u16string_view target, bool toFolder);
    void AddDevice(std::u16string_view path, std::uint32_t fileType);
    void SetAttributes(std::u16string_view path, std::uint32_t attributes);
    // `alias` names the entry too, as an 8.3 short name does.
    void SetShortName(std::u16string_view path, std::u16string_view alias);
    // The file reports `size` bytes, more than it holds: a huge sparse file
    // whose missing bytes read as zeros.
    void SetSparseSize(std::u16string_view path, std::uint64_t size);
    // GetFileAttributesW refuses with `error`; searches still list the entry.
    void FailAttributeQuery(std::u16string_view path, std::uint32_t error);
    // Opening refuses with `error` (the file's permissions, say).
    void RefuseOpen(std::u16string_view path, std::uint32_t error);
    // Nothing can be created inside this folder: access denied.
    void RefuseNewEntries(std::u16string_view path);
    // Another process opens the file and keeps it open.
    void OpenElsewhere(std::u16string_view path, std::uint32_t access, std::uint32_t share);
    // The other processes close what they hold.
    void CloseHeldElsewhere();

    // Looking at the world.
    bool Exists(std::u16string_view path) const;
    bool IsFolder(std::u16string_view path) const;
    std::optional<std::string> FileContent(std::u16string_view path) const;
    // Every entry by its full path: its kind ("file", "folder", "link",
    // "device"), attributes and a file's bytes, so that two snapshots show
    // what a run changed.
    std::map<std::u16string, std::string> Snapshot() const;
    // Handles the code under test opened and has not closed: files, then searches.
    int OpenFiles() const;
    int OpenSearches() const;

    // The operations, with Windows' results; a failure sets `error`.
    std::optional<std::u16string> FullPath(std::u16string_view path) const;
    // Every name in the full form of an existing path written out long; a
    // final backslash stays. Links are followed, which Windows does not do.
    std::optional<std::u16string> LongPath(std::u16string_view path, std::uint32_t& error) const;
    std::uint32_t GetFileAttributes(std::u16string_view path, std::uint32_t& error);
    void* FindFirstFile(std::u16string_view pattern, os::FindData& data, std::uint32_t& error);
    // The next match; false with ERROR_NO_MORE_FILES after the last.
    bool FindNextFile(void* search, os::FindData& data, std::uint32_t& error);
    bool FindClose(void* search, std::uint32_t& error);
    void* CreateFile(std::u16string_view path, std::uint32_t access, std::uint32_t share,
                     std::uint32_t disposition, std::uint32_t flags, std::uint32_t& error);
    bool CloseHandle(void* handle, std::uint32_t& error);
    std::uint32_t GetFileType(void* handle, std::uint32_t& error);
    bool WriteFile(void* handle, const void* bytes, std::uint32_t count, std::uint32_t& written,
                   std::uint32_t& error);
    bool ReadFile(void* handle, void* bytes, std::uint32_t count, std::uint32_t& read,
                  std::uint32_t& error);
    bool GetFileSize(void* handle, std::int64_t& size, std::uint32_t& error);
    bool CreateDirectory(std::u16string_view path, std::uint32_t& error);
    std::uint32_t GetDriveType(const char16_t* root);
    // Total and free bytes of the volume holding `directory` (null: current).
    bool DiskSpace(const char16_t* directory, std::uint64_t& total, std::uint64_t& free,
                   std::uint32_t& error);

private:
    struct Node;
    struct Volume;
    struct Lookup;
    struct OpenHandle;

    // Finds what a path names. Counts a system error box when a drive
    // without media is touched, unless `quiet` (setting up and looking).
    Lookup Resolve(std::u16string_view path, bool followLastLink, bool quiet = false) const;
    Lookup Walk(std::u16string_view fullPath, bool followLastLink, int depth) const;
    Node& MakePath(std::u16string_view path);
    Node& Require(std::u16string_view path) const;
    Volume* VolumeFor(std::u16string_view fullPath, std::uint32_t& error) const;
    static std::uint32_t AttributesOf(const Node& node);
    static std::uint64_t SizeOf(const Node& node);
    bool SharingAllows(const Node& node, std::uint32_t access, std::uint32_t share) const;
    void* NewHandle(OpenHandle handle);
    // A file, folder or device handle the code under test holds; null, with
    // ERROR_INVALID_HANDLE, for anything else.
    OpenHandle* OwnFileHandle(void* handle, std::uint32_t& error);

    std::map<std::u16string, std::unique_ptr<Volume>> volumes_;  // by upper-case root
    std::map<std::uintptr_t, std::unique_ptr<OpenHandle>> handles_;
    std::uintptr_t nextHandle_ = 0x100;
};

}  // namespace tollik::fake
