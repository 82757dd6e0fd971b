// The file requesters with stand-in dialog programs: a shell script named
// zenity (or kdialog) on PATH records the arguments it was given and prints
// an answer, so the arguments built, the answer read and the reasons given
// are checked without a desktop.
#include "toolkit/system/file_dialog.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "toolkit/system/system_driver.h"

namespace kestrel {
namespace {

namespace fs = std::filesystem;

using Args = std::vector<std::string>;

// A folder of stand-in programs put alone on PATH, with a display set so
// the requester runs; the environment is restored afterwards.
class FakeDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        char name[] = "/tmp/kestrel_dialogs_XXXXXX";
        dir_ = mkdtemp(name);
        Save("PATH");
        Save("DISPLAY");
        Save("WAYLAND_DISPLAY");
        Save("XDG_CURRENT_DESKTOP");
        setenv("PATH", dir_.c_str(), 1);
        setenv("DISPLAY", ":99", 1);
        unsetenv("XDG_CURRENT_DESKTOP");
    }
    void TearDown() override {
        for (const auto& [key, value] : saved_) {
            if (value)
                setenv(key.c_str(), value->c_str(), 1);
            else
                unsetenv(key.c_str());
        }
        fs::remove_all(dir_);
    }

    // A program that writes each argument on a line of <name>.args, prints
    // answer on standard output and err on standard error, and exits with
    // status.
    void Install(const std::string& name, const std::string& answer, int status,
                 const std::string& err = "") {
        const std::string path = dir_ + "/" + name;
        std::ofstream(path + ".out") << answer;
        std::ofstream(path + ".err") << err;
        std::ofstream script(path);
        script << "#!/bin/sh\n"
               << "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << path << ".args'\n"
               << "/bin/cat '" << path << ".out'\n"
               << "/bin/cat '" << path << ".err' >&2\n"
               << "exit " << status << "\n";
        script.close();
        chmod(path.c_str(), 0755);
    }

