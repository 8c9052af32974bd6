#pragma once
// Ids of the task option dialogs: the site-scanning and URL-template task dialogs with their
// pages, the generator editors and the URL test. The frame's tree (1000), placeholder (1062) and
// help button (9) are those of every options frame (options_ids.h).

// Dialogs and pages.
#define IDD_TASK_OPTIONS            202
#define IDD_TASK_GENERAL            203
#define IDD_TASK_SCANNING           204
#define IDD_TASK_NOTES              205
#define IDD_TASK_DOWNLOAD_OPTIONS   206
#define IDD_TASK_FILETYPES          211
#define IDD_TASK_SAVE               212
#define IDD_TASK_FILTERS            215
#define IDD_TASK_URL_FILTERS        289
#define IDD_TASK2_GENERAL           309
#define IDD_TASK2_URL_TEMPLATE      310
#define IDD_TASK2_BLANK             311
#define IDD_NUMBER_TEMPLATE         319
#define IDD_TEST_URLS               322
#define IDD_STRING_TEMPLATE         324
#define IDD_CHAR_TEMPLATE           331

// Menu, toolbar and bitmaps.
#define IDR_TEMPLATE_MENU           320
#define IDR_STRING_LIST_TOOLBAR     325
#define IDB_FILETYPE_CHECKS         207
#define IDB_STRING_LIST_TOOLBAR     327
#define IDB_STRING_LIST_TOOLBAR_HOT 329

// Frame: "Start Now!" / "Next >".
#define IDC_TASK_START_NOW          3

// General page (both kinds).
#define IDC_TASK_NAME               1009
#define IDC_TASK_URL                1128
#define IDC_TASK_BROWSE             1058
#define IDC_TASK_BASIC_AUTH         1033
#define IDC_TASK_USER               1031
#define IDC_TASK_PASSWORD           1032
#define IDC_TASK_WEB_AUTH           1034
#define IDC_TASK2_WEB_AUTH_URL      1128

// Scanning page.
#define IDC_SCAN_THIS_PAGE          1004
#define IDC_SCAN_LEVELS             1005
#define IDC_SCAN_ALL_LEVELS         1006
#define IDC_SCAN_LEVELS_COUNT       1018
#define IDC_SCAN_LEVELS_SPIN        1019
#define IDC_SCAN_PAGES_DIRECTORY    1016
#define IDC_SCAN_PAGES_SITE         1017
#define IDC_SCAN_PAGES_EVERYWHERE   1020
#define IDC_SCAN_IMAGES_DIRECTORY   1010
#define IDC_SCAN_IMAGES_SITE        1012
#define IDC_SCAN_IMAGES_EVERYWHERE  1011
#define IDC_SCAN_IN_WIDTH           1013
#define IDC_SCAN_IN_DEPTH           1137
#define IDC_SCAN_IMAGES_ONLY_SITE   1119

// URL Filters page.
#define IDC_FILTER_INCLUDED_NAMES   1122
#define IDC_FILTER_EXCLUDED_NAMES   1123
#define IDC_FILTER_INCLUDED_URLS    1124
#define IDC_FILTER_EXCLUDED_URLS    1125
#define IDC_FILTER_IMAGE_INCLUDED   1128
#define IDC_FILTER_IMAGE_EXCLUDED   1129

// Download options page (profiles).
#define IDC_PROFILE_LIST            1059
#define IDC_PROFILE_SAVE_AS         1017
#define IDC_PROFILE_REMOVE          1018

// Filetypes page.
#define IDC_TASK_ALL_TYPES          1022
#define IDC_TASK_TYPES_TREE         1023
#define IDC_TASK_TYPES_EDIT         1024
#define IDC_TASK_TYPES_NEW          1025
#define IDC_TASK_TYPES_DELETE       1026

