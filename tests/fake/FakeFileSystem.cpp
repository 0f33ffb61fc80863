#include "FakeFileSystem.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "FakeText.h"

namespace tollik::fake {

using namespace os;

struct FakeFileSystem::Node {
    enum class Kind { File, Folder, Link, Device };
    Kind kind = Kind::Folder;
    std::u16string name;
    std::uint32_t attributes = 0;  // beyond what the kind implies
    std::string content;
    std::uint64_t sparseSize = 0;  // a larger size the file reports; the rest reads as zeros
    std::map<std::u16string, std::unique_ptr<Node>> children;  // by upper-case name
    std::u16string target;
    bool toFolder = false;
    std::uint32_t fileType = kFileTypeDisk;
    std::uint32_t attributeError = 0;
    std::uint32_t openError = 0;
    bool refusesNewEntries = false;
    std::u16string shortName;  // the 8.3 alias, upper case; empty when none
    Node* parent = nullptr;
};

struct FakeFileSystem::Volume {
    DriveDescription description;
    std::u16string root;  // "C:\" or "\\server\share"
    Node top;
};

// What a path names: the node, or the folder where a missing last name
// would go; `error` is 0 when the node was found.
struct FakeFileSystem::Lookup {
    Volume* volume = nullptr;
    Node* node = nullptr;
    Node* parent = nullptr;
    std::u16string name;
    std::uint32_t error = 0;
    bool touchedEmptyDrive = false;
};

struct FakeFileSystem::OpenHandle {
    enum class Kind { File, Folder, Device, Search };
    Kind kind;
    Node* node = nullptr;
    Volume* volume = nullptr;
    std::uint32_t access = 0;
    std::uint32_t share = 0;
    std::uint64_t position = 0;
    bool elsewhere = false;  // held by another process
    std::vector<os::FindData> found = {};  // a search's matches still to come
};

namespace {

constexpr std::uint32_t kReadAccess = kGenericRead | 0x1;             // FILE_READ_DATA
constexpr std::uint32_t kWriteAccess = kGenericWrite | 0x2 | 0x4;     // FILE_WRITE_DATA, APPEND
constexpr std::uint32_t kDeleteAccess = 0x00010000;                   // DELETE
constexpr std::uint32_t kOwnAttributeBits = 0x1 | 0x2 | 0x4 | 0x20;   // read-only .. archive
constexpr std::uint32_t kErrorDirectory = 267;                        // ERROR_DIRECTORY
constexpr std::uint32_t kErrorInvalidFunction = 1;                    // ERROR_INVALID_FUNCTION

bool ValidName(std::u16string_view name) {
    for (const char16_t unit : name) {
        if (unit < 0x20) return false;
        if (std::u16string_view(u"<>:\"/|?*").find(unit) != std::u16string_view::npos) return false;
    }
    return true;
}

// "file:stream", a named stream of a file (NTFS), as the last name only; the
// fake keeps it as an entry of its own beside the file.
bool StreamName(std::u16string_view name) {
    const std::size_t colon = name.find(u':');
    return colon != std::u16string_view::npos && colon > 0 && colon + 1 < name.size() &&
           ValidName(name.substr(0, colon)) && ValidName(name.substr(colon + 1));
}

std::vector<std::u16string> SplitNames(std::u16string_view rest, bool& trailing) {
    std::vector<std::u16string> names;
    trailing = !rest.empty() && rest.back() == u'\\';
    std::size_t start = 0;
    while (start < rest.size()) {
        std::size_t end = rest.find(u'\\', start);
        if (end == std::u16string_view::npos) end = rest.size();
        if (end > start) names.emplace_back(rest.substr(start, end - start));
        start = end + 1;
    }
    return names;
}

// Windows' wildcard match: "*" any run, "?" one unit, "*.*" everything.
bool Matches(std::u16string_view pattern, std::u16string_view name) {
    if (pattern == u"*.*") pattern = u"*";
    std::size_t p = 0, n = 0, starP = std::u16string_view::npos, starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == u'*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == u'?' || UpperUnit(pattern[p]) == UpperUnit(name[n]))) {
            ++p;
            ++n;
        } else if (starP != std::u16string_view::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == u'*') ++p;
    return p == pattern.size();
}

bool Wants(std::uint32_t access, std::uint32_t bits) { return (access & bits) != 0; }

}  // namespace

