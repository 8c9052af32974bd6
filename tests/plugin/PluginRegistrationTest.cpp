// Registration and unregistration when things are not plain: a folder name with an apostrophe,
// a registration that fails half-way, keys that cannot be removed, nothing registered at all.
#include <exdisp.h>

#include <vector>

#include "tests/plugin/PluginFixture.h"

using namespace plugintest;

namespace {

const char kAppIdKey[] = "AppID\\{4B51A27A-6F76-49E5-BC45-06AE2DDD2A1A}";
const char kAppIdDllKey[] = "AppID\\Bkf4Ie.DLL";
const char kTypeLibKey[] = "TypeLib\\{87AF47CB-BEC1-42E6-AA1A-C9FA4F2B8311}";

void ExpectNothingRegistered() {
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kClassKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Bkf4Ie.BkfIEButton"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, "Bkf4Ie.BkfIEButton.1"));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kAppIdKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kAppIdDllKey));
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, kTypeLibKey));
    EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kExtensionKey));
}

// Denies every access to a key for as long as it lives (the handle it keeps may still give it
// back its permissions).
class LockedKey {
public:
    LockedKey(HKEY root, const std::string& name) {
        if (RegOpenKeyExA(root, name.c_str(), 0, WRITE_DAC, &key_) != ERROR_SUCCESS) {
            key_ = nullptr;
            return;
        }
        ACL empty;
        InitializeAcl(&empty, sizeof(empty), ACL_REVISION);
        locked_ = SetDacl(&empty);
    }
    ~LockedKey() {
        if (locked_) SetDacl(nullptr);  // no list at all: everyone may do everything again
        if (key_) RegCloseKey(key_);
    }
    LockedKey(const LockedKey&) = delete;
    LockedKey& operator=(const LockedKey&) = delete;
    bool Locked() const { return locked_; }

private:
    bool SetDacl(ACL* acl) {
        SECURITY_DESCRIPTOR descriptor;
        InitializeSecurityDescriptor(&descriptor, SECURITY_DESCRIPTOR_REVISION);
        SetSecurityDescriptorDacl(&descriptor, TRUE, acl, FALSE);
        return RegSetKeySecurity(key_, DACL_SECURITY_INFORMATION, &descriptor) == ERROR_SUCCESS;
    }
    HKEY key_ = nullptr;
    bool locked_ = false;
};

}  // namespace

TEST_F(PluginFixture, AFolderWhoseNameHoldsAnApostropheRegistersAndStartsTheProgramFromThere) {
    const std::string folder = dir_.File("O'Brien Apps\\");
    ASSERT_TRUE(CreateDirectoryA(folder.substr(0, folder.size() - 1).c_str(), nullptr));
    const std::string dll = CopyPluginInto(folder);
    ASSERT_FALSE(dll.empty());
    EXPECT_EQ(0u, RunRegsvr32(dll, false));
    EXPECT_EQ(dll, StringValue(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32", nullptr));
    EXPECT_EQ("Bkf4Ie", StringValue(HKEY_CLASSES_ROOT, kAppIdKey, nullptr));

    // The path read back from the registration leads to the program beside that library.
    IOleCommandTarget* button = NewButton();
    ASSERT_NE(nullptr, button);
    FakePage page;
    page.location = L"http://example.com/";
    ASSERT_EQ(S_OK, ShowPage(button, page));
    ASSERT_EQ(nullptr, FindWindowA("Brackenfly_MainFrame", nullptr));
    EXPECT_EQ(S_OK, button->Exec(nullptr, 0, 0, nullptr, nullptr));
    std::vector<uint8_t> recorded;
    for (int wait = 0; wait < 300 && !testsupport::ReadFileBytes(folder + "arguments.txt", recorded); ++wait)
        Sleep(50);
    const std::string arguments(recorded.begin(), recorded.end());
    EXPECT_NE(std::string::npos, arguments.find("O'Brien Apps\\Brackenfly.exe")) << arguments;
    button->Release();

    EXPECT_EQ(0u, RunRegsvr32(dll, true));
    ExpectNothingRegistered();
}

TEST_F(PluginFixture, AFailedRegistrationRemovesWhatItAlreadyWrote) {
    // A volatile key where the class's program id goes: no lasting subkey can be made under it, so
    // the class's script fails after the application id was written.
    HKEY blocker = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CLASSES_ROOT, "Bkf4Ie.BkfIEButton.1", 0, nullptr,
                                             REG_OPTION_VOLATILE, KEY_ALL_ACCESS, nullptr, &blocker, nullptr));
    RegCloseKey(blocker);
    EXPECT_NE(0u, RunRegsvr32(dll_, false));
    RegDeleteTreeA(HKEY_CLASSES_ROOT, "Bkf4Ie.BkfIEButton.1");
    ExpectNothingRegistered();

    // With the obstacle gone the same library registers whole.
    Register();
    EXPECT_EQ(dll_, StringValue(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32", nullptr));
    EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, kAppIdDllKey));
}

TEST_F(PluginFixture, UnregistrationReportsTheFirstKeyItCannotRemove) {
    Register();
    const ServerFn unregister = Export<ServerFn>("DllUnregisterServer");
    ASSERT_NE(nullptr, unregister);
    {
        // A subkey of a key removed key by key: it cannot be opened, so it is not "already gone".
        LockedKey curVer(HKEY_CLASSES_ROOT, "Bkf4Ie.BkfIEButton\\CurVer");
        ASSERT_TRUE(curVer.Locked());
        EXPECT_EQ(HRESULT_FROM_WIN32(ERROR_ACCESS_DENIED), unregister());
        EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, "Bkf4Ie.BkfIEButton"));
    }
    Register();
    {
        // A subkey of the class key, which goes with all its subkeys at once.
        LockedKey server(HKEY_CLASSES_ROOT, std::string(kClassKey) + "\\InprocServer32");
        ASSERT_TRUE(server.Locked());
        EXPECT_TRUE(FAILED(unregister()));
    }
    EXPECT_EQ(S_OK, unregister());
    registered_ = false;
    ExpectNothingRegistered();
}

TEST_F(PluginFixture, UnregisteringALibraryThatIsNotRegisteredSucceeds) {
    EXPECT_EQ(0u, RunRegsvr32(dll_, true));
    Register();
    EXPECT_EQ(0u, RunRegsvr32(dll_, true));
    registered_ = false;
    ExpectNothingRegistered();
    EXPECT_EQ(0u, RunRegsvr32(dll_, true));  // and again
}
