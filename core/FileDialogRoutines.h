#pragma once
// Open/save file dialogs centred over their owner, and the overwrite question.
#include <windows.h>
#include <string>

UINT_PTR CALLBACK FileDialogHook(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
// fileName: preset name in, chosen name (or, with multiSelect, the folder-NUL-names result) out.
bool ShowFileDialog(HWND owner, const char* filter, const char* title, const char* initialFolder,
                    std::string& fileName, bool open, bool multiSelect);
// Walks a multiple-selection result (folder, NUL, names, NUL NUL) or a single full path;
// cursor starts at 0. Returns false when no name is left.
bool NextSelectedFile(size_t& cursor, const std::string& result, std::string& path);
// False only when the file exists and the user answers No.
bool ConfirmOverwrite(HWND owner, const std::string& path);
