#include "plugin/PageHandover.h"
#include "plugin/PluginIds.h"
#include "resources/plugin_handover.h"

#include <cstring>

namespace plugin {

std::string ToAnsi(const wchar_t* text) {
    if (!text || !*text) return std::string();
    const int bytes = WideCharToMultiByte(CP_THREAD_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (bytes <= 1) return std::string();
    std::string out(static_cast<size_t>(bytes), '\0');
    WideCharToMultiByte(CP_THREAD_ACP, 0, text, -1, &out[0], bytes, nullptr, nullptr);
    out.resize(static_cast<size_t>(bytes) - 1);  // the converted NUL
    return out;
}

bool IsAcceptedPageAddress(const std::string& address) {
    return handover::IsPageAddress(address.c_str());
}

std::string MakeHandoverText(const std::string& address, const std::string& cookies) {
    return address + handover::kAddressEnd + cookies;
}

bool PutTextOnClipboard(HWND owner, const std::string& text) {
    // Sized from the converted bytes, so a multi-byte code page never cuts the text or writes
    // past the block.
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, text.size() + 1);
    if (!block) return false;
    void* bytes = GlobalLock(block);
    if (!bytes) {
        GlobalFree(block);
        return false;
    }
    std::memcpy(bytes, text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return false;
    }
    // Only a clipboard this window owns holds our text alone: when it cannot be emptied (another
    // thread took it in between) the data given would not be what the program reads.
    const bool given = EmptyClipboard() && SetClipboardData(CF_TEXT, block) != nullptr;
    CloseClipboard();
    if (!given) GlobalFree(block);
    return given;
}

std::string ProgramBesidePlugin(const std::string& pluginPath) {
    const size_t slash = pluginPath.find_last_of('\\');
    if (slash == std::string::npos) return std::string();
    const std::string program = pluginPath.substr(0, slash + 1) + handover::kProgramFile;
    return program.size() < MAX_PATH ? program : std::string();
}

bool ReadRegisteredPluginPath(std::string& path) {
    const std::string keyName = std::string("CLSID\\") + kButtonClassIdText + "\\InprocServer32";
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CLASSES_ROOT, keyName.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    char buffer[MAX_PATH + 1] = {};
    DWORD size = MAX_PATH;  // one byte short of the buffer: the NUL below always fits
    DWORD type = 0;
    const LONG result = RegQueryValueExA(key, nullptr, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (result != ERROR_SUCCESS || (type != REG_SZ && type != REG_EXPAND_SZ)) return false;
    buffer[size < MAX_PATH ? size : MAX_PATH] = '\0';
    path = buffer;
    return !path.empty();
}

}  // namespace plugin
