#include "core/InternationalSupport.h"
#include <cstring>
#include <new>
#include "framework/GdiHolders.h"
#include <vector>
#include "framework/AppModule.h"

CInternationalSupport g_InternationalSupport;

namespace {
const char kEmpty[] = "";

bool StartsWithCaption(const std::string& text) { return text.compare(0, 7, "CAPTION") == 0; }

bool ReadMenuText(HMENU menu, int position, std::string& text) {
    const int length = ::GetMenuStringA(menu, static_cast<UINT>(position), nullptr, 0, MF_BYPOSITION);
    if (length <= 0) return false;
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    const int got = ::GetMenuStringA(menu, static_cast<UINT>(position), buffer.data(), length + 1,
                                     MF_BYPOSITION);
    if (got <= 0) return false;
    text.assign(buffer.data(), static_cast<size_t>(got));
    return true;
}

bool SetMenuText(HMENU menu, int position, const std::string& text) {
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    // Only the text changes: radio marks, owner drawing and alignment of the item stay.
    info.fMask = MIIM_STRING;
    info.dwTypeData = const_cast<char*>(text.c_str());
    return ::SetMenuItemInfoA(menu, static_cast<UINT>(position), TRUE, &info) != FALSE;
}

bool ReadWindowText(HWND window, std::string& text) {
    const int length = ::GetWindowTextLengthA(window);
    if (length <= 0) return false;
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    const int got = ::GetWindowTextA(window, buffer.data(), length + 1);
    if (got <= 0) return false;
    text.assign(buffer.data(), static_cast<size_t>(got));
    return true;
}
}  // namespace

CInternationalSupport::CInternationalSupport(const char* path) {
    stringBuffer_[0] = '\0';
    systemBuffer_[0] = '\0';
    if (path) Load(path);
}

CInternationalSupport::~CInternationalSupport() { Unload(); }

void CInternationalSupport::Unload() {
    tables_ = LanguageTables();
    if (view_) ::UnmapViewOfFile(view_);
    if (mapping_) ::CloseHandle(mapping_);
    if (file_ != INVALID_HANDLE_VALUE) ::CloseHandle(file_);
    view_ = nullptr;
    mapping_ = nullptr;
    file_ = INVALID_HANDLE_VALUE;
    sizeLow_ = sizeHigh_ = 0;
    status_ = kLangNotOpened;
}

BOOL CInternationalSupport::Load(const char* path) {
    Unload();
    if (!path) return FALSE;
    // Read access only: a language file installed read-only must load too.
    file_ = ::CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file_ == INVALID_HANDLE_VALUE) return FALSE;
    sizeLow_ = ::GetFileSize(file_, &sizeHigh_);
    if ((sizeLow_ == INVALID_FILE_SIZE && ::GetLastError() != NO_ERROR) || sizeLow_ == 0) {
        Unload();
        return FALSE;
    }
    // Only the low 32 bits of the size count; the view covers exactly that much.
    mapping_ = ::CreateFileMappingA(file_, nullptr, PAGE_READONLY, 0, sizeLow_, nullptr);
    if (mapping_) view_ = static_cast<const char*>(::MapViewOfFile(mapping_, FILE_MAP_READ, 0, 0, sizeLow_));
    if (!view_) {
        Unload();
        return FALSE;
    }
    const int status = ParseLanguageFile(view_, sizeLow_, tables_);
    if (status != kLangLoaded) {
        Unload();
        status_ = status;
        return FALSE;
    }
    status_ = kLangLoaded;
    return TRUE;
}

