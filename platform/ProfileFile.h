#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QHash>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <optional>
#include <vector>

namespace mirelo {

// The text of an integer value: "0x"/"0X" before at least one more character
// means hexadecimal (as "$" does), leading spaces are skipped, then a signed
// decimal or "$" and hex digits. Anything else, including a value outside the
// signed 32-bit range, gives nullopt.
std::optional<std::int32_t> ParseProfileInteger(QStringView text);

// A settings file in the classic sectioned "key=value" form, held in memory.
// Sections and keys are found without regard to case, and a write touches only
// the one line it replaces: comments, unknown sections and keys, blank lines and
// line ends come back byte for byte, since players edit this file by hand.
//
// The text is UTF-8, or UTF-16 in either byte order when it starts with a
// byte-order mark (as an editor on another system may save it); it is written
// back in the form it was read in.
class ProfileFile {
public:
    // Longest value a read hands back; longer values are cut.
    static constexpr int MaxValueLength = 1023;
    // Largest file read: 1 MiB. A full settings file is about 2 KB, so this
    // leaves room for any notes kept by hand, while a file that is not settings
    // at all (a log, a disk image) cannot take the memory or the start-up time.
    static constexpr qsizetype MaxFileSize = 1024 * 1024;

    // A missing file is an empty profile. An existing file that cannot be read
    // whole - no permission, a read error, not a regular file (a FIFO is never
    // opened, so it cannot stall the caller), larger than MaxFileSize, UTF-16
    // that does not decode - returns false with "Unable to read <path>: <why>"
    // in `error` and leaves the profile empty. `path` is in the file system's
    // own bytes, which need not be UTF-8.
    bool Load(const QByteArray& path, QString* error = nullptr);
    bool Load(const QString& path, QString* error = nullptr);
    // Replaces the contents with `data`, a whole file. False, with an empty
    // profile, when the data is UTF-16 that does not decode to the same bytes
    // again: such a file could not be written back as it was.
    bool Parse(QByteArrayView data);

    // Writes the whole file and puts it in place of the old one in one step, so
    // a failure leaves the old file as it was. Creates the folder when missing.
    bool Save(const QByteArray& path, QString* error = nullptr) const;
    bool Save(const QString& path, QString* error = nullptr) const;
    QByteArray Serialize() const;

    // nullopt when the key is absent; an empty value that is present reads "".
    std::optional<QString> ReadString(QStringView section, QStringView key) const;
    QString ReadString(QStringView section, QStringView key, const QString& def) const;
    std::int32_t ReadInteger(QStringView section, QStringView key, std::int32_t def) const;
    bool ReadFlag(QStringView section, QStringView key, bool def) const;

    // Section and key names are the program's own: no line breaks, "=" or "]".
    // A value is one line; a line break in it is written as a space.
    void WriteString(QStringView section, QStringView key, const QString& value);
    void WriteInteger(QStringView section, QStringView key, std::int32_t value);
    void WriteFlag(QStringView section, QStringView key, bool value);

private:
    struct Line {
        QByteArray text;     // without its line end
        QByteArray eol;      // "\n", "\r\n", or empty on a last line without one
        int valueStart = -1; // where the value begins on a key line, else -1
    };
    struct Section {
        bool hasHeader = false;   // false only for the lines before the first section
        std::vector<Line> lines;  // the header line first when there is one
        QHash<QString, int> keys; // folded key name → its first line
    };

    enum class Encoding { Utf8, Utf16LE, Utf16BE };

    void ParseLines(QByteArrayView utf8);
    const Line* FindKey(QStringView section, QStringView key) const;
    Section& SectionFor(QStringView section);
    // Inserts a key line at the end of the section; returns its index there.
    int AppendLine(Section& section, QByteArray text, int valueStart);

    std::vector<Section> m_sections;
    QHash<QString, int> m_sectionIndex; // folded section name → first such section
    QByteArray m_newLineEnd = QByteArrayLiteral("\n");
    // The lines are held in UTF-8 whatever the file's encoding.
    Encoding m_encoding = Encoding::Utf8;
    bool m_hasBom = false; // UTF-8 only: UTF-16 always has one
};

} // namespace mirelo
