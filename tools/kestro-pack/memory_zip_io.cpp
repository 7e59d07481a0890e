#include "memory_zip_io.h"

#include <cstdint>
#include <cstring>

namespace kestro {
namespace {

struct MemoryStream {
    std::string* bytes;
    uint64_t position;
};

voidpf ZCALLBACK Open(voidpf opaque, const void*, int) {
    return new MemoryStream{static_cast<std::string*>(opaque), 0};
}

uLong ZCALLBACK Read(voidpf, voidpf stream, void* out, uLong size) {
    auto* s = static_cast<MemoryStream*>(stream);
    uint64_t total = s->bytes->size();
    if (s->position >= total) return 0;
    uint64_t count = total - s->position < size ? total - s->position : size;
    memcpy(out, s->bytes->data() + s->position, size_t(count));
    s->position += count;
    return uLong(count);
}

uLong ZCALLBACK Write(voidpf, voidpf stream, const void* in, uLong size) {
    auto* s = static_cast<MemoryStream*>(stream);
    if (s->position > s->bytes->size()) s->bytes->resize(size_t(s->position), '\0');
    size_t at = size_t(s->position);
    size_t overlap = s->bytes->size() - at < size ? s->bytes->size() - at : size;
    s->bytes->replace(at, overlap, static_cast<const char*>(in), size);
    s->position += size;
    return size;
}

ZPOS64_T ZCALLBACK Tell(voidpf, voidpf stream) { return static_cast<MemoryStream*>(stream)->position; }

long ZCALLBACK Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    auto* s = static_cast<MemoryStream*>(stream);
    uint64_t base = 0;
    switch (origin) {
        case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
        case ZLIB_FILEFUNC_SEEK_CUR: base = s->position; break;
        case ZLIB_FILEFUNC_SEEK_END: base = s->bytes->size(); break;
        default: return -1;
    }
    if (offset > UINT64_MAX - base) return -1;
    s->position = base + offset;
    return 0;
}

int ZCALLBACK Close(voidpf, voidpf stream) {
    delete static_cast<MemoryStream*>(stream);
    return 0;
}

int ZCALLBACK Error(voidpf, voidpf) { return 0; }

}  // namespace

zlib_filefunc64_def MemoryZipFunctions(std::string* bytes) {
    zlib_filefunc64_def functions = {};
    functions.zopen64_file = &Open;
    functions.zread_file = &Read;
    functions.zwrite_file = &Write;
    functions.ztell64_file = &Tell;
    functions.zseek64_file = &Seek;
    functions.zclose_file = &Close;
    functions.zerror_file = &Error;
    functions.opaque = bytes;
    return functions;
}

}  // namespace kestro
