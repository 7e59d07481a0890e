#include "font_record.h"

#include "services/json/jvalue.h"
#include "uikit/core/skin_tree.h"

namespace kestro {

bool ParseFontRecord(const std::string& text, FontRecord& out) {
    JValue v;
    if (!JValue::Parse(text, v) || v.IsNull()) return false;
    FontRecord r;
    r.height = v["Height"].AsInt();
    r.width = v["Width"].AsInt();
    r.escapement = v["Escapement"].AsInt();
    r.orientation = v["Orientation"].AsInt();
    r.weight = v["Weight"].AsInt();
    r.italic = v["Italic"].AsInt();
    r.underline = v["Underline"].AsInt();
    r.strikeOut = v["StrikeOut"].AsInt();
    r.charSet = v["CharSet"].AsInt();
    r.outPrecision = v["OutPrecision"].AsInt();
    r.clipPrecision = v["ClipPrecision"].AsInt();
    r.quality = v["Quality"].AsInt();
    r.pitchAndFamily = v["PitchAndFamily"].AsInt();
    r.faceName = DecodeSkinText(v["FaceName"].AsText());
    if (r.faceName.size() > kMaxFaceNameLength) {
        size_t cut = kMaxFaceNameLength;
        // Never leave half of a surrogate pair at the end.
        if (r.faceName[cut - 1] >= 0xD800 && r.faceName[cut - 1] <= 0xDBFF) --cut;
        r.faceName.resize(cut);
    }
    out = r;
    return true;
}

}  // namespace kestro
