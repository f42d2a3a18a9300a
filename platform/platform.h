// What the program asks of the operating system. One implementation per platform
// lives beside this header (posix/, win32/); the core includes nothing else of the OS.
#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <string_view>

namespace platform {

// One GET request, already split into its parts; path_and_query is sent as it is.
struct HttpTarget {
    bool tls = false;
    std::string host;
    int port = 80;
    std::string user;
    std::string password;
    std::string path_and_query;
};

// Bounds that keep a stalled or endless server from freezing the window.
struct HttpLimits {
    long connect_seconds = 30;
    long stall_seconds = 30; // fail when no byte arrives for this long
    long total_seconds = 60;
    std::size_t body_cap = std::size_t{1} << 20;
};

// Given the Content-Length header's value ("" when missing), the read piece size.
using PieceRule = std::function<std::size_t(std::string_view content_length)>;

// Sends one GET with HTTP/1.0, the user agent, "Accept: */*" and no-cache headers,
// following redirects; whatever the status, returns the body bytes that arrived,
// at most limits.body_cap of them ("" when nothing arrived).
std::string http_get(const HttpTarget& target, std::string_view user_agent,
                     const HttpLimits& limits, const PieceRule& piece_rule);

// Process-wide settings made once at start-up, before the window exists.
void prepare_process();

// Full path of the running executable, raw bytes.
std::string executable_path();

// How paths are spelled: the separator between a directory and a file name, and
// whether paths are in a double-byte ANSI code page, whose trail bytes can equal
// the separator (Windows, GBK, backslash). POSIX paths are UTF-8 or plain bytes,
// in which no byte of a multi-byte character is ever '/'.
struct PathConvention {
    char separator;
    bool double_byte_ansi;
};
PathConvention path_convention();

bool set_current_directory(const std::string& path);

// Whether the user may create files in the directory.
bool directory_writable(const std::string& path);

// The user's documents directory as the desktop names it, "" when it names none.
std::string desktop_documents_directory();

// The user's home directory, "" where the program has no use for it (Windows).
std::string home_directory();

// Creates the directory and its missing parents; true when it exists afterwards.
bool make_directories(const std::string& path);

// Replaces the file at path with the blocks, in order: writes a new file beside
// it, flushes it to disk and renames it over path. On failure the old file stays
// and no new file is left behind.
bool replace_file(const std::string& path, std::span<const std::string_view> blocks);

// Asks the desktop to open the document with its default handler; does not wait.
void shell_open(const std::string& path);

// Ends the process at once with the status.
[[noreturn]] void exit_process(int status);

} // namespace platform
