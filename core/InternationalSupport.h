#pragma once
// The localization service: every text the program shows is looked up here by string id, and
// every menu and dialog is translated here after it is loaded. The English texts are the
// program's own resources; a language file ("Langs\<name>.lng") may replace any of them.
#include <windows.h>
#include <string>
#include "core/LanguageFileParser.h"

class IInternationalSupport {
public:
    // The text of a string id: the language file's entry, else the module's string table.
    // Valid only until the next GetString or GetMultiString call.
    virtual const char* GetString(unsigned id, HMODULE module) = 0;
    virtual const char* GetSystemValue(const char* key) = 0;
    virtual BOOL TranslateMenu(unsigned menuId, HMENU menu) = 0;
    virtual BOOL TranslateWindow(unsigned dialogId, HWND dialog) = 0;
    // GetString of the program's own module with every '|' turned into a NUL: a file-dialog filter.
    virtual char* GetMultiString(unsigned id) = 0;
    virtual void FitItemWidth(HWND dialog, int controlId, BOOL withCheckBox) = 0;

protected:
    ~IInternationalSupport() = default;
};

class CInternationalSupport : public IInternationalSupport {
public:
    // With a path the file is loaded at once; null leaves the object unloaded.
    explicit CInternationalSupport(const char* path = nullptr);
    ~CInternationalSupport();
    CInternationalSupport(const CInternationalSupport&) = delete;
    CInternationalSupport& operator=(const CInternationalSupport&) = delete;

    // Reads and parses a language file; true when it loaded. A failed load leaves the object
    // answering from the module's resources.
    BOOL Load(const char* path);
    // Writes the module's RT_HTML resource of that name to the temporary folder and loads it.
    BOOL LoadFromHtmlResource(HMODULE module, const char* name);
    // 0 when loaded; otherwise a LanguageLoadStatus telling why the last load failed.
    int GetLoadStatus() const { return status_; }

    const char* GetString(unsigned id, HMODULE module) override;
    const char* GetSystemValue(const char* key) override;
    BOOL TranslateMenu(unsigned menuId, HMENU menu) override;
    BOOL TranslateWindow(unsigned dialogId, HWND dialog) override;
    char* GetMultiString(unsigned id) override;
    void FitItemWidth(HWND dialog, int controlId, BOOL withCheckBox) override;

    // The same as TranslateMenu / TranslateWindow with the handle first.
    BOOL TranslateMenu(HMENU menu, unsigned menuId) { return TranslateMenu(menuId, menu); }
    BOOL TranslateWindow(HWND dialog, unsigned dialogId) { return TranslateWindow(dialogId, dialog); }

    static const size_t kBufferSize = 1024;

private:
    void Unload();
    bool FindMenuText(unsigned menuId, const std::string& source, std::string& translation) const;
    bool FindDialogText(unsigned dialogId, const std::string& source, std::string& translation) const;
    bool FindInSection(const std::vector<LanguageRow>& table, unsigned sectionId,
                       const std::string& source, bool captionWanted, std::string& translation) const;
    BOOL TranslateMenuLevel(unsigned menuId, HMENU menu);
    bool TranslateWindowText(unsigned dialogId, HWND window);
    BOOL TranslateWindowTree(unsigned dialogId, HWND window);

    char stringBuffer_[kBufferSize];
    char systemBuffer_[kBufferSize];
    int status_ = kLangNotOpened;
    const char* view_ = nullptr;
    HANDLE file_ = INVALID_HANDLE_VALUE;
    HANDLE mapping_ = nullptr;
    DWORD sizeLow_ = 0;
    DWORD sizeHigh_ = 0;
    LanguageTables tables_;
};

// The program's one localization service.
extern CInternationalSupport g_InternationalSupport;
