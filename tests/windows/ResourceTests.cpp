// The resources the host reads out of Tollik.dll: the string tables and the
// two icon groups, checked in the file as the loader sees them.

#include <gtest/gtest.h>

#include <cstdint>
#include <set>
#include <string>
#include <vector>

#include "LoadedPlugin.h"

namespace tollik::host {
namespace {

constexpr WORD kJapanese = MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT);  // 1041
constexpr WORD kNeutral = MAKELANGID(LANG_NEUTRAL, SUBLANG_NEUTRAL);

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width;
    BYTE height;
    BYTE colourCount;
    BYTE reserved;
    WORD planes;
    WORD bitCount;
    DWORD bytesInRes;
    WORD id;
};
struct GroupIconHeader {
    WORD reserved;
    WORD type;
    WORD count;
};
#pragma pack(pop)

struct Blob {
    const BYTE* data = nullptr;
    DWORD size = 0;
};

Blob FindBlob(LPCWSTR type, WORD id, WORD language) {
    HMODULE module = LoadedPlugin().module();
    HRSRC found = ::FindResourceExW(module, type, MAKEINTRESOURCEW(id), language);
    if (found == nullptr) return {};
    HGLOBAL loaded = ::LoadResource(module, found);
    return {static_cast<const BYTE*>(::LockResource(loaded)), ::SizeofResource(module, found)};
}

TEST(Resources, JapaneseStringTableHoldsMenuAndStatusTexts) {
    // Strings 1 and 2 live in block 1 of the table.
    EXPECT_NE(FindBlob(RT_STRING, 1, kJapanese).data, nullptr);
    EXPECT_EQ(LoadedPlugin().LoadText(1), L"HSP コンパイル/実行");
    EXPECT_EQ(LoadedPlugin().LoadText(2), L"HSP コンパイル/実行|HSP でコンパイル/実行します。");
}

TEST(Resources, NameAndVersionAreLanguageNeutral) {
    EXPECT_NE(FindBlob(RT_STRING, 1001 / 16 + 1, kNeutral).data, nullptr);
    EXPECT_EQ(LoadedPlugin().LoadText(1001), L"HSP コンパイル/実行");
    EXPECT_EQ(LoadedPlugin().LoadText(1002), L"2.4.3");
}

struct IconImage {
    int size;
    std::vector<std::uint32_t> pixels;  // BGRA
};

std::vector<IconImage> ReadGroup(WORD group) {
    const Blob blob = FindBlob(RT_GROUP_ICON, group, kJapanese);
    std::vector<IconImage> images;
    if (blob.data == nullptr) return images;
    const auto* header = reinterpret_cast<const GroupIconHeader*>(blob.data);
    const auto* entries = reinterpret_cast<const GroupIconEntry*>(header + 1);
    for (WORD i = 0; i < header->count; ++i) {
        const GroupIconEntry& entry = entries[i];
        EXPECT_EQ(entry.bitCount, 32) << "group " << group << " image " << i;
        const Blob image = FindBlob(RT_ICON, entry.id, kJapanese);
        if (image.data == nullptr) {
            ADD_FAILURE() << "icon image " << entry.id << " is not Japanese (1041)";
            continue;
        }
        const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(image.data);
        EXPECT_EQ(info->biBitCount, 32);
        EXPECT_EQ(info->biHeight, info->biWidth * 2) << "colour and mask halves";
        IconImage out{info->biWidth, {}};
        const auto* pixels = reinterpret_cast<const std::uint32_t*>(image.data + info->biSize);
        out.pixels.assign(pixels, pixels + out.size * out.size);
        EXPECT_EQ(entry.width, out.size % 256);
        // The loader accepts it as an icon.
        HICON icon = ::CreateIconFromResourceEx(const_cast<BYTE*>(image.data), image.size, TRUE,
                                                0x00030000, out.size, out.size, 0);
        EXPECT_NE(icon, nullptr);
        if (icon != nullptr) ::DestroyIcon(icon);
        images.push_back(std::move(out));
    }
    return images;
}

class IconGroup : public ::testing::TestWithParam<WORD> {};

TEST_P(IconGroup, HoldsFourSizesWithRealAlpha) {
    const std::vector<IconImage> images = ReadGroup(GetParam());
    std::set<int> sizes;
    for (const IconImage& image : images) {
        sizes.insert(image.size);
        int transparent = 0;
        int opaque = 0;
        for (std::uint32_t pixel : image.pixels) {
            const std::uint32_t alpha = pixel >> 24;
            transparent += alpha == 0;
            opaque += alpha == 255;
        }
        // A picture, not a blank square: clear background and a solid body.
        EXPECT_GT(transparent, image.size * image.size / 10) << image.size;
        EXPECT_GT(opaque, image.size * image.size / 4) << image.size;
    }
    EXPECT_EQ(sizes, (std::set<int>{16, 24, 32, 48}));
}

INSTANTIATE_TEST_SUITE_P(LightAndDark, IconGroup, ::testing::Values(WORD{101}, WORD{201}));

TEST(Resources, DarkIconDiffersFromLight) {
    const std::vector<IconImage> light = ReadGroup(101);
    const std::vector<IconImage> dark = ReadGroup(201);
    ASSERT_EQ(light.size(), dark.size());
    for (std::size_t i = 0; i < light.size(); ++i) EXPECT_NE(light[i].pixels, dark[i].pixels);
}

// Read as Explorer's properties page reads it: through the version API,
// from the file on disk.
TEST(Resources, VersionInfoNamesTheProductInJapaneseAndNeutralBlocks) {
    const std::wstring file = ProgramFolder() + L"Tollik.dll";
    DWORD ignored = 0;
    const DWORD size = ::GetFileVersionInfoSizeW(file.c_str(), &ignored);
    ASSERT_GT(size, 0u);
    std::vector<BYTE> info(size);
    ASSERT_TRUE(::GetFileVersionInfoW(file.c_str(), 0, size, info.data()));

    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(::VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(4, 2));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, 3));
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(4, 2));
    EXPECT_EQ(fixed->dwFileType, static_cast<DWORD>(VFT_DLL));

    for (const wchar_t* block : {L"041104B0", L"000004B0"}) {
        SCOPED_TRACE(ToUtf8(block));
        const auto value = [&](const std::wstring& name) {
            wchar_t* text = nullptr;
            UINT units = 0;
            const std::wstring path = L"\\StringFileInfo\\" + std::wstring(block) + L"\\" + name;
            if (!::VerQueryValueW(info.data(), path.c_str(), reinterpret_cast<void**>(&text), &units))
                return std::wstring(L"(missing)");
            return std::wstring(text);
        };
        EXPECT_EQ(value(L"ProductName"), L"HSP コンパイル/実行");
        EXPECT_EQ(value(L"FileDescription"), L"HSP コンパイル/実行");
        EXPECT_EQ(value(L"FileVersion"), L"2.4.3");
        EXPECT_EQ(value(L"ProductVersion"), L"2.4.3");
    }
}

}  // namespace
}  // namespace tollik::host
