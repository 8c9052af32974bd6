#include "dialogs/monitor/ImageInformation.h"

#include "core/DownloadManagerTexts.h"
#include "core/ImageRecord.h"
#include "core/InternationalSupport.h"
#include "core/StringHelpers.h"
#include "core/TextFormat.h"
#include "core/UrlParts.h"
#include "core/WindowRoutines.h"

std::string PictureSizeText(int32_t bytes) {
    if (bytes > 999) return FormatText("%d", static_cast<int>(bytes / 1000)) + EngineText(IDS_KB_SUFFIX);
    return FormatText("%d", static_cast<int>(bytes)) + EngineText(IDS_BYTES_SUFFIX);
}

std::string PictureTimeText(const FILETIME& time) {
    // A record without a time shows none rather than the first day of 1601.
    SYSTEMTIME parts;
    if ((time.dwLowDateTime == 0 && time.dwHighDateTime == 0) || !::FileTimeToSystemTime(&time, &parts))
        return std::string();
    char date[128] = {0}, clock[128] = {0};
    ::GetDateFormatA(LOCALE_SYSTEM_DEFAULT, DATE_SHORTDATE, &parts, nullptr, date, sizeof(date));
    // A 24-hour time needs no AM/PM after it.
    ::GetTimeFormatA(LOCALE_SYSTEM_DEFAULT, TIME_FORCE24HOURFORMAT | TIME_NOTIMEMARKER, &parts, nullptr, clock,
                     sizeof(clock));
    return std::string(date) + " " + clock;
}

std::string WebLinkTarget(const std::string& address) {
    const size_t scheme = WebSchemeLength(address);
    return scheme && address.size() > scheme ? address : std::string();
}

ImageInformation::ImageInformation(const std::string& title) : title_(title) {}

void ImageInformation::SetRecord(const ImageRecord& record) {
    pageUrl = record.pageUrl;
    imageUrl = record.imageUrl;
    localPath = record.localPath;
    fileName = record.fileName;
    size = record.fileSize;
    downloadTime.dwLowDateTime = record.timeLow;
    downloadTime.dwHighDateTime = record.timeHigh;
}

LRESULT ImageInformation::OnInitDialog(UINT, WPARAM, LPARAM, BOOL&) {
    g_InternationalSupport.TranslateWindow(IDD, m_hWnd);
    CenterWindowOver(m_hWnd, ::GetParent(m_hWnd));
    SetWindowText(title_.c_str());
    ::SendDlgItemMessageA(m_hWnd, IDC_INFO_ICON, STM_SETICON,
                          reinterpret_cast<WPARAM>(::LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_INFORMATION))), 0);
    ::SetDlgItemTextA(m_hWnd, IDC_INFO_FILENAME, fileName.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_INFO_SIZE, PictureSizeText(size).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_INFO_TIME, PictureTimeText(downloadTime).c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_INFO_LOCAL_PATH, localPath.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_INFO_IMAGE_URL, imageUrl.c_str());
    ::SetDlgItemTextA(m_hWnd, IDC_INFO_PAGE_URL, pageUrl.c_str());
    // The disk location opens as the path it is; addresses open only when they are web addresses
    // (a stored address came from a page and may be anything).
    localPathLink_.Attach(GetDlgItem(IDC_INFO_LOCAL_PATH), localPath, true);
    imageUrlLink_.Attach(GetDlgItem(IDC_INFO_IMAGE_URL), WebLinkTarget(imageUrl));
    pageUrlLink_.Attach(GetDlgItem(IDC_INFO_PAGE_URL), WebLinkTarget(pageUrl));
    return TRUE;
}

LRESULT ImageInformation::OnClose(WORD, WORD id, HWND, BOOL&) {
    EndDialog(id);
    return 0;
}
