#pragma once
// What the local statistics server understands and answers, without sockets:
// the request head, the two report paths, and the reply bodies it sends back.
#include <map>
#include <string>

#include "services/json/jvalue.h"

namespace kestro::stats {

struct RequestHead {
    std::string method;
    std::string target;
    std::string version;
    // Names lower-cased, values trimmed of spaces.
    std::map<std::string, std::string> headers;
};

// `head` runs from the request line through the empty line. False when the
// request line is not "METHOD SP TARGET SP HTTP/1.x" or a header line has no colon.
bool ParseRequestHead(const std::string& head, RequestHead& out);

// The answer to one request target: the HTTP status and the log record
// (the request's fields, or an "error" text when it is refused).
struct TargetVerdict {
    int status = 400;
    JValue record;
};

TargetVerdict JudgeTarget(const std::string& target);

// Strict standard Base64 (length a multiple of 4, "=" only as padding).
bool DecodeBase64Strict(const std::string& text, std::string& out);

// The shapes of reply body the server can send; all but kValid are for tests of
// the client's reply checks.
enum class ReplyForm { kValid, kZeroLength, kNotZlib, kEmpty };

// kValid: 4-byte big-endian length of `json`, then its zlib stream.
std::string EncodeReplyBody(const std::string& json, ReplyForm form);

std::string BuildHttpResponse(int status, const std::string& body);

}  // namespace kestro::stats
