#pragma once
// An application whose settings live in a scratch folder, the prompts answered by script, and
// the program options run through their real windows.
#include <gtest/gtest.h>
#include <memory>
#include "core/Application.h"
#include "core/ProgramSettings.h"
#include "dialogs/options/OptionsDlg.h"
#include "tests/support/ModalScript.h"
#include "tests/support/PromptSupport.h"
#include "tests/support/TestSupport.h"

class OptionsFixture : public ::testing::Test {
protected:
    OptionsFixture() : app_(new Application(new ProgramSettings(nullptr, dir_.Path()))) {}

    ProgramSettings& Settings() { return *app_->GetSettings(); }
    std::string ConfigPath() const { return dir_.File("Brackenfly.config"); }
    bool ConfigWritten() const { return testsupport::FileExists(ConfigPath()); }
    // What the settings file holds, read into a fresh record.
    std::unique_ptr<ProgramSettings> StoredSettings() const {
        return std::unique_ptr<ProgramSettings>(new ProgramSettings(nullptr, dir_.Path()));
    }
    // Runs the options dialog with the steps of script; returns the dialog's result.
    INT_PTR RunOptions(testsupport::ModalScript& script) {
        OptionsDlg dialog(app_.get());
        dialog_ = &dialog;
        const INT_PTR result = script.Run([&] { return dialog.DoModal(nullptr); });
        dialog_ = nullptr;
        EXPECT_TRUE(script.Finished());
        return result;
    }
    // The page window of the dialog running now.
    HWND Page(UINT pageId) const { return dialog_ ? dialog_->GetPageWindow(pageId) : nullptr; }
    // Selects the tree item of a page as a user's click does.
    void SelectPage(UINT pageId) {
        CTreeViewCtrl tree = dialog_->GetTree();
        for (HTREEITEM item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item)) {
            if (tree.GetItemData(item) == static_cast<LPARAM>(pageId)) tree.SelectItem(item);
        }
    }
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const auto& box : prompts_.boxes) texts.push_back(box.text);
        return texts;
    }

    testsupport::ScratchDir dir_;
    std::unique_ptr<Application> app_;
    testsupport::ScriptedPrompts prompts_;
    OptionsDlg* dialog_ = nullptr;
};
