#pragma once
// Resource ids of the program: dialogs, menus, strings, bitmaps, icons and commands.
#include "resources/command_ids.h"
// Thumbnail placeholders.
#include "resources/thumbnails_ids.h"
