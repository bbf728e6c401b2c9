#include "fw/http_parse.h"

#include <algorithm>
#include <climits>
#include <initializer_list>

namespace fw {

void InternetHeaders::append(const QString& name, const QString& value)
{
    m_fields.append({name, value});
}

QString InternetHeaders::value(const QString& name) const
{
    for (const Field& field : m_fields) {
        if (field.name.compare(name, Qt::CaseInsensitive) == 0)
            return field.value;
    }
    return {};
}

int InternetHeaders::count() const
{
    return int(m_fields.size());
}

QString InternetHeaders::name(int index) const
{
    return m_fields.at(index).name;
}

QString InternetHeaders::valueAt(int index) const
{
    return m_fields.at(index).value;
}

namespace http {
namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

quint16 portFrom(const QString& text)
{
    // Digits beyond 65535 cannot name a port; stop before they can overflow.
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            break;
        value = value * 10 + (c.unicode() - u'0');
        if (value > 65535)
            return 80;
    }
    return value == 0 ? 80 : quint16(value);
}

// UTF-8 of text with every control character written as %XX: a CR or LF taken
// from an address would otherwise end the request line and start a header.
QByteArray requestSafe(const QString& text)
{
    static constexpr char kHex[] = "0123456789ABCDEF";
    const QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        const auto byte = uchar(c);
        if (byte < 0x20 || byte == 0x7f) {
            out += '%';
            out += kHex[byte >> 4];
            out += kHex[byte & 0xf];
        } else {
            out += c;
        }
    }
    return out;
}

} // namespace

UrlParts splitUrl(const QString& url)
{
    const qsizetype scheme = url.indexOf(u"://");
    const QString rest = scheme < 0 ? url : url.mid(scheme + 3);
    const qsizetype slash = rest.indexOf(u'/');
    const QString server = slash < 0 ? rest : rest.left(slash);

    UrlParts parts;
    parts.path = slash < 0 ? QStringLiteral("/") : rest.mid(slash);
    const qsizetype colon = server.indexOf(u':');
    parts.host = colon < 0 ? server : server.left(colon);
    parts.port = colon < 0 ? quint16(80) : portFrom(server.mid(colon + 1));
    parts.hostHeader = server;
    return parts;
}

QByteArray buildRequest(const UrlParts& parts)
{
    return "GET " + requestSafe(parts.path) + " HTTP/1.0\r\n"
        + "Accept: */*\r\n"
        + "Accept-Language: en\r\n"
        + "Host: " + requestSafe(parts.hostHeader) + "\r\n"
        + "\r\n";
}

std::optional<HeadEnd> findHeadEnd(QByteArrayView received)
{
    // The pair of the line end the reply itself uses goes first.
    QByteArrayView shown = "\r\n\r\n";
    if (!received.contains("\r\n")) {
        if (received.contains('\n'))
            shown = "\n\n";
        else if (received.contains('\r'))
            shown = "\r\r";
    }

    for (const QByteArrayView pair : {shown, QByteArrayView("\n\n"), QByteArrayView("\r\n\r\n"), QByteArrayView("\r\r")}) {
        const qsizetype at = received.indexOf(pair);
        if (at >= 0)
            return HeadEnd{at, at + pair.size()};
    }
    return std::nullopt;
}

int parseStatus(QByteArrayView statusLine)
{
    qsizetype i = 0;
    const qsizetype n = statusLine.size();
    while (i < n && isBlank(statusLine[i]))
        ++i;
    while (i < n && !isBlank(statusLine[i]))
        ++i;
    while (i < n && isBlank(statusLine[i]))
        ++i;

    int status = 0;
    for (; i < n && isDigit(statusLine[i]); ++i) {
        const int digit = statusLine[i] - '0';
        if (status > (INT_MAX - digit) / 10)
            return INT_MAX;
        status = status * 10 + digit;
    }
    return status;
}

ReplyHead parseHead(QByteArrayView head)
{
    ReplyHead result;
    bool firstLine = true;
    qsizetype start = 0;
    while (start <= head.size()) {
        qsizetype end = start;
        while (end < head.size() && head[end] != '\r' && head[end] != '\n')
            ++end;
        const QByteArrayView line = head.sliced(start, end - start);
        if (firstLine) {
            result.status = parseStatus(line);
            firstLine = false;
        } else if (const qsizetype colon = line.indexOf(':'); colon >= 0) {
            qsizetype valueStart = colon + 1;
            while (valueStart < line.size() && isBlank(line[valueStart]))
                ++valueStart;
            result.headers.append(QString::fromLatin1(line.first(colon)),
                                  QString::fromLatin1(line.sliced(valueStart)));
        }
        if (end == head.size())
            break;
        start = end + ((head[end] == '\r' && end + 1 < head.size() && head[end + 1] == '\n') ? 2 : 1);
    }
    return result;
}

std::optional<qint64> contentLength(const InternetHeaders& headers)
{
    const QString text = headers.value(QStringLiteral("Content-length")).trimmed();
    if (text.isEmpty())
        return std::nullopt;
    qint64 length = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        const int digit = c.unicode() - u'0';
        if (length > (LLONG_MAX - digit) / 10)
            return std::nullopt;
        length = length * 10 + digit;
    }
    return length;
}

qsizetype ReplyReader::room() const
{
    if (m_complete)
        return 0;
    if (!m_hasHead)
        return kMaxHeadBytes + 4 + kMaxBodyBytes - m_bytes.size();
    return m_bodyWanted - m_bytes.size();
}

void ReplyReader::append(QByteArrayView bytes)
{
    if (m_complete)
        return;
    m_bytes.append(bytes.first(std::min(bytes.size(), room())));
    if (!m_hasHead)
        takeHead();
    if (m_hasHead && m_bytes.size() >= m_bodyWanted) {
        m_bytes.truncate(m_bodyWanted);
        m_complete = true;
    }
}

QByteArray ReplyReader::body() const
{
    return m_hasHead ? m_bytes : QByteArray();
}

void ReplyReader::takeHead()
{
    const std::optional<HeadEnd> end = findHeadEnd(m_bytes);
    // A pair still to come would start past the limit, so waiting is pointless.
    const bool tooLong = end ? end->headLength > kMaxHeadBytes : m_bytes.size() > kMaxHeadBytes + 3;
    if (tooLong) {
        m_bytes = QByteArray();
        m_complete = true;
        return;
    }
    if (!end)
        return;

    m_head = parseHead(QByteArrayView(m_bytes).first(end->headLength));
    m_bytes.remove(0, end->bodyStart);
    m_hasHead = true;
    const std::optional<qint64> length = contentLength(m_head.headers);
    m_bodyWanted = length ? qsizetype(std::min<qint64>(*length, kMaxBodyBytes)) : kMaxBodyBytes;
}

} // namespace http
} // namespace fw
