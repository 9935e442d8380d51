#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "document/MirrorOStream.h"
#include "tests/support/TestSupport.h"

namespace fs = std::filesystem;

namespace {

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::vector<std::string> FolderNames(const std::string& dir) {
    std::vector<std::string> names;
    for (const auto& e : fs::directory_iterator(dir))
        names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

// Makes one chosen step fail with ENOSPC (or another errno) for the duration of a test.
struct FailStep {
    static inline MMirrorOStream::Step step;
    static inline int err;
    static int Hook(MMirrorOStream::Step s) { return s == step ? err : 0; }
    FailStep(MMirrorOStream::Step s, int e = ENOSPC) {
        step = s;
        err = e;
        previous = MMirrorOStream::SetStepHook(&Hook);
    }
    ~FailStep() { MMirrorOStream::SetStepHook(previous); }
    MMirrorOStream::StepHook previous;
};

BOOL Save(const std::string& path, int mode, const std::string& text) {
    MMirrorOStream out;
    out.Open(path, mode);
    out << text;
    return out.Close();
}

}  // namespace

TEST(MirrorOStream, SafeModeReplacesTheTargetAndLeavesNoTemporaryFile) {
    const std::string dir = MakeTempDir("mirror_safe");
    const std::string target = dir + "/plan.qfd";
    WriteBytes(target, "old\r\n");
    ::chmod(target.c_str(), 0640);
    ASSERT_TRUE(Save(target, MMirrorOStream::kSafe, "new\n"));
    EXPECT_EQ(ReadBytes(target), "new\r\n");
    EXPECT_EQ(FolderNames(dir), std::vector<std::string>{"plan.qfd"});
    struct stat st {};
    ASSERT_EQ(::stat(target.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "the saved drawing keeps its permissions";
}

TEST(MirrorOStream, BackupModeKeepsThePreviousTargetAsXbk) {
    const std::string dir = MakeTempDir("mirror_backup");
    const std::string target = dir + "/plan.qfd";
    WriteBytes(target, "second\r\n");
    WriteBytes(dir + "/plan.XBK", "first\r\n");
    ASSERT_TRUE(Save(target, MMirrorOStream::kBackup, "third\n"));
    EXPECT_EQ(ReadBytes(target), "third\r\n");
    EXPECT_EQ(ReadBytes(dir + "/plan.XBK"), "second\r\n");
    EXPECT_EQ(FolderNames(dir), (std::vector<std::string>{"plan.XBK", "plan.qfd"}));

    // Saving again replaces the backup; the backup is a file of its own, not the target.
    ASSERT_TRUE(Save(target, MMirrorOStream::kBackup, "fourth\n"));
    EXPECT_EQ(ReadBytes(dir + "/plan.XBK"), "third\r\n");
    EXPECT_EQ(ReadBytes(target), "fourth\r\n");
}

// Before, the backup, a copy, carried the moment of the save instead of the old file's times.
TEST(MirrorOStream, TheBackupKeepsTheOldTargetsTimes) {
    const std::string dir = MakeTempDir("mirror_backup_times");
    const std::string target = dir + "/plan.qfd";
    WriteBytes(target, "old\r\n");
    const timespec times[2] = {{1000000000, 250}, {1100000000, 500}};  // access, modification
    ASSERT_EQ(::utimensat(AT_FDCWD, target.c_str(), times, 0), 0);
    ASSERT_TRUE(Save(target, MMirrorOStream::kBackup, "new\n"));
    struct stat st {};
    ASSERT_EQ(::stat((dir + "/plan.XBK").c_str(), &st), 0);
    EXPECT_EQ(st.st_mtim.tv_sec, times[1].tv_sec);
    EXPECT_EQ(st.st_mtim.tv_nsec, times[1].tv_nsec);
    EXPECT_EQ(st.st_atim.tv_sec, times[0].tv_sec);
}

// The temporary file's name grows from the target's: a name at the system's limit must still save.
TEST(MirrorOStream, ATargetWhoseNameIsAsLongAsTheSystemAllowsSavesInEveryMode) {
    const std::string dir = MakeTempDir("mirror_long");
    std::string name;
    while (name.size() + 3 + 4 <= NAME_MAX)
        name += "図";  // three bytes: the cut must fall between characters
    name += "a.qfd";
    const std::string target = dir + "/" + name;
    WriteBytes(target, "old\r\n");
    for (int mode : {MMirrorOStream::kSafe, MMirrorOStream::kBackup}) {
        ASSERT_TRUE(Save(target, mode, "new\n")) << mode;
        EXPECT_EQ(ReadBytes(target), "new\r\n");
    }
    EXPECT_EQ(FolderNames(dir), (std::vector<std::string>{name.substr(0, name.size() - 5) + "a.XBK", name}));
}

TEST(MirrorOStream, NewTargetIsWrittenWithoutBackupInEveryMode) {
    const std::string dir = MakeTempDir("mirror_new");
    for (int mode : {0, 1, 2, 7}) {
        const std::string target = dir + "/n" + std::to_string(mode) + ".qfd";
        ASSERT_TRUE(Save(target, mode, "x\n"));
        EXPECT_EQ(ReadBytes(target), "x\r\n");
    }
    EXPECT_EQ(FolderNames(dir), (std::vector<std::string>{"n0.qfd", "n1.qfd", "n2.qfd", "n7.qfd"}));
}

TEST(MirrorOStream, BackupPathReplacesTheExtension) {
    EXPECT_EQ(MMirrorOStream::BackupPathOf("/a/b/plan.qfd"), "/a/b/plan.XBK");
    EXPECT_EQ(MMirrorOStream::BackupPathOf("/a.d/plan"), "/a.d/plan.XBK");
    EXPECT_EQ(MMirrorOStream::BackupPathOf("plan.v2.qfd"), "plan.v2.XBK");
}

TEST(MirrorOStream, TextIsEncodedAsCp932WithCrlfAcrossBufferBoundaries) {
    const std::string dir = MakeTempDir("mirror_encode");
    const std::string target = dir + "/t.qfd";
    // 65535 ASCII bytes put the first byte of the three-byte "図" at the end of the 64 KB buffer.
    const std::string pad(65535, 'a');
    ASSERT_TRUE(Save(target, MMirrorOStream::kSafe, pad + "図\n" + pad + "形\n"));
    const std::string bytes = ReadBytes(target);
    EXPECT_EQ(bytes, pad + "\x90\x7D\r\n" + pad + "\x8C\x60\r\n");
}

TEST(MirrorOStream, NumbersUseFifteenDigitsInTheCLocale) {
    MMirrorOStream out;
    EXPECT_EQ(out.precision(), 15);
    const std::string dir = MakeTempDir("mirror_numbers");
    out.Open(dir + "/n.qfd", MMirrorOStream::kSafe);
    out << 0.1 << ' ' << 1234567.25 << '\n';
    ASSERT_TRUE(out.Close());
    EXPECT_EQ(ReadBytes(dir + "/n.qfd"), "0.1 1234567.25\r\n");
}

TEST(MirrorOStream, FailedWriteLeavesTheTargetAndBackupUntouched) {
    const std::string dir = MakeTempDir("mirror_writefail");
    const std::string target = dir + "/plan.qfd";
    for (int mode : {1, 2}) {
        WriteBytes(target, "old\r\n");
        WriteBytes(dir + "/plan.XBK", "older\r\n");
        FailStep fail(MMirrorOStream::kStepWrite);
        MMirrorOStream out;
        ASSERT_TRUE(out.Open(target, mode));
        out << "new\n";
        EXPECT_FALSE(out.Close());
        EXPECT_TRUE(out.bad());
        EXPECT_EQ(out.GetError(), ENOSPC);
        EXPECT_EQ(ReadBytes(target), "old\r\n");
        EXPECT_EQ(ReadBytes(dir + "/plan.XBK"), "older\r\n");
        EXPECT_EQ(FolderNames(dir), (std::vector<std::string>{"plan.XBK", "plan.qfd"}));
    }
}

TEST(MirrorOStream, FailedRenameOrBackupOrSyncIsReportedAndKeepsTheOldTarget) {
    const std::string dir = MakeTempDir("mirror_renamefail");
    const std::string target = dir + "/plan.qfd";
    const struct {
        MMirrorOStream::Step step;
        int mode;
    } cases[] = {{MMirrorOStream::kStepRename, 2},
                 {MMirrorOStream::kStepRename, 1},
                 {MMirrorOStream::kStepBackup, 1},
                 {MMirrorOStream::kStepSyncFile, 2}};
    for (const auto& c : cases) {
        WriteBytes(target, "old\r\n");
        FailStep fail(c.step, EACCES);
        EXPECT_FALSE(Save(target, c.mode, "new\n")) << c.step;
        EXPECT_EQ(ReadBytes(target), "old\r\n");
        for (const auto& name : FolderNames(dir))
            EXPECT_TRUE(name == "plan.qfd" || name == "plan.XBK") << name;
    }
}

TEST(MirrorOStream, UnopenableTargetFailsAtOnceAndCreatesNothing) {
    const std::string dir = MakeTempDir("mirror_openfail");
    for (int mode : {0, 1, 2}) {
        MMirrorOStream out;
        EXPECT_FALSE(out.Open(dir + "/missing/plan.qfd", mode));
        EXPECT_TRUE(out.fail());
        out << "text\n";
        EXPECT_TRUE(out.bad());
        EXPECT_FALSE(out.Close());
        EXPECT_EQ(out.GetError(), ENOENT);
    }
    EXPECT_TRUE(FolderNames(dir).empty());
}

TEST(MirrorOStream, ReadOnlyDrawingIsNotReplaced) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
    const std::string dir = MakeTempDir("mirror_readonly");
    const std::string target = dir + "/plan.qfd";
    WriteBytes(target, "old\r\n");
    ::chmod(target.c_str(), 0444);
    EXPECT_FALSE(Save(target, MMirrorOStream::kSafe, "new\n"));
    EXPECT_EQ(ReadBytes(target), "old\r\n");
    EXPECT_EQ(FolderNames(dir), std::vector<std::string>{"plan.qfd"});
}

TEST(MirrorOStream, SavingThroughASymbolicLinkUpdatesTheFileItNames) {
    const std::string dir = MakeTempDir("mirror_symlink");
    fs::create_directory(dir + "/real");
    WriteBytes(dir + "/real/plan.qfd", "old\r\n");
    fs::create_symlink("real/plan.qfd", dir + "/link.qfd");
    ASSERT_TRUE(Save(dir + "/link.qfd", MMirrorOStream::kSafe, "new\n"));
    EXPECT_TRUE(fs::is_symlink(dir + "/link.qfd"));
    EXPECT_EQ(ReadBytes(dir + "/real/plan.qfd"), "new\r\n");
}

// A real write failure: the file-size limit makes write() fail with EFBIG in a child process.
TEST(MirrorOStream, DiskFullDuringTheWriteKeepsTheOldDrawing) {
    const std::string dir = MakeTempDir("mirror_diskfull");
    const std::string target = dir + "/plan.qfd";
    WriteBytes(target, "old\r\n");
    const pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
        std::signal(SIGXFSZ, SIG_IGN);
        struct rlimit limit {
            100000, 100000
        };
        ::setrlimit(RLIMIT_FSIZE, &limit);
        const BOOL ok = Save(target, MMirrorOStream::kSafe, std::string(300000, 'z'));
        ::_exit(ok ? 1 : 0);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(pid, &status, 0), pid);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0) << "the save must report the failure";
    EXPECT_EQ(ReadBytes(target), "old\r\n");
    EXPECT_EQ(FolderNames(dir), std::vector<std::string>{"plan.qfd"});
}

TEST(MirrorOStream, NormalModeWritesTheTargetDirectly) {
    const std::string dir = MakeTempDir("mirror_normal");
    const std::string target = dir + "/plan.qfd";
    WriteBytes(target, "old old old\r\n");
    MMirrorOStream out;
    ASSERT_TRUE(out.Open(target, MMirrorOStream::kNormal));
    EXPECT_TRUE(out.GetTempPath().empty());
    out << "new\n";
    ASSERT_TRUE(out.Close());
    EXPECT_EQ(ReadBytes(target), "new\r\n");
}
