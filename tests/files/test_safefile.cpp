#include <gtest/gtest.h>

#include <csignal>
#include <fstream>

#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <unistd.h>

#include "support/devicenode.h"
#include "support/scratchfile.h"
#include "support/scratchfolder.h"
#include "files/catomicfile.h"
#include "files/safefile.h"

namespace
{
void putFile(const std::string& path, const std::string& contents)
{
    std::ofstream(path, std::ios::binary) << contents;
}

mode_t typeOf(const std::string& path)
{
    struct stat info;
    return lstat(path.c_str(), &info) == 0 ? info.st_mode & S_IFMT : 0;
}

mode_t permissionsOf(const std::string& path)
{
    struct stat info;
    return stat(path.c_str(), &info) == 0 ? info.st_mode & 07777 : 0;
}

bool makeSocket(const std::string& path)
{
    const int fd = socket(AF_UNIX, SOCK_STREAM, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    if (fd < 0 || path.size() >= sizeof address.sun_path)
        return false;
    path.copy(address.sun_path, path.size());
    const bool made = bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0;
    close(fd);
    return made;
}

class SafeFileTest : public ::testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(m_folder.isReady()); }
    CScratchFolder m_folder;
};

TEST_F(SafeFileTest, SavingOverADeviceTurnsItIntoARegularFileIsMended)
{
    const std::string device = m_folder / "full";
    if (!makeDeviceNode(device, 7))
        GTEST_SKIP() << "this test may not make device nodes";
    std::string error;
    EXPECT_FALSE(writeFileAtomically(device, "<svg/>", error));
    EXPECT_EQ(error, device + " is not a regular file");
    EXPECT_EQ(typeOf(device), static_cast<mode_t>(S_IFCHR));
    EXPECT_EQ(m_folder.listing(), "full"); // no temporary file left behind
}

TEST_F(SafeFileTest, FoldersFifosAndSocketsAreRefusedAndLeftAlone)
{
    ASSERT_EQ(mkdir((m_folder / "folder").c_str(), 0755), 0);
    ASSERT_EQ(mkfifo((m_folder / "fifo").c_str(), 0644), 0);
    ASSERT_TRUE(makeSocket(m_folder / "socket"));
    std::string error;
    EXPECT_FALSE(writeFileAtomically(m_folder / "folder", "x", error));
    EXPECT_EQ(error, m_folder / "folder" + " is a folder");
    EXPECT_FALSE(writeFileAtomically(m_folder / "fifo", "x", error));
    EXPECT_EQ(error, m_folder / "fifo" + " is not a regular file");
    EXPECT_FALSE(writeFileAtomically(m_folder / "socket", "x", error));
    EXPECT_EQ(error, m_folder / "socket" + " is not a regular file");
    EXPECT_EQ(typeOf(m_folder / "folder"), static_cast<mode_t>(S_IFDIR));
    EXPECT_EQ(typeOf(m_folder / "fifo"), static_cast<mode_t>(S_IFIFO));
    EXPECT_EQ(typeOf(m_folder / "socket"), static_cast<mode_t>(S_IFSOCK));
    EXPECT_EQ(m_folder.listing(), "fifo folder socket");
}

TEST_F(SafeFileTest, SymlinkTargetReplacedByARegularFileIsMended)
{
    ASSERT_EQ(mkdir((m_folder / "real").c_str(), 0755), 0);
    putFile(m_folder / "real/pool.txt", "old");
    // A relative link to a relative link: each is resolved from its own folder.
    ASSERT_EQ(symlink("real/pool.txt", (m_folder / "hop").c_str()), 0);
    ASSERT_EQ(symlink("hop", (m_folder / "pool.txt").c_str()), 0);
    std::string error;
    ASSERT_TRUE(writeFileAtomically(m_folder / "pool.txt", "new", error)) << error;
    EXPECT_EQ(typeOf(m_folder / "pool.txt"), static_cast<mode_t>(S_IFLNK));
    EXPECT_EQ(typeOf(m_folder / "hop"), static_cast<mode_t>(S_IFLNK));
    EXPECT_EQ(readWholeFile(m_folder / "real/pool.txt"), "new");
    EXPECT_EQ(m_folder.listing(), "hop pool.txt real");
}

