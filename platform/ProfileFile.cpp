#include "ProfileFile.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <algorithm>
#include <limits>

namespace mirelo {

namespace {

constexpr QByteArrayView Bom("\xEF\xBB\xBF");
constexpr QByteArrayView Utf16LeBom("\xFF\xFE");
constexpr QByteArrayView Utf16BeBom("\xFE\xFF");

// Blanks are what a hand editor leaves around names and values. The carriage
// return counts too, so a stray one before a line end never sticks to a value.
bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\v' || c == '\f';
}

bool IsBlank(QChar c) {
    return c.unicode() < 0x80 && IsBlank(static_cast<char>(c.unicode()));
}

QByteArrayView TrimBlanks(QByteArrayView text) {
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && IsBlank(text[begin])) {
        ++begin;
    }
    while (end > begin && IsBlank(text[end - 1])) {
        --end;
    }
    return text.sliced(begin, end - begin);
}

qsizetype SkipBlanks(QByteArrayView text, qsizetype from) {
    while (from < text.size() && IsBlank(text[from])) {
        ++from;
    }
    return from;
}

// Unlike QString::fromUtf8, keeps a byte-order mark at the start of a value:
// only the one at the start of the file is not text.
QString DecodeUtf8(QByteArrayView utf8) {
    QStringDecoder decoder(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom |
                                                       QStringConverter::Flag::Stateless);
    return decoder.decode(utf8);
}

QStringConverter::Encoding Utf16Form(bool littleEndian) {
    return littleEndian ? QStringConverter::Utf16LE : QStringConverter::Utf16BE;
}

// A mark after the first one is text, as in UTF-8.
QString DecodeUtf16(QByteArrayView bytes, bool littleEndian) {
    QStringDecoder decoder(Utf16Form(littleEndian), QStringConverter::Flag::ConvertInitialBom |
                                                        QStringConverter::Flag::Stateless);
    return decoder.decode(bytes);
}

QByteArray EncodeUtf16(const QString& text, bool littleEndian) {
    QStringEncoder encoder(Utf16Form(littleEndian), QStringConverter::Flag::Stateless);
    return encoder.encode(text);
}

QString Folded(QByteArrayView utf8) {
    return DecodeUtf8(utf8).toCaseFolded();
}

QString Folded(QStringView name) {
    return name.trimmed().toString().toCaseFolded();
}

bool IsBlankLine(const QByteArray& text) {
    return TrimBlanks(text).isEmpty();
}

// Surrounding quotes protect blanks at the ends of a value, and a value that is
// itself quoted, from being lost on the next read.
QByteArray EncodeValue(const QString& value) {
    QString text = value;
    text.replace(QLatin1Char('\n'), QLatin1Char(' '));
    const bool quote =
        !text.isEmpty() && (IsBlank(text.front()) || IsBlank(text.back()) ||
                            (text.size() >= 2 && text.front() == u'"' && text.back() == u'"'));
    QByteArray encoded = text.toUtf8();
    if (quote) {
        encoded.prepend('"');
        encoded.append('"');
    }
    return encoded;
}

QString DecodeValue(QByteArrayView raw) {
    QByteArrayView text = TrimBlanks(raw);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        text = text.sliced(1, text.size() - 2);
    }
    QString value = DecodeUtf8(text);
    if (value.size() > ProfileFile::MaxValueLength) {
        qsizetype cut = ProfileFile::MaxValueLength;
        // Never split a character that takes two UTF-16 units.
        if (value.at(cut - 1).isHighSurrogate()) {
            --cut;
        }
        value.truncate(cut);
    }
    return value;
}

bool IsDecimalDigit(QChar c) {
    return c >= u'0' && c <= u'9';
}

int HexDigitValue(QChar c) {
    if (c >= u'0' && c <= u'9') {
        return c.unicode() - u'0';
    }
    if (c >= u'a' && c <= u'f') {
        return c.unicode() - u'a' + 10;
    }
    if (c >= u'A' && c <= u'F') {
        return c.unicode() - u'A' + 10;
    }
    return -1;
}

} // namespace

