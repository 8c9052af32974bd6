#pragma once
// The frame of every multi-page settings dialog: a tree of page titles on the left, the pages
// laid over a placeholder on the right, one visible at a time. The frame knows nothing of what
// the pages edit.
//
// The concrete dialog T derives from TVOptionsFrameDlg<T, Object> and supplies:
//   enum { IDD = ... };                       its dialog resource (tree and placeholder in it)
//   Object& GetEditedObject();                what the pages load from and save into
//   bool StoreEditedObject();                 writes the object away after the pages saved
// Its constructor creates the pages with new and hands them to AddPage (creation, validation and
// saving follow that order; the frame owns them). Its WM_INITDIALOG handler translates and places
// its own window, fills the tree with AddTreeItem and then calls the frame's OnInitDialog. Its
// message map offers every message to the frame's map first (CHAIN_MSG_MAP), then handles
// IDOK with RunOkSequence, IDCANCEL with EndDialog(IDCANCEL) and its help button with
// ShowHelpForSelection.
#include <windows.h>
#include <commctrl.h>
#include <string>
#include <vector>
#include "dialogs/common/DialogTexts.h"
#include "dialogs/common/HelpTopic.h"
#include "dialogs/options/OptionsChildDlg.h"
#include "framework/DialogImpl.h"
#include "framework/TreeViewCtrl.h"

// A page's help topic ("General" for Brackenfly.chm::/General.htm), found by its tree title.
struct OptionsHelpTopic {
    unsigned titleId;
    const char* topic;
};

template <class T, class Object>
class TVOptionsFrameDlg : public CDialogImpl<T> {
public:
    using Page = OptionsChildDlg<Object>;

    TVOptionsFrameDlg(int treeId, int placeholderId) : treeId_(treeId), placeholderId_(placeholderId) {}
    ~TVOptionsFrameDlg() override {
        for (Page* page : pages_) delete page;
        pages_.clear();
    }

    // The page built from that resource, or null.
    Page* FindPage(UINT resourceId) const {
        for (Page* page : pages_) {
            if (page->GetResourceId() == resourceId) return page;
        }
        return nullptr;
    }
    HWND GetPageWindow(UINT resourceId) const {
        Page* page = FindPage(resourceId);
        return page ? page->m_hWnd : nullptr;
    }
    CTreeViewCtrl GetTree() const { return CTreeViewCtrl(::GetDlgItem(this->m_hWnd, treeId_)); }
    // Every page, in creation order.
    const std::vector<Page*>& GetPages() const { return pages_; }

    BEGIN_MSG_MAP(TVOptionsFrameDlg)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        NOTIFY_HANDLER(treeId_, TVN_SELCHANGED, OnSelChanged)
    END_MSG_MAP()

protected:
    void AddPage(Page* page) { pages_.push_back(page); }

    // A tree item titled with the translated string, showing the page of that resource id.
    HTREEITEM AddTreeItem(unsigned titleId, UINT pageId, HTREEITEM parent = TVI_ROOT) {
        return GetTree().InsertItem(LocalText(titleId).c_str(), static_cast<LPARAM>(pageId), parent);
    }

    // Creates every page over the placeholder, hidden, and shows the first.
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
        HWND placeholder = ::GetDlgItem(this->m_hWnd, placeholderId_);
        RECT area = {};
        ::GetWindowRect(placeholder, &area);
        ::MapWindowPoints(nullptr, this->m_hWnd, reinterpret_cast<POINT*>(&area), 2);
        Object& edited = static_cast<T*>(this)->GetEditedObject();
        for (Page* page : pages_) {
            if (!page->Create(this->m_hWnd, reinterpret_cast<LPARAM>(&edited))) continue;
            // The page answers GetDlgItem(frame, its resource id), as a control of the frame.
            ::SetWindowLongPtrA(page->m_hWnd, GWLP_ID, static_cast<LONG_PTR>(page->GetResourceId()));
            // Right after the placeholder in the tab order: tree, page, buttons.
            ::SetWindowPos(page->m_hWnd, placeholder ? placeholder : HWND_TOP, area.left, area.top,
                           area.right - area.left, area.bottom - area.top, SWP_NOACTIVATE);
        }
        if (!pages_.empty() && pages_.front()->m_hWnd) ::ShowWindow(pages_.front()->m_hWnd, SW_SHOWNORMAL);
        return TRUE;
    }

    LRESULT OnSelChanged(int, LPNMHDR header, BOOL&) {
        const LPARAM shownId = reinterpret_cast<NMTREEVIEWA*>(header)->itemNew.lParam;
        for (Page* page : pages_) {
            const bool shown = static_cast<LPARAM>(page->GetResourceId()) == shownId;
            page->Activate(shown);
            if (page->m_hWnd) ::ShowWindow(page->m_hWnd, shown ? SW_SHOWNORMAL : SW_HIDE);
        }
        return 0;
    }

    // Validates every page in order (the first failure keeps the dialog open), saves every page
    // into the edited object, and stores it. Stored: the dialog ends with endCode (IDOK, or the
    // id of another closing button). Not stored: the error box with storeFailedTextId; the
    // dialog stays and the object keeps the saved values.
    void RunOkSequence(unsigned storeFailedTextId, int endCode = IDOK) {
        for (Page* page : pages_) {
            if (!page->Validate()) return;
        }
        Object& edited = static_cast<T*>(this)->GetEditedObject();
        for (Page* page : pages_) page->Save(edited);
        if (static_cast<T*>(this)->StoreEditedObject()) {
            this->EndDialog(endCode);
            return;
        }
        ShowErrorBox(this->m_hWnd, LocalText(storeFailedTextId));
    }

    // The help topic of the page whose title the selected item carries; without a selection the
    // first item's (its page is the one showing). No match opens the help file itself.
    void ShowHelpForSelection(const std::vector<OptionsHelpTopic>& topics) {
        CTreeViewCtrl tree = GetTree();
        HTREEITEM item = tree.GetSelectedItem();
        if (!item) item = tree.GetRootItem();
        const std::string selected = tree.GetItemText(item, 1024);
        for (const OptionsHelpTopic& topic : topics) {
            if (!selected.empty() && selected == LocalText(topic.titleId)) {
                OpenHelpTopic(this->m_hWnd, topic.topic);
                return;
            }
        }
        OpenHelpTopic(this->m_hWnd, std::string());
    }

private:
    int treeId_;
    int placeholderId_;
    std::vector<Page*> pages_;  // owned, in creation order
};
