// A working set made by the program's own code (settings, a tree with a folder, two tasks with
// their picture lists, a resume file), one file damaged, locked or of a newer version at a time,
// through the real program's start and close: the file is kept aside byte for byte before
// anything is written over it, the user is told in a real message box, the other files keep
// their bytes, and the program ends normally.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <map>
#include <string>
#include <vector>

#include "core/ProgramSettings.h"
#include "core/PropertyBag.h"
#include "core/ResumeFile.h"
#include "core/SearchLinkTask.h"
#include "core/TaskFileNames.h"
#include "tests/startup/ProgramRun.h"
#include "tests/support/TestSupport.h"
#include "ui/tasks/TreeFile.h"

namespace {

using Bytes = std::vector<uint8_t>;

void NoReport(const std::string&) {}

const char kFrameClass[] = "Brackenfly_MainFrame";
const char kBoxClass[] = "#32770";

BOOL CALLBACK FindTreeControl(HWND child, LPARAM found) {
    char className[32] = {};
    ::GetClassNameA(child, className, sizeof(className));
    if (std::string(className) != WC_TREEVIEWA) return TRUE;
    *reinterpret_cast<HWND*>(found) = child;
    return FALSE;
}

// The tree the program shows, in outline: for each item under the root, how many items it holds.
std::vector<int> ShownTreeOutline(HWND frame) {
    HWND tree = nullptr;
    ::EnumChildWindows(frame, &FindTreeControl, reinterpret_cast<LPARAM>(&tree));
    std::vector<int> outline;
    if (!tree) return outline;
    // Item handles only: another process's tree answers these without any memory of ours.
    auto next = [tree](DWORD_PTR item, WPARAM how) {
        DWORD_PTR result = 0;
        ::SendMessageTimeoutA(tree, TVM_GETNEXTITEM, how, static_cast<LPARAM>(item), SMTO_NORMAL, 5000, &result);
        return result;
    };
    const DWORD_PTR root = next(0, TVGN_ROOT);
    for (DWORD_PTR child = next(root, TVGN_CHILD); child; child = next(child, TVGN_NEXT)) {
        int held = 0;
        for (DWORD_PTR inner = next(child, TVGN_CHILD); inner; inner = next(inner, TVGN_NEXT)) ++held;
        outline.push_back(held);
    }
    return outline;
}

bool IsFolder(const std::string& path) {
    const DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

TreeFileNode Node(const std::string& name, bool folder, std::vector<TreeFileNode> children = {}) {
    TreeFileNode node;
    node.folder = folder;
    node.name = name;
    node.children = std::move(children);
    return node;
}

class StoredFilesRunTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(::CopyFileA(startuptest::BuiltProgramPath().c_str(), dir_.File("Brackenfly.exe").c_str(), FALSE));
        SetTaskProgramFolder(dir_.Path());
        MakeWorkingSet();
    }
    void TearDown() override { SetTaskProgramFolder(""); }

    void MakeWorkingSet() {
        {
            ProgramSettings settings(nullptr, dir_.Path(), &NoReport);
            settings.ThreadsAmount = 9;
            settings.ProxyAddress = "proxy.example";
            ASSERT_TRUE(settings.Save());
        }
        SearchLinkTask alpha;
        alpha.TaskName = "Alpha";
        for (int i = 0; i < 3; ++i) {
            ImageRecord r;
            r.imageUrl = "http://h/" + std::to_string(i) + ".jpg";
            r.localPath = "C:\\p\\" + std::to_string(i) + ".jpg";
            r.fileName = std::to_string(i) + ".jpg";
            alpha.DownloadedImages.Append(r);
        }
        ASSERT_TRUE(alpha.Save());
        ASSERT_TRUE(alpha.SaveDownloads());
        SearchLinkTask beta;
        beta.TaskName = "Beta";
        beta.Resume = true;
        ASSERT_TRUE(beta.Save());
        ASSERT_TRUE(beta.SaveDownloads());
        UrlQueue queue;
        UrlQueueEntry next;
        next.url = "http://h/next.html";
        queue.PushBack(next);
        ASSERT_TRUE(SaveResumeFile(beta.GetCacheFilePath(), queue, 5, nullptr));
        ASSERT_TRUE(SaveTreeFile(Tasks("Tree.config"),
                                 {Node("Folder", true, {Node(alpha.TaskFileName, false)}), Node(beta.TaskFileName, false)}));
        for (const std::string& name : StoredFiles()) ASSERT_TRUE(testsupport::ReadFileBytes(name, before_[name])) << name;
    }

