#include <gtest/gtest.h>
#include <windows.h>

#include "core/PictureSaver.h"
#include "tests/support/TestSupport.h"

namespace {

UrlQueueEntry Entry(const std::string& url, const std::string& referrer) {
    UrlQueueEntry e;
    e.url = url;
    e.referrer = referrer;
    e.isImage = 1;
    return e;
}

}  // namespace

TEST(PictureSaver, FoldersBySaveMode) {
    PicturePlace place;
    auto e = Entry("http://pics.example.com/x/y/p.png?size=2", "http://site.example.org/gallery/page.html");
    ASSERT_TRUE(PlanPicturePlace(0, "C:\\Images", e, place));
    EXPECT_EQ("C:\\Images\\", place.folder);
    EXPECT_EQ("p.png", place.name);
    ASSERT_TRUE(PlanPicturePlace(0, "C:\\Images\\", e, place));
    EXPECT_EQ("C:\\Images\\", place.folder);
    // Below a host folder the separator is added even after a trailing one.
    ASSERT_TRUE(PlanPicturePlace(2, "C:\\Images\\", e, place));
    EXPECT_EQ("C:\\Images\\\\pics.example.com\\x\\y\\", place.folder);
    ASSERT_TRUE(PlanPicturePlace(2, "C:\\Images", e, place));
    EXPECT_EQ("C:\\Images\\pics.example.com\\x\\y\\", place.folder);
    ASSERT_TRUE(PlanPicturePlace(1, "C:\\Images", e, place));
    EXPECT_EQ("C:\\Images\\site.example.org\\gallery\\", place.folder);
    EXPECT_EQ("p.png", place.name);
    ASSERT_TRUE(PlanPicturePlace(0, "C:\\Images", Entry("http://h/dir/", "http://h/"), place));
    EXPECT_EQ("(0)", place.name);
}

TEST(PictureSaver, HostileAddressesStayInTheSaveFolder) {
    PicturePlace place;
    ASSERT_TRUE(PlanPicturePlace(2, "C:\\Images", Entry("http://h/a/..%2f../CON/b:c*.jpg", ""), place));
    EXPECT_EQ(std::string::npos, place.folder.find("\\..\\"));
    EXPECT_EQ("b_c_.jpg", place.name);
    ASSERT_TRUE(PlanPicturePlace(2, "C:\\Images", Entry("http://h/nul/aux.txt/x.", ""), place));
    EXPECT_EQ("C:\\Images\\h\\_nul\\_aux.txt\\", place.folder);
    EXPECT_EQ("x_", place.name);
    EXPECT_EQ("_", SafePathStep(".."));
    EXPECT_EQ("_COM1", SafePathStep("COM1"));
    EXPECT_EQ("a_b", SafePathStep("a\\b"));
    EXPECT_EQ("a_b", SafePathStep(std::string("a\x01" "b")));
}

TEST(PictureSaver, ClashesNumberTheNameAndNeverOverwrite) {
    testsupport::ScratchDir dir;
    PicturePlace place{dir.Path(), "a.jpg"};
    ImageRecordList list;
    const uint8_t bytes[] = {1, 2, 3};
    for (int i = 0; i < 3; ++i) {
        std::string path = ChooseFreePicturePath(place, list);
        ASSERT_TRUE(WritePictureFile(path, bytes, sizeof(bytes)));
        list.Append(MakePictureRecord(Entry("http://h/a.jpg", "http://h/"), path, sizeof(bytes)));
    }
    EXPECT_EQ("a.jpg", list.GetAt(0).fileName);
    EXPECT_EQ("a(1).jpg", list.GetAt(1).fileName);
    EXPECT_EQ("a(2).jpg", list.GetAt(2).fileName);
    EXPECT_EQ(3, list.GetAt(2).fileSize);
    EXPECT_EQ("http://h/", list.GetAt(2).pageUrl);

    // A file on disk that no record lists is not overwritten either.
    ASSERT_TRUE(testsupport::WriteFileText(dir.File("b"), "keep"));
    PicturePlace other{dir.Path(), "b"};
    EXPECT_EQ(dir.File("b(1)"), ChooseFreePicturePath(other, list));
    // A record listing another letter case still counts as taken.
    PicturePlace upper{dir.Path(), "A.JPG"};
    EXPECT_EQ(dir.File("A(3).JPG"), ChooseFreePicturePath(upper, list));
}

