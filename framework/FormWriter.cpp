#include "FormWriter.h"

#include <bit>
#include <cstring>
#include <limits>

#include "FormReader.h"
#include "KuvitoError.h"

namespace {

class Output {
public:
    std::vector<std::uint8_t> bytes;

    void byte(std::uint8_t b) { bytes.push_back(b); }
    template <typename T> void little(T v) {
        auto u = static_cast<std::make_unsigned_t<T>>(v);
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            bytes.push_back(static_cast<std::uint8_t>(u & 0xFF));
            u = static_cast<std::make_unsigned_t<T>>(u >> 8);
        }
    }
    void raw(const void* data, std::size_t n) {
        const auto* p = static_cast<const std::uint8_t*>(data);
        bytes.insert(bytes.end(), p, p + n);
    }
    void shortString(const std::string& s, const char* what) {
        if (s.size() > 255)
            fail(std::string(what) + "が 255 バイトを超えています");
        byte(static_cast<std::uint8_t>(s.size()));
        raw(s.data(), s.size());
    }
    void length(std::size_t n) {
        if (n > std::numeric_limits<std::uint32_t>::max())
            fail("値が長すぎます");
        little(static_cast<std::uint32_t>(n));
    }
    [[noreturn]] static void fail(const std::string& what) {
        throw KuvitoError("フォームデータを書き込めません（" + what + "）");
    }
};

void writeValue(Output& out, const FormValue& v, int depth);

void writeProperties(Output& out, const std::vector<std::pair<std::string, FormValue>>& props, int depth) {
    for (const auto& [name, value] : props) {
        if (name.empty())
            Output::fail("プロパティ名が空です");
        out.shortString(name, "プロパティ名");
        writeValue(out, value, depth + 1);
    }
    out.byte(0);
}

void checkRange(const FormValue& v, std::int64_t lo, std::int64_t hi) {
    if (v.integer < lo || v.integer > hi)
        Output::fail("整数 " + std::to_string(v.integer) + " が型に収まりません");
}

// The reader refuses what nests deeper than this, so the writer does too.
void checkDepth(int depth) {
    if (depth > FormReader::maxDepth)
        Output::fail("入れ子が深すぎます");
}

void writeList(Output& out, const FormValue& v, int depth) {
    for (const FormValue& item : v.list) {
        // A null inside a list would read as its end.
        if (item.type == FormValue::Type::Null)
            Output::fail("リストに空の値があります");
        writeValue(out, item, depth + 1);
    }
    out.byte(0);
}

// The bits kept by the reader win as long as the value was not changed
// since; otherwise the value is rounded to a float.
void writeSingle(Output& out, const FormValue& v) {
    std::uint32_t kept = 0;
    for (int i = 0; i < 4; ++i)
        kept |= static_cast<std::uint32_t>(v.extended[i]) << (8 * i);
    const double widened = std::bit_cast<float>(kept);
    const bool unchanged = std::bit_cast<std::uint64_t>(widened) == std::bit_cast<std::uint64_t>(v.real);
    out.little(unchanged ? kept : std::bit_cast<std::uint32_t>(static_cast<float>(v.real)));
}

void writeSet(Output& out, const FormValue& v) {
    for (const std::string& member : v.set) {
        // An empty member would read as the end of the set.
        if (member.empty())
            Output::fail("集合に空の要素があります");
        out.shortString(member, "集合の要素");
    }
    out.byte(0);
}

void writeCollection(Output& out, const FormValue& v, int depth) {
    using T = FormValue::Type;
    for (const FormValue::Item& item : v.items) {
        if (item.index.size() > 1)
            Output::fail("コレクションの項目に添字が複数あります");
        if (!item.index.empty()) {
            const FormValue& index = item.index.front();
            if (index.type != T::Int8 && index.type != T::Int16 && index.type != T::Int32)
                Output::fail("コレクションの添字が整数ではありません");
            writeValue(out, index, depth + 1);
        }
        out.byte(static_cast<std::uint8_t>(T::List));
        writeProperties(out, item.properties, depth + 1);
    }
    out.byte(0);
}

void writeValue(Output& out, const FormValue& v, int depth) {
    using T = FormValue::Type;
    checkDepth(depth);
    out.byte(static_cast<std::uint8_t>(v.type));
    switch (v.type) {
    case T::Null:
    case T::False:
    case T::True:
    case T::Nil:
        break;
    case T::List:
        writeList(out, v, depth);
        break;
    case T::Int8:
        checkRange(v, INT8_MIN, INT8_MAX);
        out.little(static_cast<std::int8_t>(v.integer));
        break;
    case T::Int16:
        checkRange(v, INT16_MIN, INT16_MAX);
        out.little(static_cast<std::int16_t>(v.integer));
        break;
    case T::Int32:
        checkRange(v, INT32_MIN, INT32_MAX);
        out.little(static_cast<std::int32_t>(v.integer));
        break;
    case T::Int64:
    case T::Currency:
        out.little(v.integer);
        break;
    case T::Extended:
        out.raw(v.extended.data(), v.extended.size());
        break;
    case T::Single:
        writeSingle(out, v);
        break;
    case T::Date:
        out.little(std::bit_cast<std::uint64_t>(v.real));
        break;
    case T::String:
    case T::Ident:
        out.shortString(v.text, "短い文字列");
        break;
    case T::LString:
    case T::Utf8String:
        out.length(v.text.size());
        out.raw(v.text.data(), v.text.size());
        break;
    case T::WString:
        out.length(v.wide.size());
        for (char16_t c : v.wide)
            out.little(static_cast<std::uint16_t>(c));
        break;
    case T::Binary:
        out.length(v.bytes.size());
        out.raw(v.bytes.data(), v.bytes.size());
        break;
    case T::Set:
        writeSet(out, v);
        break;
    case T::Collection:
        writeCollection(out, v, depth);
        break;
    default:
        Output::fail("不明な値の型 " + std::to_string(static_cast<int>(v.type)));
    }
}

void writeComponent(Output& out, const StoredComponent& c, int depth) {
    checkDepth(depth);
    if (c.hasPrefix) {
        if (c.flags > 0x0F)
            Output::fail("接頭辞のフラグが 4 ビットを超えています");
        out.byte(static_cast<std::uint8_t>(0xF0 | c.flags));
        if (c.flags & StoredComponent::ffChildPos) {
            const auto t = c.childPos.type;
            if (t != FormValue::Type::Int8 && t != FormValue::Type::Int16 && t != FormValue::Type::Int32)
                Output::fail("子の位置が整数ではありません");
            writeValue(out, c.childPos, depth + 1);
        }
    }
    // Without a prefix, a length byte of 0xF0 or more would read as one; 0
    // would read as the end of the list of children.
    if (c.className.empty() || (!c.hasPrefix && c.className.size() >= 0xF0))
        Output::fail("クラス名の長さが不正です");
    out.shortString(c.className, "クラス名");
    out.shortString(c.name, "部品名");
    writeProperties(out, c.properties, depth);
    for (const StoredComponent& child : c.children)
        writeComponent(out, child, depth + 1);
    out.byte(0);
}

} // namespace

std::vector<std::uint8_t> FormWriter::write(const StoredComponent& root) {
    Output out;
    for (char c : {'T', 'P', 'F', '0'})
        out.byte(static_cast<std::uint8_t>(c));
    writeComponent(out, root, 0);
    return std::move(out.bytes);
}

std::vector<std::uint8_t> FormWriter::writeValue(const FormValue& value) {
    Output out;
    ::writeValue(out, value, 0);
    return std::move(out.bytes);
}
