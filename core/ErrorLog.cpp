#include "core/ErrorLog.h"

#include "core/DownloadViews.h"
#include "core/LocalText.h"
#include "core/TextFormat.h"
#include "resources/engine_ids.h"

#include <windows.h>
#include <ctime>

namespace {

std::string Stamp() {
    time_t now = time(nullptr);
    struct tm* local = localtime(&now);
    char buffer[64] = {0};
    if (!local || !strftime(buffer, sizeof(buffer), "%d.%m.%Y\t%H:%M:%S\t", local)) return "\t\t";
    return buffer;
}

const std::string kDashes(51, '-');

}  // namespace

std::string ErrorLog::ReasonText(int statusCode, int socketError, int readResult) {
    if (statusCode <= 0 || (statusCode >= 200 && statusCode <= 300)) {
        std::string text = LocalText(IDS_LOG_NET_ERROR);
        switch (socketError) {
        case 258: return text + LocalText(IDS_LOG_TIMEOUT);
        case 10061: return text + LocalText(IDS_LOG_CONNECTION_REFUSED);
        case 10060: case 10065: case 10108: case 11004: return text + LocalText(IDS_LOG_NO_CONNECT);
        // Only a name that could not be looked up is a server that cannot be found.
        case 11001: case 11002: case 11003: return text + FormatText("%d ", socketError) + LocalText(IDS_LOG_NO_SERVER);
        default: break;
        }
        if (socketError != 0) return text + FormatText("%d ", socketError) + LocalText(IDS_LOG_CONNECTION_ERROR);
        // The connection worked; what the server sent did not.
        switch (readResult) {
        case kReadBadStatusLine: return text + LocalText(IDS_LOG_BAD_STATUS_LINE);
        case kReadBadHeader: return text + LocalText(IDS_LOG_BAD_HEADER);
        case kReadBodyFailed: case kReadChunkedFailed: return text + LocalText(IDS_LOG_TRUNCATED_BODY);
        default: break;
        }
        return text + LocalText(IDS_LOG_REQUEST_FAILED);
    }
    std::string text = LocalText(IDS_LOG_HTTP_ERROR) + FormatText("%d ", statusCode);
    switch (statusCode) {
    case 400: return text + LocalText(IDS_LOG_400);
    case 401: return text + LocalText(IDS_LOG_401);
    case 404: return text + LocalText(IDS_LOG_404);
    case 405: return text + LocalText(IDS_LOG_405);
    case 407: return text + LocalText(IDS_LOG_407);
    case 500: return text + LocalText(IDS_LOG_500);
    case 503: return text + LocalText(IDS_LOG_503);
    default: break;
    }
    if (statusCode >= 400 && statusCode <= 499) return text + LocalText(IDS_LOG_4XX);
    if (statusCode >= 500 && statusCode <= 599) return text + LocalText(IDS_LOG_5XX);
    return text;
}

bool ErrorLog::Append(const std::string& text) {
    HANDLE h = CreateFileA(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return false;
    SetFilePointer(h, 0, nullptr, FILE_END);
    DWORD written = 0;
    bool ok = WriteFile(h, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
              written == text.size();
    CloseHandle(h);
    return ok;
}

void ErrorLog::WriteHeader(const ErrorLogOptions& options, const std::string& taskName, IErrorsView* view) {
    if (view) view->Clear();
    if (!options.use) return;
    if (options.clearMode) {
        WIN32_FILE_ATTRIBUTE_DATA info;
        if (GetFileAttributesExA(path_.c_str(), GetFileExInfoStandard, &info)) {
            int64_t size = (static_cast<int64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
            // Keep the old log as ".bak"; only when that copy exists is the log emptied (else
            // this run goes on appending to the old log, header included).
            if (size > options.maxSize && CopyFileA(path_.c_str(), (path_ + ".bak").c_str(), FALSE)) {
                HANDLE h = CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_NORMAL, nullptr);
                if (h == INVALID_HANDLE_VALUE) return;
                CloseHandle(h);
            }
        }
    }
    Append("\n\n" + Stamp() + LocalText(IDS_LOG_TASK_STARTED) + taskName + "\"\n" + kDashes + "\n");
}

void ErrorLog::WriteLine(const ErrorLogOptions& options, int statusCode, int socketError, int readResult,
                         const std::string& url, IErrorsView* view) {
    WriteReasonLine(options, ReasonText(statusCode, socketError, readResult), url, view);
}

void ErrorLog::WriteReasonLine(const ErrorLogOptions& options, const std::string& reason, const std::string& url,
                               IErrorsView* view) {
    if (!options.use) return;
    // The URL comes from a page: keep it on one line so it cannot forge log lines.
    std::string safeUrl = url;
    for (char& c : safeUrl)
        if (c == '\r' || c == '\n') c = ' ';
    if (!Append(reason + "\t" + LocalText(IDS_LOG_URL) + safeUrl + "\n")) return;
    if (view) view->AddError(reason, url);
}

void ErrorLog::WriteFooter(const ErrorLogOptions& options, const std::string& taskName) {
    if (!options.use) return;
    Append(kDashes + "\n" + Stamp() + LocalText(IDS_LOG_TASK_COMPLETED) + taskName + "\"\n\n");
}
