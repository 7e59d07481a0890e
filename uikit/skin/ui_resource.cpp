#include "ui_resource.h"

#include <cstring>
#include <vector>

#include "services/win/unique_handle.h"
#include "uikit/core/font_record.h"
#include "uikit/core/skin_package.h"
#include "uikit/core/ui_messages.h"
#include "uikit/skin/toolkit_fonts.h"

namespace kestro {
namespace {

UIResource* g_currentSkin = nullptr;

BOOL CALLBACK NotifyChild(HWND window, LPARAM) {
    SendMessageW(window, UIM_SKINCHANGED, 0, 0);
    if (IsWindowVisible(window)) {
        InvalidateRect(window, nullptr, TRUE);
        SetWindowPos(window, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOOWNERZORDER | SWP_DEFERERASE |
                         SWP_FRAMECHANGED);
    }
    return TRUE;
}

BOOL CALLBACK NotifyTopLevel(HWND window, LPARAM) {
    NotifyChild(window, 0);
    EnumChildWindows(window, NotifyChild, 0);
    return TRUE;
}

bool CopyBitmap(const CHBitmap& from, CHBitmap& to) {
    return to.CopyFrom(from.header, from.bits, from.imageSize);
}

}  // namespace

UIResource* GetCurrentSkin() { return g_currentSkin; }
void SetCurrentSkin(UIResource* skin) { g_currentSkin = skin; }

UIResource::~UIResource() {
    if (g_currentSkin == this) g_currentSkin = nullptr;
}

bool UIResource::LoadFromResource(HINSTANCE instance, const wchar_t* type, int id) {
    HRSRC found = FindResourceW(instance, MAKEINTRESOURCEW(id), type);
    if (!found) return false;
    const DWORD size = SizeofResource(instance, found);
    HGLOBAL loaded = LoadResource(instance, found);
    const void* bytes = loaded ? LockResource(loaded) : nullptr;
    if (!bytes || size == 0) return false;
    std::vector<uint8_t> copy(static_cast<const uint8_t*>(bytes), static_cast<const uint8_t*>(bytes) + size);
    return LoadFromBuffer(copy.data(), copy.size());
}

bool UIResource::LoadFromFile(const wchar_t* path) {
    UniqueFile file(CreateFileW(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file) return false;
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > 0x7FFFFFFF) return false;
    std::vector<uint8_t> bytes(size_t(size.QuadPart));
    DWORD read = 0;
    if (!ReadFile(file.get(), bytes.data(), DWORD(bytes.size()), &read, nullptr) || read != bytes.size()) return false;
    return LoadFromBuffer(bytes.data(), bytes.size());
}

bool UIResource::LoadFromBuffer(const void* data, size_t size) {
    SkinPackage package;
    if (ParseSkinPackage(data, size, package) != SkinPackageError::None) return false;
    std::string text = package.description;
    // The stored text may end with a NUL; the JSON reader stops before it.
    const size_t nul = text.find('\0');
    if (nul != std::string::npos) text.resize(nul);
    JValue parsed;
    if (!JValue::Parse(text, parsed)) parsed = JValue();
    description_ = parsed;
    directory_ = BuildSkinDirectory(description_, SkinBlobTable(package));
    return true;
}

std::optional<JValue> UIResource::FindNode(const char* path, const JValue* base) {
    if (base) return FindSkinNode(*base, path);
    return FindSkinNode(description_["cfg"], path);
}

int UIResource::GetInt(const char* path, const JValue* base) {
    auto node = FindNode(path, base);
    return node ? SkinInt(*node) : 0;
}

std::array<int, 4> UIResource::GetRect(const char* path, const JValue* base) {
    auto node = FindNode(path, base);
    return node ? SkinRect(*node) : std::array<int, 4>{};
}

POINT UIResource::GetPoint(const char* path, const JValue* base) {
    auto node = FindNode(path, base);
    if (!node) return POINT{0, 0};
    auto p = SkinPoint(*node);
    return POINT{p[0], p[1]};
}

COLORREF UIResource::GetColor(const char* path, const JValue* base) {
    auto node = FindNode(path, base);
    return node ? COLORREF(SkinColor(*node)) : 0;
}

ImageStyle UIResource::GetImageStyle(const char* path, const JValue* base) {
    ImageStyle style;
    auto node = FindNode(path, base);
    if (!node) return style;
    if (node->HasMember("bi")) {
        if (CHBitmap* image = GetImage((*node)["bi"].AsInt(), true)) {
            const auto bg = SkinRect((*node)["bg"]);
            style.x = bg[0], style.y = bg[1], style.w = bg[2], style.h = bg[3];
            style.colorKey = SkinColor((*node)["bc"]);
            const auto mg = SkinRect((*node)["mg"]);
            style.marginLeft = mg[0], style.marginTop = mg[1], style.marginRight = mg[2], style.marginBottom = mg[3];
            style.mode = SkinInt((*node)["md"]);
            style.image = image;
        }
    }
    if (node->HasMember("fi")) {
        if (CHBitmap* image = GetImage((*node)["fi"].AsInt(), true)) {
            const auto fg = SkinRect((*node)["fg"]);
            style.fgX = fg[0], style.fgY = fg[1], style.fgW = fg[2], style.fgH = fg[3];
            style.fgColorKey = SkinColor((*node)["fc"]);
            const auto of = SkinPoint((*node)["of"]);
            style.fgDx = of[0], style.fgDy = of[1];
            style.fgPlacement = SkinInt((*node)["al"]);
            style.fgImage = image;
        }
    }
    return style;
}

TextStyle UIResource::GetTextStyle(const char* path, const JValue* base) {
    TextStyle style;
    auto node = FindNode(path, base);
    if (!node) return style;
    const int font = (*node)["ft"].AsInt();
    style.font = font ? GetFont(font) : nullptr;
    style.color = COLORREF(uint32_t((*node)["cr"].AsInt()) & 0xFFFFFF);
    style.align = uint32_t((*node)["al"].AsInt());
    const auto of = SkinPoint((*node)["of"]);
    style.dx = of[0], style.dy = of[1];
    const std::u16string text = DecodeSkinText((*node)["tx"].AsText());
    style.text.assign(text.begin(), text.end());
    return style;
}

HFONT UIResource::GetFont(int id) {
    auto cached = fonts_.find(id);
    if (cached != fonts_.end()) return cached->second;
    std::string bytes;
    if (!GetData("fonts", id, bytes)) {
        fonts_[id] = nullptr;
        return nullptr;
    }
    LOGFONTW lf = IconTitleLogFont();
    FontRecord record;
    if (ParseFontRecord(bytes, record)) {
        auto set = [](auto& field, int32_t value) {
            if (value) field = static_cast<std::remove_reference_t<decltype(field)>>(value);
        };
        set(lf.lfHeight, record.height);
        set(lf.lfWidth, record.width);
        set(lf.lfEscapement, record.escapement);
        set(lf.lfOrientation, record.orientation);
        set(lf.lfWeight, record.weight);
        set(lf.lfItalic, record.italic);
        set(lf.lfUnderline, record.underline);
        set(lf.lfStrikeOut, record.strikeOut);
        set(lf.lfCharSet, record.charSet);
        set(lf.lfOutPrecision, record.outPrecision);
        set(lf.lfClipPrecision, record.clipPrecision);
        set(lf.lfQuality, record.quality);
        set(lf.lfPitchAndFamily, record.pitchAndFamily);
        if (!record.faceName.empty()) {
            memset(lf.lfFaceName, 0, sizeof(lf.lfFaceName));
            memcpy(lf.lfFaceName, record.faceName.data(), record.faceName.size() * sizeof(char16_t));
        }
    }
    HFONT font = CreateFontIndirectW(&lf);
    fonts_[id] = font;
    return font;
}

CHBitmap* UIResource::GetImage(int id, bool tintable) {
    auto cached = images_.find(id);
    if (cached != images_.end()) return cached->second.bitmap.get();
    std::string bytes;
    if (!GetData("images", id, bytes)) return nullptr;
    auto bitmap = std::make_unique<CHBitmap>();
    // A tint is applied to pixels, so a tinted skin decodes at once.
    if (decodeOnFirstUse_ && !TintActive()) {
        bitmap->DecodeOnFirstUse(std::move(bytes));
    } else if (!bitmap->Decode(bytes.data(), bytes.size())) {
        return nullptr;
    }
    if (TintActive()) {
        auto copy = std::make_unique<CHBitmap>();
        if (CopyBitmap(*bitmap, *copy)) untinted_[id] = std::move(copy);
        if (tintable) {
            TintTables tables;
            BuildTintTables(hue_, saturation_, lightness_, tables);
            ApplyTint(*bitmap, tables);
        }
    }
    CHBitmap* result = bitmap.get();
    images_[id] = CachedImage{std::move(bitmap), tintable};
    return result;
}

bool UIResource::GetData(const char* category, int id, std::string& out) {
    auto cat = directory_.find(category ? category : "");
    if (cat == directory_.end()) return false;
    auto blob = cat->second.find(id);
    if (blob == cat->second.end() || blob->second.empty()) return false;
    out = blob->second;
    return true;
}

HFONT UIResource::GetDefaultFont() { return SharedDefaultFont(); }
HFONT UIResource::GetDefaultBoldFont() { return SharedBoldFont(); }
HFONT UIResource::GetDefaultUnderlineFont() { return SharedUnderlineFont(); }
HFONT UIResource::GetDefaultBoldUnderlineFont() { return SharedBoldUnderlineFont(); }

void UIResource::ApplyTint(CHBitmap& bitmap, const TintTables& tables) {
    for (int y = 0; y < bitmap.height; ++y)
        TintPixels(tables, bitmap.PixelAt(0, y), bitmap.width, 1, size_t(bitmap.stride), bitmap.bitsPerPixel / 8);
}

bool UIResource::SetTint(int hue, int saturation, int lightness) {
    hue_ = hue, saturation_ = saturation, lightness_ = lightness;
    colors_.clear();
    TintTables tables;
    BuildTintTables(hue_, saturation_, lightness_, tables);
    for (auto& [id, cached] : images_) {
        if (!cached.tintable) continue;
        CHBitmap& live = *cached.bitmap;
        if (!live.DecodePending()) continue;
        auto& copy = untinted_[id];
        if (!copy) {
            copy = std::make_unique<CHBitmap>();
            if (!CopyBitmap(live, *copy)) {
                copy.reset();
                continue;
            }
        }
        // Refilled in place: image styles handed out earlier point to this bitmap.
        if (copy->imageSize == live.imageSize) memcpy(live.bits, copy->bits, live.imageSize);
        if (TintActive()) ApplyTint(live, tables);
    }
    EnumThreadWindows(GetCurrentThreadId(), NotifyTopLevel, 0);
    return true;
}

COLORREF UIResource::TintColor(COLORREF color) {
    if (!TintActive()) return color;
    auto cached = colors_.find(color);
    if (cached != colors_.end()) return cached->second;
    TintTables tables;
    BuildTintTables(hue_, saturation_, lightness_, tables);
    const Rgb t = TintRgb(tables, Rgb{GetRValue(color), GetGValue(color), GetBValue(color)});
    const COLORREF result = RGB(t.r, t.g, t.b);
    colors_[color] = result;
    return result;
}

size_t UIResource::BlobCount(const char* category) const {
    auto cat = directory_.find(category ? category : "");
    return cat == directory_.end() ? 0 : cat->second.size();
}

}  // namespace kestro
