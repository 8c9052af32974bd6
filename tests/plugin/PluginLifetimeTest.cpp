// The library's time in the process as COM decides it: a held class object, a live button or a
// server lock keeps it loaded, and no sequence of calls drives its count out of shape.
#include <objbase.h>

#include "tests/plugin/PluginFixture.h"

using namespace plugintest;

namespace {

class ComApartment {
public:
    ComApartment() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
    ~ComApartment() { CoUninitialize(); }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

}  // namespace

TEST_F(PluginFixture, AHeldClassObjectKeepsTheLibraryLoadedUntilItsLastRelease) {
    Register();
    UnloadOwnCopy();  // from here only COM's load keeps the library in the process
    ComApartment apartment;
    IClassFactory* factory = nullptr;
    ASSERT_EQ(S_OK, CoGetClassObject(kButtonClass, CLSCTX_INPROC_SERVER, nullptr, IID_IClassFactory,
                                     reinterpret_cast<void**>(&factory)));
    CoFreeUnusedLibrariesEx(0, 0);
    // Asked before the factory is touched: a call into an unloaded library would crash the test.
    ASSERT_NE(nullptr, GetModuleHandleA(dll_.c_str()));
    IOleCommandTarget* button = nullptr;
    EXPECT_EQ(S_OK, factory->CreateInstance(nullptr, IID_IOleCommandTarget, reinterpret_cast<void**>(&button)));
    ASSERT_NE(nullptr, button);
    factory->Release();
    CoFreeUnusedLibrariesEx(0, 0);
    ASSERT_NE(nullptr, GetModuleHandleA(dll_.c_str()));  // the button holds it now
    button->Release();
    CoFreeUnusedLibrariesEx(0, 0);
    EXPECT_EQ(nullptr, GetModuleHandleA(dll_.c_str()));  // and nothing once it is gone
}

TEST_F(PluginFixture, ServerLocksCountUpAndDownButNeverBelowZero) {
    IClassFactory* factory = nullptr;
    ASSERT_EQ(S_OK, getClassObject_(kButtonClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(S_FALSE, canUnloadNow_());  // the class object itself is held
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));  // an unlock nobody locked for
    factory->Release();
    EXPECT_EQ(S_OK, canUnloadNow_());

    ASSERT_EQ(S_OK, getClassObject_(kButtonClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(S_OK, factory->LockServer(TRUE));
    factory->Release();
    EXPECT_EQ(S_FALSE, canUnloadNow_());  // the lock alone keeps the library
    ASSERT_EQ(S_OK, getClassObject_(kButtonClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));
    EXPECT_EQ(S_OK, factory->LockServer(FALSE));  // one more than were taken
    factory->Release();
    EXPECT_EQ(S_OK, canUnloadNow_());

    // A stray unlock while a button lives does not let the library go from under the button.
    IOleCommandTarget* button = NewButton();
    ASSERT_NE(nullptr, button);
    ASSERT_EQ(S_OK, getClassObject_(kButtonClass, IID_IClassFactory, reinterpret_cast<void**>(&factory)));
    factory->LockServer(FALSE);
    factory->Release();
    EXPECT_EQ(S_FALSE, canUnloadNow_());
    button->Release();
    EXPECT_EQ(S_OK, canUnloadNow_());
}
