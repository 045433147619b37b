#pragma once

#include "DevState.h"

#include <httplib.h>

#include <functional>
#include <optional>
#include <regex>
#include <string>
#include <vector>

namespace devserver {

// Where a scoped endpoint finds the workspace.
enum class Tenant { none, query, body };

// One API request being answered; handlers run with the state locked.
struct Exchange {
    const httplib::Request& request;
    httplib::Response& response;
    DevState& state;
    json body;                          // the parsed JSON body, or null
    std::vector<std::string> captures;  // decoded path segments matched by the route
    std::string userID;                 // set for bearer-authenticated routes

    std::string query(const std::string& name) const;  // "" when absent
    bool requireKeys(std::initializer_list<const char*> keys);  // answers 400 for the first missing
    void reply(int status, const json& value);
    void fail(int status, const std::string& error, const std::string& message, const std::string& code);
};

using Handler = std::function<void(Exchange&)>;

struct Route {
    std::string method;
    std::regex path;  // matched against the raw (still percent-encoded) path
    Tenant tenant;
    bool bearer;  // needs a valid access token
    Handler handler;
};

// The scripted replies and the request log that tests drive through the control endpoints.
struct Harness {
    struct Scripted {
        int status = 200;
        std::string body;
        std::string contentType = "application/json";
        int delayMs = 0;
        bool drop = false;
        long long bodyBytes = 0;  // a body this large, streamed without announcing its length
        bool compressible = false;  // spaces rather than noise: gzip shrinks it a thousandfold
        int trickleMs = 0;        // the body goes out in pieces this far apart
    };
    std::map<std::pair<std::string, std::string>, std::vector<Scripted>> scripts;
    std::vector<json> log;
};

class Router {
public:
    Router(DevState& state, Harness& harness) : state_(state), harness_(harness) {}

    void add(const std::string& method, const std::string& pattern, Tenant tenant, bool bearer, Handler handler);
    void dispatch(const httplib::Request& request, httplib::Response& response);

private:
    void answer(Exchange& exchange, const std::string& rawPath);

    DevState& state_;
    Harness& harness_;
    std::vector<Route> routes_;
};

// The next scripted reply to the request's method and path, if tests queued one.
std::optional<Harness::Scripted> takeScripted(DevState& state, Harness& harness, const httplib::Request& request);
void sendScripted(const Harness::Scripted& scripted, httplib::Response& response);  // after its delay
void logRequest(DevState& state, Harness& harness, const httplib::Request& request, double startedAt);

void sendJSON(httplib::Response& response, int status, const json& value);
void sendError(httplib::Response& response, int status, const std::string& error, const std::string& message,
               const std::string& code);
void sendBadValue(httplib::Response& response);  // a body value of the wrong JSON type
std::string rawPathOf(const httplib::Request& request);
std::string rawQueryOf(const httplib::Request& request);

// Route registration of each area.
void addAuthRoutes(Router& router);
void addWorkspaceRoutes(Router& router);
void addGenerationRoutes(Router& router);
void addPollRoute(Router& router);  // last: its pattern takes any single segment
void addLibraryRoutes(Router& router);
void addControlRoutes(httplib::Server& server, DevState& state, Harness& harness);
void addAssetRoutes(httplib::Server& server, DevState& state, Harness& harness);

}  // namespace devserver
