#pragma once
// The application object: owns the settings record and the main window for the whole run.
#include <string>

class MainFrame;
class ProgramInstance;
class ProgramSettings;
class TaskOptions;

class Application {
public:
    // Builds the settings record completely (defaults, profiles, effects, settings file,
    // language file), then the main frame, which reads settings while it is built.
    Application();
    // Adopts a settings record built elsewhere (for another folder) and builds no main frame:
    // for tools and tests that need the application's services without its window.
    explicit Application(ProgramSettings* settings);
    // The main frame goes first: its window's destruction saves the settings it borrows.
    ~Application();
    Application(const Application&) = delete;
    Application& operator=(const Application&) = delete;

    // Creates and shows the main window, handles the command line (without the program name),
    // runs the message loop and returns its result; 0 when the window cannot be created.
    int Run(const char* commandLine, int showCommand);

    MainFrame* GetMainFrame() { return mainFrame_; }
    // The folder's one-running-copy guard this copy holds (null: unguarded, as in tests); its
    // main window is published there once it exists. Not owned.
    void AttachInstance(ProgramInstance* instance) { instance_ = instance; }
    ProgramInstance* GetProgramInstance() { return instance_; }
    // Asks for a new instance of the program once this one has ended its message loop, closed
    // its main window and saved everything (a language change).
    void RequestRestart() { restartRequested_ = true; }
    bool IsRestartRequested() const { return restartRequested_; }
    ProgramSettings* GetSettings() { return settings_; }
    bool SaveSettings();
    // The program options, modal over the active window.
    void ShowOptionsDialog();

    // True when the URL's extension is listed in a file-type group; the extension is stored in
    // extension (when given) whether known or not.
    bool IsKnownFileType(const char* url, std::string* extension);
    // Drops from the task's own file types every extension that no file-type group lists.
    void RemoveUnknownFileTypes(TaskOptions* task);

    // "-c" (either case) at the start of the command line asks for the New Task dialog.
    static bool AsksForNewTask(const char* commandLine);

private:
    void StartNewInstance();

    ProgramSettings* settings_ = nullptr;
    MainFrame* mainFrame_ = nullptr;
    ProgramInstance* instance_ = nullptr;
    bool restartRequested_ = false;
};

// The one application object, set by WinMain while it exists.
extern Application* g_Application;
