// The file-types page: groups and extensions in a tree, new, edit and delete through the real
// file-type dialog and the question box, and only OK reaching the settings.
#include "tests/options/OptionsFixture.h"
#include "resources/options_ids.h"

using testsupport::Click;
using testsupport::ModalScript;
using testsupport::TypeText;

namespace {

// "name: ext ext | name: ..." of the page's tree, as the user sees it.
std::string TreeText(HWND page) {
    CTreeViewCtrl tree(::GetDlgItem(page, IDC_FILETYPES_TREE));
    std::string text;
    for (HTREEITEM group = tree.GetRootItem(); group; group = tree.GetNextSiblingItem(group)) {
        if (!text.empty()) text += " | ";
        text += tree.GetItemText(group) + ":";
        for (HTREEITEM ext = tree.GetChildItem(group); ext; ext = tree.GetNextSiblingItem(ext))
            text += " " + tree.GetItemText(ext);
    }
    return text;
}

HTREEITEM FindItem(HWND page, const std::string& group, const std::string& extension = std::string()) {
    CTreeViewCtrl tree(::GetDlgItem(page, IDC_FILETYPES_TREE));
    for (HTREEITEM item = tree.GetRootItem(); item; item = tree.GetNextSiblingItem(item)) {
        if (tree.GetItemText(item) != group) continue;
        if (extension.empty()) return item;
        for (HTREEITEM ext = tree.GetChildItem(item); ext; ext = tree.GetNextSiblingItem(ext))
            if (tree.GetItemText(ext) == extension) return ext;
    }
    return nullptr;
}

void Select(HWND page, HTREEITEM item) { CTreeViewCtrl(::GetDlgItem(page, IDC_FILETYPES_TREE)).SelectItem(item); }

}  // namespace

TEST_F(OptionsFixture, FileTypeGroupsAreEditedInTheTreeAndSavedOnOk) {
    Settings().Filetypes = {{"Web", ".gif", ".jpg", ".gif"}, {}, {"Raw", ".nef"}};
    HWND page = nullptr;
    std::string newTitle, editTitle, editExtensions;
    ModalScript script;
    script.Then([&](HWND) {
        SelectPage(IDD_OPTIONS_FILETYPES);
        page = Page(IDD_OPTIONS_FILETYPES);
        EXPECT_EQ("Web: .gif .jpg .gif | Raw: .nef", TreeText(page));
        Click(page, IDC_FILETYPES_NEW);
    }).Then([&](HWND fileType) {
        // The nested dialog: a name in use is refused, then the typed list is split.
        newTitle = testsupport::WindowText(fileType);
        TypeText(fileType, IDC_FILETYPE_NAME, "Raw");
        TypeText(fileType, IDC_FILETYPE_EXTENSIONS, "jpg;;.png;");
        Click(fileType, IDOK);
    }).Then([&](HWND fileType) {
        TypeText(fileType, IDC_FILETYPE_NAME, "Scans");
        Click(fileType, IDOK);
    }).Then([&](HWND) {
        EXPECT_EQ("Web: .gif .jpg .gif | Raw: .nef | Scans: .jpg .png", TreeText(page));
        Select(page, FindItem(page, "Raw", ".nef"));  // an extension stands for its group
        Click(page, IDC_FILETYPES_EDIT);
    }).Then([&](HWND fileType) {
        editTitle = testsupport::WindowText(fileType);
        editExtensions = testsupport::ItemText(fileType, IDC_FILETYPE_EXTENSIONS);
        // Its own name stays acceptable.
        TypeText(fileType, IDC_FILETYPE_EXTENSIONS, "nef;cr2");
        Click(fileType, IDOK);
    }).Then([&](HWND) {
        EXPECT_EQ("Web: .gif .jpg .gif | Raw: .nef .cr2 | Scans: .jpg .png", TreeText(page));
        prompts_.messageBoxAnswers = {IDYES, IDNO};
        Select(page, FindItem(page, "Web", ".gif"));
        Click(page, IDC_FILETYPES_DELETE);
    }).Then([&](HWND) {
        Select(page, FindItem(page, "Scans"));
        Click(page, IDC_FILETYPES_DELETE);
    }).Then([&](HWND frame) {
        // Only the first equal extension went; the group answered No stays.
        EXPECT_EQ("Web: .jpg .gif | Raw: .nef .cr2 | Scans: .jpg .png", TreeText(page));
        EXPECT_EQ(3u, Settings().Filetypes.size());  // nothing reached the settings yet
        EXPECT_EQ(4u, Settings().Filetypes[0].size());
        Click(frame, IDOK);
    });
    EXPECT_EQ(IDOK, RunOptions(script));
    EXPECT_EQ("New File Type", newTitle);
    EXPECT_EQ("Edit File Type", editTitle);
    EXPECT_EQ(".nef;", editExtensions);
    ASSERT_EQ(3u, prompts_.boxes.size());
    EXPECT_EQ("File type already present", prompts_.boxes[0].text);
    EXPECT_EQ("Are you sure you want to delete '.gif'?", prompts_.boxes[1].text);
    EXPECT_EQ("Question", prompts_.boxes[1].caption);
    EXPECT_EQ(static_cast<UINT>(MB_ICONQUESTION | MB_YESNO), prompts_.boxes[1].type);
    EXPECT_EQ("Are you sure you want to delete 'Scans'?", prompts_.boxes[2].text);
    const std::vector<FileTypeGroup> expected = {
        {"Web", ".jpg", ".gif"}, {}, {"Raw", ".nef", ".cr2"}, {"Scans", ".jpg", ".png"}};
    EXPECT_EQ(expected, Settings().Filetypes);
    EXPECT_EQ(expected, StoredSettings()->Filetypes);
}

TEST_F(OptionsFixture, DeletingAGroupAndCancellingKeepsTheSettingsGroups) {
    const std::vector<FileTypeGroup> before = Settings().Filetypes;
    ModalScript script;
    script.Then([&](HWND) {
        HWND page = Page(IDD_OPTIONS_FILETYPES);
        prompts_.messageBoxAnswers = {IDYES};
        Select(page, FindItem(page, "Internet Pictures"));
        Click(page, IDC_FILETYPES_DELETE);
    }).Then([&](HWND frame) {
        EXPECT_EQ("Graphics: .tif .tiff .psd .psp .wmf .ico .bmp .cur .ani", TreeText(Page(IDD_OPTIONS_FILETYPES)));
        Click(frame, IDCANCEL);
    });
    EXPECT_EQ(IDCANCEL, RunOptions(script));
    EXPECT_EQ(before, Settings().Filetypes);
}