TEST_F(SafeFileTest, DanglingLinkCreatesItsTargetAndALoopIsRefused)
{
    ASSERT_EQ(symlink("made.txt", (m_folder / "dangling").c_str()), 0);
    std::string error;
    ASSERT_TRUE(writeFileAtomically(m_folder / "dangling", "made", error)) << error;
    EXPECT_EQ(readWholeFile(m_folder / "made.txt"), "made");
    EXPECT_EQ(typeOf(m_folder / "dangling"), static_cast<mode_t>(S_IFLNK));

    ASSERT_EQ(symlink("loop_b", (m_folder / "loop_a").c_str()), 0);
    ASSERT_EQ(symlink("loop_a", (m_folder / "loop_b").c_str()), 0);
    EXPECT_FALSE(writeFileAtomically(m_folder / "loop_a", "x", error));
    EXPECT_NE(error.find("Too many levels of symbolic links"), std::string::npos) << error;
}

TEST_F(SafeFileTest, PlantedTemporaryLinkOverwritesAnotherFileIsMended)
{
    putFile(m_folder / "victim", "precious");
    putFile(m_folder / "pool.txt", "old");
    // The name the save used for its temporary file, planted as a link to someone's file.
    ASSERT_EQ(symlink("victim", (m_folder / "pool.txt.tmp").c_str()), 0);
    std::string error;
    ASSERT_TRUE(writeFileAtomically(m_folder / "pool.txt", "new", error)) << error;
    EXPECT_EQ(readWholeFile(m_folder / "victim"), "precious");
    EXPECT_EQ(readWholeFile(m_folder / "pool.txt"), "new");
    EXPECT_EQ(typeOf(m_folder / "pool.txt.tmp"), static_cast<mode_t>(S_IFLNK));
    EXPECT_EQ(m_folder.listing(), "pool.txt pool.txt.tmp victim");
}

TEST_F(SafeFileTest, ReplacementKeepsTheOldPermissions)
{
    putFile(m_folder / "private.txt", "old");
    ASSERT_EQ(chmod((m_folder / "private.txt").c_str(), 0600), 0);
    putFile(m_folder / "shared.txt", "old");
    ASSERT_EQ(chmod((m_folder / "shared.txt").c_str(), 0664), 0);
    std::string error;
    ASSERT_TRUE(writeFileAtomically(m_folder / "private.txt", "new", error)) << error;
    ASSERT_TRUE(writeFileAtomically(m_folder / "shared.txt", "new", error)) << error;
    EXPECT_EQ(permissionsOf(m_folder / "private.txt"), 0600u);
    EXPECT_EQ(permissionsOf(m_folder / "shared.txt"), 0664u);

    const mode_t mask = umask(022);
    ASSERT_TRUE(writeFileAtomically(m_folder / "fresh.txt", "new", error)) << error;
    umask(mask);
    EXPECT_EQ(permissionsOf(m_folder / "fresh.txt"), 0644u);
}

// A file-size limit makes the write fail part-way, as a full disk would.
TEST_F(SafeFileTest, FailedWriteKeepsTheOldFileAndRemovesTheTemporary)
{
    putFile(m_folder / "pool.txt", "old contents");
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit old{};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &old), 0);
    rlimit small = old;
    small.rlim_cur = 1000;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
    std::string error;
    const bool written = writeFileAtomically(m_folder / "pool.txt", std::string(300000, 'x'), error);
    setrlimit(RLIMIT_FSIZE, &old);
    EXPECT_FALSE(written);
    EXPECT_EQ(error, "cannot write " + (m_folder / "pool.txt") + ": File too large");
    EXPECT_EQ(readWholeFile(m_folder / "pool.txt"), "old contents");
    EXPECT_EQ(m_folder.listing(), "pool.txt");
}

