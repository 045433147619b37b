#include "DemoClips.h"
#include "Exchange.h"

#include <array>
#include <functional>
#include <cstdint>

namespace devserver {

namespace {

std::uint32_t crc32(const std::string& data) {
    static const auto table = [] {
        std::array<std::uint32_t, 256> values{};
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            values[n] = c;
        }
        return values;
    }();
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : data) crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

void putBigEndian(std::string& out, std::uint32_t value, int bytes = 4) {
    for (int shift = (bytes - 1) * 8; shift >= 0; shift -= 8) out += char((value >> shift) & 0xFF);
}

void pngChunk(std::string& png, const char* type, const std::string& data) {
    putBigEndian(png, std::uint32_t(data.size()));
    const std::string typed = std::string(type, 4) + data;
    png += typed;
    putBigEndian(png, crc32(typed));
}

// A zlib stream of stored (uncompressed) blocks: valid, simple, and small enough for 96 px faces.
std::string zlibStored(const std::string& raw) {
    std::string out = "\x78\x01";
    for (size_t offset = 0; offset < raw.size() || offset == 0; offset += 65535) {
        const size_t length = std::min<size_t>(65535, raw.size() - offset);
        out += char(offset + length >= raw.size() ? 1 : 0);
        out += char(length & 0xFF);
        out += char(length >> 8);
        out += char(~length & 0xFF);
        out += char((~length >> 8) & 0xFF);
        out.append(raw, offset, length);
        if (raw.empty()) break;
    }
    std::uint32_t a = 1, b = 0;
    for (unsigned char byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    putBigEndian(out, (b << 16) | a);
    return out;
}

// A simple face whose colours come from the id, so every avatar looks a little different.
std::string facePNG(const std::string& id) {
    constexpr int size = 96;
    const std::uint32_t hash = crc32(id);
    const unsigned char background[3] = {static_cast<unsigned char>(120 + (hash & 0x7F)),
                                         static_cast<unsigned char>(120 + ((hash >> 8) & 0x7F)),
                                         static_cast<unsigned char>(150 + ((hash >> 16) & 0x5F))};
    const unsigned char skins[4][3] = {{241, 194, 167}, {224, 172, 105}, {198, 134, 66}, {141, 85, 36}};
    const unsigned char* skin = skins[(hash >> 24) % 4];
    std::string raw;
    for (int y = 0; y < size; ++y) {
        raw += '\0';  // no filter
        for (int x = 0; x < size; ++x) {
            auto inside = [&](int cx, int cy, int rx, int ry) {
                const double dx = double(x - cx) / rx, dy = double(y - cy) / ry;
                return dx * dx + dy * dy <= 1.0;
            };
            const unsigned char* colour = background;
            static const unsigned char dark[3] = {40, 30, 30}, lips[3] = {170, 60, 70};
            if (inside(48, 50, 30, 36)) colour = skin;
            if (inside(37, 44, 4, 5) || inside(59, 44, 4, 5)) colour = dark;
            if (inside(48, 66, 11, 4) && y >= 66) colour = lips;
            raw.append(reinterpret_cast<const char*>(colour), 3);
        }
    }
    std::string header;
    putBigEndian(header, size);
    putBigEndian(header, size);
    header.append("\x08\x02\x00\x00\x00", 5);  // 8 bits, RGB, deflate, no filter, no interlace
    std::string png = "\x89PNG\r\n\x1a\n";
    pngChunk(png, "IHDR", header);
    pngChunk(png, "IDAT", zlibStored(raw));
    pngChunk(png, "IEND", "");
    return png;
}

// The same video always gets the same clip; neighbouring ids get different ones.
std::string_view clipFor(const std::string& videoID) {
    const auto clips = demoClips();
    return clips[crc32(videoID) % clips.size()];
}

std::string browserPage(const std::string& id) {
    return "<!doctype html><html><head><meta charset=\"utf-8\"><title>Vexora sign-in</title><style>"
           "body{font-family:sans-serif;background:#f4f2fb;display:flex;justify-content:center;padding-top:80px}"
           ".card{background:#fff;border-radius:16px;padding:32px 40px;box-shadow:0 8px 30px #0002;text-align:center}"
           "button{background:#6c4cf1;color:#fff;border:0;border-radius:10px;padding:12px 28px;font-size:16px}"
           "</style></head><body><div class=\"card\"><h2>Sign in to Vexora UGC Volley</h2>"
           "<p>Local development service. Approve to sign in as demo@vexora.local.</p>"
           "<form method=\"post\" action=\"/auth/browser/" + id + "/approve\"><button type=\"submit\">Approve</button></form>"
           "</div></body></html>";
}

// The update feed of a release newer than any build: links are relative, so they follow the server.
std::string appcastFeed() {
    return R"(<?xml version="1.0" encoding="utf-8"?>
<rss version="2.0" xmlns:sparkle="http://www.andymatuschak.org/xml-namespaces/sparkle">
  <channel>
    <title>Vexora UGC Volley</title>
    <item>
      <title>Vexora UGC Volley 9.9</title>
      <sparkle:version>9.9.0</sparkle:version>
      <sparkle:shortVersionString>9.9</sparkle:shortVersionString>
      <sparkle:releaseNotesLink>releases/9.9.0.html</sparkle:releaseNotesLink>
      <enclosure url="releases/vexora-ugc-volley-9.9.0.tar.gz" length="1" type="application/gzip"/>
    </item>
  </channel>
</rss>
)";
}

// Downloads are logged and scriptable like API requests, so tests can count and fault them.
httplib::Server::Handler scriptable(DevState& state, Harness& harness,
                                    std::function<void(const httplib::Request&, httplib::Response&)> serve) {
    return [&state, &harness, serve](const httplib::Request& request, httplib::Response& response) {
        const double startedAt = nowSeconds();
        if (auto scripted = takeScripted(state, harness, request)) sendScripted(*scripted, response);
        else serve(request, response);
        logRequest(state, harness, request, startedAt);
    };
}

}  // namespace

