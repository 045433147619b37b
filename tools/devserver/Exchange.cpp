#include "Exchange.h"

#include "SeedData.h"

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace devserver {

namespace {

bool containsNull(const json& value) {
    if (value.is_null()) return true;
    if (!value.is_structured()) return false;
    for (const auto& child : value)
        if (containsNull(child)) return true;
    return false;
}

void sleepFor(int milliseconds) {
    if (milliseconds > 0) std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

json headersOf(const httplib::Request& request) {
    json headers = json::object();
    for (const auto& [name, value] : request.headers) {
        std::string lower = name;
        for (char& c : lower) c = char(std::tolower(static_cast<unsigned char>(c)));
        // cpp-httplib files the socket's addresses as headers; the client never sent them.
        if (lower == "remote_addr" || lower == "remote_port" || lower == "local_addr" || lower == "local_port") continue;
        headers[lower] = value;
    }
    return headers;
}

}  // namespace

std::string rawPathOf(const httplib::Request& request) { return request.target.substr(0, request.target.find('?')); }

std::string rawQueryOf(const httplib::Request& request) {
    const auto mark = request.target.find('?');
    return mark == std::string::npos ? std::string() : request.target.substr(mark + 1);
}

void sendJSON(httplib::Response& response, int status, const json& value) {
    response.status = status;
    // With the charset named, the HTTP library leaves the reply uncompressed: it would otherwise
    // Brotli-compress every reply at its slowest quality, some 60 ms for a page of history, a cost
    // of this stand-in and not of the client under test.
    response.set_content(value.dump(-1, ' ', false, json::error_handler_t::replace), "application/json; charset=utf-8");
}

void sendError(httplib::Response& response, int status, const std::string& error, const std::string& message,
               const std::string& code) {
    sendJSON(response, status, {{"error", error}, {"message", message}, {"code", code}});
}

void sendBadValue(httplib::Response& response) {
    sendError(response, 400, "Invalid value", "A value in the request has the wrong type.", "BAD_REQUEST");
}

std::string Exchange::query(const std::string& name) const {
    return request.has_param(name.c_str()) ? request.get_param_value(name.c_str()) : std::string();
}

bool Exchange::requireKeys(std::initializer_list<const char*> keys) {
    for (const char* key : keys) {
        if (body.contains(key)) continue;
        fail(400, std::string("Missing ") + key, std::string("The body needs ") + key + ".", "BAD_REQUEST");
        return false;
    }
    return true;
}

void Exchange::reply(int status, const json& value) { sendJSON(response, status, value); }

void Exchange::fail(int status, const std::string& error, const std::string& message, const std::string& code) {
    sendError(response, status, error, message, code);
}

void Router::add(const std::string& method, const std::string& pattern, Tenant tenant, bool bearer, Handler handler) {
    routes_.push_back(Route{method, std::regex(pattern), tenant, bearer, std::move(handler)});
}

std::optional<Harness::Scripted> takeScripted(DevState& state, Harness& harness, const httplib::Request& request) {
    std::lock_guard lock(state.mutex);
    const std::string path = rawPathOf(request);
    auto it = harness.scripts.find({request.method, path});
    // A script path ending in "*" stands for every path that starts with the rest (ids made at run time).
    for (auto candidate = harness.scripts.begin(); it == harness.scripts.end() && candidate != harness.scripts.end(); ++candidate) {
        const auto& [method, pattern] = candidate->first;
        if (method == request.method && !pattern.empty() && pattern.back() == '*' && !candidate->second.empty() &&
            path.compare(0, pattern.size() - 1, pattern, 0, pattern.size() - 1) == 0)
            it = candidate;
    }
    if (it == harness.scripts.end() || it->second.empty()) return std::nullopt;
    Harness::Scripted scripted = it->second.front();
    it->second.erase(it->second.begin());
    return scripted;
}

namespace {

// Sends `total` bytes in pieces without announcing the length (so the client can only count what
// arrives), waiting the script's trickle time before each; `fill` writes the piece at an offset.
void streamChunked(httplib::Response& response, const Harness::Scripted& scripted, size_t total, size_t pieceSize,
                   std::function<void(size_t offset, std::string& piece)> fill) {
    response.status = scripted.status;
    response.set_chunked_content_provider(
        scripted.contentType, [total, pieceSize, fill, pause = scripted.trickleMs](size_t offset, httplib::DataSink& sink) {
            if (offset >= total) {
                sink.done();
                return true;
            }
            sleepFor(pause);
            std::string piece(std::min(pieceSize, total - offset), ' ');
            fill(offset, piece);
            return sink.write(piece.data(), piece.size());
        });
}

}  // namespace

void sendScripted(const Harness::Scripted& scripted, httplib::Response& response) {
    sleepFor(scripted.delayMs);
    if (scripted.drop) {
        // Announce a body and never send it: the client sees the connection go away.
        response.set_content_provider(64, "application/json", [](size_t, size_t, httplib::DataSink&) { return false; });
    } else if (scripted.bodyBytes > 0) {
        auto noise = std::make_shared<std::uint64_t>(0x9E3779B97F4A7C15ull);
        streamChunked(response, scripted, static_cast<size_t>(scripted.bodyBytes), 1 << 16,
                      [compressible = scripted.compressible, noise](size_t, std::string& piece) {
                          if (compressible) return;
                          for (char& byte : piece) {  // xorshift: as incompressible as a real video
                              *noise ^= *noise << 13, *noise ^= *noise >> 7, *noise ^= *noise << 17;
                              byte = static_cast<char>(*noise);
                          }
                      });
    } else if (scripted.trickleMs > 0) {
        const std::string body = scripted.body;
        streamChunked(response, scripted, body.size(), std::max<size_t>(1, (body.size() + 7) / 8),
                      [body](size_t offset, std::string& piece) { piece = body.substr(offset, piece.size()); });
    } else {
        response.status = scripted.status;
        response.set_content(scripted.body, scripted.contentType);
    }
}

void logRequest(DevState& state, Harness& harness, const httplib::Request& request, double startedAt) {
    std::lock_guard lock(state.mutex);
    harness.log.push_back({{"method", request.method},
                           {"path", rawPathOf(request)},
                           {"query", rawQueryOf(request)},
                           {"headers", headersOf(request)},
                           {"body", request.body},
                           {"started_at", startedAt},
                           {"ended_at", nowSeconds()}});
}

void Router::dispatch(const httplib::Request& request, httplib::Response& response) {
    const double startedAt = nowSeconds();
    const std::string rawPath = rawPathOf(request);
    const std::optional<Harness::Scripted> scripted = takeScripted(state_, harness_, request);
    int latency = 0;
    {
        std::lock_guard lock(state_.mutex);
        latency = state_.settings.latencyMs;
    }
    response.set_header("x-request-id", randomToken("req-"));
    if (scripted) {
        sendScripted(*scripted, response);
    } else {
        sleepFor(latency);
        Exchange exchange{request, response, state_, json(), {}, {}};
        try {
            answer(exchange, rawPath);
        } catch (const json::exception&) {
            sendBadValue(response);
        }
    }
    logRequest(state_, harness_, request, startedAt);
}

void Router::answer(Exchange& exchange, const std::string& rawPath) {
    const httplib::Request& request = exchange.request;
    if (!request.has_header("x-client"))
        return exchange.fail(400, "Missing x-client header", "Every request must name its client.", "BAD_REQUEST");

    for (const Route& route : routes_) {
        std::smatch match;
        if (route.method != request.method || !std::regex_match(rawPath, match, route.path)) continue;
        for (size_t i = 1; i < match.size(); ++i) exchange.captures.push_back(httplib::detail::decode_url(match[i], false));

        if (!request.body.empty()) {
            exchange.body = json::parse(request.body, nullptr, false);
            if (exchange.body.is_discarded() || !exchange.body.is_object())
                return exchange.fail(400, "Malformed JSON body", "The body must be a JSON object.", "BAD_REQUEST");
            if (containsNull(exchange.body))
                return exchange.fail(400, "Null values are not accepted", "Omit keys instead of sending null.", "NULL_VALUE");
        }
        std::lock_guard lock(exchange.state.mutex);
        if (route.bearer) {
            const std::string authorization = request.get_header_value("Authorization");
            const std::string prefix = "Bearer ";
            auto token = authorization.rfind(prefix, 0) == 0
                             ? exchange.state.accessTokens.find(authorization.substr(prefix.size()))
                             : exchange.state.accessTokens.end();
            if (token == exchange.state.accessTokens.end() || token->second.expiresAt <= nowSeconds())
                return exchange.fail(401, "Unauthorized", "Invalid or expired token", "UNAUTHENTICATED");
            exchange.userID = token->second.userID;
        }
        if (route.tenant != Tenant::none) {
            const std::string tenant = route.tenant == Tenant::query
                                           ? exchange.query("tenantId")
                                           : exchange.body.value("tenantId", std::string());
            if (tenant.empty()) return exchange.fail(400, "tenantId is required", "Name the workspace.", "TENANT_REQUIRED");
            if (tenant != demoTenantID)
                return exchange.fail(403, "Forbidden", "Not a member of this workspace", "FORBIDDEN");
        }
        return route.handler(exchange);
    }
    exchange.fail(404, "Not Found", "Not Found", "NotFound");
}

}  // namespace devserver
