#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <limits>
#include <random>

#include "FormReader.h"
#include "FormWriter.h"
#include "KuvitoError.h"

namespace {

using T = FormValue::Type;

FormValue typed(T type) {
    FormValue v;
    v.type = type;
    return v;
}
FormValue integer(T type, std::int64_t i) {
    FormValue v = typed(type);
    v.integer = i;
    return v;
}
FormValue text(T type, std::string s) {
    FormValue v = typed(type);
    v.text = std::move(s);
    return v;
}
FormValue real(T type, double d) {
    FormValue v = typed(type);
    v.real = d;
    return v;
}

struct ValueCase {
    const char* label;
    FormValue value;
};

std::vector<ValueCase> everyValueType() {
    FormValue ext = typed(T::Extended);
    for (int i = 0; i < 10; ++i)
        ext.extended[i] = static_cast<std::uint8_t>(0xA0 + i);
    FormValue wide = typed(T::WString);
    wide.wide = u"走れ\U0001F600";
    FormValue set = typed(T::Set);
    set.set = {"fsBold", "fsItalic"};
    FormValue list = typed(T::List);
    list.list = {FormValue::fromInt(1), FormValue::fromString("two"), FormValue::fromBool(true)};
    FormValue nested = typed(T::List);
    nested.list = {list, typed(T::Nil)};
    FormValue collection = typed(T::Collection);
    FormValue::Item first;
    first.properties = {{"Caption", FormValue::fromString("a")}, {"Width", FormValue::fromInt(300)}};
    FormValue::Item second;
    second.index = {FormValue::fromInt(7)};
    second.properties = {{"Visible", FormValue::fromBool(false)}};
    collection.items = {first, second, FormValue::Item{}};
    return {
        {"null", typed(T::Null)},
        {"empty list", typed(T::List)},
        {"list", list},
        {"nested list", nested},
        {"int8 min", integer(T::Int8, -128)},
        {"int8 max", integer(T::Int8, 127)},
        {"int16", integer(T::Int16, -32768)},
        {"int32", integer(T::Int32, std::numeric_limits<std::int32_t>::min())},
        {"int64", integer(T::Int64, std::numeric_limits<std::int64_t>::max())},
        {"extended", ext},
        {"short string", text(T::String, "走れクヴィトくん")},
        {"empty string", text(T::String, "")},
        {"ident", text(T::Ident, "crHandPoint")},
        {"false", typed(T::False)},
        {"true", typed(T::True)},
        {"binary", FormValue::fromBinary({0, 1, 2, 0xFF, 0})},
        {"empty binary", FormValue::fromBinary({})},
        {"set", set},
        {"empty set", typed(T::Set)},
        {"long string", text(T::LString, std::string(300, 'x'))},
        {"nil", typed(T::Nil)},
        {"collection", collection},
        {"single", real(T::Single, 1.5)},
        {"single nan", real(T::Single, std::numeric_limits<float>::quiet_NaN())},
        {"currency", integer(T::Currency, -12345678)},
        {"date", real(T::Date, 45000.25)},
        {"wide string", wide},
        {"utf8 string", text(T::Utf8String, "ｷｬﾝｾﾙ(&C)")},
    };
}

StoredComponent sampleTree(const FormValue& value) {
    StoredComponent root;
    root.className = "TFrmMain";
    root.name = "FrmMain";
    root.properties = {{"Left", FormValue::fromInt(213)}, {"Value", value}};
    StoredComponent child;
    child.className = "TTimer";
    child.name = "Timer1";
    child.properties = {{"Interval", FormValue::fromInt(200)},
                        {"OnTimer", FormValue::fromIdent("Timer1Timer")}};
    StoredComponent inherited;
    inherited.hasPrefix = true;
    inherited.flags = StoredComponent::ffInherited | StoredComponent::ffChildPos;
    inherited.childPos = FormValue::fromInt(3);
    inherited.className = "TMenuItem";
    inherited.name = "N1";
    StoredComponent menu;
    menu.className = "TPopupMenu";
    menu.name = "PopupMenu1";
    menu.children = {inherited};
    root.children = {child, menu};
    return root;
}

std::vector<std::uint8_t> validLayout() {
    return FormWriter::write(sampleTree(everyValueType()[2].value));
}

} // namespace

