#include "support/DevServer.h"

#include "auth/AuthWire.h"
#include "foundation/JsonReader.h"
#include "foundation/NetworkCall.h"
#include "support/RunSync.h"

#include <QRegularExpression>
#include <stdexcept>

namespace vexora::test {

DevServer::DevServer(QStringList arguments) {
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(VEXORA_DEVSERVER_PATH), QStringList{"--port", "0"} + arguments);
    if (!process_.waitForStarted(10000)) throw std::runtime_error("the devserver did not start");
    while (!process_.canReadLine())
        if (!process_.waitForReadyRead(10000)) throw std::runtime_error("the devserver printed no port");
    port_ = process_.readLine().trimmed().toInt();
    if (port_ <= 0) throw std::runtime_error("the devserver printed no port");
}

DevServer::~DevServer() {
    process_.terminate();
    if (!process_.waitForFinished(5000)) process_.kill();
}

QString DevServer::baseURL() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }

Json DevServer::control(const QByteArray& method, const QString& path, const std::optional<Json>& body) {
    QNetworkRequest request = makeServiceRequest(QUrl(baseURL() + QStringLiteral("/__devserver/") + path), "tests");
    // A POST always carries a body, if only an empty one: the server waits for its length.
    std::optional<QByteArray> encoded = method == "POST" ? std::optional(QByteArray()) : std::nullopt;
    if (body) {
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
        encoded = encodeJson(*body);
    }
    const HTTPReply reply = runSync(sendRequest(network_, request, method, encoded));
    if (!reply.isSuccess()) throw std::runtime_error("control call failed: " + reply.body.toStdString());
    if (reply.body.isEmpty()) return Json();
    return Json::parse(reply.body.toStdString(), nullptr, false);
}

void DevServer::script(const std::string& method, const std::string& path, const Json& replies) {
    control("POST", "script", Json{{"method", method}, {"path", path}, {"replies", replies}});
}

std::vector<LoggedRequest> DevServer::requests(const std::string& pathPrefix) {
    std::vector<LoggedRequest> logged;
    for (const Json& entry : control("GET", "requests")) {
        const std::string path = entry.at("path").get<std::string>();
        if (path.rfind(pathPrefix, 0) != 0) continue;
        logged.push_back(LoggedRequest{entry.at("method").get<std::string>(), path, entry.at("query").get<std::string>(),
                                       entry.at("headers"), entry.at("body").get<std::string>(),
                                       entry.at("started_at").get<double>(), entry.at("ended_at").get<double>()});
    }
    return logged;
}

UserSession DevServer::signInDemo() {
    QNetworkRequest request = makeServiceRequest(QUrl(baseURL() + QStringLiteral("/api/auth/signin")), "macos-ugc-volley");
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    const HTTPReply reply =
        runSync(sendRequest(network_, request, "POST", encodeJson(signInPayload("demo@vexora.local", "demo"))));
    if (!reply.isSuccess()) throw std::runtime_error("demo sign-in failed");
    const SignInResponse response = SignInResponse::fromJson(JsonReader::parse(reply.body));
    return makeUserSession(response.user, response.session);
}

bool DevServer::containsIssuedToken(const QString& text) {
    static const QRegularExpression token(QStringLiteral("\\b(at|rt)_[0-9a-f]{32}\\b"));
    return token.match(text).hasMatch();
}

}  // namespace vexora::test
