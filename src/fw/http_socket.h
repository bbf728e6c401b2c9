#pragma once

#include "fw/http_parse.h"

#include <QAbstractSocket>
#include <QObject>
#include <QString>

class QTcpSocket;

namespace fw {

// Codes of Error: why no connection could be made. Never 0.
enum SocketError : int {
    kSocketOther = 101,        // any other failure before the connection stood
    kSocketRefused = 102,      // nothing listens on that port
    kSocketHostNotFound = 103, // the host name does not resolve
    kSocketUnreachable = 104,  // no route to the host, or the network gave up
};

// An HTTP/1.0 client for one page at a time. Get returns at once; the fetch
// then ends in exactly one PageReceived or one Error, unless it is abandoned by
// Abort, by another Get or by destroying the socket, after which nothing
// arrives. Every reply with a head is a page, whatever its status: redirects
// are not followed. The page is complete when Content-length bytes have come
// (the connection is then closed at once) or when the connection ends. A body
// is cut at http::kMaxBodyBytes: once that much has come the connection is
// closed and the page delivered. A connection that ends before a complete
// head, or a head longer than http::kMaxHeadBytes, gives status 0, no headers
// and empty content. There is no time-out: a server that never answers keeps
// the fetch waiting until it is abandoned.
class HTTPSocket : public QObject {
    Q_OBJECT

public:
    explicit HTTPSocket(QObject* parent = nullptr);
    ~HTTPSocket() override;

    void Get(const QString& url);
    void Abort();
    // Code of the last Error; 0 from each Get on until an Error comes.
    int ErrorCode() const;

signals:
    void PageReceived(const QString& url, int status, const fw::InternetHeaders& headers,
                      const QByteArray& content);
    void Error(int code);

private:
    void onConnected();
    void onReadyRead();
    void onSocketError(QAbstractSocket::SocketError error);
    void onDisconnected();

    void readAvailable();
    void deliverPage();
    void deliverError(int code);
    void dropSocket(bool fromItsSignal);

    QTcpSocket* m_socket = nullptr;
    QString m_url;
    http::UrlParts m_parts;
    http::ReplyReader m_reader;
    quint64 m_fetch = 0;      // counts fetches, so a queued error of an abandoned one is ignored
    bool m_connected = false;
    bool m_starting = false;  // inside connectToHost
    int m_startError = 0;     // an error raised inside connectToHost, held back
    int m_errorCode = 0;
};

} // namespace fw
