#pragma once
// Resource ids of the program: dialogs, menus, strings, bitmaps, icons and commands.
#include "resources/command_ids.h"
#include "resources/frame_ids.h"
