// The viewer's controls around the picture: the caption strip on top, the command toolbar with
// its tooltips centred below, and the themed border.
#include <windows.h>
#include <commctrl.h>
#include "core/LocalText.h"
#include "framework/ImageListStrip.h"
#include "resources/command_ids.h"
#include "ui/viewer/ImageViewer.h"

namespace {

const int kButtonCount = 13;
const UINT kToolbarId = 1;
const UINT kHeaderId = 2;
// Tooltip texts in command order (ID_VIEWER_PREVIOUS to ID_VIEWER_WALLPAPER).
const unsigned kTipIds[kButtonCount] = {
    IDS_VIEWER_TIP_PREVIOUS, IDS_VIEWER_TIP_NEXT,    IDS_VIEWER_TIP_BEST_FIT, IDS_VIEWER_TIP_ACTUAL_SIZE,
    IDS_VIEWER_TIP_FULLSCREEN, IDS_VIEWER_TIP_ZOOM_IN, IDS_VIEWER_TIP_ZOOM_OUT, IDS_VIEWER_TIP_DELETE,
    IDS_VIEWER_TIP_PRINT,    IDS_VIEWER_COPY_TO,     IDS_VIEWER_TIP_EXTERNAL, IDS_VIEWER_TIP_FOLDER,
    IDS_VIEWER_TIP_WALLPAPER};
// The commands that need a decoded picture.
const UINT kPictureCommands[] = {ID_VIEWER_BEST_FIT, ID_VIEWER_ACTUAL_SIZE, ID_VIEWER_ZOOM_IN,
                                 ID_VIEWER_ZOOM_OUT, ID_VIEWER_PRINT,       ID_VIEWER_WALLPAPER};

}  // namespace

void ImageViewer::CreateToolbar() {
    images_ = LoadImageListStrip(IDB_VIEWER_TOOLBAR, 16, 16);
    disabledImages_ = LoadImageListStrip(IDB_VIEWER_TOOLBAR_DISABLED, 16, 16);
    ToolBarArgs bar;
    bar.parent = m_hWnd;
    bar.id = kToolbarId;
    for (int i = 0; i < kButtonCount; ++i) {
        bar.commands.push_back(ID_VIEWER_PREVIOUS + i);
        if (i == 1 || i == 4 || i == 6) bar.commands.push_back(0);  // groups: previous, next | fits and full screen | zoom | the rest
    }
    bar.images = images_.Get();
    bar.disabledImages = disabledImages_.Get();
    bar.bitmapSize = {16, 16};
    bar.buttonSize = {22, 22};
    toolbar_.Create(bar);
}

