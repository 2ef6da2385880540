#include "trace/OutputFile.h"

#include <cerrno>
#include <fstream>
#include <iostream>

namespace trace {

namespace {

// The reasons a user can act on, in German; the C library's own texts follow the locale.
std::string reasonOf(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return "den Ordner gibt es nicht";
    case EACCES:
    case EPERM:
        return "dort darf nicht geschrieben werden";
    case EISDIR:
        return "das ist ein Ordner";
    case ENOSPC:
        return "der Datenträger ist voll";
    case EROFS:
        return "der Datenträger ist nur lesbar";
    default:
        return "Fehler " + std::to_string(error);
    }
}

} // namespace

std::unique_ptr<std::ostream> openOutput(const std::filesystem::path &path, const std::string &what)
{
    if (path == "-")
        return std::make_unique<std::ostream>(std::cout.rdbuf());
    errno = 0;
    auto file =
        std::make_unique<std::ofstream>(path, std::ios::out | std::ios::trunc | std::ios::binary);
    if (!*file) {
        // Windows refuses a folder as EACCES, which would read as a matter of rights.
        std::error_code ignored;
        const int error = std::filesystem::is_directory(path, ignored) ? EISDIR : errno;
        const std::u8string name = path.u8string();
        throw OutputError(what + " kann nicht nach „" + std::string(name.begin(), name.end())
                          + "“ geschrieben werden: "
                          + (error ? reasonOf(error) : "unbekannter Fehler") + ".");
    }
    return file;
}

WriteWatch::WriteWatch(std::string what, Report report)
    : m_what(std::move(what))
    , m_report(report ? std::move(report)
                      : Report([](const std::string &message) { std::cerr << message << '\n'; }))
{}

void WriteWatch::check(const std::ostream &out)
{
    if (out || m_told)
        return;
    m_told = true;
    m_report(m_what + " kann nicht weiter geschrieben werden; was danach geschieht, fehlt darin.");
}

} // namespace trace
