#include <gtest/gtest.h>

#include "export/run_directory.h"

TEST(DirectoryOf, Table)
{
    struct Case {
        const char* name;
        std::string path;
        char separator;
        bool double_byte_ansi;
        std::string directory;
    };
    const Case cases[] = {
        {"plain", "/opt/vqgen/bin/vqgen", '/', false, "/opt/vqgen/bin"},
        {"root", "/vqgen", '/', false, "/"},
        {"spaces and UTF-8", "/tmp/\xE4\xB8\xAD \xE6\x96\x87/vqgen", '/', false, "/tmp/\xE4\xB8\xAD \xE6\x96\x87"},
        {"no separator", "vqgen", '/', false, ""},
        {"Windows plain", "C:\\Tools\\vqgen.exe", '\\', true, "C:\\Tools"},
        {"Windows drive root", "C:\\vqgen.exe", '\\', true, "C:"},
        // 0x81 0x5C is one GBK character whose trail byte is the backslash's code.
        {"GBK trail byte 0x5C", "D:\\a\x81\x5C\\vqgen.exe", '\\', true, "D:\\a\x81\x5C"},
        {"GBK trail byte only", "D:\\\x81\x5Cvqgen.exe", '\\', true, "D:"},
        {"GBK trail byte, bytewise", "D:\\a\x81\x5C\\vqgen.exe", '\\', false, "D:\\a\x81\x5C"},
        {"GBK directory, bytewise cut would be wrong", "D:\\\x81\x5Cvqgen.exe", '\\', false, "D:\\\x81"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(directory_of(c.path, c.separator, c.double_byte_ansi).view(), c.directory) << c.name;
}

// Where 1.html goes: the program's directory when writable; else the documents
// directory the desktop names, else home/Documents, each + "/vqgen"; with neither
// known (Windows) the program's directory whatever it allows.
TEST(ProgramDirectory, ChoiceByWhatTheUserMayWrite)
{
    struct Row {
        const char* name;
        bool writable;
        const char* desktop_documents;
        const char* home;
        const char* chosen;
    };
    const Row rows[] = {
        {"writable program directory", true, "/home/u/Docs", "/home/u", "/opt/vqgen"},
        {"unwritable, the desktop names documents", false, "/home/u/\xE6\x96\x87\xE6\xA1\xA3", "/home/u",
         "/home/u/\xE6\x96\x87\xE6\xA1\xA3/vqgen"},
        {"unwritable, no xdg-user-dir", false, "", "/home/u", "/home/u/Documents/vqgen"},
        {"unwritable, nothing named (Windows)", false, "", "", "/opt/vqgen"},
    };
    for (const Row& row : rows)
        EXPECT_EQ(choose_program_directory("/opt/vqgen", row.writable, row.desktop_documents, row.home).view(),
                  row.chosen)
            << row.name;
}
