#include "setup/workers/buffered_zip_io.h"

#include <algorithm>
#include <cstring>
#include <new>

namespace kestro {

BufferedByteReader::BufferedByteReader(ByteSource& source, size_t windowBytes)
    : source_(source), windowBytes_(std::max<size_t>(windowBytes, 1)) {}

BufferedByteReader::Window* BufferedByteReader::WindowAt(uint64_t position) {
    for (Window& window : windows_) {
        if (window.Holds(position)) return &window;
    }
    return nullptr;
}

BufferedByteReader::Window* BufferedByteReader::Refill() {
    uint64_t size = source_.Size();
    if (position_ >= size) return nullptr;
    Window& window = windows_[0].lastUse <= windows_[1].lastUse ? windows_[0] : windows_[1];
    // Allocated on first use: a reader that only ever needs one window has one.
    if (window.bytes.empty()) window.bytes.resize(windowBytes_);
    size_t count = size_t(std::min<uint64_t>(windowBytes_, size - position_));
    window.length = 0;
    if (!source_.ReadAt(position_, window.bytes.data(), count)) {
        failed_ = true;
        return nullptr;
    }
    window.start = position_;
    window.length = count;
    return &window;
}

size_t BufferedByteReader::Read(void* out, size_t count) {
    auto* bytes = static_cast<unsigned char*>(out);
    size_t done = 0;
    while (done < count) {
        Window* window = WindowAt(position_);
        if (!window) {
            uint64_t size = source_.Size();
            size_t left = count - done;
            // A read at least as large as a window goes straight to the source.
            if (left >= windowBytes_ && position_ < size) {
                size_t direct = size_t(std::min<uint64_t>(left, size - position_));
                if (!source_.ReadAt(position_, bytes + done, direct)) {
                    failed_ = true;
                    break;
                }
                position_ += direct;
                done += direct;
                continue;
            }
            window = Refill();
            if (!window) break;
        }
        window->lastUse = ++uses_;
        size_t offset = size_t(position_ - window->start);
        size_t piece = std::min(count - done, window->length - offset);
        memcpy(bytes + done, window->bytes.data() + offset, piece);
        position_ += piece;
        done += piece;
    }
    return done;
}

bool BufferedByteReader::Seek(uint64_t offset, int origin) {
    uint64_t base = 0;
    switch (origin) {
        case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
        case ZLIB_FILEFUNC_SEEK_CUR: base = position_; break;
        case ZLIB_FILEFUNC_SEEK_END: base = source_.Size(); break;
        default: return false;
    }
    if (offset > UINT64_MAX - base) return false;
    position_ = base + offset;
    return true;
}

namespace {

BufferedByteReader* Reader(voidpf stream) { return static_cast<BufferedByteReader*>(stream); }

// The window size travels in minizip's opaque pointer: nothing to own or free.
voidpf ZCALLBACK Open(voidpf windowBytes, const void* source, int mode) {
    if (!source || (mode & ZLIB_FILEFUNC_MODE_READWRITEFILTER) != ZLIB_FILEFUNC_MODE_READ) return nullptr;
    return new (std::nothrow)
        BufferedByteReader(*static_cast<ByteSource*>(const_cast<void*>(source)), size_t(uintptr_t(windowBytes)));
}

uLong ZCALLBACK Read(voidpf, voidpf stream, void* out, uLong size) { return uLong(Reader(stream)->Read(out, size)); }

uLong ZCALLBACK Write(voidpf, voidpf, const void*, uLong) { return 0; }

ZPOS64_T ZCALLBACK Tell(voidpf, voidpf stream) { return Reader(stream)->Tell(); }

long ZCALLBACK Seek(voidpf, voidpf stream, ZPOS64_T offset, int origin) {
    return Reader(stream)->Seek(offset, origin) ? 0 : -1;
}

int ZCALLBACK Close(voidpf, voidpf stream) {
    delete Reader(stream);
    return 0;
}

int ZCALLBACK Error(voidpf, voidpf stream) { return Reader(stream)->Failed() ? 1 : 0; }

}  // namespace

zlib_filefunc64_def BufferedZipFunctions(size_t windowBytes) {
    zlib_filefunc64_def functions = {};
    functions.zopen64_file = &Open;
    functions.zread_file = &Read;
    functions.zwrite_file = &Write;
    functions.ztell64_file = &Tell;
    functions.zseek64_file = &Seek;
    functions.zclose_file = &Close;
    functions.zerror_file = &Error;
    functions.opaque = reinterpret_cast<voidpf>(uintptr_t(windowBytes));
    return functions;
}

}  // namespace kestro