    std::string Tasks(const std::string& name) const { return dir_.Path() + "Tasks\\" + name; }
    std::vector<std::string> StoredFiles() const {
        return {dir_.File("Brackenfly.config"), Tasks("Tree.config"),          Tasks("Alpha.task"),
                Tasks("Alpha.task.downloads"),  Tasks("Beta.task"),           Tasks("Beta.task.downloads"),
                Tasks("Beta.task.cache")};
    }

    // Writes bytes over one stored file (the damage of the case).
    void Damage(const std::string& path, const Bytes& bytes) {
        ASSERT_TRUE(testsupport::WriteFileBytes(path, bytes));
        before_[path] = bytes;
    }
    Bytes Original(const std::string& path) { return before_[path]; }

    std::string RunAnsweringOneBox(testsupport::HeldFile* releaseAfterBox = nullptr) {
        return startuptest::RunAnsweringOneBox(dir_.Path(), releaseAfterBox).text;
    }

    // Every stored file but the ones named still holds the bytes it held before the run; the
    // settings file (whose tip counter moves on with each start) still holds the user's values.
    void ExpectOthersUntouched(const std::vector<std::string>& except) {
        for (const std::string& name : StoredFiles()) {
            bool skip = false;
            for (const std::string& e : except) skip = skip || e == name;
            if (skip) continue;
            if (name == dir_.File("Brackenfly.config")) {
                ProgramSettings settings(nullptr, dir_.Path(), &NoReport);
                EXPECT_EQ(9, settings.ThreadsAmount);
                EXPECT_EQ("proxy.example", settings.ProxyAddress);
                continue;
            }
            Bytes now;
            ASSERT_TRUE(testsupport::ReadFileBytes(name, now)) << name;
            EXPECT_EQ(before_[name], now) << name;
        }
    }
    void ExpectKeptAs(const std::string& copy, const Bytes& bytes) {
        Bytes kept;
        ASSERT_TRUE(testsupport::ReadFileBytes(copy, kept)) << copy;
        EXPECT_EQ(bytes, kept) << copy;
    }

    testsupport::ScratchDir dir_;
    std::map<std::string, Bytes> before_;
};

