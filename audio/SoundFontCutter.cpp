#include "SoundFontCutter.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <iterator>

namespace mirelo {

namespace {

std::uint16_t Le16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | p[1] << 8);
}
std::uint32_t Le32(const std::uint8_t* p) {
    return std::uint32_t{p[0]} | std::uint32_t{p[1]} << 8 | std::uint32_t{p[2]} << 16 |
           std::uint32_t{p[3]} << 24;
}
void PutLe16(std::uint8_t* p, std::uint32_t v) {
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
}
void PutLe32(std::uint8_t* p, std::uint32_t v) {
    PutLe16(p, v);
    PutLe16(p + 2, v >> 16);
}

// The preset data's nine parts, in the order a sound font holds them, and the
// size of one record of each; each ends with a closing record.
enum Part { Phdr, Pbag, Pmod, Pgen, Inst, Ibag, Imod, Igen, Shdr, PartCount };
constexpr std::array<const char*, PartCount> PartIds = {"phdr", "pbag", "pmod", "pgen", "inst",
                                                        "ibag", "imod", "igen", "shdr"};
constexpr std::array<std::size_t, PartCount> RecordSize = {38, 4, 10, 4, 22, 4, 10, 4, 46};
// The preset generator that names the zone's instrument.
constexpr std::uint16_t InstrumentGenerator = 41;
// Limits beyond any General MIDI font, so that a damaged size asks for no memory.
constexpr std::uint32_t MaxInfoBytes = 1u << 20;
constexpr std::uint32_t MaxPresetDataBytes = 64u << 20;

struct Records {
    const std::uint8_t* data = nullptr;
    std::size_t count = 0; // with the closing record
    const std::uint8_t* operator[](std::size_t i) const { return data + i * size; }
    std::size_t size = 0;
};

// Where the bags of record `i` begin: its 16-bit index at `at`, checked to rise
// and to stay within `limit`.
bool Ranges(const Records& r, std::size_t at, std::size_t limit, std::vector<std::size_t>& starts) {
    starts.resize(r.count);
    for (std::size_t i = 0; i < r.count; ++i) {
        starts[i] = Le16(r[i] + at);
        if (starts[i] > limit || (i > 0 && starts[i] < starts[i - 1]))
            return false;
    }
    return true;
}

void Append(std::vector<std::uint8_t>& to, const std::uint8_t* from, std::size_t n) {
    to.insert(to.end(), from, from + n);
}

// The nine parts cut to the kept presets, or nothing.
struct Cut {
    std::array<std::vector<std::uint8_t>, PartCount> parts;
    int presets = 0;
    int instruments = 0;
};

bool Keeps(const PresetChoices& keep, int bank, int program) {
    return keep.count({bank, program}) || keep.count({AnyBank, program});
}

// `keep` with the presets the synthesiser falls back on when a choice is not
// in the font: on the drum channel the standard kit; elsewhere the program in
// bank 0, else the piano. A choice in any bank may be missing from one of them.
PresetChoices WithFallbacks(const PresetChoices& keep, const Records& headers,
                            std::size_t presets) {
    PresetChoices present;
    for (std::size_t p = 0; p < presets; ++p)
        present.insert({Le16(headers[p] + 22), Le16(headers[p] + 20)});
    PresetChoices with = keep;
    for (const PresetChoice& choice : keep) {
        if (present.count(choice))
            continue;
        if (choice.bank == DrumBank || choice.bank == AnyBank)
            with.insert({DrumBank, 0});
        if (choice.bank != DrumBank) {
            with.insert({0, choice.program});
            if (!present.count({0, choice.program}))
                with.insert({0, 0});
        }
    }
    return with;
}

