#include <windows.h>

// Placeholder entry point until the application object exists.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) { return 1; }
