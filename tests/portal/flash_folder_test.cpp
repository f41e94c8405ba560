// The flash folder's temporary files: never opened through a name that is
// already taken, removed by the start-up clean-up whatever they are, and on
// the disk before they get a game's name. In a plain and a Chinese-named
// folder.
#include "net/stream.h"
#include "portal/flash_folder.h"
#include "text/file_path.h"

#include <gtest/gtest.h>

#include <dlfcn.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace zorvia;

namespace {

// The syncs and renames of this process while recording: the inode synced,
// or the inode renamed.
struct DiskCall {
    char kind; // 's' sync, 'r' rename
    ino_t inode;
};
std::atomic<bool> recording{false};
std::vector<DiskCall> diskCalls;
// While not negative: how many syncs pass before one that does not finish
// until syncReleased.
std::atomic<int> syncsToPass{-1};
std::atomic<bool> syncHeld{false};
std::atomic<bool> syncReleased{false};

} // namespace

extern "C" int fsync(int fd) {
    static const auto real = reinterpret_cast<int (*)(int)>(::dlsym(RTLD_NEXT, "fsync"));
    struct stat st {};
    if (recording && ::fstat(fd, &st) == 0)
        diskCalls.push_back({'s', st.st_ino});
    if (syncsToPass >= 0 && syncsToPass.fetch_sub(1) == 0) {
        syncHeld = true;
        while (!syncReleased)
            std::this_thread::yield();
    }
    return real(fd);
}

extern "C" int rename(const char* from, const char* to) noexcept {
    static const auto real =
        reinterpret_cast<int (*)(const char*, const char*)>(::dlsym(RTLD_NEXT, "rename"));
    struct stat st {};
    if (recording && ::lstat(from, &st) == 0)
        diskCalls.push_back({'r', st.st_ino});
    return real(from, to);
}

namespace {

std::string content(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), {}};
}

void write(const fs::path& file, const std::string& text) {
    std::ofstream(file, std::ios::binary) << text;
}

// A folder holding a flash folder, removed with everything in it.
class Folder {
public:
    explicit Folder(const std::string& name)
        : root_(fs::temp_directory_path() / ("zorvia_flash_" + std::to_string(::getpid()))),
          path_(root_ / name) {
        fs::create_directories(path_ / "flash");
    }
    ~Folder() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    const fs::path& path() const { return path_; }
    fs::path flash() const { return path_ / "flash"; }
    portal::FlashFolder folder() const {
        return portal::FlashFolder(text::fromFileSystem(flash().native()));
    }
    // The temporary files in the flash folder.
    std::vector<fs::path> partials() const {
        std::vector<fs::path> found;
        for (const auto& entry : fs::directory_iterator(flash()))
            if (entry.path().filename().native().rfind(".zorvia-part-", 0) == 0)
                found.push_back(entry.path());
        return found;
    }

private:
    fs::path root_;
    fs::path path_;
};

const char* const kFolders[] = {"plain", "下载 '目录'"};

TEST(PartialGameFile, NeverOpensANameThatIsTaken) {
    for (const char* name : kFolders) {
        SCOPED_TRACE(name);
        const Folder dir(name);
        // The name the next file would take, from a file made and dropped.
        std::string taken;
        {
            portal::PartialGameFile probe(dir.folder(), "probe.swf");
            ASSERT_EQ(dir.partials().size(), 1u);
            taken = dir.partials().front().filename().native();
        }
        // Links under the next names: to a file outside the flash folder,
        // and to nothing.
        write(dir.path() / "victim", "keep");
        const std::string prefix = taken.substr(0, taken.rfind('-') + 1);
        const int serial = std::stoi(taken.substr(prefix.size()));
        for (int i = 1; i <= 4; ++i)
            fs::create_symlink(i % 2 ? dir.path() / "victim" : dir.path() / "missing",
                               dir.flash() / (prefix + std::to_string(serial + i)));

        portal::PartialGameFile game(dir.folder(), "game.swf");
        game.stream().Write("data", 4);
        game.commit();

        EXPECT_EQ(content(dir.path() / "victim"), "keep");
        EXPECT_FALSE(fs::exists(fs::symlink_status(dir.path() / "missing")));
        EXPECT_EQ(fs::symlink_status(dir.flash() / "game.swf").type(), fs::file_type::regular);
        EXPECT_EQ(content(dir.flash() / "game.swf"), "data");
        EXPECT_EQ(dir.partials().size(), 4u);
    }
}

TEST(FlashFolder, TheCleanUpRemovesEveryTemporaryNameAndNothingElse) {
    for (const char* name : kFolders) {
        SCOPED_TRACE(name);
        const Folder dir(name);
        write(dir.path() / "victim", "keep");
        write(dir.flash() / "game.swf", "game");
        write(dir.flash() / ".zorvia-part-1-0", "cut");
        fs::create_symlink(dir.path() / "victim", dir.flash() / ".zorvia-part-1-1");
        fs::create_symlink(dir.path() / "missing", dir.flash() / ".zorvia-part-1-2");

        dir.folder().removeLeftovers();

        EXPECT_TRUE(dir.partials().empty());
        EXPECT_EQ(content(dir.path() / "victim"), "keep");
        EXPECT_EQ(content(dir.flash() / "game.swf"), "game");
    }
}

TEST(PartialGameFile, IsOnTheDiskBeforeItGetsItsName) {
    for (const char* name : kFolders) {
        SCOPED_TRACE(name);
        const Folder dir(name);
        portal::PartialGameFile game(dir.folder(), "game.swf");
        game.stream().Write("data", 4);
        ASSERT_EQ(dir.partials().size(), 1u);
        struct stat st {};
        ASSERT_EQ(::lstat(dir.partials().front().c_str(), &st), 0);
        const ino_t inode = st.st_ino;
        diskCalls.clear();
        recording = true;
        game.commit();
        recording = false;

        std::string order;
        for (const DiskCall& call : diskCalls)
            if (call.inode == inode)
                order += call.kind;
        EXPECT_EQ(order, "sr");
        EXPECT_EQ(content(dir.flash() / "game.swf"), "data");
    }
}

TEST(PartialGameFile, ACommitGivesUpWhenItsSyncDoesNotFinish) {
    const struct {
        const char* wait;
        int syncsBefore;
        bool named; // the game's name is there afterwards
    } cases[] = {{"the file's sync", 0, false}, {"the rename's sync", 1, true}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.wait);
        const Folder dir("plain");
        {
            portal::PartialGameFile game(dir.folder(), "game.swf");
            game.stream().Write("data", 4);
            syncHeld = false;
            syncReleased = false;
            syncsToPass = c.syncsBefore;
            // The caller gives up once the sync hangs; the disk then
            // finishes it.
            int gaveUp = 0;
            EXPECT_FALSE(game.commit(
                [&] {
                    if (!syncHeld)
                        return true;
                    ++gaveUp;
                    syncReleased = true;
                    return false;
                },
                1));
            syncsToPass = -1;
            EXPECT_EQ(gaveUp, 1);
        }
        EXPECT_EQ(fs::exists(dir.flash() / "game.swf"), c.named);
        EXPECT_TRUE(dir.partials().empty());
    }
}

} // namespace
