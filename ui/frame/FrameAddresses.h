#pragma once
// Addresses the Help menu opens.
const char kProductPageAddress[] = "https://www.brackenfly.org/";
const char kSupportPageAddress[] = "https://www.brackenfly.org/support/";
const char kSupportMailAddress[] = "mailto:support@brackenfly.org";
// The program's name as the title bar and the tray tip show it.
const char kProgramName[] = "Brackenfly";
