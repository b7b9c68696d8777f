// The words the program uses for its volume: full names, and why an
// operation failed.
#include "app/volume_messages.h"

#include <windows.h>

#include <sstream>

#include "base/file_path.h"
#include "db/file_header.h"

std::string FullName(const zstring& name)
{
    zstring full(name);
    FilePath::CheckName(full);
    return full.c_str();
}

std::string FailureText(ProgressQuoteDatabase& database)
{
    if (database.failure() == QuoteVolume::kWriteFailed && database.system_error() != 0) {
        char text[512] = "";
        if (FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                           static_cast<DWORD>(database.system_error()), 0, text, sizeof text,
                           nullptr)) {
            std::string reason(text);
            while (!reason.empty() && (reason.back() == '\n' || reason.back() == '\r' ||
                                       reason.back() == '.' || reason.back() == ' '))
                reason.pop_back();
            return reason;
        }
    }
    const char* reason = QuoteVolume::describe(database.failure());
    return *reason ? reason : "it could not be written";
}

int64_t VolumeHeaderSize()
{
    FileHeader header;
    fill_volume_header(header);
    std::ostringstream bytes;
    header.write(bytes);
    return static_cast<int64_t>(bytes.str().size());
}


std::string NarrowText(const std::wstring& text)
{
    const int length = WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
    if (length <= 0)
        return "";
    std::string narrow(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, &narrow[0], length, nullptr, nullptr);
    narrow.resize(static_cast<size_t>(length) - 1);
    return narrow;
}
