#pragma once
// Addresses the Help menu opens.
const char kProductPageAddress[] = "https://www.brackenfly.org/";
const char kSupportPageAddress[] = "https://www.brackenfly.org/support/";
const char kSupportMailAddress[] = "mailto:support@brackenfly.org";
// The program's name and version as the tray tip shows them.
const char kProgramName[] = "Brackenfly";
const char kProgramVersionMajor[] = "2";
const char kProgramVersionMinor[] = "0";
