#include "core/ProgramSettings.h"

#include <windows.h>

#include "core/AppDirectory.h"
#include "core/DownloadManagerTexts.h"
#include "core/InternationalSupport.h"
#include "core/PropertyBag.h"
#include "core/SettingsBlobs.h"
#include "core/StoredFileGuard.h"
#include "core/TaskOptions.h"
#include "framework/UserPrompts.h"
#include "resources/engine_ids.h"

ProgramSettings::ProgramSettings(Application* owner) : ProgramSettings(owner, GetAppDirectory()) {}

ProgramSettings::ProgramSettings(Application* ownerApp, const std::string& programFolder, ErrorReporter reporter)
    : owner(ownerApp), programFolder_(programFolder), reporter_(reporter)
{
    Build();
}

ProgramSettings::~ProgramSettings()
{
    DeleteProfiles();
}

void ProgramSettings::Build()
{
    SetDefaults();
    ScanProfiles();
    ScanEffects();
    Load();
    LoadLanguage();
}

void ProgramSettings::SetDefaults()
{
    HtmlTagsWithUrls = DefaultHtmlTagEntries();
    Filetypes = DefaultFileTypeGroups();
    UseMyProxy = false;
    UseWindowsProxy = true;
    UseProxyAuth = false;
    NameForProxy.clear();
    PasswordForProxy.clear();
    ProxyAddress.clear();
    ProxyPort = 3128;
    SlideShowInterval = 5;
    ShowLastImage = true;
    SocketTimeout = -1;
    ThreadsAmount = 5;
    MaxAttempts = 3;
    LogFileUse = true;
    LogFileClearMode = true;
    LogFileMaxSize = 1048576;
    FolderForImages.clear();
    LangName = "English";
    SaveCacheIntervale = 3;
    UseEffects = true;
    UseEffectsInSlideshowOnly = true;
    UseRandomEffects = true;
    PauseBetweenConnections = 0;
    ShowTip = true;
    CurrentTip = 0;
}

std::string ProgramSettings::GetImagesFolder() const
{
    return FolderForImages.empty() ? programFolder_ + "Images\\" : FolderForImages;
}

std::string ProgramSettings::SaveFolderOf(const TaskOptions& task) const
{
    return task.SaveFolder.empty() ? GetImagesFolder() : task.SaveFolder;
}

