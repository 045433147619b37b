// The authentication endpoints' replies and the auth state's stored form.

#include "FuzzHarness.h"

#include "auth/AuthRecords.h"
#include "auth/AuthWire.h"

using namespace vexora;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::dispatch(data, size, {
        [](const QByteArray& body) {
            if (auto reply = fuzz::decodedBody<SignInResponse>(body)) makeUserSession(reply->user, reply->session);
        },
        [](const QByteArray& body) { fuzz::decodedBody<NativeBrowserAuthStartResponse>(body); },
        [](const QByteArray& body) {
            const auto reply = fuzz::decodedBody<NativeBrowserAuthPollResponse>(body);
            if (reply && reply->user && reply->session) makeUserSession(*reply->user, *reply->session);
        },
        [](const QByteArray& body) {
            const auto state = fuzz::decodedBody<AuthState>(body);
            if (!state) return;
            const AuthState reread = fuzz::checkJsonRoundTrip(*state);
            fuzz::check(qHash(reread) == qHash(*state), "equal auth states hash differently");
        },
    });
    return 0;
}
