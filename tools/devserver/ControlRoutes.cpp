#include "Exchange.h"

namespace devserver {

namespace {

json parsedBody(const httplib::Request& request) {
    json body = json::parse(request.body, nullptr, false);
    return body.is_discarded() ? json() : body;
}

}  // namespace

// Test hooks, under a prefix the real service never uses.
void addControlRoutes(httplib::Server& server, DevState& state, Harness& harness) {
    const std::string prefix = "/__devserver/";
    server.Get(prefix + "requests", [&](const httplib::Request&, httplib::Response& response) {
        std::lock_guard lock(state.mutex);
        sendJSON(response, 200, harness.log);
    });
    server.Delete(prefix + "requests", [&](const httplib::Request&, httplib::Response& response) {
        std::lock_guard lock(state.mutex);
        harness.log.clear();
        response.status = 204;
    });
    server.Post(prefix + "script", [&](const httplib::Request& request, httplib::Response& response) {
        const json body = parsedBody(request);
        if (!body.is_object() || !body.contains("path") || !body.value("replies", json()).is_array())
            return sendError(response, 400, "Bad script", "Send method, path and replies.", "BAD_REQUEST");
        std::lock_guard lock(state.mutex);
        auto& queue = harness.scripts[{body.value("method", std::string("GET")), body.at("path").get<std::string>()}];
        for (const json& reply : body.at("replies"))
            queue.push_back(Harness::Scripted{reply.value("status", 200), reply.value("body", std::string()),
                                              reply.value("content_type", std::string("application/json")),
                                              reply.value("delay_ms", 0), reply.value("drop", false),
                                              reply.value("body_bytes", 0LL), reply.value("compressible", false),
                                              reply.value("trickle_ms", 0)});
        response.status = 204;
    });
    server.Get(prefix + "config", [&](const httplib::Request&, httplib::Response& response) {
        std::lock_guard lock(state.mutex);
        sendJSON(response, 200, state.settings.toJson());
    });
    server.Post(prefix + "config", [&](const httplib::Request& request, httplib::Response& response) {
        const json body = parsedBody(request);
        if (!body.is_object()) return sendError(response, 400, "Bad config", "Send a JSON object.", "BAD_REQUEST");
        std::lock_guard lock(state.mutex);
        try {
            state.settings.merge(body);
            if (body.contains("history_count") || body.contains("avatar_count")) state.reseedLibrary();
        } catch (const json::exception& error) {
            return sendError(response, 400, "Bad config", error.what(), "BAD_REQUEST");
        }
        sendJSON(response, 200, state.settings.toJson());
    });
    server.Post(prefix + "reset", [&](const httplib::Request&, httplib::Response& response) {
        std::lock_guard lock(state.mutex);
        state.settings = state.startup;
        state.reset();
        harness = Harness{};
        response.status = 204;
    });
    server.Post(prefix + "expire-tokens", [&](const httplib::Request&, httplib::Response& response) {
        std::lock_guard lock(state.mutex);
        for (auto& [token, access] : state.accessTokens) access.expiresAt = 0;
        response.status = 204;
    });
}

}  // namespace devserver
