// Texts that come from servers and settings: a response header block, a chunked body
// fed in uneven pieces, a redirect location, address text, proxy lists and answers.
#include <cstddef>
#include <cstdint>
#include <string>

#include "services/http/chunked_decoder.h"
#include "services/http/http_url.h"
#include "services/http/http_wire.h"
#include "services/http/ipv4_text.h"
#include "services/proxy/proxy_record.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    kestro::ParsedResponseHead head;
    kestro::ParseResponseHead(text, head);
    (void)kestro::StatusCodeFromLine(head.statusLine);

    kestro::ChunkedDecoder decoder;
    std::string body;
    size_t step = size ? (data[0] % 7) + 1 : 1;
    for (size_t at = 0; at < size; at += step) {
        size_t n = size - at < step ? size - at : step;
        if (decoder.Feed(text.data() + at, n, body) != kestro::ChunkedDecoder::State::NeedMore) break;
    }
    if (body.size() > size) __builtin_trap();

    kestro::HttpUrlParts url;
    if (kestro::ParseAbsoluteUrl(text, url) && (url.host.empty() || url.pathAndExtra.empty())) __builtin_trap();
    uint32_t ip;
    (void)kestro::ParseDottedIPv4(text, ip);

    std::string record, host;
    int port = 0;
    (void)kestro::ProxyRecordFromList(text, record);
    (void)kestro::ParsePacAnswer(text, host, port);
    kestro::HttpProxyUse proxy;
    proxy.inUse = true;
    (void)kestro::RewriteRawRequestForProxy(text, "h", 80, proxy);
    return 0;
}
