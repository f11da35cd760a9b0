#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace mirelo {

// A part of a text page: a heading (none when empty) over its paragraphs.
struct HelpSection {
    QString Heading;
    QStringList Paragraphs;
};

struct HelpText {
    QString Title;
    QList<HelpSection> Sections;
};

HelpText EnglishHelp();
HelpText FrenchHelp();
QString ReleaseNotes();

} // namespace mirelo
