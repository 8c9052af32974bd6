#include "framework/TreeViewCtrl.h"
#include <vector>

HTREEITEM CTreeViewCtrl::InsertItem(const char* text, LPARAM data, HTREEITEM parent) {
    TVINSERTSTRUCTA insert = {};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = const_cast<char*>(text ? text : "");
    insert.item.lParam = data;
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(m_hWnd, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
}

void CTreeViewCtrl::DeleteChildren(HTREEITEM item) {
    while (HTREEITEM child = GetChildItem(item)) {
        if (!DeleteItem(child)) break;
    }
}

std::string CTreeViewCtrl::GetItemText(HTREEITEM item, int maxLength) const {
    if (!item || maxLength <= 0) return std::string();
    std::vector<char> text(static_cast<size_t>(maxLength) + 1, '\0');
    TVITEMA request = {};
    request.mask = TVIF_TEXT;
    request.hItem = item;
    request.pszText = text.data();
    request.cchTextMax = maxLength + 1;
    if (!::SendMessageA(m_hWnd, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&request))) return std::string();
    return std::string(request.pszText ? request.pszText : "");
}

BOOL CTreeViewCtrl::SetItemText(HTREEITEM item, const char* text) {
    TVITEMA change = {};
    change.mask = TVIF_TEXT;
    change.hItem = item;
    change.pszText = const_cast<char*>(text ? text : "");
    return static_cast<BOOL>(::SendMessageA(m_hWnd, TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&change)));
}

LPARAM CTreeViewCtrl::GetItemData(HTREEITEM item) const {
    TVITEMA request = {};
    request.mask = TVIF_PARAM;
    request.hItem = item;
    if (!item || !::SendMessageA(m_hWnd, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&request))) return 0;
    return request.lParam;
}
