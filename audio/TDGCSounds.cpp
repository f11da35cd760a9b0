#include "TDGCSounds.h"

#include "SoundError.h"

#include <cerrno>
#include <cstring>
#include <fstream>
#include <istream>
#include <new>
#include <ostream>

namespace mirelo {

// What the reader needs of a stream: bytes, and how many are still there.
class TDGCSounds::Source {
public:
    virtual ~Source() = default;
    virtual bool Read(void* into, std::size_t count) = 0;
    std::int64_t Remaining = 0;
};

namespace {

class MemorySource final : public TDGCSounds::Source {
public:
    MemorySource(const std::uint8_t* data, std::size_t size) : data_(data) {
        Remaining = static_cast<std::int64_t>(size);
    }
    bool Read(void* into, std::size_t count) override {
        if (static_cast<std::int64_t>(count) > Remaining)
            return false;
        if (count > 0)
            std::memcpy(into, data_, count);
        data_ += count;
        Remaining -= static_cast<std::int64_t>(count);
        return true;
    }

private:
    const std::uint8_t* data_;
};

class StreamSource final : public TDGCSounds::Source {
public:
    explicit StreamSource(std::istream& in) : in_(in) {
        const auto here = in.tellg();
        if (here == std::istream::pos_type(-1))
            return;
        in.seekg(0, std::ios::end);
        const auto end = in.tellg();
        in.seekg(here);
        if (end != std::istream::pos_type(-1) && end >= here)
            Remaining = static_cast<std::int64_t>(end - here);
    }
    bool Read(void* into, std::size_t count) override {
        if (static_cast<std::int64_t>(count) > Remaining)
            return false;
        in_.read(static_cast<char*>(into), static_cast<std::streamsize>(count));
        if (static_cast<std::size_t>(in_.gcount()) != count)
            return false;
        Remaining -= static_cast<std::int64_t>(count);
        return true;
    }

private:
    std::istream& in_;
};

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t Le32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}
void PutLe16(std::uint8_t* p, std::uint16_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void PutLe32(std::uint8_t* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i)
        p[i] = static_cast<std::uint8_t>(v >> (8 * i));
}

char Upper(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

SoundEntry ParseHeader(const std::uint8_t* h) {
    SoundEntry e;
    e.Format.FormatTag = Le16(h + 0);
    e.Format.Channels = Le16(h + 2);
    e.Format.SamplesPerSec = Le32(h + 4);
    e.Format.AvgBytesPerSec = Le32(h + 8);
    e.Format.BlockAlign = Le16(h + 12);
    e.Format.BitsPerSample = Le16(h + 14);
    e.Format.ExtraSize = Le16(h + 16);
    e.Format.Padding = Le16(h + 18);
    e.NameLength = h[20];
    std::memcpy(e.Name.data(), h + 21, SoundNameCapacity);
    e.Pan = static_cast<std::int32_t>(Le32(h + 32));
    e.Volume = static_cast<std::int32_t>(Le32(h + 36));
    e.Size = static_cast<std::int32_t>(Le32(h + 40));
    return e;
}

void WriteHeader(const SoundEntry& e, std::uint8_t* h) {
    PutLe16(h + 0, e.Format.FormatTag);
    PutLe16(h + 2, e.Format.Channels);
    PutLe32(h + 4, e.Format.SamplesPerSec);
    PutLe32(h + 8, e.Format.AvgBytesPerSec);
    PutLe16(h + 12, e.Format.BlockAlign);
    PutLe16(h + 14, e.Format.BitsPerSample);
    PutLe16(h + 16, e.Format.ExtraSize);
    PutLe16(h + 18, e.Format.Padding);
    h[20] = e.NameLength;
    std::memcpy(h + 21, e.Name.data(), SoundNameCapacity);
    PutLe32(h + 32, static_cast<std::uint32_t>(e.Pan));
    PutLe32(h + 36, static_cast<std::uint32_t>(e.Volume));
    PutLe32(h + 40, static_cast<std::uint32_t>(e.Size));
}

} // namespace

void TDGCSounds::Read(Source& source) {
    Clear();
    std::uint8_t head[8];
    if (!source.Read(head, sizeof head))
        throw SoundError(StreamReadErrorText);
    const char expected[4] = {'S', 'L', '1', '0'};
    for (int i = 0; i < 4; ++i) {
        if (Upper(static_cast<char>(head[i])) != expected[i])
            throw SoundError(NotASoundLibraryText);
    }
    const auto count = static_cast<std::int32_t>(Le32(head + 4));
    if (count <= 0)
        throw SoundError(NoSoundsText);
    if (count > source.Remaining / SoundHeaderSize)
        throw SoundError(StreamReadErrorText);

    std::vector<SoundEntry> sounds;
    sounds.reserve(static_cast<std::size_t>(count));
    for (std::int32_t i = 0; i < count; ++i) {
        std::uint8_t header[SoundHeaderSize];
        if (!source.Read(header, sizeof header))
            throw SoundError(StreamReadErrorText);
        SoundEntry entry = ParseHeader(header);
        if (entry.Size <= 0)
            throw SoundError(NoSoundDataText);
        if (entry.Size > source.Remaining)
            throw SoundError(StreamReadErrorText);
        entry.Data.resize(static_cast<std::size_t>(entry.Size));
        if (!source.Read(entry.Data.data(), entry.Data.size()))
            throw SoundError(StreamReadErrorText);
        sounds.push_back(std::move(entry));
    }
    for (int i = 0; i < 4; ++i)
        signature_[static_cast<std::size_t>(i)] = static_cast<char>(head[i]);
    sounds_ = std::move(sounds);
}

void TDGCSounds::ReadData(std::istream& in) {
    StreamSource source(in);
    Read(source);
}

void TDGCSounds::ReadData(const std::uint8_t* data, std::size_t size) {
    MemorySource source(data, size);
    Read(source);
}

void TDGCSounds::WriteData(std::ostream& out) const {
    std::uint8_t head[8];
    for (int i = 0; i < 4; ++i)
        head[i] = static_cast<std::uint8_t>(signature_[static_cast<std::size_t>(i)]);
    PutLe32(head + 4, static_cast<std::uint32_t>(sounds_.size()));
    out.write(reinterpret_cast<const char*>(head), sizeof head);
    for (const SoundEntry& e : sounds_) {
        std::uint8_t header[SoundHeaderSize];
        WriteHeader(e, header);
        out.write(reinterpret_cast<const char*>(header), sizeof header);
        out.write(reinterpret_cast<const char*>(e.Data.data()),
                  static_cast<std::streamsize>(e.Data.size()));
    }
}

void TDGCSounds::LoadFromFile(const std::string& fileName) {
    std::ifstream in(fileName, std::ios::binary);
    if (!in) {
        const int error = errno;
        Clear();
        throw SoundError("Cannot open file \"" + fileName + "\". " + std::strerror(error));
    }
    ReadData(in);
}

void TDGCSounds::Clear() {
    sounds_.clear();
    sounds_.shrink_to_fit();
}

void TDGCSounds::AssignTo(TDGCSounds& other) const {
    if (&other == this)
        return;
    std::size_t bytes = 0;
    try {
        std::vector<SoundEntry> copy;
        copy.reserve(sounds_.size());
        for (const SoundEntry& e : sounds_) {
            bytes = e.Data.size();
            copy.push_back(e);
        }
        other.Clear();
        other.signature_ = signature_;
        other.sounds_ = std::move(copy);
    } catch (const std::bad_alloc&) {
        throw SoundError("TDGCSounds.AssignTo failed (GetMem): " + std::to_string(bytes));
    } catch (const std::exception&) {
        throw SoundError("TDGCSounds.AssignTo failed");
    }
}

SoundEntry TDGCSounds::Entry(int index) const {
    return sounds_.at(static_cast<std::size_t>(index));
}

void TDGCSounds::Add(SoundEntry entry) {
    entry.Size = static_cast<std::int32_t>(entry.Data.size());
    sounds_.push_back(std::move(entry));
}

} // namespace mirelo