FakeFileSystem::FakeFileSystem() {
    AddDrive(u'C');
    AddFolder(paths.currentDirectory);
}

FakeFileSystem::~FakeFileSystem() = default;

// ---- setting up --------------------------------------------------------

DriveDescription& FakeFileSystem::AddDrive(char16_t letter, DriveDescription description) {
    auto volume = std::make_unique<Volume>();
    volume->description = description;
    volume->root = {UpperUnit(letter), u':', u'\\'};
    DriveDescription& added = volume->description;
    volumes_[UpperCase(std::u16string{letter, u':'})] = std::move(volume);
    return added;
}

DriveDescription& FakeFileSystem::AddShare(std::u16string_view root, DriveDescription description) {
    auto volume = std::make_unique<Volume>();
    volume->description = description;
    volume->root = root;
    DriveDescription& added = volume->description;
    volumes_[UpperCase(root)] = std::move(volume);
    return added;
}

FakeFileSystem::Node& FakeFileSystem::MakePath(std::u16string_view path) {
    const std::optional<std::u16string> full = FullPath(path);
    if (!full) throw std::logic_error("fake file system: no such path " + Utf8(path));
    std::uint32_t error = 0;
    Volume* const volume = VolumeFor(*full, error);
    if (volume == nullptr) throw std::logic_error("fake file system: no volume for " + Utf8(path));
    bool trailing = false;
    Node* node = &volume->top;
    for (const std::u16string& name : SplitNames(std::u16string_view(*full).substr(RootOf(*full).size()), trailing)) {
        auto& child = node->children[UpperCase(name)];
        if (!child) {
            child = std::make_unique<Node>();
            child->name = name;
            child->parent = node;
        }
        node = child.get();
    }
    return *node;
}

FakeFileSystem::Node& FakeFileSystem::Require(std::u16string_view path) const {
    const Lookup found = Resolve(path, false, true);
    if (found.node == nullptr) throw std::logic_error("fake file system: nothing at " + Utf8(path));
    return *found.node;
}

void FakeFileSystem::AddFolder(std::u16string_view path, std::uint32_t attributes) {
    Node& node = MakePath(path);
    node.attributes = attributes;
}

void FakeFileSystem::AddFile(std::u16string_view path, std::string_view bytes,
                             std::uint32_t attributes) {
    Node& node = MakePath(path);
    node.kind = Node::Kind::File;
    node.content = bytes;
    node.attributes = attributes;
}

void FakeFileSystem::AddLink(std::u16string_view path, std::u16string_view target,
                             bool toFolder) {
    Node& node = MakePath(path);
    node.kind = Node::Kind::Link;
    node.target = target;
    node.toFolder = toFolder;
    node.attributes = toFolder ? 0 : kFileAttributeArchive;
}

void FakeFileSystem::AddDevice(std::u16string_view path, std::uint32_t fileType) {
    Node& node = MakePath(path);
    node.kind = Node::Kind::Device;
    node.fileType = fileType;
}

void FakeFileSystem::SetAttributes(std::u16string_view path, std::uint32_t attributes) {
    Require(path).attributes = attributes & kOwnAttributeBits;
}

void FakeFileSystem::SetShortName(std::u16string_view path, std::u16string_view alias) {
    Require(path).shortName = UpperCase(alias);
}

void FakeFileSystem::SetSparseSize(std::u16string_view path, std::uint64_t size) {
    Require(path).sparseSize = size;
}