std::optional<std::int32_t> ParseProfileInteger(QStringView text) {
    constexpr std::int64_t Max = std::numeric_limits<std::int32_t>::max();
    qsizetype i = 0;
    bool hex = false;
    // "0x" counts as hex only with something after it, so "0x" alone is no number.
    if (text.size() > 2 && text[0] == u'0' && (text[1] == u'x' || text[1] == u'X')) {
        hex = true;
        i = 2;
    } else {
        while (i < text.size() && text[i] == u' ') {
            ++i;
        }
        if (i < text.size() && text[i] == u'$') {
            hex = true;
            ++i;
        }
    }

    std::int64_t value = 0;
    if (hex) {
        const qsizetype first = i;
        for (; i < text.size(); ++i) {
            const int digit = HexDigitValue(text[i]);
            if (digit < 0) {
                return std::nullopt;
            }
            value = value * 16 + digit;
            if (value > Max) {
                return std::nullopt;
            }
        }
        if (i == first) {
            return std::nullopt;
        }
        return static_cast<std::int32_t>(value);
    }

    bool negative = false;
    if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) {
        negative = text[i] == u'-';
        ++i;
    }
    const qsizetype first = i;
    const std::int64_t limit = negative ? Max + 1 : Max;
    for (; i < text.size(); ++i) {
        if (!IsDecimalDigit(text[i])) {
            return std::nullopt;
        }
        value = value * 10 + (text[i].unicode() - u'0');
        if (value > limit) {
            return std::nullopt;
        }
    }
    if (i == first) {
        return std::nullopt;
    }
    return static_cast<std::int32_t>(negative ? -value : value);
}

bool ProfileFile::Parse(QByteArrayView data) {
    m_encoding = Encoding::Utf8;
    m_hasBom = false;
    const bool littleEndian = data.startsWith(Utf16LeBom);
    if (littleEndian || data.startsWith(Utf16BeBom)) {
        // Held as UTF-8 like any other file; written back as UTF-16 only if
        // that gives the very bytes read.
        const QByteArrayView body = data.sliced(Utf16LeBom.size());
        const QByteArray utf8 = DecodeUtf16(body, littleEndian).toUtf8();
        if (EncodeUtf16(DecodeUtf8(utf8), littleEndian) != body) {
            ParseLines({});
            return false;
        }
        ParseLines(utf8);
        m_encoding = littleEndian ? Encoding::Utf16LE : Encoding::Utf16BE;
        return true;
    }
    m_hasBom = data.startsWith(Bom);
    ParseLines(m_hasBom ? data.sliced(Bom.size()) : data);
    return true;
}

void ProfileFile::ParseLines(QByteArrayView data) {
    m_sections.clear();
    m_sectionIndex.clear();
    m_sections.emplace_back(); // the lines before the first section header
    m_newLineEnd = QByteArrayLiteral("\n");

    bool lineEndKnown = false;
    qsizetype pos = 0;
    while (pos < data.size()) {
        Line line;
        qsizetype end = data.indexOf('\n', pos);
        if (end < 0) {
            end = data.size();
        } else if (end > pos && data[end - 1] == '\r') {
            line.eol = QByteArrayLiteral("\r\n");
            --end;
        } else {
            line.eol = QByteArrayLiteral("\n");
        }
        const QByteArrayView text = data.sliced(pos, end - pos);
        pos = end + line.eol.size();
        line.text = text.toByteArray();
        if (!lineEndKnown && !line.eol.isEmpty()) {
            m_newLineEnd = line.eol;
            lineEndKnown = true;
        }

        const qsizetype start = SkipBlanks(text, 0);
        const char lead = start < text.size() ? text[start] : '\0';
        if (lead == '[') {
            const qsizetype close = text.indexOf(']', start + 1);
            if (close > 0) {
                const QString name = Folded(TrimBlanks(text.sliced(start + 1, close - start - 1)));
                m_sections.emplace_back();
                m_sections.back().hasHeader = true;
                // A repeated section stays as text; reads and writes use the first one.
                if (!m_sectionIndex.contains(name)) {
                    m_sectionIndex.insert(name, static_cast<int>(m_sections.size() - 1));
                }
                m_sections.back().lines.push_back(std::move(line));
                continue;
            }
        }
        Section& section = m_sections.back();
        if (lead != '\0' && lead != ';' && lead != '#' && lead != '[') {
            const qsizetype equals = text.indexOf('=', start);
            const QByteArrayView key =
                equals > 0 ? TrimBlanks(text.sliced(start, equals - start)) : QByteArrayView();
            if (!key.isEmpty()) {
                line.valueStart = static_cast<int>(SkipBlanks(text, equals + 1));
                const QString folded = Folded(key);
                if (section.hasHeader && !section.keys.contains(folded)) {
                    section.keys.insert(folded, static_cast<int>(section.lines.size()));
                }
            }
        }
        section.lines.push_back(std::move(line));
    }
}

