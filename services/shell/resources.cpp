#include "resources.h"

#include <optional>

#include "services/win/unique_handle.h"

namespace kestro {

bool LoadRawResource(HMODULE module, const wchar_t* type, UINT id, std::string& out) {
    out.clear();
    HRSRC info = FindResourceW(module, MAKEINTRESOURCEW(id), type);
    if (!info) return false;
    HGLOBAL loaded = LoadResource(module, info);
    DWORD size = SizeofResource(module, info);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (bytes && size) out.assign(static_cast<const char*>(bytes), size);
    // Resources stay mapped with their module; there is nothing else to release.
    return !out.empty();
}

std::wstring LoadStringResource(UINT id) {
    const wchar_t* text = nullptr;
    // A zero buffer size hands out the read-only resource text itself.
    int length = LoadStringW(GetModuleHandleW(nullptr), id, reinterpret_cast<wchar_t*>(&text), 0);
    return length > 0 && text ? std::wstring(text, size_t(length)) : std::wstring();
}

int MeasureTextWidth(HDC dc, const wchar_t* text) {
    std::wstring owned = IS_INTRESOURCE(text) ? LoadStringResource(LOWORD(reinterpret_cast<ULONG_PTR>(text)))
                                              : std::wstring(text ? text : L"");
    std::optional<ScopedWindowDc> screen;
    if (!dc) screen.emplace(nullptr);
    HDC target = dc ? dc : screen->get();
    if (!target || owned.empty()) return 0;
    SIZE size = {};
    if (!GetTextExtentPoint32W(target, owned.c_str(), int(owned.size()), &size)) return 0;
    return size.cx;
}

}  // namespace kestro
