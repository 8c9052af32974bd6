#pragma once
// Reads a registry script in the registrar's syntax and writes what it says into the registry,
// or removes it again:
//
//   HKCR
//   {
//       NoRemove CLSID
//       {
//           ForceRemove {GUID} = s 'Name'
//           {
//               InprocServer32 = s '%MODULE%'
//               {
//                   val ThreadingModel = s 'Apartment'
//               }
//           }
//       }
//   }
//
// Keys may carry NoRemove (never deleted when unregistering) or ForceRemove (deleted with all
// their subkeys before registering and when unregistering). Values are strings (s) or numbers
// (d). %NAME% is replaced by the caller's text inside the word that holds it, as plain text: a
// replacement never changes how the script reads.
#include <windows.h>
#include <map>
#include <string>
#include <vector>

class RegistryScript {
public:
    explicit RegistryScript(std::map<std::string, std::string> replacements);

    // S_OK, or the first failure (a script that cannot be read is E_INVALIDARG).
    HRESULT Register(const std::string& script);
    HRESULT Unregister(const std::string& script);

    struct Value {
        std::string name;  // empty: the key's default value
        bool isNumber = false;
        std::string text;
        DWORD number = 0;
    };
    struct Key {
        std::string name;
        bool noRemove = false;
        bool forceRemove = false;
        std::vector<Value> values;
        std::vector<Key> children;
    };
    struct Root {
        HKEY key;
        std::vector<Key> children;
    };
    // The script as a tree; false when it does not follow the syntax.
    bool Parse(const std::string& script, std::vector<Root>& roots) const;

private:
    HRESULT RegisterKey(HKEY parent, const Key& key);
    HRESULT UnregisterKey(HKEY parent, const Key& key);

    std::map<std::string, std::string> replacements_;
};