TEST(FormStream, EveryValueTypeRoundTripsByteForByte) {
    for (const ValueCase& c : everyValueType()) {
        SCOPED_TRACE(c.label);
        const StoredComponent tree = sampleTree(c.value);
        const std::vector<std::uint8_t> bytes = FormWriter::write(tree);
        const StoredComponent back = FormReader::read(bytes);
        EXPECT_EQ(back, tree);
        EXPECT_EQ(FormWriter::write(back), bytes);
    }
}

TEST(FormStream, KnownEncodings) {
    struct Case {
        const char* label;
        FormValue value;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"int 5 is int8", FormValue::fromInt(5), {2, 5}},
        {"int 200 is int16", FormValue::fromInt(200), {3, 200, 0}},
        {"int -129 is int16", FormValue::fromInt(-129), {3, 0x7F, 0xFF}},
        {"int 70000 is int32", FormValue::fromInt(70000), {4, 0x70, 0x11, 0x01, 0}},
        {"int 2^31 is int64", FormValue::fromInt(2147483648LL), {19, 0, 0, 0, 0x80, 0, 0, 0, 0}},
        {"true", FormValue::fromBool(true), {9}},
        {"false", FormValue::fromBool(false), {8}},
        {"string", FormValue::fromString("ab"), {6, 2, 'a', 'b'}},
        {"binary", FormValue::fromBinary({7, 8}), {10, 2, 0, 0, 0, 7, 8}},
        {"ident", FormValue::fromIdent("x"), {7, 1, 'x'}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(FormWriter::writeValue(c.value), c.bytes);
    }
    EXPECT_EQ(FormValue::fromString(std::string(256, 'a')).type, T::LString);
}

TEST(FormStream, ComponentLayoutMatchesTheClassicStream) {
    StoredComponent root;
    root.className = "TF";
    root.name = "F";
    root.properties = {{"Tag", FormValue::fromInt(1)}};
    const std::vector<std::uint8_t> expected = {'T', 'P', 'F', '0', 2, 'T', 'F', 1, 'F',
                                                3,   'T', 'a', 'g', 2, 1,   0,   0};
    EXPECT_EQ(FormWriter::write(root), expected);
}

TEST(FormStream, TruncationAtEveryOffsetIsAnError) {
    const std::vector<std::uint8_t> bytes = validLayout();
    ASSERT_NO_THROW(FormReader::read(bytes));
    for (std::size_t n = 0; n < bytes.size(); ++n) {
        // A copy of exactly n bytes, so that the address sanitizer sees any
        // read past the end.
        std::vector<std::uint8_t> cut(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(n));
        EXPECT_THROW(FormReader::read(cut), KuvitoError) << "at " << n;
    }
}

TEST(FormStream, RandomCorruptionNeverCrashes) {
    const std::vector<std::uint8_t> bytes = validLayout();
    std::mt19937 random(20261209);
    int accepted = 0, refused = 0;
    for (int round = 0; round < 4000; ++round) {
        std::vector<std::uint8_t> bad = bytes;
        const int flips = 1 + static_cast<int>(random() % 4);
        for (int i = 0; i < flips; ++i)
            bad[random() % bad.size()] = static_cast<std::uint8_t>(random());
        try {
            const StoredComponent tree = FormReader::read(bad);
            // Whatever is accepted must write back as it was read.
            EXPECT_EQ(FormWriter::write(tree), bad);
            ++accepted;
        } catch (const KuvitoError&) {
            ++refused;
        }
    }
    EXPECT_GT(refused, 0);
    EXPECT_GT(accepted, 0) << "no corruption was accepted, so the write-back check never ran";
}

TEST(FormStream, MalformedInputsAreRefusedWithAMessage) {
    auto header = [](std::vector<std::uint8_t> body) {
        // Built in place: GCC 12 at -O3 takes an insert into a four-byte
        // vector for an overflow (-Warray-bounds), which it is not.
        std::vector<std::uint8_t> b(4 + body.size());
        std::copy(body.begin(), body.end(), std::copy_n("TPF0", 4, b.begin()));
        return b;
    };
    // A component "TX X" with one property "P" whose value is `value`.
    auto withValue = [&](std::vector<std::uint8_t> value) {
        std::vector<std::uint8_t> b = {2, 'T', 'X', 1, 'X', 1, 'P'};
        b.insert(b.end(), value.begin(), value.end());
        b.push_back(0);
        b.push_back(0);
        return header(b);
    };
    struct Case {
        const char* label;
        std::vector<std::uint8_t> bytes;
    };
    const Case cases[] = {
        {"empty", {}},
        {"wrong signature", {'T', 'P', 'F', '1', 2, 'T', 'X', 0, 0, 0}},
        {"empty class name", header({0, 0, 0, 0})},
        {"unknown value type", withValue({21})},
        {"binary length beyond the data", withValue({10, 0xFF, 0xFF, 0xFF, 0x7F, 1, 2})},
        {"long string length beyond the data", withValue({12, 0, 0, 0, 0x80})},
        {"wide string count beyond the data", withValue({18, 5, 0, 0, 0, 'a', 0})},
        {"collection item not a list", withValue({14, 2, 1, 6, 0, 0})},
        {"child position not an integer", header({0xF2, 8, 2, 'T', 'X', 0, 0, 0})},
        {"trailing bytes", header({2, 'T', 'X', 0, 0, 0, 0x55})},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        try {
            FormReader::read(c.bytes);
            ADD_FAILURE() << "accepted";
        } catch (const KuvitoError& e) {
            EXPECT_NE(std::strlen(e.what()), 0u);
        }
    }
}

