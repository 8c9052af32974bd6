#pragma once
// Resource ids of the program: dialogs, menus, strings, bitmaps, icons and commands.
#include "resources/command_ids.h"
// The monitor pane and the picture information, download statistics and about dialogs.
#include "resources/monitor_ids.h"
// Program options, the options frame, file-type and name dialogs, tip of the day.
#include "resources/options_ids.h"
#include "resources/viewer_ids.h"
// Thumbnail placeholders.
#include "resources/thumbnails_ids.h"
// The web-form login browser.
#include "resources/webbrowser_ids.h"
#include "resources/frame_ids.h"
// The task option dialogs, the template editors and the URL test.
#include "resources/task_options_ids.h"
// The tasks tree and its task commands.
#include "resources/taskstree_ids.h"
// Picture views and the selection-by-condition dialog.
#include "resources/pictures_ids.h"
