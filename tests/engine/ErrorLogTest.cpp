#include <gtest/gtest.h>

#include "core/DownloadViews.h"
#include "core/ErrorLog.h"
#include "tests/support/TestSupport.h"

using testsupport::ReadFileText;

namespace {

struct RecordingErrors : IErrorsView {
    int clears = 0;
    std::vector<std::pair<std::string, std::string>> added;
    void AddError(const std::string& reason, const std::string& url) override { added.emplace_back(reason, url); }
    void Clear() override { ++clears; }
    std::string GetSelectedUrl() override { return ""; }
    std::vector<std::string> GetUrls() override { return {}; }
};

// "dd.mm.yyyy\thh:mm:ss\t"
bool LooksLikeStamp(const std::string& s) {
    if (s.size() < 20) return false;
    const char* shape = "##.##.####\t##:##:##\t";
    for (size_t i = 0; i < 20; ++i) {
        if (shape[i] == '#' ? !isdigit(static_cast<unsigned char>(s[i])) : s[i] != shape[i]) return false;
    }
    return true;
}

}  // namespace

TEST(ErrorLog, ReasonTexts) {
    EXPECT_EQ("HTTP error: 404 Requested URL not found", ErrorLog::ReasonText(404, 0));
    EXPECT_EQ("HTTP error: 401 Authorization required", ErrorLog::ReasonText(401, 0));
    EXPECT_EQ("HTTP error: 418 Request error", ErrorLog::ReasonText(418, 0));
    EXPECT_EQ("HTTP error: 502 Server error", ErrorLog::ReasonText(502, 0));
    EXPECT_EQ("HTTP error: 600 ", ErrorLog::ReasonText(600, 0));
    EXPECT_EQ("NET error: timeout", ErrorLog::ReasonText(0, 258));
    EXPECT_EQ("NET error: no connect", ErrorLog::ReasonText(-1, 10060));
    EXPECT_EQ("NET error: no connect", ErrorLog::ReasonText(200, 11004));
    // Each failure names its own reason; the DNS text only for a name that was not found.
    EXPECT_EQ("NET error: 10054 connection error", ErrorLog::ReasonText(0, 10054));
    EXPECT_EQ("NET error: connection refused", ErrorLog::ReasonText(-1, 10061));
    EXPECT_EQ("NET error: 11001 Cannot find server or DNS Error", ErrorLog::ReasonText(-1, 11001));
    EXPECT_EQ("NET error: request could not be made", ErrorLog::ReasonText(-1, 0));
    EXPECT_EQ("NET error: malformed status line", ErrorLog::ReasonText(-1, 0, 2));
    EXPECT_EQ("NET error: malformed or over-long header", ErrorLog::ReasonText(200, 0, 3));
    EXPECT_EQ("NET error: connection closed before the whole body arrived", ErrorLog::ReasonText(200, 0, 5));
    EXPECT_EQ("NET error: connection closed before the whole body arrived", ErrorLog::ReasonText(200, 0, 6));
    EXPECT_EQ("NET error: timeout", ErrorLog::ReasonText(200, 258, 5));
}

TEST(ErrorLog, WritesHeaderLinesAndFooter) {
    testsupport::ScratchDir dir;
    ErrorLog log(dir.File("errors.log"));
    ErrorLogOptions on;
    RecordingErrors view;
    log.WriteHeader(on, "My task", &view);
    log.WriteLine(on, 404, 0, -1, "http://h/x.jpg", &view);
    log.WriteLine(on, 0, 258, -1, "http://h/y\r\nforged", &view);
    log.WriteFooter(on, "My task");

    std::string text = ReadFileText(dir.File("errors.log"));
    ASSERT_EQ("\n\n", text.substr(0, 2));
    EXPECT_TRUE(LooksLikeStamp(text.substr(2)));
    const std::string dashes(51, '-');
    std::string afterStamp = text.substr(22);
    std::string expectedBody = "\tTask started: \"My task\"\n" + dashes + "\n" +
                               "HTTP error: 404 Requested URL not found\t\tURL: http://h/x.jpg\n" +
                               "NET error: timeout\t\tURL: http://h/y  forged\n" + dashes + "\n";
    ASSERT_EQ(expectedBody, afterStamp.substr(0, expectedBody.size()));
    std::string footer = afterStamp.substr(expectedBody.size());
    EXPECT_TRUE(LooksLikeStamp(footer));
    EXPECT_EQ("\tTask completed: \"My task\"\n\n", footer.substr(20));

    EXPECT_EQ(1, view.clears);
    ASSERT_EQ(2u, view.added.size());
    EXPECT_EQ("HTTP error: 404 Requested URL not found", view.added[0].first);
    EXPECT_EQ("http://h/x.jpg", view.added[0].second);
}

TEST(ErrorLog, OffWritesNothingButStillClearsTheView) {
    testsupport::ScratchDir dir;
    ErrorLog log(dir.File("errors.log"));
    ErrorLogOptions off;
    off.use = false;
    RecordingErrors view;
    log.WriteHeader(off, "t", &view);
    log.WriteLine(off, 404, 0, -1, "http://h/x", &view);
    log.WriteFooter(off, "t");
    EXPECT_FALSE(testsupport::FileExists(dir.File("errors.log")));
    EXPECT_EQ(1, view.clears);
    EXPECT_TRUE(view.added.empty());
}

TEST(ErrorLog, RotatesAnOversizedLogAtTheStart) {
    testsupport::ScratchDir dir;
    std::string path = dir.File("errors.log");
    ErrorLogOptions on;
    on.maxSize = 100;
    std::string old(101, 'x');
    ASSERT_TRUE(testsupport::WriteFileText(path, old));
    ErrorLog log(path);
    log.WriteHeader(on, "t", nullptr);
    EXPECT_EQ(old, ReadFileText(path + ".bak"));
    std::string fresh = ReadFileText(path);
    EXPECT_EQ("\n\n", fresh.substr(0, 2));
    EXPECT_EQ(std::string::npos, fresh.find('x'));

    // Exactly at the limit: no rotation, the header is appended.
    std::string exact(100, 'y');
    ASSERT_TRUE(testsupport::WriteFileText(path, exact));
    log.WriteHeader(on, "t", nullptr);
    EXPECT_EQ(exact, ReadFileText(path).substr(0, 100));
    EXPECT_EQ(old, ReadFileText(path + ".bak"));
}

TEST(ErrorLog, ALogThatCannotBeCopiedAsideKeepsGrowingWithItsHeader) {
    testsupport::ScratchDir dir;
    std::string path = dir.File("errors.log");
    ASSERT_TRUE(CreateDirectoryA((path + ".bak").c_str(), nullptr));   // no file can take that name
    ErrorLogOptions on;
    on.maxSize = 10;
    std::string old(11, 'x');
    ASSERT_TRUE(testsupport::WriteFileText(path, old));
    ErrorLog log(path);
    log.WriteHeader(on, "t", nullptr);
    std::string text = ReadFileText(path);
    EXPECT_EQ(old + "\n\n", text.substr(0, old.size() + 2));
    EXPECT_NE(std::string::npos, text.find("\tTask started: \"t\"\n"));
}

TEST(ErrorLog, UnopenableLogIsSkippedQuietly) {
    testsupport::ScratchDir dir;
    ErrorLog log(dir.File("missing\\folder\\errors.log"));
    ErrorLogOptions on;
    RecordingErrors view;
    log.WriteHeader(on, "t", &view);
    log.WriteLine(on, 500, 0, -1, "http://h/", &view);
    EXPECT_TRUE(view.added.empty());
}