BOOL CInternationalSupport::LoadFromHtmlResource(HMODULE module, const char* name) {
    // The name becomes a file name in the temporary folder: it must stay a plain name.
    if (!name || IS_INTRESOURCE(name) || !*name || std::strpbrk(name, "\\/:") ||
        std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0)
        return FALSE;
    HRSRC resource = ::FindResourceA(module, name, MAKEINTRESOURCEA(23));  // RT_HTML
    if (!resource) return FALSE;
    const DWORD size = ::SizeofResource(module, resource);
    HGLOBAL loaded = ::LoadResource(module, resource);
    const void* bytes = loaded ? ::LockResource(loaded) : nullptr;
    if (!bytes) return FALSE;

    char tempFolder[MAX_PATH + 1] = {};
    const DWORD folderLength = ::GetTempPathA(MAX_PATH, tempFolder);
    if (folderLength == 0 || folderLength >= MAX_PATH) return FALSE;
    const std::string path = std::string(tempFolder) + name;

    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return FALSE;
    DWORD written = 0;
    const BOOL ok = ::WriteFile(file, bytes, size, &written, nullptr) && written == size;
    ::CloseHandle(file);
    if (!ok) return FALSE;
    return Load(path.c_str());
}

const char* CInternationalSupport::GetString(unsigned id, HMODULE module) {
    if (status_ == kLangLoaded) {
        for (const LanguageStringRow& row : tables_.strings) {
            if (row.id != id) continue;
            // A found entry is final: an empty or over-long text gives "", never the module's.
            std::string text;
            if (!UnescapeLanguageText(row.text, text) || text.size() >= kBufferSize) return kEmpty;
            std::memcpy(stringBuffer_, text.c_str(), text.size() + 1);
            return stringBuffer_;
        }
    }
    stringBuffer_[0] = '\0';
    const int length = ::LoadStringA(module, id, stringBuffer_, static_cast<int>(kBufferSize));
    if (length <= 0) return kEmpty;
    if (stringBuffer_[0] == '$') std::memmove(stringBuffer_, stringBuffer_ + 1, static_cast<size_t>(length));
    return stringBuffer_;
}

char* CInternationalSupport::GetMultiString(unsigned id) {
    const char* text = GetString(id, g_Module.GetModuleInstance());
    if (text != stringBuffer_) stringBuffer_[0] = '\0';
    // Everything after the text is cleared: an earlier, longer text must never show through as
    // further entries of the list, and the list always ends in two NULs.
    size_t length = std::strlen(stringBuffer_);
    if (length > kBufferSize - 2) length = kBufferSize - 2;
    std::memset(stringBuffer_ + length, 0, kBufferSize - length);
    // The buffer ends in two NULs (the last '|' and the terminator): a file-dialog filter list.
    for (char* p = stringBuffer_; *p; ++p) {
        if (*p == '|') *p = '\0';
    }
    return stringBuffer_;
}

const char* CInternationalSupport::GetSystemValue(const char* key) {
    if (status_ != kLangLoaded || !key) return kEmpty;
    const size_t keyLength = std::strlen(key);
    for (const LanguageSystemRow& row : tables_.system) {
        if (row.key.length != keyLength || std::memcmp(row.key.text, key, keyLength) != 0) continue;
        std::string value;
        if (!UnescapeLanguageText(row.value, value) || value.size() >= kBufferSize) return kEmpty;
        std::memcpy(systemBuffer_, value.c_str(), value.size() + 1);
        return systemBuffer_;
    }
    return kEmpty;
}

bool CInternationalSupport::FindInSection(const std::vector<LanguageRow>& table, unsigned sectionId,
                                          const std::string& source, bool captionWanted,
                                          std::string& translation) const {
    if (status_ != kLangLoaded) return false;
    size_t row = 0;
    while (row < table.size() &&
           !(table[row].kind == LanguageRow::Header && table[row].sectionId == sectionId))
        ++row;
    if (row == table.size()) return false;
    try {
        // Later sections of the same kind are searched too, as one long list.
        for (++row; row < table.size(); ++row) {
            const LanguageRow& r = table[row];
            if (r.kind == LanguageRow::Header) continue;
            if (captionWanted) {
                if (r.kind == LanguageRow::Caption) return UnescapeLanguageText(r.target, translation);
                continue;
            }
            if (r.kind != LanguageRow::Entry) continue;
            if (r.source.length == 0) return false;
            std::string unescaped;
            UnescapeLanguageText(r.source, unescaped);
            if (unescaped == source) return UnescapeLanguageText(r.target, translation);
        }
    } catch (const std::bad_alloc&) {
        // Out of memory counts as not found.
    }
    return false;
}

