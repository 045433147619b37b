#pragma once

// What every fuzz target shares: the input's layout, how a refusal differs from a fault, and the
// round-trip check. A target defines LLVMFuzzerTestOneInput with dispatch().

#include "foundation/FoundationErrors.h"
#include "foundation/JsonReader.h"

#include <QByteArray>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <initializer_list>
#include <optional>
#include <type_traits>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace vexora::fuzz {

// Prints what broke and aborts, so that libFuzzer keeps the input as a crash.
[[noreturn]] void fail(const char* what, const QByteArray& detail = {});

inline void check(bool holds, const char* what, const QByteArray& detail = {}) {
    if (!holds) fail(what, detail);
}

using Decoder = std::function<void(const QByteArray& body)>;

// The first byte picks a decoder ('0' the first, '1' the second, any byte some decoder), the
// rest is the body, so that seeds stay readable text.
void dispatch(const std::uint8_t* data, std::size_t size, std::initializer_list<Decoder> decoders);

// The decoded value, or none when the decoder refused the input with a DecodingError. Any
// other exception escapes and is a finding.
template <typename Decode>
auto decodedOrNone(Decode&& decode) -> std::optional<std::invoke_result_t<Decode>> {
    try {
        return decode();
    } catch (const DecodingError&) {
        return std::nullopt;
    }
}

// T::fromJson over the parsed body.
template <typename T>
std::optional<T> decodedBody(const QByteArray& body) {
    return decodedOrNone([&] { return T::fromJson(JsonReader::parse(body)); });
}

// What decodes must be written the way it is stored and read back as the same value, which
// is returned for further checks.
template <typename T, typename Encode, typename Decode>
T checkRoundTrip(const T& value, Encode&& encode, Decode&& decode) {
    const QByteArray written = encode(value);
    const std::optional<T> reread = decodedOrNone([&] { return decode(written); });
    check(reread.has_value(), "what was written does not read back", written);
    check(*reread == value, "what was written reads back as another value", written);
    return *reread;
}

// The common case: toJson, encodeJson, parse, fromJson.
template <typename T>
T checkJsonRoundTrip(const T& value) {
    return checkRoundTrip(
        value, [](const T& v) { return encodeJson(v.toJson()); },
        [](const QByteArray& written) { return T::fromJson(JsonReader::parse(written)); });
}

}  // namespace vexora::fuzz
