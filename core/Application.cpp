// The application's windows: building and running the main frame, the options dialog and the
// restart after a language change. Linked apart from the services the engine uses
// (ApplicationServices.cpp), since it needs the window layer, which itself uses the engine.
#include "core/Application.h"
#include <windows.h>
#include "core/ProgramInstance.h"
#include "core/ProgramSettings.h"
#include "dialogs/options/OptionsDlg.h"
#include "framework/AppModule.h"
#include "framework/MessageLoop.h"
#include "framework/UserPrompts.h"
#include "resources/plugin_handover.h"
#include "ui/MainFrame.h"

namespace {
// The message loop registered with the module for as long as it runs.
class ScopedMessageLoop {
public:
    explicit ScopedMessageLoop(CMessageLoop& loop) : registered_(g_Module.AddMessageLoop(&loop)) {}
    ~ScopedMessageLoop() {
        if (registered_) g_Module.RemoveMessageLoop();
    }
    ScopedMessageLoop(const ScopedMessageLoop&) = delete;
    ScopedMessageLoop& operator=(const ScopedMessageLoop&) = delete;
private:
    bool registered_;
};
}  // namespace

Application::Application() {
    settings_ = new ProgramSettings(this);
    mainFrame_ = new MainFrame(this);
}

Application::~Application() {
    delete mainFrame_;
    mainFrame_ = nullptr;
    delete settings_;
    settings_ = nullptr;
}

int Application::Run(const char* commandLine, int showCommand) {
    CMessageLoop loop;
    ScopedMessageLoop registration(loop);
    if (!mainFrame_ || !mainFrame_->CreateFrame()) return 0;
    ::ShowWindow(*mainFrame_, showCommand);
    if (instance_) {
        // This start's own "-c" waits with those of later starts: the window takes them together.
        instance_->Publish(*mainFrame_);
        ::PostMessageA(*mainFrame_, WM_PROGRAM_REQUEST, 0, 0);
    } else if (AsksForNewTask(commandLine)) {
        ::PostMessageA(mainFrame_->GetNewTaskReceiver(), WM_COMMAND, handover::kNewTaskCommand, 0);
    }
    const int result = loop.Run();
    if (instance_) instance_->Withdraw();
    if (restartRequested_) StartNewInstance();
    return result;
}

void Application::StartNewInstance() {
    // Everything this instance writes is written before the new one can read it.
    if (mainFrame_->IsWindow()) mainFrame_->DestroyWindow();
    char path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    // Everything is written: the new copy may take the folder now.
    if (instance_) instance_->Release();
    UserPrompts().ShellExecute(nullptr, "open", path, "", "", SW_SHOWNORMAL);
}

void Application::ShowOptionsDialog() {
    OptionsDlg dialog(this);
    dialog.DoModal(::GetActiveWindow());
}
