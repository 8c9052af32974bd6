#pragma once
// Localized names of the generator kinds, for their display texts.
#include <string>
#include "resources/tasks_ids.h"

// The text of a string id from the localization service, copied (its buffer is shared).
std::string TemplateKindText(unsigned id);
