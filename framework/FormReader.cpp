#include "FormReader.h"

#include <bit>
#include <cstring>
#include <string>

#include "KuvitoError.h"

namespace {

// A cursor over the input that never reads past its end: every read checks
// what is left first, and every length taken from the data is compared with
// what is left before anything of that size is allocated.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    std::size_t left() const { return size_ - pos_; }
    std::size_t pos() const { return pos_; }
    bool atEnd() const { return pos_ == size_; }

    [[noreturn]] void fail(const std::string& what) const {
        throw KuvitoError("フォームデータが壊れています（" + std::to_string(pos_) + " バイト目: " + what +
                          "）");
    }

    void need(std::size_t n) const {
        if (n > left())
            fail("データが途中で終わっています");
    }
    std::uint8_t peek() const {
        need(1);
        return data_[pos_];
    }
    std::uint8_t byte() {
        need(1);
        return data_[pos_++];
    }
    void raw(void* out, std::size_t n) {
        need(n);
        if (n > 0)
            std::memcpy(out, data_ + pos_, n);
        pos_ += n;
    }
    template <typename T> T little() {
        std::uint8_t b[sizeof(T)];
        raw(b, sizeof(T));
        std::make_unsigned_t<T> v = 0;
        for (std::size_t i = sizeof(T); i-- > 0;)
            v = static_cast<std::make_unsigned_t<T>>((v << 8) | b[i]);
        return static_cast<T>(v);
    }
    // A 32-bit length followed by that many units of unitSize bytes.
    std::uint32_t length(std::size_t unitSize) {
        const std::uint32_t n = little<std::uint32_t>();
        if (static_cast<std::uint64_t>(n) * unitSize > left())
            fail("長さ " + std::to_string(n) + " が残りのデータを超えています");
        return n;
    }
    std::string shortString() {
        const std::size_t n = byte();
        std::string s(n, '\0');
        raw(s.data(), n);
        return s;
    }
    std::string bytesAsString(std::size_t n) {
        std::string s(n, '\0');
        raw(s.data(), n);
        return s;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

class Parser {
public:
    explicit Parser(Input& in) : in_(in) {}

    StoredComponent component(int depth) {
        enter(depth);
        StoredComponent c;
        if ((in_.peek() & 0xF0) == 0xF0) {
            c.hasPrefix = true;
            c.flags = in_.byte() & 0x0F;
            if (c.flags & StoredComponent::ffChildPos) {
                c.childPos = value(depth + 1);
                if (!c.childPos.isInteger() || c.childPos.type == FormValue::Type::Int64)
                    in_.fail("子の位置が整数ではありません");
            }
        }
        c.className = in_.shortString();
        if (c.className.empty())
            in_.fail("クラス名が空です");
        c.name = in_.shortString();
        c.properties = properties(depth);
        while (in_.peek() != 0)
            c.children.push_back(component(depth + 1));
        in_.byte();
        return c;
    }

private:
    void enter(int depth) const {
        if (depth > FormReader::maxDepth)
            in_.fail("入れ子が深すぎます");
    }

    // Named values up to the end-of-list byte, which is consumed.
    std::vector<std::pair<std::string, FormValue>> properties(int depth) {
        std::vector<std::pair<std::string, FormValue>> props;
        while (in_.peek() != 0) {
            std::string name = in_.shortString();
            FormValue v = value(depth + 1);
            props.emplace_back(std::move(name), std::move(v));
        }
        in_.byte();
        return props;
    }

    FormValue value(int depth) {
        enter(depth);
        using T = FormValue::Type;
        FormValue v;
        const std::uint8_t code = in_.byte();
        if (code > static_cast<std::uint8_t>(T::Utf8String))
            in_.fail("不明な値の型 " + std::to_string(code));
        v.type = static_cast<T>(code);
        switch (v.type) {
        case T::Null:
        case T::False:
        case T::True:
        case T::Nil:
            break;
        case T::List:
            readList(v, depth);
            break;
        case T::Int8:
            v.integer = in_.little<std::int8_t>();
            break;
        case T::Int16:
            v.integer = in_.little<std::int16_t>();
            break;
        case T::Int32:
            v.integer = in_.little<std::int32_t>();
            break;
        case T::Int64:
        case T::Currency:
            v.integer = in_.little<std::int64_t>();
            break;
        case T::Extended:
            in_.raw(v.extended.data(), v.extended.size());
            break;
        case T::Single:
            readSingle(v);
            break;
        case T::Date:
            v.real = std::bit_cast<double>(in_.little<std::uint64_t>());
            break;
        case T::String:
        case T::Ident:
            v.text = in_.shortString();
            break;
        case T::LString:
        case T::Utf8String:
            v.text = in_.bytesAsString(in_.length(1));
            break;
        case T::WString:
            readWideString(v);
            break;
        case T::Binary:
            readBinary(v);
            break;
        case T::Set:
            readSet(v);
            break;
        case T::Collection:
            readCollection(v, depth);
            break;
        }
        return v;
    }

    // Values up to the end-of-list byte, which is consumed.
    void readList(FormValue& v, int depth) {
        while (in_.peek() != 0)
            v.list.push_back(value(depth + 1));
        in_.byte();
    }

    // The raw bits are kept beside the value so that any float, NaN payloads
    // included, is written back as it was read.
    void readSingle(FormValue& v) {
        const auto bits = in_.little<std::uint32_t>();
        for (int i = 0; i < 4; ++i)
            v.extended[i] = static_cast<std::uint8_t>(bits >> (8 * i));
        v.real = std::bit_cast<float>(bits);
    }

    void readWideString(FormValue& v) {
        const std::uint32_t n = in_.length(2);
        v.wide.resize(n);
        for (std::uint32_t i = 0; i < n; ++i)
            v.wide[i] = static_cast<char16_t>(in_.little<std::uint16_t>());
    }

    void readBinary(FormValue& v) {
        const std::uint32_t n = in_.length(1);
        v.bytes.resize(n);
        in_.raw(v.bytes.data(), n);
    }

    // Member names up to an empty one.
    void readSet(FormValue& v) {
        for (;;) {
            std::string member = in_.shortString();
            if (member.empty())
                break;
            v.set.push_back(std::move(member));
        }
    }

    // Items, each an optional integer index and a list of named values, up
    // to the end-of-list byte.
    void readCollection(FormValue& v, int depth) {
        using T = FormValue::Type;
        while (in_.peek() != 0) {
            FormValue::Item item;
            const auto next = static_cast<T>(in_.peek());
            if (next == T::Int8 || next == T::Int16 || next == T::Int32)
                item.index.push_back(value(depth + 1));
            if (in_.byte() != static_cast<std::uint8_t>(T::List))
                in_.fail("コレクションの項目がリストではありません");
            item.properties = properties(depth + 1);
            v.items.push_back(std::move(item));
        }
        in_.byte();
    }

    Input& in_;
};

} // namespace

StoredComponent FormReader::read(const std::uint8_t* data, std::size_t size) {
    Input in(data, size);
    char signature[4];
    if (size < 4)
        in.fail("データが途中で終わっています");
    in.raw(signature, 4);
    if (std::memcmp(signature, "TPF0", 4) != 0)
        throw KuvitoError("フォームデータが壊れています（署名 TPF0 がありません）");
    Parser parser(in);
    StoredComponent root = parser.component(0);
    if (!in.atEnd())
        in.fail("部品の後に余分なデータがあります");
    return root;
}
