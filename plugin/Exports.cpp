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
    return g_buttonFactory.QueryInterface(iid, object);
}

extern "C" HRESULT WINAPI DllRegisterServer() {
    const std::string path = plugin::ModulePath();
    if (path.empty()) return E_FAIL;
    RegistryScript registrar = MakeRegistrar(path);
    HRESULT hr = registrar.Register(LoadScript(plugin::kAppIdScript));
    if (FAILED(hr)) return hr;
    hr = registrar.Register(LoadScript(plugin::kButtonScript));
    if (FAILED(hr)) return hr;
    ITypeLib* library = nullptr;
    const std::wstring widePath = Wide(path);
    hr = LoadTypeLibEx(widePath.c_str(), REGKIND_NONE, &library);
    if (FAILED(hr)) return hr;
    hr = RegisterTypeLib(library, const_cast<OLECHAR*>(widePath.c_str()), nullptr);
    library->Release();
    return hr;
}

extern "C" HRESULT WINAPI DllUnregisterServer() {
    const std::string path = plugin::ModulePath();
    if (path.empty()) return E_FAIL;
    RegistryScript registrar = MakeRegistrar(path);
    HRESULT first = registrar.Unregister(LoadScript(plugin::kButtonScript));
    const SYSKIND kind = sizeof(void*) == 8 ? SYS_WIN64 : SYS_WIN32;
    HRESULT hr = UnRegisterTypeLib(plugin::kTypeLibId, 1, 0, LOCALE_NEUTRAL, kind);
    if (SUCCEEDED(first) && FAILED(hr) && hr != TYPE_E_REGISTRYACCESS) first = hr;
    hr = registrar.Unregister(LoadScript(plugin::kAppIdScript));
    if (SUCCEEDED(first) && FAILED(hr)) first = hr;
    return first;
}
