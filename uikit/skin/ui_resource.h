#pragma once
// The skin package at run time: style look-ups by path, images decoded on first use
// and cached, fonts from font records, and the run-time tint.
#include <windows.h>

#include <array>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>

#include "services/json/jvalue.h"
#include "uikit/core/skin_tree.h"
#include "uikit/core/tint.h"
#include "uikit/skin/ch_bitmap.h"
#include "uikit/skin/painters.h"

namespace kestro {

// Every getter takes a "/"-separated path and a base node; a null base means the
// style tree (the description's "cfg" member). Missing or ill-shaped values read as zeros.
class IResource {
public:
    virtual ~IResource() = default;
    virtual bool LoadFromResource(HINSTANCE instance, const wchar_t* type, int id) = 0;
    virtual bool LoadFromFile(const wchar_t* path) = 0;
    virtual bool LoadFromBuffer(const void* data, size_t size) = 0;
    virtual std::optional<JValue> FindNode(const char* path, const JValue* base) = 0;
    virtual int GetInt(const char* path, const JValue* base) = 0;
    virtual std::array<int, 4> GetRect(const char* path, const JValue* base) = 0;
    virtual ImageStyle GetImageStyle(const char* path, const JValue* base) = 0;
    virtual POINT GetPoint(const char* path, const JValue* base) = 0;
    virtual COLORREF GetColor(const char* path, const JValue* base) = 0;
    virtual TextStyle GetTextStyle(const char* path, const JValue* base) = 0;
    virtual HFONT GetFont(int id) = 0;
    virtual CHBitmap* GetImage(int id, bool tintable) = 0;
    virtual bool GetData(const char* category, int id, std::string& out) = 0;
    virtual HFONT GetDefaultFont() = 0;
    virtual HFONT GetDefaultBoldFont() = 0;
    virtual HFONT GetDefaultUnderlineFont() = 0;
    virtual HFONT GetDefaultBoldUnderlineFont() = 0;
    virtual bool SetTint(int hue, int saturation, int lightness) = 0;
    virtual COLORREF TintColor(COLORREF color) = 0;
    virtual int GetHue() = 0;
    virtual int GetSaturation() = 0;
    virtual int GetLightness() = 0;
};

class UIResource : public IResource {
public:
    UIResource() = default;
    ~UIResource() override;
    UIResource(const UIResource&) = delete;
    UIResource& operator=(const UIResource&) = delete;

    bool LoadFromResource(HINSTANCE instance, const wchar_t* type, int id) override;
    bool LoadFromFile(const wchar_t* path) override;
    // False for a wrong magic and for a package whose lengths run past the bytes;
    // either way the package loaded before stays as it was.
    bool LoadFromBuffer(const void* data, size_t size) override;
    std::optional<JValue> FindNode(const char* path, const JValue* base) override;
    int GetInt(const char* path, const JValue* base) override;
    std::array<int, 4> GetRect(const char* path, const JValue* base) override;
    ImageStyle GetImageStyle(const char* path, const JValue* base) override;
    POINT GetPoint(const char* path, const JValue* base) override;
    COLORREF GetColor(const char* path, const JValue* base) override;
    TextStyle GetTextStyle(const char* path, const JValue* base) override;
    HFONT GetFont(int id) override;
    CHBitmap* GetImage(int id, bool tintable) override;
    bool GetData(const char* category, int id, std::string& out) override;
    HFONT GetDefaultFont() override;
    HFONT GetDefaultBoldFont() override;
    HFONT GetDefaultUnderlineFont() override;
    HFONT GetDefaultBoldUnderlineFont() override;
    bool SetTint(int hue, int saturation, int lightness) override;
    COLORREF TintColor(COLORREF color) override;
    int GetHue() override { return hue_; }
    int GetSaturation() override { return saturation_; }
    int GetLightness() override { return lightness_; }

    // From now on images are decoded when first drawn, not when a style or GetImage
    // names them: for a run that draws nothing (a quiet install), which then decodes
    // nothing. Such an image is handed out even when its data turns out not to decode.
    void DecodeImagesOnFirstUse() { decodeOnFirstUse_ = true; }

    // Blob counts per category, for tools and checks.
    size_t BlobCount(const char* category) const;

private:
    struct CachedImage {
        std::unique_ptr<CHBitmap> bitmap;
        bool tintable = false;
    };
    bool TintActive() const { return hue_ != 0 || saturation_ != 0 || lightness_ != 0; }
    void ApplyTint(CHBitmap& bitmap, const TintTables& tables);

    JValue description_;
    SkinDirectory directory_;
    std::map<int, CachedImage> images_;
    std::map<int, HFONT> fonts_;  // null: the font record was missing
    std::map<int, std::unique_ptr<CHBitmap>> untinted_;
    std::map<COLORREF, COLORREF> colors_;
    int hue_ = 0, saturation_ = 0, lightness_ = 0;
    bool decodeOnFirstUse_ = false;
};

// The skin that windows created later (shadow windows) are loaded from.
UIResource* GetCurrentSkin();
void SetCurrentSkin(UIResource* skin);

}  // namespace kestro
