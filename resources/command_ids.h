#pragma once
// WM_COMMAND ids of the menus, toolbars and accelerators, shared by the main frame, the tasks tree,
// the picture container, the viewer, the monitor views and the browser plug-in. The string
// resource of the same number holds the command's status-bar prompt and tooltip.
#define ID_TASK_START                218
#define ID_TASK_RESTART              32772
#define ID_TASK_RELOAD_IMAGES        232
#define ID_TASK_FINISH_AND_PAUSE     32817
#define ID_TASK_PAUSE                219
#define ID_TASK_PAUSE_ALL            239
#define ID_TASK_NEW_FOLDER           241
#define ID_TASK_NEW                  217
#define ID_TASK_NEW_TEMPLATED        32932
#define ID_TASK_RENAME               242
#define ID_TASK_OPTIONS              32773
#define ID_TASK_OPEN_START_URL       32969
#define ID_TASK_LOCATE_IMAGES        32822
#define ID_TASK_CLEAR_FOLDER         290
#define ID_TASK_BROWSE_FOLDER        240
#define ID_TASK_DELETE               220
#define ID_APP_EXIT                  57665
#define ID_IMAGES_SELECT_BY          32791
#define ID_IMAGES_INVERT_SELECTION   292
#define ID_IMAGES_COPY_TO            32792
#define ID_IMAGES_SHOW_LAST          32819
#define ID_IMAGES_FULLSCREEN         32799
#define ID_IMAGES_SLIDE_SHOW         32798
#define ID_IMAGES_DELETE             32793
#define ID_IMAGES_SORT_NAME          284
#define ID_IMAGES_SORT_SIZE          285
#define ID_IMAGE_INFORMATION         269
#define ID_VIEW_TOOLBAR              59392
#define ID_VIEW_STATUS_BAR           59393
#define ID_VIEW_TASKS                221
#define ID_VIEW_MONITOR              229
#define ID_VIEW_LIST                 303
#define ID_VIEW_THUMBNAILS           304
#define ID_VIEW_CHANGE               32821
#define ID_LANGUAGE_FIRST            32830
#define ID_TOOLS_OPTIONS             223
#define ID_TOOLS_VIEW_LOG            307
#define ID_HELP_CONTENTS             277
#define ID_HELP_TIP_OF_THE_DAY       32970
#define ID_HELP_ONLINE               279
#define ID_HELP_SUPPORT              280
#define ID_HELP_EMAIL                281
#define ID_APP_ABOUT                 57664
#define ID_TRAY_TOGGLE               32955
#define ID_EDIT_DELETE_FOCUSED       32774
#define ID_PANE_CLOSE                57682
#define ID_MESSAGES_CLEAR            32968
#define ID_ERRORS_RELOAD_ALL         32940
#define ID_ERRORS_RELOAD_THIS        32941

// Picture viewer (menu 246 "Image", toolbar 272).
#define ID_VIEWER_PREVIOUS           248
#define ID_VIEWER_NEXT               249
#define ID_VIEWER_BEST_FIT           250
#define ID_VIEWER_ACTUAL_SIZE        251
#define ID_VIEWER_FULLSCREEN         252
#define ID_VIEWER_ZOOM_IN            253
#define ID_VIEWER_ZOOM_OUT           254
#define ID_VIEWER_DELETE             255
#define ID_VIEWER_COPY_TO            257
#define ID_VIEWER_EXTERNAL           258
#define ID_VIEWER_BROWSE_FOLDER      259
#define ID_VIEWER_WALLPAPER          260
#define ID_VIEWER_PRINT              256
#define ID_VIEWER_TOOLBAR_EXTRA      32963

// URL-template editors: menu 320 and list-editor toolbar 325.
#define ID_TEMPLATE_NUMBERS          32937
#define ID_TEMPLATE_STRINGS          32950
#define ID_TEMPLATE_CHARS            32954
#define ID_LIST_NEW_ITEM             32942
#define ID_LIST_EDIT_ITEM            32944
#define ID_LIST_DELETE_ITEM          32945
#define ID_LIST_DELETE_ALL           32946
#define ID_LIST_UP                   32947
#define ID_LIST_DOWN                 32948

// Web-form login toolbars 310 and 311.
#define ID_BROWSER_BACK              3
#define ID_BROWSER_FORWARD           32825
#define ID_BROWSER_STOP              32826
#define ID_BROWSER_REFRESH           32827
#define ID_BROWSER_GO                32828