TEST_F(StoredFilesRunTest, DamagedPictureListsAreKeptAsideNotReplacedByAnEmptyList) {
    const std::string list = Tasks("Alpha.task.downloads");
    Bytes good = Original(list);
    const size_t blobAt = 7 + 12 + 64 + 4;  // "DownloadedImages" sorts first
    PropertyBag bag;
    ASSERT_TRUE(bag.Load(list));
    std::vector<uint8_t> blob;
    ASSERT_TRUE(bag.GetBlob("DownloadedImages", blob));
    // One flipped bit in the header; a cut after the list; a count that claims two billion
    // records; a negative count; a cut inside the third record; bytes after the last record.
    Bytes flipped = good;
    flipped[3] ^= 0x01;
    Bytes cut(good.begin(), good.begin() + static_cast<long>(good.size() - 9));
    Bytes count = good;
    count[blobAt + 3] = 0x7F;
    Bytes negative = good;
    negative[blobAt] = 0xF0;
    negative[blobAt + 1] = negative[blobAt + 2] = negative[blobAt + 3] = 0xFF;
    const Bytes cutInside(good.begin(), good.begin() + static_cast<long>(blobAt + blob.size() - 10));
    std::vector<uint8_t> longer = blob;
    longer.insert(longer.end(), {1, 2, 3, 4});
    bag.SetBlob("DownloadedImages", longer);
    ASSERT_TRUE(bag.Save(list));
    Bytes trailing;
    ASSERT_TRUE(testsupport::ReadFileBytes(list, trailing));
    // The records each damage leaves, written back at close.
    const std::vector<std::pair<Bytes, int>> rounds = {{flipped, 0}, {cut, 3},      {count, 3},
                                                       {negative, 0}, {cutInside, 2}, {trailing, 3}};
    int round = 0;
    for (const auto& damage : rounds) {
        SCOPED_TRACE(++round);
        Damage(list, damage.first);
        const std::string text = RunAnsweringOneBox();
        const std::string copy = list + ".damaged" + (round == 1 ? std::string() : "-" + std::to_string(round));
        EXPECT_NE(std::string::npos, text.find(list)) << text;
        EXPECT_NE(std::string::npos, text.find(copy)) << text;
        ExpectKeptAs(copy, damage.first);
        ExpectOthersUntouched({list});
        SearchLinkTask back;
        ASSERT_TRUE(back.Load("Alpha.task"));
        EXPECT_EQ(damage.second, back.DownloadedImages.GetCount());
    }
}

TEST_F(StoredFilesRunTest, ATaskHeldWhileTheProgramStartsKeepsItsPlaceInTheTree) {
    // The task file, then its picture list, held by another program: the task is left out of
    // the run with a word, and the tree file written at close still has it in its folder.
    for (const std::string& held : {Tasks("Alpha.task"), Tasks("Alpha.task.downloads")}) {
        SCOPED_TRACE(held);
        testsupport::HeldFile holder(held);
        ASSERT_TRUE(holder.Held());
        const std::string text = RunAnsweringOneBox(&holder);
        EXPECT_NE(std::string::npos, text.find(held)) << text;
        ExpectOthersUntouched({});
        EXPECT_FALSE(testsupport::FileExists(held + ".damaged"));
    }
}

// The fault: a folder standing where a task's picture list belongs loaded the task with no
// pictures and no word, and the pictures of the run could not be recorded.
TEST_F(StoredFilesRunTest, AFolderInThePlaceOfAPictureListLeavesTheTaskOutInItsPlaceWithAWord) {
    const std::string list = Tasks("Alpha.task.downloads");
    ASSERT_TRUE(::DeleteFileA(list.c_str()));
    ASSERT_TRUE(::CreateDirectoryA(list.c_str(), nullptr));
    const std::string text = RunAnsweringOneBox();
    EXPECT_NE(std::string::npos, text.find(list)) << text;
    EXPECT_NE(std::string::npos, text.find("folder")) << text;
    // The tree file still has the task in its folder; the folder is left as it was.
    ExpectOthersUntouched({list});
    EXPECT_TRUE(IsFolder(list));
    EXPECT_FALSE(testsupport::FileExists(list + ".damaged"));
}

