#include "fw/http_socket.h"

#include <QTcpSocket>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace fw {
namespace {

// The socket's own buffer stays small; the reader holds the page.
constexpr qint64 kSocketBufferBytes = 64 * 1024;

int codeFor(QAbstractSocket::SocketError error)
{
    switch (error) {
    case QAbstractSocket::ConnectionRefusedError:
        return kSocketRefused;
    case QAbstractSocket::HostNotFoundError:
        return kSocketHostNotFound;
    case QAbstractSocket::NetworkError:
    case QAbstractSocket::SocketTimeoutError:
        return kSocketUnreachable;
    default:
        return kSocketOther;
    }
}

} // namespace

HTTPSocket::HTTPSocket(QObject* parent)
    : QObject(parent)
{
}

HTTPSocket::~HTTPSocket()
{
    dropSocket(false);
}

void HTTPSocket::Get(const QString& url)
{
    Abort();
    m_errorCode = 0;
    m_url = url;
    m_parts = http::splitUrl(url);

    // Not a child of this object: a socket dropped while it is emitting must
    // live until its signal returns, even if this object dies meanwhile.
    m_socket = new QTcpSocket;
    m_socket->setReadBufferSize(kSocketBufferBytes);
    connect(m_socket, &QTcpSocket::connected, this, &HTTPSocket::onConnected);
    connect(m_socket, &QTcpSocket::readyRead, this, &HTTPSocket::onReadyRead);
    connect(m_socket, &QTcpSocket::errorOccurred, this, &HTTPSocket::onSocketError);
    connect(m_socket, &QTcpSocket::disconnected, this, &HTTPSocket::onDisconnected);

    m_starting = true;
    m_startError = 0;
    m_socket->connectToHost(m_parts.host, m_parts.port);
    m_starting = false;

    // A name already known can fail inside connectToHost. The caller of Get
    // still expects the outcome later, from the event loop, so hold it back.
    if (m_startError != 0) {
        const int code = m_startError;
        const quint64 fetch = m_fetch;
        dropSocket(false);
        QTimer::singleShot(0, this, [this, code, fetch] {
            if (fetch == m_fetch)
                deliverError(code);
        });
    }
}

void HTTPSocket::Abort()
{
    ++m_fetch;
    dropSocket(false);
}

int HTTPSocket::ErrorCode() const
{
    return m_errorCode;
}

void HTTPSocket::onConnected()
{
    m_connected = true;
    m_socket->write(http::buildRequest(m_parts));
}

void HTTPSocket::onReadyRead()
{
    readAvailable();
    if (m_reader.isComplete())
        deliverPage();
}

void HTTPSocket::onSocketError(QAbstractSocket::SocketError error)
{
    if (m_connected) {
        // The server's close arrives here first, then as disconnected(); for
        // HTTP/1.0 it is how a page without Content-length ends.
        readAvailable();
        deliverPage();
    } else if (m_starting) {
        if (m_startError == 0)
            m_startError = codeFor(error);
    } else {
        deliverError(codeFor(error));
    }
}

void HTTPSocket::onDisconnected()
{
    readAvailable();
    deliverPage();
}

void HTTPSocket::readAvailable()
{
    while (!m_reader.isComplete()) {
        const qint64 take = std::min<qint64>(m_socket->bytesAvailable(), m_reader.room());
        if (take <= 0)
            break;
        m_reader.append(m_socket->read(take));
    }
}

// Both deliveries run inside a signal of the socket and end with the emit:
// its handler may start another Get or delete this object.
void HTTPSocket::deliverPage()
{
    const QString url = m_url;
    const int status = m_reader.status();
    const InternetHeaders headers = m_reader.headers();
    const QByteArray content = m_reader.body();
    dropSocket(true);
    emit PageReceived(url, status, headers, content);
}

void HTTPSocket::deliverError(int code)
{
    m_errorCode = code;
    dropSocket(true);
    emit Error(code);
}

void HTTPSocket::dropSocket(bool fromItsSignal)
{
    m_reader = http::ReplyReader();
    m_connected = false;
    QTcpSocket* socket = std::exchange(m_socket, nullptr);
    if (socket == nullptr)
        return;
    socket->disconnect(this);
    socket->abort();
    if (fromItsSignal)
        socket->deleteLater();
    else
        delete socket;
}

} // namespace fw
