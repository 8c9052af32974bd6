// Prints the link extractor's speed in MB/s for pages of 100 KB to 10 MB: an ordinary
// gallery-like page and a hostile one (every tag leaves a quote open, attributes missing).
// Linear extraction shows about the same MB/s at every size.
#include "core/HtmlTagEntry.h"
#include "core/PageLinkParser.h"

#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

std::string MakeGalleryPage(size_t size) {
    std::string page = "<html><head><base href=\"http://bench.example/gallery/\">"
                       "<script src=\"js/site.js\"></script></head><body background=\"bg.gif\"><table>\n";
    int n = 0;
    while (page.size() < size) {
        const std::string i = std::to_string(n++);
        page += "<tr><td class=\"thumb\"><a href=\"photo" + i + ".html\" title='Photo " + i +
                "'><IMG SRC=\"thumbs/t" + i + ".jpg\" width=120 height=90 alt=\"thumb > " + i + "\"></a></td>\n";
        if (n % 50 == 0)
            page += "<script>var p" + i + " = new Image(); p" + i + ".src = \"pre/" + i +
                    ".jpg\"; function o(){ window.open('big/" + i + ".html'); }</script>\n";
        if (n % 20 == 0) page += "<p>Plain text paragraph with no tags at all, just words to skip over.</p>\n";
    }
    page += "</table></body></html>";
    return page;
}

std::string MakeHostilePage(size_t size) {
    std::string page;
    while (page.size() < size) page += "<a title='x <img alt=\"y <script <td ";
    return page;
}

double Seconds(const LARGE_INTEGER& a, const LARGE_INTEGER& b, const LARGE_INTEGER& freq) {
    return static_cast<double>(b.QuadPart - a.QuadPart) / static_cast<double>(freq.QuadPart);
}

void Measure(const char* label, const std::string& page, const std::vector<HtmlTagEntry>& tags) {
    LARGE_INTEGER freq, start, end;
    QueryPerformanceFrequency(&freq);
    int rounds = 0;
    size_t links = 0;
    QueryPerformanceCounter(&start);
    do {
        PageLinkParser parser;
        parser.SetPage("http://bench.example/gallery/index.html", "", kPageKindHtml, page.data(), page.size(), tags);
        links = parser.Results().size();
        ++rounds;
        QueryPerformanceCounter(&end);
    } while (Seconds(start, end, freq) < 0.5 && rounds < 1000);
    const double seconds = Seconds(start, end, freq) / rounds;
    const double mb = static_cast<double>(page.size()) / (1024.0 * 1024.0);
    std::printf("%-8s %8.2f MB  %9.1f MB/s  %8zu links  (%d rounds)\n", label, mb, mb / seconds, links, rounds);
}

}  // namespace

int main() {
    const std::vector<HtmlTagEntry> tags = DefaultHtmlTagEntries();
    const size_t sizes[] = {100 * 1024, 1024 * 1024, 4 * 1024 * 1024, 10 * 1024 * 1024};
    for (size_t size : sizes) Measure("gallery", MakeGalleryPage(size), tags);
    for (size_t size : sizes) Measure("hostile", MakeHostilePage(size), tags);
    return 0;
}