std::uint64_t FakeFileSystem::SizeOf(const Node& node) {
    return std::max<std::uint64_t>(node.content.size(), node.sparseSize);
}

void FakeFileSystem::FailAttributeQuery(std::u16string_view path, std::uint32_t error) {
    Require(path).attributeError = error;
}

void FakeFileSystem::RefuseOpen(std::u16string_view path, std::uint32_t error) {
    Require(path).openError = error;
}

void FakeFileSystem::RefuseNewEntries(std::u16string_view path) {
    Require(path).refusesNewEntries = true;
}

void FakeFileSystem::OpenElsewhere(std::u16string_view path, std::uint32_t access,
                                   std::uint32_t share) {
    const Lookup found = Resolve(path, true, true);
    if (found.node == nullptr) throw std::logic_error("fake file system: nothing at " + Utf8(path));
    OpenHandle handle{OpenHandle::Kind::File};
    handle.node = found.node;
    handle.volume = found.volume;
    handle.access = access;
    handle.share = share;
    handle.elsewhere = true;
    NewHandle(std::move(handle));
}

void FakeFileSystem::CloseHeldElsewhere() {
    std::erase_if(handles_, [](const auto& h) { return h.second->elsewhere; });
}

// ---- looking -------------------------------------------------------------

bool FakeFileSystem::Exists(std::u16string_view path) const {
    return Resolve(path, false, true).node != nullptr;
}

bool FakeFileSystem::IsFolder(std::u16string_view path) const {
    const Lookup found = Resolve(path, false, true);
    return found.node != nullptr && found.node->kind == Node::Kind::Folder;
}

std::optional<std::string> FakeFileSystem::FileContent(std::u16string_view path) const {
    const Lookup found = Resolve(path, true, true);
    if (found.node == nullptr || found.node->kind != Node::Kind::File) return std::nullopt;
    return found.node->content;
}

std::map<std::u16string, std::string> FakeFileSystem::Snapshot() const {
    std::map<std::u16string, std::string> entries;
    std::vector<std::pair<std::u16string, const Node*>> pending;
    for (const auto& [key, volume] : volumes_) pending.emplace_back(volume->root, &volume->top);
    while (!pending.empty()) {
        const auto [path, node] = pending.back();
        pending.pop_back();
        std::string& entry = entries[path];
        static constexpr const char* kKinds[] = {"file", "folder", "link", "device"};
        entry = std::string(kKinds[static_cast<int>(node->kind)]) +
                " attributes=" + std::to_string(node->attributes) + " " + node->content;
        const std::u16string prefix = path.ends_with(u'\\') ? path : path + u'\\';
        for (const auto& [key, child] : node->children)
            pending.emplace_back(prefix + child->name, child.get());
    }
    return entries;
}

int FakeFileSystem::OpenFiles() const {
    return static_cast<int>(std::count_if(handles_.begin(), handles_.end(), [](const auto& h) {
        return !h.second->elsewhere && h.second->kind != OpenHandle::Kind::Search;
    }));
}

int FakeFileSystem::OpenSearches() const {
    return static_cast<int>(std::count_if(handles_.begin(), handles_.end(), [](const auto& h) {
        return h.second->kind == OpenHandle::Kind::Search;
    }));
}

// ---- resolving -----------------------------------------------------------

std::optional<std::u16string> FakeFileSystem::FullPath(std::u16string_view path) const {
    return FullPathName(path, paths);
}

std::optional<std::u16string> FakeFileSystem::LongPath(std::u16string_view path,
                                                      std::uint32_t& error) const {
    const Lookup found = Resolve(path, false);
    if (found.node == nullptr) {
        error = found.error;
        return std::nullopt;
    }
    std::u16string names;
    for (const Node* node = found.node; node->parent != nullptr; node = node->parent)
        names.insert(0, u"\\" + node->name);
    std::u16string root = found.volume->root;
    if (root.ends_with(u'\\')) root.pop_back();
    std::u16string result = root + names;
    if (names.empty() || path.ends_with(u'\\')) result += u'\\';
    return result;
}

