#pragma once
// What the messages and errors views share: a window filled by a virtual list whose cells the
// view answers, a context menu over the rows, and the commands the view takes.
#include <windows.h>
#include <string>

#include "framework/IPopupMenuHost.h"
#include "framework/WindowImpl.h"
#include "ui/monitor/MonitorList.h"

class MonitorListView : public CWindowImplBase {
public:
    ~MonitorListView() override;

    // Hidden child, as the view host shows it when its tab is selected.
    HWND CreateView(HWND parent);
    MonitorList& List() { return list_; }
    // Who shows the context menu (the main frame); without one a plain popup menu.
    void SetMenuHost(IPopupMenuHost* host) { menuHost_ = host; }
    // Commands routed by the main frame (and chosen in the view's own menu); true when taken.
    virtual bool OnCommand(UINT id) = 0;

    BEGIN_MSG_MAP(MonitorListView)
        MESSAGE_HANDLER(WM_CREATE, OnCreate)
        MESSAGE_HANDLER(WM_SIZE, OnSize)
        MESSAGE_HANDLER(WM_NOTIFYFORMAT, OnNotifyFormat)
        MESSAGE_HANDLER(WM_NOTIFY, OnNotify)
        MESSAGE_HANDLER(WM_CONTEXTMENU, OnContextMenu)
        MESSAGE_HANDLER(WM_COMMAND, OnCommandMessage)
        MESSAGE_HANDLER(WM_DESTROY, OnDestroy)
    END_MSG_MAP()

protected:
    MonitorListView(const MonitorList::Column* columns, int columnCount, unsigned menuId);

    // The text and picture of a cell; false for a row the view does not have.
    virtual bool CellOf(int row, int column, std::string& text, int& image) const = 0;
    virtual size_t EntryCount() const = 0;
    // Before the menu shows: row is the row under the click, or -1.
    virtual void PrepareMenu(HMENU, int /*row*/) {}
    virtual void OnListCreated() {}
    virtual void OnListDestroying() {}
    // Notices other than the list's cell requests.
    virtual LRESULT OnOtherNotify(NMHDR*, BOOL& handled) {
        handled = FALSE;
        return 0;
    }

    MonitorList list_;

private:
    LRESULT OnCreate(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnSize(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnNotifyFormat(UINT, WPARAM, LPARAM, BOOL&) { return NFR_ANSI; }
    LRESULT OnNotify(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnContextMenu(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnCommandMessage(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnDestroy(UINT, WPARAM, LPARAM, BOOL&);

    const MonitorList::Column* columns_;
    int columnCount_;
    unsigned menuId_;
    IPopupMenuHost* menuHost_ = nullptr;
};
