#pragma once

// A small HTTP or HTTPS server on 127.0.0.1 that the update tests start: it
// answers each path from a table, records what was asked, and can announce
// lengths it does not keep or stop sending half-way.

#include <QByteArray>
#include <QList>
#include <QMap>
#include <QPointer>
#include <QSslCertificate>
#include <QSslConfiguration>
#include <QSslKey>
#include <QSslServer>
#include <QSslSocket>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>

#include <memory>
#include <optional>

namespace slabwise::test {

struct TRoute {
    int Status = 200;
    QByteArray Body;
    // The Content-Length sent; none when absent (the body then ends when the
    // connection closes). Defaults to the body's length.
    std::optional<qint64> Announced;
    bool AnnounceLength = true;
    // Bytes of the body sent before the server falls silent and keeps the
    // connection open; all when negative.
    qint64 StallAfter = -1;
    // Bytes sent before the connection is closed; all when negative.
    qint64 CloseAfter = -1;
    QByteArray Location;
    QByteArray ExtraHeaders;
    // Accepts the request and never answers.
    bool NoAnswer = false;
    // Sends the answer `DripBytes` at a time, one piece every `DripMs`.
    int DripMs = 0;
    qint64 DripBytes = 1;
};

inline TRoute Serve(QByteArray body, int status = 200) {
    TRoute route;
    route.Status = status;
    route.Body = std::move(body);
    return route;
}

inline TRoute Redirect(QByteArray location) {
    TRoute route = Serve("moved", 302);
    route.Location = std::move(location);
    return route;
}

class TTestServer : public QObject {
public:
    TTestServer() : TTestServer(QSslCertificate(), QSslKey()) {}
    // With a certificate and key the server speaks TLS only.
    TTestServer(const QSslCertificate& certificate, const QSslKey& key) {
        if (!certificate.isNull()) {
            auto server = std::make_unique<QSslServer>();
            QSslConfiguration tls = QSslConfiguration::defaultConfiguration();
            tls.setLocalCertificate(certificate);
            tls.setPrivateKey(key);
            tls.setPeerVerifyMode(QSslSocket::VerifyNone);
            server->setSslConfiguration(tls);
            server_ = std::move(server);
            tls_ = true;
        } else {
            server_ = std::make_unique<QTcpServer>();
        }
        QObject::connect(server_.get(), &QTcpServer::pendingConnectionAvailable, this, [this] { Accept(); });
        server_->listen(QHostAddress::LocalHost, 0);
    }
    ~TTestServer() override {
        for (const QPointer<QTcpSocket>& socket : open_)
            if (socket) socket->abort();
    }

    quint16 Port() const { return server_->serverPort(); }
    QByteArray Url(const QByteArray& path) const {
        return (tls_ ? "https://127.0.0.1:" : "http://127.0.0.1:") + QByteArray::number(Port()) + path;
    }

    QMap<QByteArray, TRoute> Routes;
    // Request heads as received, and their paths.
    QList<QByteArray> Requests;
    QList<QByteArray> Paths;

private:
    void Accept() {
        while (QTcpSocket* socket = server_->nextPendingConnection()) {
            open_ << socket;
            socket->setParent(this);
            QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
        }
    }

    void Read(QTcpSocket* socket) {
        QByteArray& head = heads_[socket];
        head += socket->readAll();
        const qsizetype end = head.indexOf("\r\n\r\n");
        if (end < 0) return;
        const QByteArray request = head.left(end + 4);
        head.clear();
        Requests << request;
        const QByteArray path = request.split(' ').value(1);
        Paths << path;
        const TRoute route = Routes.value(path, Serve("not here", 404));
        if (route.NoAnswer) return;
        QByteArray reply = "HTTP/1.1 " + QByteArray::number(route.Status) + " X\r\n";
        if (route.AnnounceLength)
            reply +=
                "Content-Length: " + QByteArray::number(route.Announced.value_or(route.Body.size())) + "\r\n";
        if (!route.Location.isEmpty()) reply += "Location: " + route.Location + "\r\n";
        reply += route.ExtraHeaders;
        reply += "Connection: close\r\n\r\n";
        qint64 bodyBytes = route.Body.size();
        if (route.StallAfter >= 0) bodyBytes = std::min(bodyBytes, route.StallAfter);
        if (route.CloseAfter >= 0) bodyBytes = std::min(bodyBytes, route.CloseAfter);
        reply += route.Body.left(bodyBytes);
        if (route.DripMs > 0) {
            Drip(socket, reply, route);
            return;
        }
        socket->write(reply);
        if (route.StallAfter >= 0) return;
        socket->disconnectFromHost();
    }

    void Drip(QTcpSocket* socket, const QByteArray& reply, const TRoute& route) {
        auto* timer = new QTimer(socket);
        auto sent = std::make_shared<qint64>(0);
        QObject::connect(timer, &QTimer::timeout, socket, [socket, timer, reply, route, sent] {
            socket->write(reply.mid(*sent, route.DripBytes));
            *sent += route.DripBytes;
            if (*sent >= reply.size()) {
                timer->stop();
                socket->disconnectFromHost();
            }
        });
        timer->start(route.DripMs);
    }

    std::unique_ptr<QTcpServer> server_;
    bool tls_ = false;
    QList<QPointer<QTcpSocket>> open_;
    QMap<QTcpSocket*, QByteArray> heads_;
};

} // namespace slabwise::test
