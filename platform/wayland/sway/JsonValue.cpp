#include "JsonValue.h"

#include <charconv>
#include <cmath>

// The grammar of RFC 8259, read by recursive descent over a string_view.
class JsonParser {
public:
    explicit JsonParser(std::string_view text) : text_(text) {}

    std::optional<JsonValue> document() {
        JsonValue value;
        if (!parseValue(value, 0))
            return std::nullopt;
        skipBlanks();
        if (at_ != text_.size())
            return std::nullopt;
        return value;
    }

private:
    bool more() const { return at_ < text_.size(); }
    char peek() const { return text_[at_]; }

    void skipBlanks() {
        while (more() && (peek() == ' ' || peek() == '\t' || peek() == '\n' || peek() == '\r'))
            ++at_;
    }

    bool literal(std::string_view word) {
        if (text_.substr(at_, word.size()) != word)
            return false;
        at_ += word.size();
        return true;
    }

    bool parseValue(JsonValue& out, int depth) {
        skipBlanks();
        if (!more())
            return false;
        switch (peek()) {
        case '{':
            return parseObject(out, depth + 1);
        case '[':
            return parseArray(out, depth + 1);
        case '"':
            out.kind_ = JsonValue::Kind::String;
            return parseString(out.string_);
        case 't':
            out.kind_ = JsonValue::Kind::Bool;
            out.boolean_ = true;
            return literal("true");
        case 'f':
            out.kind_ = JsonValue::Kind::Bool;
            return literal("false");
        case 'n':
            return literal("null");
        default:
            out.kind_ = JsonValue::Kind::Number;
            return parseNumber(out.number_);
        }
    }

    bool parseArray(JsonValue& out, int depth) {
        if (depth > JsonValue::kMaxDepth)
            return false;
        out.kind_ = JsonValue::Kind::Array;
        ++at_; // '['
        skipBlanks();
        if (more() && peek() == ']') {
            ++at_;
            return true;
        }
        for (;;) {
            out.items_.emplace_back();
            if (!parseValue(out.items_.back(), depth))
                return false;
            skipBlanks();
            if (!more())
                return false;
            const char c = text_[at_++];
            if (c == ']')
                return true;
            if (c != ',')
                return false;
        }
    }

    bool parseObject(JsonValue& out, int depth) {
        if (depth > JsonValue::kMaxDepth)
            return false;
        out.kind_ = JsonValue::Kind::Object;
        ++at_; // '{'
        skipBlanks();
        if (more() && peek() == '}') {
            ++at_;
            return true;
        }
        for (;;) {
            skipBlanks();
            if (!more() || peek() != '"')
                return false;
            out.keys_.emplace_back();
            if (!parseString(out.keys_.back()))
                return false;
            skipBlanks();
            if (!more() || text_[at_++] != ':')
                return false;
            out.items_.emplace_back();
            if (!parseValue(out.items_.back(), depth))
                return false;
            skipBlanks();
            if (!more())
                return false;
            const char c = text_[at_++];
            if (c == '}')
                return true;
            if (c != ',')
                return false;
        }
    }

    bool hex4(unsigned& out) {
        if (text_.size() - at_ < 4)
            return false;
        out = 0;
        for (int i = 0; i < 4; ++i) {
            const char c = text_[at_++];
            out <<= 4;
            if (c >= '0' && c <= '9')
                out |= unsigned(c - '0');
            else if (c >= 'a' && c <= 'f')
                out |= unsigned(c - 'a' + 10);
            else if (c >= 'A' && c <= 'F')
                out |= unsigned(c - 'A' + 10);
            else
                return false;
        }
        return true;
    }

    static void appendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += char(code);
        } else if (code < 0x800) {
            out += char(0xC0 | (code >> 6));
            out += char(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += char(0xE0 | (code >> 12));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        } else {
            out += char(0xF0 | (code >> 18));
            out += char(0x80 | ((code >> 12) & 0x3F));
            out += char(0x80 | ((code >> 6) & 0x3F));
            out += char(0x80 | (code & 0x3F));
        }
    }

    // A \u escape; a high surrogate must be followed by its low half.
    bool unicodeEscape(std::string& out) {
        unsigned code = 0;
        if (!hex4(code))
            return false;
        if (code >= 0xDC00 && code <= 0xDFFF)
            return false;
        if (code >= 0xD800 && code <= 0xDBFF) {
            unsigned low = 0;
            if (!literal("\\u") || !hex4(low) || low < 0xDC00 || low > 0xDFFF)
                return false;
            code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
        }
        appendUtf8(out, code);
        return true;
    }

    bool parseString(std::string& out) {
        ++at_; // '"'
        while (more()) {
            const char c = text_[at_++];
            if (c == '"')
                return true;
            if (static_cast<unsigned char>(c) < 0x20)
                return false;
            if (c != '\\') {
                out += c;
                continue;
            }
            if (!more())
                return false;
            switch (text_[at_++]) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u':
                if (!unicodeEscape(out))
                    return false;
                break;
            default:
                return false;
            }
        }
        return false;
    }

    // JSON's number grammar is checked here; from_chars alone would also
    // take "inf", "nan", hexadecimal digits and a leading zero.
    bool parseNumber(double& out) {
        const std::size_t start = at_;
        auto digits = [this] {
            const std::size_t from = at_;
            while (more() && peek() >= '0' && peek() <= '9')
                ++at_;
            return at_ > from;
        };
        if (more() && peek() == '-')
            ++at_;
        if (more() && peek() == '0')
            ++at_;
        else if (!digits())
            return false;
        if (more() && peek() == '.') {
            ++at_;
            if (!digits())
                return false;
        }
        if (more() && (peek() == 'e' || peek() == 'E')) {
            ++at_;
            if (more() && (peek() == '+' || peek() == '-'))
                ++at_;
            if (!digits())
                return false;
        }
        const char* first = text_.data() + start;
        const auto [end, error] = std::from_chars(first, text_.data() + at_, out);
        // Out of range: refused rather than taken as infinity.
        return error == std::errc() && end == text_.data() + at_ && std::isfinite(out);
    }

    std::string_view text_;
    std::size_t at_ = 0;
};

std::optional<JsonValue> JsonValue::parse(std::string_view text) {
    return JsonParser(text).document();
}

std::optional<bool> JsonValue::boolean() const {
    return kind_ == Kind::Bool ? std::optional<bool>(boolean_) : std::nullopt;
}

std::optional<double> JsonValue::number() const {
    return kind_ == Kind::Number ? std::optional<double>(number_) : std::nullopt;
}

const std::string* JsonValue::string() const {
    return kind_ == Kind::String ? &string_ : nullptr;
}

const std::vector<JsonValue>& JsonValue::items() const {
    static const std::vector<JsonValue> none;
    return kind_ == Kind::Array ? items_ : none;
}

const JsonValue* JsonValue::member(std::string_view key) const {
    if (kind_ != Kind::Object)
        return nullptr;
    for (std::size_t i = 0; i < keys_.size(); ++i)
        if (keys_[i] == key)
            return &items_[i];
    return nullptr;
}