std::optional<Cut> CutPresetData(const std::array<Records, PartCount>& in,
                                 const PresetChoices& choices) {
    for (const Records& r : in)
        if (r.count == 0)
            return std::nullopt;
    const std::size_t presets = in[Phdr].count - 1;
    const PresetChoices keep = WithFallbacks(choices, in[Phdr], presets);
    const std::size_t instruments = in[Inst].count - 1;
    std::vector<std::size_t> presetBags, presetGens, presetMods, instBags, instGens, instMods;
    // Each list's closing record holds the count of the next one's records.
    if (!Ranges(in[Phdr], 24, in[Pbag].count - 1, presetBags) ||
        !Ranges(in[Pbag], 0, in[Pgen].count - 1, presetGens) ||
        !Ranges(in[Pbag], 2, in[Pmod].count - 1, presetMods) ||
        !Ranges(in[Inst], 20, in[Ibag].count - 1, instBags) ||
        !Ranges(in[Ibag], 0, in[Igen].count - 1, instGens) ||
        !Ranges(in[Ibag], 2, in[Imod].count - 1, instMods))
        return std::nullopt;

    std::vector<std::size_t> kept;
    std::vector<long> instIndex(instruments, -1);
    for (std::size_t p = 0; p < presets; ++p) {
        if (!Keeps(keep, Le16(in[Phdr][p] + 22), Le16(in[Phdr][p] + 20)))
            continue;
        kept.push_back(p);
        for (std::size_t g = presetGens[presetBags[p]]; g < presetGens[presetBags[p + 1]]; ++g)
            if (Le16(in[Pgen][g]) == InstrumentGenerator) {
                const std::size_t i = Le16(in[Pgen][g] + 2);
                if (i >= instruments)
                    return std::nullopt;
                instIndex[i] = 0;
            }
    }
    if (kept.empty())
        return std::nullopt;
    Cut cut;
    for (long& index : instIndex)
        if (index == 0)
            index = cut.instruments++ + 1;
    cut.presets = static_cast<int>(kept.size());

    auto& parts = cut.parts;
    auto count = [&](Part part) { return parts[part].size() / RecordSize[part]; };
    // A header (preset or instrument) pointing at its first bag, then its bags
    // pointing at their generators and modulators, copied from the original.
    auto copyWithBags = [&](Part head, Part bag, Part gen, Part mod, std::size_t from,
                            std::size_t to, std::size_t record, std::size_t bagAt) {
        Append(parts[head], in[head][record], RecordSize[head]);
        PutLe16(parts[head].data() + parts[head].size() - RecordSize[head] + bagAt, count(bag));
        for (std::size_t b = from; b < to; ++b) {
            std::uint8_t bagRecord[4];
            PutLe16(bagRecord, count(gen));
            PutLe16(bagRecord + 2, count(mod));
            Append(parts[bag], bagRecord, 4);
            const auto& gens = bag == Pbag ? presetGens : instGens;
            const auto& mods = bag == Pbag ? presetMods : instMods;
            for (std::size_t g = gens[b]; g < gens[b + 1]; ++g) {
                Append(parts[gen], in[gen][g], 4);
                if (gen == Pgen && Le16(in[gen][g]) == InstrumentGenerator)
                    PutLe16(parts[gen].data() + parts[gen].size() - 2,
                            instIndex[Le16(in[gen][g] + 2)] - 1);
            }
            Append(parts[mod], in[mod][mods[b]], (mods[b + 1] - mods[b]) * RecordSize[mod]);
        }
    };
    // The closing records, as the original has them but for their counts.
    auto close = [&](Part head, Part bag, Part gen, Part mod, std::size_t last, std::size_t bagAt) {
        Append(parts[head], in[head][last], RecordSize[head]);
        PutLe16(parts[head].data() + parts[head].size() - RecordSize[head] + bagAt, count(bag));
        std::uint8_t bagRecord[4];
        PutLe16(bagRecord, count(gen));
        PutLe16(bagRecord + 2, count(mod));
        Append(parts[bag], bagRecord, 4);
        Append(parts[gen], in[gen][in[gen].count - 1], RecordSize[gen]);
        Append(parts[mod], in[mod][in[mod].count - 1], RecordSize[mod]);
    };
    for (std::size_t p : kept)
        copyWithBags(Phdr, Pbag, Pgen, Pmod, presetBags[p], presetBags[p + 1], p, 24);
    close(Phdr, Pbag, Pgen, Pmod, presets, 24);
    for (std::size_t i = 0; i < instruments; ++i)
        if (instIndex[i] > 0)
            copyWithBags(Inst, Ibag, Igen, Imod, instBags[i], instBags[i + 1], i, 20);
    close(Inst, Ibag, Igen, Imod, instruments, 20);
    Append(parts[Shdr], in[Shdr].data, in[Shdr].count * RecordSize[Shdr]);
    // Indices are 16 bits wide; what was cut from a valid font always fits.
    for (Part part : {Pbag, Pgen, Pmod, Ibag, Igen, Imod})
        if (count(part) > 0x10000)
            return std::nullopt;
    return cut;
}

} // namespace

