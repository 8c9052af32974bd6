#pragma once
// The program's command bar: the main menu as a toolbar, with the toolbar pictures on its items.
// Views track their context menus through it (MainFrame::GetCommandBar) so their items show
// pictures too and their commands reach the main frame's routing.
#include "framework/CommandBarCtrl.h"

class CMyCommandBarCtrl : public CCommandBarCtrl {};
