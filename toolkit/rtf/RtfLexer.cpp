#include "toolkit/rtf/RtfLexer.h"

#include <algorithm>
#include <limits>

namespace toolkit {

namespace {

    bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
    bool isDigit(char c) { return c >= '0' && c <= '9'; }

    int hexValue(char c)
    {
        if (isDigit(c))
            return c - '0';
        if (c >= 'a' && c <= 'f')
            return c - 'a' + 10;
        if (c >= 'A' && c <= 'F')
            return c - 'A' + 10;
        return -1;
    }

    RtfLexer::Token makeToken(RtfLexer::Kind kind)
    {
        RtfLexer::Token token;
        token.kind = kind;
        return token;
    }

    bool endsText(char c) { return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n'; }

} // namespace

RtfLexer::RtfLexer(QByteArrayView input)
    : m_data(input.data())
    , m_size(input.size())
{
}

RtfLexer::Token RtfLexer::next()
{
    while (m_pos < m_size) {
        const char c = m_data[m_pos];
        switch (c) {
        case '{':
            ++m_pos;
            return makeToken(Kind::GroupOpen);
        case '}':
            ++m_pos;
            return makeToken(Kind::GroupClose);
        case '\r':
        case '\n':
            ++m_pos; // line ends carry no meaning in RTF
            continue;
        case '\\': {
            Token token = readControl();
            if (token.kind != Kind::End)
                return token;
            continue; // a malformed escape yields nothing; keep going
        }
        default: {
            const qsizetype start = m_pos;
            while (m_pos < m_size && !endsText(m_data[m_pos]))
                ++m_pos;
            Token token = makeToken(Kind::Text);
            token.text = std::string_view(m_data + start, std::size_t(m_pos - start));
            return token;
        }
        }
    }
    return Token {};
}

// Called on a backslash. Returns a token of kind End when the escape yields nothing.
RtfLexer::Token RtfLexer::readControl()
{
    ++m_pos;
    if (m_pos >= m_size)
        return Token {};
    const char c = m_data[m_pos];
    if (isLetter(c))
        return readWord();
    if (c == '\'')
        return readHex();
    ++m_pos;
    if (c == '\r' || c == '\n') {
        // A backslash before a line end is an old way of writing \par.
        Token token = makeToken(Kind::Word);
        token.text = "par";
        return token;
    }
    Token token = makeToken(Kind::Symbol);
    token.symbol = c;
    return token;
}

RtfLexer::Token RtfLexer::readWord()
{
    const qsizetype start = m_pos;
    while (m_pos < m_size && isLetter(m_data[m_pos]))
        ++m_pos;
    Token token = makeToken(Kind::Word);
    token.text = std::string_view(
        m_data + start, std::size_t(qMin<qsizetype>(m_pos - start, kMaxWordLength)));

    bool negative = false;
    if (m_pos + 1 < m_size && m_data[m_pos] == '-' && isDigit(m_data[m_pos + 1])) {
        negative = true;
        ++m_pos;
    }
    if (m_pos < m_size && isDigit(m_data[m_pos])) {
        // Every digit is consumed so that none leaks into the text; the value saturates.
        constexpr qint64 kLimit = qint64(std::numeric_limits<qint32>::max()) + 1;
        qint64 value = 0;
        while (m_pos < m_size && isDigit(m_data[m_pos])) {
            if (value < kLimit)
                value = value * 10 + (m_data[m_pos] - '0');
            ++m_pos;
        }
        value = qMin(value, kLimit);
        if (negative)
            value = -value;
        token.hasParameter = true;
        token.parameter = qint32(std::clamp<qint64>(
            value, std::numeric_limits<qint32>::min(), std::numeric_limits<qint32>::max()));
    }
    if (m_pos < m_size && m_data[m_pos] == ' ')
        ++m_pos; // the delimiting space belongs to the control word

    if (token.text == "bin") {
        // Raw data follow; their length comes from the parameter but never from beyond the input,
        // and their bytes, braces included, are not read as RTF.
        if (token.hasParameter && token.parameter > 0)
            m_pos += qMin<qsizetype>(token.parameter, m_size - m_pos);
        token.kind = Kind::Binary;
    }
    return token;
}

RtfLexer::Token RtfLexer::readHex()
{
    ++m_pos; // the quote
    int value = 0;
    for (int i = 0; i < 2; ++i) {
        const int digit = m_pos < m_size ? hexValue(m_data[m_pos]) : -1;
        if (digit < 0)
            return Token {}; // truncated or malformed: drop it, keep what follows
        value = value * 16 + digit;
        ++m_pos;
    }
    Token token = makeToken(Kind::Hex);
    token.byte = static_cast<unsigned char>(value);
    return token;
}

} // namespace toolkit