QByteArray ProfileFile::Serialize() const {
    QByteArray out;
    if (m_hasBom) {
        out.append(Bom);
    }
    for (const Section& section : m_sections) {
        for (const Line& line : section.lines) {
            out.append(line.text);
            out.append(line.eol);
        }
    }
    if (m_encoding == Encoding::Utf8) {
        return out;
    }
    const bool littleEndian = m_encoding == Encoding::Utf16LE;
    return (littleEndian ? Utf16LeBom : Utf16BeBom).toByteArray() +
           EncodeUtf16(DecodeUtf8(out), littleEndian);
}

const ProfileFile::Line* ProfileFile::FindKey(QStringView section, QStringView key) const {
    const auto sectionIt = m_sectionIndex.constFind(Folded(section));
    if (sectionIt == m_sectionIndex.cend()) {
        return nullptr;
    }
    const Section& found = m_sections[static_cast<std::size_t>(*sectionIt)];
    const auto keyIt = found.keys.constFind(Folded(key));
    if (keyIt == found.keys.cend()) {
        return nullptr;
    }
    return &found.lines[static_cast<std::size_t>(*keyIt)];
}

std::optional<QString> ProfileFile::ReadString(QStringView section, QStringView key) const {
    const Line* line = FindKey(section, key);
    if (!line) {
        return std::nullopt;
    }
    return DecodeValue(QByteArrayView(line->text).sliced(line->valueStart));
}

QString ProfileFile::ReadString(QStringView section, QStringView key, const QString& def) const {
    return ReadString(section, key).value_or(def);
}

std::int32_t ProfileFile::ReadInteger(QStringView section, QStringView key,
                                      std::int32_t def) const {
    const std::optional<QString> text = ReadString(section, key);
    if (!text) {
        return def;
    }
    return ParseProfileInteger(*text).value_or(def);
}

bool ProfileFile::ReadFlag(QStringView section, QStringView key, bool def) const {
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

ProfileFile::Section& ProfileFile::SectionFor(QStringView section) {
    const QString folded = Folded(section);
    const auto found = m_sectionIndex.constFind(folded);
    if (found != m_sectionIndex.cend()) {
        return m_sections[static_cast<std::size_t>(*found)];
    }

    // A new section goes at the end of the file, after one blank line.
    auto last = std::find_if(m_sections.rbegin(), m_sections.rend(),
                             [](const Section& s) { return !s.lines.empty(); });
    if (last != m_sections.rend()) {
        Line& lastLine = last->lines.back();
        if (lastLine.eol.isEmpty()) {
            lastLine.eol = m_newLineEnd;
        }
        if (!IsBlankLine(lastLine.text)) {
            last->lines.push_back(Line{QByteArray(), m_newLineEnd});
        }
    }
    Section& created = m_sections.emplace_back();
    created.hasHeader = true;
    created.lines.push_back(Line{'[' + section.trimmed().toString().toUtf8() + ']', m_newLineEnd});
    m_sectionIndex.insert(folded, static_cast<int>(m_sections.size() - 1));
    return created;
}

int ProfileFile::AppendLine(Section& section, QByteArray text, int valueStart) {
    // After the section's last line with content, so the blank lines that part
    // it from the next section stay between them.
    std::size_t at = section.lines.size();
    while (at > 1 && IsBlankLine(section.lines[at - 1].text)) {
        --at;
    }
    Line& before = section.lines[at - 1];
    if (before.eol.isEmpty()) {
        before.eol = m_newLineEnd;
    }
    section.lines.insert(section.lines.begin() + static_cast<std::ptrdiff_t>(at),
                         Line{std::move(text), m_newLineEnd, valueStart});
    return static_cast<int>(at);
}

void ProfileFile::WriteString(QStringView section, QStringView key, const QString& value) {
    Section& target = SectionFor(section);
    const QByteArray encoded = EncodeValue(value);
    const QString folded = Folded(key);
    const auto found = target.keys.constFind(folded);
    if (found != target.keys.cend()) {
        Line& line = target.lines[static_cast<std::size_t>(*found)];
        line.text.truncate(line.valueStart);
        line.text.append(encoded);
        return;
    }
    QByteArray text = key.trimmed().toString().toUtf8();
    text.append('=');
    const int valueStart = static_cast<int>(text.size());
    text.append(encoded);
    target.keys.insert(folded, AppendLine(target, std::move(text), valueStart));
}

void ProfileFile::WriteInteger(QStringView section, QStringView key, std::int32_t value) {
    WriteString(section, key, QString::number(value));
}

void ProfileFile::WriteFlag(QStringView section, QStringView key, bool value) {
    WriteString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

} // namespace mirelo
