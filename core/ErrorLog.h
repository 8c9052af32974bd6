#pragma once
// "errors.log": per run a header, one line per download given up, and a footer. Each write opens
// the file for appending and closes it again, so a crash loses at most the line being written.
#include <cstdint>
#include <string>

class IErrorsView;

struct ErrorLogOptions {
    bool use = true;           // LogFileUse
    bool clearMode = true;     // LogFileClearMode: rotate to ".bak" when above maxSize at a run's start
    int64_t maxSize = 1048576; // LogFileMaxSize, bytes
};

class ErrorLog {
public:
    explicit ErrorLog(std::string path) : path_(std::move(path)) {}

    // Clears the errors view (always), rotates an oversized log, writes the header.
    void WriteHeader(const ErrorLogOptions& options, const std::string& taskName, IErrorsView* view);
    // For every download given up: the log line and the errors view's entry (a failed name look-up,
    // which has neither a status nor a socket error, included). Nothing when logging is off or the
    // file cannot be opened.
    void WriteLine(const ErrorLogOptions& options, int statusCode, int socketError, int readResult,
                   const std::string& url, IErrorsView* view);
    // A line with a reason of the caller's (a picture that could not be written, for example).
    void WriteReasonLine(const ErrorLogOptions& options, const std::string& reason, const std::string& url,
                         IErrorsView* view);
    void WriteFooter(const ErrorLogOptions& options, const std::string& taskName);

    // The HTTP client's read results that name a reason of their own.
    static const int kReadBadStatusLine = 2, kReadBadHeader = 3, kReadBodyFailed = 5, kReadChunkedFailed = 6;
    // The reason text of a line: "HTTP error: 404 Requested URL not found", "NET error: timeout",
    // "NET error: connection refused"... Without a status, the socket error names the reason
    // first, then the client's read result (a malformed status line, a bad or over-long header,
    // a body cut short); "Cannot find server or DNS Error" stands only for a failed name look-up.
    static std::string ReasonText(int statusCode, int socketError, int readResult = -1);
    const std::string& Path() const { return path_; }

private:
    bool Append(const std::string& text);
    std::string path_;
};
