#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>

#include <optional>

// The HTTP/1.0 client's pure half: the address, the request, the reply head and
// the framing of the body. No sockets here, so tests and fuzzers call it directly.
namespace fw {

// Header lines of a reply, in the order they arrived. Names compare without
// regard to letter case; a name may occur more than once.
class InternetHeaders {
public:
    void append(const QString& name, const QString& value);

    // Value of the first header of that name, "" when there is none.
    QString value(const QString& name) const;

    int count() const;
    // Name and value of the header at index (0 .. count() - 1).
    QString name(int index) const;
    QString valueAt(int index) const;

private:
    struct Field {
        QString name;
        QString value;
    };
    QList<Field> m_fields;
};

namespace http {

// The client holds at most this many body bytes; a longer body is cut here.
inline constexpr qsizetype kMaxBodyBytes = 1 << 20;
// A head longer than this is not waited for: the reply counts as one without a
// head (status 0, no headers, empty content).
inline constexpr qsizetype kMaxHeadBytes = 64 * 1024;

struct UrlParts {
    QString host;
    quint16 port = 80;
    QString path;
    // The server part exactly as the address gives it, port included if written.
    QString hostHeader;
};

// Splits an address such as "http://host:8080/a/b". Only the text after the
// first "://" counts (all of it when there is none). The port is the run of
// digits after the first ":" of the server part; when it is missing, 0, or
// beyond 65535 (junk reads as missing) the port is 80.
UrlParts splitUrl(const QString& url);

// The whole GET request, HTTP/1.0, with the Accept, Accept-Language and Host
// lines only. Control characters (CR and LF above all) in the path or the host
// are written as %XX, so no address can add lines to the request.
QByteArray buildRequest(const UrlParts& parts);

struct HeadEnd {
    qsizetype headLength = 0; // bytes before the blank line
    qsizetype bodyStart = 0;  // first byte after it
};

// Where the head ends in the bytes received so far, or nothing while no pair of
// line ends has arrived. The pair tried first is that of the line end the bytes
// show (CR LF if they hold one, else LF, else CR, else CR LF), then LF LF, then
// CR LF CR LF, then CR CR; the first of these that occurs anywhere wins.
std::optional<HeadEnd> findHeadEnd(QByteArrayView received);

// Leading decimal digits of the second blank-separated field of a status line;
// 0 when that field does not start with a digit. Saturates at INT_MAX.
int parseStatus(QByteArrayView statusLine);

struct ReplyHead {
    int status = 0;
    InternetHeaders headers;
};

// Lines end at CR LF, LF or CR. The first is the status line; each other line
// is cut at its first ":", the value losing its leading blanks. Lines without a
// ":" carry no header and are skipped. Bytes are read as Latin-1.
ReplyHead parseHead(QByteArrayView head);

// The Content-length value when it is a plain run of decimal digits (blanks
// around it allowed) that fits in 63 bits; anything else counts as no length.
std::optional<qint64> contentLength(const InternetHeaders& headers);

// Gathers one reply as its bytes arrive and says when the page is complete. It
// never holds more than kMaxHeadBytes + kMaxBodyBytes (plus the blank line).
class ReplyReader {
public:
    // How many more bytes it will keep; 0 once complete.
    qsizetype room() const;
    // Takes the next received bytes; those beyond room() are dropped.
    void append(QByteArrayView bytes);

    // True once no more bytes are wanted: the Content-length has arrived, the
    // body has reached kMaxBodyBytes, or the head outgrew kMaxHeadBytes.
    bool isComplete() const { return m_complete; }
    bool hasHead() const { return m_hasHead; }

    // The reply as it stands. Without a complete head: status 0, no headers,
    // empty body.
    int status() const { return m_head.status; }
    const InternetHeaders& headers() const { return m_head.headers; }
    QByteArray body() const;

private:
    void takeHead();

    QByteArray m_bytes; // everything received until the head is found, then the body
    ReplyHead m_head;
    qsizetype m_bodyWanted = kMaxBodyBytes;
    bool m_hasHead = false;
    bool m_complete = false;
};

} // namespace http
} // namespace fw
