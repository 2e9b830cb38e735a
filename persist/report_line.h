#pragma once
// The run report's parts below RunReport::Write: the line for a given moment and
// locale, and the append to the file for a given clock reading.

#include <cstdint>
#include <ctime>
#include <string>
#include <string_view>

#include "persist/locale_time.h"
#include "platform/cp932_literal.h"
#include "platform/file_hooks.h"
#include "platform/file_writer.h"

namespace velkor {

// The file's name as the file system takes it (UTF-8), and as the game writes
// it in messages (code page 932).
inline constexpr const char* ReportPath = "\xE3\x83\xAC\xE3\x83\x9D\xE3\x83\xBC\xE3\x83\x88.txt";
inline constexpr const char* ReportFileName = "レポート.txt"_cp;

// The player's name as the report line holds it: each control byte (0x00 to
// 0x1F, 0x7F) and each byte or pair that code page 932 does not define
// becomes "?", so that a name can never break or extend the line and every
// line reads as code page 932. Pairs are taken as the terminal takes them:
// a lead byte with a second byte after it. The screen and save.dat keep the
// name as it is.
std::string ReportName(std::string_view name);

// 【<kills>人斬り】<titleList>／VELKOR／[<date and time>]／<ReportName of
// playerName>, without the line end.
std::string ReportLine(std::int32_t killCount, std::string_view titleList, std::string_view playerName,
                       const std::tm& when, const ReportLocale& locale);

// Builds the line for the local time of now, then appends it and CR LF to the
// report file in the working folder, opening and closing the file. A failure
// of the clock, the open, the write or the close raises the input-output
// failure; the clock is read before the file is touched, and a failed write
// leaves the file as it was (none at all when there was none). The bytes go
// through write; a host that hooks did not store them in is a failed write.
// Gives the line appended.
std::string AppendReport(std::int32_t killCount, std::string_view titleList, std::string_view playerName,
                         std::time_t now, const ReportLocale& locale,
                         platform::FileWriter write = platform::SystemWrite,
                         const platform::FileHooks& hooks = platform::NoFileHooks);

}  // namespace velkor