void addAssetRoutes(httplib::Server& server, DevState& state, Harness& harness) {
    server.Get(R"(/assets/avatars/([A-Za-z0-9_-]+)\.png)",
               scriptable(state, harness, [](const httplib::Request& request, httplib::Response& response) {
                   response.set_content(facePNG(request.matches[1]), "image/png");
               }));
    server.Get("/appcast.xml", scriptable(state, harness, [](const httplib::Request&, httplib::Response& response) {
                   response.set_content(appcastFeed(), "application/rss+xml");
               }));
    server.Get(R"(/assets/videos/([A-Za-z0-9_-]+)\.mp4)",
               scriptable(state, harness, [](const httplib::Request& request, httplib::Response& response) {
                   const std::string_view clip = clipFor(request.matches[1]);
                   response.set_content(clip.data(), clip.size(), "video/mp4");
               }));
    server.Get(R"(/auth/browser/([A-Za-z0-9_]+))", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(browserPage(request.matches[1]), "text/html; charset=utf-8");
    });
    server.Post(R"(/auth/browser/([A-Za-z0-9_]+)/approve)", [&state](const httplib::Request& request, httplib::Response& response) {
        std::lock_guard lock(state.mutex);
        auto it = state.browserSessions.find(request.matches[1]);
        if (it == state.browserSessions.end()) {
            response.status = 404;
            response.set_content("<p>This sign-in has expired. Start again in the app.</p>", "text/html; charset=utf-8");
            return;
        }
        it->second.approved = true;
        response.set_content("<p style=\"font-family:sans-serif\">Signed in. You can return to Vexora UGC Volley.</p>",
                             "text/html; charset=utf-8");
    });
}

}  // namespace devserver