    Args Recorded(const std::string& name) const {
        std::ifstream in(dir_ + "/" + name + ".args");
        Args lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    std::string dir_;

private:
    void Save(const std::string& key) {
        const char* v = std::getenv(key.c_str());
        saved_.emplace_back(key, v ? std::optional<std::string>(v) : std::nullopt);
    }
    std::vector<std::pair<std::string, std::optional<std::string>>> saved_;
};

TEST(FileDialog, ExtensionListsBecomeFilters) {
    const auto plain = ParseExtensions("png,jpg");
    ASSERT_EQ(plain.size(), 1u);
    EXPECT_EQ(plain[0].name, "*.png *.jpg");
    EXPECT_EQ(plain[0].exts, (Args{"png", "jpg"}));

    const auto named = ParseExtensions(" Images : *.png, .JPG ,; Levels:lvl ;; All:* ");
    ASSERT_EQ(named.size(), 2u);
    EXPECT_EQ(named[0].name, "Images");
    EXPECT_EQ(named[0].exts, (Args{"png", "JPG"}));
    EXPECT_EQ(named[1].name, "Levels");
    EXPECT_EQ(named[1].exts, (Args{"lvl"}));

    EXPECT_TRUE(ParseExtensions("").empty());
    EXPECT_TRUE(ParseExtensions("*").empty());
}

TEST(FileDialog, ArgumentsForEachKindOfRequest) {
    const std::string folder = fs::temp_directory_path().string();
    FileRequest open{"Open level", "Levels:lvl;Images:png", false, false, folder};
    EXPECT_EQ(DialogArguments(DialogProgram::Zenity, open),
              (Args{"zenity", "--file-selection", "--title=Open level", "--filename=" + folder + "/",
                    "--file-filter=Levels | *.lvl *.LVL", "--file-filter=Images | *.png *.PNG",
                    "--file-filter=All files | *"}));
    EXPECT_EQ(DialogArguments(DialogProgram::Kdialog, open),
              (Args{"kdialog", "--title", "Open level", "--getopenfilename", folder,
                    "Levels (*.lvl)|Images (*.png)|All files (*)"}));

    // A file to save: the start path is a file name, kept as it is.
    FileRequest save{"Save as", "", true, false, "/nowhere/score.txt"};
    EXPECT_EQ(DialogArguments(DialogProgram::Zenity, save),
              (Args{"zenity", "--file-selection", "--title=Save as", "--save", "--confirm-overwrite",
                    "--filename=/nowhere/score.txt"}));
    EXPECT_EQ(DialogArguments(DialogProgram::Kdialog, save),
              (Args{"kdialog", "--title", "Save as", "--getsavefilename", "/nowhere/score.txt"}));

    // A folder: no filters even when extensions are given; no start path.
    FileRequest dir{"Pick", "png", false, true, ""};
    EXPECT_EQ(DialogArguments(DialogProgram::Zenity, dir),
              (Args{"zenity", "--file-selection", "--title=Pick", "--directory"}));
    EXPECT_EQ(DialogArguments(DialogProgram::Kdialog, dir),
              (Args{"kdialog", "--title", "Pick", "--getexistingdirectory", "."}));
}

TEST_F(FakeDialogs, TheChosenPathComesBackAndTheArgumentsAreAVector) {
    // Quotes, spaces and a semicolon reach the program as they are: no
    // shell reads them.
    Install("zenity", "/home/me/my levels/one's.lvl\n", 0, "Gtk-Message: noise");
    const std::string title = "Open \"it\"; rm -rf x";
    FileRequest r{title, "lvl", false, false, ""};
    EXPECT_EQ(RunFileRequester(r), "/home/me/my levels/one's.lvl");
    EXPECT_EQ(LastRequestError(), "");
    EXPECT_EQ(Recorded("zenity"), (Args{"--file-selection", "--title=" + title,
                                        "--file-filter=*.lvl | *.lvl *.LVL",
                                        "--file-filter=All files | *"}));
}

TEST_F(FakeDialogs, CancelAndFailureGiveReasons) {
    Install("zenity", "", 1);
    EXPECT_EQ(RunFileRequester(FileRequest{"t", "", false, true, ""}), "");
    EXPECT_EQ(LastRequestError(), "cancelled");

    Install("zenity", "", 5, "first line\nDialog timed out");
    EXPECT_EQ(RunFileRequester(FileRequest{"t", "", false, false, ""}), "");
    EXPECT_EQ(LastRequestError(), "zenity failed (exit status 5): Dialog timed out");

    // A later success clears the reason.
    Install("zenity", "/tmp/a.png", 0);
    EXPECT_EQ(RunFileRequester(FileRequest{"t", "", false, false, ""}), "/tmp/a.png");
    EXPECT_EQ(LastRequestError(), "");
}

TEST_F(FakeDialogs, KdialogIsTriedFirstOnKdeAndServesWithoutZenity) {
    Install("kdialog", "/from/kdialog\n", 0);
    EXPECT_EQ(RunFileRequester(FileRequest{"t", "", true, false, "/x"}), "/from/kdialog");
    EXPECT_EQ(Recorded("kdialog"), (Args{"--title", "t", "--getsavefilename", "/x"}));

    Install("zenity", "/from/zenity\n", 0);
    EXPECT_EQ(RunFileRequester(FileRequest{"t", "", false, false, ""}), "/from/zenity");
    setenv("XDG_CURRENT_DESKTOP", "ubuntu:KDE", 1);
    EXPECT_EQ(RunFileRequester(FileRequest{"t", "", false, false, ""}), "/from/kdialog");
}

TEST_F(FakeDialogs, NoProgramOrNoDisplaySaysWhy) {
    // A file named zenity that cannot be run is not a requester.
    std::ofstream(dir_ + "/zenity") << "#!/bin/sh\necho /x\n";
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunFileRequester(FileRequest{"t", "", false, false, ""}), "");
    const std::string err = ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(LastRequestError(), "no file requester on this desktop: install zenity or kdialog");
    EXPECT_NE(err.find("install zenity or kdialog"), std::string::npos) << err;
    EXPECT_EQ(std::count(err.begin(), err.end(), '\n'), 1) << err;

    Install("zenity", "/x", 0);
    unsetenv("DISPLAY");
    unsetenv("WAYLAND_DISPLAY");
    EXPECT_EQ(RunFileRequester(FileRequest{"t", "", false, false, ""}), "");
    EXPECT_NE(LastRequestError().find("DISPLAY"), std::string::npos) << LastRequestError();
    EXPECT_TRUE(Recorded("zenity").empty());

    // Without a desktop driver the module functions answer "" at once.
    setenv("DISPLAY", ":99", 1);
    EXPECT_EQ(RequestDir("Pick"), "");
    EXPECT_NE(LastRequestError().find("headless"), std::string::npos) << LastRequestError();
    EXPECT_TRUE(Recorded("zenity").empty());
}

}  // namespace
}  // namespace kestrel