FakeFileSystem::Volume* FakeFileSystem::VolumeFor(std::u16string_view fullPath,
                                                  std::uint32_t& error) const {
    std::u16string_view root = RootOf(fullPath);
    if (root.size() == 3 && root[1] == u':') root.remove_suffix(1);
    const auto found = volumes_.find(UpperCase(root));
    if (found != volumes_.end()) return found->second.get();
    if (root.size() >= 2 && root[0] == u'\\' && root[1] == u'\\') {
        // An unknown share on a known server, or no such server at all.
        const std::u16string server = UpperCase(root.substr(0, root.find(u'\\', 2) + 1));
        const bool serverKnown = std::any_of(volumes_.begin(), volumes_.end(), [&](const auto& v) {
            return v.first.starts_with(server) && server.size() > 2;
        });
        error = serverKnown ? kErrorBadNetName : kErrorBadNetpath;
    } else {
        error = kErrorPathNotFound;
    }
    return nullptr;
}

FakeFileSystem::Lookup FakeFileSystem::Resolve(std::u16string_view path, bool followLastLink,
                                               bool quiet) const {
    Lookup found;
    const std::optional<std::u16string> full = FullPath(path);
    if (!full) {
        found.error = kErrorPathNotFound;
        return found;
    }
    found = Walk(*full, followLastLink, 0);
    if (found.touchedEmptyDrive && !quiet && (errorMode & kSemFailCriticalErrors) == 0)
        ++criticalErrorBoxes;
    return found;
}

FakeFileSystem::Lookup FakeFileSystem::Walk(std::u16string_view fullPath, bool followLastLink,
                                            int depth) const {
    Lookup found;
    if (depth > 31) {
        found.error = kErrorCantResolveFilename;
        return found;
    }
    // Win32 namespace prefixes name the same objects.
    std::u16string path(fullPath);
    if (path.starts_with(u"\\\\?\\UNC\\")) path = u"\\\\" + path.substr(8);
    else if (path.starts_with(u"\\\\?\\") || path.starts_with(u"\\\\.\\")) path = path.substr(4);

    Volume* const volume = VolumeFor(path, found.error);
    if (volume == nullptr) return found;
    found.volume = volume;
    if (!volume->description.ready) {
        const bool network = volume->description.type == kDriveRemote;
        found.error = network ? kErrorBadNetpath : kErrorNotReady;
        found.touchedEmptyDrive = !network;
        return found;
    }

    bool trailing = false;
    const std::vector<std::u16string> names =
        SplitNames(std::u16string_view(path).substr(RootOf(path).size()), trailing);
    Node* node = const_cast<Node*>(&volume->top);
    for (std::size_t i = 0; i < names.size(); ++i) {
        const bool last = i + 1 == names.size();
        if (!ValidName(names[i]) && !(last && StreamName(names[i]))) {
            found.error = kErrorInvalidName;
            return found;
        }
        auto child = node->children.find(UpperCase(names[i]));
        if (child == node->children.end()) {
            // An 8.3 alias names the same entry.
            child = std::find_if(node->children.begin(), node->children.end(),
                                 [alias = UpperCase(names[i])](const auto& entry) {
                                     return entry.second->shortName == alias;
                                 });
        }
        if (child == node->children.end()) {
            found.error = last ? kErrorFileNotFound : kErrorPathNotFound;
            found.parent = last ? node : nullptr;
            found.name = names[i];
            return found;
        }
        Node* next = child->second.get();
        if (next->kind == Node::Kind::Link && (!last || followLastLink || trailing)) {
            Lookup target = Walk(next->target, true, depth + 1);
            if (!last) {
                if (target.node == nullptr || target.node->kind != Node::Kind::Folder) {
                    found.error = target.error == kErrorCantResolveFilename ? target.error
                                                                            : kErrorPathNotFound;
                    return found;
                }
                found.volume = target.volume;
                node = target.node;
                continue;
            }
            return target;  // a dangling link: where its target would go
        }
        if (!last && next->kind != Node::Kind::Folder) {
            found.error = kErrorPathNotFound;
            return found;
        }
        if (last && trailing && next->kind != Node::Kind::Folder) {
            found.error = kErrorPathNotFound;  // "file\" names no folder
            return found;
        }
        node = next;
    }
    found.node = node;
    found.parent = node->parent;
    found.name = node->name;
    return found;
}

