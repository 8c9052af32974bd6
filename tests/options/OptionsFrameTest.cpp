// The page protocol of the options frame with pages that record what the frame asks of them:
// creation and loading in order, activation by the tree, the OK sequence and a failed store.
#include <gtest/gtest.h>
#include <string>
#include <vector>
#include "dialogs/options/TVOptionsFrameDlg.h"
#include "resources/options_ids.h"
#include "tests/support/ModalScript.h"
#include "tests/support/PromptSupport.h"

using testsupport::Click;
using testsupport::ModalScript;

namespace {

struct Edited {
    std::vector<std::string> calls;  // what the pages did to it
    std::vector<std::string> saved;
};

class SpyPage : public OptionsChildDlg<Edited> {
public:
    SpyPage(UINT id, const std::string& name, std::vector<std::string>& journal)
        : OptionsChildDlg<Edited>(id), name_(name), journal_(journal) {}

    bool valid = true;
    unsigned warning = 0;

    void Activate(bool shown) override { journal_.push_back(name_ + (shown ? " shown" : " hidden")); }
    void Load(Edited& edited) override { edited.calls.push_back("load " + name_); }
    void Save(Edited& edited) override { edited.saved.push_back(name_); }
    bool Validate() override {
        journal_.push_back("validate " + name_);
        return valid || FailValidation(warning);
    }

private:
    std::string name_;
    std::vector<std::string>& journal_;
};

class SpyFrameDlg : public TVOptionsFrameDlg<SpyFrameDlg, Edited> {
public:
    using Frame = TVOptionsFrameDlg<SpyFrameDlg, Edited>;
    enum { IDD = IDD_OPTIONS };

    SpyFrameDlg() : Frame(IDC_OPTIONS_TREE, IDC_OPTIONS_PLACEHOLDER) {
        AddPage(first = new SpyPage(IDD_OPTIONS_GENERAL, "general", journal));
        AddPage(second = new SpyPage(IDD_OPTIONS_PROXY, "proxy", journal));
        AddPage(third = new SpyPage(IDD_OPTIONS_SLIDESHOW, "slides", journal));
    }

    Edited edited;
    std::vector<std::string> journal;
    bool storeSucceeds = true;
    int stores = 0;
    SpyPage* first;
    SpyPage* second;
    SpyPage* third;
    HTREEITEM proxyItem = nullptr;
    HTREEITEM groupOnlyItem = nullptr;

    Edited& GetEditedObject() { return edited; }
    bool StoreEditedObject() {
        ++stores;
        return storeSucceeds;
    }

