// The list and thumbnail views of a task's pictures in the real main frame: rows and their
// texts, the unviewed marking, moving through the pictures, sorting, inverting and switching
// views with the selection and focus kept; the viewer reaching the frame.
#include <windows.h>
#include <commctrl.h>
#include "core/ImageRecord.h"
#include "framework/SplitterWindow.h"
#include "resources/command_ids.h"
#include "tests/support/MainFrameTestSeam.h"
#include "tests/pictures/PicturesHarness.h"
#include "ui/viewer/ImageViewer.h"

namespace picturetest {
namespace {

class PictureViewsTest : public PicturesTest {
protected:
    void SetUp() override {
        PicturesTest::SetUp();
        AddPicture("p100x80.png", "", "c.png");
        AddPicture("o60x40.gif", "sub", "a.gif");
        AddPicture("b30x20.bmp", "", "d.bmp");
        AddPicture("r120x90.jpg", "sub", "b.jpg");
        AddPicture("p100x80.png", "", "f.png");
        AddPicture("o60x40.gif", "", "e.gif");
        pictures_->SetTask(&task_);
        Pump();
    }
    void Command(UINT id) {
        ::SendMessageA(*frame_, WM_COMMAND, id, 0);
        Pump(50);
    }
};

TEST_F(PictureViewsTest, ListShowsRowsMarksUnviewedAndMovesAround) {
    ASSERT_EQ(6, ListView_GetItemCount(List()));
    // The list takes the left 200 pixels, the viewer the rest.
    RECT listRect, viewerRect;
    ::GetWindowRect(List(), &listRect);
    ::GetWindowRect(pictures_->Viewer(), &viewerRect);
    EXPECT_NEAR(200, listRect.right - listRect.left, 8);
    EXPECT_GT(viewerRect.left, listRect.right - 1);
    EXPECT_EQ("c.png", RowText(0, 0));
    const int32_t bmpSize = task_.DownloadedImages.GetAt(2).fileSize;
    EXPECT_EQ(std::to_string(bmpSize < 2000 ? 1 : bmpSize / 1000) + " KB", RowText(2, 1));
    EXPECT_EQ(6, Thumbnails().GetItemCount());
    EXPECT_EQ("c.png", Thumbnails().GetItemData(0)->caption);

    EXPECT_EQ(0, task_.DownloadedImages.GetAt(3).flag);
    FocusRow(3);
    EXPECT_EQ(1, task_.DownloadedImages.GetAt(3).flag);
    Pump(150);
    EXPECT_EQ(task_.DownloadedImages.GetAt(3).localPath, pictures_->Viewer().GetPath());

    // Next on the last row goes to the first; previous on the first to the last.
    FocusRow(5);
    pictures_->ShowNext();
    EXPECT_EQ(0, FocusedRow());
    pictures_->ShowPrevious();
    EXPECT_EQ(5, FocusedRow());
    // The frame's key filter: Space is the next picture.
    ::SetFocus(List());
    ::PostMessageA(List(), WM_KEYDOWN, VK_SPACE, 0);
    Pump(50);
    EXPECT_EQ(0, FocusedRow());
    EXPECT_TRUE(pictures_->HasFocus());
}

TEST_F(PictureViewsTest, SortsAlternateAndKeepTheFocusedPicture) {
    FocusRow(2);   // d.bmp
    Command(ID_IMAGES_SORT_SIZE);
    for (int i = 0; i + 1 < 6; ++i)
        EXPECT_LE(task_.DownloadedImages.GetAt(i).fileSize, task_.DownloadedImages.GetAt(i + 1).fileSize);
    EXPECT_EQ("d.bmp", RecordName(FocusedRow()));
    Command(ID_IMAGES_SORT_NAME);
    EXPECT_EQ("a.gif", RecordName(0));
    EXPECT_EQ("f.png", RecordName(5));
    EXPECT_EQ("d.bmp", RecordName(FocusedRow()));
    EXPECT_EQ("a.gif", RowText(0, 0));
    // The name sort between did not change the size direction: this one runs downwards.
    Command(ID_IMAGES_SORT_SIZE);
    for (int i = 0; i + 1 < 6; ++i)
        EXPECT_GE(task_.DownloadedImages.GetAt(i).fileSize, task_.DownloadedImages.GetAt(i + 1).fileSize);
    // The thumbnails follow the new order.
    for (int i = 0; i < 6; ++i) EXPECT_EQ(RecordName(i), Thumbnails().GetItemData(i)->caption);
}

// A click on the size column's header sorts; the pictures the user had selected stay selected
// wherever they moved, and the viewer and the picture commands stay with the focused one.
TEST_F(PictureViewsTest, HeaderSortKeepsTheSelectionAndTheViewer) {
    FocusRow(2);  // d.bmp
    SelectRows({0, 2});  // c.png and d.bmp
    ASSERT_EQ(task_.DownloadedImages.GetAt(2).localPath, pictures_->Viewer().GetPath());
    HWND header = ListView_GetHeader(List());
    RECT column = {};
    ASSERT_TRUE(Header_GetItemRect(header, 1, &column));
    const LPARAM at = MAKELPARAM((column.left + column.right) / 2, (column.top + column.bottom) / 2);
    ::SendMessageA(header, WM_LBUTTONDOWN, MK_LBUTTON, at);
    ::SendMessageA(header, WM_LBUTTONUP, 0, at);
    Pump(50);
    for (int i = 0; i + 1 < 6; ++i)
        ASSERT_LE(task_.DownloadedImages.GetAt(i).fileSize, task_.DownloadedImages.GetAt(i + 1).fileSize);

    PictureIndexList selected;
    pictures_->ListView().GetSelected(selected);
    ASSERT_EQ(2u, selected.size());
    EXPECT_EQ("d.bmp", RecordName(selected[0]) == "d.bmp" ? RecordName(selected[0]) : RecordName(selected[1]));
    EXPECT_TRUE(RecordName(selected[0]) == "c.png" || RecordName(selected[1]) == "c.png");
    const int focused = FocusedRow();
    ASSERT_GE(focused, 0);
    EXPECT_EQ("d.bmp", RecordName(focused));
    EXPECT_EQ(static_cast<UINT>(LVIS_SELECTED | LVIS_FOCUSED), pictures_->ListView().GetRowState(focused));
    EXPECT_EQ(task_.DownloadedImages.GetAt(focused).localPath, pictures_->Viewer().GetPath());
    HWND toolBar = MainFrameTestSeam(*frame_).ToolBar();
    ASSERT_GE(::SendMessageA(toolBar, TB_COMMANDTOINDEX, ID_IMAGES_DELETE, 0), 0);
    EXPECT_TRUE(::SendMessageA(toolBar, TB_ISBUTTONENABLED, ID_IMAGES_DELETE, 0));

    // The same from the thumbnails.
    Command(ID_VIEW_CHANGE);
    Command(ID_IMAGES_SORT_NAME);
    pictures_->ThumbnailView().GetSelected(selected);
    ASSERT_EQ(2u, selected.size());
    EXPECT_EQ("c.png", RecordName(selected[0]));
    EXPECT_EQ("d.bmp", RecordName(selected[1]));
    EXPECT_EQ(selected[1], Thumbnails().GetFocusedIndex());
    EXPECT_EQ(task_.DownloadedImages.GetAt(selected[1]).localPath, pictures_->Viewer().GetPath());
}

// The frame grows: the list keeps its share beside the viewer and the pictures keep their share
// above the monitor, instead of the monitor taking all that was added.
TEST_F(PictureViewsTest, PanesKeepTheirSharesWhenTheFrameGrows) {
    CSplitterWindow& list = pictures_->ListView().Splitter();
    CSplitterWindow& frameSplit = MainFrameTestSeam(*frame_).HorizontalSplitter();
    EXPECT_TRUE(list.IsProportional());
    EXPECT_FALSE(list.IsFullDrag()) << "the list's bar is dragged as an outline";
    RECT listRect = list.GetSplitterRect(), frameRect = frameSplit.GetSplitterRect();
    ASSERT_GT(list.GetSplitterPos(), 0);
    const double listShare = double(list.GetSplitterPos()) / (listRect.right - listRect.left - CSplitterWindow::kBarWidth);
    const double picturesShare =
        double(frameSplit.GetSplitterPos()) / (frameRect.bottom - frameRect.top - CSplitterWindow::kBarWidth);
    RECT window;
    ::GetWindowRect(*frame_, &window);
    ::SetWindowPos(*frame_, nullptr, 0, 0, window.right - window.left + 400, window.bottom - window.top + 300,
                   SWP_NOMOVE | SWP_NOZORDER);
    Pump(50);
    listRect = list.GetSplitterRect();
    frameRect = frameSplit.GetSplitterRect();
    EXPECT_NEAR(listShare * (listRect.right - listRect.left - CSplitterWindow::kBarWidth), list.GetSplitterPos(), 1.5);
    EXPECT_NEAR(picturesShare * (frameRect.bottom - frameRect.top - CSplitterWindow::kBarWidth),
                frameSplit.GetSplitterPos(), 1.5);
    EXPECT_GT(frameSplit.GetSplitterPos(), 280);
}

TEST_F(PictureViewsTest, SwitchingViewsKeepsSelectionAndFocus) {
    FocusRow(5);
    SelectRows({2, 5});
    Command(ID_VIEW_CHANGE);
    EXPECT_FALSE(pictures_->IsListViewShown());
    EXPECT_TRUE(::IsWindowVisible(pictures_->ThumbnailView()));
    EXPECT_EQ(kThumbnailSelected, Thumbnails().GetItemState(2));
    EXPECT_EQ(kThumbnailSelected | kThumbnailFocused, Thumbnails().GetItemState(5));
    EXPECT_EQ(0u, Thumbnails().GetItemState(3));
    EXPECT_TRUE(pictures_->HasFocus());

    // Thumbnails: next wraps to the first, and focusing leaves the unviewed mark alone.
    const uint8_t flagBefore = task_.DownloadedImages.GetAt(0).flag;
    pictures_->ShowNext();
    EXPECT_EQ(0, Thumbnails().GetFocusedIndex());
    EXPECT_EQ(flagBefore, task_.DownloadedImages.GetAt(0).flag);
    pictures_->ShowPrevious();
    EXPECT_EQ(5, Thumbnails().GetFocusedIndex());

    // Invert acts on both views; back in the list the thumbnails' states come along.
    Command(ID_IMAGES_INVERT_SELECTION);
    PictureIndexList selected;
    pictures_->ThumbnailView().GetSelected(selected);
    EXPECT_EQ((PictureIndexList{0, 1, 3, 4}), selected);
    Command(ID_VIEW_LIST);
    EXPECT_TRUE(pictures_->IsListViewShown());
    EXPECT_FALSE(::IsWindowVisible(pictures_->ThumbnailView()));
    pictures_->ListView().GetSelected(selected);
    EXPECT_EQ((PictureIndexList{0, 1, 3, 4}), selected);
    EXPECT_EQ(5, FocusedRow());
}

TEST_F(PictureViewsTest, ThumbnailsLoadTheirPicturesWithTips) {
    Command(ID_VIEW_THUMBNAILS);
    for (DWORD begin = ::GetTickCount(); Thumbnails().GetPendingCount() > 0 && ::GetTickCount() - begin < 60000;)
        Pump(50);
    EXPECT_EQ(0, Thumbnails().GetPendingCount());
    const ThumbnailItemData* png = Thumbnails().GetItemData(0);
    ASSERT_NE(nullptr, png);
    EXPECT_NE(std::string::npos, png->tip.find("Dimensions - 100 x 80")) << png->tip;
    EXPECT_EQ(0u, png->tip.find("Size - "));
}

// Pictures a run brings in join both views in one batch; no long operation runs, so the status
// bar's progress bar stays where it was (stepping it cost two messages per picture).
TEST_F(PictureViewsTest, PicturesComingInDuringARunJoinBothViewsWithoutProgressSteps) {
    Command(ID_VIEW_THUMBNAILS);
    CProgressBarCtrl& bar = MainFrameTestSeam(*frame_).ProgressBar();
    const int before = bar.GetPos();
    AddPicture("p100x80.png", "", "g.png");
    AddPicture("r120x90.jpg", "", "h.jpg");
    pictures_->OnImagesAdded(&task_, 6, 2, false);
    Pump(50);
    EXPECT_EQ(before, bar.GetPos());
    EXPECT_EQ(8, Thumbnails().GetItemCount());
    EXPECT_EQ(8, ListView_GetItemCount(List()));
    const ThumbnailItemData* added = Thumbnails().GetItemData(7);
    ASSERT_NE(nullptr, added);
    EXPECT_EQ("h.jpg", added->caption.substr(0, 5));
}

// A crawl's new rows: while the end of the list is out of sight they join within a second (each
// count change redraws the scroll bar); with the end in view, or before any command on the rows,
// at once.
TEST_F(PictureViewsTest, NewRowsOutOfSightJoinWithinASecondAndAtOnceAtTheEnd) {
    Command(ID_VIEW_LIST);
    auto add = [this](int count) { AddCrawledRecords(count); };
    auto rows = [this] { return static_cast<int>(ListView_GetItemCount(List())); };
    add(200);  // the end of six rows shows: at once
    EXPECT_EQ(206, rows());
    add(50);
    EXPECT_EQ(206, rows());
    // They join on the list's timer (a second); the minute only guards against never.
    for (DWORD begin = ::GetTickCount(); rows() < 256 && ::GetTickCount() - begin < 60000;) Pump(50);
    EXPECT_EQ(256, rows());
    add(10);
    EXPECT_EQ(256, rows());
    Command(ID_IMAGES_INVERT_SELECTION);
    EXPECT_EQ(266, rows());
    EXPECT_GE(ListView_GetSelectedCount(List()), 265u);
    ListView_EnsureVisible(List(), 265, FALSE);
    add(5);
    EXPECT_EQ(271, rows());
}

// Notes each pop-up menu as it opens: the window it reports to and whether the Zoom In item got
// the command bar's picture; then leaves it with Escape.
struct OpeningMenus {
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_INITMENUPOPUP) {
            ++opened;
            owner = message->hwnd;
            MENUITEMINFOA item = {};
            item.cbSize = sizeof(item);
            item.fMask = MIIM_BITMAP;
            zoomPicture = ::GetMenuItemInfoA(reinterpret_cast<HMENU>(message->wParam), ID_VIEWER_ZOOM_IN, FALSE,
                                             &item) &&
                          item.hbmpItem == HBMMENU_CALLBACK;
            ::PostMessageA(message->hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static int opened;
    static HWND owner;
    static bool zoomPicture;
};
int OpeningMenus::opened = 0;
HWND OpeningMenus::owner = nullptr;
bool OpeningMenus::zoomPicture = false;

// The viewer inside the real frame reaches it for everything it needs: the program's settings,
// its context menu tracked by the frame's command bar (so the items show their pictures and the
// choice comes back through the frame's routing), and the keyboard handed back to the list
// after one of its commands.
TEST_F(PictureViewsTest, ViewerReachesTheFrameForSettingsMenuAndFocus) {
    ImageViewer& viewer = pictures_->Viewer();
    EXPECT_EQ(app_->GetSettings(), &viewer.Settings());
    FocusRow(1);
    Pump(300);
    ASSERT_EQ(task_.DownloadedImages.GetAt(1).localPath, viewer.GetPath());

    HWND place = viewer.GetEmbeddedPlace();
    RECT placeRect;
    ::GetWindowRect(place, &placeRect);
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &OpeningMenus::Hook, nullptr, ::GetCurrentThreadId());
    ::SendMessageA(place, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(place),
                   MAKELPARAM(placeRect.left + 20, placeRect.top + 20));
    Pump(50);
    ::UnhookWindowsHookEx(hook);
    EXPECT_EQ(1, OpeningMenus::opened);
    EXPECT_EQ(static_cast<HWND>(*frame_), OpeningMenus::owner);
    EXPECT_TRUE(OpeningMenus::zoomPicture);

    // What choosing Zoom In in that menu sends: the frame routes it to the viewer, which zooms
    // and gives the keyboard back to the list.
    ::SetFocus(place);
    ASSERT_EQ(place, ::GetFocus());
    const float before = viewer.VisiblePlace().GetWindow().GetZoom();
    Command(ID_VIEWER_ZOOM_IN);
    EXPECT_GT(viewer.VisiblePlace().GetWindow().GetZoom(), before);
    EXPECT_EQ(List(), ::GetFocus());
}

// Chooses "Zoom In" in each pop-up menu as it opens, by its mnemonic, as a user's key would.
struct ChoosingZoomIn {
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto* message = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (code == HC_ACTION && message->message == WM_INITMENUPOPUP) {
            ++opened;
            ::PostMessageA(message->hwnd, WM_CHAR, 'z', 0);
        }
        return ::CallNextHookEx(nullptr, code, wParam, lParam);
    }
    static int opened;
};
int ChoosingZoomIn::opened = 0;

// The top-level window a user sees at a screen point.
HWND TopWindowAt(POINT at) {
    HWND shown = ::WindowFromPoint(at);
    return shown ? ::GetAncestor(shown, GA_ROOT) : nullptr;
}

// The full-screen picture's menu is tracked through the frame; the frame must not stay drawn
// over the picture once a command of it was chosen, and the picture keeps the keyboard.
TEST_F(PictureViewsTest, FullScreenStaysOnTopAfterACommandOfItsMenu) {
    ImageViewer& viewer = pictures_->Viewer();
    FocusRow(0);
    for (int i = 0; i < 600 && viewer.IsLoading(); ++i) Pump(50);
    ASSERT_NE(nullptr, viewer.GetPicture());
    ASSERT_EQ(1, viewer.ToggleFullScreen());
    Pump(100);
    HWND full = viewer.GetFullScreenPlace();
    RECT screen;
    ::GetWindowRect(full, &screen);
    const POINT middle = {(screen.left + screen.right) / 2, (screen.top + screen.bottom) / 2};
    ASSERT_EQ(full, TopWindowAt(middle));

    ChoosingZoomIn::opened = 0;
    const float before = viewer.GetFullScreenPlace().GetWindow().GetZoom();
    HHOOK hook = ::SetWindowsHookExA(WH_CALLWNDPROC, &ChoosingZoomIn::Hook, nullptr, ::GetCurrentThreadId());
    ::SendMessageA(full, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(full), MAKELPARAM(middle.x, middle.y));
    Pump(100);
    ::UnhookWindowsHookEx(hook);
    ASSERT_EQ(1, ChoosingZoomIn::opened);
    EXPECT_GT(viewer.GetFullScreenPlace().GetWindow().GetZoom(), before) << "the menu's command reached the viewer";

    EXPECT_TRUE(viewer.IsFullScreen());
    EXPECT_EQ(full, TopWindowAt(middle)) << "the frame is drawn over the full-screen picture";
    EXPECT_EQ(full, ::GetForegroundWindow());
    // The frame comes after the full-screen window in the z-order.
    bool frameBelow = false;
    for (HWND next = ::GetWindow(full, GW_HWNDNEXT); next && !frameBelow; next = ::GetWindow(next, GW_HWNDNEXT))
        frameBelow = next == static_cast<HWND>(*frame_);
    EXPECT_TRUE(frameBelow);
    EXPECT_EQ(static_cast<HWND>(viewer.GetFullScreenPlace().GetWindow()), ::GetFocus())
        << "the picture keeps the keys (arrows, numeric-pad zoom)";
    viewer.LeaveFullScreen();
    Pump(50);
    EXPECT_EQ(static_cast<HWND>(*frame_), TopWindowAt(middle));
}

// A slide show ends on another picture than it began with: whichever way it is left, the view's
// focus and selection are on the picture shown, so the picture commands act on it.
class SlideShowEndTest : public PictureViewsTest {
protected:
    ImageViewer& Viewer() { return pictures_->Viewer(); }
    void WaitForViewer() {
        for (int i = 0; i < 600 && Viewer().IsLoading(); ++i) Pump(50);
    }
    // Ctrl+L, then two steps of its timer: the third picture shows.
    void ShowThreeSlides() {
        WaitForViewer();
        Command(ID_IMAGES_SLIDE_SHOW);
        ASSERT_TRUE(Viewer().IsSlideShowRunning());
        for (int step = 0; step < 2; ++step) {
            Viewer().SendMessage(WM_TIMER, kSlideShowTimerId, 0);
            Pump(20);
        }
        WaitForViewer();
        ASSERT_TRUE(Viewer().IsFullScreen());
    }
    std::string ShownName() {
        const std::string& path = Viewer().GetPath();
        return path.substr(path.find_last_of('\\') + 1);
    }
};

TEST_F(SlideShowEndTest, EscapeInTheListLeavesTheSelectionOnThePictureShown) {
    FocusRow(1);  // a.gif
    ShowThreeSlides();
    EXPECT_EQ("b.jpg", ShownName());
    // Escape reaches the frame's key filter from the full-screen picture, which has the keyboard.
    ::PostMessageA(::GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    Pump(50);
    ASSERT_FALSE(Viewer().IsFullScreen());
    EXPECT_FALSE(Viewer().IsSlideShowRunning());

    PictureIndexList selected;
    pictures_->ListView().GetSelected(selected);
    EXPECT_EQ((PictureIndexList{3}), selected);
    EXPECT_EQ(3, FocusedRow());
    EXPECT_EQ("b.jpg", ShownName());
    EXPECT_EQ(List(), ::GetFocus()) << "the keys move on from the picture shown";
    // Images > Delete offers the picture the viewer shows, not the one the show began with.
    const std::string shown = Viewer().GetPath();
    AcceptingShell shell;
    Command(ID_IMAGES_DELETE);
    EXPECT_EQ((std::vector<std::string>{shown}), shell.deleted);
}

TEST_F(SlideShowEndTest, ClosingTheFullScreenInTheThumbnailsLeavesBothViewsOnThePictureShown) {
    SelectRows({0, 4});
    Command(ID_VIEW_THUMBNAILS);
    CThumbnailView& thumbnails = Thumbnails();
    const RECT cell = thumbnails.GetItemCell(3);  // b.jpg
    const POINT scroll = thumbnails.GetScrollPosition();
    const LPARAM at = MAKELPARAM((cell.left + cell.right) / 2 - scroll.x, cell.top + 30 - scroll.y);
    ::SendMessageA(thumbnails, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, at);
    ::SendMessageA(thumbnails, WM_LBUTTONUP, MK_CONTROL, at);
    Pump(50);
    ASSERT_EQ(3, thumbnails.GetFocusedIndex());
    ShowThreeSlides();
    EXPECT_EQ("e.gif", ShownName());
    // Alt+F4 on the full-screen window.
    Viewer().GetFullScreenPlace().SendMessage(WM_CLOSE);
    Pump(50);
    ASSERT_FALSE(Viewer().IsFullScreen());

    PictureIndexList selected;
    pictures_->ThumbnailView().GetSelected(selected);
    EXPECT_EQ((PictureIndexList{5}), selected);
    EXPECT_EQ(kThumbnailSelected | kThumbnailFocused, thumbnails.GetItemState(5));
    EXPECT_EQ(static_cast<HWND>(thumbnails), ::GetFocus());
    Command(ID_VIEW_LIST);
    pictures_->ListView().GetSelected(selected);
    EXPECT_EQ((PictureIndexList{5}), selected);
    EXPECT_EQ(5, FocusedRow());
    EXPECT_EQ("e.gif", ShownName());
}

}  // namespace
}  // namespace picturetest
