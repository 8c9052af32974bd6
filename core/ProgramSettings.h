#pragma once
// The one record of program-wide options, stored as the property bag "Brackenfly.config" in the
// program folder. Members carry the names of their settings keys; readers use them directly.
// Building the record also gathers the download profiles ("Profiles\*.profile"), the effect
// pictures ("Effects\") and the chosen language file ("Langs\<LangName>.lng").
#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "core/FileTypes.h"
#include "core/HtmlTagEntry.h"

class Application;
class PropertyBag;
class SearchLinkTask;
class TaskOptions;

class ProgramSettings {
public:
    // Shows the start-up errors (language file, unreadable settings file); null means a message
    // box without owner window.
    using ErrorReporter = void (*)(const std::string& text);

    // Builds the record for the program folder (GetAppDirectory): defaults, profiles, effects,
    // the settings file, the language file. Always completes.
    explicit ProgramSettings(Application* owner);
    // The same for the given folder (trailing backslash); reporter replaces the message box.
    ProgramSettings(Application* owner, const std::string& programFolder, ErrorReporter reporter = nullptr);
    ~ProgramSettings();
    ProgramSettings(const ProgramSettings&) = delete;
    ProgramSettings& operator=(const ProgramSettings&) = delete;

    // Reads the settings file. False when it cannot be read whole: a missing or foreign file
    // leaves the record as it was; a damaged one still gives the keys it holds whole. Missing or
    // mis-sized keys keep their current values. A damaged or newer file is kept aside first
    // (StoredFileGuard); one that cannot be kept aside is never saved over this run.
    bool Load();
    // Writes every setting to the settings file; false when the file could not be written (the
    // previous file then stays as it was). Never writes in a run whose settings file existed but
    // could not be read, nor kept aside when damaged: that file holds the user's settings.
    bool Save() const;
    // True when the settings file was there but could not be read (the user has been told).
    bool SettingsFileUnreadable() const { return settingsFileUnreadable_; }

    // Every member to its default (profiles and effect files are left alone).
    void SetDefaults();

    // Stores / reads the settings keys in a bag (what Save and Load do around the file).
    void WriteTo(PropertyBag& bag) const;
    // Also brings the counts into the ranges the options dialog offers (ClampCounts). False when
    // a list value did not read whole (what it held whole is taken).
    bool ReadFrom(const PropertyBag& bag);
    // ThreadsAmount and MaxAttempts 1..100, SocketTimeout -1 or 1..100 s, PauseBetweenConnections
    // and SaveCacheIntervale 0..1000, SlideShowInterval 1..100, LogFileMaxSize 1 KB..1 GB.
    void ClampCounts();

    const std::string& GetProgramFolder() const { return programFolder_; }
    std::string GetSettingsFilePath() const { return programFolder_ + "Brackenfly.config"; }
    // The folder for saved pictures: FolderForImages, or the program folder + "Images\".
    std::string GetImagesFolder() const;
    // The folder a task saves into: its own, or the folder for saved pictures.
    std::string SaveFolderOf(const TaskOptions& task) const;

    Application* owner;
    std::vector<std::string> EffectFiles;             // full paths of every entry of "Effects\"
    std::vector<HtmlTagEntry> HtmlTagsWithUrls;
    std::vector<FileTypeGroup> Filetypes;
    std::map<std::string, SearchLinkTask*> Profiles;  // owned; by name without ".profile"
    bool UseMyProxy;
    bool UseWindowsProxy;
    bool UseProxyAuth;
    std::string NameForProxy;
    std::string PasswordForProxy;
    std::string ProxyAddress;
    int32_t ProxyPort;
    int32_t SlideShowInterval;
    bool ShowLastImage;
    int32_t SocketTimeout;        // seconds; -1 means the client's default
    int32_t ThreadsAmount;
    int32_t MaxAttempts;
    bool LogFileUse;
    bool LogFileClearMode;
    int32_t LogFileMaxSize;       // bytes
    std::string FolderForImages;  // empty: program folder + "Images\"
    std::string LangName;
    int32_t SaveCacheIntervale;   // minutes
    bool UseEffects;
    bool UseEffectsInSlideshowOnly;
    bool UseRandomEffects;
    int32_t PauseBetweenConnections;  // seconds
    bool ShowTip;
    int32_t CurrentTip;

private:
    void Build();
    void ScanProfiles();
    void ScanEffects();
    void LoadLanguage();
    void DeleteProfiles();
    // A message box through the prompts seam, or the reporter given at construction.
    void Report(const std::string& text) const;

    std::string programFolder_;
    ErrorReporter reporter_;
    bool settingsFileUnreadable_ = false;
};
