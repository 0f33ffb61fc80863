// Failures inside the real Tollik.dll: they must end in a message box owned
// by the host window and never reach the host as an exception. The stand-in
// host sees the box by redirecting the plug-in's import of MessageBoxW, and
// makes memory run out by redirecting its import of VirtualAlloc.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "ImportPatch.h"
#include "LoadedPlugin.h"
#include "PluginApi/HostMessages.h"

namespace tollik::host {
namespace {

struct ShownBox {
    HWND owner;
    std::wstring text;
    std::wstring caption;
    UINT type;
};

// Import replacements are plain functions, so what they see goes here.
std::vector<ShownBox> g_shownBoxes;
constexpr std::size_t kLargestAllocation = std::size_t{1} << 30;

int WINAPI RecordMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    g_shownBoxes.push_back({owner, text, caption, type});
    return IDOK;
}

LPVOID WINAPI RefuseLargeAllocations(LPVOID address, SIZE_T bytes, DWORD type, DWORD protect) {
    return bytes > kLargestAllocation ? nullptr : ::VirtualAlloc(address, bytes, type, protect);
}

class Boundary : public ::testing::Test {
protected:
    void SetUp() override { g_shownBoxes.clear(); }

    HostWindow host;
    ImportPatch messageBoxes{LoadedPlugin().module(), "user32.dll", "MessageBoxW",
                             reinterpret_cast<void*>(&RecordMessageBox)};
};

TEST_F(Boundary, ADocumentTooLargeToHoldEndsInAnErrorBoxOwnedByTheHost) {
    host.editor.text = u"abc";
    host.editor.announcedCount = INT32_MAX;  // 4 GiB of UTF-16
    {
        const ImportPatch pages(LoadedPlugin().module(), "kernel32.dll", "VirtualAlloc",
                                reinterpret_cast<void*>(&RefuseLargeAllocations));
        LoadedPlugin().exports().OnCommand(host.handle());
    }
    ASSERT_EQ(g_shownBoxes.size(), 1u);
    EXPECT_EQ(g_shownBoxes[0].owner, host.handle());
    EXPECT_EQ(g_shownBoxes[0].text, L"メモリが不足しているため、HSP コンパイル/実行を中止しました。");
    EXPECT_EQ(g_shownBoxes[0].caption, L"HSP コンパイル/実行");
    EXPECT_EQ(g_shownBoxes[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
    // Painting came back after the view was put back (two carets and the
    // scroll), and the command went no further.
    EXPECT_FALSE(host.editor.paintingHeld);
    ASSERT_EQ(host.editor.log.size(), 10u);
    EXPECT_EQ(host.editor.log[8].message, static_cast<std::uint32_t>(MSG_PLACE_SCROLL));
    EXPECT_EQ(host.editor.log.back(), (testing::ReceivedMessage{MSG_ENABLE_REDRAW, 1, 0}));
}

TEST_F(Boundary, ACommandThatSucceedsShowsNothing) {
    host.editor.text = u"mes \"ok\"";
    LoadedPlugin().exports().OnCommand(host.handle());
    EXPECT_EQ(host.editor.lastServedText, u"mes \"ok\"");
    EXPECT_TRUE(g_shownBoxes.empty());
}

}  // namespace
}  // namespace tollik::host
