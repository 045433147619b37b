// vexora-devserver: a local stand-in of the Vexora service for demos, tests and benchmarks.
#include "DevState.h"
#include "Exchange.h"
#include "SeedData.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <string>

namespace {

const char* const helpText = R"(usage: vexora-devserver [--port N] [--latency-ms N] [--token-lifetime SECONDS]

A local stand-in of the Vexora service, on 127.0.0.1 only. The first line it prints is the port.

  --port N               port to listen on (default 8787); 0 picks a free one
  --latency-ms N         delay every API reply by N milliseconds (default 0)
  --token-lifetime S     access tokens expire after S seconds (default 3600), so refresh is exercised
  --help                 this text

Demo account: e-mail demo@vexora.local, password demo (workspace "Demo Workspace", id tenant-demo).

The service's endpoints, with its formats and error bodies:
  POST api/auth/signin, api/auth/refresh, api/auth/native/session
  GET  api/auth/native/session/ID   browser sign-in: open authUrl and press Approve
  GET  api/tenants, api/ai-insights/usage/stats, api/ai-insights/favorites,
       api/dashboard/products, api/social-accounts
  GET  api/dashboard/shorts/suggest-topics, suggest-knowledge, history, avatars, schedules, ID (render poll)
  POST api/dashboard/shorts/script, avatar, generate, publish, avatars/generate, schedules
  PATCH/DELETE api/dashboard/shorts/schedules/ID;  DELETE api/dashboard/shorts/avatars/ID
Requests need the x-client header, a bearer token (outside api/auth), the workspace as tenantId,
and no null values. A topic containing "fail" makes its render fail.
  GET  /appcast.xml                 an update feed offering release 9.9 (VEXORA_APPCAST_URL)

Control endpoints for tests (no token needed):
  GET    /__devserver/requests       every API request, avatar and appcast GET: method, path, query, headers, body,
                                     started_at, ended_at
  DELETE /__devserver/requests       clear that log
  POST   /__devserver/script         {"method","path","replies":[{"status","body","content_type","delay_ms","drop",
                                      "body_bytes","compressible","trickle_ms"}]}
                                     the next requests to that path (API, avatar, video, appcast; a path ending in * is a
                                     prefix) get these replies, in order;
                                     body_bytes streams that many bytes of noise (of spaces when compressible)
                                     without a length, trickle_ms sends
                                     the body in eight pieces that far apart
  GET    /__devserver/config         the run-time settings
  POST   /__devserver/config         {"latency_ms","token_lifetime_seconds","schedules_enabled","fail_topics",
                                      "fail_accounts","locks","browser_session_ttl_seconds",
                                      "history_count","avatar_count","render_polls"}
                                     history_count and avatar_count (64 each) seed the library anew in those
                                     sizes; render_polls (4) is how many polls a render answers, the last with
                                     its final status
  POST   /__devserver/expire-tokens  every issued access token expires now
  POST   /__devserver/reset          back to the seed data, settings and an empty log
)";

int numberArgument(int& index, int argc, char** argv) {
    if (index + 1 >= argc) {
        std::fprintf(stderr, "vexora-devserver: %s needs a value\n", argv[index]);
        std::exit(2);
    }
    char* end = nullptr;
    const long value = std::strtol(argv[++index], &end, 10);
    if (*end != '\0' || value < 0) {
        std::fprintf(stderr, "vexora-devserver: %s needs a non-negative number\n", argv[index - 1]);
        std::exit(2);
    }
    return int(value);
}

}  // namespace

int main(int argc, char** argv) {
    using namespace devserver;
    int port = 8787;
    DevState state;
    for (int i = 1; i < argc; ++i) {
        if (!std::strcmp(argv[i], "--help") || !std::strcmp(argv[i], "-h")) {
            std::fputs(helpText, stdout);
            return 0;
        }
        if (!std::strcmp(argv[i], "--port")) port = numberArgument(i, argc, argv);
        else if (!std::strcmp(argv[i], "--latency-ms")) state.settings.latencyMs = numberArgument(i, argc, argv);
        else if (!std::strcmp(argv[i], "--token-lifetime")) state.settings.tokenLifetimeSeconds = numberArgument(i, argc, argv);
        else {
            std::fprintf(stderr, "vexora-devserver: unknown option %s (see --help)\n", argv[i]);
            return 2;
        }
    }
    state.startup = state.settings;

    httplib::Server server;
    // Headers and body go out in separate writes; with Nagle's algorithm the body would wait for
    // the client's delayed acknowledgement, some 40 ms a reply that no real service adds.
    server.set_tcp_nodelay(true);
    // A kept-alive connection holds a worker until it has been idle for 5 s. The app keeps up to
    // six to one host, image downloads add more, and with the default eight workers a request
    // from anyone else waited those 5 s for one to free up.
    server.new_task_queue = [] { return new httplib::ThreadPool(64); };
    const int bound = port == 0 ? server.bind_to_any_port("127.0.0.1") : (server.bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0) {
        std::fprintf(stderr, "vexora-devserver: cannot listen on 127.0.0.1:%d\n", port);
        return 1;
    }
    state.origin = "http://127.0.0.1:" + std::to_string(bound);
    state.reset();

    Harness harness;
    Router router(state, harness);
    addAuthRoutes(router);
    addWorkspaceRoutes(router);
    addLibraryRoutes(router);
    addGenerationRoutes(router);
    addPollRoute(router);
    addControlRoutes(server, state, harness);
    addAssetRoutes(server, state, harness);
    auto api = [&router](const httplib::Request& request, httplib::Response& response) { router.dispatch(request, response); };
    server.Get("/api/.*", api);
    server.Post("/api/.*", api);
    server.Patch("/api/.*", api);
    server.Delete("/api/.*", api);
    server.Put("/api/.*", api);

    // API replies, scripted ones included, are finished by the router; only the rest is touched here.
    server.set_post_routing_handler([](const httplib::Request&, httplib::Response& response) {
        if (!response.has_header("x-request-id")) response.set_header("x-request-id", randomToken("req-"));
    });
    server.set_error_handler([](const httplib::Request& request, httplib::Response& response) {
        if (response.status == 404 && response.body.empty() && request.path.rfind("/api/", 0) != 0)
            sendError(response, 404, "Not Found", "Not Found", "NotFound");
    });
    server.set_exception_handler([](const httplib::Request&, httplib::Response& response, std::exception_ptr failure) {
        try {
            std::rethrow_exception(failure);
        } catch (const json::exception&) {
            sendBadValue(response);
        } catch (...) {
            sendError(response, 500, "Internal Server Error", "The devserver failed to answer.", "INTERNAL");
        }
    });

    std::printf("%d\n", bound);
    std::fflush(stdout);
    std::fprintf(stderr, "vexora-devserver listening on %s (demo account %s / %s)\n", state.origin.c_str(), demoEmail.c_str(),
                 demoPassword.c_str());
    return server.listen_after_bind() ? 0 : 1;
}
