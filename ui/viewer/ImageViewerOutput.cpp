// What the viewer sends out of the program: print, copy to a file, open in another program or
// the folder, and the desktop wallpaper. Prompts belong to the window the user sees.
#include <vector>
#include "core/ProgramSettings.h"
#include "core/LocalText.h"
#include "core/SafeFileWriter.h"
#include "framework/UserPrompts.h"
#include "imaging/BmpEncoder.h"
#include "imaging/DataSink.h"
#include "resources/app_ids.h"
#include "ui/viewer/ImageViewer.h"
#include "ui/viewer/MyBitmap.h"
#include "ui/viewer/ViewerMath.h"

namespace {

// Collects an encoded file in memory, so that it reaches the disk in one checked write.
class MemorySink : public CDataSink {
public:
    explicit MemorySink(size_t capacity) : bytes_(capacity) { SetBuffer(bytes_.data(), bytes_.size(), "memory"); }

private:
    std::vector<uint8_t> bytes_;
};

bool WriteBmpFile(const std::string& path, CMyBitmap& picture) {
    try {
        MemorySink sink(static_cast<size_t>(picture.GetMemUsed()) + 4096);
        CBmpEncoder().MakeFileFromBmp(&picture, &sink);
        SafeFileWriter writer(path);
        return writer.Open() && writer.Write(sink.GetBuffer(), sink.GetBytesWritten()) && writer.Commit();
    } catch (...) {
        return false;
    }
}

}  // namespace

void ImageViewer::OpenWithShell(const std::string& target) {
    if (!target.empty()) UserPrompts().ShellExecute(PromptOwner(), "open", target, "", "", SW_SHOWNORMAL);
}

void ImageViewer::Print() {
    if (!picture_) return;
    printer_.SetOrientation(picture_->GetWidth() > picture_->GetHeight());
    const CreatedDc dc = printer_.AskForPrinterDc(PromptOwner());
    if (!dc.Get()) return;
    PrintBitmapOnPage(dc.Get(), shown_.full.get(), picture_->GetWidth(), picture_->GetHeight(),
                      LocalText(IDS_VIEWER_PRINT_DOCUMENT) + fileName_);
}

void ImageViewer::CopyTo() {
    if (path_.empty()) return;
    std::vector<char> file(10001, '\0');
    path_.copy(file.data(), file.size() - 1);
    const std::string title = LocalText(IDS_VIEWER_COPY_TO);
    std::string filter = LocalText(IDS_FILTER_ALL_FILES);
    for (char& c : filter)
        if (c == '|') c = '\0';
    filter.push_back('\0');
    OPENFILENAMEA request = {};
    request.lStructSize = sizeof(request);
    request.hwndOwner = PromptOwner();
    request.lpstrFilter = filter.c_str();
    request.lpstrFile = file.data();
    request.nMaxFile = static_cast<DWORD>(file.size());
    request.lpstrTitle = title.c_str();
    request.Flags = OFN_OVERWRITEPROMPT;
    if (UserPrompts().FileDialog(request, false)) ::CopyFileA(path_.c_str(), file.data(), FALSE);
}

void ImageViewer::SetAsWallpaper() {
    if (!picture_) return;
    const std::string question = LocalText(IDS_VIEWER_WALLPAPER_ASK) + fileName_ + LocalText(IDS_VIEWER_WALLPAPER_ASK_END);
    if (UserPrompts().MessageBox(PromptOwner(), question, LocalText(IDS_CAPTION_QUESTION), MB_ICONQUESTION | MB_YESNO) != IDYES)
        return;
    // The program's own folder, which its user can write, rather than the system's folder.
    const std::string target = Settings().GetProgramFolder() + WallpaperFileName(fileName_);
    if (!WriteBmpFile(target, *picture_)) {
        UserPrompts().MessageBox(PromptOwner(), LocalText(IDS_VIEWER_WALLPAPER_FAILED) + target, LocalText(IDS_CAPTION_ERROR),
                                 MB_ICONERROR | MB_OK);
        return;
    }
    ::SystemParametersInfoA(SPI_SETDESKWALLPAPER, 0, const_cast<char*>(target.c_str()),
                            SPIF_UPDATEINIFILE | SPIF_SENDCHANGE);
}
