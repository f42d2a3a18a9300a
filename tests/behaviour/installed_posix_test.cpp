// An installed program lives where its user cannot write: its export goes to the
// documents directory the desktop names + "/vqgen". Run for real as the user
// nobody, from a copy of this program in a directory only root may write.
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "behaviour/behaviour.h"
#include "support/test_files.h"
#include "text/program_texts.h"

namespace fs = std::filesystem;

namespace {

bool xdg_user_dir_installed()
{
    return std::system("command -v xdg-user-dir >/dev/null 2>&1") == 0;
}

// Starts the copy as the user for the scenario; its exit status, or -1.
int run_as(const passwd& user, const fs::path& program, const fs::path& home, const fs::path& path_dir)
{
    const pid_t child = ::fork();
    if (child == 0) {
        ::setenv("HOME", home.c_str(), 1);
        ::unsetenv("XDG_CONFIG_HOME");
        ::setenv("PATH", (path_dir.string() + ":/usr/bin:/bin").c_str(), 1);
        if (::setgroups(0, nullptr) != 0 || ::setgid(user.pw_gid) != 0 || ::setuid(user.pw_uid) != 0)
            ::_exit(125);
        char* argv[] = {const_cast<char*>("behaviour_tests"), const_cast<char*>("--child=export_then_close"), nullptr};
        ::execv(program.c_str(), argv);
        ::_exit(127);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

} // namespace

TEST(Installed, UnwritableProgramDirectoryExportsIntoDocuments)
{
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || nobody == nullptr)
        GTEST_SKIP() << "runs the program as the user nobody, which needs root and that user";
    char pattern[] = "/tmp/vqgen-installed-XXXXXX";
    ASSERT_NE(::mkdtemp(pattern), nullptr);
    const fs::path root(pattern);
    const fs::path bin = root / "usr" / "bin";
    const fs::path home = root / "home";
    const fs::path openers = root / "openers";
    fs::create_directories(bin);
    fs::create_directories(home / ".config");
    fs::create_directories(openers);
    const auto readable = fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                          fs::perms::others_read | fs::perms::others_exec;
    for (const fs::path& dir : {root, root / "usr", bin, openers})
        fs::permissions(dir, readable);
    fs::copy_file("/proc/self/exe", bin / "behaviour_tests");
    fs::permissions(bin / "behaviour_tests", readable);
    test_files::write((openers / "xdg-open").string(), "#!/bin/sh\nexit 0\n");
    fs::permissions(openers / "xdg-open", readable);
    // The desktop's name for the documents directory: 文档.
    test_files::write((home / ".config" / "user-dirs.dirs").string(),
                      "XDG_DOCUMENTS_DIR=\"$HOME/\xE6\x96\x87\xE6\xA1\xA3\"\n");
    for (const auto& entry : fs::recursive_directory_iterator(home))
        ::chown(entry.path().c_str(), nobody->pw_uid, nobody->pw_gid);
    ::chown(home.c_str(), nobody->pw_uid, nobody->pw_gid);

    EXPECT_EQ(run_as(*nobody, bin / "behaviour_tests", home, openers), 0);
    const fs::path documents = xdg_user_dir_installed() ? home / "\xE6\x96\x87\xE6\xA1\xA3" : home / "Documents";
    EXPECT_EQ(test_files::read((documents / "vqgen" / "1.html").string()), std::string(gbk::export_notice));
    EXPECT_FALSE(fs::exists(bin / "1.html"));
    fs::remove_all(root);
}
