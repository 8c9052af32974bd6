#include "ui/frame/FramePieces.h"
#include "ui/frame/FrameDialogs.h"
#include "ui/frame/MonitorPane.h"
#include "ui/frame/PlaceholderPieces.h"
#include "ui/pictures/ImagesContainer.h"
#include "ui/tasks/TaskOptionsDialogs.h"
#include "ui/tasks/TasksTree.h"

FramePieces CreateFramePieces(Application* app) {
    FramePieces pieces;
    TasksTree* tree = new TasksTree(app);
    tree->SetTaskDialogs(std::unique_ptr<ITaskDialogs>(new TaskOptionsDialogs(app, tree)));
    pieces.tasks.reset(tree);
    pieces.pictures.reset(new ImagesContainer(app));
    pieces.monitor.reset(new MonitorPane());
    pieces.dialogs.reset(new FrameDialogs(app));
    CompleteFramePieces(pieces);
    return pieces;
}

void CompleteFramePieces(FramePieces& pieces) {
    if (!pieces.tasks) pieces.tasks.reset(new PlaceholderTasksPane());
    if (!pieces.pictures) pieces.pictures.reset(new PlaceholderPictureContainer());
    if (!pieces.monitor) pieces.monitor.reset(new PlaceholderMonitorViews());
    if (!pieces.dialogs) pieces.dialogs.reset(new PlaceholderFrameDialogs());
}
