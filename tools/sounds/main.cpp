// Writes the game's sound library: three short effects made from sine waves,
// each 16-bit mono at 8000 Hz, 8516 bytes in all.
//   mirelo_sounds <path of sounds.sl10>
#include "SoundShapes.h"
#include "TDGCSounds.h"

#include <fstream>
#include <iostream>

namespace {

mirelo::SoundEntry Entry(const char* name, const std::vector<std::int16_t>& samples) {
    mirelo::SoundEntry e;
    e.Format.FormatTag = 1;
    e.Format.Channels = 1;
    e.Format.SamplesPerSec = mirelo::sounds::SampleRate;
    e.Format.AvgBytesPerSec = mirelo::sounds::SampleRate * 2;
    e.Format.BlockAlign = 2;
    e.Format.BitsPerSample = 16;
    e.SetName(name);
    e.Data.reserve(samples.size() * 2);
    for (std::int16_t s : samples) {
        const auto u = static_cast<std::uint16_t>(s);
        e.Data.push_back(static_cast<std::uint8_t>(u & 0xff));
        e.Data.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    return e;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: mirelo_sounds <sounds.sl10>\n";
        return 2;
    }
    mirelo::TDGCSounds library;
    library.Add(Entry("selectil", mirelo::sounds::Selectil()));
    library.Add(Entry("enlever", mirelo::sounds::Enlever()));
    library.Add(Entry("impossib", mirelo::sounds::Impossib()));
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    library.WriteData(out);
    out.close();
    if (!out) {
        std::cerr << "mirelo_sounds: cannot write " << argv[1] << "\n";
        return 1;
    }
    std::cout << "Wrote " << argv[1] << "\n";
    return 0;
}