TEST_F(SafeFileTest, UncommittedFileLeavesNothingBehind)
{
    putFile(m_folder / "stats.tsv", "old");
    {
        CAtomicFile file;
        ASSERT_TRUE(file.open(m_folder / "stats.tsv"));
        ASSERT_TRUE(file.write(std::string(200000, 'y'))); // past the buffer: on disk already
        EXPECT_NE(m_folder.listing(), "stats.tsv");
    }
    EXPECT_EQ(readWholeFile(m_folder / "stats.tsv"), "old");
    EXPECT_EQ(m_folder.listing(), "stats.tsv");
}

// A process killed between writing and committing, as by SIGKILL during a pool save.
TEST_F(SafeFileTest, KilledSaveLeavesTheOldFileWhole)
{
    putFile(m_folder / "pool.txt", "old contents");
    const pid_t child = fork();
    if (child == 0)
    {
        CAtomicFile file;
        if (file.open(m_folder / "pool.txt") && file.write(std::string(200000, 'z')))
            kill(getpid(), SIGKILL);
        _exit(1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGKILL) << status;
    EXPECT_EQ(readWholeFile(m_folder / "pool.txt"), "old contents");
    // What the killed save leaves is a hidden temporary file no later save will use.
    const std::string listing = m_folder.listing();
    EXPECT_EQ(listing.rfind(".pool.txt.", 0), 0u) << listing;
    EXPECT_EQ(listing.substr(listing.size() - 13), ".tmp pool.txt") << listing;
    std::string error;
    ASSERT_TRUE(writeFileAtomically(m_folder / "pool.txt", "new", error)) << error;
    EXPECT_EQ(readWholeFile(m_folder / "pool.txt"), "new");
}

TEST_F(SafeFileTest, NewFileNeverReplacesAnExistingOne)
{
    putFile(m_folder / "frame.bmp", "earlier run");
    std::string error;
    EXPECT_FALSE(writeNewFileAtomically(m_folder / "frame.bmp", "this run", error));
    EXPECT_EQ(error, m_folder / "frame.bmp" + " already exists");
    EXPECT_EQ(readWholeFile(m_folder / "frame.bmp"), "earlier run");
    ASSERT_TRUE(writeNewFileAtomically(m_folder / "frame2.bmp", "this run", error)) << error;
    EXPECT_EQ(readWholeFile(m_folder / "frame2.bmp"), "this run");
    EXPECT_EQ(m_folder.listing(), "frame.bmp frame2.bmp");
}

TEST_F(SafeFileTest, MissingFolderIsReportedWithTheReason)
{
    std::string error;
    EXPECT_FALSE(writeFileAtomically(m_folder / "no/such/pool.txt", "x", error));
    EXPECT_EQ(error, "cannot open the folder " + (m_folder / "no/such") + ": No such file or directory");
    EXPECT_FALSE(checkWritable(m_folder / "no/such/pool.txt", error));
    EXPECT_EQ(error, "the folder " + (m_folder / "no/such") + " does not exist");
}

TEST_F(SafeFileTest, CheckWritableLooksThroughLinksBeforeAnyWork)
{
    ASSERT_EQ(mkdir((m_folder / "folder").c_str(), 0755), 0);
    ASSERT_EQ(symlink("folder", (m_folder / "link").c_str()), 0);
    std::string error;
    EXPECT_TRUE(checkWritable(m_folder / "out.svg", error)) << error;
    EXPECT_FALSE(checkWritable(m_folder / "link", error));
    EXPECT_EQ(error, m_folder / "folder" + " is a folder");
    EXPECT_FALSE(checkWritable(m_folder / "folder/", error));
    EXPECT_EQ(m_folder.listing(), "folder link"); // nothing was created
}

TEST_F(SafeFileTest, SameFileIsRecognisedUnderOtherNames)
{
    ASSERT_EQ(mkdir((m_folder / "sub").c_str(), 0755), 0);
    putFile(m_folder / "stats.tsv", "x");
    ASSERT_EQ(symlink("stats.tsv", (m_folder / "alias").c_str()), 0);
    EXPECT_TRUE(isSameFile(m_folder / "stats.tsv", m_folder / "sub/../stats.tsv"));
    EXPECT_TRUE(isSameFile(m_folder / "stats.tsv", m_folder / "alias"));
    // Not there yet, in the same folder reached two ways.
    EXPECT_TRUE(isSameFile(m_folder / "out.svg", m_folder / "sub/../out.svg"));
    EXPECT_FALSE(isSameFile(m_folder / "out.svg", m_folder / "sub/out.svg"));
    EXPECT_FALSE(isSameFile(m_folder / "stats.tsv", m_folder / "out.svg"));
}

TEST_F(SafeFileTest, ReaderRefusesWhatIsNotARegularFileWithoutBlocking)
{
    ASSERT_EQ(mkfifo((m_folder / "fifo").c_str(), 0644), 0); // no writer: opening it blocking would hang
    ASSERT_EQ(mkdir((m_folder / "folder").c_str(), 0755), 0);
    std::string contents = "unchanged";
    std::string error;
    EXPECT_FALSE(readRegularFile(m_folder / "fifo", 1000, contents, error));
    EXPECT_EQ(error, "is not a regular file");
    EXPECT_FALSE(readRegularFile(m_folder / "folder", 1000, contents, error));
    EXPECT_EQ(error, "is a folder");
    EXPECT_FALSE(readRegularFile(m_folder / "missing", 1000, contents, error));
    EXPECT_EQ(error, "No such file or directory");
    ASSERT_EQ(symlink("loop", (m_folder / "loop").c_str()), 0);
    EXPECT_FALSE(readRegularFile(m_folder / "loop", 1000, contents, error));
    EXPECT_EQ(error, "Too many levels of symbolic links");
    EXPECT_EQ(contents, "unchanged");
}

TEST_F(SafeFileTest, ReaderRefusesAnEndlessDeviceBehindALink)
{
    if (!makeDeviceNode(m_folder / "zero", 5))
        GTEST_SKIP() << "this test may not make device nodes";
    ASSERT_EQ(symlink("zero", (m_folder / "params.ini").c_str()), 0);
    std::string contents, error;
    EXPECT_FALSE(readRegularFile(m_folder / "params.ini", 1 << 20, contents, error));
    EXPECT_EQ(error, "is not a regular file");
    EXPECT_TRUE(contents.empty());
}

TEST_F(SafeFileTest, ReaderHasASizeBoundAndReadsWhatFits)
{
    putFile(m_folder / "big", std::string(1001, 'a'));
    putFile(m_folder / "fits", std::string(1000, 'b'));
    std::string contents, error;
    EXPECT_FALSE(readRegularFile(m_folder / "big", 1000, contents, error));
    EXPECT_EQ(error, "is larger than 1000 bytes");
    ASSERT_TRUE(readRegularFile(m_folder / "fits", 1000, contents, error)) << error;
    EXPECT_EQ(contents, std::string(1000, 'b'));
}

// A file its non-root owner made read-only was replaced, where a shell's redirect refuses.
// Run as that owner: as an unprivileged user in a child process when the tests run as root.
TEST_F(SafeFileTest, ReadOnlyTargetReplacedByItsOwnerIsMended)
{
    const std::string target = m_folder / "readonly.txt";
    const uid_t nobody = 65534;
    if (geteuid() == 0 && chown(m_folder.path().c_str(), nobody, nobody) != 0)
        GTEST_SKIP() << "this test may not hand its folder to another user";
    const pid_t child = fork();
    if (child == 0)
    {
        if (geteuid() == 0 && (setgid(nobody) != 0 || setuid(nobody) != 0))
            _exit(3);
        putFile(target, "kept");
        chmod(target.c_str(), 0444);
        std::string error;
        const bool written = writeFileAtomically(target, "replaced", error);
        _exit(!written && error.find("Permission denied") != std::string::npos && readWholeFile(target) == "kept" ? 0
                                                                                                                : 1);
    }
    int status = 0;
    waitpid(child, &status, 0);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "status " << status;
}

// Root saving through a link that another user planted in a shared sticky folder wrote where
// the link pointed; the kernel's protected links rule would not follow it.
TEST_F(SafeFileTest, LinkOfAnotherUserInASharedFolderFollowedIsMended)
{
    const std::string shared = m_folder / "shared";
    const std::string victim = m_folder / "victim.txt";
    const std::string link = shared + "/pool.txt";
    ASSERT_EQ(mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    putFile(victim, "victim");
    ASSERT_EQ(symlink(victim.c_str(), link.c_str()), 0);
    if (lchown(link.c_str(), 12345, 12345) != 0)
        GTEST_SKIP() << "this test may not give a link to another user";
    std::string error;
    EXPECT_FALSE(writeFileAtomically(link, "planted", error));
    EXPECT_NE(error.find("belongs to another user in a shared folder"), std::string::npos) << error;
    EXPECT_EQ(readWholeFile(victim), "victim");
    ASSERT_EQ(lchown(link.c_str(), geteuid(), getegid()), 0);
    EXPECT_TRUE(writeFileAtomically(link, "mine", error)) << "a link of one's own is followed: " << error;
    EXPECT_EQ(readWholeFile(victim), "mine");
}

// The rule looked at the last name alone: root saving to shared/dir/victim.conf, dir a link
// to a root-only folder that another user planted in a shared sticky folder, replaced the
// root-only file. A link anywhere on the way now meets the rule.
TEST_F(SafeFileTest, LinkPlantedOnTheWayInASharedFolderFollowedIsMended)
{
    const std::string shared = m_folder / "shared";
    const std::string private_ = m_folder / "private";
    ASSERT_EQ(mkdir(shared.c_str(), 0777), 0);
    ASSERT_EQ(chmod(shared.c_str(), 01777), 0);
    ASSERT_EQ(mkdir(private_.c_str(), 0700), 0);
    putFile(private_ + "/victim.conf", "root only");
    const std::string link = shared + "/dir";
    ASSERT_EQ(symlink(private_.c_str(), link.c_str()), 0);
    if (lchown(link.c_str(), 12345, 12345) != 0)
        GTEST_SKIP() << "this test may not give a link to another user";
    std::string error;
    EXPECT_FALSE(writeFileAtomically(link + "/victim.conf", "planted", error));
    EXPECT_EQ(error, "the link " + link + " belongs to another user in a shared folder: it is not followed, as the "
                                          "system would not follow it");
    EXPECT_FALSE(checkWritable(link + "/../shared/dir/./victim.conf", error));
    EXPECT_EQ(readWholeFile(private_ + "/victim.conf"), "root only");
    // One's own link on the way is followed, and a path of plain folders is its own target.
    ASSERT_EQ(lchown(link.c_str(), geteuid(), getegid()), 0);
    EXPECT_TRUE(writeFileAtomically(link + "/victim.conf", "mine", error)) << error;
    EXPECT_EQ(readWholeFile(private_ + "/victim.conf"), "mine");
    std::string target;
    EXPECT_TRUE(resolveLinks(link + "/victim.conf", target, error));
    EXPECT_EQ(target, private_ + "/victim.conf");
}

// A file with other names (hard links) lost them on a save without a word; now the save says so.
TEST_F(SafeFileTest, HardLinkSplitWithoutAWordIsMended)
{
    const std::string name = m_folder / "pool.txt";
    const std::string other = m_folder / "other-name.txt";
    putFile(name, "old");
    ASSERT_EQ(link(name.c_str(), other.c_str()), 0);
    std::string error;
    ::testing::internal::CaptureStderr();
    EXPECT_TRUE(writeFileAtomically(name, "new", error)) << error;
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("has 1 other name(s) (hard links); they keep the old contents"),
              std::string::npos);
    EXPECT_EQ(readWholeFile(other), "old");
    EXPECT_EQ(readWholeFile(name), "new");
}

TEST(PrintableExcerptTest, EscapesControlBytesAndCutsLongText)
{
    EXPECT_EQ(printableExcerpt("Window_Width"), "Window_Width");
    EXPECT_EQ(printableExcerpt("\x1b[31mred"), "\\x1B[31mred");
    EXPECT_EQ(printableExcerpt(std::string(100, 'a'), 5), "aaaaa...");
    EXPECT_EQ(printableExcerpt("caf\xc3\xa9"), "caf\\xC3\\xA9");
}
} // namespace
