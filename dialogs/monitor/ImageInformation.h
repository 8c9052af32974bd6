#pragma once
// The information about one downloaded picture: its file name, size, download time, where it
// lies on disk and the addresses of the picture and of its page, the last three as links.
#include <windows.h>
#include <cstdint>
#include <string>

#include "framework/DialogImpl.h"
#include "framework/HyperLink.h"
#include "resources/monitor_ids.h"

struct ImageRecord;

// "1 KB" from 1000 bytes up, "999 bytes" below, with the localized suffixes.
std::string PictureSizeText(int32_t bytes);
// The stored FILETIME as it is (already local time): short date, a space, 24-hour time.
std::string PictureTimeText(const FILETIME& time);
// The address when it is an http: or https: address (what a link may open), else "".
std::string WebLinkTarget(const std::string& address);

class ImageInformation : public CDialogImpl<ImageInformation> {
public:
    enum { IDD = IDD_IMAGE_INFORMATION };

    // title: the window's title (the caller's localized text).
    explicit ImageInformation(const std::string& title);
    // Copies the fields shown from a picture's record.
    void SetRecord(const ImageRecord& record);

    std::string pageUrl, imageUrl, localPath, fileName;
    int32_t size = 0;
    FILETIME downloadTime = {0, 0};

    const CHyperLink& LocalPathLink() const { return localPathLink_; }
    const CHyperLink& ImageUrlLink() const { return imageUrlLink_; }
    const CHyperLink& PageUrlLink() const { return pageUrlLink_; }

    BEGIN_MSG_MAP(ImageInformation)
        MESSAGE_HANDLER(WM_INITDIALOG, OnInitDialog)
        COMMAND_ID_HANDLER(IDOK, OnClose)
        COMMAND_ID_HANDLER(IDCANCEL, OnClose)
    END_MSG_MAP()

private:
    LRESULT OnInitDialog(UINT, WPARAM, LPARAM, BOOL&);
    LRESULT OnClose(WORD, WORD id, HWND, BOOL&);

    std::string title_;
    CHyperLink localPathLink_, imageUrlLink_, pageUrlLink_;
};
