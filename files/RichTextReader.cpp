// SPDX-License-Identifier: GPL-3.0-or-later
#include <algorithm>
#include <string_view>
#include <unordered_map>

#include "RichText.h"
#include "TextCodec.h"

namespace optimara::files {

RichParagraph RichParagraph::Plain(const QString& text) {
    return RichParagraph{text, std::vector<bool>(static_cast<size_t>(text.size()), false)};
}

RichParagraph RichParagraph::Underlined(const QString& text) {
    return RichParagraph{text, std::vector<bool>(static_cast<size_t>(text.size()), true)};
}

void RichParagraph::Append(QChar unit, bool underlined) {
    text.append(unit);
    underline.push_back(underlined);
}

bool IsRichText(QByteArrayView data) {
    return data.startsWith(QByteArrayView("{\\rtf"));
}

RichDocument ReadRichText(QByteArrayView data) {
    return IsRichText(data) ? ReadRtf(data) : ReadPlainText(data);
}

RichDocument ReadPlainText(QByteArrayView data) {
    const QByteArrayView bom("\xEF\xBB\xBF");
    QString text;
    if (IsValidUtf8(data)) {
        text = QString::fromUtf8(data.startsWith(bom) ? data.sliced(bom.size()) : data);
    } else {
        text = DecodeWindows1252(data);
    }
    RichDocument document;
    document.reserve(static_cast<size_t>(text.count(u'\n') + text.count(u'\r') + 1));
    const auto lineText = [&](qsizetype start, qsizetype end) {
        return text.sliced(start, end - start).remove(QChar(0));
    };
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (c != u'\r' && c != u'\n' && c != QChar::ParagraphSeparator) continue;
        document.push_back(RichParagraph::Plain(lineText(start, i)));
        if (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    if (const QString last = lineText(start, text.size()); !last.isEmpty()) {
        document.push_back(RichParagraph::Plain(last));
    }
    return document;
}

namespace {

enum class Action {
    Ignore, ParagraphEnd, Tab, Character, Unicode, UnicodeSkip,
    Underline, UnderlineOff, Plain, Binary, Destination,
};

struct WordMeaning {
    Action action = Action::Ignore;
    char16_t character = 0;  // for Action::Character
};

WordMeaning Meaning(std::string_view word) {
    static const std::unordered_map<std::string_view, WordMeaning> words = [] {
        std::unordered_map<std::string_view, WordMeaning> m;
        for (auto w : {"par", "line", "sect", "page", "row"}) m[w] = {Action::ParagraphEnd};
        for (auto w : {"tab", "cell"}) m[w] = {Action::Tab};
        m["u"] = {Action::Unicode};
        m["uc"] = {Action::UnicodeSkip};
        // Every kind of underline (single, double, dotted, wave...) is an underline;
        // \ulc only chooses its colour and \ulnone ends it.
        for (auto w : {"ul", "uld", "uldb", "uldash", "uldashd", "uldashdd", "ulhair",
                       "ulhwave", "ulldash", "ulth", "ulthd", "ulthdash", "ulthdashd",
                       "ulthdashdd", "ulthldash", "ululdbwave", "ulw", "ulwave"}) {
            m[w] = {Action::Underline};
        }
        m["ulnone"] = {Action::UnderlineOff};
        m["plain"] = {Action::Plain};
        m["bin"] = {Action::Binary};
        for (auto w : {"fonttbl", "colortbl", "stylesheet", "info", "pict", "object",
                       "objdata", "objclass", "header", "headerl", "headerr", "headerf",
                       "footer", "footerl", "footerr", "footerf", "footnote", "annotation",
                       "atnid", "atnauthor", "atndate", "atnref", "atntime", "atrfstart",
                       "atrfend", "pn", "pntext", "pntxta", "pntxtb", "listtext", "fldinst",
                       "xe", "tc", "txe", "rxe", "filetbl", "revtbl", "rsidtbl", "listtable",
                       "listoverridetable", "themedata", "colorschememapping", "datastore",
                       "latentstyles", "xmlnstbl", "generator", "nonshppict", "shppict",
                       "author", "operator", "title", "subject", "comment", "keywords",
                       "doccomm", "company", "category", "manager", "hlinkbase", "template",
                       "userprops", "docvar", "bkmkstart", "bkmkend", "private", "fchars",
                       "lchars", "pgdsctbl", "mmathPr", "ftnsep", "ftnsepc", "ftncn",
                       "aftnsep", "aftnsepc", "aftncn", "passwordhash", "password",
                       "wgrffmtfilter", "blipuid", "sp", "sn", "sv"}) {
            m[w] = {Action::Destination};
        }
        m["emdash"] = {Action::Character, 0x2014};
        m["endash"] = {Action::Character, 0x2013};
        m["bullet"] = {Action::Character, 0x2022};
        m["lquote"] = {Action::Character, 0x2018};
        m["rquote"] = {Action::Character, 0x2019};
        m["ldblquote"] = {Action::Character, 0x201C};
        m["rdblquote"] = {Action::Character, 0x201D};
        m["emspace"] = {Action::Character, 0x2003};
        m["enspace"] = {Action::Character, 0x2002};
        m["qmspace"] = {Action::Character, 0x2005};
        return m;
    }();
    const auto found = words.find(word);
    return found == words.end() ? WordMeaning{} : found->second;
}

struct GroupState {
    bool underline = false;
    bool skip = false;  // inside a destination whose content is not text
    int uc = 1;         // fallback characters that follow each \uN
    friend bool operator==(const GroupState&, const GroupState&) = default;
};

// The saved states of the enclosing groups. Equal neighbours share one
// entry, so a document nesting equal groups a million deep costs nothing.
class GroupStack {
public:
    void Push(const GroupState& state) {
        if (!runs_.empty() && runs_.back().state == state) {
            ++runs_.back().count;
        } else {
            runs_.push_back({state, 1});
        }
        ++depth_;
    }
    GroupState Pop() {
        const GroupState state = runs_.back().state;
        if (--runs_.back().count == 0) runs_.pop_back();
        --depth_;
        return state;
    }
    size_t Depth() const { return depth_; }

private:
    struct Run {
        GroupState state;
        size_t count;
    };
    std::vector<Run> runs_;
    size_t depth_ = 0;
};

bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

int HexValue(char c) {
    if (IsDigit(c)) return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Reads one document in a single forward pass; no recursion, every index
// checked against the end of the data.
class RtfReader {
public:
    explicit RtfReader(QByteArrayView data) : data_(data) {}

    RichDocument Read() {
        while (pos_ < data_.size() && !finished_) Step();
        if (!current_.text.isEmpty()) EndParagraph();
        return std::move(document_);
    }

private:
    void Step() {
        const char c = data_[pos_];
        if (c == '{') {
            ++pos_;
            pendingSkip_ = 0;
            stack_.Push(state_);
        } else if (c == '}') {
            ++pos_;
            pendingSkip_ = 0;
            if (stack_.Depth() > 0) state_ = stack_.Pop();
            // The brace that closes the outermost group ends the document.
            if (stack_.Depth() == 0) finished_ = true;
        } else if (c == '\\') {
            ++pos_;
            ControlSequence();
        } else {
            ++pos_;
            const auto byte = static_cast<unsigned char>(c);
            // Line breaks only keep the stream's lines short; they and the other
            // control bytes are no text.
            if (byte == '\t') {
                Text(u'\t');
            } else if (byte >= 0x20) {
                Text(Windows1252Char(byte));
            }
        }
    }

    void ControlSequence() {
        if (pos_ >= data_.size()) return;
        const char c = data_[pos_];
        if (IsLetter(c)) {
            ControlWord();
            return;
        }
        ++pos_;
        switch (c) {
        case '\\': case '{': case '}': Text(QChar(c)); break;
        case '\'': HexCharacter(); break;
        case '~': Text(QChar(0x00A0)); break;
        case '_': Text(QChar(0x2011)); break;
        case '*': state_.skip = true; break;  // a destination we need not know
        case '\r': case '\n':
            if (!state_.skip && !SwallowedByFallback()) EndParagraph();
            break;
        default:  // \- optional hyphen, \| \: and unknown symbols
            if (!state_.skip) SwallowedByFallback();
            break;
        }
    }

    // \'hh; a lone hex digit is dropped with its escape, anything else
    // after the escape is read as text.
    void HexCharacter() {
        int value = 0, digits = 0;
        while (digits < 2 && pos_ < data_.size() && HexValue(data_[pos_]) >= 0) {
            value = value * 16 + HexValue(data_[pos_++]);
            ++digits;
        }
        if (digits == 2) Text(Windows1252Char(static_cast<unsigned char>(value)));
    }

    void ControlWord() {
        const qsizetype start = pos_;
        while (pos_ < data_.size() && IsLetter(data_[pos_])) ++pos_;
        const std::string_view word(data_.data() + start, static_cast<size_t>(pos_ - start));
        bool negative = false;
        if (pos_ + 1 < data_.size() && data_[pos_] == '-' && IsDigit(data_[pos_ + 1])) {
            negative = true;
            ++pos_;
        }
        bool hasParameter = false;
        long long parameter = 0;
        constexpr long long kLimit = 1'000'000'000'000LL;  // saturate instead of overflowing
        while (pos_ < data_.size() && IsDigit(data_[pos_])) {
            hasParameter = true;
            parameter = std::min(kLimit, parameter * 10 + (data_[pos_] - '0'));
            ++pos_;
        }
        if (negative) parameter = -parameter;
        if (pos_ < data_.size() && data_[pos_] == ' ') ++pos_;  // the delimiter belongs to the word
        Apply(Meaning(word), hasParameter, parameter);
    }

    void Apply(const WordMeaning& meaning, bool hasParameter, long long parameter) {
        if (meaning.action == Action::Binary) {
            // Binary data is skipped wherever it stands; it never holds text.
            const long long rest = data_.size() - pos_;
            pos_ += static_cast<qsizetype>(std::clamp(parameter, 0LL, rest));
            if (!state_.skip) SwallowedByFallback();
            return;
        }
        if (state_.skip || SwallowedByFallback()) return;
        switch (meaning.action) {
        case Action::Destination: state_.skip = true; break;
        case Action::ParagraphEnd: EndParagraph(); break;
        case Action::Tab: Emit(u'\t'); break;
        case Action::Character: Emit(QChar(meaning.character)); break;
        case Action::Unicode:
            if (!hasParameter) break;
            Emit(QChar(static_cast<char16_t>(((parameter % 65536) + 65536) % 65536)));
            pendingSkip_ = state_.uc;
            break;
        case Action::UnicodeSkip:
            if (hasParameter) state_.uc = static_cast<int>(std::clamp(parameter, 0LL, 65535LL));
            break;
        case Action::Underline: state_.underline = !hasParameter || parameter != 0; break;
        case Action::UnderlineOff:
        case Action::Plain: state_.underline = false; break;
        default: break;
        }
    }

    // The characters after \uN that stand in for it in older readers; any
    // character, symbol or control word counts as one, a brace ends them.
    bool SwallowedByFallback() {
        if (pendingSkip_ == 0) return false;
        --pendingSkip_;
        return true;
    }

    void Text(QChar c) {
        if (state_.skip || SwallowedByFallback()) return;
        Emit(c);
    }

    void Emit(QChar c) {
        if (c.isNull()) return;
        // An escaped line end ends the line, as it would in the editor.
        if (c == u'\r' || c == u'\n' || c == QChar::ParagraphSeparator) {
            EndParagraph();
            return;
        }
        current_.Append(c, state_.underline);
    }

    void EndParagraph() {
        document_.push_back(std::move(current_));
        current_ = RichParagraph{};
    }

    QByteArrayView data_;
    qsizetype pos_ = 0;
    bool finished_ = false;
    GroupState state_;
    GroupStack stack_;
    int pendingSkip_ = 0;
    RichParagraph current_;
    RichDocument document_;
};

} // namespace

RichDocument ReadRtf(QByteArrayView data) {
    return RtfReader(data).Read();
}

} // namespace optimara::files
