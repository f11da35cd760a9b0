#include "Settings.h"

#include "HallOfFame.h"
#include "LayoutTemplate.h"
#include "ProfileFile.h"

namespace mirelo {

namespace {
const QString Section = QString::fromLatin1(SettingsSection);
QString Key(const char* name) {
    return QString::fromLatin1(name);
}
} // namespace

StoredSettings LoadStoredSettings(const QByteArray& path) {
    StoredSettings stored;
    stored.File.Load(path, &stored.ReadError);
    return stored;
}

Options ReadSettings(const ProfileFile& file, bool withSound, HallOfFame& hall) {
    Options o;
    o.TileStyle = file.ReadInteger(Section, Key("Tileset"), o.TileStyle);
    // Kept as read; the window falls back from a value that names no mode.
    o.HighlightMode = static_cast<Highlight>(
        file.ReadInteger(Section, Key("Highlight"), static_cast<int>(o.HighlightMode)));
    o.ShowMoves = file.ReadFlag(Section, Key("ShowMoves"), o.ShowMoves);
    if (withSound) {
        o.PlayMusic = file.ReadFlag(Section, Key("PlayMusic"), o.PlayMusic);
        o.PlaySounds = file.ReadFlag(Section, Key("PlaySounds"), o.PlaySounds);
    }
    o.NeverWarn = file.ReadFlag(Section, Key("NeverWarn"), o.NeverWarn);
    o.CurrentPlayer = file.ReadString(Section, Key("CurrentPlayer1"), o.CurrentPlayer);
    o.Background = file.ReadInteger(Section, Key("Background"), o.Background);
    o.StartDirectly = file.ReadFlag(Section, Key("StartDirectly"), o.StartDirectly);
    o.WinnableDeals = file.ReadFlag(Section, Key("WinnableDeals"), o.WinnableDeals);
    const int zoom = file.ReadInteger(Section, Key("Zoom"), o.Zoom);
    o.Zoom = zoom == 150 || zoom == 200 ? zoom : 100;

    for (int layout = 1; layout <= LayoutCount; ++layout)
        for (int rank = 1; rank <= HallRanks; ++rank) {
            const QString section = QString::fromLatin1(HallOfFame::SectionName(layout));
            const QString key = QString::fromStdString(HallOfFame::KeyName(rank));
            if (const auto value = file.ReadString(section, key))
                hall.SetEntry(layout, rank, value->toStdString());
        }
    return o;
}

void WriteSettings(ProfileFile& file, const Options& o, bool withSound, const HallOfFame& hall) {
    file.WriteInteger(Section, Key("Tileset"), o.TileStyle);
    file.WriteInteger(Section, Key("Highlight"), static_cast<int>(o.HighlightMode));
    file.WriteFlag(Section, Key("ShowMoves"), o.ShowMoves);
    if (withSound) {
        file.WriteFlag(Section, Key("PlayMusic"), o.PlayMusic);
        file.WriteFlag(Section, Key("PlaySounds"), o.PlaySounds);
    }
    file.WriteFlag(Section, Key("NeverWarn"), o.NeverWarn);
    file.WriteString(Section, Key("CurrentPlayer1"), o.CurrentPlayer);
    file.WriteInteger(Section, Key("Background"), o.Background);
    file.WriteFlag(Section, Key("StartDirectly"), o.StartDirectly);
    file.WriteFlag(Section, Key("WinnableDeals"), o.WinnableDeals);
    file.WriteInteger(Section, Key("Zoom"), o.Zoom);

    for (int layout = 1; layout <= LayoutCount; ++layout)
        for (int rank = 1; rank <= HallRanks; ++rank)
            file.WriteString(QString::fromLatin1(HallOfFame::SectionName(layout)),
                             QString::fromStdString(HallOfFame::KeyName(rank)),
                             QString::fromStdString(hall.Entry(layout, rank)));
}

QByteArray ZoomedScaleFactor(const QByteArray& desktop, int zoom) {
    if (zoom == 100)
        return desktop;
    bool ok = false;
    double factor = desktop.toDouble(&ok);
    if (!ok || factor <= 0)
        factor = 1;
    return QByteArray::number(factor * zoom / 100.0);
}

} // namespace mirelo
