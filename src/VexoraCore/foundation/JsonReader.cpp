#include "foundation/JsonReader.h"

#include "foundation/FoundationErrors.h"

#include <cmath>
#include <limits>

namespace vexora {

QByteArray encodeJson(const Json& value) {
    return QByteArray::fromStdString(value.dump(-1, ' ', false, Json::error_handler_t::replace));
}

namespace {

const char* typeName(const Json& value) {
    switch (value.type()) {
    case Json::value_t::null: return "null";
    case Json::value_t::boolean: return "a Boolean";
    case Json::value_t::number_integer:
    case Json::value_t::number_unsigned:
    case Json::value_t::number_float: return "a number";
    case Json::value_t::string: return "a string";
    case Json::value_t::array: return "an array";
    case Json::value_t::object: return "an object";
    default: return "not a value";
    }
}

// nlohmann's parser is iterative, but everything that walks the result recursively is not.
bool nestsDeeperThan(const Json& root, int limit) {
    std::vector<std::pair<const Json*, int>> pending{{&root, 1}};
    while (!pending.empty()) {
        auto [node, depth] = pending.back();
        pending.pop_back();
        if (!node->is_structured()) continue;
        if (depth > limit) return true;
        for (const auto& child : *node) pending.emplace_back(&child, depth + 1);
    }
    return false;
}

}  // namespace

QString isoDateText(const QDateTime& time) { return time.toUTC().toString(Qt::ISODateWithMs); }

std::optional<std::int64_t> jsonInteger(const Json& value) {
    if (value.is_number_unsigned()) {
        if (value.get<std::uint64_t>() > std::uint64_t(std::numeric_limits<std::int64_t>::max())) return std::nullopt;
        return std::int64_t(value.get<std::uint64_t>());
    }
    if (value.is_number_integer()) return value.get<std::int64_t>();
    if (value.is_number_float()) {
        const double number = value.get<double>();
        // 2^63 itself does not fit; every whole double below it does.
        if (std::isfinite(number) && std::trunc(number) == number && std::fabs(number) < 9223372036854775808.0)
            return std::int64_t(number);
    }
    return std::nullopt;
}

JsonReader JsonReader::parse(const QByteArray& body) {
    auto parsed = std::make_shared<Json>(Json::parse(body.begin(), body.end(), nullptr, false));
    if (parsed->is_discarded()) throw DecodingError(QString(), QStringLiteral("is not valid JSON"));
    if (nestsDeeperThan(*parsed, maxDepth)) throw DecodingError(QString(), QStringLiteral("is nested too deeply"));
    JsonReader reader(*parsed, QString());
    reader.owned_ = std::move(parsed);
    return reader;
}

JsonReader::JsonReader(const Json& value, QString path) : value_(&value), path_(std::move(path)) {}

void JsonReader::fail(const QString& problem) const { throw DecodingError(path_, problem); }

void JsonReader::requireObject() const {
    if (!value_->is_object()) fail(QStringLiteral("is %1, not an object").arg(QLatin1String(typeName(*value_))));
}

QString JsonReader::childPath(std::string_view key) const {
    const QString name = QString::fromUtf8(key.data(), qsizetype(key.size()));
    return path_.isEmpty() ? name : path_ + QLatin1Char('.') + name;
}

bool JsonReader::has(std::string_view key) const {
    if (!value_->is_object()) return false;
    auto it = value_->find(key);
    return it != value_->end() && !it->is_null();
}

QString JsonReader::string() const {
    if (!value_->is_string()) fail(QStringLiteral("is %1, not a string").arg(QLatin1String(typeName(*value_))));
    return value_->get<QString>();
}

std::int64_t JsonReader::integer() const {
    if (auto whole = jsonInteger(*value_)) return *whole;
    fail(QStringLiteral("is %1, not an integer").arg(QLatin1String(typeName(*value_))));
}

double JsonReader::number() const {
    if (!value_->is_number()) fail(QStringLiteral("is %1, not a number").arg(QLatin1String(typeName(*value_))));
    return value_->get<double>();
}

bool JsonReader::boolean() const {
    if (!value_->is_boolean()) fail(QStringLiteral("is %1, not a Boolean").arg(QLatin1String(typeName(*value_))));
    return value_->get<bool>();
}

QDateTime JsonReader::date() const {
    const QDateTime time = QDateTime::fromString(string(), Qt::ISODateWithMs);
    // "9999-12-31T23:00:00-05:00" reads, but its UTC year is 10000: stored again it would be
    // written as "" and the record would no longer read.
    if (!time.isValid() || isoDateText(time).isEmpty())
        fail(QStringLiteral("is not an ISO 8601 date in the years 1 to 9999"));
    return time;
}

QList<JsonReader> JsonReader::array() const {
    if (!value_->is_array()) fail(QStringLiteral("is %1, not an array").arg(QLatin1String(typeName(*value_))));
    QList<JsonReader> items;
    items.reserve(qsizetype(value_->size()));
    int index = 0;
    for (const auto& item : *value_) {
        JsonReader child(item, path_ + QStringLiteral("[%1]").arg(index++));
        child.owned_ = owned_;
        items.append(child);
    }
    return items;
}

JsonReader JsonReader::member(std::string_view key) const {
    requireObject();
    auto it = value_->find(key);
    if (it == value_->end()) throw DecodingError(childPath(key), QStringLiteral("is missing"));
    JsonReader child(*it, childPath(key));
    child.owned_ = owned_;
    return child;
}

std::optional<JsonReader> JsonReader::optionalMember(std::string_view key) const {
    requireObject();
    if (!has(key)) return std::nullopt;
    return member(key);
}

std::optional<QString> JsonReader::optionalString(std::string_view key) const {
    if (auto child = optionalMember(key)) return child->string();
    return std::nullopt;
}

std::optional<double> JsonReader::optionalNumber(std::string_view key) const {
    if (auto child = optionalMember(key)) return child->number();
    return std::nullopt;
}

std::optional<std::int64_t> JsonReader::optionalInteger(std::string_view key) const {
    if (auto child = optionalMember(key)) return child->integer();
    return std::nullopt;
}

std::optional<bool> JsonReader::optionalBool(std::string_view key) const {
    if (auto child = optionalMember(key)) return child->boolean();
    return std::nullopt;
}

std::optional<QDateTime> JsonReader::optionalDate(std::string_view key) const {
    if (auto child = optionalMember(key)) return child->date();
    return std::nullopt;
}

}  // namespace vexora
