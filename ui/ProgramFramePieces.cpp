#include "ui/frame/FramePieces.h"
#include "ui/frame/FrameDialogs.h"
#include "ui/frame/MonitorPane.h"
#include "ui/pictures/ImagesContainer.h"
#include "ui/tasks/TasksTree.h"

FramePieces CreateFramePieces(Application* app) {
    FramePieces pieces;
    pieces.tasks.reset(new TasksTree(app));
    pieces.pictures.reset(new ImagesContainer());
    pieces.monitor.reset(new MonitorPane());
    pieces.dialogs.reset(new FrameDialogs(app));
    return pieces;
}
