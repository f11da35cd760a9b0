#pragma once

#include "SoundEntry.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <iosfwd>
#include <string>
#include <vector>

namespace mirelo {

// A sound library in memory, read from and written to the SL10 stream:
// "SL10", a signed 32-bit count, then each sound's 44-byte header and samples,
// all little-endian. Every failure throws SoundError with the player's message.
//
// A read either succeeds whole or leaves the collection empty: records are built
// aside and kept only when the last one has been read. A count or a size that the
// rest of the stream cannot hold is refused before anything is reserved, so a
// damaged file never makes the program ask for gigabytes.
class TDGCSounds {
public:
    // Replaces the collection by the library read from the stream's position on,
    // which must be seekable (files and string streams are): the reader needs to
    // know how much is left. Ends just past the library. Zero or a negative count or size is
    // refused with the reservation messages; a count or size beyond what the stream still holds, or
    // a stream that ends early, with "Stream read error".
    void ReadData(std::istream& in);
    void ReadData(const std::uint8_t* data, std::size_t size);
    // Signature, count, then every sound's header and samples.
    void WriteData(std::ostream& out) const;
    void LoadFromFile(const std::string& fileName);
    void Clear();
    // Deep copy of every sound into `other`.
    void AssignTo(TDGCSounds& other) const;
    // A copy of sound `index` (0-based, inside the collection).
    SoundEntry Entry(int index) const;

    int Count() const { return static_cast<int>(sounds_.size()); }
    bool Empty() const { return sounds_.empty(); }
    const std::vector<SoundEntry>& FSounds() const { return sounds_; }
    // The signature as read, letter case kept, so a written stream matches its source.
    const std::array<char, 4>& Signature() const { return signature_; }

    // Appends a sound (the generator builds its library this way).
    void Add(SoundEntry entry);

    // The reader's view of a stream: bytes, and how many are left.
    class Source;

private:
    void Read(Source& source);

    std::array<char, 4> signature_{'S', 'L', '1', '0'};
    std::vector<SoundEntry> sounds_;
};

} // namespace mirelo
