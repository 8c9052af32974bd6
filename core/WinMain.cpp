// The program's entry point: prepares COM, the common controls and the window framework, runs
// the application object and tears everything down in reverse.
#include <windows.h>
#include <commctrl.h>
#include <objbase.h>
#include "core/AppDirectory.h"
#include "core/Application.h"
#include "core/ProgramInstance.h"
#include "framework/AppModule.h"
#include "framework/AxHostWindow.h"

namespace {
// The type-library id the window framework's module is initialised with.
const GUID kLibId = {0x8856F961, 0x340A, 0x11D0, {0xA9, 0x6B, 0x00, 0xC0, 0x4F, 0xD7, 0x05, 0xA2}};
}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR commandLine, int showCommand) {
    // Before anything reads a file: a copy already running in this folder gets this start's
    // request, and this one ends having touched nothing.
    ProgramInstance running(GetAppDirectory());
    const LONG requests = ProgramInstance::kShowRequest |
                          (Application::AsksForNewTask(commandLine) ? ProgramInstance::kNewTaskRequest : 0);
    if (!running.TakeOrHandOver(requests)) return 0;

    const HRESULT com = ::CoInitialize(nullptr);
    // Makes sure user32 is fully set up for this thread before any window exists.
    ::DefWindowProcA(nullptr, 0, 0, 0);

    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_BAR_CLASSES | ICC_COOL_CLASSES;
    ::InitCommonControlsEx(&controls);

    g_Module.Init(instance, &kLibId);
    AxWinInit();

    int result = 0;
    {
        Application* app = new Application();
        g_Application = app;
        app->AttachInstance(&running);
        result = app->Run(commandLine ? commandLine : "", showCommand);
        // Windows torn down with the application still reach it through the pointer.
        delete app;
        g_Application = nullptr;
    }

    g_Module.Term();
    if (SUCCEEDED(com)) ::CoUninitialize();
    return result;
}