TEST(PictureSaver, FailedWriteLeavesNoFile) {
    testsupport::ScratchDir dir;
    const uint8_t bytes[] = {1};
    ASSERT_TRUE(WritePictureFile(dir.File("sub\\deep\\x.jpg"), bytes, 1));
    // The name is taken now: writing it again must fail rather than overwrite.
    EXPECT_FALSE(WritePictureFile(dir.File("sub\\deep\\x.jpg"), bytes, 1));
    std::vector<uint8_t> back;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("sub\\deep\\x.jpg"), back));
    EXPECT_EQ(1u, back.size());
    // A folder that cannot exist (a file stands in its place).
    EXPECT_FALSE(WritePictureFile(dir.File("sub\\deep\\x.jpg\\y.jpg"), bytes, 1));
}

TEST(PictureSaver, AFileOfTheSameBytesIsTakenAndAnyOtherFileOfThatNameIsLeftAlone) {
    testsupport::ScratchDir dir;
    // Larger than one comparison piece, differing only in its last byte.
    std::vector<uint8_t> picture(200000);
    for (size_t i = 0; i < picture.size(); ++i) picture[i] = static_cast<uint8_t>(i * 7);
    ASSERT_EQ(PictureWriteResult::kWritten, SavePictureBytes(dir.File("a.jpg"), picture.data(), picture.size()));
    EXPECT_EQ(PictureWriteResult::kAlreadyThere, SavePictureBytes(dir.File("a.jpg"), picture.data(), picture.size()));
    std::vector<uint8_t> other = picture;
    other.back() ^= 1;
    EXPECT_EQ(PictureWriteResult::kNameTaken, SavePictureBytes(dir.File("a.jpg"), other.data(), other.size()));
    EXPECT_EQ(PictureWriteResult::kNameTaken, SavePictureBytes(dir.File("a.jpg"), picture.data(), picture.size() - 1));
    std::vector<uint8_t> back;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("a.jpg"), back));
    EXPECT_TRUE(back == picture);
    // A folder of that name is never "the same file"; an empty picture matches an empty file.
    ASSERT_TRUE(::CreateDirectoryA(dir.File("b.jpg").c_str(), nullptr));
    EXPECT_EQ(PictureWriteResult::kNameTaken, SavePictureBytes(dir.File("b.jpg"), picture.data(), 0));
    ASSERT_TRUE(testsupport::WriteFileText(dir.File("c.jpg"), ""));
    EXPECT_EQ(PictureWriteResult::kAlreadyThere, SavePictureBytes(dir.File("c.jpg"), picture.data(), 0));
}

TEST(PictureSaver, AFolderMadeOnceIsMadeAgainWhenItWasRemoved) {
    testsupport::ScratchDir dir;
    const uint8_t bytes[] = {7};
    ASSERT_TRUE(WritePictureFile(dir.File("run\\a\\1.jpg"), bytes, 1));
    ASSERT_TRUE(WritePictureFile(dir.File("run\\a\\2.jpg"), bytes, 1));
    // The user removes the folder during the run: the next picture still lands.
    ASSERT_TRUE(DeleteFileA(dir.File("run\\a\\1.jpg").c_str()));
    ASSERT_TRUE(DeleteFileA(dir.File("run\\a\\2.jpg").c_str()));
    ASSERT_TRUE(RemoveDirectoryA(dir.File("run\\a").c_str()));
    ASSERT_TRUE(WritePictureFile(dir.File("run\\a\\3.jpg"), bytes, 1));
    EXPECT_TRUE(testsupport::FileExists(dir.File("run\\a\\3.jpg")));
}

TEST(PictureSaver, IndexNumbersManySavesOfOneName) {
    testsupport::ScratchDir dir;
    ImageRecordList list;
    ImageRecord old;
    old.localPath = dir.File("X(2).JPG");   // listed in another letter case
    list.Append(old);
    PictureNameIndex index;
    index.Reset(list);
    ASSERT_TRUE(testsupport::WriteFileText(dir.File("x(4).jpg"), "not ours"));   // on disk only
    PicturePlace place{dir.Path(), "x.jpg"};
    std::vector<std::string> names;
    const uint8_t byte = 7;
    for (int i = 0; i < 40; ++i) {
        std::string path = ChooseFreePicturePath(place, index);
        ASSERT_TRUE(WritePictureFile(path, &byte, 1)) << path;
        index.Add(path);
        names.push_back(path.substr(dir.Path().size()));
    }
    EXPECT_EQ("x.jpg", names[0]);
    EXPECT_EQ("x(1).jpg", names[1]);
    EXPECT_EQ("x(3).jpg", names[2]);
    EXPECT_EQ("x(5).jpg", names[3]);
    EXPECT_EQ("x(41).jpg", names[39]);
    std::vector<uint8_t> kept;
    ASSERT_TRUE(testsupport::ReadFileBytes(dir.File("x(4).jpg"), kept));
    EXPECT_EQ(8u, kept.size());
}
