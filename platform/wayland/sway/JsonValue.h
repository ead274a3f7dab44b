#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// A JSON document as sway's IPC socket sends it, parsed whole into values.
// The input comes from another process, so parsing is bounded: nesting
// deeper than kMaxDepth, text that is not exactly one JSON value (trailing
// bytes included), invalid escapes and numbers are refused, never guessed.
class JsonValue {
public:
    enum class Kind { Null, Bool, Number, String, Array, Object };

    // Nested arrays and objects, counted together. sway's window tree nests
    // two levels per container; no real tree comes near this.
    static constexpr int kMaxDepth = 200;

    // The value the text holds, or nothing when it is not valid JSON.
    static std::optional<JsonValue> parse(std::string_view text);

    Kind kind() const { return kind_; }
    // Nothing unless the value is of that kind.
    std::optional<bool> boolean() const;
    std::optional<double> number() const;
    const std::string* string() const;
    // An array's elements; empty for anything else.
    const std::vector<JsonValue>& items() const;
    // An object's member of that name (the first, if repeated), or null.
    const JsonValue* member(std::string_view key) const;

private:
    friend class JsonParser;

    Kind kind_ = Kind::Null;
    bool boolean_ = false;
    double number_ = 0;
    std::string string_;
    // An array's elements, or an object's values beside their keys.
    std::vector<JsonValue> items_;
    std::vector<std::string> keys_;
};