// ---- operations ----------------------------------------------------------

// What GetFileAttributesW and a search report for an entry; a link reports
// itself, not its target.
std::uint32_t FakeFileSystem::AttributesOf(const Node& node) {
    switch (node.kind) {
        case Node::Kind::Folder: return kFileAttributeDirectory | node.attributes;
        case Node::Kind::Link:
            return kFileAttributeReparsePoint | node.attributes |
                   (node.toFolder ? kFileAttributeDirectory : 0);
        case Node::Kind::Device: return kFileAttributeArchive;
        case Node::Kind::File: break;
    }
    return node.attributes == 0 ? kFileAttributeNormal : node.attributes;
}

std::uint32_t FakeFileSystem::GetFileAttributes(std::u16string_view path, std::uint32_t& error) {
    const Lookup found = Resolve(path, false);
    if (found.node == nullptr) {
        error = found.error;
        return kInvalidFileAttributes;
    }
    const Node& node = *found.node;
    if (node.attributeError != 0) {
        error = node.attributeError;
        return kInvalidFileAttributes;
    }
    return AttributesOf(node);
}

void* FakeFileSystem::NewHandle(OpenHandle handle) {
    const std::uintptr_t value = nextHandle_;
    nextHandle_ += 4;
    handles_[value] = std::make_unique<OpenHandle>(std::move(handle));
    return reinterpret_cast<void*>(value);
}

void* FakeFileSystem::FindFirstFile(std::u16string_view pattern, FindData& data,
                                    std::uint32_t& error) {
    const std::optional<std::u16string> full = FullPath(pattern);
    const std::size_t lastSlash = full ? full->find_last_of(u'\\') : std::u16string::npos;
    if (!full || lastSlash == std::u16string::npos || lastSlash + 1 == full->size()) {
        error = kErrorFileNotFound;
        return InvalidHandleValue();
    }
    const std::u16string folderPath = full->substr(0, lastSlash + 1);
    const std::u16string namePattern = full->substr(lastSlash + 1);
    const Lookup folder = Resolve(folderPath, true);
    if (folder.node == nullptr || folder.node->kind != Node::Kind::Folder) {
        error = folder.node == nullptr ? folder.error : kErrorPathNotFound;
        if (error == kErrorFileNotFound) error = kErrorPathNotFound;
        return InvalidHandleValue();
    }

    struct Entry {
        std::u16string name;
        std::uint32_t attributes;
        std::uint64_t size;
    };
    std::vector<Entry> entries;
    if (folder.node != &folder.volume->top) {
        entries.push_back({u".", kFileAttributeDirectory | folder.node->attributes, 0});
        entries.push_back({u"..", kFileAttributeDirectory, 0});
    }
    for (const auto& [key, child] : folder.node->children) {
        entries.push_back({child->name, AttributesOf(*child), SizeOf(*child)});
    }
    OpenHandle search{OpenHandle::Kind::Search};
    search.node = folder.node;
    for (const Entry& entry : entries) {
        if (!Matches(namePattern, entry.name)) continue;
        FindData& match = search.found.emplace_back();
        match.attributes = entry.attributes;
        match.size = entry.size;
        std::copy_n(entry.name.begin(), std::min<std::size_t>(entry.name.size(), 259), match.name);
    }
    if (search.found.empty()) {
        error = kErrorFileNotFound;
        return InvalidHandleValue();
    }
    data = search.found.front();
    search.found.erase(search.found.begin());
    return NewHandle(std::move(search));
}

