// Composes the four tunes of the Music menu and writes them as Standard MIDI
// Files. Every run writes the same bytes.
//   mirelo_tunes <folder>
#include "Tunes.h"

#include <filesystem>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: mirelo_tunes <folder>\n";
        return 2;
    }
    namespace t = mirelo::tunes;
    const std::filesystem::path folder = argv[1];
    std::error_code ec;
    std::filesystem::create_directories(folder, ec);
    const struct {
        const char* file;
        t::Song (*compose)();
    } tunes[] = {{"ferral.mid", t::Ferral},
                 {"gokuraku.mid", t::Gokuraku},
                 {"mirelo.mid", t::Mirelo},
                 {"gisors.mid", t::Gisors}};
    for (const auto& tune : tunes) {
        const t::Song song = tune.compose();
        const std::filesystem::path path = folder / tune.file;
        if (!t::WriteMidiFile(song, path.string())) {
            std::cerr << "mirelo_tunes: cannot write " << path << "\n";
            return 1;
        }
        const double seconds = static_cast<double>(song.LengthTicks) / t::Ppq * 60.0 / song.Bpm;
        std::cout << "Wrote " << path.string() << " (" << static_cast<int>(seconds) << " s)\n";
    }
    return 0;
}
