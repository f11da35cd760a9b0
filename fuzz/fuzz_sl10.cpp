// The sound library reader against any bytes: it must either read a library
// or refuse with one of its messages, never crash, read out of bounds or ask
// for memory the input does not account for.
#include "SoundError.h"
#include "TDGCSounds.h"

#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    mirelo::TDGCSounds sounds;
    try {
        sounds.ReadData(data, size);
    } catch (const mirelo::SoundError&) {
        // A refused stream leaves nothing behind.
        if (sounds.Count() != 0)
            std::abort();
        return 0;
    }
    // Whatever was read writes back to the very bytes it came from.
    std::ostringstream out;
    sounds.WriteData(out);
    const std::string written = out.str();
    if (written.size() > size ||
        written.compare(0, written.size(), reinterpret_cast<const char*>(data), written.size()) !=
            0)
        std::abort();
    // And the stream reader agrees with the memory reader.
    std::istringstream in(std::string(reinterpret_cast<const char*>(data), size));
    mirelo::TDGCSounds again;
    again.ReadData(in);
    if (again.FSounds() != sounds.FSounds())
        std::abort();
    return 0;
}
