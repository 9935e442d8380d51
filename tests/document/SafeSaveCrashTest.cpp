// A save over an existing drawing is killed at random moments (and at every step of the commit) in a
// child process. Whatever the moment, the target must be the complete old file or the complete new
// one, and in backup mode the backup must be the previous backup or the old target.
//
// TESSARAY_CRASH_POINTS sets the number of random kill points per mode (default 110, so that the
// test kills at least 200 times); scripts/save-crash-test runs many more.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <thread>

#include "document/MirrorOStream.h"
#include "tests/document/DocumentTestSupport.h"
#include "tests/support/TestSupport.h"

using namespace doctest;
namespace fs = std::filesystem;

namespace {

int CrashPoints() {
    const char* env = std::getenv("TESSARAY_CRASH_POINTS");
    const int n = env ? std::atoi(env) : 0;
    return n > 0 ? n : 110;
}

// A drawing big enough that its save spans several buffer writes.
void Fill(MTessarayDoc& doc, int shapes, double offset) {
    doc.OnNewDocument();
    for (int i = 0; i < shapes; ++i) {
        if (i % 5 == 0)
            doc.AddShape(Triangle(i + offset, -i, 3.5), -1);
        else
            doc.AddShape(Line(i + offset, i * 0.5, i * 2.0, offset - i), -1);
    }
}

int g_killAtStep = -1;
int g_stepCount = 0;
int KillAtStep(MMirrorOStream::Step) {
    if (g_stepCount++ == g_killAtStep) ::raise(SIGKILL);
    return 0;
}

// Forks a child that saves doc to target; the parent kills it after delay (or the child kills itself
// at a step of the save when step >= 0). Returns whether the child finished the save.
bool SaveInChild(MTessarayDoc& doc, const std::string& target, std::chrono::microseconds delay, int step) {
    const pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
        if (step >= 0) {
            g_killAtStep = step;
            g_stepCount = 0;
            MMirrorOStream::SetStepHook(&KillAtStep);
        }
        ::_exit(doc.OnSaveDocument(target) ? 0 : 3);
    }
    if (step < 0) {
        std::this_thread::sleep_for(delay);
        ::kill(pid, SIGKILL);
    }
    int status = 0;
    ::waitpid(pid, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

class SafeSaveCrash : public DocumentTest {
protected:
    void Run(int mode, int randomPoints) {
        GetOptionRecord().m_saveBackupMode = mode;
        const std::string dir = MakeTempDir("crash_" + std::to_string(mode));
        const std::string target = dir + "/plan.qfd";
        const std::string backup = dir + "/plan.XBK";

        MTessarayDoc oldDoc, newDoc;
        Fill(oldDoc, 3000, 0.25);
        Fill(newDoc, 3500, 7.75);
        ASSERT_TRUE(oldDoc.OnSaveDocument(dir + "/old.qfd"));
        ASSERT_TRUE(newDoc.OnSaveDocument(dir + "/new.qfd"));
        const std::string oldBytes = ReadBytes(dir + "/old.qfd");
        const std::string newBytes = ReadBytes(dir + "/new.qfd");
        const std::string olderBackup = "previous backup\r\n";
        ASSERT_NE(oldBytes, newBytes);

        // How long one save takes, to spread the kill points over it.
        WriteBytes(target, oldBytes);
        const auto start = std::chrono::steady_clock::now();
        ASSERT_TRUE(newDoc.OnSaveDocument(target));
        const auto took =
            std::chrono::duration_cast<std::chrono::microseconds>(std::chrono::steady_clock::now() - start);

        std::mt19937 rng(12345 + mode);
        std::uniform_int_distribution<long> delays(0, took.count() * 3 / 2 + 200);
        int finished = 0, interrupted = 0;
        // Every step of the commit, then random moments.
        const int stepPoints = 24;
        for (int point = 0; point < stepPoints + randomPoints; ++point) {
            for (const auto& e : fs::directory_iterator(dir))
                if (e.path().filename().string().rfind("QF", 0) == 0) fs::remove(e.path());
            fs::remove(target);
            fs::remove(backup);
            WriteBytes(target, oldBytes);
            WriteBytes(backup, olderBackup);
            const bool done = point < stepPoints
                                  ? SaveInChild(newDoc, target, {}, point)
                                  : SaveInChild(newDoc, target, std::chrono::microseconds(delays(rng)), -1);
            (done ? finished : interrupted)++;

            const std::string now = ReadBytes(target);
            // Compared as booleans: a failure must not print megabytes of drawing.
            ASSERT_TRUE(now == oldBytes || now == newBytes)
                << "kill point " << point << ": target has " << now.size() << " bytes";
            if (done) {
                EXPECT_TRUE(now == newBytes) << "kill point " << point;
            }
            const std::string keptBackup = ReadBytes(backup);
            if (mode == MMirrorOStream::kBackup) {
                ASSERT_TRUE(keptBackup == olderBackup || keptBackup == oldBytes) << "kill point " << point;
                if (now == newBytes) {
                    EXPECT_TRUE(keptBackup == oldBytes) << "kill point " << point;
                }
            } else {
                EXPECT_TRUE(keptBackup == olderBackup) << "kill point " << point;
            }
        }
        EXPECT_GT(interrupted, 0);
        EXPECT_GT(finished, 0);
    }
};

}  // namespace

TEST_F(SafeSaveCrash, SafeModeLeavesTheOldOrTheNewDrawing) {
    Run(MMirrorOStream::kSafe, CrashPoints());
}

TEST_F(SafeSaveCrash, BackupModeLeavesTheOldOrTheNewDrawingAndAConsistentBackup) {
    Run(MMirrorOStream::kBackup, CrashPoints());
}
