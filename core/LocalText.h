#pragma once
// The one way the window layer reads a text: a string id of the program in the user's language
// (the language file's entry, else the program's own string table), copied out of the
// localization service's shared buffer.
#include <string>

std::string LocalText(unsigned id);
