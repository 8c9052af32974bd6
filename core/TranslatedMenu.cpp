#include "core/TranslatedMenu.h"
#include "core/InternationalSupport.h"
#include "framework/AppModule.h"

TranslatedMenu::TranslatedMenu(UINT menuId)
    : menu_(::LoadMenuA(g_Module.GetModuleInstance(), MAKEINTRESOURCEA(menuId))) {
    if (menu_) g_InternationalSupport.TranslateMenu(menuId, menu_);
}

TranslatedMenu::~TranslatedMenu() {
    if (menu_) ::DestroyMenu(menu_);
}
