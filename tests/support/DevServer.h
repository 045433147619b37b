#pragma once

#include "foundation/Json.h"
#include "foundation/UserSession.h"

#include <QNetworkAccessManager>
#include <QProcess>
#include <QString>
#include <optional>
#include <vector>

namespace vexora::test {

// One request as the devserver logged it.
struct LoggedRequest {
    std::string method;
    std::string path;
    std::string query;
    Json headers;
    std::string body;
    double startedAt = 0;
    double endedAt = 0;
};

// A vexora-devserver process on a free loopback port, with its control endpoints.
class DevServer {
public:
    explicit DevServer(QStringList arguments = {});
    ~DevServer();

    QString baseURL() const;
    // Signs the demo account in and returns its session.
    UserSession signInDemo();

    Json control(const QByteArray& method, const QString& path, const std::optional<Json>& body = std::nullopt);
    void configure(const Json& settings) { control("POST", "config", settings); }
    // Queues replies for the next requests to method + path: {"status", "body", "delay_ms", "drop"}.
    void script(const std::string& method, const std::string& path, const Json& replies);
    std::vector<LoggedRequest> requests(const std::string& pathPrefix = "/");
    void clearLog() { control("DELETE", "requests"); }

    // Whether the text holds an access or refresh token in the form this server issues them.
    static bool containsIssuedToken(const QString& text);

private:
    QProcess process_;
    QNetworkAccessManager network_;
    int port_ = 0;
};

}  // namespace vexora::test
