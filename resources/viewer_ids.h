#pragma once
// Ids of the picture viewer's resources: its menu, toolbar bitmaps and texts.
#define IDR_VIEWER_MENU                246
#define IDR_VIEWER_TOOLBAR             272
#define IDB_VIEWER_TOOLBAR             231
#define IDB_VIEWER_TOOLBAR_DISABLED    261

#define IDS_VIEWER_NOT_FOUND           188
#define IDS_VIEWER_UNKNOWN_FORMAT      189
#define IDS_VIEWER_COPY_TO             191
#define IDS_VIEWER_PRINT_DOCUMENT      192
#define IDS_VIEWER_WALLPAPER_ASK       193
#define IDS_VIEWER_WALLPAPER_ASK_END   194
#define IDS_VIEWER_TIP_PREVIOUS        195
#define IDS_VIEWER_TIP_NEXT            196
#define IDS_VIEWER_TIP_BEST_FIT        197
#define IDS_VIEWER_TIP_ACTUAL_SIZE     198
#define IDS_VIEWER_TIP_FULLSCREEN      199
#define IDS_VIEWER_TIP_ZOOM_IN         200
#define IDS_VIEWER_TIP_ZOOM_OUT        201
#define IDS_VIEWER_TIP_DELETE          202
#define IDS_VIEWER_TIP_PRINT           203
#define IDS_VIEWER_TIP_EXTERNAL        204
#define IDS_VIEWER_TIP_FOLDER          205
#define IDS_VIEWER_TIP_WALLPAPER       206
#define IDS_VIEWER_TITLE               288
#define IDS_VIEWER_WALLPAPER_FAILED    28720
#define IDS_VIEWER_TOO_LARGE           28721
