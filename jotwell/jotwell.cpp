#include "jotwell.h"

#include <dlfcn.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>

#include <spdlog/sinks/basic_file_sink.h>
#include <spdlog/spdlog.h>

namespace {

// The user's own state folder for an installed, read-only program folder.
std::filesystem::path UserStateFolder()
{
    const char* pszState = std::getenv("XDG_STATE_HOME");
    if (pszState && *pszState == '/')
        return pszState;
    const char* pszHome = std::getenv("HOME");
    return std::filesystem::path(pszHome && *pszHome ? pszHome : "/") / ".local" / "state";
}

// The library sits in the program folder; the log goes to its "Jotwell" folder when the program
// folder can be written, otherwise to the user's state folder.
std::filesystem::path FindLogFolder()
{
    std::filesystem::path program = std::filesystem::current_path();
    Dl_info info {};
    if (dladdr(reinterpret_cast<void*>(&JotwellWriteLine), &info) && info.dli_fname)
        program = std::filesystem::absolute(info.dli_fname).parent_path();
    if (access(program.c_str(), W_OK) == 0)
        return program / "Jotwell";
    return UserStateFolder() / "velomira" / "Jotwell";
}

const std::string& LogFolder()
{
    static const std::string folder = FindLogFolder().string();
    return folder;
}

std::shared_ptr<spdlog::logger> Logger()
{
    static std::once_flag once;
    static std::shared_ptr<spdlog::logger> logger;
    std::call_once(once, [] {
        try {
            const std::filesystem::path folder = LogFolder();
            std::filesystem::create_directories(folder);
            auto sink = std::make_shared<spdlog::sinks::basic_file_sink_mt>((folder / "velomira.log").string());
            logger = std::make_shared<spdlog::logger>("jotwell", sink);
            logger->set_pattern("%Y-%m-%d %H:%M:%S.%e %v");
            logger->flush_on(spdlog::level::info);
        } catch (const std::exception&) {
            logger.reset(); // a log that cannot be opened loses its lines silently
        }
    });
    return logger;
}

void AppendUtf8(std::string& out, char32_t c)
{
    if (c < 0x80) {
        out += char(c);
    } else if (c < 0x800) {
        out += char(0xC0 | (c >> 6));
        out += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += char(0xE0 | (c >> 12));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    } else {
        out += char(0xF0 | (c >> 18));
        out += char(0x80 | ((c >> 12) & 0x3F));
        out += char(0x80 | ((c >> 6) & 0x3F));
        out += char(0x80 | (c & 0x3F));
    }
}

std::string ToUtf8(const char16_t* psz)
{
    std::string out;
    for (; *psz; ++psz) {
        char32_t c = *psz;
        if (c >= 0xD800 && c < 0xDC00 && psz[1] >= 0xDC00 && psz[1] < 0xE000) {
            c = 0x10000 + ((c - 0xD800) << 10) + (psz[1] - 0xDC00);
            ++psz;
        } else if (c >= 0xD800 && c < 0xE000) {
            c = 0xFFFD; // an unpaired surrogate
        }
        AppendUtf8(out, c);
    }
    return out;
}

} // namespace

void JotwellWriteLine(const char16_t* pszLine)
{
    if (!pszLine)
        return;
    if (auto logger = Logger()) {
        try {
            logger->info(ToUtf8(pszLine));
        } catch (const std::exception&) {
        }
    }
}

const char* JotwellLogFolder(void)
{
    return LogFolder().c_str();
}
