#pragma once
// What the plug-in says about itself: the host's query codes, the resource
// ids the metadata exports answer with, and the texts those resources hold.

#include <cstdint>

#include "PluginApi/ResourceIds.h"
#include "TollikVersion.h"

namespace tollik {

// PluginProc query codes.
inline constexpr std::uint32_t PLUGIN_QUERY_NAME = 0x0902;
inline constexpr std::uint32_t PLUGIN_QUERY_VERSION = 0x0903;

// String resources (Japanese table): menu text and status-bar text.
inline constexpr std::uint32_t IDS_MENU_TEXT = TOLLIK_IDS_MENU_TEXT;
inline constexpr std::uint32_t IDS_STATUS_MESSAGE = TOLLIK_IDS_STATUS_MESSAGE;
// String resources (neutral table): the answers of PluginProc.
inline constexpr std::uint32_t IDS_PLUGIN_NAME = TOLLIK_IDS_PLUGIN_NAME;
inline constexpr std::uint32_t IDS_PLUGIN_VERSION = TOLLIK_IDS_PLUGIN_VERSION;
// Icon groups for light and dark toolbars.
inline constexpr std::uint32_t IDI_TOOLBAR_LIGHT = TOLLIK_IDI_TOOLBAR_LIGHT;
inline constexpr std::uint32_t IDI_TOOLBAR_DARK = TOLLIK_IDI_TOOLBAR_DARK;

// PluginProc loads its answer into a buffer of this many units.
inline constexpr int kPluginQueryBufferUnits = 4096;

// The plug-in's name, also the caption of its message boxes.
inline constexpr char16_t kPluginName[] = u"" TOLLIK_PLUGIN_NAME;
inline constexpr char16_t kPluginVersion[] = u"" TOLLIK_VERSION_TEXT;

}  // namespace tollik
