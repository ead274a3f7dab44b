#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

// One typed value of a stored layout (the binary form-data stream). The type
// codes are those of the stream; a value keeps the exact code it was read with
// so that a layout read and written again comes out byte for byte.
struct FormValue {
    enum class Type : std::uint8_t {
        Null = 0,
        List = 1,
        Int8 = 2,
        Int16 = 3,
        Int32 = 4,
        Extended = 5,
        String = 6,
        Ident = 7,
        False = 8,
        True = 9,
        Binary = 10,
        Set = 11,
        LString = 12,
        Nil = 13,
        Collection = 14,
        Single = 15,
        Currency = 16,
        Date = 17,
        WString = 18,
        Int64 = 19,
        Utf8String = 20,
    };

    // One item of a collection: its optional index and its properties.
    struct Item;

    Type type = Type::Null;
    std::int64_t integer = 0;                // Int8/16/32/64, Currency (raw, scaled by 10000)
    double real = 0;                         // Single, Date
    std::array<std::uint8_t, 10> extended{}; // Extended, kept raw
    std::string text;                        // String, Ident, LString, Utf8String (bytes as stored)
    std::u16string wide;                     // WString
    std::vector<std::uint8_t> bytes;         // Binary
    std::vector<std::string> set;            // Set members
    std::vector<FormValue> list;             // List
    std::vector<Item> items;                 // Collection

    // Builders that pick the stream's own encoding: the smallest integer type
    // that holds the value, False/True for Booleans, String or LString by
    // length.
    static FormValue fromInt(std::int64_t v);
    static FormValue fromBool(bool v);
    static FormValue fromString(const std::string& v);
    static FormValue fromIdent(const std::string& v);
    static FormValue fromBinary(std::vector<std::uint8_t> v);

    bool isInteger() const;
    bool isString() const; // String, LString, Utf8String, WString
    bool isBool() const { return type == Type::False || type == Type::True; }
    // Conversions used by readers of properties; they throw KuvitoError when
    // the value is not of a compatible type.
    std::int64_t asInt() const;
    std::int32_t asInt32() const; // also throws when the value does not fit
    bool asBool() const;
    std::string asString() const; // UTF-8 for WString; bytes as stored otherwise

    bool operator==(const FormValue& other) const;
};

struct FormValue::Item {
    std::vector<FormValue> index; // empty, or the item's one index value
    std::vector<std::pair<std::string, FormValue>> properties;

    // The special members are defined out of line: FormValue and Item hold
    // each other through containers, and clang cannot instantiate them
    // inline while either type is still being completed.
    Item();
    Item(const Item&);
    Item(Item&&) noexcept;
    Item& operator=(const Item&);
    Item& operator=(Item&&) noexcept;
    ~Item();
    bool operator==(const Item& other) const;
};