void ProgramSettings::ScanEffects()
{
    const std::string folder = programFolder_ + "Effects\\";
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*.*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return;
    do {
        const std::string name = found.cFileName;
        if (name != "." && name != "..")
            EffectFiles.push_back(folder + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
}

void ProgramSettings::LoadLanguage()
{
    // With English the program's own string table serves; no file is read.
    if (LangName == "English")
        return;
    const std::string path = programFolder_ + "Langs\\" + LangName + ".lng";
    if (g_InternationalSupport.Load(path.c_str()))
        return;
    // English serves this run; the stored choice stays, so the language comes back once its
    // file can be read again (it may only have been held by another program for a moment).
    Report("Error when loading '" + LangName + "' language file. Default language is English.");
}

void ProgramSettings::Report(const std::string& text) const
{
    if (reporter_ != nullptr)
        reporter_(text);
    else
        UserPrompts().MessageBox(nullptr, text, "Brackenfly", MB_ICONERROR);
}

void ProgramSettings::WriteTo(PropertyBag& bag) const
{
    bag.SetBlob("Filetypes", EncodeFileTypeGroups(Filetypes));
    bag.SetBlob("HtmlTagsWithUrls", EncodeHtmlTagEntries(HtmlTagsWithUrls));
    bag.SetFlag("UseMyProxy", UseMyProxy);
    bag.SetFlag("UseWindowsProxy", UseWindowsProxy);
    bag.SetFlag("UseProxyAuth", UseProxyAuth);
    bag.SetString("NameForProxy", NameForProxy);
    bag.SetString("PasswordForProxy", PasswordForProxy);
    bag.SetString("ProxyAddress", ProxyAddress);
    bag.SetInt32("ProxyPort", ProxyPort);
    bag.SetInt32("SlideShowInterval", SlideShowInterval);
    bag.SetFlag("ShowLastImage", ShowLastImage);
    bag.SetInt32("SocketTimeout", SocketTimeout);
    bag.SetInt32("ThreadsAmount", ThreadsAmount);
    bag.SetInt32("MaxAttempts", MaxAttempts);
    bag.SetFlag("LogFileUse", LogFileUse);
    bag.SetFlag("LogFileClearMode", LogFileClearMode);
    bag.SetInt32("LogFileMaxSize", LogFileMaxSize);
    bag.SetString("FolderForImages", FolderForImages);
    bag.SetString("LangName", LangName);
    bag.SetInt32("SaveCacheIntervale", SaveCacheIntervale);
    bag.SetFlag("UseEffects", UseEffects);
    bag.SetFlag("UseEffectsInSlideshowOnly", UseEffectsInSlideshowOnly);
    bag.SetFlag("UseRandomEffects", UseRandomEffects);
    bag.SetInt32("PauseBetweenConnections", PauseBetweenConnections);
    bag.SetFlag("ShowTip", ShowTip);
    bag.SetInt32("CurrentTip", CurrentTip);
}

bool ProgramSettings::ReadFrom(const PropertyBag& bag)
{
    std::vector<uint8_t> blob;
    bool whole = true;
    // A list value replaces the whole list; whatever the blob holds whole is kept.
    if (bag.GetBlob("Filetypes", blob) && !DecodeFileTypeGroups(blob, Filetypes))
        whole = false;
    if (bag.GetBlob("HtmlTagsWithUrls", blob) && !DecodeHtmlTagEntries(blob, HtmlTagsWithUrls))
        whole = false;
    bag.GetFlag("UseMyProxy", UseMyProxy);
    bag.GetFlag("UseWindowsProxy", UseWindowsProxy);
    bag.GetFlag("UseProxyAuth", UseProxyAuth);
    bag.GetString("NameForProxy", NameForProxy);
    bag.GetString("PasswordForProxy", PasswordForProxy);
    bag.GetString("ProxyAddress", ProxyAddress);
    bag.GetInt32("ProxyPort", ProxyPort);
    bag.GetInt32("SlideShowInterval", SlideShowInterval);
    bag.GetFlag("ShowLastImage", ShowLastImage);
    bag.GetInt32("SocketTimeout", SocketTimeout);
    bag.GetInt32("ThreadsAmount", ThreadsAmount);
    bag.GetInt32("MaxAttempts", MaxAttempts);
    bag.GetFlag("LogFileUse", LogFileUse);
    bag.GetFlag("LogFileClearMode", LogFileClearMode);
    bag.GetInt32("LogFileMaxSize", LogFileMaxSize);
    bag.GetString("FolderForImages", FolderForImages);
    bag.GetString("LangName", LangName);
    bag.GetInt32("SaveCacheIntervale", SaveCacheIntervale);
    bag.GetFlag("UseEffects", UseEffects);
    bag.GetFlag("UseEffectsInSlideshowOnly", UseEffectsInSlideshowOnly);
    bag.GetFlag("UseRandomEffects", UseRandomEffects);
    bag.GetInt32("PauseBetweenConnections", PauseBetweenConnections);
    bag.GetFlag("ShowTip", ShowTip);
    bag.GetInt32("CurrentTip", CurrentTip);
    ClampCounts();
    return whole;
}

namespace {
int32_t ClampTo(int32_t value, int32_t low, int32_t high)
{
    return value < low ? low : value > high ? high : value;
}
}  // namespace

void ProgramSettings::ClampCounts()
{
    // A hand-edited or damaged file must not ask for a million threads or a zero-length timer:
    // the counts stay within what the options dialog offers.
    ThreadsAmount = ClampTo(ThreadsAmount, 1, 100);
    MaxAttempts = ClampTo(MaxAttempts, 1, 100);
    if (SocketTimeout != -1)
        SocketTimeout = SocketTimeout < 1 ? -1 : ClampTo(SocketTimeout, 1, 100);
    PauseBetweenConnections = ClampTo(PauseBetweenConnections, 0, 1000);
    SaveCacheIntervale = ClampTo(SaveCacheIntervale, 0, 1000);
    SlideShowInterval = ClampTo(SlideShowInterval, 1, 100);
    if (LogFileMaxSize <= 0)
        LogFileMaxSize = 1048576;
    LogFileMaxSize = ClampTo(LogFileMaxSize, 1024, 1048576 * 1024);
}

bool ProgramSettings::Load()
{
    PropertyBag bag;
    const std::string path = GetSettingsFilePath();
    StoredFileGuard guard(path, [this](const std::string& text) { Report(text); });
    const PropertyBag::LoadStatus status = guard.Load(bag);
    if (status == PropertyBag::LoadStatus::Unreadable) {
        // The user's settings are there but out of reach (locked, no permission): defaults serve
        // this run, and no save may replace the real file with them.
        if (!settingsFileUnreadable_)
            Report(WithTaskName(EngineText(IDS_SETTINGS_UNREADABLE), path));
        settingsFileUnreadable_ = true;
        return false;
    }
    // A damaged file still yields the entries it holds whole (a copy of it is kept aside).
    if (bag.Count() > 0 && !ReadFrom(bag))
        guard.Damaged();
    if (!guard.MayWrite())
        settingsFileUnreadable_ = true;
    return status == PropertyBag::LoadStatus::Loaded;
}

bool ProgramSettings::Save() const
{
    if (settingsFileUnreadable_)
        return false;
    PropertyBag bag;
    bag.SetCurrentVersion();
    WriteTo(bag);
    return bag.Save(GetSettingsFilePath());
}