    BEGIN_MSG_MAP(SpyFrameDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        CHAIN_MSG_MAP(Frame)
        COMMAND_ID_HANDLER(IDOK, OnOk)
        COMMAND_ID_HANDLER(IDCANCEL, OnCancel)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT msg, WPARAM wParam, LPARAM lParam, BOOL& handled) {
        HTREEITEM general = AddTreeItem(IDS_PAGE_GENERAL, IDD_OPTIONS_GENERAL);
        proxyItem = AddTreeItem(IDS_PAGE_PROXY, IDD_OPTIONS_PROXY, general);  // nested
        groupOnlyItem = AddTreeItem(IDS_PAGE_DOWNLOADING, 4711);             // shows no page
        AddTreeItem(IDS_PAGE_SLIDESHOW, IDD_OPTIONS_SLIDESHOW);
        return Frame::OnInitDialog(msg, wParam, lParam, handled);
    }
    LRESULT OnOk(WORD, WORD, HWND, BOOL&) {
        RunOkSequence(IDS_OPTIONS_SAVE_FAILED);
        return 0;
    }
    LRESULT OnCancel(WORD, WORD, HWND, BOOL&) {
        EndDialog(IDCANCEL);
        return 0;
    }
};

bool IsShown(SpyPage* page) { return ::IsWindowVisible(page->m_hWnd) != FALSE; }

TEST(OptionsFrame, PagesLoadAtCreationAndTheTreeShowsOneAtATime) {
    testsupport::ScriptedPrompts prompts;
    SpyFrameDlg dialog;
    ModalScript script;
    script.Then([&](HWND frame) {
        EXPECT_EQ((std::vector<std::string>{"load general", "load proxy", "load slides"}), dialog.edited.calls);
        // The first page shows by itself. The tree may select its first item as it takes the
        // focus; that shows the same page.
        if (!dialog.journal.empty()) {
            EXPECT_EQ((std::vector<std::string>{"general shown", "proxy hidden", "slides hidden"}), dialog.journal);
        }
        dialog.journal.clear();
        EXPECT_TRUE(IsShown(dialog.first));
        EXPECT_FALSE(IsShown(dialog.second));
        // Every page lies exactly over the placeholder.
        RECT placeholder, page;
        ::GetWindowRect(::GetDlgItem(frame, IDC_OPTIONS_PLACEHOLDER), &placeholder);
        ::GetWindowRect(dialog.third->m_hWnd, &page);
        EXPECT_TRUE(::EqualRect(&placeholder, &page));
        EXPECT_EQ(frame, ::GetParent(dialog.third->m_hWnd));

        dialog.GetTree().SelectItem(dialog.proxyItem);
        EXPECT_EQ((std::vector<std::string>{"general hidden", "proxy shown", "slides hidden"}), dialog.journal);
        EXPECT_FALSE(IsShown(dialog.first));
        EXPECT_TRUE(IsShown(dialog.second));
        dialog.journal.clear();
        dialog.GetTree().SelectItem(dialog.groupOnlyItem);
        EXPECT_FALSE(IsShown(dialog.first) || IsShown(dialog.second) || IsShown(dialog.third));
        Click(frame, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, script.Run([&] { return dialog.DoModal(nullptr); }));
    EXPECT_TRUE(dialog.edited.saved.empty());
    EXPECT_EQ(0, dialog.stores);
}

TEST(OptionsFrame, OkValidatesInOrderStopsAtTheFirstFailureThenSavesAndStores) {
    testsupport::ScriptedPrompts prompts;
    SpyFrameDlg dialog;
    dialog.second->valid = false;
    dialog.second->warning = IDS_PROXY_PORT_INVALID;
    dialog.third->valid = false;
    dialog.third->warning = IDS_SLIDESHOW_DELAY_INVALID;
    ModalScript script;
    script.Then([&](HWND frame) {
              dialog.journal.clear();
              Click(frame, IDOK);
          })
        .Then([&](HWND frame) {
            EXPECT_EQ((std::vector<std::string>{"validate general", "validate proxy"}), dialog.journal);
            EXPECT_TRUE(dialog.edited.saved.empty());
            dialog.second->valid = true;
            dialog.third->valid = true;
            dialog.storeSucceeds = false;
            Click(frame, IDOK);
        })
        .Then([&](HWND frame) {
            // Not stored: the error box, the dialog stays, the object holds the saved values.
            EXPECT_EQ((std::vector<std::string>{"general", "proxy", "slides"}), dialog.edited.saved);
            EXPECT_EQ(1, dialog.stores);
            dialog.storeSucceeds = true;
            Click(frame, IDOK);
        });
    EXPECT_EQ(IDOK, script.Run([&] { return dialog.DoModal(nullptr); }));
    EXPECT_EQ(2, dialog.stores);
    ASSERT_EQ(2u, prompts.boxes.size());
    EXPECT_EQ("Proxy : Invalid proxy port", prompts.boxes[0].text);
    EXPECT_EQ("Warning", prompts.boxes[0].caption);
    EXPECT_EQ("Error when saving options", prompts.boxes[1].text);
    EXPECT_EQ("Error", prompts.boxes[1].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONERROR), prompts.boxes[1].type);
}

TEST(OptionsFrame, RealWarningBoxAppearsOverTheDialog) {
    SpyFrameDlg dialog;
    dialog.first->valid = false;
    dialog.first->warning = IDS_LOG_SIZE_INVALID;
    HWND frameWindow = nullptr;
    ModalScript script;
    script.Then([&](HWND frame) {
        frameWindow = frame;
        testsupport::PromptWatcher watcher("Warning", IDOK);
        ::SendMessageA(frame, WM_COMMAND, IDOK, 0);  // returns once the watcher answered the box
        EXPECT_TRUE(watcher.Answered());
        EXPECT_NE(std::string::npos, watcher.PromptText().find("General : Invalid max size"));
        EXPECT_TRUE(::IsWindow(frame));
        Click(frame, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, script.Run([&] { return dialog.DoModal(nullptr); }));
    EXPECT_FALSE(::IsWindow(frameWindow));
    EXPECT_EQ(0, dialog.stores);
}

TEST(OptionsFrame, MissingHelpFileOpensNothingAndTheDialogGoesOn) {
    // The real help viewer: the help file is not part of the program.
    SpyFrameDlg dialog;
    ModalScript script;
    script.Then([&](HWND frame) {
        EXPECT_FALSE(SystemUserPrompts().ShowHelp(frame, "Z:\\no\\such\\Brackenfly.chm::/General.htm>mainwin"));
        EXPECT_EQ(frame, testsupport::FindActiveDialog());
        Click(frame, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, script.Run([&] { return dialog.DoModal(nullptr); }));
}

}  // namespace