// Size Filters page.
#define IDC_SIZE_MIN_WIDTH          1035
#define IDC_SIZE_MIN_WIDTH_VALUE    1039
#define IDC_SIZE_MIN_WIDTH_SPIN     1043
#define IDC_SIZE_MIN_HEIGHT         1037
#define IDC_SIZE_MIN_HEIGHT_VALUE   1041
#define IDC_SIZE_MIN_HEIGHT_SPIN    1045
#define IDC_SIZE_MAX_SIZE           1046
#define IDC_SIZE_MAX_SIZE_VALUE     1048
#define IDC_SIZE_MAX_SIZE_SPIN      1049
#define IDC_SIZE_MIN_SIZE           1050
#define IDC_SIZE_MIN_SIZE_VALUE     1051
#define IDC_SIZE_MIN_SIZE_SPIN      1052

// Save options page.
#define IDC_SAVE_FOLDER             1025
#define IDC_SAVE_BROWSE             1026
#define IDC_SAVE_TO_FOLDER          1004
#define IDC_SAVE_PAGE_FOLDERS       1005
#define IDC_SAVE_IMAGE_FOLDERS      1006

// Task notes page.
#define IDC_TASK_NOTES_TEXT         1016

// URL Template page.
#define IDC_TEMPLATE_URL            1138
#define IDC_TEMPLATE_LIST           1140
#define IDC_TEMPLATE_NEW            1139
#define IDC_TEMPLATE_EDIT           1024
#define IDC_TEMPLATE_REMOVE         1018
#define IDC_TEMPLATE_UP             1019
#define IDC_TEMPLATE_DOWN           1020
#define IDC_TEMPLATE_TEST           1021

// Number and character editors.
#define IDC_NUMBER_MIN              1141
#define IDC_NUMBER_MAX              1142
#define IDC_NUMBER_INTERVAL         1143
#define IDC_NUMBER_DIGITS           1144
#define IDC_NUMBER_MIN_SPIN         1145
#define IDC_NUMBER_MAX_SPIN         1146
#define IDC_NUMBER_INTERVAL_SPIN    1147
#define IDC_NUMBER_DIGITS_SPIN      1148
#define IDC_CHAR_MIN                1141
#define IDC_CHAR_MAX                1142

// String editor.
#define IDC_STRING_LIST             1147
#define IDC_STRING_TOOLBAR_FRAME    1148
#define IDC_STRING_EDIT             1149

// URL test.
#define IDC_TEST_COUNT              1150
#define IDC_TEST_COUNT_SPIN         1151
#define IDC_TEST_LIST               1146
#define IDC_TEST_REFRESH            3

// Texts.
#define IDS_TASK_NO_START_ADDRESS   130
#define IDS_TASK_NAME_TAKEN         132
#define IDS_NO_FILE_TYPE_SELECTED   138
#define IDS_PROFILE_SAVE_AS         139
#define IDS_PROFILE_DELETE_END      140
#define IDS_PAGE_DOWNLOAD_OPTIONS   142
#define IDS_PAGE_SCANNING           143
#define IDS_PAGE_SIZE_FILTERS       145
#define IDS_PAGE_URL_FILTERS        146
#define IDS_PAGE_SAVE_OPTIONS       147
#define IDS_PAGE_TASK_NOTES         148
#define IDS_TASK_SAVE_FAILED        150
#define IDS_PROFILE_SAVE_FAILED     151
#define IDS_PAGE_URL_TEMPLATE       287
#define IDS_NUMBER_RANGE_INVALID    289
#define IDS_NUMBER_INTERVAL_INVALID 291
#define IDS_WEB_AUTH_URL_MISSING    294
#define IDS_DELETE_EVERYTHING       296
#define IDS_CHAR_RANGE_INVALID      300
#define IDS_BUTTON_NEXT             311
#define IDS_BUTTON_START_NOW        312
#define IDS_TASK_NAME_MISSING       313
#define IDS_TASK_OPTIONS_TITLE      327
#define IDS_TASK2_OPTIONS_TITLE     328
#define IDS_TASK_NAME_UNSAFE        361
#define IDS_BROWSE_ONLY_WEB         362
#define IDS_START_ADDRESS_TOO_LONG  365
#define IDS_CREDENTIALS_TOO_LONG    366
#define IDS_TEMPLATE_TOO_LONG       367
#define IDS_HANDOVER_TOO_LONG       368
