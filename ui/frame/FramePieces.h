#pragma once
// The panes and dialogs the main frame is built from. CreateFramePieces makes the program's own
// tasks tree, picture container, monitor views and dialogs; tests hand the frame their own. It
// lives beside the main frame (ui/ProgramFramePieces.cpp): the panes' folders build on this one.
#include <memory>
#include "ui/frame/IFrameDialogs.h"
#include "ui/frame/IMonitorViews.h"
#include "ui/frame/IPictureContainer.h"
#include "ui/frame/ITasksPane.h"

class Application;

struct FramePieces {
    std::unique_ptr<ITasksPane> tasks;
    std::unique_ptr<IPictureContainer> pictures;
    std::unique_ptr<IMonitorViews> monitor;
    std::unique_ptr<IFrameDialogs> dialogs;
};

FramePieces CreateFramePieces(Application* app);
