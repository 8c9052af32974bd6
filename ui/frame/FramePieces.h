#pragma once
// The panes and dialogs the main frame is built from. CreateFramePieces is the one place where
// the real tasks tree, picture container, monitor views and dialogs replace the placeholders;
// tests hand the frame their own pieces.
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
// The same with a placeholder for every piece the caller left empty.
void CompleteFramePieces(FramePieces& pieces);
