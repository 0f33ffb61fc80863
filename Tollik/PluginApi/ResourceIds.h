// The ids of the plug-in's resources, and the texts both the resource script
// and C++ need. Plain #defines: windres reads this file too.
#ifndef TOLLIK_RESOURCE_IDS_H
#define TOLLIK_RESOURCE_IDS_H

// String resources (Japanese table): menu text and status-bar text.
#define TOLLIK_IDS_MENU_TEXT 1
#define TOLLIK_IDS_STATUS_MESSAGE 2
// String resources (neutral table): the answers of PluginProc.
#define TOLLIK_IDS_PLUGIN_NAME 1001
#define TOLLIK_IDS_PLUGIN_VERSION 1002
// Icon groups for light and dark toolbars.
#define TOLLIK_IDI_TOOLBAR_LIGHT 101
#define TOLLIK_IDI_TOOLBAR_DARK 201

// The plug-in's name (UTF-8 source): menu text, PluginProc's answer, the
// caption of its message boxes and the product name of both programs.
#define TOLLIK_PLUGIN_NAME "HSP コンパイル/実行"
// The status-bar text: the menu text, then the hint after the bar.
#define TOLLIK_STATUS_MESSAGE TOLLIK_PLUGIN_NAME "|HSP でコンパイル/実行します。"

// The runner's InternalName in its version resource: how the checker tells
// this plug-in's Plugins\Tollik.exe from another program of that name.
#define TOLLIK_RUNNER_INTERNAL_NAME "TollikRunner"

#endif
