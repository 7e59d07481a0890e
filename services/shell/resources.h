#pragma once
// Raw resources, string resources and text measurement.
#include <windows.h>

#include <string>

namespace kestro {

// All bytes of the resource `id` of `type` in `module`; true when there are any.
bool LoadRawResource(HMODULE module, const wchar_t* type, UINT id, std::string& out);

// A string of this program's string table; empty when absent.
std::wstring LoadStringResource(UINT id);

// Width in pixels of `text` (or of the string resource MAKEINTRESOURCEW(id)) in the
// current font of `dc`, or of the screen when `dc` is null.
int MeasureTextWidth(HDC dc, const wchar_t* text);

}  // namespace kestro
