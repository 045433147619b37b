#include "support/RecordingServer.h"

#include <algorithm>
#include <httplib.h>

namespace vexora::test {

namespace {

std::string lowered(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](unsigned char c) { return char(std::tolower(c)); });
    return text;
}

}  // namespace

bool RecordedRequest::hasHeader(const std::string& name) const { return headers.count(lowered(name)) > 0; }

std::string RecordedRequest::header(const std::string& name) const {
    auto it = headers.find(lowered(name));
    return it == headers.end() ? std::string() : it->second;
}

RecordingServer::RecordingServer() : server_(std::make_unique<httplib::Server>()) {
    auto handler = [this](const httplib::Request& request, httplib::Response& response) { dispatch(request, response); };
    server_->Get(".*", handler);
    server_->Post(".*", handler);
    server_->Patch(".*", handler);
    server_->Put(".*", handler);
    server_->Delete(".*", handler);
    port_ = server_->bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_->listen_after_bind(); });
    while (!server_->is_running()) std::this_thread::sleep_for(std::chrono::milliseconds(1));
}

RecordingServer::~RecordingServer() {
    server_->stop();
    thread_.join();
}

QString RecordingServer::baseURL() const { return QStringLiteral("http://127.0.0.1:%1").arg(port_); }

void RecordingServer::on(const std::string& method, const std::string& path, Handler handler) {
    std::lock_guard lock(mutex_);
    routes_[{method, path}] = std::move(handler);
}

void RecordingServer::onJSON(const std::string& method, const std::string& path, int status, std::string body) {
    on(method, path, [status, body](const httplib::Request&, httplib::Response& response) {
        response.status = status;
        response.set_content(body, "application/json");
    });
}

void RecordingServer::dispatch(const httplib::Request& request, httplib::Response& response) {
    RecordedRequest recorded{request.method, request.target, request.body, {}};
    for (const auto& [name, value] : request.headers) recorded.headers.emplace(lowered(name), value);
    Handler handler;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(recorded);
        auto it = routes_.find({request.method, request.path});
        if (it != routes_.end()) handler = it->second;
    }
    if (handler) {
        handler(request, response);
        return;
    }
    response.status = 404;
    response.set_content(R"({"error":"no route"})", "application/json");
}

std::vector<RecordedRequest> RecordingServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::vector<RecordedRequest> RecordingServer::requestsTo(const std::string& path) const {
    std::vector<RecordedRequest> matching;
    for (auto& request : requests())
        if (request.path.substr(0, request.path.find('?')) == path) matching.push_back(request);
    return matching;
}

}  // namespace vexora::test
