#pragma once

// A loopback port where every connection is refused for as long as the object
// lives. A port found free by listening and closing again can be handed to a
// test running in parallel before the connection is tried, which then gets
// that test's page instead of a refusal. This one stays bound and never
// listens: Linux refuses a connection to a bound socket that does not listen.
// It is bound without SO_REUSEADDR on purpose: Qt's servers set it, and Linux
// lets two sockets that both set it share a port while neither listens.
#include <gtest/gtest.h>

#include <QtGlobal>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

class RefusedPort {
public:
    RefusedPort()
    {
        // "localhost" may name ::1 as well as 127.0.0.1, so both are held
        // where the machine has IPv6; a port taken on ::1 is given back and
        // another one tried.
        for (int attempt = 0; attempt < 20 && m_port == 0; ++attempt) {
            closeAll();
            sockaddr_in v4{};
            v4.sin_family = AF_INET;
            v4.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
            m_v4 = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
            socklen_t length = sizeof v4;
            if (m_v4 < 0 || bind(m_v4, reinterpret_cast<sockaddr*>(&v4), sizeof v4) != 0
                || getsockname(m_v4, reinterpret_cast<sockaddr*>(&v4), &length) != 0) {
                ADD_FAILURE() << "no loopback port could be bound: " << std::strerror(errno);
                closeAll();
                return;
            }
            sockaddr_in6 v6{};
            v6.sin6_family = AF_INET6;
            v6.sin6_addr = in6addr_loopback;
            v6.sin6_port = v4.sin_port;
            m_v6 = socket(AF_INET6, SOCK_STREAM | SOCK_CLOEXEC, 0);
            const int only6 = 1;
            if (m_v6 >= 0 && setsockopt(m_v6, IPPROTO_IPV6, IPV6_V6ONLY, &only6, sizeof only6) == 0
                && bind(m_v6, reinterpret_cast<sockaddr*>(&v6), sizeof v6) == 0) {
                m_port = ntohs(v4.sin_port);
            } else if (m_v6 < 0 || errno != EADDRINUSE) {
                // No IPv6 loopback here: nothing can listen on ::1 either.
                if (m_v6 >= 0)
                    close(m_v6);
                m_v6 = -1;
                m_port = ntohs(v4.sin_port);
            }
        }
        if (m_port == 0)
            ADD_FAILURE() << "no loopback port was free on both 127.0.0.1 and ::1";
    }
    ~RefusedPort() { closeAll(); }
    RefusedPort(const RefusedPort&) = delete;
    RefusedPort& operator=(const RefusedPort&) = delete;

    quint16 port() const { return m_port; }

private:
    void closeAll()
    {
        for (int* fd : {&m_v4, &m_v6}) {
            if (*fd >= 0)
                close(*fd);
            *fd = -1;
        }
    }

    int m_v4 = -1;
    int m_v6 = -1;
    quint16 m_port = 0;
};
