#include "framework/ToolBarCtrl.h"

HWND CToolBarCtrl::Create(const ToolBarArgs& args) {
    ControlArgs control = args;
    control.style |= TBSTYLE_FLAT | TBSTYLE_TOOLTIPS | CCS_NODIVIDER | CCS_NORESIZE | CCS_NOPARENTALIGN;
    m_hWnd = CreateChildControl(TOOLBARCLASSNAMEA, control);
    if (!m_hWnd) return nullptr;
    SendMessage(TB_BUTTONSTRUCTSIZE, sizeof(TBBUTTON));
    if (args.owner) SendMessage(TB_SETPARENT, reinterpret_cast<WPARAM>(args.owner));
    if (args.extendedStyle) SendMessage(TB_SETEXTENDEDSTYLE, 0, args.extendedStyle);
    SIZE bitmap = args.bitmapSize;
    if ((bitmap.cx <= 0 || bitmap.cy <= 0) && args.images) {
        int width = 0, height = 0;
        ImageList_GetIconSize(args.images, &width, &height);
        bitmap.cx = width;
        bitmap.cy = height;
    }
    if (bitmap.cx > 0 && bitmap.cy > 0) SendMessage(TB_SETBITMAPSIZE, 0, MAKELPARAM(bitmap.cx, bitmap.cy));
    if (args.buttonSize.cx > 0 && args.buttonSize.cy > 0)
        SendMessage(TB_SETBUTTONSIZE, 0, MAKELPARAM(args.buttonSize.cx, args.buttonSize.cy));
    if (args.images) SendMessage(TB_SETIMAGELIST, 0, reinterpret_cast<LPARAM>(args.images));
    if (args.hotImages) SendMessage(TB_SETHOTIMAGELIST, 0, reinterpret_cast<LPARAM>(args.hotImages));
    if (args.disabledImages) SendMessage(TB_SETDISABLEDIMAGELIST, 0, reinterpret_cast<LPARAM>(args.disabledImages));

    std::vector<TBBUTTON> buttons;
    int image = 0;
    for (int command : args.commands) {
        TBBUTTON button = {};
        if (command == 0) {
            button.fsStyle = BTNS_SEP;
        } else {
            button.iBitmap = image++;
            button.idCommand = command;
            button.fsState = TBSTATE_ENABLED;
            button.fsStyle = BTNS_BUTTON;
        }
        buttons.push_back(button);
    }
    if (!buttons.empty())
        SendMessage(TB_ADDBUTTONSA, static_cast<WPARAM>(buttons.size()), reinterpret_cast<LPARAM>(buttons.data()));
    if (args.autoSize) SendMessage(TB_AUTOSIZE);
    const RECT& place = args.place;
    if (!::IsRectEmpty(&place))
        ::SetWindowPos(m_hWnd, nullptr, place.left, place.top, place.right - place.left, place.bottom - place.top,
                       SWP_NOZORDER | SWP_NOACTIVATE);
    return m_hWnd;
}
