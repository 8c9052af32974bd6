#include "dialogs/common/DialogTexts.h"
#include <climits>
#include <cstdlib>
#include <vector>
#include "framework/UserPrompts.h"
#include "resources/app_ids.h"

namespace {
const int kMaxItemText = 1024;
}

void ShowWarningBox(HWND owner, const std::string& text) {
    UserPrompts().MessageBox(owner, text, LocalText(IDS_CAPTION_WARNING), MB_ICONWARNING);
}

void ShowErrorBox(HWND owner, const std::string& text) {
    UserPrompts().MessageBox(owner, text, LocalText(IDS_CAPTION_ERROR), MB_ICONERROR);
}

int AskQuestionBox(HWND owner, const std::string& text) {
    return UserPrompts().MessageBox(owner, text, LocalText(IDS_CAPTION_QUESTION), MB_ICONQUESTION | MB_YESNO);
}

std::string GetItemString(HWND dialog, int controlId) {
    HWND item = ::GetDlgItem(dialog, controlId);
    const int length = item ? ::GetWindowTextLengthA(item) : 0;
    if (length <= 0) return std::string();
    std::vector<char> text(static_cast<size_t>(length) + 1, '\0');
    const int got = ::GetWindowTextA(item, text.data(), length + 1);
    return std::string(text.data(), got > 0 ? static_cast<size_t>(got) : 0);
}

int ParseNumber(const std::string& text) {
    const long long value = std::strtoll(text.c_str(), nullptr, 10);
    if (value > INT_MAX) return INT_MAX;
    if (value < INT_MIN) return INT_MIN;
    return static_cast<int>(value);
}

int GetItemNumber(HWND dialog, int controlId) { return ParseNumber(GetItemString(dialog, controlId)); }

bool IsItemChecked(HWND dialog, int controlId) {
    return ::IsDlgButtonChecked(dialog, controlId) == BST_CHECKED;
}

void SetItemChecked(HWND dialog, int controlId, bool checked) {
    ::CheckDlgButton(dialog, controlId, checked ? BST_CHECKED : BST_UNCHECKED);
}

void EnableItem(HWND dialog, int controlId, bool enabled) {
    ::EnableWindow(::GetDlgItem(dialog, controlId), enabled ? TRUE : FALSE);
}
