#pragma once
// A tree-view control handle with typed one-line calls; owns nothing.
#include <windows.h>
#include <commctrl.h>
#include <string>
#include "framework/ChildControl.h"
#include "framework/Window.h"

class CTreeViewCtrl : public CWindow {
public:
    CTreeViewCtrl() = default;
    explicit CTreeViewCtrl(HWND hWnd) : CWindow(hWnd) {}

    HWND Create(const ControlArgs& args) { return m_hWnd = CreateChildControl(WC_TREEVIEWA, args); }

    // Appended last under parent (TVI_ROOT for a top-level item), with data as its lParam.
    HTREEITEM InsertItem(const char* text, LPARAM data, HTREEITEM parent = TVI_ROOT);
    BOOL DeleteItem(HTREEITEM item) { return TreeView_DeleteItem(m_hWnd, item); }
    BOOL DeleteAllItems() { return TreeView_DeleteAllItems(m_hWnd); }
    void DeleteChildren(HTREEITEM item);
    BOOL Expand(HTREEITEM item, UINT action = TVE_EXPAND) { return TreeView_Expand(m_hWnd, item, action); }
    BOOL SelectItem(HTREEITEM item) { return TreeView_SelectItem(m_hWnd, item); }

    HTREEITEM GetSelectedItem() const { return TreeView_GetSelection(m_hWnd); }
    HTREEITEM GetRootItem() const { return TreeView_GetRoot(m_hWnd); }
    HTREEITEM GetChildItem(HTREEITEM item) const { return TreeView_GetChild(m_hWnd, item); }
    HTREEITEM GetNextSiblingItem(HTREEITEM item) const { return TreeView_GetNextSibling(m_hWnd, item); }
    HTREEITEM GetParentItem(HTREEITEM item) const { return TreeView_GetParent(m_hWnd, item); }
    UINT GetCount() const { return TreeView_GetCount(m_hWnd); }

    // Up to maxLength characters of the item's text.
    std::string GetItemText(HTREEITEM item, int maxLength = 1024) const;
    BOOL SetItemText(HTREEITEM item, const char* text);
    LPARAM GetItemData(HTREEITEM item) const;
};