// The fault: the main window, made and hidden while a start-up warning was up, closed by its
// class (WM_CLOSE) or told that the session ends, wrote its still empty tree over the tree
// file: the next start showed every task flat at the root.
TEST_F(StoredFilesRunTest, ClosingOrEndingTheSessionDuringAStartUpWarningKeepsTheTreeFile) {
    const std::string task = Tasks("Alpha.task");
    const Bytes good = Original(task);
    Damage(task, Bytes(good.begin(), good.begin() + static_cast<long>(good.size() - 5)));
    for (bool endSession : {false, true}) {
        SCOPED_TRACE(endSession ? "end of session" : "WM_CLOSE");
        // Each round is warned anew: the copy of the round before would stand for these bytes.
        ::DeleteFileA((task + ".damaged").c_str());
        startuptest::ProgramRun run(dir_.Path(), "");
        ASSERT_TRUE(run.Started());
        std::string which;
        HWND box = run.WaitForEither(kBoxClass, kFrameClass, which);
        ASSERT_EQ(kBoxClass, which);
        EXPECT_NE(std::string::npos, startuptest::BoxText(box).find(task + ".damaged"));
        HWND frame = run.FindWindowShownOrNot(kFrameClass);
        ASSERT_TRUE(frame);
        EXPECT_FALSE(::IsWindowVisible(frame));
        // Sent, so each has been handled by the time it returns.
        DWORD_PTR answer = 0;
        if (endSession) {
            ASSERT_TRUE(::SendMessageTimeoutA(frame, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                              startuptest::kWaitMs, &answer));
            ASSERT_TRUE(::SendMessageTimeoutA(frame, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_NORMAL,
                                              startuptest::kWaitMs, &answer));
        } else {
            ASSERT_TRUE(::SendMessageTimeoutA(frame, WM_CLOSE, 0, 0, SMTO_NORMAL, startuptest::kWaitMs, &answer));
        }
        // Where the session really ends, the program ends here: nothing may be lost by then.
        ExpectOthersUntouched({task});
        // The warning answered, unless it went with the window.
        if (::IsWindow(box)) ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        if (endSession) {
            // The session went on after all: the program comes up and closes as ever.
            HWND shown = run.WaitForWindow(kFrameClass);
            ASSERT_TRUE(shown);
            ::PostMessageA(shown, WM_CLOSE, 0, 0);
        }
        EXPECT_EQ(0, run.WaitForExit());
        ExpectOthersUntouched({task});
    }

    // The next start (told nothing: the damaged bytes are kept already) shows the folder with
    // its task, then the other task.
    startuptest::ProgramRun next(dir_.Path(), "");
    ASSERT_TRUE(next.Started());
    HWND frame = next.WaitForWindow(kFrameClass);
    ASSERT_TRUE(frame);
    EXPECT_EQ((std::vector<int>{1, 0}), ShownTreeOutline(frame));
    ::PostMessageA(frame, WM_CLOSE, 0, 0);
    EXPECT_EQ(0, next.WaitForExit());
    ExpectOthersUntouched({task});
}

TEST_F(StoredFilesRunTest, ADamagedSettingsFileIsKeptAsideBeforeTheRunWritesItsOwn) {
    const std::string path = dir_.File("Brackenfly.config");
    const Bytes good = Original(path);
    const Bytes cut(good.begin(), good.begin() + static_cast<long>(good.size() / 2));
    Damage(path, cut);
    const std::string text = RunAnsweringOneBox();
    EXPECT_NE(std::string::npos, text.find(path + ".damaged")) << text;
    ExpectKeptAs(path + ".damaged", cut);
    ExpectOthersUntouched({path});
}

TEST_F(StoredFilesRunTest, ANewerSettingsFileIsCopiedAsideWithTheKeysThisVersionDoesNotKnow) {
    const std::string path = dir_.File("Brackenfly.config");
    PropertyBag newer;
    ASSERT_TRUE(newer.Load(path));
    newer.versionMajor = 2;
    newer.versionMinor = 3;
    newer.SetString("AKeyOfTheFuture", "kept");
    ASSERT_TRUE(newer.Save(path));
    Bytes newerBytes;
    ASSERT_TRUE(testsupport::ReadFileBytes(path, newerBytes));
    const std::string text = RunAnsweringOneBox();
    EXPECT_NE(std::string::npos, text.find("newer version")) << text;
    ExpectKeptAs(path + ".newer", newerBytes);
    // This version wrote its own file, with what it understood of the newer one.
    PropertyBag written;
    ASSERT_TRUE(written.Load(path));
    EXPECT_FALSE(written.IsNewerThanCurrent());
    int32_t threads = 0;
    EXPECT_TRUE(written.GetInt32("ThreadsAmount", threads));
    EXPECT_EQ(9, threads);
    ExpectOthersUntouched({path});
}

