#include "FormValue.h"

#include <bit>
#include <cstring>
#include <limits>

#include "KuvitoError.h"

namespace {

// Appends one code point as UTF-8.
void appendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

bool sameBits(double a, double b) {
    return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
}

} // namespace

FormValue FormValue::fromInt(std::int64_t v) {
    FormValue value;
    value.integer = v;
    if (v >= std::numeric_limits<std::int8_t>::min() && v <= std::numeric_limits<std::int8_t>::max())
        value.type = Type::Int8;
    else if (v >= std::numeric_limits<std::int16_t>::min() && v <= std::numeric_limits<std::int16_t>::max())
        value.type = Type::Int16;
    else if (v >= std::numeric_limits<std::int32_t>::min() && v <= std::numeric_limits<std::int32_t>::max())
        value.type = Type::Int32;
    else
        value.type = Type::Int64;
    return value;
}

FormValue FormValue::fromBool(bool v) {
    FormValue value;
    value.type = v ? Type::True : Type::False;
    return value;
}

FormValue FormValue::fromString(const std::string& v) {
    FormValue value;
    value.type = v.size() <= 255 ? Type::String : Type::LString;
    value.text = v;
    return value;
}

FormValue FormValue::fromIdent(const std::string& v) {
    FormValue value;
    value.type = Type::Ident;
    value.text = v;
    return value;
}

FormValue FormValue::fromBinary(std::vector<std::uint8_t> v) {
    FormValue value;
    value.type = Type::Binary;
    value.bytes = std::move(v);
    return value;
}

bool FormValue::isInteger() const {
    return type == Type::Int8 || type == Type::Int16 || type == Type::Int32 || type == Type::Int64;
}

bool FormValue::isString() const {
    return type == Type::String || type == Type::LString || type == Type::Utf8String || type == Type::WString;
}

std::int64_t FormValue::asInt() const {
    if (!isInteger())
        throw KuvitoError("整数の値が必要です", KuvitoError::Kind::Conversion);
    return integer;
}

std::int32_t FormValue::asInt32() const {
    const std::int64_t v = asInt();
    if (v < std::numeric_limits<std::int32_t>::min() || v > std::numeric_limits<std::int32_t>::max())
        throw KuvitoError("値 " + std::to_string(v) + " が範囲外です", KuvitoError::Kind::Conversion);
    return static_cast<std::int32_t>(v);
}

bool FormValue::asBool() const {
    if (!isBool())
        throw KuvitoError("真偽値が必要です", KuvitoError::Kind::Conversion);
    return type == Type::True;
}

std::string FormValue::asString() const {
    if (type == Type::WString) {
        std::string out;
        for (std::size_t i = 0; i < wide.size(); ++i) {
            char32_t cp = wide[i];
            if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < wide.size() && wide[i + 1] >= 0xDC00 &&
                wide[i + 1] <= 0xDFFF) {
                cp = 0x10000 + ((cp - 0xD800) << 10) + (wide[i + 1] - 0xDC00);
                ++i;
            } else if (cp >= 0xD800 && cp <= 0xDFFF) {
                cp = 0xFFFD; // a lone surrogate has no UTF-8 form
            }
            appendUtf8(out, cp);
        }
        return out;
    }
    if (!isString())
        throw KuvitoError("文字列の値が必要です", KuvitoError::Kind::Conversion);
    return text;
}

bool FormValue::operator==(const FormValue& other) const {
    if (type != other.type)
        return false;
    switch (type) {
    case Type::Null:
    case Type::False:
    case Type::True:
    case Type::Nil:
        return true;
    case Type::Int8:
    case Type::Int16:
    case Type::Int32:
    case Type::Int64:
    case Type::Currency:
        return integer == other.integer;
    case Type::Single:
    case Type::Date:
        // Bit patterns, so that a NaN equals itself.
        return sameBits(real, other.real);
    case Type::Extended:
        return extended == other.extended;
    case Type::String:
    case Type::Ident:
    case Type::LString:
    case Type::Utf8String:
        return text == other.text;
    case Type::WString:
        return wide == other.wide;
    case Type::Binary:
        return bytes == other.bytes;
    case Type::Set:
        return set == other.set;
    case Type::List:
        return list == other.list;
    case Type::Collection:
        return items == other.items;
    }
    return false;
}

FormValue::Item::Item() = default;
FormValue::Item::Item(const Item&) = default;
FormValue::Item::Item(Item&&) noexcept = default;
FormValue::Item& FormValue::Item::operator=(const Item&) = default;
FormValue::Item& FormValue::Item::operator=(Item&&) noexcept = default;
FormValue::Item::~Item() = default;

bool FormValue::Item::operator==(const Item& other) const {
    return index == other.index && properties == other.properties;
}
