#pragma once
// Resource ids of the program: dialogs, menus, strings, bitmaps, icons and commands.
#include "resources/command_ids.h"
// Program options, the options frame, file-type and name dialogs, tip of the day.
#include "resources/options_ids.h"
