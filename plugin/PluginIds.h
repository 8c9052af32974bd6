#pragma once
// Identifiers of the plug-in: the browser finds the button by them, and the button finds its own
// registration (and so the program's folder) through the class id.
#include <windows.h>

namespace plugin {

// {977E7339-278F-4E9E-8DB6-71CBE493760A}
const CLSID kButtonClassId = {0x977E7339, 0x278F, 0x4E9E, {0x8D, 0xB6, 0x71, 0xCB, 0xE4, 0x93, 0x76, 0x0A}};
// {87AF47CB-BEC1-42E6-AA1A-C9FA4F2B8311}
const GUID kTypeLibId = {0x87AF47CB, 0xBEC1, 0x42E6, {0xAA, 0x1A, 0xC9, 0xFA, 0x4F, 0x2B, 0x83, 0x11}};
const char kAppIdText[] = "{4B51A27A-6F76-49E5-BC45-06AE2DDD2A1A}";
const char kButtonClassIdText[] = "{977E7339-278F-4E9E-8DB6-71CBE493760A}";
const char kTypeLibIdText[] = "{87AF47CB-BEC1-42E6-AA1A-C9FA4F2B8311}";

// Resources of the library.
const int kAppIdScript = 101;
const int kButtonScript = 102;

}  // namespace plugin
