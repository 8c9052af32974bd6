// The Tools > Language menu: one item per language file, the choice stored by the file's name.
#include <algorithm>
#include "core/AppDirectory.h"
#include "core/Application.h"
#include "core/ProgramSettings.h"
#include "framework/UserPrompts.h"
#include "resources/frame_ids.h"
#include "ui/MainFrame.h"
#include "core/LocalText.h"
#include "ui/frame/LanguageList.h"

namespace {
const char kEnglish[] = "English";
const int kToolsMenu = 3;
const UINT kMaxLanguageItems = 200;  // keeps the ids below the next command block
}  // namespace

std::vector<std::string> ListLanguageFiles(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE search = ::FindFirstFileA((folder + "*.lng").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
        const std::string name = found.cFileName;
        if (name.size() <= 4) continue;
        names.push_back(name.substr(0, name.size() - 4));
    } while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return names;
}

std::vector<std::string> LanguageMenuNames(const std::vector<std::string>& fileNames, size_t limit) {
    std::vector<std::string> names{kEnglish};
    for (const std::string& name : fileNames) {
        if (names.size() > limit) break;
        if (name == kEnglish) continue;
        names.push_back(name);
    }
    return names;
}

UINT MainFrame::GetLastLanguageCommand() const {
    return kFirstLanguageCommand + static_cast<UINT>(languageNames_.empty() ? 0 : languageNames_.size() - 1);
}

void MainFrame::FillLanguageMenu(HMENU menu) {
    languageNames_ = LanguageMenuNames(ListLanguageFiles(GetAppDirectory() + "Langs\\"), kMaxLanguageItems);
    HMENU tools = ::GetSubMenu(menu, kToolsMenu);
    HMENU languages = tools ? ::GetSubMenu(tools, 0) : nullptr;
    if (!languages) return;
    ProgramSettings* settings = app_ ? app_->GetSettings() : nullptr;
    const std::string current = settings ? settings->LangName : std::string(kEnglish);
    for (size_t i = 0; i < languageNames_.size(); ++i) {
        const UINT id = kFirstLanguageCommand + static_cast<UINT>(i);
        if (i > 0) ::AppendMenuA(languages, MF_STRING, id, languageNames_[i].c_str());
        ::CheckMenuItem(languages, id, MF_BYCOMMAND | (languageNames_[i] == current ? MF_CHECKED : MF_UNCHECKED));
    }
}

void MainFrame::ChooseLanguage(UINT id) {
    const size_t index = id - kFirstLanguageCommand;
    if (index >= languageNames_.size()) return;
    // The file's name, not the item's (possibly translated) text, names the language.
    const std::string name = languageNames_[index];
    if (app_ && app_->GetSettings()) {
        app_->GetSettings()->LangName = name;
        app_->SaveSettings();
    }
    const std::string text = LocalText(IDS_LANGUAGE_CHANGED) + name + LocalText(IDS_LANGUAGE_RESTART);
    const int answer = UserPrompts().MessageBox(m_hWnd, text, LocalText(IDS_CAPTION_INFORMATION),
                                                MB_ICONINFORMATION | MB_YESNO);
    if (answer != IDYES) return;
    // The new instance starts only once this one has saved everything and its loop has ended.
    if (app_) app_->RequestRestart();
    PostMessage(WM_CLOSE);
}
