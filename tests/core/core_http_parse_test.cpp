#include "fw/http_parse.h"

#include <gtest/gtest.h>

#include <climits>
#include <optional>
#include <vector>

using namespace fw;
using namespace fw::http;

namespace {

QByteArray repeated(char c, qsizetype n)
{
    return QByteArray(n, c);
}

TEST(HttpSplitUrl, Table)
{
    struct Row {
        const char* name;
        QString url;
        QString host;
        quint16 port;
        QString path;
        QString hostHeader;
    };
    const std::vector<Row> rows = {
        {"plain", "http://www.example.com/Updates/sumwise.xml", "www.example.com", 80, "/Updates/sumwise.xml", "www.example.com"},
        {"port", "http://127.0.0.1:8080/a/b", "127.0.0.1", 8080, "/a/b", "127.0.0.1:8080"},
        {"no path", "http://host", "host", 80, "/", "host"},
        {"slash only", "http://host/", "host", 80, "/", "host"},
        {"no scheme", "host:81/x", "host", 81, "/x", "host:81"},
        {"port 0", "http://host:0/x", "host", 80, "/x", "host:0"},
        {"empty port", "http://host:/x", "host", 80, "/x", "host:"},
        {"junk port", "http://host:abc/x", "host", 80, "/x", "host:abc"},
        {"port past 65535", "http://host:65536/", "host", 80, "/", "host:65536"},
        {"huge port", "http://host:99999999999999999999999/", "host", 80, "/", "host:99999999999999999999999"},
        {"highest port", "http://host:65535/", "host", 65535, "/", "host:65535"},
        {"digits then junk", "http://host:81x/", "host", 81, "/", "host:81x"},
        {"second scheme mark in path", "http://host/a://b", "host", 80, "/a://b", "host"},
        {"query and fragment kept", "http://h/p?q=1#f", "h", 80, "/p?q=1#f", "h"},
        {"empty", "", "", 80, "/", ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const UrlParts parts = splitUrl(row.url);
        EXPECT_EQ(parts.host, row.host);
        EXPECT_EQ(parts.port, row.port);
        EXPECT_EQ(parts.path, row.path);
        EXPECT_EQ(parts.hostHeader, row.hostHeader);
    }
}

TEST(HttpBuildRequest, Table)
{
    struct Row {
        const char* name;
        QString url;
        QByteArray request;
    };
    const std::vector<Row> rows = {
        {"no port", "http://www.example.com/Updates/sumwise.xml",
         "GET /Updates/sumwise.xml HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\nHost: www.example.com\r\n\r\n"},
        {"port", "http://127.0.0.1:8080/x",
         "GET /x HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\nHost: 127.0.0.1:8080\r\n\r\n"},
        {"no path", "http://host",
         "GET / HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\nHost: host\r\n\r\n"},
        {"line ends in path", "http://host/a\r\nX-Evil: 1\n",
         "GET /a%0D%0AX-Evil: 1%0A HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\nHost: host\r\n\r\n"},
        {"line ends in host", "http://host\r\nX-Evil: 1/",
         "GET / HTTP/1.0\r\nAccept: */*\r\nAccept-Language: en\r\nHost: host%0D%0AX-Evil: 1\r\n\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(buildRequest(splitUrl(row.url)), row.request);
    }
}

TEST(HttpFindHeadEnd, Table)
{
    struct Row {
        const char* name;
        QByteArray received;
        std::optional<QByteArray> head; // nothing: wait for more
        QByteArray body;
    };
    const std::vector<Row> rows = {
        {"CR LF CR LF", "HTTP/1.0 200 OK\r\nA: b\r\n\r\nbody", "HTTP/1.0 200 OK\r\nA: b", "body"},
        {"LF LF", "HTTP/1.0 200 OK\nA: b\n\nbody", "HTTP/1.0 200 OK\nA: b", "body"},
        {"CR CR", "HTTP/1.0 200 OK\rA: b\r\rbody", "HTTP/1.0 200 OK\rA: b", "body"},
        {"CR LF lines ending in LF LF", "HTTP/1.0 200 OK\r\nA: b\n\nbody", "HTTP/1.0 200 OK\r\nA: b", "body"},
        {"LF LF in a CR LF body", "HTTP/1.0 200 OK\r\n\r\nx\n\ny", "HTTP/1.0 200 OK", "x\n\ny"},
        {"order decides, not position", "HTTP/1.0 200 OK\r\n\nA\r\n\r\nbody", "HTTP/1.0 200 OK\r\n\nA", "body"},
        {"empty body", "HTTP/1.0 200 OK\n\n", "HTTP/1.0 200 OK", ""},
        {"head not ended", "HTTP/1.0 200 OK\r\nA: b\r\n", std::nullopt, ""},
        {"half a pair", "HTTP/1.0 200 OK\r\nA: b\r\n\r", std::nullopt, ""},
        {"one line, no end", "HTTP/1.0 200 OK", std::nullopt, ""},
        {"nothing", "", std::nullopt, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const std::optional<HeadEnd> end = findHeadEnd(row.received);
        ASSERT_EQ(end.has_value(), row.head.has_value());
        if (end) {
            EXPECT_EQ(QByteArrayView(row.received).first(end->headLength), *row.head);
            EXPECT_EQ(QByteArrayView(row.received).sliced(end->bodyStart), row.body);
        }
    }
}

TEST(HttpParseStatus, Table)
{
    struct Row {
        const char* name;
        QByteArray line;
        int status;
    };
    const std::vector<Row> rows = {
        {"not found", "HTTP/1.0 404 Not Found", 404},
        {"ok, 1.1", "HTTP/1.1 200 OK", 200},
        {"redirect", "HTTP/1.0 301 Moved Permanently", 301},
        {"no second field", "HTTP/1.0", 0},
        {"second field not a number", "HTTP/1.0 OK 200", 0},
        {"negative", "HTTP/1.0 -1", 0},
        {"digits then letters", "HTTP/1.0 200abc", 200},
        {"blank run", "HTTP/1.0  \t301", 301},
        {"leading blank", " HTTP/1.0 302", 302},
        {"huge number", "HTTP/1.0 99999999999999999999999999", INT_MAX},
        {"largest int", "HTTP/1.0 2147483647", INT_MAX},
        {"one past largest int", "HTTP/1.0 2147483648", INT_MAX},
        {"empty", "", 0},
        {"garbage", "\x01\xff\x7f", 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(parseStatus(row.line), row.status);
    }
}

TEST(HttpParseHead, HeadersInOrderWithNamesIgnoringCase)
{
    const ReplyHead head = parseHead("HTTP/1.0 200 OK\r\n"
                                     "Content-Type: text/xml\r\n"
                                     "Location:   http://h:81/x\n"
                                     "no colon here\r"
                                     "X-Empty:\r\n"
                                     "content-type: second");
    EXPECT_EQ(head.status, 200);
    ASSERT_EQ(head.headers.count(), 4);
    EXPECT_EQ(head.headers.name(0), "Content-Type");
    EXPECT_EQ(head.headers.valueAt(0), "text/xml");
    EXPECT_EQ(head.headers.name(1), "Location");
    EXPECT_EQ(head.headers.valueAt(1), "http://h:81/x");
    EXPECT_EQ(head.headers.valueAt(2), "");
    EXPECT_EQ(head.headers.name(3), "content-type");

    EXPECT_EQ(head.headers.value("CONTENT-TYPE"), "text/xml") << "the first of a name wins";
    EXPECT_EQ(head.headers.value("location"), "http://h:81/x");
    EXPECT_EQ(head.headers.value("Missing"), "");
}

TEST(HttpContentLength, Table)
{
    struct Row {
        const char* name;
        QString headerName;
        QString value;
        std::optional<qint64> length;
    };
    const std::vector<Row> rows = {
        {"plain", "Content-Length", "5", 5},
        {"name in capitals", "CONTENT-LENGTH", "12", 12},
        {"blanks around", "content-length", " 7 ", 7},
        {"zero", "Content-length", "0", 0},
        {"large", "Content-length", "104857600", 104857600},
        {"empty", "Content-length", "", std::nullopt},
        {"letters", "Content-length", "abc", std::nullopt},
        {"negative", "Content-length", "-5", std::nullopt},
        {"plus sign", "Content-length", "+5", std::nullopt},
        {"trailing junk", "Content-length", "5x", std::nullopt},
        {"exponent", "Content-length", "1e3", std::nullopt},
        {"beyond 63 bits", "Content-length", "99999999999999999999", std::nullopt},
        {"other header", "Content-type", "5", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        InternetHeaders headers;
        headers.append(row.headerName, row.value);
        EXPECT_EQ(contentLength(headers), row.length);
    }
}

TEST(HttpReplyReader, Framing)
{
    struct Row {
        const char* name;
        std::vector<QByteArray> chunks;
        bool complete;
        int status;
        QByteArray body;
    };
    const std::vector<Row> rows = {
        {"length met", {"HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello"}, true, 200, "hello"},
        {"extra bytes dropped", {"HTTP/1.0 200 OK\r\nContent-Length: 5\r\n\r\nhello world"}, true, 200, "hello"},
        {"length over chunks", {"HTTP/1.0 404 Not Found\nContent-length: 4\n\nab", "c", "d!"}, true, 404, "abcd"},
        {"length not yet met", {"HTTP/1.0 200 OK\r\nContent-Length: 10\r\n\r\nabc"}, false, 200, "abc"},
        {"zero length", {"HTTP/1.0 301 Moved\r\nContent-Length: 0\r\n\r\n"}, true, 301, ""},
        {"no length waits for the end", {"HTTP/1.0 200 OK\r\n\r\nabc", "def"}, false, 200, "abcdef"},
        {"bogus length is no length", {"HTTP/1.0 200 OK\r\nContent-Length: 3x\r\n\r\nabcdef"}, false, 200, "abcdef"},
        {"head split at its pair", {"HTTP/1.0 200 OK\r\nContent-Length: 2\r\n\r", "\nab"}, true, 200, "ab"},
        {"partial head", {"HTTP/1.0 200 OK\r\nContent-Le"}, false, 0, ""},
        {"nothing", {}, false, 0, ""},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ReplyReader reader;
        for (const QByteArray& chunk : row.chunks)
            reader.append(chunk);
        EXPECT_EQ(reader.isComplete(), row.complete);
        EXPECT_EQ(reader.status(), row.status);
        EXPECT_EQ(reader.body(), row.body);
        if (row.complete) {
            EXPECT_EQ(reader.room(), 0);
        }

        // The same bytes arriving one at a time frame the same page.
        ReplyReader dripped;
        for (const QByteArray& chunk : row.chunks) {
            for (const char c : chunk)
                dripped.append(QByteArrayView(&c, 1));
        }
        EXPECT_EQ(dripped.isComplete(), row.complete);
        EXPECT_EQ(dripped.status(), row.status);
        EXPECT_EQ(dripped.body(), row.body);
    }
}

TEST(HttpReplyReader, BodyIsCutAtTheBound)
{
    struct Row {
        const char* name;
        QByteArray head;
    };
    const std::vector<Row> rows = {
        {"no length", "HTTP/1.0 200 OK\r\n\r\n"},
        {"length past the bound", "HTTP/1.0 200 OK\r\nContent-Length: 104857600\r\n\r\n"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ReplyReader reader;
        reader.append(row.head);
        const QByteArray chunk = repeated('x', 64 * 1024);
        qsizetype offered = 0;
        while (!reader.isComplete() && offered < 4 * kMaxBodyBytes) {
            reader.append(chunk);
            offered += chunk.size();
        }
        EXPECT_TRUE(reader.isComplete());
        EXPECT_EQ(reader.body().size(), kMaxBodyBytes);
        EXPECT_EQ(reader.room(), 0);
    }
}

TEST(HttpReplyReader, OneHugeChunkKeepsOnlyTheBound)
{
    ReplyReader reader;
    EXPECT_LE(reader.room(), kMaxHeadBytes + 4 + kMaxBodyBytes);
    reader.append("HTTP/1.0 200 OK\r\n\r\n" + repeated('y', 3 * kMaxBodyBytes));
    EXPECT_TRUE(reader.isComplete());
    EXPECT_EQ(reader.body(), repeated('y', kMaxBodyBytes));
}

TEST(HttpReplyReader, HeadLimit)
{
    struct Row {
        const char* name;
        QByteArray received;
        bool hasHead;
        bool complete;
    };
    const QByteArray longLine = "HTTP/1.0 200 OK\r\nX: " + repeated('a', kMaxHeadBytes - 20);
    const std::vector<Row> rows = {
        {"head at the limit", longLine + "\r\n\r\nbody", true, false},
        {"head one past the limit", longLine + "a\r\n\r\nbody", false, true},
        {"no pair within the limit", repeated('g', kMaxHeadBytes + 4), false, true},
        {"still waiting at the limit", repeated('g', kMaxHeadBytes + 3), false, false},
    };
    ASSERT_EQ(longLine.size(), kMaxHeadBytes);
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ReplyReader reader;
        reader.append(row.received);
        EXPECT_EQ(reader.hasHead(), row.hasHead);
        EXPECT_EQ(reader.isComplete(), row.complete);
        if (!row.hasHead) {
            EXPECT_EQ(reader.status(), 0);
            EXPECT_EQ(reader.headers().count(), 0);
            EXPECT_TRUE(reader.body().isEmpty());
        }
    }
}

} // namespace
