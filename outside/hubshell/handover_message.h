#pragma once
// What a hand-over message carries: one UTF-16LE command line and its
// terminating zero character.
#include <optional>
#include <string>
#include <string_view>

namespace kestro::hubshell {

// The largest message accepted: a Windows command line (32,767 characters) and its zero.
inline constexpr size_t kMaxHandOverBytes = 32768 * 2;

// The command line, or nothing when the bytes are not one zero-terminated UTF-16 text.
std::optional<std::u16string> DecodeHandOverMessage(std::string_view bytes);

// A word of the command line that is a link of the gcapp protocol.
bool IsGcappLink(std::u16string_view word);

// Lower-case hexadecimal of the bytes, for the call record.
std::string HexOf(std::string_view bytes);

}  // namespace kestro::hubshell
