#pragma once
// The main window's panes ("Tasks" and the monitor): a title strip with a close button above one
// client window.
#include "framework/PaneContainer.h"

class MyPaneContainer : public CPaneContainer {};