bool FakeFileSystem::FindNextFile(void* search, FindData& data, std::uint32_t& error) {
    const auto found = handles_.find(reinterpret_cast<std::uintptr_t>(search));
    if (found == handles_.end() || found->second->kind != OpenHandle::Kind::Search) {
        error = kErrorInvalidHandle;
        return false;
    }
    std::vector<FindData>& rest = found->second->found;
    if (rest.empty()) {
        error = kErrorNoMoreFiles;
        return false;
    }
    data = rest.front();
    rest.erase(rest.begin());
    return true;
}

bool FakeFileSystem::FindClose(void* search, std::uint32_t& error) {
    const auto found = handles_.find(reinterpret_cast<std::uintptr_t>(search));
    if (found == handles_.end() || found->second->kind != OpenHandle::Kind::Search) {
        error = kErrorInvalidHandle;
        return false;
    }
    handles_.erase(found);
    return true;
}

bool FakeFileSystem::SharingAllows(const Node& node, std::uint32_t access,
                                   std::uint32_t share) const {
    for (const auto& [value, open] : handles_) {
        if (open->node != &node || open->kind == OpenHandle::Kind::Search) continue;
        const auto clash = [](std::uint32_t wanted, std::uint32_t shared) {
            return (Wants(wanted, kReadAccess) && !(shared & kFileShareRead)) ||
                   (Wants(wanted, kWriteAccess) && !(shared & kFileShareWrite)) ||
                   (Wants(wanted, kDeleteAccess) && !(shared & kFileShareDelete));
        };
        if (clash(access, open->share) || clash(open->access, share)) return false;
    }
    return true;
}

void* FakeFileSystem::CreateFile(std::u16string_view path, std::uint32_t access,
                                 std::uint32_t share, std::uint32_t disposition,
                                 std::uint32_t flags, std::uint32_t& error) {
    const bool followLink = (flags & kFileFlagOpenReparsePoint) == 0;
    const Lookup found = Resolve(path, followLink);
    const bool writing = Wants(access, kWriteAccess);
    const std::uint32_t requested = flags & kOwnAttributeBits;

    if (found.node == nullptr) {
        if (found.error != kErrorFileNotFound || found.parent == nullptr) {
            error = found.error;
            return InvalidHandleValue();
        }
        if (disposition == kOpenExisting || disposition == kTruncateExisting) {
            error = kErrorFileNotFound;
            return InvalidHandleValue();
        }
        if (found.parent->refusesNewEntries) {
            error = kErrorAccessDenied;
            return InvalidHandleValue();
        }
        if (found.volume->description.readOnly) {
            error = kErrorWriteProtect;
            return InvalidHandleValue();
        }
        auto node = std::make_unique<Node>();
        node->kind = Node::Kind::File;
        node->name = found.name;
        node->attributes = requested | kFileAttributeArchive;
        node->parent = found.parent;
        Node* const created = node.get();
        found.parent->children[UpperCase(found.name)] = std::move(node);
        OpenHandle handle{OpenHandle::Kind::File, created, found.volume, access, share};
        error = kErrorSuccess;
        return NewHandle(std::move(handle));
    }

    Node& node = *found.node;
    if (node.openError != 0) {
        error = node.openError;
        return InvalidHandleValue();
    }
    if (node.kind == Node::Kind::Folder || (node.kind == Node::Kind::Link && node.toFolder)) {
        if ((flags & kFileFlagBackupSemantics) == 0 ||
            (disposition != kOpenExisting && disposition != kOpenAlways)) {
            error = kErrorAccessDenied;
            return InvalidHandleValue();
        }
        error = kErrorSuccess;
        return NewHandle({OpenHandle::Kind::Folder, &node, found.volume, access, share});
    }
    if (node.kind == Node::Kind::Device) {
        error = kErrorSuccess;
        return NewHandle({OpenHandle::Kind::Device, &node, found.volume, access, share});
    }
    if (disposition == kCreateNew) {
        error = kErrorFileExists;
        return InvalidHandleValue();
    }
    const bool truncating = disposition == kCreateAlways || disposition == kTruncateExisting;
    if ((writing || truncating) && (node.attributes & kFileAttributeReadOnly)) {
        error = kErrorAccessDenied;
        return InvalidHandleValue();
    }
    // Replacing a hidden or system file needs those attributes asked for.
    const std::uint32_t guarded = node.attributes & (kFileAttributeHidden | kFileAttributeSystem);
    if (disposition == kCreateAlways && (guarded & ~requested) != 0) {
        error = kErrorAccessDenied;
        return InvalidHandleValue();
    }
    if ((writing || truncating) && found.volume->description.readOnly) {
        error = kErrorWriteProtect;
        return InvalidHandleValue();
    }
    if (!SharingAllows(node, access, share)) {
        error = kErrorSharingViolation;
        return InvalidHandleValue();
    }
    if (truncating) {
        found.volume->description.freeBytes += node.content.size();
        node.content.clear();
        node.sparseSize = 0;
    }
    if (disposition == kCreateAlways) node.attributes = requested | guarded | kFileAttributeArchive;
    error = disposition == kCreateAlways || disposition == kOpenAlways ? kErrorAlreadyExists
                                                                        : kErrorSuccess;
    return NewHandle({OpenHandle::Kind::File, &node, found.volume, access, share});
}

