#pragma once
// What the program and the browser plug-in agree on, written once for both (the plug-in includes
// this header and links nothing of the program). The plug-in finds the running program by its
// frame's window class and posts it the New Task command, or starts the program file beside
// itself with the New Task argument; either way the program then reads the page from the
// clipboard as CF_TEXT: the address, one line feed, then the page's cookies (maybe none).
#include <string.h>
#include "resources/command_ids.h"

namespace handover {

const char kMainFrameClass[] = "Brackenfly_MainFrame";
const unsigned short kNewTaskCommand = ID_TASK_NEW;
// Compared without regard to case, at the start of the program's command line.
const char kNewTaskArgument[] = "-c";
const char kProgramFile[] = "Brackenfly.exe";
const char kAddressEnd = '\n';
// One page at a time crosses the clipboard, from every browser window and process: a press holds
// this mutex from writing the clipboard until the program has read it.
const char kHandoverLockName[] = "Local\\Brackenfly.PageHandover";
// The program sets this event (when it exists) once its New Task command has read the clipboard.
const char kHandoverReadEventName[] = "Local\\Brackenfly.PageHandoverRead";
// The main frame's window carries this property: its program sets the event. A program without
// it (an older one) is handed the page without waiting for a word back.
const char kHandoverReadProperty[] = "Brackenfly.SaysPageRead";
// Addresses worth a task begin with one of these, in any case.
const char* const kPageAddressPrefixes[] = {"http:", "www."};

inline bool IsPageAddress(const char* address) {
    for (const char* prefix : kPageAddressPrefixes)
        if (_strnicmp(address, prefix, strlen(prefix)) == 0) return true;
    return false;
}

}  // namespace handover
