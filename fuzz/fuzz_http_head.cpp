// The reply of whatever server answers the update check: its head, its
// headers, the framing of its body as the bytes arrive in pieces of any size;
// and the request built from an address, which must never gain a line.

#include "fuzz_check.h"

#include "fw/http_parse.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>

using namespace fw::http;

namespace {

void checkHead(QByteArrayView bytes)
{
    const std::optional<HeadEnd> end = findHeadEnd(bytes);
    if (end)
        fuzzCheck(end->headLength >= 0 && end->headLength < end->bodyStart && end->bodyStart <= bytes.size(),
                  "the head ends inside the bytes, before the body starts");

    const ReplyHead head = parseHead(end ? bytes.first(end->headLength) : bytes);
    fuzzCheck(head.status >= 0, "a status is never negative");
    for (int i = 0; i < head.headers.count(); ++i) {
        const QString name = head.headers.name(i);
        const QString value = head.headers.valueAt(i);
        fuzzCheck(!name.contains(u':'), "a header name ends at the first colon");
        fuzzCheck(!name.contains(u'\r') && !name.contains(u'\n') && !value.contains(u'\r') && !value.contains(u'\n'),
                  "a header stays on its line");
    }
    const std::optional<qint64> length = contentLength(head.headers);
    fuzzCheck(!length || *length >= 0, "a Content-length is never negative");
}

void checkRequest(const QString& address)
{
    const QByteArray request = buildRequest(splitUrl(address));
    fuzzCheck(request.count('\n') == 5 && request.count('\r') == 5 && request.count("\r\n") == 5,
              "the request has its four lines and the blank one, no more");
    fuzzCheck(request.startsWith("GET ") && request.endsWith("\r\n\r\n"), "the request is one GET");
}

// The bytes go to the reader in pieces whose sizes the input chooses.
void checkReader(FuzzedDataProvider& input)
{
    ReplyReader reader;
    while (input.remaining_bytes() > 0) {
        const size_t pieceSize = input.ConsumeIntegralInRange<size_t>(1, 4096);
        const std::string piece = input.ConsumeBytesAsString(pieceSize);
        const bool wasComplete = reader.isComplete();
        fuzzCheck(reader.room() >= 0, "room is never negative");
        reader.append(QByteArrayView(piece.data(), qsizetype(piece.size())));

        fuzzCheck(!wasComplete || reader.isComplete(), "a complete reply stays complete");
        fuzzCheck(reader.body().size() <= kMaxBodyBytes, "the body keeps to its bound");
        if (!reader.hasHead()) {
            fuzzCheck(reader.status() == 0 && reader.headers().count() == 0 && reader.body().isEmpty(),
                      "without a head there is nothing");
        } else if (const std::optional<qint64> length = contentLength(reader.headers())) {
            fuzzCheck(reader.body().size() <= *length, "the body keeps to its Content-length");
            fuzzCheck(reader.isComplete() == (reader.body().size() == std::min<qint64>(*length, kMaxBodyBytes)),
                      "complete exactly when the announced body is in");
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArrayView bytes(reinterpret_cast<const char*>(data), qsizetype(size));
    checkHead(bytes);
    checkRequest(QString::fromUtf8(bytes));
    FuzzedDataProvider input(data, size);
    checkReader(input);
    return 0;
}