void ImageViewer::CreateTooltips() {
    if (!toolbar_) return;
    if (!tooltip_.Create(m_hWnd)) return;
    for (int i = 0; i < kButtonCount; ++i) {
        const UINT id = ID_VIEWER_PREVIOUS + i;
        std::string text = LocalText(kTipIds[i]);
        TOOLINFOA tool = {};
        tool.cbSize = sizeof(tool);
        tool.hwnd = toolbar_;
        tool.uId = id;
        ::SendMessageA(toolbar_, TB_GETRECT, id, reinterpret_cast<LPARAM>(&tool.rect));
        tool.lpszText = &text[0];
        ::SendMessageA(tooltip_, TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
    }
    // The toolbar passes its mouse messages on to this window.
    ::SendMessageA(toolbar_, TB_SETTOOLTIPS, reinterpret_cast<WPARAM>(tooltip_.m_hWnd), 0);
}

void ImageViewer::CreateHeader() {
    ControlArgs args;
    args.parent = m_hWnd;
    args.style = HDS_BUTTONS | HDS_HOTTRACK;
    args.id = kHeaderId;
    if (!header_.Create(args)) return;
    HDITEMA item = {};
    item.mask = HDI_TEXT | HDI_FORMAT | HDI_WIDTH;
    item.fmt = HDF_CENTER | HDF_STRING;
    item.pszText = const_cast<char*>("");
    item.cxy = 100;
    ::SendMessageA(header_, HDM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

void ImageViewer::SetHeaderText(const std::string& text) {
    if (!header_) return;
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = const_cast<char*>(text.c_str());
    ::SendMessageA(header_, HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
}

std::string ImageViewer::GetHeaderText() const {
    char text[1024] = {};
    HDITEMA item = {};
    item.mask = HDI_TEXT;
    item.pszText = text;
    item.cchTextMax = sizeof(text) - 1;
    if (header_) ::SendMessageA(header_, HDM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    return text;
}

void ImageViewer::EnableButtons(const UINT* ids, size_t count, bool enabled) {
    for (size_t i = 0; i < count && toolbar_; ++i) ::SendMessageA(toolbar_, TB_ENABLEBUTTON, ids[i], MAKELPARAM(enabled, 0));
}

void ImageViewer::EnableAllButtons(bool enabled) {
    for (UINT id = ID_VIEWER_PREVIOUS; id <= ID_VIEWER_WALLPAPER; ++id) EnableButtons(&id, 1, enabled);
}

void ImageViewer::EnablePictureButtons(bool enabled) {
    EnableButtons(kPictureCommands, sizeof(kPictureCommands) / sizeof(kPictureCommands[0]), enabled);
}

void ImageViewer::Layout() {
    RECT client;
    ::GetClientRect(m_hWnd, &client);
    RECT headerRect = client;
    if (header_) {
        WINDOWPOS pos = {};
        HDLAYOUT layout = {&headerRect, &pos};
        ::SendMessageA(header_, HDM_LAYOUT, 0, reinterpret_cast<LPARAM>(&layout));
        ::SetWindowPos(header_, pos.hwndInsertAfter, pos.x, pos.y, pos.cx, pos.cy, pos.flags | SWP_NOZORDER);
        HDITEMA item = {};
        item.mask = HDI_WIDTH;
        item.cxy = pos.cx + 3;
        ::SendMessageA(header_, HDM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        headerRect.bottom = pos.y + pos.cy;
    } else {
        headerRect.bottom = 0;
    }

    SIZE bar = {0, 0};
    if (toolbar_) {
        ::SendMessageA(toolbar_, TB_GETMAXSIZE, 0, reinterpret_cast<LPARAM>(&bar));
        int left = client.right / 2 - bar.cx / 2;
        if (left <= 0) left = 1;
        const int top = client.bottom - bar.cy - 6;
        ::SetWindowPos(toolbar_, nullptr, left, top, bar.cx, bar.cy, SWP_NOZORDER | SWP_NOACTIVATE);
        ::ShowWindow(toolbar_, top >= headerRect.bottom ? SW_SHOW : SW_HIDE);
    }
    int bottom = client.bottom - bar.cy - 12;
    if (client.bottom - bar.cy < -12) bottom = 0;
    const int top = headerRect.bottom + 1;
    if (embedded_.IsWindow())
        ::MoveWindow(embedded_, 0, top, client.right, bottom > top ? bottom - top : 0, TRUE);
    ::InvalidateRect(m_hWnd, nullptr, TRUE);
}

LRESULT ImageViewer::OnNotify(UINT, WPARAM, LPARAM lParam, BOOL& handled) {
    auto* header = reinterpret_cast<NMHDR*>(lParam);
    if (header->hwndFrom != header_ || header->code != static_cast<UINT>(NM_CUSTOMDRAW)) {
        handled = FALSE;
        return 0;
    }
    auto* draw = reinterpret_cast<NMCUSTOMDRAW*>(lParam);
    if (draw->dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw->dwDrawStage == CDDS_ITEMPREPAINT) {
        ::SelectObject(draw->hdc, ::GetStockObject(DEFAULT_GUI_FONT));
        return CDRF_NEWFONT;
    }
    return CDRF_DODEFAULT;
}

LRESULT ImageViewer::OnThemeChanged(UINT, WPARAM, LPARAM, BOOL&) {
    edge_.Open(m_hWnd);
    ::RedrawWindow(m_hWnd, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE);
    return 0;
}
