#pragma once
// Ids of the program options, the options frame shared by every multi-page settings dialog, the
// file-type and name dialogs and the tip of the day.

// Dialogs and pages.
#define IDD_OPTIONS               222
#define IDD_OPTIONS_GENERAL       272
#define IDD_OPTIONS_PROXY         223
#define IDD_OPTIONS_DOWNLOADING   214
#define IDD_OPTIONS_FILETYPES     224
#define IDD_OPTIONS_SLIDESHOW     332
#define IDD_FILETYPE              213
#define IDD_NAME                  216
#define IDD_WELCOME               344

// Options frame (every multi-page settings dialog).
#define IDC_OPTIONS_TREE          1000
#define IDC_OPTIONS_PLACEHOLDER   1062
#define IDC_OPTIONS_HELP          9

// General page.
#define IDC_GENERAL_FOLDER        1025
#define IDC_GENERAL_BROWSE        1026
#define IDC_GENERAL_LOG_USE       1119
#define IDC_GENERAL_LOG_CLEAR_MODE 1123
#define IDC_GENERAL_LOG_SIZE      1124
#define IDC_GENERAL_LOG_SIZE_SPIN 1093
#define IDC_GENERAL_SHOW_TIP      1120
#define IDC_GENERAL_VIEW_LOG      1127
#define IDC_GENERAL_CLEAR_LOG     1126

// Proxy page.
#define IDC_PROXY_NONE            1064
#define IDC_PROXY_SYSTEM          1065
#define IDC_PROXY_OWN             1066
#define IDC_PROXY_ADDRESS         1068
#define IDC_PROXY_PORT            1069
#define IDC_PROXY_AUTH            1033
#define IDC_PROXY_USER            1031
#define IDC_PROXY_PASSWORD        1032

// Downloading page.
#define IDC_DOWNLOAD_THREADS      1028
#define IDC_DOWNLOAD_THREADS_SPIN 1029
#define IDC_DOWNLOAD_PAUSE        1036
#define IDC_DOWNLOAD_PAUSE_SPIN   1037
#define IDC_DOWNLOAD_USE_TIMEOUT  1061
#define IDC_DOWNLOAD_TIMEOUT      1030
#define IDC_DOWNLOAD_TIMEOUT_SPIN 1031
#define IDC_DOWNLOAD_ATTEMPTS     1032
#define IDC_DOWNLOAD_ATTEMPTS_SPIN 1033
#define IDC_DOWNLOAD_SAVE_EVERY   1034
#define IDC_DOWNLOAD_SAVE_EVERY_SPIN 1035

// File types page.
#define IDC_FILETYPES_TREE        1023
#define IDC_FILETYPES_NEW         1025
#define IDC_FILETYPES_EDIT        1024
#define IDC_FILETYPES_DELETE      1026

// Slide show page.
#define IDC_SLIDESHOW_DELAY       1088
#define IDC_SLIDESHOW_DELAY_SPIN  1089
#define IDC_SLIDESHOW_EFFECTS     1120
#define IDC_SLIDESHOW_EFFECTS_SLIDESHOW_ONLY 1121
#define IDC_SLIDESHOW_RANDOM      1122

// File type dialog.
#define IDC_FILETYPE_NAME         1027
#define IDC_FILETYPE_EXTENSIONS   1028

// Name dialog.
#define IDC_NAME_COMBO            1060

// Tip of the day.
#define IDC_WELCOME_INTRODUCTION  1157
#define IDC_WELCOME_NEXT_TIP      1158
#define IDC_WELCOME_WEB_SITE      1159
#define IDC_WELCOME_DO_NOT_PROMPT 1119
#define IDC_WELCOME_TIP           1163
#define IDC_WELCOME_DID_YOU_KNOW  1162
#define IDC_WELCOME_TITLE         1160
#define IDC_WELCOME_INFO_ICON     1164
#define IDC_WELCOME_PROGRAM_ICON  1095

// Texts.
#define IDS_SELECT_IMAGES_FOLDER  129
#define IDS_NEW_FILE_TYPE         133
#define IDS_EDIT_FILE_TYPE        134
#define IDS_DELETE_QUESTION_START 135
#define IDS_DELETE_QUESTION_END   136
#define IDS_PAGE_GENERAL          141
#define IDS_PAGE_FILETYPES        144
#define IDS_PROXY_ADDRESS_EMPTY   155
#define IDS_PROXY_PORT_INVALID    156
#define IDS_THREADS_INVALID       157
#define IDS_TIMEOUT_INVALID       158
#define IDS_ATTEMPTS_INVALID      159
#define IDS_SLIDESHOW_DELAY_INVALID 160
#define IDS_LOG_SIZE_INVALID      161
#define IDS_PAGE_PROXY            162
#define IDS_PAGE_DOWNLOADING      163
#define IDS_OPTIONS_SAVE_FAILED   164
#define IDS_FILETYPE_NAME_INVALID 167
#define IDS_FILETYPE_NAME_TAKEN   168
#define IDS_FILETYPE_EXTENSIONS_INVALID 169
#define IDS_NAME_EMPTY            172
#define IDS_LOG_FILE_NONE         4790
#define IDS_PAGE_SLIDESHOW        322
#define IDS_WELCOME_TITLE         323
#define IDS_TIP_1                 324
#define IDS_TIP_2                 325
#define IDS_TIP_3                 326
#define IDS_TIP_4                 336
#define IDS_TIP_5                 337
#define IDS_TIP_6                 338
#define IDS_TIP_7                 339
#define IDS_TIP_8                 340
