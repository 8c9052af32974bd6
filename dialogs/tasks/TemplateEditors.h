#pragma once
// The editor of a generator's own kind (numbers, characters or strings), modal over owner.
// True when the user pressed OK (the generator then holds the edited values).
#include <windows.h>

class TemplateBase;

bool EditTemplate(HWND owner, TemplateBase& generator);

// The generator editors' warning: caption "Error", warning icon.
void ShowTemplateWarning(HWND owner, unsigned textId);