TEST_F(StoredFilesRunTest, ATreeFileHeldWhileTheProgramStartsKeepsItsFolders) {
    const std::string tree = Tasks("Tree.config");
    testsupport::HeldFile holder(tree);
    ASSERT_TRUE(holder.Held());
    // Let go as soon as the program has spoken: the close must still not write a flat tree.
    const std::string text = RunAnsweringOneBox(&holder);
    EXPECT_NE(std::string::npos, text.find(tree)) << text;
    ExpectOthersUntouched({});
    EXPECT_FALSE(testsupport::FileExists(tree + ".damaged"));
}

TEST_F(StoredFilesRunTest, DamagedOrNewerTreeFilesAreKeptAsideWithTheFoldersReadWhole) {
    const std::string tree = Tasks("Tree.config");
    const Bytes good = Original(tree);
    // The folder's count of children claims two billion: the folder and its task read whole stay.
    Bytes cut = good;
    const size_t folderCountAt = 7 + 12 + 64 + 4 + 4 + 256;
    cut[folderCountAt] = cut[folderCountAt + 1] = cut[folderCountAt + 2] = 0xFF;
    cut[folderCountAt + 3] = 0x7F;
    // The folder's count made negative; bytes other than the padding's zeros after the records.
    Bytes negative = good;
    negative[folderCountAt] = 0xF0;
    negative[folderCountAt + 1] = negative[folderCountAt + 2] = negative[folderCountAt + 3] = 0xFF;
    Bytes trailing = good;
    trailing[trailing.size() - 100] = 'x';
    int round = 0;
    std::string text;
    for (const Bytes& damaged : {cut, negative, trailing}) {
        SCOPED_TRACE(++round);
        const std::string copy = tree + ".damaged" + (round == 1 ? std::string() : "-" + std::to_string(round));
        Damage(tree, damaged);
        text = RunAnsweringOneBox();
        EXPECT_NE(std::string::npos, text.find(copy)) << text;
        ExpectKeptAs(copy, damaged);
        ExpectOthersUntouched({tree});
        // The folder read whole is still in the tree the program wrote.
        std::vector<TreeFileNode> nodes;
        ASSERT_EQ(TreeFileStatus::Loaded, LoadTreeFile(tree, nodes));
        ASSERT_FALSE(nodes.empty());
        EXPECT_TRUE(nodes[0].folder);
        EXPECT_EQ("Folder", nodes[0].name);
        // Only the negative count lost the folder's task, to the root.
        if (round == 2) {
            EXPECT_TRUE(nodes[0].children.empty());
        } else {
            ASSERT_FALSE(nodes[0].children.empty());
            EXPECT_EQ("Alpha.task", nodes[0].children[0].name);
        }
    }

    PropertyBag newer;
    ASSERT_TRUE(newer.Load(tree));
    newer.versionMajor = 3;
    ASSERT_TRUE(newer.Save(tree));
    Bytes newerBytes;
    ASSERT_TRUE(testsupport::ReadFileBytes(tree, newerBytes));
    text = RunAnsweringOneBox();
    EXPECT_NE(std::string::npos, text.find(tree + ".newer")) << text;
    ExpectKeptAs(tree + ".newer", newerBytes);
    ExpectKeptAs(tree + ".damaged", cut);
}

TEST_F(StoredFilesRunTest, ADamagedTaskFileKeepsTheTaskAndItsPictures) {
    const std::string task = Tasks("Alpha.task");
    const Bytes good = Original(task);
    const Bytes cut(good.begin(), good.begin() + static_cast<long>(good.size() - 5));
    Damage(task, cut);
    const std::string text = RunAnsweringOneBox();
    EXPECT_NE(std::string::npos, text.find(task + ".damaged")) << text;
    ExpectKeptAs(task + ".damaged", cut);
    // The task stayed in its folder with its pictures: the close wrote both back as they were.
    ExpectOthersUntouched({task});
    Bytes now;
    ASSERT_TRUE(testsupport::ReadFileBytes(task, now));
    EXPECT_EQ(cut, now);  // nothing wrote over it in this run
}

}  // namespace
