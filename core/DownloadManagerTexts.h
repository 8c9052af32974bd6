#pragma once
// Texts the download manager shows: its status line and the task messages.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/DownloadViews.h"

// The localized text of an engine string id, copied out of the service's shared buffer.
std::string EngineText(unsigned id);
// The text filled in by FillInTexts (core/TextFill.h): each "%s" in turn takes the next value, a
// "%s" beyond them stays; at most 1023 characters. No printf: the text may come from a language file.
std::string WithTexts(const std::string& text, const std::vector<std::string>& values);
// The message text with its "%s" replaced by the task name, as above.
std::string WithTaskName(const std::string& text, const std::string& taskName);
// The string ids of the finish message ("Task "%s" is paused.") and of the status line's last
// words (" Task paused.") for how a run ended, with or without a result to report.
unsigned RunEndMessage(RunEnd end, bool withError);
unsigned RunEndTitleSuffix(RunEnd end, bool withError);
// "Task "<name>" :   123 link(s) in queue,     4 image(s) downloaded,     0 error(s)."
std::string BuildStatusLine(const std::string& taskName, size_t queued, int32_t images, int32_t errors);
