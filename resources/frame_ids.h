#pragma once
// Resource ids of the main window: its menus, accelerators, toolbars, bitmaps, icons and texts.
// Menus, accelerators, the main toolbar and the program icon share the frame's id 128.
#define IDR_MAINFRAME              128
#define IDR_TOOLBAR_MENU_IMAGES    129
#define IDR_MENU_TREE              237
#define IDR_MENU_IMAGES            268
#define IDR_MENU_VIEW_CHANGE       302
#define IDR_MENU_TRAY              332

#define IDB_TOOLBAR                233
#define IDB_TOOLBAR_DISABLED       234
#define IDB_MENU_IMAGES            333
#define IDB_MENU_VIEWER_IMAGES     334

#define IDI_TASK_STARTED           341
#define IDI_TASK_COMPLETED         342
#define IDI_QUEUE                  343
#define IDI_TRAY_SMALL             346
// How a run ended when it did not simply run out of work.
#define IDI_TASK_PAUSED            28830
#define IDI_TASK_STOPPED           28831
#define IDI_TASK_COMPLETED_ERROR   28832

#define IDS_NO_TASK_STARTED        1
#define IDS_TRAY_TASK_STARTED      6
#define IDS_PANE_TASKS             174
#define IDS_PANE_MONITOR_IDLE      184
#define IDS_DROPDOWN_START         185
#define IDS_DROPDOWN_RESTART       186
#define IDS_DROPDOWN_RELOAD        187
#define IDS_CAPTION_INFORMATION    245
#define IDS_LANGUAGE_CHANGED       282
#define IDS_LANGUAGE_RESTART       283
#define IDS_BALLOON_TITLE          301
#define IDS_BALLOON_TEXT           302
#define IDS_QUEUE_TIP              314
#define IDS_TASK_PANE_STARTED      320
#define IDS_TASK_PANE_COMPLETED    321
#define IDS_OUT_OF_MEMORY          28690
#define IDS_TASK_PANE_PAUSED       28801
#define IDS_TASK_PANE_STOPPED      28802
#define IDS_TASK_PANE_COMPLETED_ERROR 28803
#define IDS_TRAY_TASK_PAUSED       28804
#define IDS_TRAY_TASK_STOPPED      28805
#define IDS_BALLOON_TITLE_PAUSED   28806
#define IDS_BALLOON_TITLE_STOPPED  28807
#define IDS_BALLOON_TITLE_ERROR    28808
#define IDS_BALLOON_TEXT_PAUSED    28809
#define IDS_BALLOON_TEXT_STOPPED   28810
#define IDS_BALLOON_TEXT_ERROR     28811
