#pragma once
// A skin font record: a JSON object named by the LOGFONT fields. Portable.
#include <cstdint>
#include <string>

namespace kestro {

// The longest face name a font record can carry (LOGFONT holds 32 with the terminator).
inline constexpr size_t kMaxFaceNameLength = 31;

struct FontRecord {
    // In record order; a missing member reads as 0, which means "keep the system value".
    int32_t height = 0, width = 0, escapement = 0, orientation = 0, weight = 0;
    int32_t italic = 0, underline = 0, strikeOut = 0, charSet = 0;
    int32_t outPrecision = 0, clipPrecision = 0, quality = 0, pitchAndFamily = 0;
    std::u16string faceName;  // decoded from Base64 and cut to kMaxFaceNameLength units
};

// False when the text does not parse to a JSON value (the system font is then used as is).
bool ParseFontRecord(const std::string& text, FontRecord& out);

}  // namespace kestro