FakeFileSystem::OpenHandle* FakeFileSystem::OwnFileHandle(void* handle, std::uint32_t& error) {
    const auto found = handles_.find(reinterpret_cast<std::uintptr_t>(handle));
    if (found == handles_.end() || found->second->kind == OpenHandle::Kind::Search ||
        found->second->elsewhere) {
        error = kErrorInvalidHandle;
        return nullptr;
    }
    return found->second.get();
}

bool FakeFileSystem::CloseHandle(void* handle, std::uint32_t& error) {
    if (OwnFileHandle(handle, error) == nullptr) return false;
    handles_.erase(reinterpret_cast<std::uintptr_t>(handle));
    return true;
}

std::uint32_t FakeFileSystem::GetFileType(void* handle, std::uint32_t& error) {
    const OpenHandle* const open = OwnFileHandle(handle, error);
    if (open == nullptr) return kFileTypeUnknown;
    if (open->kind == OpenHandle::Kind::Device) {
        error = kErrorSuccess;
        return open->node->fileType;
    }
    return kFileTypeDisk;
}

bool FakeFileSystem::WriteFile(void* handle, const void* bytes, std::uint32_t count,
                               std::uint32_t& written, std::uint32_t& error) {
    written = 0;
    OpenHandle* const own = OwnFileHandle(handle, error);
    if (own == nullptr) return false;
    OpenHandle& open = *own;
    if (!Wants(open.access, kWriteAccess) || open.kind == OpenHandle::Kind::Folder) {
        error = kErrorAccessDenied;
        return false;
    }
    if (open.kind == OpenHandle::Kind::Device) {
        written = count;
        return true;
    }
    std::string& content = open.node->content;
    const std::uint64_t end = open.position + count;
    const std::uint64_t growth = end > content.size() ? end - content.size() : 0;
    if (growth > open.volume->description.freeBytes) {
        error = kErrorDiskFull;
        return false;
    }
    open.volume->description.freeBytes -= growth;
    if (end > content.size()) content.resize(end);
    if (count > 0) std::memcpy(content.data() + open.position, bytes, count);
    open.position = end;
    written = count;
    return true;
}

