#include "framework/ChildControl.h"
#include "framework/AppModule.h"

HWND CreateChildControl(const char* className, const ControlArgs& args) {
    const RECT& place = args.place;
    return ::CreateWindowExA(args.exStyle, className, "", WS_CHILD | WS_VISIBLE | args.style, place.left, place.top,
                             place.right - place.left, place.bottom - place.top, args.parent,
                             reinterpret_cast<HMENU>(static_cast<INT_PTR>(args.id)), g_Module.GetModuleInstance(),
                             nullptr);
}

RECT PlaceOfChild(HWND dialog, int id) {
    RECT rect = {};
    ::GetWindowRect(::GetDlgItem(dialog, id), &rect);
    ::MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
