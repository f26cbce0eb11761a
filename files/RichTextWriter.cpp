// SPDX-License-Identifier: GPL-3.0-or-later
#include "RichText.h"
#include "TextCodec.h"

namespace optimara::files {

namespace {

// What the readers and the editor take for the end of a line; every other
// character stays inside it, and is written so that it reads back there.
bool IsLineEnd(char16_t u) {
    return u == u'\r' || u == u'\n' || u == 0x2029;
}

class RtfWriter {
public:
    QByteArray Write(const RichDocument& document) {
        out_ += "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang3082"
                "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n"
                "{\\*\\generator Optimara;}";
        Word("\\viewkind4");
        Word("\\uc1");
        Word("\\pard");
        // Windows controls put the first run's formatting before the font.
        if (!document.empty() && !document.front().underline.empty() &&
            document.front().underline.front()) {
            SetUnderline(true);
        }
        Word("\\f0");
        Word("\\fs20");
        for (const RichParagraph& paragraph : document) {
            const QString& text = paragraph.text;
            for (qsizetype i = 0; i < text.size(); ++i) {
                const auto flag = static_cast<size_t>(i);
                const bool underlined = flag < paragraph.underline.size() && paragraph.underline[flag];
                Unit(text[i].unicode(), underlined);
                // CR LF is one line end, as in a plain-text file.
                if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
            }
            EndParagraph();
        }
        out_ += "}\r\n";
        return std::move(out_);
    }

private:
    void Unit(char16_t u, bool underlined) {
        if (IsLineEnd(u)) {
            EndParagraph();
            return;
        }
        if (u == 0) return;  // no reader keeps a NUL
        if (underlined != underline_) SetUnderline(underlined);
        if (u == u'\t') {
            Word("\\tab");
        } else if (u < 0x20) {
            // Raw control bytes are no text to a reader; escaped they are.
            Hex(u);
        } else if (u == u'\\' || u == u'{' || u == u'}') {
            Symbol(u);
        } else if (u < 0x7F) {
            Literal(static_cast<char>(u));
        } else if (const int byte = Windows1252Byte(u); byte >= 0) {
            Hex(byte);
        } else {
            // Signed 16-bit, as Windows writes it; '?' stands in for readers
            // that do not know \u.
            Word("\\u" + QByteArray::number(u > 0x7FFF ? int(u) - 0x10000 : int(u)));
            delimit_ = false;
            out_ += '?';
        }
    }

    void Hex(int byte) {
        out_ += "\\'";
        out_ += QByteArray::number(byte, 16).rightJustified(2, '0');
        delimit_ = false;
    }

    void SetUnderline(bool on) {
        Word(on ? "\\ul" : "\\ulnone");
        underline_ = on;
    }

    void EndParagraph() {
        Word("\\par");
        out_ += "\r\n";
        delimit_ = false;
    }

    void Word(const QByteArray& word) {
        out_ += word;
        delimit_ = true;
    }

    void Symbol(char16_t u) {
        out_ += '\\';
        out_ += static_cast<char>(u);
        delimit_ = false;
    }

    void Literal(char c) {
        if (delimit_) out_ += ' ';
        out_ += c;
        delimit_ = false;
    }

    QByteArray out_;
    bool underline_ = false;
    bool delimit_ = false;  // the last control word still needs its delimiting space
};

} // namespace

QByteArray WriteRtf(const RichDocument& document) {
    return RtfWriter().Write(document);
}

} // namespace optimara::files
