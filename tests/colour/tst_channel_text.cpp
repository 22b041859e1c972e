#include <QtTest>

#include <cstdint>
#include <limits>

#include "colour/channel_text.h"

using colour::FromDecimal;
using colour::FromHex;
using colour::ToDecimal;
using colour::ToHex;

namespace {

constexpr std::int32_t kInt32Min = std::numeric_limits<std::int32_t>::min();
constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();

std::string_view View(const QByteArray& text)
{
    return {text.constData(), static_cast<std::size_t>(text.size())};
}

// A parser result against the expectation of one row: `isNumber` false means
// the text must be refused, whatever `value` says.
void CheckParsed(std::optional<std::int32_t> got, bool isNumber, std::int32_t value)
{
    QCOMPARE(got.has_value(), isNumber);
    if (isNumber)
        QCOMPARE(*got, value);
}

} // namespace

class tst_ChannelText : public QObject {
    Q_OBJECT

private slots:
    void toHex_data();
    void toHex();
    void fromHex_data();
    void fromHex();
    void toDecimal_data();
    void toDecimal();
    void fromDecimal_data();
    void fromDecimal();
    void channelValuesSurviveTheRoundTrip();
};

void tst_ChannelText::toHex_data()
{
    QTest::addColumn<std::int32_t>("value");
    QTest::addColumn<std::int16_t>("digits");
    QTest::addColumn<QByteArray>("expected");

    const auto row
        = [](const char* name, std::int32_t value, std::int16_t digits, const char* text) {
              QTest::newRow(name) << value << digits << QByteArray(text);
          };
    row("short value is padded", 5, 2, "05");
    row("zero", 0, 2, "00");
    row("one digit", 15, 2, "0F");
    row("full channel", 255, 2, "FF");
    row("overflow keeps the low digits", 256, 2, "00");
    row("three digits lose the leading one", 4095, 2, "FF");
    row("negative is two's complement", -1, 2, "FF");
    row("negative in eight digits", -1, 8, "FFFFFFFF");
    row("negative padded beyond eight", -1, 10, "00FFFFFFFF");
    row("most negative", kInt32Min, 8, "80000000");
    row("packed colour", 65280, 6, "00FF00");
    row("letters are upper case", 0xABCDEF, 6, "ABCDEF");
    row("no digits", 7, 0, "");
}

void tst_ChannelText::toHex()
{
    QFETCH(std::int32_t, value);
    QFETCH(std::int16_t, digits);
    QFETCH(QByteArray, expected);

    QCOMPARE(QByteArray::fromStdString(ToHex(value, digits)), expected);
}

void tst_ChannelText::fromHex_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<std::int32_t>("value");

    const auto number = [](const char* name, const char* text, std::int32_t value) {
        QTest::newRow(name) << QByteArray(text) << true << value;
    };
    const auto refused = [](const char* name, const char* text) {
        QTest::newRow(name) << QByteArray(text) << false << 0;
    };
    number("empty reads as zero", "", 0);
    number("zero", "0", 0);
    number("mixed case", "fF", 255);
    number("lower case", "ff", 255);
    number("leading zero", "0C", 12);
    number("single digit", "C", 12);
    number("three digits", "FFF", 4095);
    number("largest positive", "7FFFFFFF", kInt32Max);
    number("top bit set is negative", "80000000", kInt32Min);
    number("eight F digits", "FFFFFFFF", -1);
    refused("not a hex digit", "G");
    refused("letter after digits", "1G");
    refused("nine digits", "123456789");
    refused("nine digits even with a leading zero", "0FFFFFFFF");
    refused("C prefix", "0x1F");
    refused("sign", "-1");
    refused("plus sign", "+1");
    refused("leading blank", " 1");
    refused("trailing blank", "1 ");
    refused("blank only", " ");
}

void tst_ChannelText::fromHex()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, isNumber);
    QFETCH(std::int32_t, value);

    CheckParsed(FromHex(View(text)), isNumber, value);
}

void tst_ChannelText::toDecimal_data()
{
    QTest::addColumn<std::int32_t>("value");
    QTest::addColumn<QByteArray>("expected");

    QTest::newRow("zero has no sign") << 0 << QByteArray("0");
    QTest::newRow("one digit") << 7 << QByteArray("7");
    QTest::newRow("hue maximum") << 359 << QByteArray("359");
    QTest::newRow("negative") << -5 << QByteArray("-5");
    QTest::newRow("no digit grouping") << kInt32Max << QByteArray("2147483647");
    QTest::newRow("most negative") << kInt32Min << QByteArray("-2147483648");
}

void tst_ChannelText::toDecimal()
{
    QFETCH(std::int32_t, value);
    QFETCH(QByteArray, expected);

    QCOMPARE(QByteArray::fromStdString(ToDecimal(value)), expected);
}

void tst_ChannelText::fromDecimal_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<bool>("isNumber");
    QTest::addColumn<std::int32_t>("value");

    const auto number = [](const char* name, const char* text, std::int32_t value) {
        QTest::newRow(name) << QByteArray(text) << true << value;
    };
    const auto refused = [](const char* name, const char* text) {
        QTest::newRow(name) << QByteArray(text) << false << 0;
    };
    number("leading zero", "012", 12);
    number("all zeros", "000", 0);
    number("largest typed", "999", 999);
    number("blanks around", " 12 ", 12);
    number("tabs around", "\t7\t", 7);
    number("minus", "-5", -5);
    number("plus", "+7", 7);
    number("minus zero", "-0", 0);
    number("many leading zeros", "000000000000000000012", 12);
    number("largest int32", "2147483647", kInt32Max);
    number("smallest int32", "-2147483648", kInt32Min);
    refused("empty", "");
    refused("blanks only", " \t ");
    refused("sign only", "-");
    refused("exponent", "1e2");
    refused("letters", "abc");
    refused("letter after digits", "12a");
    refused("decimal point", "2.5");
    refused("blank inside", "1 2");
    refused("blank after the sign", "- 5");
    refused("two signs", "+-5");
    refused("hex prefix", "0x1F");
    refused("one past int32", "2147483648");
    refused("one below int32", "-2147483649");
    refused("far beyond int64", "99999999999999999999");
}

void tst_ChannelText::fromDecimal()
{
    QFETCH(QByteArray, text);
    QFETCH(bool, isNumber);
    QFETCH(std::int32_t, value);

    CheckParsed(FromDecimal(View(text)), isNumber, value);
}

void tst_ChannelText::channelValuesSurviveTheRoundTrip()
{
    for (std::int32_t v = 0; v <= 255; ++v) {
        // -1 is never a channel value, so a refusal cannot pass.
        QCOMPARE(FromHex(ToHex(v, 2)).value_or(-1), v);
        QCOMPARE(FromDecimal(ToDecimal(v)).value_or(-1), v);
    }
}

QTEST_APPLESS_MAIN(tst_ChannelText)
#include "tst_channel_text.moc"