bool FakeFileSystem::ReadFile(void* handle, void* bytes, std::uint32_t count, std::uint32_t& read,
                              std::uint32_t& error) {
    read = 0;
    OpenHandle* const own = OwnFileHandle(handle, error);
    if (own == nullptr) return false;
    OpenHandle& open = *own;
    if (!Wants(open.access, kReadAccess)) {
        error = kErrorAccessDenied;
        return false;
    }
    if (open.kind == OpenHandle::Kind::Folder) {
        error = kErrorInvalidFunction;
        return false;
    }
    if (open.kind == OpenHandle::Kind::Device) return true;  // nothing to read, as from NUL
    const Node& node = *open.node;
    const std::uint64_t size = SizeOf(node);
    const std::uint64_t available = open.position < size ? size - open.position : 0;
    const auto taken = static_cast<std::uint32_t>(std::min<std::uint64_t>(count, available));
    const std::uint64_t stored =
        open.position < node.content.size()
            ? std::min<std::uint64_t>(taken, node.content.size() - open.position)
            : 0;
    auto* out = static_cast<char*>(bytes);
    if (stored > 0) std::memcpy(out, node.content.data() + open.position, stored);
    std::fill(out + stored, out + taken, '\0');
    open.position += taken;
    read = taken;
    return true;
}

bool FakeFileSystem::GetFileSize(void* handle, std::int64_t& size, std::uint32_t& error) {
    const OpenHandle* const own = OwnFileHandle(handle, error);
    if (own == nullptr) return false;
    const OpenHandle& open = *own;
    if (open.kind == OpenHandle::Kind::Device) {
        error = kErrorInvalidFunction;
        return false;
    }
    size = open.kind == OpenHandle::Kind::Folder ? 0 : static_cast<std::int64_t>(SizeOf(*open.node));
    return true;
}

bool FakeFileSystem::CreateDirectory(std::u16string_view path, std::uint32_t& error) {
    const Lookup found = Resolve(path, false);
    if (found.node != nullptr) {
        error = kErrorAlreadyExists;
        return false;
    }
    if (found.error != kErrorFileNotFound || found.parent == nullptr) {
        error = found.error;
        return false;
    }
    if (found.parent->refusesNewEntries) {
        error = kErrorAccessDenied;
        return false;
    }
    if (found.volume->description.readOnly) {
        error = kErrorWriteProtect;
        return false;
    }
    auto node = std::make_unique<Node>();
    node->name = found.name;
    node->parent = found.parent;
    found.parent->children[UpperCase(found.name)] = std::move(node);
    createdFolders.push_back(*FullPath(path));
    return true;
}

std::uint32_t FakeFileSystem::GetDriveType(const char16_t* root) {
    std::u16string text = root != nullptr ? std::u16string(root)
                                          : std::u16string(RootOf(paths.currentDirectory));
    if (!text.empty() && text.back() != u'\\') text += u'\\';
    // Only a root names a drive: "C:\", "C:" or "\\server\share\".
    std::u16string_view bare = text;
    bare.remove_suffix(1);
    const bool isRoot = RootOf(text) == text || (bare.size() > 2 && RootOf(bare) == bare &&
                                                 bare[0] == u'\\');
    std::uint32_t error = 0;
    const Volume* const volume = isRoot ? VolumeFor(text, error) : nullptr;
    return volume == nullptr ? kDriveNoRootDir : volume->description.type;
}

bool FakeFileSystem::DiskSpace(const char16_t* directory, std::uint64_t& total,
                               std::uint64_t& free, std::uint32_t& error) {
    const std::u16string path =
        directory != nullptr ? std::u16string(directory) : std::u16string(RootOf(paths.currentDirectory));
    const Lookup found = Resolve(path, true);
    if (found.node == nullptr || found.node->kind != Node::Kind::Folder) {
        error = found.node == nullptr ? found.error : kErrorDirectory;
        return false;
    }
    total = found.volume->description.totalBytes;
    free = found.volume->description.freeBytes;
    return true;
}

}  // namespace tollik::fake