TEST(FormStream, DeepNestingIsRefusedNotOverflowed) {
    // A list nested a million deep in a few megabytes: refused early.
    std::vector<std::uint8_t> bytes = {'T', 'P', 'F', '0', 2, 'T', 'X', 0, 1, 'P'};
    bytes.insert(bytes.end(), 1000000, 1);
    EXPECT_THROW(FormReader::read(bytes), KuvitoError);

    std::vector<std::uint8_t> components = {'T', 'P', 'F', '0'};
    for (int i = 0; i < 100000; ++i)
        components.insert(components.end(), {1, 'T', 0, 0});
    EXPECT_THROW(FormReader::read(components), KuvitoError);
}

TEST(FormStream, NestingUpToTheLimitReadsBack) {
    FormValue v = FormValue::fromInt(1);
    for (int i = 0; i < FormReader::maxDepth - 1; ++i) {
        FormValue outer = typed(T::List);
        outer.list = {v};
        v = outer;
    }
    const auto bytes = FormWriter::write(sampleTree(v));
    EXPECT_EQ(FormReader::read(bytes), sampleTree(v));
    FormValue deeper = typed(T::List);
    deeper.list = {v};
    EXPECT_THROW(FormWriter::write(sampleTree(deeper)), KuvitoError);
}

TEST(FormStream, WriterRefusesWhatWouldReadBackDifferently) {
    struct Case {
        const char* label;
        FormValue value;
    };
    FormValue nullInList = typed(T::List);
    nullInList.list = {typed(T::Null)};
    FormValue emptyMember = typed(T::Set);
    emptyMember.set = {""};
    FormValue badIndex = typed(T::Collection);
    FormValue::Item item;
    item.index = {FormValue::fromString("x")};
    badIndex.items = {item};
    const Case cases[] = {
        {"int8 out of range", integer(T::Int8, 128)},
        {"int16 out of range", integer(T::Int16, 40000)},
        {"short string over 255 bytes", text(T::String, std::string(256, 'a'))},
        {"null inside a list", nullInList},
        {"empty set member", emptyMember},
        {"collection index not an integer", badIndex},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_THROW(FormWriter::write(sampleTree(c.value)), KuvitoError);
    }
    StoredComponent prefixLike = sampleTree(FormValue::fromInt(1));
    prefixLike.className = std::string(0xF0, 'T');
    EXPECT_THROW(FormWriter::write(prefixLike), KuvitoError);
    // After a prefix byte the same name is unambiguous.
    prefixLike.hasPrefix = true;
    EXPECT_EQ(FormReader::read(FormWriter::write(prefixLike)), prefixLike);
    StoredComponent noProperty = sampleTree(FormValue::fromInt(1));
    noProperty.properties.emplace_back("", FormValue::fromInt(1));
    EXPECT_THROW(FormWriter::write(noProperty), KuvitoError);
}

TEST(FormStream, ValueConversions) {
    FormValue w = typed(T::WString);
    w.wide = u"ｷｬﾝｾﾙ\U0001F600";
    EXPECT_EQ(w.asString(), "ｷｬﾝｾﾙ\U0001F600");
    EXPECT_EQ(FormValue::fromInt(-3).asInt(), -3);
    EXPECT_TRUE(FormValue::fromBool(true).asBool());
    EXPECT_THROW(FormValue::fromString("1").asInt(), KuvitoError);
    EXPECT_THROW(FormValue::fromInt(1).asBool(), KuvitoError);
    EXPECT_THROW(FormValue::fromInt(1).asString(), KuvitoError);
}
