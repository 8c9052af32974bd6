#pragma once
// Ids of the monitor pane (view host, speed graph, statistics, messages and errors views) and of
// the picture information, download statistics and about dialogs.

// Dialogs and their controls.
#define IDD_ABOUTBOX                100
#define IDD_IMAGE_INFORMATION       271
#define IDD_DOWNLOAD_STAT           330
#define IDC_INFO_FILENAME           1081
#define IDC_INFO_SIZE               1082
#define IDC_INFO_LOCAL_PATH         1083
#define IDC_INFO_IMAGE_URL          1084
#define IDC_INFO_PAGE_URL           1085
#define IDC_INFO_TIME               1086
#define IDC_INFO_ICON               1087
#define IDC_ABOUT_ICON              1095
#define IDC_ABOUT_COMMENTS          1098
#define IDC_ABOUT_PRODUCTS_LINK     1099
#define IDC_ABOUT_SITE_LINK         1100
#define IDC_ABOUT_SUPPORT_LINK      1103
#define IDC_ABOUT_VERSION           1104
#define IDC_ABOUT_PRODUCT_NAME      1109
#define IDC_ABOUT_NOTICE            1110
#define IDC_ABOUT_HEADER_BAND       1111
#define IDC_STAT_IMAGES             1154
#define IDC_STAT_KBYTES             1155
#define IDC_STAT_SPEED              1156

// Context menus of the errors and messages views.
#define IDR_ERRORS_MENU             321
#define IDR_MESSAGES_MENU           336

// Pictures: the three row images of the lists, the five tab images of the view host.
#define IDB_MONITOR_LIST            338
#define IDB_VIEW_TABS               339

// Texts.
#define IDS_BYTES_SUFFIX            170
#define IDS_KB_SUFFIX               171
#define IDS_COLUMN_TIME             286
#define IDS_TAB_STATISTICS          297
#define IDS_GRAPH_KBS               298
#define IDS_TAB_MESSAGES            305
#define IDS_COLUMN_MESSAGE          310
#define IDS_COLUMN_URL              315
#define IDS_TAB_CONNECTIONS         316
#define IDS_TAB_ERRORS              317
// The errors list's "Error" column uses the program-wide IDS_CAPTION_ERROR (149).
