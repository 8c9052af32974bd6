#pragma once
// The program's version as the About box, the welcome page and the tray tip show it.
const int kProgramVersionMajor = 2;
const int kProgramVersionMinor = 0;
