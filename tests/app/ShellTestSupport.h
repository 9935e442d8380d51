// Starts of the whole program in the test's process, as the shell makes them: a temporary home
// with its own settings and data folders (the user's files are never touched), the program's
// printer, print flag and profile put back afterwards.
#pragma once

#include <gtest/gtest.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <QFontDatabase>
#include <QSettings>
#include <QStandardPaths>
#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "app/TessarayApp.h"
#include "document/TessarayDoc.h"
#include "model/settings/OptionRecord.h"
#include "model/shapes/CadShape.h"
#include "model/shapes/lines/LineShape.h"
#include "platform/Profile.h"
#include "platform/ui/Print.h"
#include "tests/support/TestSupport.h"

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// Runs the program with the environment given, waiting at most `limit` (a guard against a hang, no
// speed goal); -1 when it had to be killed, else its exit status. Standard error goes to errorFile
// when one is named.
inline int RunProgram(const std::vector<std::string>& args, const std::vector<std::string>& env,
                      std::chrono::seconds limit, const std::string& errorFile = std::string()) {
    std::vector<char*> argv;
    for (const std::string& a : args)
        argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> envp;
    for (const std::string& e : env)
        envp.push_back(const_cast<char*>(e.c_str()));
    envp.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    if (!errorFile.empty())
        posix_spawn_file_actions_addopen(&actions, 2, errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) return -2;
    const auto start = std::chrono::steady_clock::now();
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() - start > limit) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The application's printer and black-and-white flag, put back when the scope ends.
struct PrinterStateKept {
    CPrinterSettings settings = AfxGetPrinterSettings();
    int blackWhite = PrintBlackWhite();
    ~PrinterStateKept() {
        AfxGetPrinterSettings() = settings;
        PrintBlackWhite() = blackWhite;
    }
};

class ShellStart : public ::testing::Test {
protected:
    void SetUp() override {
        m_previousProfile = AfxSetProfile(CreateMemoryProfile());
        m_previousConfig = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        GetOptionRecord() = MOptionRecord();
        dir = MakeTempDir(::testing::UnitTest::GetInstance()->current_test_info()->name());
        home = dir + "/home";
        config = dir + "/config";
        data = dir + "/data";
        for (const std::string* d : {&home, &config, &data})
            std::filesystem::create_directories(*d);
        for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_DATA_HOME"}) {
            const char* value = std::getenv(name);
            m_environment.push_back({name, value ? value : "", value != nullptr});
        }
        // The font library reads its configuration once, from the real folders (it leaks when
        // it finds none).
        QFontDatabase::families();
        setenv("HOME", home.c_str(), 1);
        setenv("XDG_CONFIG_HOME", config.c_str(), 1);
        setenv("XDG_DATA_HOME", data.c_str(), 1);
        // The settings library may have read its folder already.
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, QString::fromStdString(config));
        AfxGetPrinterSettings() = CPrinterSettings();  // PDF: no test ever reaches a real printer
    }
    void TearDown() override {
        app.reset();
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_previousConfig);
        for (const Variable& v : m_environment)
            v.set ? setenv(v.name, v.value.c_str(), 1) : unsetenv(v.name);
        AfxSetProfile(std::move(m_previousProfile));
    }

    // A new application object with the arguments after the program's name.
    MTessarayApp& Start(std::vector<std::string> args) {
        app.reset();
        app = std::make_unique<MTessarayApp>();
        app->m_args = std::move(args);
        return *app;
    }
    std::string SettingsFile() const { return config + "/kel-vo/Tessaray.ini"; }
    // The environment of a program run in this test's home, headless.
    std::vector<std::string> ProgramEnvironment() const {
        const std::string runtime = dir + "/runtime";
        std::filesystem::create_directories(runtime);
        std::filesystem::permissions(runtime, std::filesystem::perms::owner_all);
        return {"HOME=" + home,
                "XDG_CONFIG_HOME=" + config,
                "XDG_DATA_HOME=" + data,
                "XDG_RUNTIME_DIR=" + runtime,
                "QT_QPA_PLATFORM=offscreen",
                "PATH=/usr/bin:/bin",
                "ASAN_OPTIONS=detect_leaks=0"};
    }

    // A drawing with a cross from edge to edge of its sheet through the sheet point kCross (paper
    // millimetres from the top-left corner), which lies on the printed page of any sheet from A4 up.
    static constexpr double kCrossX = 150.0;
    static constexpr double kCrossY = 100.0;
    std::string WriteCross(const std::string& name) {
        MTessarayDoc doc;
        doc.OnNewDocument();
        const MPaperInfo& paper = doc.GetPaperInfo();
        const MFloatSize size = paper.GetSize();
        const double s = paper.GetScale();
        const MFloatPoint o = paper.GetOriginOffset();
        auto docPoint = [&](double x, double y) { return MFloatPoint(x / s - o.x, -y / s - o.y); };
        doc.AddShape(new MLineShape(docPoint(0, kCrossY), docPoint(size.cx, kCrossY)), -1);
        doc.AddShape(new MLineShape(docPoint(kCrossX, 0), docPoint(kCrossX, size.cy)), -1);
        const std::string path = dir + "/" + name;
        EXPECT_TRUE(doc.OnSaveDocument(path));
        return path;
    }

    std::unique_ptr<MTessarayApp> app;
    std::string dir, home, config, data;

private:
    struct Variable {
        const char* name;
        std::string value;
        bool set;
    };
    std::vector<Variable> m_environment;
    std::unique_ptr<CProfile> m_previousProfile;
    QString m_previousConfig;
    PrinterStateKept m_printer;
};
