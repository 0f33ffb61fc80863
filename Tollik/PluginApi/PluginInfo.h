#pragma once
// What the plug-in says about itself: the host's query codes, the resource
// ids the metadata exports answer with, and the texts those resources hold.

#include <cstdint>

namespace tollik {

// PluginProc query codes.
inline constexpr std::uint32_t PLUGIN_QUERY_NAME = 0x0902;
inline constexpr std::uint32_t PLUGIN_QUERY_VERSION = 0x0903;

// String resources (Japanese table): menu text and status-bar text.
inline constexpr std::uint32_t IDS_MENU_TEXT = 1;
inline constexpr std::uint32_t IDS_STATUS_MESSAGE = 2;
// String resources (neutral table): the answers of PluginProc.
inline constexpr std::uint32_t IDS_PLUGIN_NAME = 1001;
inline constexpr std::uint32_t IDS_PLUGIN_VERSION = 1002;
// Icon groups for light and dark toolbars.
inline constexpr std::uint32_t IDI_TOOLBAR_LIGHT = 101;
inline constexpr std::uint32_t IDI_TOOLBAR_DARK = 201;

// PluginProc loads its answer into a buffer of this many units.
inline constexpr int kPluginQueryBufferUnits = 4096;

// The plug-in's name, also the caption of its message boxes.
inline constexpr char16_t kPluginName[] = u"HSP コンパイル/実行";
inline constexpr char16_t kPluginVersion[] = u"2.4.3";

}  // namespace tollik
