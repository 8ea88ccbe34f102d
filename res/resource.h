// Resource and command ids shared by the resource scripts and the code.
// Kept as plain #defines because the resource compiler reads this file too.
#pragma once

#define IDR_TRAY_MENU       101
#define IDI_VAROKINTO_LARGE 105
#define IDI_VAROKINTO_SMALL 112
#define IDC_LINK_HAND       121

#define IDM_EXIT              40001
#define IDM_SHORTCUT_SETTINGS 40002
#define IDM_PROPERTIES        40003
#define IDM_ABOUT             40005
#define IDM_HELP              40006
#define IDM_HIDDEN_1          40007
#define IDM_HIDDEN_2          40008

// Controls shared by several templates.
#define IDC_KEY_COMBO   1002
#define IDC_CHECK_CTRL  1009
#define IDC_CHECK_ALT   1010
#define IDC_CHECK_SHIFT 1011
#define IDC_CHECK_WIN   1012
#define IDC_HELP_BUTTON 500

// Action editor (SHORTCUT_LIST).
#define IDC_OUTPUT_LIST   1003
#define IDC_ADD_BUTTON    1014
#define IDC_DELETE_BUTTON 1015
#define IDC_EDIT_BUTTON   1016
#define IDC_UP_BUTTON     1017
#define IDC_DOWN_BUTTON   1018
#define IDC_ACTION_NAME   1020
#define IDC_RECORD_BUTTON 1039

// Shortcut settings window (EditDialog). The application drop-down takes the key
// drop-down's id, the action list the output list's.
#define IDC_EDIT_ACTION   3
#define IDC_DELETE_ACTION 4
#define IDC_NEW_ACTION    5
#define IDC_APP_COMBO     1002
#define IDC_ACTION_LIST   1003
#define IDC_PATH_TEXT     1004
#define IDC_ICON_AREA     1006
#define IDC_APP_GROUP     1053
#define IDC_CHANGE_APP    1054

// Application registration dialog (APP_EDIT).
#define IDC_APP_PATH   1004
#define IDC_APP_DELETE 1015
#define IDC_APP_BROWSE 1016
#define IDC_APP_NAME   1037
#define IDC_APP_ICON   1038

// About dialog (VERSIONDLG).
#define IDC_ABOUT_ICON 1046
#define IDC_WEB_LINK   1049
#define IDC_MAIL_LINK  1050

// Hotkey and timing dialog (PROPERTY).
#define IDC_USE_HOTKEY  1028
#define IDC_PLUS_STATIC 1029
#define IDC_TIMER_EDIT  1030
