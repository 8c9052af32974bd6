// The library's entry point and the four exports of an in-process COM server.
#include <windows.h>
#include <oleauto.h>

#include <map>
#include <string>

#include "plugin/ButtonClassFactory.h"
#include "plugin/PluginIds.h"
#include "plugin/PluginModule.h"
#include "plugin/RegistryScript.h"

namespace {

ButtonClassFactory g_buttonFactory;

// The script resource `id` (type "REGISTRY") as text; empty when missing.
std::string LoadScript(int id) {
    HINSTANCE instance = plugin::ModuleInstance();
    HRSRC info = FindResourceA(instance, MAKEINTRESOURCEA(id), "REGISTRY");
    HGLOBAL loaded = info ? LoadResource(instance, info) : nullptr;
    const char* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    return bytes ? std::string(bytes, SizeofResource(instance, info)) : std::string();
}

RegistryScript MakeRegistrar(const std::string& modulePath) {
    return RegistryScript({{"%APPID%", plugin::kAppIdText}, {"%MODULE%", modulePath}});
}

std::wstring Wide(const std::string& text) {
    const int chars = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring out(chars > 0 ? static_cast<size_t>(chars) : 1, L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, &out[0], chars);
    out.resize(out.size() - 1);
    return out;
}

HRESULT RegisterOwnTypeLibrary(const std::string& path) {
    ITypeLib* library = nullptr;
    const std::wstring widePath = Wide(path);
    HRESULT hr = LoadTypeLibEx(widePath.c_str(), REGKIND_NONE, &library);
    if (FAILED(hr)) return hr;
    hr = RegisterTypeLib(library, const_cast<OLECHAR*>(widePath.c_str()), nullptr);
    library->Release();
    return hr;
}

// Whether the type library's key for this build's system kind exists: ERROR_SUCCESS,
// ERROR_FILE_NOT_FOUND, or why it could not be told.
LONG TypeLibraryKeyState(const char* systemKind) {
    const std::string name = std::string("TypeLib\\") + plugin::kTypeLibIdText + "\\1.0\\0\\" + systemKind;
    HKEY key = nullptr;
    const LONG opened = RegOpenKeyExA(HKEY_CLASSES_ROOT, name.c_str(), 0, KEY_READ, &key);
    if (opened == ERROR_SUCCESS) RegCloseKey(key);
    return opened;
}

HRESULT UnregisterOwnTypeLibrary() {
    const bool wide = sizeof(void*) == 8;
    const HRESULT hr = UnRegisterTypeLib(plugin::kTypeLibId, 1, 0, LOCALE_NEUTRAL, wide ? SYS_WIN64 : SYS_WIN32);
    // Systems answer differently for a library that is not registered (E_INVALIDARG here,
    // TYPE_E_REGISTRYACCESS elsewhere): one whose key does not exist counts as removed.
    if (FAILED(hr) && TypeLibraryKeyState(wide ? "win64" : "win32") == ERROR_FILE_NOT_FOUND) return S_OK;
    return hr;
}

// The class's script and the type library, then the application id; every step is tried and the
// first failure is the answer.
HRESULT Unregister(RegistryScript& registrar) {
    HRESULT first = registrar.Unregister(LoadScript(plugin::kButtonScript));
    const HRESULT typeLibrary = UnregisterOwnTypeLibrary();
    if (SUCCEEDED(first)) first = typeLibrary;
    const HRESULT appId = registrar.Unregister(LoadScript(plugin::kAppIdScript));
    if (SUCCEEDED(first)) first = appId;
    return first;
}

}  // namespace

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        plugin::SetModuleInstance(instance);
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return plugin::ModuleLockCount() == 0 ? S_OK : S_FALSE; }

extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID classId, REFIID iid, void** object) {
    if (!object) return E_POINTER;
    *object = nullptr;
    if (!IsEqualCLSID(classId, plugin::kButtonClassId)) return CLASS_E_CLASSNOTAVAILABLE;
    // The reference handed out is counted (the factory's QueryInterface adds it), so the library
    // stays loaded while the caller holds it.
    return g_buttonFactory.QueryInterface(iid, object);
}

extern "C" HRESULT WINAPI DllRegisterServer() {
    const std::string path = plugin::ModulePath();
    if (path.empty()) return E_FAIL;
    RegistryScript registrar = MakeRegistrar(path);
    HRESULT hr = registrar.Register(LoadScript(plugin::kAppIdScript));
    if (SUCCEEDED(hr)) hr = registrar.Register(LoadScript(plugin::kButtonScript));
    if (SUCCEEDED(hr)) hr = RegisterOwnTypeLibrary(path);
    // Half a registration would leave keys that point at a button nobody can create: what was
    // written goes again, and the first failure is the answer.
    if (FAILED(hr)) Unregister(registrar);
    return hr;
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
    const std::string path = plugin::ModulePath();
    if (path.empty()) return E_FAIL;
    RegistryScript registrar = MakeRegistrar(path);
    return Unregister(registrar);
}
