#pragma once

#include <QString>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace httplib {
class Server;
struct Request;
struct Response;
}  // namespace httplib

namespace vexora::test {

struct RecordedRequest {
    std::string method;
    std::string path;  // as sent, with its query
    std::string body;
    std::multimap<std::string, std::string> headers;  // names in lower case

    bool hasHeader(const std::string& name) const;
    std::string header(const std::string& name) const;
};

// A real HTTP server on 127.0.0.1 with a free port, answering from per-route handlers on its
// own threads and recording every request it receives.
class RecordingServer {
public:
    using Handler = std::function<void(const httplib::Request&, httplib::Response&)>;

    RecordingServer();
    ~RecordingServer();

    QString baseURL() const;

    // Routes match method and path exactly (query excluded). Unrouted requests get a 404.
    void on(const std::string& method, const std::string& path, Handler handler);
    void onJSON(const std::string& method, const std::string& path, int status, std::string body);

    std::vector<RecordedRequest> requests() const;
    std::vector<RecordedRequest> requestsTo(const std::string& path) const;

private:
    void dispatch(const httplib::Request& request, httplib::Response& response);

    std::unique_ptr<httplib::Server> server_;
    std::thread thread_;
    int port_ = 0;
    mutable std::mutex mutex_;
    std::map<std::pair<std::string, std::string>, Handler> routes_;
    std::vector<RecordedRequest> requests_;
};

}  // namespace vexora::test
