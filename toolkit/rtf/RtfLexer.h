#pragma once

#include <QByteArrayView>
#include <QtGlobal>
#include <string_view>

namespace toolkit {

// Splits RTF bytes into tokens, one at a time, without allocating. Whatever the bytes, every
// call consumes at least one byte or returns End, so a loop over next() always terminates.
class RtfLexer {
public:
    enum class Kind {
        End,
        GroupOpen,
        GroupClose,
        Word, // a control word: name (at most kMaxWordLength letters) and optional parameter
        Symbol, // a control symbol such as \~ or \{: the character is in `symbol`
        Hex, // \'hh: the byte is in `byte`
        Text, // a run of plain bytes, never containing \ { } CR or LF
        Binary, // \binN: its data were skipped
    };

    struct Token {
        Kind kind = Kind::End;
        std::string_view text; // Word: the name; Text: the bytes
        bool hasParameter = false;
        qint32 parameter = 0;
        char symbol = 0;
        unsigned char byte = 0;
    };

    static constexpr int kMaxWordLength = 32;

    explicit RtfLexer(QByteArrayView input);

    Token next();
    qsizetype position() const { return m_pos; }

private:
    Token readControl();
    Token readWord();
    Token readHex();

    const char* m_data;
    qsizetype m_size;
    qsizetype m_pos = 0;
};

} // namespace toolkit
