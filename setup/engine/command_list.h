#pragma once
#include <string>

#include "services/json/jvalue.h"

namespace kestro {

// Starts every element of a JSON array of command texts (UTF-8, relative to
// `baseFolder`) and waits for none; an element that fails to start is skipped.
void RunCommandList(const std::wstring& baseFolder, const JValue& commands);

}  // namespace kestro
