#pragma once
// The web-form login browser: its dialog, toolbars, bitmaps and controls. The toolbar buttons'
// commands (and the strings of their tooltips) are in command_ids.h.
#define IDD_WEB_BROWSER        308
#define IDR_WEB_NAV_TOOLBAR    310
#define IDR_WEB_GO_TOOLBAR     311
#define IDB_WEB_GO             312
#define IDB_WEB_NAV            313

#define IDC_WEB_ADDRESS        1131
#define IDC_WEB_BROWSER        1132
#define IDC_WEB_NAV_PLACE      1133
#define IDC_WEB_GO_PLACE       1134
#define IDC_WEB_SEPARATOR      1135
