#pragma once
// The two report requests as the statistics server expects them, built without
// any system call: the request targets and the feedback text.
#include <string>
#include <vector>

namespace kestro {

// "/clt_v2_set?machid=%s&plat=30&op=%ld&v=%ld&l=%ld&c=%ld&md5=%s", then "&e=%ld"
// when e is not 0. The md5 text is percent-escaped where it is not URL-safe, so
// no caller can break the request line with it (the installer always sends it empty).
std::string FormatOperationPath(const std::string& machineId, long op, long v, long l, long c, const std::string& md5,
                                long e);

// The feedback as compact JSON with its line feed: "check" holds the reason codes,
// "feedback" the UTF-8 texts; an empty list is left out. Empty when both are.
std::string BuildFeedbackJson(const std::vector<int>& reasons, const std::vector<std::string>& utf8Texts);

// "/clt_v2_fb?machid=%s&plat=30&fb=%s" with the Base64 of the feedback text,
// unescaped: "+", "/" and "=" stay literal.
std::string FormatFeedbackPath(const std::string& machineId, const std::string& feedbackJson);

}  // namespace kestro
