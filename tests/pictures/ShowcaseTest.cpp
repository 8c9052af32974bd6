// Photographs of the picture views and the selection dialog for scripts/dialog-shots.sh
// (SHOTS_PROGRAMS=pictures); not part of the ordinary run.
#include <windows.h>
#include <commctrl.h>
#include "resources/command_ids.h"
#include "tests/pictures/PicturesHarness.h"
#include "tests/support/DialogShots.h"
#include "tests/support/ModalScript.h"

namespace picturetest {
namespace {

class PictureShowcaseTest : public PicturesTest {};

TEST_F(PictureShowcaseTest, DISABLED_Showcase) {
    AddPicture("p100x80.png", "", "garden.png");
    AddPicture("o60x40.gif", "sub", "th_orange.gif");
    AddPicture("r120x90.jpg", "", "red_square.jpg");
    AddPicture("b30x20.bmp", "", "blue.bmp");
    pictures_->SetTask(&task_);
    FocusRow(2);
    Pump(300);
    testsupport::Photograph("pictures-list");
    ::SendMessageA(*frame_, WM_COMMAND, ID_VIEW_THUMBNAILS, 0);
    Pump(1500);
    testsupport::Photograph("pictures-thumbnails");
    // Two rows of them sorted by size from the picture menu's command.
    const char* more[] = {"p100x80.png", "o60x40.gif", "r120x90.jpg", "b30x20.bmp"};
    for (int i = 0; i < 12; ++i) {
        const std::string fixture = more[i % 4];
        AddPicture(fixture, "", "more_" + std::to_string(i) + fixture.substr(fixture.size() - 4));
    }
    pictures_->OnImagesAdded(&task_, 4, 12, false);
    Pump(1500);
    ::SendMessageA(*frame_, WM_COMMAND, ID_IMAGES_SORT_SIZE, 0);
    Pump(1500);
    testsupport::Photograph("pictures-thumbnails-sorted");
    testsupport::ModalScript script;
    script.Then([](HWND) { testsupport::Photograph("select-images"); })
        .Then([](HWND dialog) { testsupport::Click(dialog, IDCANCEL); });
    script.Run([&] { return ::SendMessageA(*frame_, WM_COMMAND, ID_IMAGES_SELECT_BY, 0), INT_PTR(1); });
}

}  // namespace
}  // namespace picturetest
