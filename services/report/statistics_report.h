#pragma once
// The statistics and feedback reports sent at the end of an install or uninstall.
// Each request uses its own HTTP agent; every failure is silent and changes nothing.
#include <string>
#include <vector>

namespace kestro {

// op 1 install, 2 uninstall, 3 install over an existing one; v build number;
// c channel; l always 1; md5 text (empty); e the error code, sent only when not 0.
void ReportOperation(long op, long v, long c, long l, const char* md5, long e);

// Reason codes of the checked boxes (1..5, in box order) and the free texts; sends
// nothing when both lists are empty.
void SendUninstallFeedback(const std::vector<int>& reasons, const std::vector<std::wstring>& texts);

// GET of `path` on the statistics server; true when the reply is empty or decodes
// (length, zlib, JSON) cleanly.
bool RequestStatistics(const std::string& path);

}  // namespace kestro
