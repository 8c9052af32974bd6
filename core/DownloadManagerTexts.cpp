#include "core/DownloadManagerTexts.h"

#include "core/LocalText.h"
#include "core/TextFill.h"
#include "core/TextFormat.h"
#include "resources/engine_ids.h"

std::string EngineText(unsigned id) {
    return LocalText(id);
}

std::string WithTexts(const std::string& text, const std::vector<std::string>& values) {
    return FillInTexts(text, values, 1023);
}

std::string WithTaskName(const std::string& text, const std::string& taskName) {
    return WithTexts(text, {taskName});
}

unsigned RunEndMessage(RunEnd end, bool withError) {
    switch (end) {
    case RunEnd::kPaused: return IDS_MSG_TASK_PAUSED;
    case RunEnd::kStopped: return IDS_MSG_TASK_STOPPED;
    case RunEnd::kCompleted: break;
    }
    return withError ? IDS_MSG_TASK_COMPLETED_ERROR : IDS_MSG_TASK_COMPLETED;
}

unsigned RunEndTitleSuffix(RunEnd end, bool withError) {
    switch (end) {
    case RunEnd::kPaused: return IDS_TASK_PAUSED_SUFFIX;
    case RunEnd::kStopped: return IDS_TASK_STOPPED_SUFFIX;
    case RunEnd::kCompleted: break;
    }
    return withError ? IDS_TASK_COMPLETED_ERROR_SUFFIX : IDS_TASK_COMPLETED_SUFFIX;
}

std::string BuildStatusLine(const std::string& taskName, size_t queued, int32_t images, int32_t errors) {
    return EngineText(IDS_STATUS_TASK_PREFIX) + taskName + "\" : " +
           FormatText("%5llu", static_cast<unsigned long long>(queued)) + EngineText(IDS_STATUS_LINKS_IN_QUEUE) +
           FormatText("%5d", images) + EngineText(IDS_STATUS_IMAGES_DOWNLOADED) + FormatText("%5d", errors) +
           EngineText(IDS_STATUS_ERRORS);
}
