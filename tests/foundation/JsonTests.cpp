#include "foundation/APIClientError.h"
#include "foundation/ErrorText.h"
#include "foundation/FoundationErrors.h"
#include "foundation/JSONValue.h"
#include "foundation/JsonReader.h"

#include <gtest/gtest.h>

using namespace vexora;

namespace {

JSONValue decode(const char* text) { return JSONValue::fromJson(JsonReader::parse(QByteArray(text))); }

DecodingError decodingErrorOf(const std::function<void()>& work) {
    try {
        work();
    } catch (const DecodingError& error) {
        return error;
    }
    ADD_FAILURE() << "no decoding error";
    return DecodingError({}, {});
}

}  // namespace

TEST(ErrorText, EveryErrorHasItsTextAndOnlyCancellationsAreSilent) {
    EXPECT_EQ(APIClientError::http(403, "forbidden").errorDescription(), "forbidden");
    EXPECT_EQ(APIClientError::http(403, "forbidden", "forbidden", "abc").errorDescription(), "forbidden (requestId: abc)");
    EXPECT_EQ(APIClientError::missingSession().errorDescription(), "No active session.");
    EXPECT_EQ(APIClientError::invalidResponse().errorDescription(), "Invalid server response.");
    EXPECT_EQ(APIClientError::emptyText().errorDescription(), "Empty source text.");
    EXPECT_EQ(APIClientError::unsupportedURL().errorDescription(), "Enter a valid URL.");

    EXPECT_EQ(APIClientError::http(400, "a", "c", "r"), APIClientError::http(400, "a", "c", "r"));
    EXPECT_NE(APIClientError::http(400, "a", "c", "r"), APIClientError::http(400, "a", "c", std::nullopt));
    EXPECT_NE(APIClientError::emptyText(), APIClientError::unsupportedURL());

    auto asPointer = [](auto error) { return std::make_exception_ptr(error); };
    EXPECT_EQ(errorText(asPointer(APIClientError::unsupportedURL())), "Enter a valid URL.");
    EXPECT_EQ(errorText(asPointer(NetworkError(QNetworkReply::ConnectionRefusedError, "Connection refused"))),
              "Connection refused");
    EXPECT_TRUE(errorText(asPointer(SecureStoreError(SecureStoreError::Status::unavailable, "")))
                    .contains("system keyring is unavailable"));
    EXPECT_EQ(errorText(asPointer(std::runtime_error("plain"))), "plain");

    EXPECT_TRUE(isCancellationLike(asPointer(CancellationError())));
    EXPECT_TRUE(isCancellationLike(asPointer(NetworkError(QNetworkReply::OperationCanceledError, ""))));
    EXPECT_FALSE(isCancellationLike(asPointer(NetworkError(QNetworkReply::TimeoutError, ""))));
    EXPECT_FALSE(isCancellationLike(asPointer(APIClientError::missingSession())));
}

TEST(JSONValue, DecodesIntegersBeforeFloatingPoint) {
    EXPECT_EQ(decode("true").kind(), JSONValue::Kind::boolean);
    EXPECT_EQ(decode("3"), JSONValue(3));
    EXPECT_EQ(decode("3.5"), JSONValue(3.5));
    EXPECT_EQ(decode("3.0"), JSONValue(3)) << "integer is tried before floating point";
    EXPECT_EQ(decode("-9223372036854775808"), JSONValue(std::int64_t(INT64_MIN)));
    EXPECT_EQ(decode("18446744073709551615").kind(), JSONValue::Kind::number) << "too large for an integer";
    EXPECT_EQ(decode("null"), JSONValue());
    EXPECT_EQ(decode(R"("é")"), JSONValue(QString::fromUtf8("é")));

    EXPECT_EQ(decode(R"({"a":[1,2.5,"x",null,{"b":false}],"c":{}})").asObject()->at("a").asArray()->size(), 5);
}

TEST(JsonReader, ErrorsNameTheOffendingKey) {
    const QByteArray body = R"({"session":{"access_token":7},"items":[{"id":"a"},{"name":"b"}]})";
    const JsonReader reader = JsonReader::parse(body);

    DecodingError wrongType = decodingErrorOf([&] { reader.member("session").requiredString("access_token"); });
    EXPECT_EQ(wrongType.path(), "session.access_token");
    EXPECT_TRUE(wrongType.errorDescription().contains("\"session.access_token\""));

    DecodingError missing = decodingErrorOf([&] { reader.member("items").array().at(1).requiredString("id"); });
    EXPECT_EQ(missing.path(), "items[1].id");
    EXPECT_TRUE(missing.problem().contains("missing"));

    EXPECT_EQ(reader.member("items").array().at(1).optionalString("id"), std::nullopt);
    EXPECT_EQ(JsonReader::parse(R"({"k":null})").optionalString("k"), std::nullopt);
    decodingErrorOf([&] { JsonReader::parse(R"({"k":1})").optionalString("k"); });
}

TEST(JsonReader, RefusesBrokenAndAbsurdBodies) {
    for (const char* broken : {"", "{", "{\"a\":1}trailing", "<html>"}) decodingErrorOf([&] { JsonReader::parse(broken); });

    const QByteArray deep = QByteArray(100000, '[') + QByteArray(100000, ']');
    EXPECT_TRUE(decodingErrorOf([&] { JsonReader::parse(deep); }).problem().contains("deeply"));
    const QByteArray fine = QByteArray(100, '[') + QByteArray(100, ']');
    EXPECT_NO_THROW(decode(fine.constData()));
}

TEST(JsonReader, ReadsOnlyDatesItCanWriteBack) {
    const Json dates = {{"offset", "2026-12-01T12:00:00.250+02:00"},
                        {"utcYear10000", "9999-12-31T23:00:00-05:00"},
                        {"utcYear0", "0001-01-01T00:30:00+01:00"},
                        {"month13", "2026-13-01T00:00:00Z"},
                        {"number", 1}};
    const JsonReader reader(dates, {});

    const QDateTime read = *reader.optionalDate("offset");
    EXPECT_EQ(isoDateText(read), "2026-12-01T10:00:00.250Z");
    EXPECT_EQ(JsonReader(Json(isoDateText(read)), {}).date(), read);
    EXPECT_EQ(reader.optionalDate("absent"), std::nullopt);

    // Valid as written, but their UTC year has no ISO text: stored again they would be lost.
    for (const char* unwritable : {"utcYear10000", "utcYear0", "month13", "number"})
        EXPECT_EQ(decodingErrorOf([&] { reader.optionalDate(unwritable); }).path(), unwritable);
}
