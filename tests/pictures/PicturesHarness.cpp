#include "tests/pictures/PicturesHarness.h"
#include "tests/support/MessagePump.h"

#include <commctrl.h>
#include "core/ImageRecord.h"
#include "core/ProgramSettings.h"
#include "core/PathHelpers.h"
#include "core/TaskFileNames.h"
#include "framework/AppModule.h"
#include "ui/frame/FrameDialogs.h"
#include "tests/support/PlaceholderPieces.h"

namespace picturetest {

WindowThreadRunner::WindowThreadRunner() {
    WNDCLASSA type = {};
    type.lpfnWndProc = &WindowThreadRunner::Proc;
    type.hInstance = ::GetModuleHandleA(nullptr);
    type.lpszClassName = "BkfTestWindowThreadRunner";
    ::RegisterClassA(&type);  // fails harmlessly once registered
    window_ = ::CreateWindowExA(0, type.lpszClassName, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, type.hInstance, nullptr);
}

WindowThreadRunner::~WindowThreadRunner() {
    if (window_) ::DestroyWindow(window_);
}

void WindowThreadRunner::Run(const std::function<void()>& work) {
    ::SendMessageA(window_, WM_APP, 0, reinterpret_cast<LPARAM>(&work));
}

LRESULT CALLBACK WindowThreadRunner::Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_APP) return ::DefWindowProcA(window, message, wParam, lParam);
    (*reinterpret_cast<const std::function<void()>*>(lParam))();
    return 0;
}

void PicturesTest::SetUp() {
    SetTaskProgramFolder(dir_.Path());
    ASSERT_TRUE(g_Module.AddMessageLoop(&loop_));
    app_.reset(new Application());
    app_->GetSettings()->ShowTip = false;
    app_->GetSettings()->ShowLastImage = true;
    FramePieces pieces;
    pictures_ = new ImagesContainer();
    pieces.pictures.reset(pictures_);
    pieces.dialogs.reset(new FrameDialogs(app_.get()));
    CompleteFramePieces(pieces);
    frame_.reset(new MainFrame(app_.get(), std::move(pieces)));
    ASSERT_TRUE(frame_->CreateFrame());
    ::SetWindowPos(*frame_, nullptr, 10, 10, 1000, 760, SWP_NOZORDER);
    ::ShowWindow(*frame_, SW_SHOW);
    ::SetForegroundWindow(*frame_);
    Pump(200);
    task_.TaskName = "Pictures";
    task_.SaveFolder = dir_.Path() + "Saved";
    CreateFolderPath(task_.SaveFolder);
}

void PicturesTest::TearDown() {
    if (pictures_) pictures_->SetTask(nullptr);
    frame_.reset();
    app_.reset();
    g_Module.RemoveMessageLoop();
    SetTaskProgramFolder("");
}

void PicturesTest::Pump(DWORD ms) { testsupport::PumpLoopFor(loop_, ms); }

void PicturesTest::AddPicture(const std::string& fixture, const std::string& subFolder, const std::string& name) {
    std::string folder = task_.SaveFolder + (subFolder.empty() ? "" : "\\" + subFolder);
    CreateFolderPath(folder);
    const std::string path = folder + "\\" + name;
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(testsupport::ReadFileBytes(testsupport::TestDataDir() + fixture, bytes)) << fixture;
    ASSERT_TRUE(testsupport::WriteFileBytes(path, bytes));
    ImageRecord record;
    record.pageUrl = "http://example.com/page.html";
    record.imageUrl = "http://example.com/" + name;
    record.localPath = path;
    record.fileName = name;
    record.fileSize = static_cast<int32_t>(bytes.size());
    task_.DownloadedImages.Append(record);
}

std::string PicturesTest::RowText(int row, int column) {
    char text[512] = {};
    LVITEMA item = {};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof(text);
    ::SendMessageA(List(), LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

void PicturesTest::AddCrawledRecords(int count) {
    const int first = task_.DownloadedImages.GetCount();
    for (int i = 0; i < count; ++i) {
        ImageRecord record;
        record.fileName = "n" + std::to_string(first + i) + ".jpg";
        record.localPath = task_.SaveFolder + "\\" + record.fileName;
        task_.DownloadedImages.Append(record);
    }
    pictures_->OnImagesAdded(&task_, first, count, false);
}

void PicturesTest::FocusRow(int row) {
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
    ListView_SetItemState(List(), row, LVIS_FOCUSED | LVIS_SELECTED, LVIS_FOCUSED | LVIS_SELECTED);
    Pump(20);
}

void PicturesTest::SelectRows(std::initializer_list<int> rows) {
    ListView_SetItemState(List(), -1, 0, LVIS_SELECTED);
    for (int row : rows) ListView_SetItemState(List(), row, LVIS_SELECTED, LVIS_SELECTED);
    Pump(20);
}

}  // namespace picturetest
