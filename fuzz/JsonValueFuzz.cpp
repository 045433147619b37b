// JSONValue and JsonReader over any body: the generic value round-trips, and every typed
// accessor either answers or raises a DecodingError, never another exception.

#include "FuzzHarness.h"

#include "foundation/JSONValue.h"

using namespace vexora;

namespace {

void checkValueRoundTrip(const QByteArray& body) {
    const auto value = fuzz::decodedOrNone([&] { return JSONValue::fromJson(JsonReader::parse(body)); });
    if (!value) return;
    const JSONValue reread = fuzz::checkRoundTrip(
        *value, [](const JSONValue& v) { return encodeJson(v.toJson()); },
        [](const QByteArray& written) { return JSONValue::fromJson(JsonReader::parse(written)); });
    fuzz::check(qHash(reread) == qHash(*value), "equal values hash differently");
}

// Bounded so that wide documents do not make a single input slow.
void probe(const JsonReader& reader, int& budget) {
    if (--budget < 0) return;
    const auto integer = fuzz::decodedOrNone([&] { return reader.integer(); });
    const auto number = fuzz::decodedOrNone([&] { return reader.number(); });
    if (integer && number) fuzz::check(double(*integer) == *number, "integer and number disagree");
    fuzz::check(integer.has_value() == jsonInteger(reader.value()).has_value(), "integer() and jsonInteger disagree");
    fuzz::decodedOrNone([&] { return reader.string(); });
    fuzz::decodedOrNone([&] { return reader.boolean(); });
    if (auto items = fuzz::decodedOrNone([&] { return reader.array(); }))
        for (const JsonReader& item : *items) probe(item, budget);
    if (!reader.isObject()) return;
    for (auto it = reader.value().begin(); it != reader.value().end(); ++it) {
        const std::string& key = it.key();
        fuzz::check(reader.has(key) == !it->is_null(), "has() disagrees with the member");
        fuzz::decodedOrNone([&] { return reader.optionalString(key); });
        fuzz::decodedOrNone([&] { return reader.optionalNumber(key); });
        fuzz::decodedOrNone([&] { return reader.optionalInteger(key); });
        fuzz::decodedOrNone([&] { return reader.optionalBool(key); });
        probe(reader.member(key), budget);
    }
}

void probeReader(const QByteArray& body) {
    const auto reader = fuzz::decodedOrNone([&] { return JsonReader::parse(body); });
    if (!reader) return;
    int budget = 4096;
    probe(*reader, budget);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    fuzz::dispatch(data, size, {checkValueRoundTrip, probeReader});
    return 0;
}