std::optional<CutSoundFont> CutSoundFont::Make(const Reader& original, std::uint64_t size,
                                               const PresetChoices& keep) {
    // The RIFF header, then exactly the three lists of a sound font, in order:
    // anything else might matter to a loader, and then only the whole file will do.
    std::uint8_t header[12];
    if (size < 12 || !original(0, header, 12) || std::memcmp(header, "RIFF", 4) != 0 ||
        std::memcmp(header + 8, "sfbk", 4) != 0 || Le32(header + 4) + std::uint64_t{8} != size)
        return std::nullopt;
    struct List {
        std::uint64_t at = 0;
        std::uint32_t size = 0; // of its contents, its type included
    };
    std::array<List, 3> lists;
    const std::array<const char*, 3> types = {"INFO", "sdta", "pdta"};
    std::uint64_t at = 12;
    for (std::size_t i = 0; i < lists.size(); ++i) {
        std::uint8_t chunk[12];
        if (size - at < 12 || !original(at, chunk, 12) || std::memcmp(chunk, "LIST", 4) != 0 ||
            std::memcmp(chunk + 8, types[i], 4) != 0)
            return std::nullopt;
        lists[i] = {at, Le32(chunk + 4)};
        const std::uint64_t padded = lists[i].size + std::uint64_t{lists[i].size & 1};
        if (lists[i].size < 4 || padded > size - at - 8)
            return std::nullopt;
        at += 8 + padded;
    }
    if (at != size || lists[0].size > MaxInfoBytes || lists[2].size > MaxPresetDataBytes)
        return std::nullopt;

    std::vector<std::uint8_t> presetData(lists[2].size - 4);
    if (!original(lists[2].at + 12, presetData.data(), presetData.size()))
        return std::nullopt;
    std::array<Records, PartCount> parts;
    for (std::size_t off = 0; off < presetData.size();) {
        if (presetData.size() - off < 8)
            return std::nullopt;
        const std::uint8_t* chunk = presetData.data() + off;
        const std::uint32_t length = Le32(chunk + 4);
        if (length > presetData.size() - off - 8)
            return std::nullopt;
        const auto id = std::find_if(PartIds.begin(), PartIds.end(), [&](const char* name) {
            return std::memcmp(chunk, name, 4) == 0;
        });
        if (id == PartIds.end())
            return std::nullopt;
        const auto part = static_cast<std::size_t>(std::distance(PartIds.begin(), id));
        if (parts[part].data || length % RecordSize[part] != 0)
            return std::nullopt;
        parts[part] = {chunk + 8, length / RecordSize[part], RecordSize[part]};
        off += 8 + length + (length & 1);
    }
    std::optional<Cut> cut = CutPresetData(parts, keep);
    if (!cut)
        return std::nullopt;

    CutSoundFont font;
    font.presets_ = cut->presets;
    font.instruments_ = cut->instruments;
    std::vector<std::uint8_t>& tail = font.tail_;
    tail.resize(12);
    std::memcpy(tail.data(), "LIST", 4);
    std::memcpy(tail.data() + 8, "pdta", 4);
    for (std::size_t part = 0; part < PartCount; ++part) {
        std::uint8_t chunk[8];
        std::memcpy(chunk, PartIds[part], 4);
        PutLe32(chunk + 4, static_cast<std::uint32_t>(cut->parts[part].size()));
        Append(tail, chunk, 8);
        Append(tail, cut->parts[part].data(), cut->parts[part].size());
    }
    PutLe32(tail.data() + 4, static_cast<std::uint32_t>(tail.size() - 8));

    // The INFO list as it is, and the sample list's header; its contents (with
    // the pad byte of an odd size) are read from the original when asked for.
    const std::uint64_t infoBytes = 8 + lists[0].size + (lists[0].size & 1);
    font.head_.resize(12 + infoBytes + 12);
    if (!original(lists[0].at, font.head_.data() + 12, infoBytes + 12))
        return std::nullopt;
    font.samplesAt_ = lists[1].at + 12;
    font.samplesSize_ = lists[1].size - 4 + (lists[1].size & 1);
    std::memcpy(font.head_.data(), "RIFF", 4);
    std::memcpy(font.head_.data() + 8, "sfbk", 4);
    const std::uint64_t riffSize = font.Size() - 8;
    if (riffSize > 0xFFFFFFFFu)
        return std::nullopt;
    PutLe32(font.head_.data() + 4, static_cast<std::uint32_t>(riffSize));
    return font;
}

bool CutSoundFont::Read(const Reader& original, std::uint64_t offset, void* to,
                        std::size_t count) const {
    if (offset > Size() || count > Size() - offset)
        return false;
    auto* out = static_cast<std::uint8_t*>(to);
    const std::uint64_t samplesEnd = head_.size() + samplesSize_;
    while (count > 0) {
        std::size_t n = 0;
        if (offset < head_.size()) {
            n = static_cast<std::size_t>(std::min<std::uint64_t>(count, head_.size() - offset));
            std::memcpy(out, head_.data() + offset, n);
        } else if (offset < samplesEnd) {
            n = static_cast<std::size_t>(std::min<std::uint64_t>(count, samplesEnd - offset));
            if (!original(samplesAt_ + (offset - head_.size()), out, n))
                return false;
        } else {
            n = count;
            std::memcpy(out, tail_.data() + (offset - samplesEnd), n);
        }
        out += n;
        offset += n;
        count -= n;
    }
    return true;
}

} // namespace mirelo