bool CInternationalSupport::FindMenuText(unsigned menuId, const std::string& source,
                                         std::string& translation) const {
    return FindInSection(tables_.menus, menuId, source, false, translation);
}

bool CInternationalSupport::FindDialogText(unsigned dialogId, const std::string& source,
                                           std::string& translation) const {
    return FindInSection(tables_.dialogs, dialogId, source, StartsWithCaption(source), translation);
}

BOOL CInternationalSupport::TranslateMenu(unsigned menuId, HMENU menu) {
    try {
        return TranslateMenuLevel(menuId, menu);
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

BOOL CInternationalSupport::TranslateMenuLevel(unsigned menuId, HMENU menu) {
    if (!::IsMenu(menu)) return FALSE;
    const int count = ::GetMenuItemCount(menu);
    if (count < 0) return FALSE;
    BOOL allSet = TRUE;
    for (int position = 0; position < count; ++position) {
        std::string text, translation;
        if (!ReadMenuText(menu, position, text)) {
            allSet = FALSE;  // separators and unreadable items
        } else if (FindMenuText(menuId, text, translation)) {
            if (!SetMenuText(menu, position, translation)) allSet = FALSE;
        } else if (text[0] == '$') {
            if (!SetMenuText(menu, position, text.substr(1))) allSet = FALSE;
        } else {
            allSet = FALSE;
        }
        if (HMENU sub = ::GetSubMenu(menu, position)) {
            if (!TranslateMenuLevel(menuId, sub)) allSet = FALSE;
        }
    }
    return allSet;
}

bool CInternationalSupport::TranslateWindowText(unsigned dialogId, HWND window) {
    std::string text, translation;
    if (!ReadWindowText(window, text)) return false;
    if (FindDialogText(dialogId, text, translation)) return ::SetWindowTextA(window, translation.c_str()) != FALSE;
    if (text[0] == '$') return ::SetWindowTextA(window, text.c_str() + 1) != FALSE;
    return false;
}

BOOL CInternationalSupport::TranslateWindowTree(unsigned dialogId, HWND window) {
    BOOL ok = TranslateWindowText(dialogId, window) ? TRUE : FALSE;
    for (HWND child = ::GetTopWindow(window); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!TranslateWindowTree(dialogId, child)) ok = FALSE;
    }
    return ok;
}

BOOL CInternationalSupport::TranslateWindow(unsigned dialogId, HWND dialog) {
    if (!::IsWindow(dialog)) return FALSE;
    try {
        BOOL ok = TRUE;
        std::string caption;
        if (FindDialogText(dialogId, "CAPTION", caption)) {
            if (!::SetWindowTextA(dialog, caption.c_str())) ok = FALSE;
        } else {
            std::string text;
            if (ReadWindowText(dialog, text) && text[0] == '$') {
                if (!::SetWindowTextA(dialog, text.c_str() + 1)) ok = FALSE;
            } else {
                ok = FALSE;
            }
        }
        // The dialog itself comes round again here, keyed by its (maybe new) caption.
        if (!TranslateWindowTree(dialogId, dialog)) ok = FALSE;
        return ok;
    } catch (const std::bad_alloc&) {
        return FALSE;
    }
}

void CInternationalSupport::FitItemWidth(HWND dialog, int controlId, BOOL withCheckBox) {
    HWND control = ::GetDlgItem(dialog, controlId);
    if (!control) return;
    char text[2081] = {};
    const int length = ::GetWindowTextA(control, text, static_cast<int>(sizeof(text)));
    SIZE extent = {0, 0};
    {
        WindowDc dc(dialog);
        if (!dc.Get()) return;
        SelectedObject font(dc.Get(), reinterpret_cast<HFONT>(::SendMessageA(dialog, WM_GETFONT, 0, 0)));
        ::GetTextExtentPoint32A(dc.Get(), text, length > 0 ? length : 0, &extent);
    }
    const int checkWidth = ::GetSystemMetrics(SM_CXMENUCHECK);
    const int width = extent.cx + (withCheckBox ? checkWidth + 8 : 0);
    ::SetWindowPos(control, nullptr, 0, 0, width, checkWidth, SWP_NOMOVE | SWP_NOACTIVATE | SWP_NOZORDER);
}
