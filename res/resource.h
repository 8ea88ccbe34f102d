// Resource and command ids shared by the resource scripts and the code.
// Kept as plain #defines because the resource compiler reads this file too.
#pragma once

#define IDR_TRAY_MENU           101
#define IDI_VAROKINTO_LARGE     105
#define IDI_VAROKINTO_SMALL     112
#define IDC_LINK_HAND           121

#define IDM_EXIT                40001
#define IDM_SHORTCUT_SETTINGS   40002
#define IDM_PROPERTIES          40003
#define IDM_ABOUT               40005
#define IDM_HELP                40006
#define IDM_HIDDEN_1            40007
#define IDM_HIDDEN_2            40008

// Controls shared by several templates.
#define IDC_KEY_COMBO           1002
#define IDC_CHECK_CTRL          1009
#define IDC_CHECK_ALT           1010
#define IDC_CHECK_SHIFT         1011
#define IDC_CHECK_WIN           1012
#define IDC_HELP_BUTTON         500
